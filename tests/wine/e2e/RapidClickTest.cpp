// End to end: twenty clicks on "Process" in one go run the command once.
#include "e2e/Harness.h"

namespace {

using namespace e2e;

TEST(RapidClicks, TwentyClicksOnProcessRunOnceWhileTheConsoleIsOpen)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(KeepClearOfConsoles(tarvick.m_hWnd));
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));

    // All in one go, each press and release with its own move onto the button.
    const POINT pt = tarvick.Middle(IDC_PROCESS);
    std::vector<INPUT> ins;
    for (int i = 0; i < 20; ++i) {
        ins.push_back(MouseButton(pt, MOUSEEVENTF_LEFTDOWN));
        ins.push_back(MouseButton(pt, MOUSEEVENTF_LEFTUP));
    }
    const DWORD nStart = GetTickCount();
    ASSERT_EQ(SendInput(static_cast<UINT>(ins.size()), ins.data(), sizeof ins[0]), ins.size());

    // Input is handled in order: once the SFC radio button, clicked after
    // the twenty, shows its mark, every one of them has been handled.
    tarvick.ClickOn(IDC_TOOL_RADIO + TOOL_SFC);
    ASSERT_TRUE(WaitUntil([&] { return tarvick.Checked(IDC_TOOL_RADIO + TOOL_SFC) == BST_CHECKED; }, 30000))
        << "the program never got to the click";
    const DWORD nMs = GetTickCount() - nStart;
    EXPECT_TRUE(tarvick.Responsive());

    // The first click runs; its console then waits at "pause", and every
    // later click finds "Process" busy: one console, one start, the file
    // written once.
    ASSERT_TRUE(tarvick.WaitCalls(1));
    const std::vector<Call> calls = tarvick.Calls();
    std::printf("20 clicks handled in %lu ms\n", static_cast<unsigned long>(nMs));
    ASSERT_EQ(calls.size(), 1u);
    ExpectCall(calls[0], "CHKDSK.EXE", "C:");
    EXPECT_EQ(tarvick.Children("cmd.exe").size(), 1u);
    EXPECT_EQ(tarvick.Text(IDC_PROCESS), "Busy");
    EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE C:\r\npause\r\n");
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_EQ(tarvick.Calls().size(), 1u);
    EXPECT_TRUE(tarvick.Visible(IDC_PROCESS));
    EXPECT_TRUE(tarvick.Exit());
}

}  // namespace
