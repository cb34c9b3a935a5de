#pragma once
// The processes a test's program started, found by a snapshot of all
// processes under Wine, and ended when a test is done with them.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace guitest {

inline std::vector<PROCESSENTRY32> ProcessList()
{
    std::vector<PROCESSENTRY32> list;
    HANDLE hSnap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnap == INVALID_HANDLE_VALUE)
        return list;
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    for (BOOL bMore = Process32First(hSnap, &pe); bMore; bMore = Process32Next(hSnap, &pe))
        list.push_back(pe);
    CloseHandle(hSnap);
    return list;
}

// When a process was created, 0 when that cannot be read.
inline ULONGLONG CreatedAt(DWORD dwProcess)
{
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwProcess);
    if (!hProcess)
        return 0;
    FILETIME ftCreated = {}, ftExited = {}, ftKernel = {}, ftUser = {};
    const BOOL bOk = GetProcessTimes(hProcess, &ftCreated, &ftExited, &ftKernel, &ftUser);
    CloseHandle(hProcess);
    return bOk ? (static_cast<ULONGLONG>(ftCreated.dwHighDateTime) << 32) | ftCreated.dwLowDateTime : 0;
}

// The processes a process started, by executable name (null: any). Wine
// reuses process ids at once: a process whose parent id is this one's but
// that is older (the prefix's services, started by a process long gone that
// had the same id) is not its child, and must never be ended as one: they
// would start again inside the next test and hold its output open.
inline std::vector<DWORD> ChildrenOf(DWORD dwParent, const char* pszName = nullptr)
{
    std::vector<DWORD> found;
    const ULONGLONG nParentCreated = CreatedAt(dwParent);
    if (nParentCreated == 0)
        return found;
    for (const PROCESSENTRY32& pe : ProcessList()) {
        if (pe.th32ParentProcessID != dwParent || pe.th32ProcessID == dwParent)
            continue;
        const char* pszSlash = std::strrchr(pe.szExeFile, '\\');
        if (pszName && _stricmp(pszSlash ? pszSlash + 1 : pe.szExeFile, pszName) != 0)
            continue;
        const ULONGLONG nCreated = CreatedAt(pe.th32ProcessID);
        if (nCreated != 0 && nCreated >= nParentCreated)
            found.push_back(pe.th32ProcessID);
    }
    return found;
}

// A process's children, theirs and so on, parents before children.
inline std::vector<DWORD> Descendants(DWORD dwRoot)
{
    std::vector<DWORD> found = ChildrenOf(dwRoot);
    for (std::size_t i = 0; i < found.size(); ++i) {
        for (DWORD dwChild : ChildrenOf(found[i])) {
            if (std::find(found.begin(), found.end(), dwChild) == found.end())
                found.push_back(dwChild);
        }
    }
    return found;
}

// The full path of a process's executable, "" when it cannot be read.
inline std::string ImagePath(DWORD dwProcess)
{
    char szImage[MAX_PATH] = {};
    DWORD nSize = sizeof szImage;
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwProcess);
    if (!hProcess)
        return std::string();
    const BOOL bOk = QueryFullProcessImageNameA(hProcess, 0, szImage, &nSize);
    CloseHandle(hProcess);
    return bOk ? std::string(szImage, nSize) : std::string();
}

// Ends the processes and waits for each; gives how many could be opened.
inline int EndProcesses(const std::vector<DWORD>& ids)
{
    std::vector<HANDLE> handles;
    for (DWORD dwId : ids) {
        if (HANDLE hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwId)) {
            TerminateProcess(hProcess, 1);
            handles.push_back(hProcess);
        }
    }
    for (HANDLE hProcess : handles) {
        WaitForSingleObject(hProcess, 5000);
        CloseHandle(hProcess);
    }
    return static_cast<int>(handles.size());
}

}  // namespace guitest
