#pragma once
// Screen scaling and window placement. The scale is library-wide: a Screen
// that sized the window sets it for every other Screen object as well.
//
// Tests can force the scale: with the environment variable ZOBREL_SCALE set
// to a decimal factor between 0.1 and 10 (up to three decimals, e.g. "1" or
// "0.75"), Screensize gives the client area the design size times that
// factor instead of fitting it to the monitor, so ZOBREL_SCALE=1 makes one
// design unit one pixel. The variable is read on every Screensize call.
#include <cstdint>
#include <functional>

#include "Types.h"

namespace zobrel {

// Design units to client pixels, each axis on its own: an edge at design x
// lands on round((x - design left) * client width / design width). Every
// edge is rounded by itself, so rectangles that touch in design units touch
// on screen, with neither a gap nor an overlap.
struct Scale {
    // Sub-units per design unit in the "fine" forms, which keep a rectangle
    // read back from pixels exact enough to map onto the same pixels again.
    static constexpr std::int32_t FINE = 256;

    Rect m_rcDesign = {0, 0, 1, 1};
    std::int32_t m_nClientW = 1;
    std::int32_t m_nClientH = 1;

    Rect Map(const Rect& rcDesign) const;
    Rect Mapfine(const Rect& rcFine) const;
    Rect Unmapfine(const Rect& rcClient) const;
    // A font height (negative: character height) by the smaller of the two
    // axis factors, so scaled text fits both ways; never turns 0 or flips sign.
    int Font(int nHeight) const;
};

// The client size for a design on a work area of nWorkW x nWorkH whose
// window frame adds nFrameW x nFrameH: the client height is 85 % of the work
// area's, the width follows the design's aspect ratio, and the whole window
// is shrunk (keeping the aspect) until it fits the work area.
void Fitclient(const Rect& rcDesign, int nWorkW, int nWorkH, int nFrameW, int nFrameH, int& nClientW, int& nClientH);

// Reads a ZOBREL_SCALE value into thousandths; false (and nPermille left
// alone) for anything but a plain decimal between 0.1 and 10.
bool Parsescale(const char* pszValue, std::int32_t& nPermille);

// How tightly texts fit their rooms at one font height: the smallest ratio
// of room to need over every text and both axes. All fit while the room
// is at least the need; with nothing measured, everything fits.
struct Textfit {
    std::int64_t m_nRoom = 1;
    std::int64_t m_nNeed = 0;

    // One text's extent along one axis against the room it has there.
    void Add(std::int32_t nNeed, std::int32_t nRoom);
    bool Fits() const { return m_nRoom >= m_nNeed; }
};

// The largest font height from nStart down to nMin at which fnMeasure finds
// every text fitting; nMin when none does, and nStart unmeasured when it is
// not above nMin (below 1, nMin counts as 1). Extents follow the height
// only roughly (hinting), so the next height is estimated from the
// shortfall and the heights above an estimate are tried as well: every
// height returned above nMin was measured to fit.
int Fitheight(int nStart, int nMin, const std::function<Textfit(int nHeight)>& fnMeasure);

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

    // The scale every Screen object shares; the identity until a window is sized.
    static Scale& Scaling();
};

}  // namespace zobrel
