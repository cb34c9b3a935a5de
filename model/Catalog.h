#pragma once
// The catalogue of tools and switches: one record per switch the user can
// tick and one per tool the user can choose, each tied to its two controls.
#include <cstdint>
#include <vector>

#include "lib/CustButton.h"
#include "lib/CustStatic.h"

using ToolKind = std::int32_t;
constexpr ToolKind TOOL_CHKDSK = 0;
constexpr ToolKind TOOL_DISM = 1;
constexpr ToolKind TOOL_SFC = 2;
constexpr ToolKind TOOL_EXTERNAL = 3;

using VolumeClass = std::int32_t;
constexpr VolumeClass VC_NONE = 0;
constexpr VolumeClass VC_NTFS = 1;
constexpr VolumeClass VC_OTHER = 2;

// The help switch is recognised by its row, not by its text.
constexpr int HELP_ROW = 8;

constexpr int OPTION_ROWS = 15;
constexpr int TOOL_ROWS = 4;

struct OptionEntry {
    zobrel::CustButton* m_pButton = nullptr;
    zobrel::CustStatic* m_pLabel = nullptr;
    CString m_strLabel;
    std::int32_t m_nButtonId = 0;
    std::int32_t m_nLabelId = 0;
    bool m_bChecked = false;
    bool m_bApplicable = false;
    CString m_strSwitch;
    ToolKind m_nTool = TOOL_CHKDSK;
    VolumeClass m_nFsReq = VC_NONE;
};

struct ToolEntry {
    zobrel::CustButton* m_pButton = nullptr;
    zobrel::CustStatic* m_pLabel = nullptr;  // null: the tool labels are addressed directly
    CString m_strLabel;
    std::int32_t m_nButtonId = 0;
    std::int32_t m_nLabelId = 0;
    bool m_bChecked = false;
    bool m_bApplicable = false;
    CString m_strExe;
    CString m_strArgs;
};

extern std::vector<OptionEntry> OptionTable;
extern std::vector<ToolEntry> ToolTable;
extern std::int32_t g_optionCount;
extern std::int32_t g_toolCount;

// Fills both tables afresh, the one way for the program and its tests: the
// tables are emptied (their storage released), every catalogue row is
// appended in table order, tied to its own program-wide widgets with both
// flags false, and the counts are set to the tables' sizes. The window then
// creates each row's controls from its record.
void FillTables();
