#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Commandline.h"
#include "System.h"
#include "Systemreason.h"
#include "Utility.h"

namespace zobrel {
namespace {

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

CString Windowsfolder()
{
    char szPath[MAX_PATH + 1];
    const UINT nLen = GetSystemWindowsDirectoryA(szPath, sizeof szPath);
    return nLen > 0 && nLen < sizeof szPath ? CString(szPath, nLen) : CString();
}

CString Environment(const char* pszName)
{
    CString strValue(256, '\0');
    for (;;) {
        const DWORD nLen = GetEnvironmentVariableA(pszName, &strValue[0], static_cast<DWORD>(strValue.size()));
        if (nLen < strValue.size()) {
            strValue.resize(nLen);
            return strValue;
        }
        strValue.resize(nLen);
    }
}

bool IsFile(const CString& strPath)
{
    const DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
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

}  // namespace

int Utility::Getcommandlineitems()
{
    ClearItems();
    const CString strExe = ModulePath();
    const char* pszTail = Skipprogram(GetCommandLineA());
    const std::size_t nSlash = strExe.find_last_of("\\/");
    m_pItems.push_back(new CString(strExe));
    m_pItems.push_back(new CString(pszTail));
    m_pItems.push_back(new CString(nSlash == CString::npos ? CString(".") : strExe.substr(0, nSlash)));
    for (const CString& strArg : Splitarguments(pszTail))
        m_pItems.push_back(new CString(strArg));
    return static_cast<int>(m_pItems.size());
}

namespace {

// What Execute and Launch share. With pArgs each string is one argument,
// quoted as the started program needs it; without, strArgs is the whole
// argument text as written. Sets strError, "" once the process runs.
void* Start(const CString& strPath, const std::vector<CString>* pArgs, const CString& strArgs, bool bWait,
            CString& strError)
{
    const CString strFile = Unquote(strPath);
    if (strFile.empty()) {
        strError = "No program is named.";
        return nullptr;
    }
    if (strFile.find('"') != CString::npos) {
        strError = Systemreason(ERROR_INVALID_NAME);
        return nullptr;
    }
    // Every process starts in the system folder: a program or DLL planted in
    // our current folder, the user's folder or TEMP is not found there by a
    // bare name, least of all by the interpreter that runs a batch file.
    const CString strSystem = Hostsystem().Systemfolder();
    if (strSystem.empty()) {
        strError = Systemreason(GetLastError());
        return nullptr;
    }
    CString strProgram = strFile;
    if (Isbarename(strFile)) {
        strProgram.clear();
        for (const CString& strCandidate : Searchcandidates(strFile, strSystem, Windowsfolder(), Environment("PATH"))) {
            if (IsFile(strCandidate)) {
                strProgram = strCandidate;
                break;
            }
        }
        if (strProgram.empty()) {
            strError = Systemreason(ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
    }

    CString strApplication;
    CString strCommand;
    DWORD dwFlags = 0;
    if (Isbatch(strProgram)) {
        CString strText = strArgs;
        if (pArgs) {
            strText.clear();
            for (const CString& strArg : *pArgs) {
                CString strQuoted;
                if (!Quotebatchargument(strArg, strQuoted)) {
                    strError = Systemreason(ERROR_INVALID_PARAMETER);
                    return nullptr;
                }
                strText += (strText.empty() ? "" : " ") + strQuoted;
            }
        }
        // The system's own interpreter, never what %ComSpec% names: anyone
        // who can set our environment would otherwise choose what runs.
        strApplication = strSystem + "\\cmd.exe";
        strCommand = Consolecommand(strApplication, strProgram, strText);
        dwFlags = CREATE_NEW_CONSOLE;
    } else {
        // The command line alone names the program: its first item is
        // unambiguous once quoted, and CreateProcess then still appends
        // ".exe" to a path that has no extension.
        strCommand = Buildcommand(strProgram, pArgs ? Joinarguments(*pArgs) : strArgs);
    }

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(strApplication.empty() ? nullptr : strApplication.c_str(), &strCommand[0], nullptr, nullptr,
                        FALSE, dwFlags, nullptr, strSystem.c_str(), &si, &pi)) {
        const DWORD dwError = GetLastError();
        strError = Systemreason(dwError);
        OutputDebugStringA(
            ("Tarvick: CreateProcess failed, error " + std::to_string(dwError) + ": " + strCommand + "\n").c_str());
        return nullptr;
    }
    strError.clear();
    CloseHandle(pi.hThread);
    if (bWait)
        WaitDispatching(pi.hProcess);
    CloseHandle(pi.hProcess);
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(pi.dwProcessId));
}

}  // namespace

void* Utility::Execute(const char* pszFile, ...)
{
    // A missing program may come without a terminator: read no arguments.
    if (!pszFile || !*pszFile) {
        m_strError = "No program is named.";
        return nullptr;
    }
    std::vector<CString> args;
    bool bWait = false;
    va_list list;
    va_start(list, pszFile);
    while (const char* pszArg = va_arg(list, const char*)) {
        if (std::strcmp(pszArg, "*") == 0)
            bWait = true;
        else
            args.emplace_back(pszArg);
    }
    va_end(list);
    return Start(pszFile, &args, CString(), bWait, m_strError);
}

void* Utility::Launch(const CString& strFile, const CString& strArgs, bool bWait)
{
    return Start(strFile, nullptr, strArgs, bWait, m_strError);
}

}  // namespace zobrel
