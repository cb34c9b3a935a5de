// The widgets in a real dialog under Wine: hover, clicks and keys from real
// input, the colours on screen, and the edit text kept current.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "GuiTest.h"
#include "ScreenCapture.h"
#include "lib/CustButton.h"
#include "lib/CustEdit.h"
#include "lib/CustStatic.h"
#include "model/UiConstants.h"

namespace {

using guitest::g_log;

constexpr std::uint32_t PUSH_STYLE = STYLE_PUSH;
constexpr std::uint32_t CHECK_STYLE = STYLE_CHECK;
constexpr std::uint32_t RADIO_STYLE = STYLE_RADIO;
constexpr std::uint32_t LABEL_STYLE = STYLE_LABEL;
constexpr std::uint32_t OUTPUT_STYLE = STYLE_OUTPUT;
constexpr std::uint32_t DEVICE_STYLE = STYLE_DEVICE;

constexpr COLORREF YELLOW = CLR_YELLOW;
constexpr COLORREF GREEN = CLR_GREEN;
constexpr COLORREF GREY = CLR_GREY;
constexpr COLORREF WHITE = CLR_WHITE;

HWND Hwnd(const zobrel::Widget& widget)
{
    return static_cast<HWND>(widget.m_hWnd);
}

COLORREF Pixel(HWND hWnd, int x, int y)
{
    return CScreenCapture::Client(hWnd).At(x, y);
}

int Countpixels(HWND hWnd, COLORREF cr)
{
    const CScreenCapture capture = CScreenCapture::Client(hWnd);
    return static_cast<int>(std::count(capture.Pixels().begin(), capture.Pixels().end(), cr));
}

bool Notifiedby(HWND hWnd)
{
    return std::find(g_log.notifiers.begin(), g_log.notifiers.end(), hWnd) != g_log.notifiers.end();
}

// One dialog serves every test (under Wine without a window manager, ending
// a captioned window waits two seconds for a withdrawal that never comes);
// each test gets fresh widgets in it.
class WidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_hDlg = guitest::Makedialog();
        guitest::Placeclient(s_hDlg, 200, 150, 500, 300);
        ShowWindow(s_hDlg, SW_SHOW);
    }

    static void TearDownTestSuite()
    {
        DestroyWindow(s_hDlg);
        guitest::Pump(nullptr);
    }

    void SetUp() override
    {
        // The pointer waits off the dialog, so it starts on no widget.
        guitest::MovePointer({2, 2});
        m_hDlg = s_hDlg;
        ASSERT_NE(m_hDlg, nullptr);
        // Not antialiased: text pixels then have exactly the text colour.
        m_hFont = CreateFontA(-18, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");

        ASSERT_TRUE(m_push.Create("", PUSH_STYLE, {20, 20, 140, 70}, m_hDlg, 10));
        m_push.SetText("Process", YELLOW, 0, m_hFont);
        m_push.Inittrack();
        ASSERT_TRUE(m_plain.Create("", PUSH_STYLE, {160, 20, 280, 70}, m_hDlg, 11));
        m_plain.SetText("Exit", GREY, 0, m_hFont);
        ASSERT_TRUE(m_check.Create("", CHECK_STYLE, {20, 90, 44, 114}, m_hDlg, 20));
        ASSERT_TRUE(m_radio.Create("", RADIO_STYLE, {20, 130, 44, 154}, m_hDlg, 30));
        m_label.SetColor(63, guitest::NAVY, WHITE);
        ASSERT_TRUE(m_label.Create("Device", LABEL_STYLE, {60, 90, 280, 120}, m_hDlg, 63));
        m_label.SetText("Device", guitest::NAVY, WHITE, m_hFont);
        // Distinct pairs: the read-only box must paint with the second one.
        m_output.SetColor(50, guitest::NAVY, WHITE, 0x004000, 0xC0FFC0);
        ASSERT_TRUE(m_output.Create(OUTPUT_STYLE, {300, 20, 480, 160}, m_hDlg, 50));
        m_output.SetText("chkdsk C:", m_hFont);
        m_entry.SetColor(52, 0x000080, 0xE0FFFF, 0xFF0000, 0x0000FF);
        ASSERT_TRUE(m_entry.Create(DEVICE_STYLE, {300, 180, 480, 210}, m_hDlg, 52));
        m_entry.SetText("", m_hFont);
        m_device.SetColor(51);
        ASSERT_TRUE(m_device.Create(DEVICE_STYLE | WS_TABSTOP, {300, 230, 480, 260}, m_hDlg, 51));
        m_device.SetText("", m_hFont);

        SetForegroundWindow(m_hDlg);
        UpdateWindow(m_hDlg);
        guitest::Settle(m_hDlg, 200);
        g_log = guitest::DialogLog();
    }

    void TearDown() override
    {
        for (zobrel::Widget* pWidget : std::initializer_list<zobrel::Widget*>{&m_push, &m_plain, &m_check, &m_radio,
                                                                              &m_label, &m_output, &m_entry, &m_device})
            DestroyWindow(Hwnd(*pWidget));
        guitest::Pump(m_hDlg);
        DeleteObject(m_hFont);
    }

    void Focus(HWND hWnd)
    {
        SetForegroundWindow(m_hDlg);
        SetFocus(hWnd);
        ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return GetFocus() == hWnd; }));
    }

    // A point of the dialog on no widget.
    POINT Blank() const
    {
        POINT pt = {250, 280};
        ClientToScreen(m_hDlg, &pt);
        return pt;
    }

    static inline HWND s_hDlg = nullptr;
    HWND m_hDlg = nullptr;
    HFONT m_hFont = nullptr;
    zobrel::CustButton m_push;   // tracked
    zobrel::CustButton m_plain;  // never tracked
    zobrel::CustButton m_check;
    zobrel::CustButton m_radio;
    zobrel::CustStatic m_label;
    zobrel::CustEdit m_output;
    zobrel::CustEdit m_entry;
    zobrel::CustEdit m_device;
};

TEST_F(WidgetTest, HoverSetsAndClearsHotWithANotificationEachWay)
{
    const POINT pt = guitest::Centre(Hwnd(m_push));
    guitest::MovePointer({pt.x, pt.y});
    ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return m_push.m_bHot; }));
    EXPECT_EQ(g_log.nNotifies, 1);
    EXPECT_TRUE(Notifiedby(Hwnd(m_push)));

    // Further moves over the button change nothing and tell nothing.
    guitest::MovePointer({pt.x + 3, pt.y + 2});
    guitest::Settle(m_hDlg, 100);
    EXPECT_EQ(g_log.nNotifies, 1);

    const POINT off = Blank();
    guitest::MovePointer({off.x, off.y});
    // Wine polls for the leave: it may come up to a hover period late.
    ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return !m_push.m_bHot; }));
    EXPECT_EQ(g_log.nNotifies, 2);

    // And again: tracking re-arms for the next visit.
    guitest::MovePointer({pt.x, pt.y});
    EXPECT_TRUE(guitest::Waitfor(m_hDlg, [&] { return m_push.m_bHot; }));
    guitest::MovePointer({off.x, off.y});
    EXPECT_TRUE(guitest::Waitfor(m_hDlg, [&] { return !m_push.m_bHot; }));
    EXPECT_EQ(g_log.nNotifies, 4);
}

TEST_F(WidgetTest, HoppingBetweenButtonsNeverShowsTwoHot)
{
    // Tracking may also start after the window exists.
    m_plain.Inittrack();
    static const zobrel::CustButton* s_pPush;
    static const zobrel::CustButton* s_pPlain;
    static std::vector<std::pair<bool, bool>> s_seen;  // both flags at each notification
    s_pPush = &m_push;
    s_pPlain = &m_plain;
    s_seen.clear();
    g_log.pOnNotify = [] { s_seen.emplace_back(s_pPush->m_bHot, s_pPlain->m_bHot); };

    const POINT ptPush = guitest::Centre(Hwnd(m_push));
    const POINT ptPlain = guitest::Centre(Hwnd(m_plain));
    for (int i = 0; i < 3; ++i) {
        guitest::MovePointer({ptPush.x, ptPush.y});
        ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return m_push.m_bHot; }));
        guitest::MovePointer({ptPlain.x, ptPlain.y});
        ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return m_plain.m_bHot; }));
        EXPECT_FALSE(m_push.m_bHot) << "left before the next one got hot";
    }
    // Onto a label, which lets the pointer through to the dialog: the button
    // is left by the time the dialog sees the move, not a hover period later.
    static std::vector<bool> s_hotOnFace;
    s_hotOnFace.clear();
    g_log.pOnMouse = [] { s_hotOnFace.push_back(s_pPlain->m_bHot); };
    const POINT ptLabel = guitest::Centre(Hwnd(m_label));
    guitest::MovePointer({ptLabel.x, ptLabel.y});
    ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return !s_hotOnFace.empty(); }));
    EXPECT_FALSE(s_hotOnFace[0]);
    EXPECT_FALSE(m_plain.m_bHot);
    g_log.pOnNotify = nullptr;
    g_log.pOnMouse = nullptr;
    for (const auto& [bPush, bPlain] : s_seen)
        EXPECT_FALSE(bPush && bPlain);
    EXPECT_GE(s_seen.size(), 6u);
}

TEST_F(WidgetTest, UntrackedButtonsNeverGetHot)
{
    // Moves queued back to back are merged into the last one: each stays a
    // moment on its button.
    for (const zobrel::CustButton* pButton : {&m_plain, &m_check, &m_radio}) {
        const POINT pt = guitest::Centre(Hwnd(*pButton));
        guitest::MovePointer({pt.x, pt.y});
        guitest::Settle(m_hDlg, 150);
        guitest::MovePointer({pt.x + 1, pt.y + 1});
        guitest::Settle(m_hDlg, 150);
    }
    const POINT pt = guitest::Centre(Hwnd(m_push));
    guitest::MovePointer({pt.x, pt.y});
    ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return m_push.m_bHot; }));
    for (const zobrel::CustButton* pButton : {&m_plain, &m_check, &m_radio}) {
        EXPECT_FALSE(pButton->m_bHot);
        EXPECT_FALSE(Notifiedby(Hwnd(*pButton)));
    }
    EXPECT_EQ(g_log.nNotifies, 1);
}

TEST_F(WidgetTest, ClickSetsClickedAndLeavesTheMarkAlone)
{
    m_radio.SetCheck(true);
    struct Case {
        zobrel::CustButton* pButton;
        LRESULT nMark;  // BM_GETCHECK before and after the click
    };
    const Case cases[] = {
        {&m_push, BST_UNCHECKED}, {&m_plain, BST_UNCHECKED}, {&m_check, BST_UNCHECKED}, {&m_radio, BST_CHECKED}};
    for (const Case& c : cases) {
        HWND hButton = Hwnd(*c.pButton);
        const int nBefore = g_log.nNotifies;
        const POINT pt = guitest::Centre(hButton);
        guitest::MovePointer({pt.x, pt.y});
        guitest::LeftClick(pt);
        ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return c.pButton->m_bClicked; })) << c.pButton->m_nId;
        EXPECT_TRUE(Notifiedby(hButton)) << c.pButton->m_nId;
        EXPECT_GT(g_log.nNotifies, nBefore);
        guitest::Settle(m_hDlg, 50);
        EXPECT_EQ(SendMessageA(hButton, BM_GETCHECK, 0, 0), c.nMark) << c.pButton->m_nId;
    }
    // The flag stays latched until the program clears it.
    EXPECT_TRUE(m_push.m_bClicked);
}

TEST_F(WidgetTest, SpaceOnAFocusedPushButtonIsAClick)
{
    Focus(Hwnd(m_plain));
    guitest::PressKey(VK_SPACE);
    ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return m_plain.m_bClicked; }));
    EXPECT_TRUE(Notifiedby(Hwnd(m_plain)));
    EXPECT_FALSE(m_push.m_bClicked);
}

TEST_F(WidgetTest, EnterAndEscapeStillReachTheDialog)
{
    auto reached = [](int nId) {
        return std::find(g_log.commands.begin(), g_log.commands.end(), nId) != g_log.commands.end();
    };
    Focus(Hwnd(m_device));
    guitest::PressKey(VK_ESCAPE);
    EXPECT_TRUE(guitest::Waitfor(m_hDlg, [&] { return reached(IDCANCEL); }));
    guitest::PressKey(VK_RETURN);
    EXPECT_TRUE(guitest::Waitfor(m_hDlg, [&] { return reached(IDOK); }));
}

TEST_F(WidgetTest, SnaptoPutsThePointerOnTheCentreOnlyWithAWindow)
{
    m_plain.Snapto();
    POINT pt;
    GetCursorPos(&pt);
    const POINT centre = guitest::Centre(Hwnd(m_plain));
    EXPECT_EQ(pt.x, centre.x);
    EXPECT_EQ(pt.y, centre.y);
    EXPECT_EQ(m_plain.m_nSnaps, 1);

    const POINT off = Blank();
    SetCursorPos(off.x, off.y);
    zobrel::CustButton never;
    never.Snapto();
    zobrel::CustButton gone;
    ASSERT_TRUE(gone.Create("", PUSH_STYLE, {20, 200, 140, 250}, m_hDlg, 12));
    DestroyWindow(Hwnd(gone));
    EXPECT_EQ(gone.m_hWnd, nullptr);
    gone.Snapto();
    GetCursorPos(&pt);
    EXPECT_EQ(pt.x, off.x);
    EXPECT_EQ(pt.y, off.y);
    EXPECT_EQ(never.m_nSnaps + gone.m_nSnaps, 0);
}

TEST_F(WidgetTest, TheColoursAskedForAreOnScreen)
{
    HWND hPush = Hwnd(m_push);
    EXPECT_EQ(Pixel(hPush, 6, 6), 0u) << "button background";
    EXPECT_GT(Countpixels(hPush, YELLOW), 20) << "button text";
    EXPECT_EQ(Pixel(Hwnd(m_label), 200, 3), WHITE) << "label background";
    EXPECT_GT(Countpixels(Hwnd(m_label), guitest::NAVY), 20) << "label text";
    EXPECT_EQ(Pixel(Hwnd(m_output), 100, 120), 0xC0FFC0u) << "read-only box: second pair";
    EXPECT_GT(Countpixels(Hwnd(m_output), 0x004000), 10);
    EXPECT_EQ(Pixel(Hwnd(m_entry), 170, 15), 0xE0FFFFu) << "editable box: first pair";
    EXPECT_EQ(Pixel(Hwnd(m_device), 170, 15), GetSysColor(COLOR_WINDOW)) << "id-only colours are the defaults";
    EXPECT_EQ(Pixel(m_hDlg, 250, 280), guitest::NAVY) << "the dialog keeps its own";

    // SetText again recolours: the program turns "Process" green on black.
    m_push.SetText("Process", GREEN, 0, m_hFont);
    ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return Countpixels(hPush, GREEN) > 20; }));
    EXPECT_EQ(Countpixels(hPush, YELLOW), 0);
    m_label.SetText("No Dev", 255, 0, m_hFont);
    ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return Pixel(Hwnd(m_label), 200, 3) == 0; }));
    EXPECT_GT(Countpixels(Hwnd(m_label), 255), 20);
}

TEST_F(WidgetTest, EditTextFollowsTypingAndPasting)
{
    Focus(Hwnd(m_device));
    for (WORD wKey : {WORD('C'), WORD('D'), WORD('1'), WORD(VK_BACK), WORD('2')})
        guitest::PressKey(wKey);
    ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return m_device.m_strText == "cd2"; })) << m_device.m_strText;

    ASSERT_TRUE(OpenClipboard(m_hDlg));
    EmptyClipboard();
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(hText), "E:\\", 4);
    GlobalUnlock(hText);
    SetClipboardData(CF_TEXT, hText);
    CloseClipboard();
    SendMessageA(Hwnd(m_device), WM_PASTE, 0, 0);
    EXPECT_EQ(m_device.m_strText, "cd2E:\\");

    // SetText replaces it, and the box shows the same.
    m_device.SetText("F:", m_hFont);
    char szText[16] = {};
    GetWindowTextA(Hwnd(m_device), szText, sizeof szText);
    EXPECT_STREQ(szText, "F:");
    EXPECT_EQ(m_device.m_strText, "F:");
}

TEST_F(WidgetTest, ShowMarkAndTextReachTheWindows)
{
    m_label.Show(false);
    EXPECT_FALSE(IsWindowVisible(Hwnd(m_label)));
    m_label.Show(true);
    EXPECT_TRUE(IsWindowVisible(Hwnd(m_label)));
    m_check.SetCheck(true);
    EXPECT_EQ(SendMessageA(Hwnd(m_check), BM_GETCHECK, 0, 0), BST_CHECKED);
    m_check.SetCheck(false);
    EXPECT_EQ(SendMessageA(Hwnd(m_check), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    m_plain.SetText("Edit", GREEN, 0, m_hFont);
    char szText[16] = {};
    GetWindowTextA(Hwnd(m_plain), szText, sizeof szText);
    EXPECT_STREQ(szText, "Edit");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Hwnd(m_plain), WM_GETFONT, 0, 0)), m_hFont);
}

TEST_F(WidgetTest, SetFontChangesTheFontAloneAndTextroomTellsWhereALineFits)
{
    HFONT hLarge = CreateFontA(-28, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    ASSERT_NE(hLarge, nullptr);
    Focus(Hwnd(m_device));
    guitest::PressKey('C');
    ASSERT_TRUE(guitest::Waitfor(m_hDlg, [&] { return m_device.m_strText == "c"; }));

    // What the user typed, and a label's text, stay.
    for (zobrel::Widget* pWidget : std::initializer_list<zobrel::Widget*>{&m_device, &m_label, &m_push})
        pWidget->SetFont(hLarge);
    for (zobrel::Widget* pWidget : std::initializer_list<zobrel::Widget*>{&m_device, &m_label, &m_push})
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Hwnd(*pWidget), WM_GETFONT, 0, 0)), hLarge) << pWidget->m_nId;
    char szText[16] = {};
    GetWindowTextA(Hwnd(m_device), szText, sizeof szText);
    EXPECT_STREQ(szText, "c");
    EXPECT_EQ(m_device.m_strText, "c");
    GetWindowTextA(Hwnd(m_label), szText, sizeof szText);
    EXPECT_STREQ(szText, "Device");

    // A push button's face inside its edge, less a pressed button's shift;
    // a label's and a check box's client area, whatever the font.
    EXPECT_EQ(m_push.Textroom(m_hFont), (zobrel::Rect{0, 0, 120 - 5, 50 - 5}));
    EXPECT_EQ(m_label.Textroom(m_hFont), (zobrel::Rect{0, 0, 220, 30}));
    EXPECT_EQ(m_check.Textroom(hLarge), (zobrel::Rect{0, 0, 24, 24}));
    // An edit box's margins follow the font it is asked about; it keeps its own.
    const zobrel::Rect rcSmall = m_device.Textroom(m_hFont);
    const zobrel::Rect rcLarge = m_device.Textroom(hLarge);
    EXPECT_GT(rcLarge.right, 0);
    EXPECT_LT(rcLarge.right, rcSmall.right) << "wider margins for the larger font";
    EXPECT_LE(rcSmall.right, 180);
    EXPECT_EQ(rcSmall.bottom, 30);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Hwnd(m_device), WM_GETFONT, 0, 0)), hLarge);
    zobrel::CustEdit none;
    EXPECT_EQ(none.Textroom(hLarge), zobrel::Rect{});

    for (zobrel::Widget* pWidget : std::initializer_list<zobrel::Widget*>{&m_device, &m_label, &m_push})
        pWidget->SetFont(m_hFont);
    DeleteObject(hLarge);
}

}  // namespace
