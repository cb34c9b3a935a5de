// End to end: the window at the sizes it is fitted to on screens from
// 800 x 600 to 3840 x 2160 and at 96 to 192 DPI, every text whole on one
// line inside its control, measured inside the program with the control's
// own font; and the move to a monitor of another DPI. Runs on a large
// screen of its own (own-screen.sh), so no window is clamped to the screen.
#include <cmath>
#include <memory>

#include "e2e/Harness.h"
#include "e2e/Probe.h"

namespace {

using namespace e2e;

// ---- The DPI of programs started from now on ----------------------------------------------------

// Wine reads a process's DPI from these two values when it starts.
const struct {
    HKEY hRoot;
    const char* pszPath;
} DPI_KEYS[] = {{HKEY_CURRENT_USER, "Control Panel\\Desktop"},
                {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts"}};

class CDpi {
public:
    explicit CDpi(DWORD dwDpi)
    {
        for (int i = 0; i < 2; ++i) {
            HKEY hKey = nullptr;
            m_bSet[i] = RegCreateKeyExA(DPI_KEYS[i].hRoot, DPI_KEYS[i].pszPath, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                        nullptr, &hKey, nullptr) == ERROR_SUCCESS;
            if (!m_bSet[i])
                continue;
            DWORD dwSize = sizeof m_dwOld[i];
            m_bHad[i] = RegQueryValueExA(hKey, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_dwOld[i]),
                                         &dwSize) == ERROR_SUCCESS;
            m_bSet[i] = RegSetValueExA(hKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwDpi),
                                       sizeof dwDpi) == ERROR_SUCCESS;
            RegCloseKey(hKey);
        }
    }

    ~CDpi()
    {
        for (int i = 0; i < 2; ++i) {
            HKEY hKey = nullptr;
            if (!m_bSet[i] ||
                RegOpenKeyExA(DPI_KEYS[i].hRoot, DPI_KEYS[i].pszPath, 0, KEY_WRITE, &hKey) != ERROR_SUCCESS)
                continue;
            if (m_bHad[i])
                RegSetValueExA(hKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_dwOld[i]),
                               sizeof m_dwOld[i]);
            else
                RegDeleteValueA(hKey, "LogPixels");
            RegCloseKey(hKey);
        }
    }

    CDpi(const CDpi&) = delete;
    CDpi& operator=(const CDpi&) = delete;

    bool Set() const { return m_bSet[0] && m_bSet[1]; }

private:
    bool m_bSet[2] = {};
    bool m_bHad[2] = {};
    DWORD m_dwOld[2] = {};
};

// ---- The probe in the program ------------------------------------------------------------------

class CProbe {
public:
    explicit CProbe(const CTarvick& tarvick) : m_hDlg(tarvick.m_hWnd)
    {
        m_hMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(probe::Block),
                                        probe::MappingName(GetCurrentProcessId()).c_str());
        if (m_hMapping)
            m_pBlock = static_cast<probe::Block*>(MapViewOfFile(m_hMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        m_hModule = LoadLibraryA(FromEnvironment("TARVICK_PROBE").c_str());
        const auto pfnHook = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(m_hModule ? GetProcAddress(m_hModule, probe::HOOK_PROC) : nullptr));
        if (pfnHook)
            m_hHook = SetWindowsHookExA(WH_CALLWNDPROC, pfnHook, m_hModule, tarvick.m_pi.dwThreadId);
    }

    ~CProbe()
    {
        if (m_hHook)
            UnhookWindowsHookEx(m_hHook);
        if (m_hModule)
            FreeLibrary(m_hModule);
        if (m_pBlock)
            UnmapViewOfFile(m_pBlock);
        if (m_hMapping)
            CloseHandle(m_hMapping);
    }

    CProbe(const CProbe&) = delete;
    CProbe& operator=(const CProbe&) = delete;

    ::testing::AssertionResult Ready() const
    {
        if (m_pBlock && m_hHook)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no probe (TARVICK_PROBE names the DLL): " << GetLastError();
    }

    probe::Block& Block() { return *m_pBlock; }

    ::testing::AssertionResult Do(WPARAM nJob)
    {
        const LONG nBefore = m_pBlock->nAnswers;
        DWORD_PTR nResult = 0;
        if (!SendMessageTimeoutA(m_hDlg, RegisterWindowMessageA(probe::PROBE_MESSAGE), nJob, GetCurrentProcessId(),
                                 SMTO_ABORTIFHUNG, 10000, &nResult))
            return ::testing::AssertionFailure() << "the program did not take the probe's message";
        if (m_pBlock->nAnswers != nBefore + 1)
            return ::testing::AssertionFailure() << "the probe did not answer from inside the program";
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult Measure(const std::vector<std::pair<int, std::string>>& texts)
    {
        m_pBlock->nTexts = 0;
        for (const auto& [nId, strText] : texts) {
            probe::Text& text = m_pBlock->texts[m_pBlock->nTexts++];
            text = probe::Text();
            text.nId = nId;
            lstrcpynA(text.szText, strText.c_str(), sizeof text.szText);
        }
        return Do(probe::JOB_MEASURE);
    }

    ::testing::AssertionResult DpiChanged(UINT nDpi, const RECT& rcSuggested)
    {
        m_pBlock->nDpi = nDpi;
        m_pBlock->rcSuggested = rcSuggested;
        return Do(probe::JOB_DPICHANGED);
    }

    const probe::Window* Find(int nId) const
    {
        for (int i = 0; i < m_pBlock->nWindows; ++i)
            if (m_pBlock->windows[i].nId == nId)
                return &m_pBlock->windows[i];
        return nullptr;
    }

private:
    HWND m_hDlg;
    HANDLE m_hMapping = nullptr;
    probe::Block* m_pBlock = nullptr;
    HMODULE m_hModule = nullptr;
    HHOOK m_hHook = nullptr;
};

// Every text each control may show: the labels' own, the push buttons'
// captions and status texts, and any letter in the Device box.
std::vector<std::pair<int, std::string>> TextsShown()
{
    std::vector<std::pair<int, std::string>> texts;
    for (int i = 0; i < OPTION_ROWS; ++i)
        texts.emplace_back(IDC_OPTION_LABEL + i, "");
    for (int t = 0; t < 4; ++t)
        texts.emplace_back(IDC_TOOL_LABEL + t, "");
    texts.emplace_back(IDC_DEVICE_LABEL, "");
    for (const char* pszText : {"Process", "No Dev", "Offline", "Busy", "Failed"})
        texts.emplace_back(IDC_PROCESS, pszText);
    texts.emplace_back(IDC_EXIT, "Exit");
    texts.emplace_back(IDC_EDIT_SETTINGS, "Edit");
    texts.emplace_back(IDC_EDIT_SETTINGS, "Failed");
    for (char c = 'A'; c <= 'Z'; ++c) {
        texts.emplace_back(IDC_DEVICE, std::string(1, c));
        texts.emplace_back(IDC_DEVICE, std::string(1, static_cast<char>(c - 'A' + 'a')));
    }
    return texts;
}

// Each text whole on one line in its room, and every control that shows
// text with the one bold font.
void ExpectEveryTextFits(CProbe& probe)
{
    ASSERT_TRUE(probe.Measure(TextsShown()));
    const probe::Block& block = probe.Block();
    ASSERT_EQ(block.nWindows, 44);
    const probe::Window* pFirst = probe.Find(block.texts[0].nId);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_NE(pFirst->nFont, 0u);
    EXPECT_GE(pFirst->nWeight, FW_BOLD) << pFirst->szFace;
    std::printf("font: %s, weight %ld, %ld pixels high, on a client area of %ld x %ld\n", pFirst->szFace,
                pFirst->nWeight, pFirst->nCellHeight, block.rcClient.right, block.rcClient.bottom);
    for (int i = 0; i < block.nTexts; ++i) {
        const probe::Text& text = block.texts[i];
        const probe::Window* pWindow = probe.Find(text.nId);
        ASSERT_TRUE(text.bFound && pWindow) << "control " << text.nId;
        const std::string strText = *text.szText ? text.szText : pWindow->szText;
        EXPECT_GT(text.need.cx, 0) << "control " << text.nId << " \"" << strText << '"';
        EXPECT_LE(text.need.cx, text.room.cx) << "control " << text.nId << " \"" << strText << "\" too wide";
        EXPECT_LE(text.need.cy, text.room.cy) << "control " << text.nId << " \"" << strText << "\" too high";
        EXPECT_EQ(pWindow->nFont, pFirst->nFont) << "control " << text.nId << " has a font of its own";
    }
}

// ---- Every size and DPI -------------------------------------------------------------------------

struct Case {
    DWORD dwDpi;
    int nScreenW;
    int nScreenH;
};

void PrintTo(const Case& c, std::ostream* pOut)
{
    *pOut << c.nScreenW << "x" << c.nScreenH << " at " << c.dwDpi << " DPI";
}

// The client height the window is fitted to on a screen of that height
// (85 % of it, Wine's work area being the whole screen), as a scale of the
// design's 755 units.
std::string ScaleFor(int nScreenH)
{
    char szScale[16];
    std::snprintf(szScale, sizeof szScale, "%.3f", std::floor(nScreenH * 0.85 + 0.5) / DESIGN_HEIGHT);
    return szScale;
}

class Fit : public ::testing::TestWithParam<Case> {};

// Starts the program fitted as to a screen of that scale (ZOBREL_SCALE).
::testing::AssertionResult StartAtScale(CTarvick& tarvick, const std::string& strScale)
{
    SetEnvironmentVariableA("ZOBREL_SCALE", strScale.c_str());
    ::testing::AssertionResult started = tarvick.Start();
    SetEnvironmentVariableA("ZOBREL_SCALE", nullptr);
    return started;
}

TEST_P(Fit, EveryTextIsWholeOnOneLineInItsControl)
{
    const Case& c = GetParam();
    const CDpi dpi(c.dwDpi);
    ASSERT_TRUE(dpi.Set());
    const std::string strScale = ScaleFor(c.nScreenH);
    CTarvick tarvick;
    ASSERT_TRUE(StartAtScale(tarvick, strScale));
    CProbe probe(tarvick);
    ASSERT_TRUE(probe.Ready());
    ExpectEveryTextFits(probe);
    EXPECT_EQ(probe.Block().nLogPixels, static_cast<int>(c.dwDpi)) << "the program runs at that DPI";

    // The window really has that size: nothing clamped it to the screen.
    const RECT& rcClient = probe.Block().rcClient;
    const double fScale = std::atof(strScale.c_str());
    EXPECT_NEAR(rcClient.right, DESIGN_WIDTH * fScale, 1.0) << "scale " << strScale;
    EXPECT_NEAR(rcClient.bottom, DESIGN_HEIGHT * fScale, 1.0) << "scale " << strScale;
}

std::vector<Case> Cases()
{
    std::vector<Case> cases;
    for (DWORD dwDpi : {96, 120, 144, 192}) {
        for (const auto& [cx, cy] :
             {std::pair{800, 600}, {1024, 768}, {1280, 1024}, {1366, 768}, {1920, 1080}, {2560, 1440}, {3840, 2160}})
            cases.push_back({dwDpi, cx, cy});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Screens, Fit, ::testing::ValuesIn(Cases()), [](const auto& info) {
    return std::to_string(info.param.nScreenW) + "x" + std::to_string(info.param.nScreenH) + "at" +
           std::to_string(info.param.dwDpi);
});

// ---- A move to a monitor of another DPI ---------------------------------------------------------

// The design rectangles of a few controls, and of a few rows, each a
// square button and its label.
const struct {
    int nId;
    RECT rc;
} SINGLES[] = {{IDC_PROCESS, {600, 570, 680, 620}},       {IDC_EXIT, {600, 650, 680, 700}},
               {IDC_EDIT_SETTINGS, {600, 280, 680, 330}}, {IDC_OUTPUT, {10, 390, 580, 710}},
               {IDC_DEVICE, {650, 520, 675, 545}},        {IDC_DEVICE_LABEL, {600, 520, 650, 545}}};
const struct {
    int nButtonId;
    int nLabelId;
    RECT rc;
} ROWS[] = {{IDC_OPTION_BOX, IDC_OPTION_LABEL, {20, 10, 320, 30}},
            {IDC_OPTION_BOX + 8, IDC_OPTION_LABEL + 8, {20, 250, 320, 270}},
            {IDC_OPTION_BOX + 9, IDC_OPTION_LABEL + 9, {350, 10, 650, 30}},
            {IDC_OPTION_BOX + 14, IDC_OPTION_LABEL + 14, {350, 160, 650, 180}},
            {IDC_TOOL_RADIO, IDC_TOOL_LABEL, {600, 360, 680, 385}},
            {IDC_TOOL_RADIO + 3, IDC_TOOL_LABEL + 3, {600, 480, 680, 505}}};

std::string Place(const probe::Window* pWindow)
{
    return pWindow ? Describe(pWindow->rc) : "missing";
}

// Every edge where the design puts it on this client area, give or take the
// rounding of one pixel; a row's button a square as high as the row.
void ExpectDesignLayout(const CProbe& probe, const RECT& rcClient)
{
    const double sx = rcClient.right / double(DESIGN_WIDTH);
    const double sy = rcClient.bottom / double(DESIGN_HEIGHT);
    enum Part { WHOLE, BUTTON, LABEL };
    auto expectAt = [&](const probe::Window* pWindow, const RECT& rcDesign, Part part) {
        ASSERT_NE(pWindow, nullptr);
        const RECT& rc = pWindow->rc;
        if (part != LABEL) {
            EXPECT_NEAR(rc.left, rcDesign.left * sx, 0.51) << pWindow->nId << ' ' << Place(pWindow);
        }
        EXPECT_NEAR(rc.top, rcDesign.top * sy, 0.51) << pWindow->nId << ' ' << Place(pWindow);
        EXPECT_NEAR(rc.bottom, rcDesign.bottom * sy, 0.51) << pWindow->nId << ' ' << Place(pWindow);
        if (part == BUTTON) {
            EXPECT_EQ(rc.right - rc.left, rc.bottom - rc.top) << pWindow->nId << ' ' << Place(pWindow);
        } else {
            EXPECT_NEAR(rc.right, rcDesign.right * sx, 0.51) << pWindow->nId << ' ' << Place(pWindow);
        }
    };
    for (const auto& single : SINGLES)
        expectAt(probe.Find(single.nId), single.rc, WHOLE);
    for (const auto& row : ROWS) {
        const probe::Window* pButton = probe.Find(row.nButtonId);
        const probe::Window* pLabel = probe.Find(row.nLabelId);
        expectAt(pButton, row.rc, BUTTON);
        expectAt(pLabel, row.rc, LABEL);
        if (pButton && pLabel) {
            EXPECT_EQ(pButton->rc.right, pLabel->rc.left) << row.nLabelId;
        }
    }
}

struct Snapshot {
    RECT rcWindow;
    RECT rcClient;
    std::vector<std::pair<int, RECT>> rects;
    std::uint64_t nFont;
    LONG nFontHeight;
};

Snapshot Take(const probe::Block& block)
{
    Snapshot snapshot = {
        block.rcWindow, block.rcClient, {}, block.windows[0].nFont, std::labs(block.windows[0].font.lfHeight)};
    for (int i = 0; i < block.nWindows; ++i)
        snapshot.rects.emplace_back(block.windows[i].nId, block.windows[i].rc);
    return snapshot;
}

TEST(DpiChange, WindowControlsAndFontFollowTheNewDpiAndComeBack)
{
    CTarvick tarvick;
    ASSERT_TRUE(StartAtScale(tarvick, "0.8"));
    CProbe probe(tarvick);
    ASSERT_TRUE(probe.Ready());
    ASSERT_TRUE(probe.Do(probe::JOB_MEASURE));
    const Snapshot start = Take(probe.Block());
    ASSERT_GT(start.nFontHeight, 0);

    // 96 to 144 DPI: the suggested rectangle is half as large again.
    const RECT& rc = start.rcWindow;
    const RECT rcLarge = {rc.left, rc.top, rc.left + (rc.right - rc.left) * 3 / 2,
                          rc.top + (rc.bottom - rc.top) * 3 / 2};
    probe.Block().nAsk = start.nFont;
    ASSERT_TRUE(probe.DpiChanged(144, rcLarge));
    const probe::Block& block = probe.Block();
    EXPECT_TRUE(SameRect(block.rcWindow, rcLarge)) << Describe(block.rcWindow) << " instead of " << Describe(rcLarge);
    // The frame stays as it was: the client area takes the rest.
    EXPECT_EQ(block.rcClient.right, (rcLarge.right - rcLarge.left) - (rc.right - rc.left - start.rcClient.right));
    EXPECT_EQ(block.rcClient.bottom, (rcLarge.bottom - rcLarge.top) - (rc.bottom - rc.top - start.rcClient.bottom));
    ExpectDesignLayout(probe, block.rcClient);
    const Snapshot large = Take(probe.Block());
    EXPECT_NE(large.nFont, start.nFont) << "a font made anew";
    EXPECT_NE(block.dwAskedType, static_cast<DWORD>(OBJ_FONT)) << "the old font is deleted";
    EXPECT_NEAR(large.nFontHeight, start.nFontHeight * 1.5, 2.0);
    ExpectEveryTextFits(probe);

    // And back: everything as it was at the start.
    probe.Block().nAsk = large.nFont;
    ASSERT_TRUE(probe.DpiChanged(96, start.rcWindow));
    const Snapshot back = Take(probe.Block());
    EXPECT_TRUE(SameRect(back.rcWindow, start.rcWindow)) << Describe(back.rcWindow);
    EXPECT_NE(probe.Block().dwAskedType, static_cast<DWORD>(OBJ_FONT)) << "the old font is deleted";
    EXPECT_EQ(back.nFontHeight, start.nFontHeight);
    ASSERT_EQ(back.rects.size(), start.rects.size());
    for (std::size_t i = 0; i < back.rects.size(); ++i)
        EXPECT_TRUE(SameRect(back.rects[i].second, start.rects[i].second))
            << "control " << back.rects[i].first << " at " << Describe(back.rects[i].second) << ", not "
            << Describe(start.rects[i].second);
    ExpectEveryTextFits(probe);
    EXPECT_TRUE(tarvick.Responsive());
}

}  // namespace
