// Records how it was started: after sleeping TARVICK_SLEEP_MS milliseconds
// (when set), appends to the file named by TARVICK_RECORD one run, a line each:
//   cmd <the whole command line>
//   cwd <the current folder>
//   console <the ids of the processes sharing its console>
//   arg <each argument as the C runtime split it>
//   item <each item of Utility::Getcommandlineitems>
//   end
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "lib/Utility.h"

int main(int argc, char** argv)
{
    char szValue[MAX_PATH];
    const DWORD nSleep = GetEnvironmentVariableA("TARVICK_SLEEP_MS", szValue, sizeof szValue);
    if (nSleep > 0 && nSleep < sizeof szValue)
        Sleep(static_cast<DWORD>(std::atoi(szValue)));

    char szRecord[MAX_PATH];
    const DWORD nLen = GetEnvironmentVariableA("TARVICK_RECORD", szRecord, sizeof szRecord);
    if (nLen == 0 || nLen >= sizeof szRecord)
        return 2;
    char szFolder[MAX_PATH];
    const DWORD nFolder = GetCurrentDirectoryA(sizeof szFolder, szFolder);
    DWORD ids[16] = {};
    const DWORD nIds = GetConsoleProcessList(ids, 16);
    zobrel::Utility utility;
    utility.Getcommandlineitems();

    std::FILE* pFile = std::fopen(szRecord, "ab");
    if (!pFile)
        return 3;
    std::fprintf(pFile, "cmd %s\r\ncwd %s\r\nconsole", GetCommandLineA(),
                 nFolder > 0 && nFolder < sizeof szFolder ? szFolder : "?");
    for (DWORD i = 0; i < nIds && i < 16; ++i)
        std::fprintf(pFile, " %lu", static_cast<unsigned long>(ids[i]));
    std::fprintf(pFile, "\r\n");
    for (int i = 1; i < argc; ++i)
        std::fprintf(pFile, "arg %s\r\n", argv[i]);
    for (const CString* pItem : utility.m_pItems)
        std::fprintf(pFile, "item %s\r\n", pItem->c_str());
    std::fprintf(pFile, "end\r\n");
    return std::fclose(pFile) == 0 ? 0 : 4;
}
