// Stands in for CHKDSK.EXE and other started programs: after sleeping
// TARVICK_SLEEP_MS milliseconds (when set), appends to the file named by
// TARVICK_RECORD two lines, its whole command line and the ids of the
// processes sharing its console, then exits. Wine has no CHKDSK.EXE of its own.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main()
{
    char szValue[MAX_PATH];
    const DWORD nSleep = GetEnvironmentVariableA("TARVICK_SLEEP_MS", szValue, sizeof szValue);
    if (nSleep > 0 && nSleep < sizeof szValue)
        Sleep(static_cast<DWORD>(std::atoi(szValue)));

    const DWORD nLen = GetEnvironmentVariableA("TARVICK_RECORD", szValue, sizeof szValue);
    if (nLen == 0 || nLen >= sizeof szValue)
        return 2;
    DWORD ids[16] = {};
    const DWORD nIds = GetConsoleProcessList(ids, 16);
    std::FILE* pFile = std::fopen(szValue, "ab");
    if (!pFile)
        return 3;
    std::fprintf(pFile, "%s\r\nconsole", GetCommandLineA());
    for (DWORD i = 0; i < nIds && i < 16; ++i)
        std::fprintf(pFile, " %lu", static_cast<unsigned long>(ids[i]));
    std::fprintf(pFile, "\r\n");
    return std::fclose(pFile) == 0 ? 0 : 4;
}
