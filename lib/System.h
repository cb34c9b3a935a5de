#pragma once
// The few system services the command model needs, behind an interface so
// that tests can stand in for the drives, the clock, the batch file and the
// console it runs in.
#include "Types.h"

namespace zobrel {

class ISystem {
public:
    virtual ~ISystem() = default;
    // GetDriveTypeA: 0 unknown, 1 no such root, 2..6 usable kinds of drive.
    virtual unsigned Drivetype(const CString& strRoot) = 0;
    // GetVolumeInformationA asked for the file-system name only, into a
    // buffer of nSize bytes; false when the query failed.
    virtual bool Fsname(const CString& strRoot, char* pBuffer, unsigned nSize) = 0;
    virtual void Sleep(unsigned nMilliseconds) = 0;
    // The system folder, as "C:\Windows\System32"; "" when it cannot be found.
    virtual CString Systemfolder() = 0;

    // The batch file is guarded from before it is written until the console
    // started from it has ended. Holdbatch creates or empties strPath and
    // keeps it open with read sharing only: no other process can write,
    // delete or rename it. Each step that fails says why in strReason.
    virtual bool Holdbatch(const CString& strPath, CString& strReason) = 0;
    virtual bool Writebatch(const CString& strText, CString& strReason) = 0;
    // Reads the held file back from the disk: true when it holds exactly strText.
    virtual bool Verifybatch(const CString& strText, CString& strReason) = 0;
    // Starts the system's own command interpreter on the held file, in a
    // console of its own, in the system folder. The guard then stays until
    // that console has ended.
    virtual bool Startbatch(CString& strReason) = 0;
    // True while the console of the last Startbatch is open; once it has
    // ended, the guard is let go.
    virtual bool Batchbusy() = 0;
    // Lets go of the file after a run that could not start.
    virtual void Releasebatch() = 0;
};

// The platform's implementation: Win32 on Windows; on native builds no drive
// exists, no console can start and Sleep really sleeps.
ISystem& Hostsystem();

}  // namespace zobrel
