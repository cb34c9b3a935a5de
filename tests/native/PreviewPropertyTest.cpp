// What you see is what runs: random sequences of user actions go through the
// dispatcher as the widgets report them, and at every click the command that
// starts must be the preview the user last saw; after a red status nothing
// may start at all.
#include <cstdint>
#include <optional>
#include <random>
#include <sstream>

#include "ModelFixture.h"
#include "model/Compose.h"
#include "model/Dispatch.h"
#include "model/Launch.h"

namespace {

class CHost : public IDialogHost {
public:
    void EndOk() override {}
    void ReloadSettings() override {}
};

enum class Focus { Other, Process, Device, Box };

// The simulated user: where the pointer and the keyboard focus are, and what
// the window showed them last.
class CUser {
public:
    CUser(CFakeSystem& system, std::uint32_t nSeed) : m_system(system), m_random(nSeed) {}

    // Runs nActions random actions; false, with m_log saying why, at the first broken promise.
    bool Play(int nActions)
    {
        for (int n = 0; n < nActions; ++n) {
            if (!Act())
                return false;
        }
        return true;
    }

    std::ostringstream m_log;
    int m_nRuns = 0;
    int m_nRefused = 0;

private:
    CFakeSystem& m_system;
    std::mt19937 m_random;
    CHost m_host;
    Focus m_focus = Focus::Other;
    int m_nFocusBox = 0;
    std::optional<CString> m_lastPreview;  // the command last previewed; none after a red status

    int Pick(int nCount) { return static_cast<int>(m_random() % static_cast<std::uint32_t>(nCount)); }

    void Notify()
    {
        DispatchWidgetNotify(m_host);
        Observe();
    }

    // What the window shows now.
    void Observe()
    {
        const CString& strCaption = g_btnProcess.m_strCaption;
        if (strCaption == STATUS_NO_DEVICE || strCaption == STATUS_OFFLINE || strCaption == STATUS_BUSY)
            m_lastPreview.reset();
        else if (strCaption == "Process" && !g_editOutput.m_strText.empty())
            m_lastPreview = g_editOutput.m_strText;
    }

    // The pointer goes somewhere else: off "Process" first.
    void Leave()
    {
        if (g_btnProcess.m_bHot) {
            g_btnProcess.m_bHot = false;
            Notify();
        }
    }

    void FocusProcess()
    {
        if (m_focus != Focus::Process) {
            m_focus = Focus::Process;
            g_btnProcess.m_bFocus = true;
            Notify();
        }
    }

    bool Act()
    {
        switch (Pick(12)) {
            case 0:  // a click on a check box that is shown
            case 1: {
                const int i = Pick(g_optionCount);
                if (!g_optionBox[i].IsVisible())
                    return true;
                m_log << "tick " << i << "; ";
                Leave();
                m_focus = Focus::Box;
                m_nFocusBox = i;
                g_optionBox[i].m_bClicked = true;
                Notify();
                return true;
            }
            case 2:  // Space on the focused check box, wherever the pointer is
                if (m_focus != Focus::Box || !g_optionBox[m_nFocusBox].IsVisible())
                    return true;
                m_log << "space on box " << m_nFocusBox << "; ";
                g_optionBox[m_nFocusBox].m_bClicked = true;
                Notify();
                return true;
            case 3: {  // a click on a radio button
                const int t = Pick(g_toolCount);
                m_log << "tool " << t << "; ";
                Leave();
                m_focus = Focus::Other;
                g_toolRadio[t].m_bClicked = true;
                Notify();
                return true;
            }
            case 4: {  // typing in the Device box; the pointer may rest on "Process"
                static const char* const TEXTS[] = {"", "C", "c:", "D", "d:\\data", "E", "R", "Q", " C", "C:\\"};
                const char* pszText = TEXTS[Pick(10)];
                m_log << "device \"" << pszText << "\"; ";
                if (m_focus != Focus::Device) {
                    Leave();
                    m_focus = Focus::Device;
                }
                g_editDevice.m_strText = pszText;
                Notify();
                return true;
            }
            case 5:
            case 6:
                if (!g_btnProcess.m_bHot) {
                    m_log << "hover; ";
                    g_btnProcess.m_bHot = true;
                    Notify();
                }
                return true;
            case 7:
                m_log << "leave; ";
                Leave();
                return true;
            case 8:  // the user closes the last console; the dialog's timer notices
                m_log << "console closed; ";
                m_system.CloseConsole();
                WatchConsole();
                Observe();
                return true;
            case 9:  // Tab onto "Process"
                m_log << "tab; ";
                FocusProcess();
                return true;
            case 10:  // a writing problem that comes and goes
                m_system.m_strFailAt = Pick(4) == 0 ? "hold" : "";
                return true;
            default: return Click();
        }
    }

    // A click on "Process" with the mouse, or Space while it has the focus.
    bool Click()
    {
        const bool bMouse = g_btnProcess.m_bHot || m_focus != Focus::Process || Pick(2) == 0;
        if (bMouse && !g_btnProcess.m_bHot) {
            g_btnProcess.m_bHot = true;
            Notify();
        }
        m_log << (bMouse ? "click" : "space") << "; ";
        // What the user saw before pressing: the button takes the focus as
        // it is pressed, which is no time to read the preview.
        const std::optional<CString> seen = m_lastPreview;
        if (bMouse)
            FocusProcess();
        const int nStarts = m_system.m_nStarts;
        const std::size_t nLaunches = zobrel::g_executeLog.size();
        const int nSnaps = g_btnExit.m_nSnaps;
        g_btnProcess.m_bClicked = true;
        Notify();

        const bool bBatch = m_system.m_nStarts > nStarts;
        const bool bExternal = zobrel::g_executeLog.size() > nLaunches;
        const bool bFailed = g_btnProcess.m_strCaption == STATUS_FAILED;
        if (bBatch) {
            const CString strLine = m_system.m_strWritten.substr(0, m_system.m_strWritten.find("\r\n"));
            if (!seen || Expected(*seen) != strLine)
                return Broken("ran «" + strLine + "» after the preview «" + (seen ? *seen : "(a red status)") + "»");
            ++m_nRuns;
        } else if (bExternal) {
            if (!seen || *seen != "WinDlg")
                return Broken("started the external tool after «" + (seen ? *seen : "(a red status)") + "»");
            ++m_nRuns;
        } else if (seen && !bFailed && m_lastPreview) {
            // Refusing with a red status is safe; silently doing nothing is not.
            return Broken("nothing ran, and no status showed, after the preview «" + *seen + "»");
        } else {
            ++m_nRefused;
        }
        if (g_btnExit.m_nSnaps > nSnaps) {
            // The pointer was put on "Exit".
            g_btnProcess.m_bHot = false;
            Notify();
        }
        return true;
    }

    // The batch file's line for a preview: the tool's name gets ".EXE", the line end goes.
    static CString Expected(CString strPreview)
    {
        if (strPreview.size() >= 2 && strPreview.compare(strPreview.size() - 2, 2, "\r\n") == 0)
            strPreview.resize(strPreview.size() - 2);
        const std::size_t nBlank = strPreview.find(' ');
        return nBlank == CString::npos ? strPreview : strPreview.substr(0, nBlank) + ".EXE" + strPreview.substr(nBlank);
    }

    bool Broken(const CString& strWhat)
    {
        m_log << "\n=> " << strWhat;
        return false;
    }
};

TEST_F(ModelTest, EveryClickRunsThePreviewLastShown)
{
    // Fixed seeds: the same sequences on every run, 20,000 actions in all.
    int nRuns = 0;
    int nRefused = 0;
    for (std::uint32_t nSeed = 1; nSeed <= 20; ++nSeed) {
        m_system = CFakeSystem();
        SetUp();
        ToolTable[TOOL_EXTERNAL].m_strExe = "C:\\Tools\\diag.exe";
        CUser user(m_system, nSeed);
        if (!user.Play(1000)) {
            const std::string strLog = user.m_log.str();
            FAIL() << "seed " << nSeed << ", the last actions: ..."
                   << strLog.substr(strLog.size() > 1500 ? strLog.size() - 1500 : 0);
        }
        nRuns += user.m_nRuns;
        nRefused += user.m_nRefused;
    }
    // The sequences must reach both outcomes often, or they prove little.
    EXPECT_GT(nRuns, 300);
    EXPECT_GT(nRefused, 100);
}

}  // namespace
