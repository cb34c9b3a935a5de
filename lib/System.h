#pragma once
// The few system queries the command model needs, behind an interface so
// that tests can stand in for the drives and the clock.
#include "Types.h"

namespace zobrel {

class ISystem {
public:
    virtual ~ISystem() = default;
    // GetDriveTypeA: 0 unknown, 1 no such root, 2..6 usable kinds of drive.
    virtual unsigned Drivetype(const CString& strRoot) = 0;
    // GetVolumeInformationA asked for the file-system name only, into a
    // buffer of nSize bytes. The buffer is left as the query leaves it.
    virtual void Fsname(const CString& strRoot, char* pBuffer, unsigned nSize) = 0;
    virtual void Sleep(unsigned nMilliseconds) = 0;
};

// The platform's implementation: Win32 on Windows; on native builds no drive
// exists and Sleep really sleeps.
ISystem& Hostsystem();

}  // namespace zobrel
