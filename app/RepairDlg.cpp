#include "RepairDlg.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

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

void Trace(const char* pszWhat, int nId)
{
    char szLine[96];
    std::snprintf(szLine, sizeof szLine, "Tarvick: %s %d\n", pszWhat, nId);
    OutputDebugStringA(szLine);
}

zobrel::CustButton& PushButton(int nId)
{
    switch (nId) {
        case IDC_PROCESS: return g_btnProcess;
        case IDC_EXIT: return g_btnExit;
        default: return g_btnEdit;
    }
}

// A row is one design rectangle: its left square is the button, the rest the label.
void CreateRow(zobrel::CustButton& button, zobrel::CustStatic& label, const CString& strCaption,
               const ControlSpec& control, const std::vector<PlacedControl>& placed, HWND hParent)
{
    const PlacedControl& box = placed.at(0);
    const PlacedControl& text = placed.at(1);
    if (!button.Create("", control.m_dwStyle, box.m_rect, hParent, box.m_nId))
        Trace("could not create control", box.m_nId);
    label.SetColor(text.m_nId, control.m_crText, control.m_crBack);
    if (!label.Create(strCaption.c_str(), STYLE_LABEL, text.m_rect, hParent, text.m_nId))
        Trace("could not create control", text.m_nId);
    label.SetText(strCaption, control.m_crText, control.m_crBack, g_hFont);
}

std::vector<zobrel::Widget*> Widgets()
{
    std::vector<zobrel::Widget*> widgets = {&g_btnProcess, &g_btnExit,    &g_btnEdit,
                                            &g_editOutput, &g_editDevice, &g_lblDevice};
    for (int i = 0; i < OPTION_ROWS; ++i) {
        widgets.push_back(&g_optionBox[i]);
        widgets.push_back(&g_optionLabel[i]);
    }
    for (int i = 0; i < TOOL_ROWS; ++i) {
        widgets.push_back(&g_toolRadio[i]);
        widgets.push_back(&g_toolLabel[i]);
    }
    return widgets;
}

// A widget and every text it may show on one line.
struct Shown {
    zobrel::Widget* pWidget;
    std::vector<CString> texts;
};

std::vector<Shown> TextsShown()
{
    std::vector<CString> letters;
    for (char c = 'A'; c <= 'Z'; ++c) {
        letters.emplace_back(1, c);
        letters.emplace_back(1, static_cast<char>(c - 'A' + 'a'));
    }
    std::vector<Shown> shown;
    for (const ControlSpec& control : ControlLayout()) {
        switch (control.m_nKind) {
            case ControlKind::PushButton: {
                std::vector<CString> texts = control.m_alternates;
                texts.push_back(control.m_strCaption);
                shown.push_back({&PushButton(control.m_nId), texts});
                break;
            }
            case ControlKind::EditBox:
                // The output box wraps and scrolls; the Device box holds a drive letter.
                if (control.m_nId == IDC_DEVICE)
                    shown.push_back({&g_editDevice, letters});
                break;
            case ControlKind::OptionRow:
                shown.push_back({&g_optionLabel[control.m_nId], {g_optionLabel[control.m_nId].m_strCaption}});
                break;
            case ControlKind::ToolRow:
                shown.push_back({&g_toolLabel[control.m_nId], {g_toolLabel[control.m_nId].m_strCaption}});
                break;
            case ControlKind::Label: shown.push_back({&g_lblDevice, {g_lblDevice.m_strCaption}}); break;
        }
    }
    return shown;
}

HFONT Makefont(int nHeight)
{
    HFONT hFont = CreateFontA(nHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, FONT_FACE);
    if (!hFont)
        Trace("could not create the font of height", nHeight);
    return hFont;
}

// How the texts fit with hFont: measured with the font itself, each against
// the room its own window gives it.
zobrel::Textfit Measure(HDC hDC, HFONT hFont, std::vector<Shown>& shown)
{
    zobrel::Textfit fit;
    const HGDIOBJ hOld = SelectObject(hDC, hFont);
    for (Shown& one : shown) {
        // A control that could not be created shows nothing to fit.
        if (!one.pWidget->m_hWnd)
            continue;
        const zobrel::Rect rcRoom = one.pWidget->Textroom(hFont);
        for (const CString& strText : one.texts) {
            SIZE size = {};
            if (strText.empty() ||
                !GetTextExtentPoint32A(hDC, strText.c_str(), static_cast<int>(strText.size()), &size))
                continue;
            fit.Add(size.cx, rcRoom.right);
            fit.Add(size.cy, rcRoom.bottom);
        }
    }
    SelectObject(hDC, hOld);
    return fit;
}

// The dialog manager of Windows 10 1703 and later re-lays a per-monitor aware
// dialog on a DPI change and gives its controls fonts of its own; this dialog
// does both itself. Older Windows versions and Wine lack these calls, and do
// no such re-layout either.
void KeepDpiScalingOwn(HWND hDlg)
{
    using Dialogfn = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    using Controlfn = BOOL(WINAPI*)(HWND, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS);
    HMODULE hUser = GetModuleHandleA("user32.dll");
    if (!hUser)
        return;
    const auto pfnDialog =
        reinterpret_cast<Dialogfn>(reinterpret_cast<void*>(GetProcAddress(hUser, "SetDialogDpiChangeBehavior")));
    const auto pfnControl = reinterpret_cast<Controlfn>(
        reinterpret_cast<void*>(GetProcAddress(hUser, "SetDialogControlDpiChangeBehavior")));
    if (pfnDialog && !pfnDialog(hDlg, DDC_DISABLE_ALL, DDC_DISABLE_ALL))
        OutputDebugStringA("Tarvick: the dialog manager keeps re-laying the dialog on a DPI change\n");
    if (!pfnControl)
        return;
    const auto own = static_cast<DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS>(DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT);
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (!pfnControl(hChild, own, own))
            Trace("the dialog manager keeps its DPI re-layout of control", GetDlgCtrlID(hChild));
    }
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
        case WM_DPICHANGED: return OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
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

    // Each row's controls are made from its record; the font is fitted to
    // the controls once they exist, and their texts.
    FillTables();
    for (const ControlSpec& control : ControlLayout())
        CreateControl(control);
    KeepDpiScalingOwn(m_hWnd);
    m_bCreated = true;

    // The tool label must exist before the settings give it its text.
    ReadSettings();
    StartSelection();
    Fitfont(true);

    zobrel::Screen::Smove(m_hWnd, 1, g_positionPath);
    g_timerId = SetTimer(m_hWnd, STARTUP_TIMER, STARTUP_TIMER_MS, nullptr);
    if (!SetTimer(m_hWnd, CONSOLE_TIMER, CONSOLE_TIMER_MS, nullptr))
        OutputDebugStringA("Tarvick: no console timer: Busy ends at the next hover\n");
    return TRUE;
}

void CRepairDlg::CreateControl(const ControlSpec& control)
{
    const std::vector<PlacedControl> placed = Place(control, zobrel::Screen::Scaling());
    const zobrel::Rect& rc = placed.at(0).m_rect;
    bool bCreated = true;
    switch (control.m_nKind) {
        case ControlKind::PushButton: {
            zobrel::CustButton& button = PushButton(control.m_nId);
            bCreated = button.Create("", control.m_dwStyle, rc, m_hWnd, control.m_nId);
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
            bCreated = edit.Create(control.m_dwStyle, rc, m_hWnd, control.m_nId);
            edit.SetText(control.m_strCaption, g_hFont);
            break;
        }
        case ControlKind::OptionRow: {
            const OptionEntry& row = OptionTable.at(control.m_nId);
            CreateRow(*row.m_pButton, *row.m_pLabel, row.m_strLabel, control, placed, m_hWnd);
            break;
        }
        case ControlKind::ToolRow: {
            const ToolEntry& row = ToolTable.at(control.m_nId);
            CreateRow(*row.m_pButton, g_toolLabel[control.m_nId], row.m_strLabel, control, placed, m_hWnd);
            break;
        }
        case ControlKind::Label:
            g_lblDevice.SetColor(control.m_nId, control.m_crText, control.m_crBack);
            bCreated = g_lblDevice.Create(control.m_strCaption.c_str(), control.m_dwStyle, rc, m_hWnd, control.m_nId);
            g_lblDevice.SetText(control.m_strCaption, control.m_crText, control.m_crBack, g_hFont);
            break;
    }
    if (!bCreated)
        Trace("could not create control", control.m_nId);
}

void CRepairDlg::Relayout()
{
    const zobrel::Scale& scale = zobrel::Screen::Scaling();
    for (const ControlSpec& control : ControlLayout()) {
        for (const PlacedControl& window : Place(control, scale)) {
            const zobrel::Rect& rc = window.m_rect;
            SetWindowPos(GetDlgItem(m_hWnd, window.m_nId), nullptr, rc.left, rc.top, rc.right - rc.left,
                         rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CRepairDlg::Fitfont(bool bRenew)
{
    if (!m_bCreated)
        return;
    int nStart = FONT_HEIGHT;
    g_screen.Fontadjust(&nStart);
    std::vector<Shown> shown = TextsShown();
    std::map<int, HFONT> fonts;
    HDC hDC = CreateCompatibleDC(nullptr);
    const int nHeight = zobrel::Fitheight(nStart, FONT_MIN_HEIGHT, [&](int nTry) {
        HFONT hFont = Makefont(nTry);
        if (!hFont || !hDC)
            return zobrel::Textfit();  // nothing to measure with: any height will do
        fonts[nTry] = hFont;
        return Measure(hDC, hFont, shown);
    });
    if (hDC)
        DeleteDC(hDC);

    HFONT hNew = nullptr;
    if (bRenew || nHeight != m_nFontHeight || !g_hFont)
        hNew = fonts.count(nHeight) ? fonts[nHeight] : Makefont(nHeight);
    for (const auto& [nTry, hFont] : fonts) {
        if (hFont != hNew)
            DeleteObject(hFont);
    }
    if (!hNew)
        return;
    // The controls let go of the old font before it is deleted.
    HFONT hOld = static_cast<HFONT>(g_hFont);
    g_hFont = hNew;
    m_nFontHeight = nHeight;
    for (zobrel::Widget* pWidget : Widgets())
        pWidget->SetFont(hNew);
    if (hOld)
        DeleteObject(hOld);
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
    if (nType == SIZE_MINIMIZED) {
        m_bMinimised = true;
        return FALSE;
    }
    if (nType != SIZE_RESTORED && nType != SIZE_MAXIMIZED)
        return FALSE;
    g_screen.Resize_children(m_hWnd);
    Fitfont(false);
    // Back from the taskbar the pointer waits on "Exit"; while an edge is
    // dragged it stays with the user's hand.
    if (m_bMinimised)
        g_btnExit.Snapto();
    m_bMinimised = false;
    return FALSE;
}

BOOL CRepairDlg::OnDpiChanged(UINT, const RECT* pSuggested)
{
    // The suggested rectangle keeps the window's place on the new monitor;
    // its WM_SIZE sets the scale for the new client area.
    if (pSuggested)
        SetWindowPos(m_hWnd, nullptr, pSuggested->left, pSuggested->top, pSuggested->right - pSuggested->left,
                     pSuggested->bottom - pSuggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    Relayout();
    Fitfont(true);
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, 0);
    return TRUE;
}

void CRepairDlg::EndOk()
{
    OnOK();
}

void CRepairDlg::ReloadSettings()
{
    ReadSettings();
}
