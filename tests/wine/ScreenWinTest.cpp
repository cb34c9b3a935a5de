// Screen in real windows under Wine: sizing for the monitor, forced scales,
// re-laying children after a resize, waiting for the first paint, and the
// position file saved and restored.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "GuiTest.h"
#include "lib/CustButton.h"
#include "lib/CustStatic.h"
#include "lib/Placement.h"
#include "lib/Screen.h"
#include "model/UiConstants.h"

namespace {

using guitest::g_log;
using zobrel::Rect;

constexpr Rect DESIGN = DESIGN_RECT;

// Part of the program's face: a push button, a check-box row split into its
// square and label, and the output box, in design units.
constexpr Rect PUSH = {600, 570, 680, 620};
constexpr Rect ROW = {20, 40, 320, 60};
constexpr Rect OUTPUT = {10, 390, 580, 710};

void Forcescale(const char* pszValue)
{
    SetEnvironmentVariableA("ZOBREL_SCALE", pszValue);
}

RECT Windowrect(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return rc;
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

// Every edge of the child lies where the design puts it on this client size,
// give or take the rounding of one pixel.
void ExpectProportional(HWND hChild, const Rect& rcDesign, const SIZE& client)
{
    const RECT rc = guitest::Childrect(hChild);
    const double sx = client.cx / 720.0;
    const double sy = client.cy / 755.0;
    EXPECT_NEAR(rc.left, rcDesign.left * sx, 0.51) << Text(rc);
    EXPECT_NEAR(rc.right, rcDesign.right * sx, 0.51) << Text(rc);
    EXPECT_NEAR(rc.top, rcDesign.top * sy, 0.51) << Text(rc);
    EXPECT_NEAR(rc.bottom, rcDesign.bottom * sy, 0.51) << Text(rc);
}

class ScreenWinTest : public ::testing::Test {
protected:
    // One dialog for the suite: without a window manager, Wine waits two
    // seconds for every captioned window that is taken off the screen.
    static void SetUpTestSuite()
    {
        s_hDlg = guitest::Makedialog();
        ShowWindow(s_hDlg, SW_SHOW);
    }

    static void TearDownTestSuite()
    {
        DestroyWindow(s_hDlg);
        guitest::Pump(nullptr);
        Forcescale(nullptr);
    }

    void SetUp() override
    {
        m_hDlg = s_hDlg;
        ASSERT_NE(m_hDlg, nullptr);
        g_log = guitest::DialogLog();
        // As the program does: every restored or maximised size re-lays the
        // children, also the WM_SIZE that Screensize itself causes.
        g_log.pOnSize = [](HWND hWnd) { zobrel::Screen().Resize_children(hWnd); };
        ShowWindow(m_hDlg, SW_RESTORE);
        Forcescale("1");
        m_screen.Screensize(m_hDlg, DESIGN, true);
        guitest::Pump(m_hDlg);
    }

    void TearDown() override
    {
        Destroychildren();
        g_log.pOnSize = nullptr;
    }

    void Destroychildren()
    {
        for (HWND hChild : m_extra)
            DestroyWindow(hChild);
        m_extra.clear();
        DestroyWindow(static_cast<HWND>(m_push.m_hWnd));
        DestroyWindow(static_cast<HWND>(m_box.m_hWnd));
        DestroyWindow(static_cast<HWND>(m_label.m_hWnd));
        guitest::Pump(m_hDlg);
    }

    // Creates the face the way the program does, through Screenadjust.
    void Createchildren()
    {
        zobrel::Screen other;  // any Screen object scales alike
        Rect rc = PUSH;
        other.Screenadjust(rc);
        ASSERT_TRUE(m_push.Create("", 0x50011F0B, rc, m_hDlg, 10));
        rc = ROW;
        other.Screenadjust(rc);
        const std::int32_t h = rc.bottom - rc.top;
        ASSERT_TRUE(m_box.Create("", 0x50000002, {rc.left, rc.top, rc.left + h, rc.bottom}, m_hDlg, 20));
        m_label.SetColor(21, guitest::NAVY, 0xFFFFFF);
        ASSERT_TRUE(m_label.Create("Row", 0x50000000, {rc.left + h, rc.top, rc.right, rc.bottom}, m_hDlg, 21));
        // A child the library did not create is re-laid as well.
        rc = OUTPUT;
        other.Screenadjust(rc);
        HWND hPlain =
            CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, rc.left, rc.top, rc.right - rc.left,
                            rc.bottom - rc.top, m_hDlg, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hPlain, nullptr);
        m_extra.push_back(hPlain);
    }

    void ExpectFace(const SIZE& client)
    {
        ExpectProportional(static_cast<HWND>(m_push.m_hWnd), PUSH, client);
        ExpectProportional(m_extra.at(0), OUTPUT, client);
        const RECT rcBox = guitest::Childrect(static_cast<HWND>(m_box.m_hWnd));
        const RECT rcLabel = guitest::Childrect(static_cast<HWND>(m_label.m_hWnd));
        EXPECT_EQ(rcBox.right, rcLabel.left) << "the row's square and label touch";
        EXPECT_EQ(rcBox.top, rcLabel.top);
        EXPECT_EQ(rcBox.bottom, rcLabel.bottom);
        EXPECT_NEAR(rcBox.left, ROW.left * client.cx / 720.0, 0.51);
        EXPECT_NEAR(rcLabel.right, ROW.right * client.cx / 720.0, 0.51);
    }

    static inline HWND s_hDlg = nullptr;
    HWND m_hDlg = nullptr;
    zobrel::Screen m_screen;
    zobrel::CustButton m_push;
    zobrel::CustButton m_box;
    zobrel::CustStatic m_label;
    std::vector<HWND> m_extra;
};

TEST_F(ScreenWinTest, FillsTheWorkAreaShareWithTheDesignAspectAndCentres)
{
    Forcescale(nullptr);
    m_screen.Screensize(m_hDlg, DESIGN, true);
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromWindow(m_hDlg, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& rcWork = mi.rcWork;
    const RECT rcWindow = Windowrect(m_hDlg);
    const SIZE client = guitest::Clientsize(m_hDlg);

    EXPECT_NEAR(client.cy, 0.85 * (rcWork.bottom - rcWork.top), 1.0);
    EXPECT_NEAR(client.cx, client.cy * 720.0 / 755.0, 1.0);
    EXPECT_NEAR(rcWindow.left - rcWork.left, rcWork.right - rcWindow.right, 1.0) << Text(rcWindow);
    EXPECT_NEAR(rcWindow.top - rcWork.top, rcWork.bottom - rcWindow.bottom, 1.0) << Text(rcWindow);
    EXPECT_GE(rcWindow.top, rcWork.top);

    // The scale maps the whole design onto the whole client area.
    Rect rc = DESIGN;
    zobrel::Screen().Screenadjust(rc);
    EXPECT_EQ(rc, (Rect{0, 0, client.cx, client.cy}));

    // Not centred: the window keeps its place.
    SetWindowPos(m_hDlg, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Forcescale("0.5");
    m_screen.Screensize(m_hDlg, DESIGN, false);
    EXPECT_EQ(Windowrect(m_hDlg).left, 40);
    EXPECT_EQ(Windowrect(m_hDlg).top, 30);
    EXPECT_EQ(guitest::Clientsize(m_hDlg).cx, 360);
}

TEST_F(ScreenWinTest, TwoForcedScalesGiveTheSameProportions)
{
    // Scale 1: design units are pixels.
    EXPECT_EQ(guitest::Clientsize(m_hDlg).cx, 720);
    EXPECT_EQ(guitest::Clientsize(m_hDlg).cy, 755);
    Createchildren();
    const RECT rcPush = guitest::Childrect(static_cast<HWND>(m_push.m_hWnd));
    EXPECT_TRUE(Same(rcPush, RECT{PUSH.left, PUSH.top, PUSH.right, PUSH.bottom})) << Text(rcPush);
    int nHeight = 20;
    zobrel::Screen().Fontadjust(&nHeight);
    EXPECT_EQ(nHeight, 20);
    Destroychildren();

    Forcescale("0.6");
    m_screen.Screensize(m_hDlg, DESIGN, true);
    guitest::Pump(m_hDlg);
    const SIZE client = guitest::Clientsize(m_hDlg);
    EXPECT_EQ(client.cx, 432);
    EXPECT_EQ(client.cy, 453);
    Createchildren();
    ExpectFace(client);
    zobrel::Screen().Fontadjust(&nHeight);
    EXPECT_EQ(nHeight, 12);
}

TEST_F(ScreenWinTest, ResizeChildrenKeepsTheProportionsWithoutDrift)
{
    Createchildren();
    const RECT rcPush = guitest::Childrect(static_cast<HWND>(m_push.m_hWnd));
    // Through other aspect ratios and sizes, small ones where several design
    // units share a pixel, and back.
    for (SIZE client : {SIZE{1000, 600}, SIZE{333, 701}, SIZE{250, 200}, SIZE{1100, 900}}) {
        guitest::Placeclient(m_hDlg, 20, 20, client.cx, client.cy);
        ASSERT_EQ(guitest::Clientsize(m_hDlg).cx, client.cx);
        ASSERT_EQ(guitest::Clientsize(m_hDlg).cy, client.cy);
        ExpectFace(client);
    }
    guitest::Placeclient(m_hDlg, 20, 20, 720, 755);
    EXPECT_TRUE(Same(guitest::Childrect(static_cast<HWND>(m_push.m_hWnd)), rcPush));
    ExpectFace({720, 755});

    // The scale follows the new size for whatever is created next.
    guitest::Placeclient(m_hDlg, 20, 20, 1080, 755);
    Rect rc = PUSH;
    zobrel::Screen().Screenadjust(rc);
    EXPECT_EQ(rc, (Rect{900, 570, 1020, 620}));
}

TEST_F(ScreenWinTest, AWindowWithoutChildrenIsAccepted)
{
    ASSERT_EQ(GetWindow(m_hDlg, GW_CHILD), nullptr);
    const int nSizes = g_log.nSizes;
    guitest::Placeclient(m_hDlg, 20, 20, 360, 378);
    EXPECT_GT(g_log.nSizes, nSizes);
    zobrel::Screen().Resize_children(m_hDlg);
    zobrel::Screen().Resize_children(nullptr);
    Rect rc = DESIGN;
    zobrel::Screen().Screenadjust(rc);
    EXPECT_EQ(rc, (Rect{0, 0, 360, 378}));
    int nHeight = 20;
    zobrel::Screen().Fontadjust(&nHeight);
    EXPECT_EQ(nHeight, 10);
}

// The names of the properties Resize_children records on a child that are
// still there when the child's last message arrives.
std::vector<std::string> g_leftOver;

BOOL CALLBACK Collectprop(HWND, LPSTR pszName, HANDLE, ULONG_PTR)
{
    // Atoms have no name to read.
    if (!IS_INTRESOURCE(pszName) && std::string(pszName).rfind("zobrel.design", 0) == 0)
        g_leftOver.push_back(pszName);
    return TRUE;
}

LRESULT CALLBACK Lastlook(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR pnSeen)
{
    if (uMsg == WM_NCDESTROY) {
        EnumPropsExA(hWnd, Collectprop, 0);
        ++*reinterpret_cast<int*>(pnSeen);
    }
    return DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

TEST_F(ScreenWinTest, AChildTakesItsRecordedDesignAlongWhenDestroyed)
{
    Createchildren();
    HWND hPlain = m_extra.at(0);
    // Subclassed before Resize_children records anything: this one sees the
    // last message after the library's own handling of it.
    int nSeen = 0;
    ASSERT_TRUE(SetWindowSubclass(hPlain, Lastlook, 1, reinterpret_cast<DWORD_PTR>(&nSeen)));
    guitest::Placeclient(m_hDlg, 20, 20, 500, 400);
    ASSERT_NE(GetPropA(hPlain, "zobrel.design"), nullptr) << "recorded by the resize";
    EXPECT_NE(GetPropA(hPlain, "zobrel.design.x"), nullptr);

    g_leftOver.clear();
    DestroyWindow(hPlain);
    m_extra.clear();
    EXPECT_EQ(nSeen, 1);
    EXPECT_TRUE(g_leftOver.empty()) << g_leftOver.size() << " properties left, the first " << g_leftOver.at(0);
}

TEST_F(ScreenWinTest, ScwaitWaitsUntilTheWindowIsShownAndPainted)
{
    HWND hDlg = guitest::Makedialog();
    ASSERT_NE(hDlg, nullptr);
    HWND hChild = CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, hDlg, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    zobrel::Screen screen;
    screen.Screensize(hDlg, DESIGN, true);
    guitest::Pump(hDlg);
    EXPECT_FALSE(m_screen.Scwait()) << "hidden";
    ShowWindow(hDlg, SW_SHOW);
    EXPECT_FALSE(m_screen.Scwait()) << "shown, not painted yet";
    EXPECT_TRUE(guitest::Waitfor(hDlg, [&] { return m_screen.Scwait(); }));
    EXPECT_FALSE(GetUpdateRect(hDlg, nullptr, FALSE));

    InvalidateRect(hChild, nullptr, TRUE);
    EXPECT_FALSE(m_screen.Scwait()) << "a child still to paint";
    EXPECT_TRUE(guitest::Waitfor(hDlg, [&] { return m_screen.Scwait(); }));

    DestroyWindow(hDlg);
    guitest::Pump(nullptr);
    EXPECT_TRUE(m_screen.Scwait()) << "a window that is gone is not waited for";
}

class PlacementTest : public ScreenWinTest {
protected:
    void SetUp() override
    {
        ScreenWinTest::SetUp();
        char szTemp[MAX_PATH] = {};
        GetTempPathA(sizeof szTemp, szTemp);
        m_strFolder = std::string(szTemp) + "zobrel-screen-" + std::to_string(GetCurrentProcessId());
        m_strPath = m_strFolder + "\\data\\Tarvick.pos";  // neither folder exists yet
        Moveto(A);
    }

    void TearDown() override
    {
        DeleteFileA(m_strPath.c_str());
        DeleteFileA((m_strPath + ".new").c_str());
        RemoveDirectoryA((m_strFolder + "\\data").c_str());
        RemoveDirectoryA(m_strFolder.c_str());
        ScreenWinTest::TearDown();
    }

    void Moveto(const RECT& rc)
    {
        SetWindowPos(m_hDlg, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER);
        guitest::Pump(m_hDlg);
    }

    void Write(const std::string& strContents)
    {
        CreateDirectoryA(m_strFolder.c_str(), nullptr);
        CreateDirectoryA((m_strFolder + "\\data").c_str(), nullptr);
        std::FILE* pFile = std::fopen(m_strPath.c_str(), "wb");
        ASSERT_NE(pFile, nullptr);
        std::fwrite(strContents.data(), 1, strContents.size(), pFile);
        std::fclose(pFile);
    }

    static constexpr RECT A = {130, 90, 730, 590};
    static constexpr RECT B = {300, 200, 800, 600};
    std::string m_strFolder;
    std::string m_strPath;
};

TEST_F(PlacementTest, ASavedPlacementComesBack)
{
    zobrel::Screen::Smove(m_hDlg, 0, m_strPath);
    EXPECT_EQ(GetFileAttributesA((m_strPath + ".new").c_str()), INVALID_FILE_ATTRIBUTES) << "no half-saved file";
    Moveto(B);
    zobrel::Screen::Smove(m_hDlg, 1, m_strPath);
    EXPECT_TRUE(Same(Windowrect(m_hDlg), A)) << Text(Windowrect(m_hDlg));
    EXPECT_FALSE(IsZoomed(m_hDlg));

    // Saving again replaces the file.
    Moveto(B);
    zobrel::Screen::Smove(m_hDlg, 0, m_strPath);
    Moveto(A);
    zobrel::Screen::Smove(m_hDlg, 1, m_strPath);
    EXPECT_TRUE(Same(Windowrect(m_hDlg), B)) << Text(Windowrect(m_hDlg));
}

TEST_F(PlacementTest, AMaximisedWindowComesBackMaximisedOverItsNormalRectangle)
{
    ShowWindow(m_hDlg, SW_MAXIMIZE);
    guitest::Pump(m_hDlg);
    ASSERT_TRUE(IsZoomed(m_hDlg));
    zobrel::Screen::Smove(m_hDlg, 0, m_strPath);
    ShowWindow(m_hDlg, SW_RESTORE);
    Moveto(B);
    zobrel::Screen::Smove(m_hDlg, 1, m_strPath);
    EXPECT_TRUE(IsZoomed(m_hDlg));
    ShowWindow(m_hDlg, SW_RESTORE);
    guitest::Pump(m_hDlg);
    EXPECT_TRUE(Same(Windowrect(m_hDlg), A)) << Text(Windowrect(m_hDlg));
}

TEST_F(PlacementTest, UnusableFilesLeaveTheWindowWhereItIs)
{
    std::string strBinary;
    for (int i = 0; i < 256; ++i)
        strBinary.push_back(static_cast<char>(i));
    auto valid = [](const char* pszRect) {
        return std::string("zobrel-placement 1\r\nnormal ") + pszRect + "\r\nmaximized 1\r\n";
    };
    const struct {
        const char* pszName;
        std::string strContents;
    } cases[] = {
        {"empty", ""},
        {"corrupt", "zobrel-placement 1\r\nnormal 10 10 abc\r\nmaximized 0\r\n"},
        {"binary", strBinary},
        {"huge", valid("300 200 800 600") + std::string(1 << 20, ' ')},
        {"off every monitor", valid("-5000 -5000 -4400 -4500")},
        {"below the screen", valid("300 3000 900 3500")},
        {"caption above the screen", valid("300 -400 900 100")},
        {"too small", valid("300 200 310 210")},
        {"far too large", valid("0 0 30000 30000")},
    };
    for (const auto& c : cases) {
        Write(c.strContents);
        zobrel::Screen::Smove(m_hDlg, 1, m_strPath);
        guitest::Pump(m_hDlg);
        EXPECT_TRUE(Same(Windowrect(m_hDlg), A)) << c.pszName << ": " << Text(Windowrect(m_hDlg));
        EXPECT_FALSE(IsZoomed(m_hDlg)) << c.pszName;
        EXPECT_TRUE(IsWindowVisible(m_hDlg)) << c.pszName;
    }
    DeleteFileA(m_strPath.c_str());
    zobrel::Screen::Smove(m_hDlg, 1, m_strPath);
    EXPECT_TRUE(Same(Windowrect(m_hDlg), A)) << "missing file";
    zobrel::Screen::Smove(m_hDlg, 1, m_strFolder);
    EXPECT_TRUE(Same(Windowrect(m_hDlg), A)) << "a folder";
}

}  // namespace
