// StartTimer.exe PROGRAM
// Starts PROGRAM and prints the milliseconds from CreateProcess to its first
// visible top-level window, then returns and leaves it running (the caller
// measures its memory and ends it). Exit status 1: no window within 30 s.
// Built by bench/startup.sh. Polling from inside Wine resolves about a
// millisecond, where a poll from outside through xdotool costs 20-50 ms each.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    DWORD dwProcessId;
    bool bFound;
};

BOOL CALLBACK FindVisible(HWND hWnd, LPARAM lParam)
{
    Search* pSearch = reinterpret_cast<Search*>(lParam);
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hWnd, &dwPid);
    if (dwPid == pSearch->dwProcessId && IsWindowVisible(hWnd)) {
        pSearch->bFound = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: StartTimer.exe PROGRAM\n");
        return 2;
    }
    std::wstring strCommand = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};

    LARGE_INTEGER freq;
    LARGE_INTEGER t0;
    LARGE_INTEGER t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(nullptr, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start %ls: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    Search search = {pi.dwProcessId, false};
    for (;;) {
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        QueryPerformanceCounter(&t1);
        if (search.bFound)
            break;
        if (t1.QuadPart - t0.QuadPart > 30 * freq.QuadPart) {
            std::fprintf(stderr, "no visible window from %ls within 30 s\n", argv[1]);
            return 1;
        }
        Sleep(1);
    }
    std::printf("%.1f\n", 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart));
    std::fflush(stdout);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}
