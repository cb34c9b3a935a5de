#include "Globals.h"

zobrel::Utility g_utility;
zobrel::FileIO g_fileIO;
zobrel::Screen g_screen;

zobrel::CustButton g_btnProcess;
zobrel::CustButton g_btnExit;
zobrel::CustButton g_btnEdit;
zobrel::CustEdit g_editOutput;
zobrel::CustEdit g_editDevice;
zobrel::CustButton g_optionBox[OPTION_ROWS];
zobrel::CustStatic g_optionLabel[OPTION_ROWS];
zobrel::CustButton g_toolRadio[TOOL_ROWS];
zobrel::CustStatic g_toolLabel[TOOL_ROWS];
zobrel::CustStatic g_lblDevice;

ToolKind g_currentTool = TOOL_CHKDSK;
VolumeClass g_volumeClass = VC_NONE;
CString g_cmdLine;
CString g_cmdArgs;
CString g_rootPath;
char g_fsName[8] = {};
CString g_batchPath;
CString g_settingsPath;
CString g_positionPath;
CString g_editorPath = "C:\\Windows\\System32\\notepad.exe";
CString g_builtinToolPath = "D:\\WD_Disk_Diag\\WinDlg.exe";
zobrel::FontHandle g_hFont = nullptr;

zobrel::ISystem* g_pSystem = &zobrel::Hostsystem();
