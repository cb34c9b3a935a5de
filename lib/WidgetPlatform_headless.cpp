// Native builds have no windows: a created widget gets a stand-in handle and
// every request is answered by the state the portable code already recorded.
#include "WidgetPlatform.h"

namespace zobrel::platform {

WindowHandle CreateWidget(Widget& widget, const char*)
{
    return &widget;
}

void ShowWidget(Widget&, bool) {}
void MarkWidget(Widget&, bool) {}
void RefreshWidget(Widget&) {}
void FontWidget(Widget&) {}
void PointAtWidget(Widget&) {}

Rect TextroomOf(Widget& widget, FontHandle)
{
    const Rect& rc = widget.m_rcCreate;
    return {0, 0, rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace zobrel::platform
