// Native builds have no screen: the scale stays as set (the identity unless a
// test sets it) and nothing is sized or placed.
#include "Screen.h"

namespace zobrel {

void Screen::Init() {}
void Screen::Screensize(WindowHandle, Rect, bool) {}
void Screen::Resize_children(WindowHandle) {}
bool Screen::Scwait()
{
    return true;
}
void Screen::Smove(WindowHandle, int, CString) {}

}  // namespace zobrel
