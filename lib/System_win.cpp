#include <windows.h>

#include "System.h"

namespace zobrel {
namespace {

class CWinSystem : public ISystem {
public:
    unsigned Drivetype(const CString& strRoot) override { return GetDriveTypeA(strRoot.c_str()); }

    void Fsname(const CString& strRoot, char* pBuffer, unsigned nSize) override
    {
        // An empty card reader or CD drive would otherwise pop up a
        // "no disk" box in the middle of a hover.
        UINT uOld = SetErrorMode(SEM_FAILCRITICALERRORS);
        GetVolumeInformationA(strRoot.c_str(), nullptr, 0, nullptr, nullptr, nullptr, pBuffer, nSize);
        SetErrorMode(uOld);
    }

    void Sleep(unsigned nMilliseconds) override { ::Sleep(nMilliseconds); }
};

}  // namespace

ISystem& Hostsystem()
{
    static CWinSystem s_system;
    return s_system;
}

}  // namespace zobrel
