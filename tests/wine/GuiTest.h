#pragma once
// Helpers for the GUI tests of the library under Wine: a modeless dialog like
// the program's (navy, sizable, from an in-memory template), a message pump
// that waits for a condition; real input comes from Input.h.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "Input.h"
#include "model/UiConstants.h"

namespace guitest {

constexpr COLORREF NAVY = CLR_NAVY;

struct DialogLog {
    int nNotifies = 0;
    std::vector<HWND> notifiers;  // lParam of every WM_WIDGET_NOTIFY
    std::vector<int> commands;    // WM_COMMAND ids that reached the dialog procedure
    int nSizes = 0;
    void (*pOnSize)(HWND) = nullptr;
    void (*pOnNotify)() = nullptr;  // called on every WM_WIDGET_NOTIFY
    void (*pOnMouse)() = nullptr;   // called on every WM_MOUSEMOVE over the dialog itself
};

inline DialogLog g_log;

inline INT_PTR CALLBACK Dialogproc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static HBRUSH s_hNavy = CreateSolidBrush(NAVY);
    switch (uMsg) {
        case WM_INITDIALOG: return TRUE;
        case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(s_hNavy);
        case 0x0405:  // WM_WIDGET_NOTIFY
            ++g_log.nNotifies;
            g_log.notifiers.push_back(reinterpret_cast<HWND>(lParam));
            if (g_log.pOnNotify)
                g_log.pOnNotify();
            return TRUE;
        case WM_COMMAND: g_log.commands.push_back(LOWORD(wParam)); return TRUE;
        case WM_MOUSEMOVE:
            if (g_log.pOnMouse)
                g_log.pOnMouse();
            return FALSE;
        case WM_SIZE:
            ++g_log.nSizes;
            if (g_log.pOnSize && (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED))
                g_log.pOnSize(hWnd);
            return FALSE;
        default: return FALSE;
    }
}

// A hidden dialog with the program's styles, about 300 x 200 dialog units.
inline HWND Makedialog()
{
    // DLGTEMPLATE, then menu, class, title and (DS_SETFONT) the font, as WORDs.
    alignas(4) static WORD s_template[64] = {};
    DLGTEMPLATE* pTemplate = reinterpret_cast<DLGTEMPLATE*>(s_template);
    pTemplate->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | DS_SETFONT;
    pTemplate->cdit = 0;
    pTemplate->x = 10;
    pTemplate->y = 10;
    pTemplate->cx = 300;
    pTemplate->cy = 200;
    WORD* p = reinterpret_cast<WORD*>(pTemplate + 1);
    *p++ = 0;  // no menu
    *p++ = 0;  // the dialog class
    for (const char* psz = "Test"; *psz; ++psz)
        *p++ = static_cast<WORD>(*psz);
    *p++ = 0;
    *p++ = 8;  // point size
    for (const char* psz = "MS Shell Dlg"; *psz; ++psz)
        *p++ = static_cast<WORD>(*psz);
    *p++ = 0;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), pTemplate, nullptr, Dialogproc, 0);
}

inline void Pump(HWND hDialog)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (hDialog && IsWindow(hDialog) && IsDialogMessageA(hDialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps messages until the condition holds or the time is up.
template <class Condition>
bool Waitfor(HWND hDialog, Condition condition, int nMilliseconds = 2000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMilliseconds);
    for (;;) {
        Pump(hDialog);
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > end)
            return false;
        Sleep(10);
    }
}

inline void Settle(HWND hDialog, int nMilliseconds)
{
    Waitfor(
        hDialog, [] { return false; }, nMilliseconds);
}

// A child's rectangle in its parent's client coordinates.
inline RECT Childrect(HWND hChild)
{
    RECT rc;
    GetWindowRect(hChild, &rc);
    MapWindowPoints(nullptr, GetParent(hChild), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

inline SIZE Clientsize(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return SIZE{rc.right, rc.bottom};
}

// Gives the window the client size asked for, at the given screen position.
inline void Placeclient(HWND hWnd, int x, int y, int cx, int cy)
{
    RECT rcWindow, rcClient;
    GetWindowRect(hWnd, &rcWindow);
    GetClientRect(hWnd, &rcClient);
    SetWindowPos(hWnd, nullptr, x, y, cx + (rcWindow.right - rcWindow.left) - rcClient.right,
                 cy + (rcWindow.bottom - rcWindow.top) - rcClient.bottom, SWP_NOZORDER);
}

}  // namespace guitest
