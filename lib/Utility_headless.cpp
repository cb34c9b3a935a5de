// Native builds start nothing: Execute records what it was asked to start,
// so tests can read the requests back.
#include <cstdarg>

#include "Utility.h"
#include "UtilityLog.h"

namespace zobrel {

std::vector<std::vector<CString>> g_executeLog;

int Utility::Getcommandlineitems()
{
    ClearItems();
    m_pItems.push_back(new CString("Tarvick"));
    m_pItems.push_back(new CString(""));
    m_pItems.push_back(new CString("."));
    return static_cast<int>(m_pItems.size());
}

void* Utility::Execute(const char* pszFile, ...)
{
    std::vector<CString> call{pszFile ? pszFile : ""};
    va_list args;
    va_start(args, pszFile);
    while (const char* pszArg = va_arg(args, const char*))
        call.emplace_back(pszArg);
    va_end(args);
    g_executeLog.push_back(call);
    return nullptr;
}

}  // namespace zobrel
