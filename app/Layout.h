#pragma once
// The window's controls as one table, in creation order, in design units of
// a 720 x 755 face. Portable, so the geometry is checked without a window.
#include <vector>

#include "lib/Types.h"
#include "model/UiConstants.h"

enum class ControlKind { PushButton, EditBox, OptionRow, ToolRow, Label };

// One control (or one row: a square button and its label) to create.
struct ControlSpec {
    ControlKind m_nKind = ControlKind::Label;
    int m_nId = 0;         // control ID; for a row, its table index
    zobrel::Rect m_rect;   // design rectangle; for a row, button and label together
    std::uint32_t m_dwStyle = 0;
    CString m_strCaption;
    zobrel::Colorref m_crText = 0;
    zobrel::Colorref m_crBack = 0;
    zobrel::Colorref m_crText2 = 0;  // edit boxes only
    zobrel::Colorref m_crBack2 = 0;
};


// Every control of the window, in creation order.
const std::vector<ControlSpec>& ControlLayout();

// Splits a row's adjusted rectangle: the left square of side h (its height)
// is the button, the rest the label.
zobrel::Rect RowButtonRect(const zobrel::Rect& rcRow);
zobrel::Rect RowLabelRect(const zobrel::Rect& rcRow);

// Where the icon of a minimised window is drawn: centred, the halves rounded
// toward zero as signed integers, so an empty client gives negative places.
struct IconOrigin {
    std::int32_t x;
    std::int32_t y;
};
IconOrigin CentredIcon(std::int32_t cxClient, std::int32_t cyClient, std::int32_t cxIcon, std::int32_t cyIcon);
