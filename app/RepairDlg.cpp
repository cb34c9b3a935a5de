#include "RepairDlg.h"

#include <cstdlib>

#include "AppBase.h"
#include "Layout.h"
#include "model/Globals.h"
#include "model/Launch.h"
#include "model/Rules.h"
#include "res/resource.h"
#include "settings/Settings.h"

namespace {

constexpr UINT_PTR STARTUP_TIMER = 409;
constexpr UINT STARTUP_TIMER_MS = 300;
// Notices the end of a run's console: its batch file is let go, "Busy" ends.
constexpr UINT_PTR CONSOLE_TIMER = 410;
constexpr UINT CONSOLE_TIMER_MS = 500;

UINT_PTR g_timerId = 0;

zobrel::CustButton& PushButton(int nId)
{
    switch (nId) {
    case IDC_PROCESS:
        return g_btnProcess;
    case IDC_EXIT:
        return g_btnExit;
    default:
        return g_btnEdit;
    }
}

// A row is one design rectangle: its left square is the button, the rest the label.
void CreateRow(zobrel::CustButton& button, zobrel::CustStatic& label, int nButtonId, int nLabelId,
               const CString& strCaption, const ControlSpec& control, const zobrel::Rect& rcRow, HWND hParent)
{
    button.Create("", control.m_dwStyle, RowButtonRect(rcRow), hParent, nButtonId);
    label.SetColor(nLabelId, control.m_crText, control.m_crBack);
    label.Create(strCaption.c_str(), STYLE_LABEL, RowLabelRect(rcRow), hParent, nLabelId);
    label.SetText(strCaption, control.m_crText, control.m_crBack, g_hFont);
}

}  // namespace

CRepairDlg::CRepairDlg()
    : CDialogBase(IDD_REPAIR_DIALOG, nullptr),
      m_hIcon(LoadIconA(AfxApp() ? AfxApp()->m_hInstance : GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_REPAIR)))
{
}

INT_PTR CRepairDlg::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_PAINT: return OnPaint();
    case WM_QUERYDRAGICON: return OnQueryDragIcon();
    case zobrel::WM_WIDGET_NOTIFY: return OnWidgetNotify(wParam, lParam);
    case WM_TIMER: return OnTimer(wParam);
    case WM_DESTROY: return OnDestroy();
    case WM_SIZE: return OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    default: return CDialogBase::WindowProc(uMsg, wParam, lParam);
    }
}

BOOL CRepairDlg::OnInitDialog()
{
    CDialogBase::OnInitDialog();
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    const char* pszTemp = std::getenv("TEMP");
    g_batchPath = CString(pszTemp ? pszTemp : "") + "\\" + "sfc.bat";

    g_utility.Getcommandlineitems();
    const CString strFolder = g_utility.m_pItems.size() > 2 ? *g_utility.m_pItems[2] : CString();
    g_settingsPath = strFolder + "\\data\\Tarvick\\Tarvick.ini";
    g_positionPath = strFolder + "\\data\\Tarvick\\Tarvick.pos";

    zobrel::Screen screen;
    screen.Init();
    screen.Screensize(m_hWnd, DESIGN_RECT, true);

    int nHeight = 20;
    screen.Fontadjust(&nHeight);
    g_hFont = CreateFontA(nHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, nullptr);

    BeginTables();
    for (const ControlSpec& control : ControlLayout())
        CreateControl(control, screen);
    EndTables();

    // The tool label must exist before the settings give it its text.
    ReadSettings();
    StartSelection();

    zobrel::Screen::Smove(m_hWnd, 1, g_positionPath);
    g_timerId = SetTimer(m_hWnd, STARTUP_TIMER, STARTUP_TIMER_MS, nullptr);
    if (!SetTimer(m_hWnd, CONSOLE_TIMER, CONSOLE_TIMER_MS, nullptr))
        OutputDebugStringA("Tarvick: no console timer: Busy ends at the next hover\n");
    return TRUE;
}

void CRepairDlg::CreateControl(const ControlSpec& control, zobrel::Screen& screen)
{
    zobrel::Rect rc = control.m_rect;
    screen.Screenadjust(rc);
    switch (control.m_nKind) {
    case ControlKind::PushButton: {
        zobrel::CustButton& button = PushButton(control.m_nId);
        button.Create("", control.m_dwStyle, rc, m_hWnd, control.m_nId);
        button.SetText(control.m_strCaption, control.m_crText, control.m_crBack, g_hFont);
        button.Inittrack();
        break;
    }
    case ControlKind::EditBox: {
        zobrel::CustEdit& edit = control.m_nId == IDC_OUTPUT ? g_editOutput : g_editDevice;
        if (control.m_crText == control.m_crBack)
            edit.SetColor(control.m_nId);
        else
            edit.SetColor(control.m_nId, control.m_crText, control.m_crBack, control.m_crText2, control.m_crBack2);
        edit.Create(control.m_dwStyle, rc, m_hWnd, control.m_nId);
        edit.SetText(control.m_strCaption, g_hFont);
        break;
    }
    case ControlKind::OptionRow: {
        const OptionEntry& row = AppendOption(control.m_nId);
        CreateRow(*row.m_pButton, *row.m_pLabel, row.m_nButtonId, row.m_nLabelId, row.m_strLabel, control, rc, m_hWnd);
        break;
    }
    case ControlKind::ToolRow: {
        const ToolEntry& row = AppendTool(control.m_nId);
        CreateRow(*row.m_pButton, g_toolLabel[control.m_nId], row.m_nButtonId, row.m_nLabelId, row.m_strLabel, control, rc,
                  m_hWnd);
        break;
    }
    case ControlKind::Label:
        g_lblDevice.SetColor(control.m_nId, control.m_crText, control.m_crBack);
        g_lblDevice.Create(control.m_strCaption.c_str(), control.m_dwStyle, rc, m_hWnd, control.m_nId);
        g_lblDevice.SetText(control.m_strCaption, control.m_crText, control.m_crBack, g_hFont);
        break;
    }
}

void CRepairDlg::ReadSettings()
{
    LoadSettings();
}

BOOL CRepairDlg::OnPaint()
{
    if (!IsIconic(m_hWnd))
        return FALSE;
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(m_hWnd, &ps);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    const IconOrigin at =
        CentredIcon(rc.right - rc.left, rc.bottom - rc.top, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    DrawIcon(hDC, at.x, at.y, m_hIcon);
    EndPaint(m_hWnd, &ps);
    return TRUE;
}

INT_PTR CRepairDlg::OnQueryDragIcon()
{
    // A dialog procedure returns this message's result directly: the cursor.
    return reinterpret_cast<INT_PTR>(m_hIcon);
}

LRESULT CRepairDlg::OnWidgetNotify(WPARAM, LPARAM)
{
    DispatchWidgetNotify(*this);
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, 0);
    return TRUE;
}

BOOL CRepairDlg::OnTimer(UINT_PTR nIdEvent)
{
    if (nIdEvent == CONSOLE_TIMER) {
        WatchConsole();
        return FALSE;
    }
    if (g_screen.Scwait()) {
        KillTimer(m_hWnd, g_timerId);
        g_btnExit.Snapto();
    }
    return FALSE;
}

BOOL CRepairDlg::OnDestroy()
{
    // A minimised window has no placement worth keeping: the file keeps the last one.
    if (!IsIconic(m_hWnd))
        zobrel::Screen::Smove(m_hWnd, 0, g_positionPath);
    return FALSE;
}

BOOL CRepairDlg::OnSize(UINT nType, int, int)
{
    if (nType == SIZE_RESTORED || nType == SIZE_MAXIMIZED)
        g_screen.Resize_children(m_hWnd);
    if (nType == SIZE_RESTORED)
        g_btnExit.Snapto();
    return FALSE;
}

void CRepairDlg::EndOk()
{
    OnOK();
}

void CRepairDlg::ReloadSettings()
{
    ReadSettings();
}
