// Native builds have no screen: the scale stays 1 and nothing is placed.
#include "Screen.h"

namespace zobrel {

void Screen::Init() {}
void Screen::Screensize(WindowHandle, Rect, bool) {}
void Screen::Fontadjust(int*) {}
void Screen::Screenadjust(Rect&) {}
void Screen::Resize_children(WindowHandle) {}
bool Screen::Scwait()
{
    return true;
}
void Screen::Smove(WindowHandle, int, CString) {}

}  // namespace zobrel
