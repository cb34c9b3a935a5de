#include <windows.h>

#include <cstring>

#include "Commandline.h"
#include "System.h"
#include "Systemreason.h"

namespace zobrel {
namespace {

bool Failed(const char* pszStep, CString& strReason)
{
    const DWORD dwError = GetLastError();
    strReason = Systemreason(dwError);
    OutputDebugStringA(("Tarvick: " + CString(pszStep) + ": " + strReason + "\n").c_str());
    return false;
}

// This process's environment without NoDefaultCurrentDirectoryInExePath, so
// the console looks in its current folder, the system folder, before PATH.
CString Consoleenvironment()
{
    static const char NO_CURRENT[] = "NoDefaultCurrentDirectoryInExePath=";
    CString strBlock;
    if (char* pBlock = GetEnvironmentStringsA()) {
        for (const char* p = pBlock; *p; p += std::strlen(p) + 1) {
            if (_strnicmp(p, NO_CURRENT, sizeof NO_CURRENT - 1) != 0)
                strBlock.append(p, std::strlen(p) + 1);
        }
        FreeEnvironmentStringsA(pBlock);
    }
    if (strBlock.empty())
        strBlock.push_back('\0');
    return strBlock + '\0';
}

class CWinSystem : public ISystem {
public:
    ~CWinSystem() override { Releasebatch(); }

    unsigned Drivetype(const CString& strRoot) override { return GetDriveTypeA(strRoot.c_str()); }

    bool Fsname(const CString& strRoot, char* pBuffer, unsigned nSize) override
    {
        // An empty card reader or CD drive would otherwise pop up a
        // "no disk" box in the middle of a hover.
        const UINT uOld = SetErrorMode(SEM_FAILCRITICALERRORS);
        const BOOL bOk = GetVolumeInformationA(strRoot.c_str(), nullptr, 0, nullptr, nullptr, nullptr, pBuffer, nSize);
        SetErrorMode(uOld);
        return bOk != FALSE;
    }

    void Sleep(unsigned nMilliseconds) override { ::Sleep(nMilliseconds); }

    CString Systemfolder() override
    {
        char szPath[MAX_PATH + 1];
        const UINT nLen = GetSystemDirectoryA(szPath, sizeof szPath);
        return nLen > 0 && nLen < sizeof szPath ? CString(szPath, nLen) : CString();
    }

    bool Holdbatch(const CString& strPath, CString& strReason) override
    {
        if (Batchbusy()) {
            strReason = "The console of the last run is still open.";
            return false;
        }
        Releasebatch();
        // Whatever has the name goes first, a planted link included: removing
        // a link removes the link, never the file it leads to. The new file is
        // then made only where nothing is, and a link planted in between is
        // taken as the name being in use, never followed.
        if (!DeleteFileA(strPath.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            return Failed("remove the old batch file", strReason);
        m_hBatch = CreateFileA(strPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (m_hBatch == INVALID_HANDLE_VALUE)
            return Failed("create the batch file", strReason);
        m_strBatch = strPath;
        return true;
    }

    bool Writebatch(const CString& strText, CString& strReason) override
    {
        DWORD nWritten = 0;
        if (!WriteFile(m_hBatch, strText.data(), static_cast<DWORD>(strText.size()), &nWritten, nullptr))
            return Failed("write the batch file", strReason);
        if (nWritten != strText.size()) {
            strReason = "The disk took only part of it.";
            return false;
        }
        if (!FlushFileBuffers(m_hBatch))
            return Failed("flush the batch file", strReason);
        return true;
    }

    bool Verifybatch(const CString& strText, CString& strReason) override
    {
        // Read through the path, as the console will, and make sure that the
        // path still leads to the file held here.
        HANDLE hRead = CreateFileA(m_strBatch.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hRead == INVALID_HANDLE_VALUE)
            return Failed("read the batch file back", strReason);
        BY_HANDLE_FILE_INFORMATION held = {};
        BY_HANDLE_FILE_INFORMATION read = {};
        const bool bSame = GetFileInformationByHandle(m_hBatch, &held) && GetFileInformationByHandle(hRead, &read) &&
                           held.dwVolumeSerialNumber == read.dwVolumeSerialNumber &&
                           held.nFileIndexHigh == read.nFileIndexHigh && held.nFileIndexLow == read.nFileIndexLow;
        CString strOnDisk;
        char buffer[4096];
        DWORD nRead = 0;
        while (strOnDisk.size() <= strText.size() && ReadFile(hRead, buffer, sizeof buffer, &nRead, nullptr) &&
               nRead > 0)
            strOnDisk.append(buffer, nRead);
        CloseHandle(hRead);
        if (!bSame || strOnDisk != strText) {
            strReason = bSame ? "It does not hold what was written." : "The path no longer leads to the file written.";
            OutputDebugStringA(("Tarvick: batch file check: " + strReason + "\n").c_str());
            return false;
        }
        return true;
    }

    bool Startbatch(CString& strReason) override
    {
        const CString strFolder = Systemfolder();
        if (strFolder.empty())
            return Failed("find the system folder", strReason);
        const CString strConsole = strFolder + "\\cmd.exe";
        CString strCommand = Consolecommand(strConsole, m_strBatch, "");
        CString strEnvironment = Consoleenvironment();
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(strConsole.c_str(), &strCommand[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                            &strEnvironment[0], strFolder.c_str(), &si, &pi))
            return Failed("start the console", strReason);
        CloseHandle(pi.hThread);
        m_hConsole = pi.hProcess;
        return true;
    }

    bool Batchbusy() override
    {
        if (m_hConsole && WaitForSingleObject(m_hConsole, 0) == WAIT_TIMEOUT)
            return true;
        if (m_hConsole) {
            CloseHandle(m_hConsole);
            m_hConsole = nullptr;
            Releasebatch();
        }
        return false;
    }

    void Releasebatch() override
    {
        if (m_hBatch != INVALID_HANDLE_VALUE)
            CloseHandle(m_hBatch);
        m_hBatch = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_hBatch = INVALID_HANDLE_VALUE;  // the batch file, held with read sharing only
    HANDLE m_hConsole = nullptr;             // the console started from it
    CString m_strBatch;
};

}  // namespace

ISystem& Hostsystem()
{
    static CWinSystem s_system;
    return s_system;
}

}  // namespace zobrel
