#pragma once
// Basic types shared by the library and the program. No Windows header here:
// the portable code builds natively, the Win32 files convert at their edge.
#include <cstdint>
#include <string>

// All text is 8-bit in the system's ANSI code page.
using CString = std::string;

namespace zobrel {

using Colorref = std::uint32_t;  // 0x00BBGGRR, as a Windows COLORREF
using FontHandle = void*;        // an HFONT
using WindowHandle = void*;      // an HWND

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

inline bool operator==(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Sent to the parent after a widget changed one of its flags (WM_USER + 5).
constexpr unsigned WM_WIDGET_NOTIFY = 0x0405;

}  // namespace zobrel
