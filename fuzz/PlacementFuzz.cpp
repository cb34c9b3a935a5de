// The position file's reader and writer. Any text: a rejected file leaves the
// placement alone, an accepted one is within the limits and survives being
// written and read again. The first 17 bytes also make a placement to write:
// it reads back equal exactly when it is within the limits.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzSupport.h"
#include "lib/Placement.h"

namespace {

using zobrel::Placement;
using zobrel::Rect;

bool operator==(const Placement& a, const Placement& b)
{
    return a.m_rcNormal == b.m_rcNormal && a.m_bMaximized == b.m_bMaximized;
}

bool WithinLimits(const Rect& rc)
{
    for (std::int32_t n : {rc.left, rc.top, rc.right, rc.bottom})
        if (n < -zobrel::PLACEMENT_MAX_COORD || n > zobrel::PLACEMENT_MAX_COORD)
            return false;
    const std::int32_t nWidth = rc.right - rc.left;
    const std::int32_t nHeight = rc.bottom - rc.top;
    return nWidth >= zobrel::PLACEMENT_MIN_SIDE && nWidth <= zobrel::PLACEMENT_MAX_SIDE &&
           nHeight >= zobrel::PLACEMENT_MIN_SIDE && nHeight <= zobrel::PLACEMENT_MAX_SIDE;
}

// A placement that cannot come from any file, to see that a rejection leaves it.
Placement Sentinel()
{
    Placement placement;
    placement.m_rcNormal = {-7777777, 1, 2, 3};
    placement.m_bMaximized = true;
    return placement;
}

Placement ReadBack(const Placement& written, bool& bAccepted)
{
    const CString strText = zobrel::Formatplacement(written);
    FUZZ_CHECK(strText.size() <= zobrel::PLACEMENT_MAX_BYTES);
    Placement read = Sentinel();
    bAccepted = zobrel::Parseplacement(strText.data(), strText.size(), read);
    return read;
}

// Folds a raw number into a little more than the allowed range, so that both
// sides of every limit are near.
std::int32_t Coordinate(const std::uint8_t* p)
{
    std::uint32_t n;
    std::memcpy(&n, p, sizeof n);
    const std::uint32_t nSpan = 2 * zobrel::PLACEMENT_MAX_COORD + 3;
    return static_cast<std::int32_t>(n % nSpan) - (zobrel::PLACEMENT_MAX_COORD + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    Placement parsed = Sentinel();
    if (zobrel::Parseplacement(reinterpret_cast<const char*>(pData), nSize, parsed)) {
        FUZZ_CHECK(nSize <= zobrel::PLACEMENT_MAX_BYTES);
        FUZZ_CHECK(WithinLimits(parsed.m_rcNormal));
        bool bAccepted = false;
        FUZZ_CHECK(ReadBack(parsed, bAccepted) == parsed && bAccepted);
    } else {
        FUZZ_CHECK(parsed == Sentinel());
    }

    if (nSize >= 17) {
        Placement written;
        written.m_rcNormal = {Coordinate(pData), Coordinate(pData + 4), Coordinate(pData + 8), Coordinate(pData + 12)};
        written.m_bMaximized = (pData[16] & 1) != 0;
        bool bAccepted = false;
        const Placement read = ReadBack(written, bAccepted);
        FUZZ_CHECK(bAccepted == WithinLimits(written.m_rcNormal));
        FUZZ_CHECK(bAccepted ? read == written : read == Sentinel());
    }
    return 0;
}
