#include "RepairApp.h"

#include "RepairDlg.h"
#include "model/Globals.h"

CRepairApp theApp;

BOOL CRepairApp::InitInstance()
{
    SetDialogBkColor(CLR_NAVY, CLR_WHITE);
    CRepairDlg dlg;
    if (dlg.DoModal() == -1) {
        OutputDebugStringA("Tarvick: the dialog could not be created\n");
        m_nExitCode = 1;
    }
    // The dialog was the whole program: no message loop follows.
    return FALSE;
}
