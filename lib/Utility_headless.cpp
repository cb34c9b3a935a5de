// Native builds start nothing: Execute records what it was asked to start,
// so tests can read the requests back.
#include <unistd.h>

#include <cstdarg>
#include <fstream>
#include <iterator>

#include "Utility.h"
#include "UtilityLog.h"

namespace zobrel {

std::vector<std::vector<CString>> g_executeLog;
std::map<CString, CString> g_executeFailures;

int Utility::Getcommandlineitems()
{
    ClearItems();
    CString strExe(4096, '\0');
    const ssize_t nLen = readlink("/proc/self/exe", &strExe[0], strExe.size());
    strExe.resize(nLen > 0 && static_cast<std::size_t>(nLen) < strExe.size() ? static_cast<std::size_t>(nLen) : 0);

    // The arguments as the kernel keeps them: each ended by a zero, the
    // program's own name first.
    std::ifstream cmdline("/proc/self/cmdline", std::ios::binary);
    const CString strAll((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
    std::vector<CString> args;
    for (std::size_t nPos = 0; nPos < strAll.size();) {
        const std::size_t nEnd = strAll.find('\0', nPos);
        args.push_back(strAll.substr(nPos, nEnd == CString::npos ? CString::npos : nEnd - nPos));
        nPos = nEnd == CString::npos ? strAll.size() : nEnd + 1;
    }

    CString strTail;
    for (std::size_t i = 1; i < args.size(); ++i)
        strTail += (i > 1 ? " " : "") + args[i];
    const std::size_t nSlash = strExe.find_last_of('/');

    m_pItems.push_back(new CString(strExe));
    m_pItems.push_back(new CString(strTail));
    m_pItems.push_back(new CString(nSlash == CString::npos ? CString(".") : strExe.substr(0, nSlash)));
    for (std::size_t i = 1; i < args.size(); ++i)
        m_pItems.push_back(new CString(args[i]));
    return static_cast<int>(m_pItems.size());
}

namespace {

// A started process's id stand-in: any non-null value.
void* Started()
{
    static int s_nProcess;
    return &s_nProcess;
}

}  // namespace

void* Utility::Execute(const char* pszFile, ...)
{
    std::vector<CString> call{pszFile ? pszFile : ""};
    // A null program may come without a terminator: read no further.
    if (pszFile) {
        va_list args;
        va_start(args, pszFile);
        while (const char* pszArg = va_arg(args, const char*))
            call.emplace_back(pszArg);
        va_end(args);
    }
    g_executeLog.push_back(call);
    auto it = g_executeFailures.find(call[0]);
    m_strError = it != g_executeFailures.end() ? it->second : CString();
    if (call[0].empty() && m_strError.empty())
        m_strError = "No program is named.";
    return m_strError.empty() ? Started() : nullptr;
}

void* Utility::Launch(const CString& strFile, const CString& strArgs, bool bWait)
{
    std::vector<CString> call{strFile, strArgs};
    if (bWait)
        call.emplace_back("*");
    g_executeLog.push_back(call);
    auto it = g_executeFailures.find(strFile);
    m_strError = it != g_executeFailures.end() ? it->second : CString();
    if (strFile.empty() && m_strError.empty())
        m_strError = "No program is named.";
    return m_strError.empty() ? Started() : nullptr;
}

}  // namespace zobrel
