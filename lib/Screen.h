#pragma once
// Screen scaling and window placement. The scale is library-wide: a Screen
// that sized the window sets it for every other Screen object as well.
#include "Types.h"

namespace zobrel {

class Screen {
public:
    Screen() = default;

    void Init();
    // Sizes the window for the screen it is on and sets the scale that maps
    // the design rectangle onto the window's client area.
    void Screensize(WindowHandle hWnd, Rect rcDesign, bool bCenter);
    // Scales a font height in place.
    void Fontadjust(int* pnHeight);
    // Design units to client coordinates, in place.
    void Screenadjust(Rect& rc);
    // Re-lays every child window from its design rectangle after a size change.
    void Resize_children(WindowHandle hWnd);
    // True once the sized window is shown and painted.
    bool Scwait();
    // Mode 0 saves the window placement to strPath, mode 1 restores it.
    static void Smove(WindowHandle hWnd, int nMode, CString strPath);
};

}  // namespace zobrel
