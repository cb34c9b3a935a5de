#include "RepairApp.h"

#include "RepairDlg.h"
#include "model/Globals.h"

CRepairApp theApp;

BOOL CRepairApp::InitInstance()
{
    SetDialogBkColor(CLR_NAVY, CLR_WHITE);
    CRepairDlg dlg;
    dlg.DoModal();
    // The dialog was the whole program: no message loop follows.
    return FALSE;
}
