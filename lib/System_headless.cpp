#include <chrono>
#include <thread>

#include "System.h"

namespace zobrel {
namespace {

class CHeadlessSystem : public ISystem {
public:
    unsigned Drivetype(const CString&) override { return 1; }
    void Fsname(const CString&, char*, unsigned) override {}
    void Sleep(unsigned nMilliseconds) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds));
    }
};

}  // namespace

ISystem& Hostsystem()
{
    static CHeadlessSystem s_system;
    return s_system;
}

}  // namespace zobrel
