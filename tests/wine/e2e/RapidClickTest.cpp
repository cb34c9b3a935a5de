// End to end: twenty clicks on "Process" in one go.
#include "e2e/Harness.h"

namespace {

using namespace e2e;

TEST(RapidClicks, TwentyClicksOnProcessLeaveTheProgramAnswering)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));

    // All in one go, each click with its own move back onto the button.
    const RECT rc = tarvick.ScreenRect(IDC_PROCESS);
    const INPUT move = PointerMove({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    std::vector<INPUT> ins;
    for (int i = 0; i < 20; ++i) {
        ins.push_back(move);
        ins.push_back(MouseButton(MOUSEEVENTF_LEFTDOWN));
        ins.push_back(MouseButton(MOUSEEVENTF_LEFTUP));
    }
    const DWORD nStart = GetTickCount();
    ASSERT_EQ(SendInput(static_cast<UINT>(ins.size()), ins.data(), sizeof ins[0]), ins.size());

    // The consoles open near the top-left, over the window: each is ended
    // before the pointer goes anywhere. Input is handled in order, so once
    // the SFC radio button shows its mark every click before it was handled
    // and every console it opened exists.
    std::size_t nRuns = 0;
    auto endConsoles = [&] {
        // Each console's tool gets the time to record its start before the console ends.
        const std::size_t nOpen = tarvick.Children("cmd.exe").size();
        WaitUntil([&] { return tarvick.Calls().size() >= nRuns + nOpen; }, 3000);
        nRuns += tarvick.EndConsoles();
    };
    // Mostly the clicks have played out once no console opened for a second.
    std::size_t nSeen = 0;
    DWORD dwChanged = GetTickCount();
    WaitUntil(
        [&] {
            const std::size_t nNow = tarvick.Children("cmd.exe").size();
            if (nNow != nSeen) {
                nSeen = nNow;
                dwChanged = GetTickCount();
            }
            return nNow > 0 && GetTickCount() - dwChanged >= 1000;
        },
        30000);
    for (int nTry = 0; nTry < 10 && tarvick.Checked(IDC_TOOL_RADIO + TOOL_SFC) != BST_CHECKED; ++nTry) {
        endConsoles();
        tarvick.ClickOn(IDC_TOOL_RADIO + TOOL_SFC);
        WaitUntil([&] { return tarvick.Checked(IDC_TOOL_RADIO + TOOL_SFC) == BST_CHECKED; }, 2000);
    }
    ASSERT_EQ(tarvick.Checked(IDC_TOOL_RADIO + TOOL_SFC), BST_CHECKED) << "the program never got to the click";
    endConsoles();
    const DWORD nMs = GetTickCount() - nStart;
    EXPECT_TRUE(tarvick.Responsive());
    const std::vector<Call> calls = tarvick.Calls();
    std::printf("20 clicks: %u consoles, %u recorded starts, handled in %lu ms\n", static_cast<unsigned>(nRuns),
                static_cast<unsigned>(calls.size()), static_cast<unsigned long>(nMs));
    RecordProperty("consoles", static_cast<int>(nRuns));
    RecordProperty("recorded", static_cast<int>(calls.size()));
    EXPECT_GE(nRuns, 1u);
    EXPECT_LE(nRuns, 20u);
    // Overlapping consoles read the one sfc.bat while the next run rewrites
    // it: a start may go unrecorded, but none is invented and each is the
    // composed command.
    EXPECT_GE(calls.size(), 1u);
    EXPECT_LE(calls.size(), nRuns);
    for (const Call& call : calls)
        ExpectCall(call, "CHKDSK.EXE", "C:");
    EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE C:\r\npause\r\n");
    EXPECT_TRUE(tarvick.Visible(IDC_PROCESS));
    EXPECT_TRUE(tarvick.Exit());
}

}  // namespace
