#pragma once
// The window's fixed numbers, in one place for the program and its tests:
// control IDs, colours, the design face and the window styles. Portable:
// UiConstants_win.cpp checks each style against the Windows flags it stands for.
#include <cstdint>

#include "lib/Types.h"

// Control IDs of the three push buttons, the two edit boxes and the Device label.
constexpr int IDC_PROCESS = 10;
constexpr int IDC_EXIT = 11;
constexpr int IDC_EDIT_SETTINGS = 15;
constexpr int IDC_OUTPUT = 50;
constexpr int IDC_DEVICE = 51;
constexpr int IDC_DEVICE_LABEL = 63;

// Row bases: option row i has its check box at 200 + i and its label at
// 300 + i; tool row t its radio button at 400 + t and its label at 500 + t.
constexpr int IDC_OPTION_BOX = 200;
constexpr int IDC_OPTION_LABEL = 300;
constexpr int IDC_TOOL_RADIO = 400;
constexpr int IDC_TOOL_LABEL = 500;

// Colours, as COLORREF 0x00BBGGRR.
constexpr zobrel::Colorref CLR_NAVY = 0x800000;
constexpr zobrel::Colorref CLR_WHITE = 0xFFFFFF;
constexpr zobrel::Colorref CLR_YELLOW = 0x00FFFF;
constexpr zobrel::Colorref CLR_GREY = 0xA0A0A0;
constexpr zobrel::Colorref CLR_RED = 0x0000FF;
constexpr zobrel::Colorref CLR_GREEN = 0x00FF00;

// The face every control is placed on, in design units.
constexpr std::int32_t DESIGN_WIDTH = 720;
constexpr std::int32_t DESIGN_HEIGHT = 755;
constexpr zobrel::Rect DESIGN_RECT = {0, 0, DESIGN_WIDTH, DESIGN_HEIGHT};

// Window styles of the controls.
constexpr std::uint32_t STYLE_PUSH = 0x50011F0B;    // child, visible, tab stop, push-like, centred, owner-drawn
constexpr std::uint32_t STYLE_OUTPUT = 0x50201804;  // child, visible, vscroll, want-return, read-only, multi-line
constexpr std::uint32_t STYLE_DEVICE = 0x50000080;  // child, visible, auto-hscroll
constexpr std::uint32_t STYLE_CHECK = 0x50000002;   // non-automatic check box: the program sets the mark
constexpr std::uint32_t STYLE_RADIO = 0x50000004;   // non-automatic radio button
constexpr std::uint32_t STYLE_LABEL = 0x5000000C;   // child, visible, left-aligned on one line: never wrapped
