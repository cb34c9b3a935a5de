#include "Dispatch.h"

#include "Compose.h"
#include "Globals.h"
#include "Launch.h"
#include "Rules.h"

void DispatchWidgetNotify(IDialogHost& host)
{
    // Focus from the keyboard shows the preview as pointing does, once per
    // focus gained: a focused button is no reason to compose on every notification.
    const bool bFocused = g_btnProcess.m_bFocus;
    g_btnProcess.m_bFocus = false;
    if (g_btnProcess.m_bHot || bFocused)
        ProcessHover();
    if (g_btnExit.m_bHot)
        g_btnExit.SetText("Exit", CLR_GREEN, 0, g_hFont);
    if (g_btnEdit.m_bHot)
        g_btnEdit.SetText("Edit", CLR_GREEN, 0, g_hFont);

    if (g_btnProcess.m_bClicked) {
        // A click without the pointer on the button (Space on the focused
        // button) has no fresh composition yet: the argument text may still
        // belong to another tool or drive.
        if (!g_btnProcess.m_bHot)
            ProcessHover();
        if (g_btnProcess.m_bClicked)
            ProcessClick();
    }

    for (int i = 0; i < g_toolCount; ++i) {
        if (ToolTable[i].m_pButton->m_bClicked) {
            ToolTable[i].m_pButton->m_bClicked = false;
            SelectTool(i);
            break;
        }
    }
    // One check box per notification; later ones stay latched for the next.
    for (int i = 0; i < g_optionCount; ++i) {
        if (OptionTable[i].m_pButton->m_bClicked) {
            OptionTable[i].m_pButton->m_bClicked = false;
            ToggleOption(i);
            break;
        }
    }

    if (g_btnExit.m_bClicked) {
        g_btnExit.m_bClicked = false;
        host.EndOk();
    }
    if (g_btnEdit.m_bClicked) {
        g_btnEdit.m_bClicked = false;
        g_utility.Execute(g_editorPath.c_str(), g_settingsPath.c_str(), "*", nullptr);
        host.ReloadSettings();
    }
}
