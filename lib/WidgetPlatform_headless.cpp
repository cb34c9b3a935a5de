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
void TrackWidget(Widget&) {}
void PointAtWidget(Widget&) {}

}  // namespace zobrel::platform
