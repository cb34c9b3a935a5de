// The Win32 half of the widgets. Controls report to their parent, so the
// parent is subclassed (once) and hands its widgets their own messages: the
// owner-drawn buttons' WM_DRAWITEM, the colour requests, clicks and edits.
// Each widget window is subclassed as well, for hover and for its end.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <utility>

#include "CustButton.h"
#include "CustEdit.h"
#include "CustStatic.h"
#include "WidgetPlatform.h"

namespace zobrel::platform {
namespace {

const char PROP_WIDGET[] = "zobrel.widget";
const char PROP_PARENT[] = "zobrel.parent";
constexpr UINT_PTR SUBCLASS_ID = 0x5A42;
// DrawEdge's raised edge: two lines of one pixel at any DPI.
constexpr int BUTTON_EDGE = 2;

// Solid brushes by colour, shared by every widget and kept while any
// subclassed parent lives: the colour requests hand them out on every paint.
std::map<Colorref, HBRUSH> g_brushes;
int g_nParents = 0;

HBRUSH Solidbrush(Colorref cr)
{
    auto it = g_brushes.find(cr);
    if (it != g_brushes.end())
        return it->second;
    HBRUSH hBrush = CreateSolidBrush(cr);
    if (hBrush)
        g_brushes.emplace(cr, hBrush);
    return hBrush;
}

void Freebrushes()
{
    for (auto& entry : g_brushes)
        DeleteObject(entry.second);
    g_brushes.clear();
}

Widget* Lookup(HWND hWnd)
{
    return hWnd ? static_cast<Widget*>(GetPropA(hWnd, PROP_WIDGET)) : nullptr;
}

void Notify(HWND hWnd)
{
    if (HWND hParent = GetParent(hWnd))
        SendMessageA(hParent, WM_WIDGET_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID(hWnd)),
                     reinterpret_cast<LPARAM>(hWnd));
}

// The pointer is on one window at a time: a move seen on the parent or on
// another of its children means every hot button there has been left, even
// while its WM_MOUSELEAVE (polled under Wine, up to a hover period late) is
// still on its way. Returns a button that cooled, or null.
HWND Leaveothers(HWND hParent, HWND hHere)
{
    HWND hCooled = nullptr;
    for (HWND hChild = GetWindow(hParent, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        Widget* pWidget = hChild != hHere ? Lookup(hChild) : nullptr;
        if (pWidget && pWidget->Kind() == WidgetKind::Button && static_cast<CustButton*>(pWidget)->m_bHot) {
            static_cast<CustButton*>(pWidget)->m_bHot = false;
            hCooled = hChild;
        }
    }
    return hCooled;
}

CString Windowtext(HWND hWnd)
{
    const int nLength = GetWindowTextLengthA(hWnd);
    CString strText(static_cast<std::size_t>(nLength) + 1, '\0');
    const int nCopied = GetWindowTextA(hWnd, &strText[0], nLength + 1);
    strText.resize(nCopied > 0 ? static_cast<std::size_t>(nCopied) : 0);
    return strText;
}

void Drawbutton(const CustButton& button, const DRAWITEMSTRUCT& dis)
{
    HDC hDC = dis.hDC;
    RECT rc = dis.rcItem;
    const Colorref crBack = button.m_bColored ? button.m_crBack : GetSysColor(COLOR_BTNFACE);
    Colorref crText = button.m_bColored ? button.m_crText : GetSysColor(COLOR_BTNTEXT);
    if (dis.itemState & ODS_DISABLED)
        crText = GetSysColor(COLOR_GRAYTEXT);
    const bool bPressed = (dis.itemState & ODS_SELECTED) != 0;

    FillRect(hDC, &rc, Solidbrush(crBack));
    DrawEdge(hDC, &rc, bPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    // The text stays inside the edge, also when pressed.
    RECT rcText = rc;
    InflateRect(&rcText, -BUTTON_EDGE, -BUTTON_EDGE);
    if (bPressed)
        OffsetRect(&rcText, 1, 1);
    HFONT hFont = static_cast<HFONT>(button.m_hFont);
    if (!hFont)
        hFont = reinterpret_cast<HFONT>(SendMessageA(dis.hwndItem, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont ? SelectObject(hDC, hFont) : nullptr;
    const int nOldMode = SetBkMode(hDC, TRANSPARENT);
    const COLORREF crOldText = SetTextColor(hDC, crText);
    DrawTextA(hDC, button.m_strCaption.c_str(), static_cast<int>(button.m_strCaption.size()), &rcText,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(hDC, crOldText);
    SetBkMode(hDC, nOldMode);
    if (hOldFont)
        SelectObject(hDC, hOldFont);

    if ((dis.itemState & ODS_FOCUS) && !(dis.itemState & ODS_NOFOCUSRECT)) {
        RECT rcFocus = rc;
        InflateRect(&rcFocus, -4, -4);
        DrawFocusRect(hDC, &rcFocus);
    }
}

// A WM_CTLCOLOR* request for one of our widgets; null lets the dialog answer.
HBRUSH Colorfor(const Widget& widget, UINT uMsg, HDC hDC)
{
    if (!widget.m_bColored)
        return nullptr;
    Colorref crText = widget.m_crText;
    Colorref crBack = widget.m_crBack;
    // Read-only and disabled edit boxes ask with WM_CTLCOLORSTATIC.
    if (widget.Kind() == WidgetKind::Edit && uMsg == WM_CTLCOLORSTATIC) {
        const CustEdit& edit = static_cast<const CustEdit&>(widget);
        crText = edit.m_crText2;
        crBack = edit.m_crBack2;
    }
    SetTextColor(hDC, crText);
    SetBkColor(hDC, crBack);
    SetBkMode(hDC, OPAQUE);
    return Solidbrush(crBack);
}

LRESULT CALLBACK Parentproc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (uMsg) {
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* pDis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            Widget* pWidget = pDis && pDis->CtlType == ODT_BUTTON ? Lookup(pDis->hwndItem) : nullptr;
            if (pWidget && pWidget->Kind() == WidgetKind::Button) {
                Drawbutton(static_cast<const CustButton&>(*pWidget), *pDis);
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            if (Widget* pWidget = Lookup(reinterpret_cast<HWND>(lParam))) {
                if (HBRUSH hBrush = Colorfor(*pWidget, uMsg, reinterpret_cast<HDC>(wParam)))
                    return reinterpret_cast<LRESULT>(hBrush);
            }
            break;
        case WM_COMMAND: {
            HWND hControl = reinterpret_cast<HWND>(lParam);
            Widget* pWidget = Lookup(hControl);
            if (!pWidget)
                break;
            const WORD wCode = HIWORD(wParam);
            if (pWidget->Kind() == WidgetKind::Button && wCode == BN_CLICKED) {
                static_cast<CustButton*>(pWidget)->m_bClicked = true;
                Notify(hControl);
                return 0;
            }
            if (pWidget->Kind() == WidgetKind::Edit && wCode == EN_CHANGE) {
                // SetText has stored its text before the window reports it,
                // so only a change the user made differs here.
                CustEdit& edit = static_cast<CustEdit&>(*pWidget);
                CString strText = Windowtext(hControl);
                if (strText != edit.m_strText) {
                    edit.m_strText = std::move(strText);
                    Notify(hControl);
                }
                return 0;
            }
            break;
        }
        case WM_MOUSEMOVE:
            if (HWND hCooled = Leaveothers(hWnd, nullptr))
                Notify(hCooled);
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hWnd, Parentproc, SUBCLASS_ID);
            RemovePropA(hWnd, PROP_PARENT);
            if (--g_nParents == 0)
                Freebrushes();
            break;
        default: break;
    }
    return DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK Widgetproc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR dwRef)
{
    Widget& widget = *reinterpret_cast<Widget*>(dwRef);
    switch (uMsg) {
        case WM_MOUSEMOVE: {
            // While a button holds the capture (pressed), moves arrive from
            // outside it as well: only a point inside counts as being on it.
            RECT rc;
            GetClientRect(hWnd, &rc);
            const POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const bool bInside = PtInRect(&rc, pt) != FALSE;
            HWND hChanged = bInside ? Leaveothers(GetParent(hWnd), hWnd) : nullptr;
            if (widget.Kind() == WidgetKind::Button && static_cast<CustButton&>(widget).m_bTracked) {
                CustButton& button = static_cast<CustButton&>(widget);
                if (bInside && !button.m_bHot) {
                    TRACKMOUSEEVENT tme = {};
                    tme.cbSize = sizeof tme;
                    tme.dwFlags = TME_LEAVE;
                    tme.hwndTrack = hWnd;
                    TrackMouseEvent(&tme);
                }
                if (button.m_bHot != bInside) {
                    button.m_bHot = bInside;
                    hChanged = hWnd;
                }
            }
            if (hChanged)
                Notify(hChanged);
            break;
        }
        case WM_SETFOCUS:
            // Only focus moved here from a sibling (Tab, or a click) counts:
            // the dialog's first focus and its return on activation come
            // from no window of this dialog and are no user's choice.
            if (widget.Kind() == WidgetKind::Button && static_cast<CustButton&>(widget).m_bTracked && wParam &&
                GetParent(reinterpret_cast<HWND>(wParam)) == GetParent(hWnd)) {
                // The default handling first, so the button draws its focus
                // before the parent reacts.
                const LRESULT nResult = DefSubclassProc(hWnd, uMsg, wParam, lParam);
                static_cast<CustButton&>(widget).m_bFocus = true;
                Notify(hWnd);
                return nResult;
            }
            break;
        case WM_MOUSELEAVE:
            if (widget.Kind() == WidgetKind::Button && static_cast<CustButton&>(widget).m_bHot) {
                static_cast<CustButton&>(widget).m_bHot = false;
                Notify(hWnd);
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hWnd, Widgetproc, SUBCLASS_ID);
            RemovePropA(hWnd, PROP_WIDGET);
            if (widget.m_hWnd == hWnd)
                widget.m_hWnd = nullptr;
            if (widget.Kind() == WidgetKind::Button)
                static_cast<CustButton&>(widget).m_bHot = false;
            break;
        default: break;
    }
    return DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

bool Subclassparent(HWND hParent)
{
    if (GetPropA(hParent, PROP_PARENT))
        return true;
    if (!SetWindowSubclass(hParent, Parentproc, SUBCLASS_ID, 0))
        return false;
    SetPropA(hParent, PROP_PARENT, reinterpret_cast<HANDLE>(1));
    ++g_nParents;
    return true;
}

const char* Classof(WidgetKind kind)
{
    switch (kind) {
        case WidgetKind::Button: return "BUTTON";
        case WidgetKind::Edit: return "EDIT";
        default: return "STATIC";
    }
}

}  // namespace

WindowHandle CreateWidget(Widget& widget, const char* pszCaption)
{
    HWND hParent = static_cast<HWND>(widget.m_hParent);
    if (!IsWindow(hParent) || !Subclassparent(hParent))
        return nullptr;
    const Rect& rc = widget.m_rcCreate;
    HINSTANCE hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hParent, GWLP_HINSTANCE));
    HWND hWnd = CreateWindowExA(0, Classof(widget.Kind()), pszCaption, widget.m_dwStyle, rc.left, rc.top,
                                rc.right - rc.left, rc.bottom - rc.top, hParent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(widget.m_nId)), hInstance, nullptr);
    if (!hWnd)
        return nullptr;
    SetPropA(hWnd, PROP_WIDGET, &widget);
    SetWindowSubclass(hWnd, Widgetproc, SUBCLASS_ID, reinterpret_cast<DWORD_PTR>(&widget));
    if (widget.Kind() == WidgetKind::Edit)
        static_cast<CustEdit&>(widget).m_strText = Windowtext(hWnd);
    return hWnd;
}

void ShowWidget(Widget& widget, bool bShow)
{
    ShowWindow(static_cast<HWND>(widget.m_hWnd), bShow ? SW_SHOW : SW_HIDE);
}

void MarkWidget(Widget& widget, bool bMark)
{
    SendMessageA(static_cast<HWND>(widget.m_hWnd), BM_SETCHECK, bMark ? BST_CHECKED : BST_UNCHECKED, 0);
}

void RefreshWidget(Widget& widget)
{
    HWND hWnd = static_cast<HWND>(widget.m_hWnd);
    // No font given keeps the one the window has.
    if (widget.m_hFont)
        SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(widget.m_hFont), FALSE);
    SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widget.m_strCaption.c_str()));
    InvalidateRect(hWnd, nullptr, TRUE);
}

void FontWidget(Widget& widget)
{
    SendMessageA(static_cast<HWND>(widget.m_hWnd), WM_SETFONT, reinterpret_cast<WPARAM>(widget.m_hFont), TRUE);
}

Rect TextroomOf(Widget& widget, FontHandle hFont)
{
    HWND hWnd = static_cast<HWND>(widget.m_hWnd);
    RECT rc = {};
    GetClientRect(hWnd, &rc);
    const LONG nStyle = GetWindowLongA(hWnd, GWL_STYLE);
    if (widget.Kind() == WidgetKind::Button && (nStyle & BS_TYPEMASK) == BS_OWNERDRAW) {
        // Drawbutton's face, less the pixel a pressed button moves its text by.
        InflateRect(&rc, -BUTTON_EDGE, -BUTTON_EDGE);
        rc.right -= 1;
        rc.bottom -= 1;
    } else if (widget.Kind() == WidgetKind::Edit) {
        // An edit box sets its margins from its font: it is lent hFont to
        // tell its formatting rectangle, then gets its own back.
        const WPARAM hOwn = static_cast<WPARAM>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
        SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        RECT rcFormat = {};
        SendMessageA(hWnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rcFormat));
        SendMessageA(hWnd, WM_SETFONT, hOwn, FALSE);
        rc.left = rcFormat.left;
        rc.right = rcFormat.right;
    }
    return {0, 0, rc.right > rc.left ? rc.right - rc.left : 0, rc.bottom > rc.top ? rc.bottom - rc.top : 0};
}

void PointAtWidget(Widget& widget)
{
    HWND hWnd = static_cast<HWND>(widget.m_hWnd);
    RECT rc;
    if (!GetClientRect(hWnd, &rc))
        return;
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(hWnd, &pt);
    SetCursorPos(pt.x, pt.y);
}

}  // namespace zobrel::platform
