// End to end: where the pointer goes while the window is resized, minimised
// and restored, and the preview that the keyboard alone brings up.
#include "e2e/Harness.h"

namespace {

using namespace e2e;

bool PointerAt(POINT pt)
{
    POINT now = {};
    return GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
}

std::string Where()
{
    POINT pt = {};
    GetCursorPos(&pt);
    return "the pointer is at " + std::to_string(pt.x) + "," + std::to_string(pt.y);
}

RECT ClientRect(HWND hWnd)
{
    RECT rc = {};
    GetClientRect(hWnd, &rc);
    return rc;
}

// ---- The pointer and the window's size ---------------------------------------------------------

TEST(Pointer, StaysWhileTheSizeChangesAndGoesToExitBackFromMinimised)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    const HWND hWnd = tarvick.m_hWnd;
    const POINT ptFace = tarvick.FacePoint();
    ASSERT_TRUE(MovePointer(ptFace));

    // Steps as a drag of the lower right corner makes them: each re-lays
    // the controls, none moves the pointer.
    RECT rcWindow = {};
    GetWindowRect(hWnd, &rcWindow);
    for (int nStep = 1; nStep <= 5; ++nStep) {
        const RECT rcExit = tarvick.ScreenRect(IDC_EXIT);
        SetWindowPos(hWnd, nullptr, 0, 0, rcWindow.right - rcWindow.left - 14 * nStep,
                     rcWindow.bottom - rcWindow.top - 9 * nStep, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitUntil([&] { return !SameRect(tarvick.ScreenRect(IDC_EXIT), rcExit); }, 2000))
            << "step " << nStep << ": Exit was not re-laid";
        EXPECT_TRUE(PointerRests([&] { return PointerAt(ptFace); })) << "step " << nStep << ": " << Where();
    }

    // A maximise re-lays the controls as well and leaves the pointer alone.
    ASSERT_TRUE(MovePointer(ptFace));
    const RECT rcBefore = ClientRect(hWnd);
    ShowWindow(hWnd, SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(hWnd) && ClientRect(hWnd).right > rcBefore.right; }, 2000));
    EXPECT_NEAR(tarvick.ScreenRect(IDC_EXIT).right - tarvick.ScreenRect(IDC_EXIT).left,
                ClientRect(hWnd).right * 80.0 / 720, 1.0);
    EXPECT_TRUE(PointerRests([&] { return PointerAt(ptFace); })) << "after the maximise: " << Where();
    ShowWindow(hWnd, SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !IsZoomed(hWnd); }, 2000));
    EXPECT_TRUE(PointerRests([&] { return PointerAt(ptFace); }))
        << "after the maximised window was restored: " << Where();

    // Back from the taskbar the pointer waits on "Exit".
    ASSERT_TRUE(MovePointer(ptFace));
    ShowWindow(hWnd, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(hWnd) != FALSE; }, 2000));
    EXPECT_TRUE(PointerRests([&] { return PointerAt(ptFace); })) << "after the minimise: " << Where();
    ShowWindow(hWnd, SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(hWnd); }, 2000));
    EXPECT_TRUE(WaitUntil([&] { return tarvick.PointerOn(IDC_EXIT); }, 2000)) << Where();
    EXPECT_TRUE(tarvick.Exit());
}

// ---- The preview from the keyboard -------------------------------------------------------------

struct KeyCase {
    const char* pszName;
    int nTool;
    const char* pszDevice;
    std::vector<int> ticked;
    const char* pszPreview;  // in the output box once Tab reaches "Process"
    const char* pszButton;   // the text on "Process" then
    COLORREF crButton;
    const char* pszBatch;  // what Space then writes, "" for no run
};

void PrintTo(const KeyCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class KeyboardPreview : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyboardPreview, TabOntoProcessShowsTheChoiceAndSpaceRunsExactlyThat)
{
    const KeyCase& c = GetParam();
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    if (*c.pszDevice) {
        ASSERT_TRUE(tarvick.TypeDevice(c.pszDevice));
    }
    if (c.nTool != TOOL_CHKDSK) {
        ASSERT_TRUE(tarvick.ChooseTool(c.nTool));
    }
    for (int nRow : c.ticked)
        ASSERT_TRUE(tarvick.Tick(nRow));
    // Nothing is composed yet, and the pointer rests far from "Process".
    ASSERT_TRUE(MovePointer(tarvick.FacePoint()));
    ASSERT_EQ(tarvick.Text(IDC_OUTPUT), "");

    ASSERT_TRUE(tarvick.FocusByTab(IDC_PROCESS));
    EXPECT_TRUE(WaitUntil([&] { return tarvick.Text(IDC_OUTPUT) == c.pszPreview; }, HOVER_MS))
        << "output box: \"" << tarvick.Text(IDC_OUTPUT) << '"';
    EXPECT_TRUE(WaitUntil([&] { return tarvick.Text(IDC_PROCESS) == c.pszButton; }, HOVER_MS))
        << tarvick.Text(IDC_PROCESS);
    EXPECT_TRUE(WaitUntil([&] { return CountColour(tarvick.ScreenRect(IDC_PROCESS), c.crButton) > 10; }, 2000));
    EXPECT_FALSE(tarvick.PointerOn(IDC_PROCESS));
    const std::string strPreview = tarvick.Text(IDC_OUTPUT);

    PressKey(VK_SPACE, false);
    if (*c.pszBatch) {
        ASSERT_TRUE(WaitUntil([&] { return tarvick.PointerOn(IDC_EXIT); }, RUN_MS)) << Where();
        ASSERT_TRUE(tarvick.WaitCalls(1));
        const std::string strBatch = tarvick.Batch();
        EXPECT_EQ(strBatch, std::string(c.pszBatch) + "\r\npause\r\n");
        // The run's arguments are the preview's, word for word.
        const std::size_t nPreviewArgs = strPreview.find(' ');
        const std::size_t nBatchArgs = strBatch.find(' ');
        ASSERT_NE(nPreviewArgs, std::string::npos);
        ASSERT_NE(nBatchArgs, std::string::npos);
        EXPECT_EQ(strBatch.substr(nBatchArgs, strBatch.find('\r') - nBatchArgs),
                  strPreview.substr(nPreviewArgs, strPreview.find('\r') - nPreviewArgs));
        EXPECT_EQ(tarvick.EndConsoles(), 1);
    } else {
        // Input is handled in order: once this tick shows, so has the Space.
        ASSERT_TRUE(tarvick.Tick(ROW_FIX));
        EXPECT_EQ(tarvick.Text(IDC_PROCESS), c.pszButton);
        EXPECT_FALSE(Exists(tarvick.m_strBatch));
        EXPECT_TRUE(tarvick.Calls().empty());
        EXPECT_TRUE(tarvick.Children().empty());
    }
    EXPECT_TRUE(tarvick.Exit());
}

INSTANTIATE_TEST_SUITE_P(
    Choices, KeyboardPreview,
    ::testing::Values(KeyCase{"DismWithASwitch",
                              TOOL_DISM,
                              "",
                              {ROW_RESTOREHEALTH},
                              "DISM /Online /Cleanup-Image /RestoreHealth\r\n",
                              "Process",
                              CLR_GREEN,
                              "DISM.EXE /Online /Cleanup-Image /RestoreHealth"},
                      KeyCase{"ChkdskOnAMissingDrive", TOOL_CHKDSK, "Q", {ROW_FIX}, "", "Offline", CLR_RED, ""}),
    [](const auto& info) { return std::string(info.param.pszName); });

}  // namespace
