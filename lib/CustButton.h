#pragma once
#include "Widget.h"

namespace zobrel {

// Push button, check box or radio button. Push buttons are owner-drawn in the
// colours given by SetText; check boxes and radio buttons use the
// non-automatic styles, so their mark changes only through SetCheck.
class CustButton : public Widget {
public:
    CustButton() : Widget(WidgetKind::Button) {}

    // Set while the pointer is over a tracked button; cleared when it leaves.
    bool m_bHot = false;
    // Latched by a click; only the program clears it.
    bool m_bClicked = false;
    // Latched when a tracked button gains the keyboard focus from another
    // control of its window (Tab, or a click); only the program clears it.
    bool m_bFocus = false;

    bool Create(const char* pszCaption, std::uint32_t dwStyle, const Rect& rc, WindowHandle hParent, int nId);

    void SetText(const CString& strText, Colorref crText, Colorref crBack, FontHandle hFont = nullptr);
    void SetText(const char* pszText, Colorref crText, Colorref crBack, FontHandle hFont = nullptr);
    void Inittrack();
    void Snapto();
    // BM_SETCHECK with 1 or 0.
    void SetCheck(bool bMark);

    bool m_bTracked = false;
    bool m_bMarked = false;
    int m_nSnaps = 0;  // how often the pointer was put on this button
};

static_assert(sizeof(bool) == 1, "the widget flags are one byte each");

}  // namespace zobrel
