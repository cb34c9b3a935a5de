// The Win32 half of Screen: sizing for the monitor, re-laying children,
// waiting for the first paint, and the position file.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "Placement.h"
#include "Screen.h"

namespace zobrel {
namespace {

// A child's design rectangle in fine units, two edges per property. A third
// property marks it as recorded, since a packed value may well be zero. A
// subclass of the child removes the three when the child is destroyed.
const char PROP_DESIGN[] = "zobrel.design";
const char PROP_DESIGN_X[] = "zobrel.design.x";
const char PROP_DESIGN_Y[] = "zobrel.design.y";
constexpr UINT_PTR DESIGN_SUBCLASS_ID = 0x5A43;
static_assert(sizeof(HANDLE) >= 8, "two edges are packed into one property");

HWND g_hSized = nullptr;  // the window Scwait waits for
bool g_bSized = false;    // a design rectangle is known

HANDLE Pack(std::int32_t a, std::int32_t b)
{
    const std::uint64_t n = (std::uint64_t{static_cast<std::uint32_t>(a)} << 32) | static_cast<std::uint32_t>(b);
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(n));
}

void Unpack(HANDLE h, std::int32_t& a, std::int32_t& b)
{
    const std::uint64_t n = reinterpret_cast<std::uintptr_t>(h);
    a = static_cast<std::int32_t>(static_cast<std::uint32_t>(n >> 32));
    b = static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
}

LRESULT CALLBACK Designproc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (uMsg == WM_NCDESTROY) {
        RemoveWindowSubclass(hWnd, Designproc, DESIGN_SUBCLASS_ID);
        RemovePropA(hWnd, PROP_DESIGN);
        RemovePropA(hWnd, PROP_DESIGN_X);
        RemovePropA(hWnd, PROP_DESIGN_Y);
    }
    return DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

// The child's rectangle in design units: recorded the first time it is seen,
// from its pixels through the scale it was laid out with, so repeated resizes
// do not accumulate rounding.
Rect Designof(HWND hChild, HWND hParent, const Scale& scale)
{
    Rect rcFine;
    if (GetPropA(hChild, PROP_DESIGN)) {
        Unpack(GetPropA(hChild, PROP_DESIGN_X), rcFine.left, rcFine.right);
        Unpack(GetPropA(hChild, PROP_DESIGN_Y), rcFine.top, rcFine.bottom);
        return rcFine;
    }
    RECT rc;
    GetWindowRect(hChild, &rc);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    rcFine = scale.Unmapfine({rc.left, rc.top, rc.right, rc.bottom});
    // Without the subclass nothing would remove them: then nothing is kept,
    // and the child is read back from its pixels again next time.
    if (SetWindowSubclass(hChild, Designproc, DESIGN_SUBCLASS_ID, 0)) {
        SetPropA(hChild, PROP_DESIGN_X, Pack(rcFine.left, rcFine.right));
        SetPropA(hChild, PROP_DESIGN_Y, Pack(rcFine.top, rcFine.bottom));
        SetPropA(hChild, PROP_DESIGN, reinterpret_cast<HANDLE>(1));
    }
    return rcFine;
}

bool Pendingpaint(HWND hWnd)
{
    return GetUpdateRect(hWnd, nullptr, FALSE) != FALSE;
}

BOOL CALLBACK Childpending(HWND hChild, LPARAM lParam)
{
    if (IsWindowVisible(hChild) && Pendingpaint(hChild)) {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

// The placement file may be on a folder that does not exist yet.
void Makefolders(const CString& strPath)
{
    for (std::size_t i = 0; i < strPath.size(); ++i) {
        if ((strPath[i] == '\\' || strPath[i] == '/') && i > 0 && strPath[i - 1] != ':' && strPath[i - 1] != '\\' &&
            strPath[i - 1] != '/')
            CreateDirectoryA(strPath.substr(0, i).c_str(), nullptr);
    }
}

// A failed step of saving the position file: nothing is shown, the save
// gives up, and a debugger sees why.
void Tracefailure(const char* pszCall, const CString& strPath)
{
    const DWORD nError = GetLastError();
    const CString strLine = "zobrel: position file not saved: " + CString(pszCall) + " failed with error " +
                            std::to_string(nError) + " for " + strPath + "\n";
    OutputDebugStringA(strLine.c_str());
}

void Saveplacement(HWND hWnd, const CString& strPath)
{
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(hWnd, &wp))
        return;
    Placement placement;
    placement.m_rcNormal = {wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                            wp.rcNormalPosition.bottom};
    placement.m_bMaximized =
        wp.showCmd == SW_SHOWMAXIMIZED || (wp.showCmd == SW_SHOWMINIMIZED && (wp.flags & WPF_RESTORETOMAXIMIZED));
    const CString strText = Formatplacement(placement);

    // Written whole beside the old file, then renamed over it: a crash while
    // saving leaves either the old file or the new one, never half of one.
    // The program runs elevated, so whatever sits at the temporary name is
    // removed first (removing a hard or symbolic link removes the link, not
    // its target) and the file is created only where nothing is, without
    // following a link: the save can never write through to another file.
    // On any failure the old file stays.
    Makefolders(strPath);
    const CString strNew = strPath + ".new";
    if (!DeleteFileA(strNew.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        Tracefailure("DeleteFileA", strNew);
    HANDLE hFile = CreateFileA(strNew.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        Tracefailure("CreateFileA", strNew);
        return;
    }
    DWORD nWritten = 0;
    const bool bWritten = WriteFile(hFile, strText.data(), static_cast<DWORD>(strText.size()), &nWritten, nullptr) &&
                          nWritten == strText.size() && FlushFileBuffers(hFile);
    if (!bWritten)
        Tracefailure("WriteFile", strNew);
    CloseHandle(hFile);
    if (!bWritten) {
        DeleteFileA(strNew.c_str());
    } else if (!MoveFileExA(strNew.c_str(), strPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Tracefailure("MoveFileExA", strPath);
        DeleteFileA(strNew.c_str());
    }
}

bool Readplacement(const CString& strPath, Placement& placement)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER nSize = {};
    char buffer[PLACEMENT_MAX_BYTES];
    DWORD nRead = 0;
    const bool bRead =
        GetFileSizeEx(hFile, &nSize) && nSize.QuadPart > 0 && nSize.QuadPart <= static_cast<LONGLONG>(sizeof buffer) &&
        ReadFile(hFile, buffer, static_cast<DWORD>(nSize.QuadPart), &nRead, nullptr) && nRead == nSize.QuadPart;
    CloseHandle(hFile);
    return bRead && Parseplacement(buffer, nRead, placement);
}

// Workspace coordinates (what window placements use) are screen coordinates
// shifted by the primary monitor's taskbar when it sits at the top or left.
RECT Workspacetoscreen(const Rect& rc)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    const LONG dx = mi.rcWork.left - mi.rcMonitor.left;
    const LONG dy = mi.rcWork.top - mi.rcMonitor.top;
    return RECT{rc.left + dx, rc.top + dy, rc.right + dx, rc.bottom + dy};
}

// The caption must be reachable with the mouse: a strip along the window's
// top has to lie on a monitor's work area, wide and tall enough to grab.
bool Reachable(const RECT& rcScreen)
{
    constexpr LONG CAPTION_STRIP = 24;
    constexpr LONG MIN_GRAB_W = 64;
    constexpr LONG MIN_GRAB_H = 8;
    HMONITOR hMonitor = MonitorFromRect(&rcScreen, MONITOR_DEFAULTTONULL);
    if (!hMonitor)
        return false;
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(hMonitor, &mi))
        return false;
    if (rcScreen.right - rcScreen.left > 2 * GetSystemMetrics(SM_CXVIRTUALSCREEN) ||
        rcScreen.bottom - rcScreen.top > 2 * GetSystemMetrics(SM_CYVIRTUALSCREEN))
        return false;
    const RECT rcStrip = {rcScreen.left, rcScreen.top, rcScreen.right, rcScreen.top + CAPTION_STRIP};
    RECT rcGrab;
    if (!IntersectRect(&rcGrab, &rcStrip, &mi.rcWork))
        return false;
    return rcGrab.right - rcGrab.left >= MIN_GRAB_W && rcGrab.bottom - rcGrab.top >= MIN_GRAB_H;
}

void Restoreplacement(HWND hWnd, const CString& strPath)
{
    Placement placement;
    if (!Readplacement(strPath, placement) || !Reachable(Workspacetoscreen(placement.m_rcNormal)))
        return;
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(hWnd, &wp))
        return;
    const Rect& rc = placement.m_rcNormal;
    wp.rcNormalPosition = RECT{rc.left, rc.top, rc.right, rc.bottom};
    wp.flags = 0;
    // A minimised state is never brought back; a hidden window (a dialog
    // inside WM_INITDIALOG) stays hidden unless it comes back maximised.
    if (placement.m_bMaximized)
        wp.showCmd = SW_SHOWMAXIMIZED;
    else
        wp.showCmd = IsWindowVisible(hWnd) ? SW_SHOWNORMAL : SW_HIDE;
    SetWindowPlacement(hWnd, &wp);
}

}  // namespace

void Screen::Init()
{
    // The scale and the sized window are library-wide; nothing is per object.
}

void Screen::Screensize(WindowHandle hWindow, Rect rcDesign, bool bCenter)
{
    HWND hWnd = static_cast<HWND>(hWindow);
    if (!IsWindow(hWnd) || rcDesign.right <= rcDesign.left || rcDesign.bottom <= rcDesign.top)
        return;
    Scale& scale = Scaling();
    // Set before the window changes size: its WM_SIZE may already call
    // Resize_children, which needs the design to scale from.
    scale.m_rcDesign = rcDesign;
    g_bSized = true;
    g_hSized = hWnd;

    RECT rcWindow, rcClient;
    GetWindowRect(hWnd, &rcWindow);
    GetClientRect(hWnd, &rcClient);
    const int nFrameW = (rcWindow.right - rcWindow.left) - rcClient.right;
    const int nFrameH = (rcWindow.bottom - rcWindow.top) - rcClient.bottom;

    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& rcWork = mi.rcWork;

    int nClientW = 0;
    int nClientH = 0;
    std::int32_t nPermille = 0;
    char szForced[16] = {};
    const DWORD nForced = GetEnvironmentVariableA("ZOBREL_SCALE", szForced, sizeof szForced);
    if (nForced > 0 && nForced < sizeof szForced && Parsescale(szForced, nPermille)) {
        nClientW = static_cast<int>((std::int64_t{rcDesign.right - rcDesign.left} * nPermille + 500) / 1000);
        nClientH = static_cast<int>((std::int64_t{rcDesign.bottom - rcDesign.top} * nPermille + 500) / 1000);
    } else {
        Fitclient(rcDesign, rcWork.right - rcWork.left, rcWork.bottom - rcWork.top, nFrameW, nFrameH, nClientW,
                  nClientH);
    }
    const int nWindowW = nClientW + nFrameW;
    const int nWindowH = nClientH + nFrameH;
    UINT uFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0;
    int y = 0;
    if (bCenter) {
        x = rcWork.left + (rcWork.right - rcWork.left - nWindowW) / 2;
        y = rcWork.top + (rcWork.bottom - rcWork.top - nWindowH) / 2;
    } else {
        uFlags |= SWP_NOMOVE;
    }
    SetWindowPos(hWnd, nullptr, x, y, nWindowW, nWindowH, uFlags);

    // The scale follows the client area the window really got.
    GetClientRect(hWnd, &rcClient);
    scale.m_nClientW = rcClient.right > 0 ? rcClient.right : nClientW;
    scale.m_nClientH = rcClient.bottom > 0 ? rcClient.bottom : nClientH;
}

void Screen::Resize_children(WindowHandle hWindow)
{
    HWND hWnd = static_cast<HWND>(hWindow);
    RECT rcClient;
    if (!g_bSized || !IsWindow(hWnd) || !GetClientRect(hWnd, &rcClient) || rcClient.right <= 0 || rcClient.bottom <= 0)
        return;
    Scale& scale = Scaling();
    std::vector<HWND> children;
    std::vector<Rect> designs;
    // Every child is read back with the scale it was laid out with before
    // the scale moves to the new client size.
    for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        children.push_back(hChild);
        designs.push_back(Designof(hChild, hWnd, scale));
    }
    scale.m_nClientW = rcClient.right;
    scale.m_nClientH = rcClient.bottom;
    if (children.empty())
        return;

    HDWP hDefer = BeginDeferWindowPos(static_cast<int>(children.size()));
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Rect rc = scale.Mapfine(designs[i]);
        const UINT uFlags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (hDefer)
            hDefer = DeferWindowPos(hDefer, children[i], nullptr, rc.left, rc.top, rc.right - rc.left,
                                    rc.bottom - rc.top, uFlags);
        else
            SetWindowPos(children[i], nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, uFlags);
    }
    if (hDefer)
        EndDeferWindowPos(hDefer);
    // The background between the children moved as well.
    InvalidateRect(hWnd, nullptr, TRUE);
}

bool Screen::Scwait()
{
    if (!g_hSized || !IsWindow(g_hSized))
        return true;
    // Minimised, nothing is painted yet: wait until the window is restored.
    if (!IsWindowVisible(g_hSized) || IsIconic(g_hSized) || Pendingpaint(g_hSized))
        return false;
    bool bPending = false;
    EnumChildWindows(g_hSized, Childpending, reinterpret_cast<LPARAM>(&bPending));
    return !bPending;
}

void Screen::Smove(WindowHandle hWindow, int nMode, CString strPath)
{
    HWND hWnd = static_cast<HWND>(hWindow);
    if (!IsWindow(hWnd) || strPath.empty())
        return;
    if (nMode == 0) {
        Saveplacement(hWnd, strPath);
        // The file read back must hold the placement just saved.
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof wp;
        Placement saved;
        const RECT& rc = wp.rcNormalPosition;
        if (GetWindowPlacement(hWnd, &wp) &&
            !(Readplacement(strPath, saved) && saved.m_rcNormal == Rect{rc.left, rc.top, rc.right, rc.bottom}))
            OutputDebugStringA(("zobrel: the window placement could not be saved to " + strPath + "\n").c_str());
    } else if (nMode == 1) {
        Restoreplacement(hWnd, strPath);
    }
}

}  // namespace zobrel
