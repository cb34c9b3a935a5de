#include <windows.h>

#include <cctype>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Utility.h"

namespace zobrel {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

CString ModulePath()
{
    // The result is cut short, without an error return, when the buffer is
    // too small: grow until it fits.
    CString strPath(MAX_PATH, '\0');
    for (;;) {
        const DWORD nLen = GetModuleFileNameA(nullptr, &strPath[0], static_cast<DWORD>(strPath.size()));
        if (nLen == 0)
            return CString();
        if (nLen < strPath.size()) {
            strPath.resize(nLen);
            return strPath;
        }
        if (strPath.size() >= 0x10000)
            return CString();
        strPath.resize(strPath.size() * 2);
    }
}

// Skips the program name as the system's own start-up code does: quoted up to
// the next quote, else up to the first blank. No escapes apply to it.
const char* TailOf(const char* psz)
{
    if (*psz == '"') {
        ++psz;
        while (*psz && *psz != '"')
            ++psz;
        if (*psz)
            ++psz;
    } else {
        while (*psz && !IsBlank(*psz))
            ++psz;
    }
    while (IsBlank(*psz))
        ++psz;
    return psz;
}

// The C runtime's rule: 2n backslashes before a quote give n backslashes and
// the quote groups; 2n+1 give n and a literal quote; "" inside quotes is a
// literal quote; any other backslash is literal.
std::vector<CString> SplitArguments(const char* psz)
{
    std::vector<CString> items;
    for (;;) {
        while (IsBlank(*psz))
            ++psz;
        if (!*psz)
            return items;
        CString strItem;
        bool bQuoted = false;
        while (*psz && (bQuoted || !IsBlank(*psz))) {
            if (*psz == '\\') {
                std::size_t n = 0;
                while (*psz == '\\') {
                    ++n;
                    ++psz;
                }
                if (*psz == '"') {
                    strItem.append(n / 2, '\\');
                    if (n % 2) {
                        strItem.push_back('"');
                        ++psz;
                    }
                } else {
                    strItem.append(n, '\\');
                }
            } else if (*psz == '"') {
                if (bQuoted && psz[1] == '"') {
                    strItem.push_back('"');
                    psz += 2;
                } else {
                    bQuoted = !bQuoted;
                    ++psz;
                }
            } else {
                strItem.push_back(*psz++);
            }
        }
        items.push_back(strItem);
    }
}

bool EndsWithNoCase(const CString& str, const char* pszEnd)
{
    const std::size_t nEnd = std::strlen(pszEnd);
    if (str.size() < nEnd)
        return false;
    for (std::size_t i = 0; i < nEnd; ++i) {
        if (std::tolower(static_cast<unsigned char>(str[str.size() - nEnd + i])) !=
            std::tolower(static_cast<unsigned char>(pszEnd[i])))
            return false;
    }
    return true;
}

// A backslash before the closing quote would escape it: double the trailing ones.
CString Quoted(const CString& str)
{
    std::size_t nTrailing = 0;
    while (nTrailing < str.size() && str[str.size() - 1 - nTrailing] == '\\')
        ++nTrailing;
    return '"' + str + CString(nTrailing, '\\') + '"';
}

bool IsPathWithBlank(const CString& str)
{
    const bool bDriveRooted = str.size() >= 3 && std::isalpha(static_cast<unsigned char>(str[0])) && str[1] == ':' &&
                              (str[2] == '\\' || str[2] == '/');
    const bool bUnc = str.compare(0, 2, "\\\\") == 0;
    return (bDriveRooted || bUnc) && str.find_first_of(" \t") != CString::npos && str.find('"') == CString::npos;
}

CString CommandInterpreter()
{
    char szPath[MAX_PATH + 1];
    const DWORD nLen = GetEnvironmentVariableA("ComSpec", szPath, sizeof szPath);
    if (nLen > 0 && nLen < sizeof szPath)
        return szPath;
    const UINT nSys = GetSystemDirectoryA(szPath, sizeof szPath);
    if (nSys > 0 && nSys < sizeof szPath)
        return CString(szPath) + "\\cmd.exe";
    return "cmd.exe";
}

BOOL CALLBACK DisableWindow(HWND hWnd, LPARAM lParam)
{
    auto* pDisabled = reinterpret_cast<std::vector<HWND>*>(lParam);
    if (IsWindowVisible(hWnd) && IsWindowEnabled(hWnd)) {
        EnableWindow(hWnd, FALSE);
        pDisabled->push_back(hWnd);
    }
    return TRUE;
}

// Waits for the process, dispatching this thread's messages meanwhile so the
// windows stay painted. Like a message box, it disables the thread's windows
// for that time: a click during the wait would otherwise start a second
// editor or run a command in the middle of the first call.
void WaitDispatching(HANDLE hProcess)
{
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled));
    struct CEnableAgain {
        std::vector<HWND>& m_windows;
        ~CEnableAgain()
        {
            for (HWND hWnd : m_windows)
                if (IsWindow(hWnd))
                    EnableWindow(hWnd, TRUE);
        }
    } enableAgain{disabled};
    for (;;) {
        const DWORD nWait = MsgWaitForMultipleObjects(1, &hProcess, FALSE, INFINITE, QS_ALLINPUT);
        if (nWait != WAIT_OBJECT_0 + 1)
            return;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The caller's message loop must still see it and end.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// The system's own words for an error code, without the line end it ends with.
CString Systemreason(DWORD dwError)
{
    char* pszText = nullptr;
    const DWORD nLen = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                          FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, dwError, 0, reinterpret_cast<char*>(&pszText), 0, nullptr);
    CString strReason = nLen && pszText ? CString(pszText, nLen) : CString();
    if (pszText)
        LocalFree(pszText);
    while (!strReason.empty() && (strReason.back() == '\r' || strReason.back() == '\n' || strReason.back() == ' '))
        strReason.pop_back();
    if (strReason.empty())
        strReason = "Error " + std::to_string(dwError) + ".";
    return strReason;
}

}  // namespace

int Utility::Getcommandlineitems()
{
    ClearItems();
    const CString strExe = ModulePath();
    const char* pszTail = TailOf(GetCommandLineA());
    const std::size_t nSlash = strExe.find_last_of("\\/");
    m_pItems.push_back(new CString(strExe));
    m_pItems.push_back(new CString(pszTail));
    m_pItems.push_back(new CString(nSlash == CString::npos ? CString(".") : strExe.substr(0, nSlash)));
    for (const CString& strArg : SplitArguments(pszTail))
        m_pItems.push_back(new CString(strArg));
    return static_cast<int>(m_pItems.size());
}

void* Utility::Execute(const char* pszFile, ...)
{
    // A missing program may come without a terminator: read no arguments.
    if (!pszFile || !*pszFile) {
        m_strError = "No program is named.";
        return nullptr;
    }
    CString strArgs;
    bool bWait = false;
    va_list args;
    va_start(args, pszFile);
    while (const char* pszArg = va_arg(args, const char*)) {
        const CString strArg = pszArg;
        if (strArg == "*")
            bWait = true;
        else if (!strArg.empty())
            strArgs += (strArgs.empty() ? "" : " ") + (IsPathWithBlank(strArg) ? Quoted(strArg) : strArg);
    }
    va_end(args);
    return Launch(pszFile, strArgs, bWait);
}

void* Utility::Launch(const CString& strPath, const CString& strArgs, bool bWait)
{
    CString strFile = strPath;
    if (strFile.size() >= 2 && strFile.front() == '"' && strFile.back() == '"')
        strFile = strFile.substr(1, strFile.size() - 2);
    if (strFile.empty()) {
        m_strError = "No program is named.";
        return nullptr;
    }
    const CString strTail = strArgs.empty() ? CString() : " " + strArgs;

    CString strApplication;
    CString strCommand;
    DWORD dwFlags = 0;
    if (EndsWithNoCase(strFile, ".bat") || EndsWithNoCase(strFile, ".cmd")) {
        // /s: the interpreter drops the outer pair of quotes and keeps the
        // rest as written, whatever quotes the path and arguments hold.
        strApplication = CommandInterpreter();
        strCommand = Quoted(strApplication) + " /s /c \"" + Quoted(strFile) + strTail + '"';
        dwFlags = CREATE_NEW_CONSOLE;
    } else {
        // No application name: a bare name is searched along PATH.
        strCommand = Quoted(strFile) + strTail;
    }

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(strApplication.empty() ? nullptr : strApplication.c_str(), &strCommand[0], nullptr, nullptr,
                        FALSE, dwFlags, nullptr, nullptr, &si, &pi)) {
        m_strError = Systemreason(GetLastError());
        return nullptr;
    }
    m_strError.clear();
    CloseHandle(pi.hThread);
    if (bWait)
        WaitDispatching(pi.hProcess);
    CloseHandle(pi.hProcess);
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(pi.dwProcessId));
}

}  // namespace zobrel
