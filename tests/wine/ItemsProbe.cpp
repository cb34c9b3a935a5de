// Appends to the file named by TARVICK_RECORD its whole command line, then
// each item of Utility::Getcommandlineitems, one a line.
#include <windows.h>

#include <cstdio>

#include "lib/Utility.h"

int main()
{
    char szRecord[MAX_PATH];
    const DWORD nLen = GetEnvironmentVariableA("TARVICK_RECORD", szRecord, sizeof szRecord);
    if (nLen == 0 || nLen >= sizeof szRecord)
        return 2;
    zobrel::Utility utility;
    utility.Getcommandlineitems();
    std::FILE* pFile = std::fopen(szRecord, "ab");
    if (!pFile)
        return 3;
    std::fprintf(pFile, "%s\r\n", GetCommandLineA());
    for (const CString* pItem : utility.m_pItems)
        std::fprintf(pFile, "%s\r\n", pItem->c_str());
    return std::fclose(pFile) == 0 ? 0 : 4;
}
