#include <windows.h>

#include <string>

#include "Systemreason.h"

namespace zobrel {

CString Systemreason(unsigned long nError)
{
    char* pszText = nullptr;
    const DWORD nLen =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, nError, 0, reinterpret_cast<char*>(&pszText), 0, nullptr);
    CString strReason = nLen && pszText ? CString(pszText, nLen) : CString();
    if (pszText)
        LocalFree(pszText);
    while (!strReason.empty() && (strReason.back() == '\r' || strReason.back() == '\n' || strReason.back() == ' '))
        strReason.pop_back();
    return strReason.empty() ? "Error " + std::to_string(nError) + "." : strReason;
}

}  // namespace zobrel
