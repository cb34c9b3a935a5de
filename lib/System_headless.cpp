#include <chrono>
#include <thread>

#include "System.h"

namespace zobrel {
namespace {

class CHeadlessSystem : public ISystem {
public:
    unsigned Drivetype(const CString&) override { return 1; }
    bool Fsname(const CString&, char*, unsigned) override { return false; }
    void Sleep(unsigned nMilliseconds) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds));
    }
    CString Systemfolder() override { return "C:\\Windows\\System32"; }
    bool Holdbatch(const CString&, CString& strReason) override { return Unsupported(strReason); }
    bool Writebatch(const CString&, CString& strReason) override { return Unsupported(strReason); }
    bool Verifybatch(const CString&, CString& strReason) override { return Unsupported(strReason); }
    bool Startbatch(CString& strReason) override { return Unsupported(strReason); }
    bool Batchbusy() override { return false; }
    void Releasebatch() override {}

private:
    static bool Unsupported(CString& strReason)
    {
        strReason = "There is no console on this system.";
        return false;
    }
};

}  // namespace

ISystem& Hostsystem()
{
    static CHeadlessSystem s_system;
    return s_system;
}

}  // namespace zobrel
