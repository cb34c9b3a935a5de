// End to end: the window at start, the ways the program ends, and the
// window placement kept between runs.
#include "e2e/Harness.h"

namespace {

using namespace e2e;

// ---- At start ------------------------------------------------------------------------------------

TEST(Startup, ChkdskMarkedSixRowsEmptyBoxesNavyFace)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());

    EXPECT_EQ(tarvick.Checked(IDC_TOOL_RADIO + TOOL_CHKDSK), BST_CHECKED);
    for (int t : {TOOL_DISM, TOOL_SFC, TOOL_EXTERNAL})
        EXPECT_EQ(tarvick.Checked(IDC_TOOL_RADIO + t), BST_UNCHECKED) << "tool " << t;
    EXPECT_EQ(tarvick.VisibleRows(), RowsOf({0, 1, 2, 3, 6, 8}));
    for (int i = 0; i < OPTION_ROWS; ++i)
        EXPECT_EQ(tarvick.Checked(IDC_OPTION_BOX + i), BST_UNCHECKED) << "row " << i;
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    EXPECT_EQ(tarvick.Text(IDC_DEVICE), "");
    EXPECT_EQ(tarvick.Text(IDC_OPTION_LABEL + ROW_FIX), " Fix - /f");
    EXPECT_EQ(tarvick.Text(IDC_OPTION_LABEL + ROW_HELP), " Help - /?");
    const char* const toolLabels[] = {" CHKDSK", " DISM", " SFC", " WinDlg"};
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(tarvick.Text(IDC_TOOL_LABEL + t), toolLabels[t]);

    EXPECT_EQ(tarvick.Text(IDC_PROCESS), "Process");
    EXPECT_GT(CountColour(tarvick.ScreenRect(IDC_PROCESS), CLR_YELLOW), 10) << "yellow text at start";
    const POINT pt = tarvick.FacePoint();
    EXPECT_EQ(CountColour({pt.x, pt.y, pt.x + 4, pt.y + 4}, CLR_NAVY), 16) << "navy face";
    EXPECT_TRUE(tarvick.Exit());
}

// ---- Ending and the window placement -------------------------------------------------------------

enum class Ending { ExitButton, EscapeKey, CloseCommand };

class Ends : public ::testing::TestWithParam<Ending> {};

TEST_P(Ends, ProgramEndsAndSavesPlacement)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_FALSE(Exists(tarvick.m_strPos));
    switch (GetParam()) {
        case Ending::ExitButton: tarvick.ClickOn(IDC_EXIT); break;
        case Ending::EscapeKey:
            tarvick.ClickOn(IDC_DEVICE);  // focus in the window
            ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == tarvick.m_hWnd; }, 2000));
            PressKey(VK_ESCAPE, false);
            break;
        case Ending::CloseCommand:
            // The close box's command; without a window manager Wine draws no caption to click.
            tarvick.ClickOn(IDC_DEVICE);
            ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == tarvick.m_hWnd; }, 2000));
            PressKey(VK_F4, true);
            break;
    }
    EXPECT_TRUE(tarvick.WaitEnded());
    EXPECT_TRUE(Exists(tarvick.m_strPos));
}

std::string EndingName(const ::testing::TestParamInfo<Ending>& info)
{
    const char* const names[] = {"ExitButton", "EscapeKey", "AltF4"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, Ends, ::testing::Values(Ending::ExitButton, Ending::EscapeKey, Ending::CloseCommand),
                         EndingName);
TEST(Placement, RestoredAtNextStart)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    const RECT rcMoved = MoveWindowTo(tarvick.m_hWnd, {37, 29});
    ASSERT_EQ(rcMoved.left, 37);
    ASSERT_TRUE(tarvick.Exit());

    ASSERT_TRUE(tarvick.Start());
    RECT rc;
    GetWindowRect(tarvick.m_hWnd, &rc);
    EXPECT_TRUE(SameRect(rc, rcMoved)) << Describe(rc) << " instead of " << Describe(rcMoved);
    EXPECT_TRUE(tarvick.Exit());
}

TEST(Placement, MinimisedCloseKeepsTheFile)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    MoveWindowTo(tarvick.m_hWnd, {41, 33});
    ASSERT_TRUE(tarvick.Exit());
    ASSERT_TRUE(Exists(tarvick.m_strPos));
    const std::string strSaved = Contents(tarvick.m_strPos);

    ASSERT_TRUE(tarvick.Start());
    MoveWindowTo(tarvick.m_hWnd, {211, 97});
    ShowWindow(tarvick.m_hWnd, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(tarvick.m_hWnd) != FALSE; }, 2000));
    // The taskbar's close: the window is minimised, nothing to click.
    PostMessageA(tarvick.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(tarvick.WaitEnded());
    EXPECT_EQ(Contents(tarvick.m_strPos), strSaved);
}

}  // namespace
