#pragma once
#include "Widget.h"

namespace zobrel {

class CustStatic : public Widget {
public:
    CustStatic() : Widget(WidgetKind::Static) {}

    // Before the window exists, with its future control ID.
    void SetColor(int nId, Colorref crText, Colorref crBack);

    bool Create(const char* pszCaption, std::uint32_t dwStyle, const Rect& rc, WindowHandle hParent, int nId);
    void SetText(const CString& strText, Colorref crText, Colorref crBack, FontHandle hFont);
};

}  // namespace zobrel
