#include <windows.h>

#include <string>

#include "Codepage.h"

namespace zobrel {

bool Utf8toansi(const CString& strUtf8, CString& strAnsi)
{
    if (!Isutf8(strUtf8.data(), strUtf8.size()))
        return false;
    bool bAscii = true;
    for (char c : strUtf8)
        bAscii = bAscii && static_cast<unsigned char>(c) < 0x80;
    // Where the ANSI code page is UTF-8 itself, the text already is ANSI; it
    // also refuses the used-default flag below.
    if (bAscii || GetACP() == CP_UTF8) {
        strAnsi = strUtf8;
        return true;
    }
    const int nUtf8 = static_cast<int>(strUtf8.size());
    const int nWide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strUtf8.data(), nUtf8, nullptr, 0);
    if (nWide <= 0) {
        OutputDebugStringA(
            ("Tarvick: UTF-8 text not converted, error " + std::to_string(GetLastError()) + "\n").c_str());
        return false;
    }
    std::wstring strWide(static_cast<std::size_t>(nWide), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strUtf8.data(), nUtf8, &strWide[0], nWide);
    // No best fit: "ā" would otherwise become "a", and a path another path.
    BOOL bDefaultUsed = FALSE;
    const int nAnsi =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, strWide.data(), nWide, nullptr, 0, nullptr, &bDefaultUsed);
    if (nAnsi <= 0 || bDefaultUsed)
        return false;
    CString strOut(static_cast<std::size_t>(nAnsi), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, strWide.data(), nWide, &strOut[0], nAnsi, nullptr, &bDefaultUsed);
    if (bDefaultUsed)
        return false;
    strAnsi = strOut;
    return true;
}

}  // namespace zobrel
