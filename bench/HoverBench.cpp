// What one pointer notification over "Process" costs: the composition alone,
// the whole hover (compose, preview, rules, button), and the rules alone.
// One iteration is one notification.
#include <benchmark/benchmark.h>

#include <cstring>
#include <initializer_list>

#include "model/Compose.h"
#include "model/Globals.h"
#include "model/Rules.h"

namespace {

// C: NTFS, D: FAT32; every other letter is missing. Records nothing, so the
// figures stay flat however long a benchmark runs.
class CFakeSystem : public zobrel::ISystem {
public:
    unsigned Drivetype(const CString& strRoot) override
    {
        const char c = strRoot.empty() ? '\0' : strRoot[0];
        return (c == 'C' || c == 'D') ? 3 : 1;
    }
    bool Fsname(const CString& strRoot, char* pBuffer, unsigned nSize) override
    {
        const char* pszName = strRoot[0] == 'C' ? "NTFS" : "FAT32";
        if (std::strlen(pszName) >= nSize)
            return false;
        std::strcpy(pBuffer, pszName);
        return true;
    }
    void Sleep(unsigned) override {}
    CString Systemfolder() override { return "C:\\Windows\\System32"; }
    // No console is ever open: a hover asks whether one is, each time.
    bool Holdbatch(const CString&, CString&) override { return false; }
    bool Writebatch(const CString&, CString&) override { return false; }
    bool Verifybatch(const CString&, CString&) override { return false; }
    bool Startbatch(CString&) override { return false; }
    bool Batchbusy() override { return false; }
    void Releasebatch() override {}
};

CFakeSystem g_fakeSystem;

struct Scenario {
    ToolKind nTool;
    const char* pszDevice;
    std::initializer_list<int> ticked;
};

// CHKDSK on an NTFS drive with /F /X /R /PERF, DISM with two switches, SFC /SCANNOW.
const Scenario CHKDSK_NTFS{TOOL_CHKDSK, "C", {0, 1, 2, 4}};
const Scenario DISM_HEALTH{TOOL_DISM, "", {13, 14}};
const Scenario SFC_SCANNOW{TOOL_SFC, "", {7}};

// The dialog's state after the user chose the tool, ticked the switches and
// typed the drive; the widgets are created so every call reaches the
// platform layer as in the program.
void Prepare(const Scenario& scenario)
{
    g_pSystem = &g_fakeSystem;
    const zobrel::Rect rc;
    g_btnProcess.Create("Process", 0x10000000u, rc, nullptr, IDC_PROCESS);
    g_editOutput.Create(0x10000000u, rc, nullptr, IDC_OUTPUT);
    for (int i = 0; i < OPTION_ROWS; ++i) {
        g_optionBox[i].Create("", 0x10000000u, rc, nullptr, IDC_OPTION_BOX + i);
        g_optionLabel[i].Create("", 0x10000000u, rc, nullptr, IDC_OPTION_LABEL + i);
    }
    for (int i = 0; i < TOOL_ROWS; ++i)
        g_toolRadio[i].Create("", 0x10000000u, rc, nullptr, IDC_TOOL_RADIO + i);
    FillTables();
    g_volumeClass = VC_NTFS;
    SelectTool(scenario.nTool);
    for (int i : scenario.ticked)
        ToggleOption(i);
    g_editDevice.m_strText = scenario.pszDevice;
    ProcessHover();
}

void ComposeCommandBench(benchmark::State& state, const Scenario& scenario)
{
    Prepare(scenario);
    for (auto _ : state) {
        CString strStatus = ComposeCommand();
        benchmark::DoNotOptimize(strStatus);
        benchmark::DoNotOptimize(g_cmdLine);
    }
    if (g_cmdLine.empty())
        state.SkipWithError("nothing composed");
    state.SetLabel(g_cmdLine.substr(0, g_cmdLine.size() - 2));
}

void ProcessHoverBench(benchmark::State& state, const Scenario& scenario)
{
    Prepare(scenario);
    for (auto _ : state) {
        ProcessHover();
        benchmark::DoNotOptimize(g_btnProcess.m_strCaption);
    }
    if (g_btnProcess.m_strCaption != "Process")
        state.SkipWithError("the hover showed a status, not the command");
}

void ApplyOptionRulesBench(benchmark::State& state)
{
    Prepare(CHKDSK_NTFS);
    for (auto _ : state) {
        ApplyOptionRules();
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK_CAPTURE(ComposeCommandBench, chkdsk_ntfs, CHKDSK_NTFS);
BENCHMARK_CAPTURE(ComposeCommandBench, dism, DISM_HEALTH);
BENCHMARK_CAPTURE(ComposeCommandBench, sfc, SFC_SCANNOW);
BENCHMARK_CAPTURE(ProcessHoverBench, chkdsk_ntfs, CHKDSK_NTFS);
BENCHMARK_CAPTURE(ProcessHoverBench, dism, DISM_HEALTH);
BENCHMARK_CAPTURE(ProcessHoverBench, sfc, SFC_SCANNOW);
BENCHMARK(ApplyOptionRulesBench);

BENCHMARK_MAIN();
