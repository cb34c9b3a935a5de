// Stands in for CHKDSK.EXE and other started programs (Wine has no CHKDSK.EXE
// of its own): after sleeping TARVICK_SLEEP_MS milliseconds (when set), it
// records how it was started and exits.
//
// TARVICK_RECORD names a folder: the process writes a record of its own
// there, "<start time>-<process id>.rec" (16 and 8 hex digits, so the names
// sort in the order the processes started), with the lines
//     process <its id>
//     command <its whole command line>
//     image <its own executable's path>
//     folder <its current folder>
//     console <the ids of the processes on its console>
// Consoles started at once never share a file, and a reader never sees half a
// record: it is written under a name of its own and renamed when complete.
//
// TARVICK_RECORD names anything else: that file gets two lines appended, the
// command line and the "console" line, for callers that start one program at
// a time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string ConsoleLine()
{
    DWORD ids[64] = {};
    const DWORD nIds = GetConsoleProcessList(ids, 64);
    std::string strLine = "console";
    for (DWORD i = 0; i < nIds && i < 64; ++i)
        strLine += " " + std::to_string(ids[i]);
    return strLine;
}

bool IsFolder(const char* pszPath)
{
    const DWORD dwAttributes = GetFileAttributesA(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

int WriteOwnRecord(const std::string& strFolder)
{
    char szImage[MAX_PATH] = {};
    const DWORD nImage = GetModuleFileNameA(nullptr, szImage, sizeof szImage);
    char szFolder[MAX_PATH] = {};
    const DWORD nFolder = GetCurrentDirectoryA(sizeof szFolder, szFolder);
    FILETIME ftCreated, ftExited, ftKernel, ftUser;
    if (nImage == 0 || nImage >= sizeof szImage || nFolder == 0 || nFolder >= sizeof szFolder ||
        !GetProcessTimes(GetCurrentProcess(), &ftCreated, &ftExited, &ftKernel, &ftUser))
        return 5;

    const std::string strRecord = "process " + std::to_string(GetCurrentProcessId()) + "\r\ncommand " +
                                  GetCommandLineA() + "\r\nimage " + szImage + "\r\nfolder " + szFolder + "\r\n" +
                                  ConsoleLine() + "\r\n";
    char szName[64];
    std::snprintf(szName, sizeof szName, "\\%08lX%08lX-%08lX", static_cast<unsigned long>(ftCreated.dwHighDateTime),
                  static_cast<unsigned long>(ftCreated.dwLowDateTime),
                  static_cast<unsigned long>(GetCurrentProcessId()));
    const std::string strPartial = strFolder + szName + ".part";
    HANDLE hFile =
        CreateFileA(strPartial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 3;
    DWORD nWritten = 0;
    const bool bWritten =
        WriteFile(hFile, strRecord.data(), static_cast<DWORD>(strRecord.size()), &nWritten, nullptr) &&
        nWritten == strRecord.size();
    if (!CloseHandle(hFile) || !bWritten)
        return 4;
    // No MOVEFILE_REPLACE_EXISTING: a record is never written over.
    return MoveFileExA(strPartial.c_str(), (strFolder + szName + ".rec").c_str(), 0) ? 0 : 4;
}

int AppendToFile(const char* pszPath)
{
    std::FILE* pFile = std::fopen(pszPath, "ab");
    if (!pFile)
        return 3;
    std::fprintf(pFile, "%s\r\n%s\r\n", GetCommandLineA(), ConsoleLine().c_str());
    return std::fclose(pFile) == 0 ? 0 : 4;
}

}  // namespace

int main()
{
    char szValue[MAX_PATH];
    const DWORD nSleep = GetEnvironmentVariableA("TARVICK_SLEEP_MS", szValue, sizeof szValue);
    if (nSleep > 0 && nSleep < sizeof szValue)
        Sleep(static_cast<DWORD>(std::atoi(szValue)));

    const DWORD nLen = GetEnvironmentVariableA("TARVICK_RECORD", szValue, sizeof szValue);
    if (nLen == 0 || nLen >= sizeof szValue)
        return 2;
    return IsFolder(szValue) ? WriteOwnRecord(szValue) : AppendToFile(szValue);
}
