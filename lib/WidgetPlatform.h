#pragma once
// What the portable widget code asks of the window system. Implemented by
// WidgetPlatform_win.cpp on Windows and by WidgetPlatform_headless.cpp for
// native builds, where nothing is drawn and the widget state is all there is.
#include "Widget.h"

namespace zobrel::platform {

// Creates the widget's window and ties it to the widget; null on failure.
WindowHandle CreateWidget(Widget& widget, const char* pszCaption);
void ShowWidget(Widget& widget, bool bShow);
void MarkWidget(Widget& widget, bool bMark);
// Text, colours or font of the widget changed.
void RefreshWidget(Widget& widget);
// Only the font changed: the window's text stays (an edit box keeps what was typed).
void FontWidget(Widget& widget);
Rect TextroomOf(Widget& widget, FontHandle hFont);
void PointAtWidget(Widget& widget);

}  // namespace zobrel::platform
