#pragma once
#include "Widget.h"

namespace zobrel {

class CustEdit : public Widget {
public:
    CustEdit() : Widget(WidgetKind::Edit) {}

    // The box's text, kept current on every change, typed or pasted. A
    // change the user makes (not one made by SetText) notifies the parent
    // with WM_WIDGET_NOTIFY, as the buttons do.
    CString m_strText;

    void SetColor(int nId);
    void SetColor(int nId, Colorref crText, Colorref crBack, Colorref crText2, Colorref crBack2);

    bool Create(std::uint32_t dwStyle, const Rect& rc, WindowHandle hParent, int nId);
    void SetText(const CString& strText, FontHandle hFont);

    // Second colour pair (used while the box is read-only or disabled).
    Colorref m_crText2 = 0;
    Colorref m_crBack2 = 0;
};

}  // namespace zobrel
