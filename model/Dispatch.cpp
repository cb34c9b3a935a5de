#include "Dispatch.h"

#include "Compose.h"
#include "Globals.h"
#include "Launch.h"
#include "Rules.h"

void DispatchWidgetNotify(IDialogHost& host)
{
    // Focus from the keyboard shows the preview as pointing does, once per
    // focus gained: a focused button is no reason to compose on every notification.
    const bool bComposed = g_btnProcess.m_bHot || g_btnProcess.m_bFocus;
    g_btnProcess.m_bFocus = false;
    if (bComposed)
        ProcessHover();
    if (g_btnExit.m_bHot)
        g_btnExit.SetText("Exit", CLR_GREEN, 0, g_hFont);
    if (g_btnEdit.m_bHot)
        g_btnEdit.SetText("Edit", CLR_GREEN, 0, g_hFont);

    if (g_btnProcess.m_bClicked) {
        // A click without the pointer on the button (Space on the focused
        // button) has no fresh composition yet: the argument text may still
        // belong to another tool or drive.
        if (!bComposed)
            ProcessHover();
        if (g_btnProcess.m_bClicked)
            ProcessClick();
    }

    bool bChanged = false;
    for (int i = 0; i < g_toolCount; ++i) {
        if (ToolTable[i].m_pButton->m_bClicked) {
            ToolTable[i].m_pButton->m_bClicked = false;
            SelectTool(i);
            bChanged = true;
            break;
        }
    }
    // One check box per notification; later ones stay latched for the next.
    for (int i = 0; i < g_optionCount; ++i) {
        if (OptionTable[i].m_pButton->m_bClicked) {
            OptionTable[i].m_pButton->m_bClicked = false;
            ToggleOption(i);
            bChanged = true;
            break;
        }
    }
    // A choice changed under a pointer resting on "Process" (Space on a
    // focused box): the preview shown must stay what a click would run.
    if (bChanged && g_btnProcess.m_bHot)
        ProcessHover();

    if (g_btnExit.m_bClicked) {
        g_btnExit.m_bClicked = false;
        host.EndOk();
    }
    if (g_btnEdit.m_bClicked) {
        g_btnEdit.m_bClicked = false;
        const CString strFailure = OpenSettings();
        host.ReloadSettings();
        if (!strFailure.empty()) {
            g_btnEdit.SetText(STATUS_FAILED, CLR_RED, 0, g_hFont);
            g_editOutput.SetText(strFailure, g_hFont);
        }
    }
}
