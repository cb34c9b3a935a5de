#pragma once
// Program-wide objects: they live for the whole run, and the tables' records
// point at the widgets here without owning them.
#include "Catalog.h"
#include "UiConstants.h"
#include "lib/CustButton.h"
#include "lib/CustEdit.h"
#include "lib/CustStatic.h"
#include "lib/FileIO.h"
#include "lib/Screen.h"
#include "lib/System.h"
#include "lib/Utility.h"

extern zobrel::Utility g_utility;
extern zobrel::FileIO g_fileIO;
extern zobrel::Screen g_screen;

extern zobrel::CustButton g_btnProcess;
extern zobrel::CustButton g_btnExit;
extern zobrel::CustButton g_btnEdit;
extern zobrel::CustEdit g_editOutput;
extern zobrel::CustEdit g_editDevice;
extern zobrel::CustButton g_optionBox[OPTION_ROWS];
extern zobrel::CustStatic g_optionLabel[OPTION_ROWS];
extern zobrel::CustButton g_toolRadio[TOOL_ROWS];
extern zobrel::CustStatic g_toolLabel[TOOL_ROWS];
extern zobrel::CustStatic g_lblDevice;

extern ToolKind g_currentTool;
extern VolumeClass g_volumeClass;
extern CString g_cmdLine;   // preview shown in the output box
extern CString g_cmdArgs;   // argument text written behind the executable name
extern CString g_rootPath;  // root of the drive letter last tried, as "C:\"
extern char g_fsName[8];    // file-system name of the last queried volume
extern CString g_batchPath;
extern CString g_settingsPath;
extern CString g_positionPath;
extern CString g_editorPath;
extern CString g_builtinToolPath;
extern zobrel::FontHandle g_hFont;

// The drive queries and the pause before a batch file starts; tests replace it.
extern zobrel::ISystem* g_pSystem;
