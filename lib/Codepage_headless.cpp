// Native builds have no ANSI code page: Latin-1 stands in for it, the code
// page whose characters are exactly U+0000 to U+00FF.
#include "Codepage.h"

namespace zobrel {

bool Utf8toansi(const CString& strUtf8, CString& strAnsi)
{
    if (!Isutf8(strUtf8.data(), strUtf8.size()))
        return false;
    CString strOut;
    strOut.reserve(strUtf8.size());
    for (std::size_t i = 0; i < strUtf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(strUtf8[i]);
        if (c < 0x80) {
            strOut.push_back(static_cast<char>(c));
            continue;
        }
        // Valid UTF-8 below U+0100 is C2 or C3 and one trail byte.
        if (c > 0xC3)
            return false;
        const unsigned char cTrail = static_cast<unsigned char>(strUtf8[++i]);
        strOut.push_back(static_cast<char>(((c & 0x03) << 6) | (cTrail & 0x3F)));
    }
    strAnsi = strOut;
    return true;
}

}  // namespace zobrel
