#pragma once
// The window's controls as one table, in creation order, in design units of
// a 720 x 755 face. Portable, so the geometry is checked without a window.
#include <vector>

#include "lib/Screen.h"
#include "lib/Types.h"
#include "model/UiConstants.h"

enum class ControlKind { PushButton, EditBox, OptionRow, ToolRow, Label };

// One control (or one row: a square button and its label) to create.
struct ControlSpec {
    ControlKind m_nKind = ControlKind::Label;
    int m_nId = 0;        // control ID; for a row, its table index
    zobrel::Rect m_rect;  // design rectangle; for a row, button and label together
    std::uint32_t m_dwStyle = 0;
    CString m_strCaption;
    zobrel::Colorref m_crText = 0;
    zobrel::Colorref m_crBack = 0;
    zobrel::Colorref m_crText2 = 0;  // edit boxes only
    zobrel::Colorref m_crBack2 = 0;
    // Texts a push button shows in place of its caption: the status texts.
    std::vector<CString> m_alternates;
};

// The one bold font of every control: its height in design units, scaled
// with the window and then lowered until every text fits its control, but
// never below the smallest height in pixels. Every Windows version has
// Arial; Wine, which has no Arial of its own, gives its metric twin
// Liberation Sans, so what is measured under Wine is what Windows shows.
constexpr int FONT_HEIGHT = 20;
constexpr int FONT_MIN_HEIGHT = 6;
constexpr char FONT_FACE[] = "Arial";

// Every control of the window, in creation order.
const std::vector<ControlSpec>& ControlLayout();

// One window of a table entry: its control ID and its rectangle in client
// pixels.
struct PlacedControl {
    int m_nId = 0;
    zobrel::Rect m_rect;
};

// The windows a table entry becomes at a scale: one for a push button, an
// edit box or a label; for a row, its button (ID by the row bases) and then
// its label, split as RowButtonRect and RowLabelRect say.
std::vector<PlacedControl> Place(const ControlSpec& control, const zobrel::Scale& scale);

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
