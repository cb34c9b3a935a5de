#pragma once
// Real input for the GUI tests under Wine: pointer moves, clicks and keys go
// through SendInput, as a user's would. A pointer move waits until the
// pointer is there, so the next step never races it.
#include <windows.h>

#include <vector>

namespace guitest {

constexpr DWORD POLL_MS = 20;

// Polls until fnDone holds or the time is up; the last answer decides.
template <class Done>
bool WaitUntil(Done fnDone, DWORD nTimeoutMs)
{
    const DWORD nStart = GetTickCount();
    while (!fnDone()) {
        if (GetTickCount() - nStart >= nTimeoutMs)
            return fnDone();
        Sleep(POLL_MS);
    }
    return true;
}

// An absolute move to a screen point. A coordinate d of 0..65535 lands on
// pixel floor(d * size / 65536): the smallest d that reaches the pixel.
inline LONG Absolute(LONG nPixel, int nSize)
{
    const long long d = (static_cast<long long>(nPixel) * 65536 + nSize - 1) / nSize;
    return static_cast<LONG>(d < 0 ? 0 : d > 65535 ? 65535 : d);
}

inline INPUT PointerMove(POINT pt)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = Absolute(pt.x, GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = Absolute(pt.y, GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

inline bool MovePointer(POINT pt)
{
    INPUT in = PointerMove(pt);
    SendInput(1, &in, sizeof in);
    return WaitUntil(
        [&] {
            POINT now;
            return GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
        },
        1000);
}

// A button pressed or released at a screen point: the move comes with it.
// Under Xvfb, Wine turns the X server's crossing events, which every warp of
// the pointer causes (this process's moves and the program's own), into
// pointer moves of its own that reach the queue late with old positions; one
// that falls between the move and the press, or between the press and the
// release, would send a click without its own point elsewhere.
inline INPUT MouseButton(POINT pt, DWORD dwButton)
{
    INPUT in = PointerMove(pt);
    in.mi.dwFlags |= dwButton;
    return in;
}

inline void LeftClick(POINT pt)
{
    INPUT ins[2] = {MouseButton(pt, MOUSEEVENTF_LEFTDOWN), MouseButton(pt, MOUSEEVENTF_LEFTUP)};
    SendInput(2, ins, sizeof ins[0]);
}

inline INPUT Key(WORD wVk, WORD wScan, DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = wVk;
    in.ki.wScan = wScan;
    in.ki.dwFlags = dwFlags;
    return in;
}

inline void TypeText(const char* pszText)
{
    for (const char* p = pszText; *p; ++p) {
        const WORD wChar = static_cast<unsigned char>(*p);
        INPUT ins[2] = {Key(0, wChar, KEYEVENTF_UNICODE), Key(0, wChar, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)};
        SendInput(2, ins, sizeof ins[0]);
    }
}

inline void PressKey(WORD wVk, bool bAlt = false)
{
    std::vector<INPUT> ins;
    if (bAlt)
        ins.push_back(Key(VK_MENU, 0, 0));
    ins.push_back(Key(wVk, 0, 0));
    ins.push_back(Key(wVk, 0, KEYEVENTF_KEYUP));
    if (bAlt)
        ins.push_back(Key(VK_MENU, 0, KEYEVENTF_KEYUP));
    SendInput(static_cast<UINT>(ins.size()), ins.data(), sizeof ins[0]);
}

// The centre of a window's client area, in screen coordinates.
inline POINT Centre(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(hWnd, &pt);
    return pt;
}

}  // namespace guitest
