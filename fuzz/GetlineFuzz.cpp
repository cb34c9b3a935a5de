// FileIO::Getline over any file: the lines are the file split at LF, each
// without one CR before it, and the end stays the end.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "lib/FileIO.h"

namespace {

zobrel::FileIO g_file;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const CScratchFile s_file("lines.txt");
    s_file.Write(pData, nSize);
    const CString strFile(reinterpret_cast<const char*>(pData), nSize);

    FUZZ_CHECK(g_file.Opentest(s_file.Path()));
    FUZZ_CHECK(g_file.Open(s_file.Path(), "r"));
    CString strLine;
    std::size_t nAt = 0;
    int nResult;
    while ((nResult = g_file.Getline(strLine)) != -1) {
        FUZZ_CHECK(nAt < strFile.size());
        FUZZ_CHECK(nResult == static_cast<int>(strLine.size()));
        std::size_t nEnd = strFile.find('\n', nAt);
        if (nEnd == CString::npos)
            nEnd = strFile.size();
        CString strExpected = strFile.substr(nAt, nEnd - nAt);
        if (!strExpected.empty() && strExpected.back() == '\r')
            strExpected.pop_back();
        FUZZ_CHECK(strLine == strExpected);
        nAt = nEnd + 1;
    }
    FUZZ_CHECK(nAt >= strFile.size());
    FUZZ_CHECK(strLine.empty());
    FUZZ_CHECK(g_file.Getline(strLine) == -1 && strLine.empty());
    FUZZ_CHECK(g_file.Close());
    FUZZ_CHECK(g_file.Getline(strLine) == -1);
    return 0;
}
