#pragma once
// The position file: where the window was when the program last closed.
// Plain text, three lines, each ended by CR LF (LF alone is read as well):
//
//   zobrel-placement 1
//   normal <left> <top> <right> <bottom>
//   maximized <0|1>
//
// The rectangle is the window's restored position in workspace coordinates,
// as GetWindowPlacement reports it. The first line names the format and its
// version. A file that differs in any way (another first line, a missing or
// extra line, a number out of range, an empty rectangle, a side below
// PLACEMENT_MIN_SIDE, a byte outside printable ASCII, more than
// PLACEMENT_MAX_BYTES) is rejected as a whole.
#include <cstddef>
#include <cstdint>

#include "Types.h"

namespace zobrel {

struct Placement {
    Rect m_rcNormal;
    bool m_bMaximized = false;
};

constexpr std::size_t PLACEMENT_MAX_BYTES = 512;
constexpr std::int32_t PLACEMENT_MAX_COORD = 100000;
constexpr std::int32_t PLACEMENT_MIN_SIDE = 32;
constexpr std::int32_t PLACEMENT_MAX_SIDE = 32767;

CString Formatplacement(const Placement& placement);
// False, with placement left alone, when the text is not a valid file.
bool Parseplacement(const char* pData, std::size_t nSize, Placement& placement);

}  // namespace zobrel
