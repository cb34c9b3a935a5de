// Stands in for the system's icacls.exe in the installer test: Wine's own
// changes no permissions and Wine enforces none, so the test checks what the
// installer asked for. Appends its whole command line and CR LF to the file
// named by TARVICK_RECORD, then exits with TARVICK_EXIT (default 0). Without
// a record file it fails, so it never passes for the real tool unnoticed.
// TARVICK_PLANT names a file it creates as well: another account writing
// into the folder before it is locked.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main()
{
    char szValue[MAX_PATH];
    DWORD nLen = GetEnvironmentVariableA("TARVICK_RECORD", szValue, sizeof szValue);
    if (nLen == 0 || nLen >= sizeof szValue)
        return 90;
    std::FILE* pFile = std::fopen(szValue, "ab");
    if (!pFile)
        return 91;
    std::fprintf(pFile, "%s\r\n", GetCommandLineA());
    if (std::fclose(pFile) != 0)
        return 92;
    nLen = GetEnvironmentVariableA("TARVICK_PLANT", szValue, sizeof szValue);
    if (nLen > 0 && nLen < sizeof szValue) {
        pFile = std::fopen(szValue, "ab");
        if (!pFile || std::fclose(pFile) != 0)
            return 93;
    }
    const DWORD nExit = GetEnvironmentVariableA("TARVICK_EXIT", szValue, sizeof szValue);
    return nExit > 0 && nExit < sizeof szValue ? std::atoi(szValue) : 0;
}
