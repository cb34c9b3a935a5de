// Utility::Parse as the settings reader drives it: fields with flag 1, then
// the rest of the line with flag 0, over any line and any separators.
// Input: one byte n, then n % 5 bytes of separators (none: the default ones;
// a zero byte ends them early, as in a C string), one byte with the number of
// fields to take before the rest, then the line.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzSupport.h"
#include "lib/Utility.h"

namespace {

zobrel::Utility g_parser;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const char* pszInput = reinterpret_cast<const char*>(pData);
    if (nSize < 2)
        return 0;
    const std::size_t nDelims = pData[0] % 5;
    if (nSize < 2 + nDelims)
        return 0;
    const CString strDelims(pszInput + 1, nDelims);
    const int nFields = pData[1 + nDelims];
    const CString strLine(pszInput + 2 + nDelims, nSize - 2 - nDelims);
    const int nLen = static_cast<int>(strLine.size());

    const char* pszSeps = strDelims.c_str()[0] ? strDelims.c_str() : " \t";
    auto isSep = [pszSeps](char c) { return c != '\0' && std::strchr(pszSeps, c) != nullptr; };

    // Every field, one at a time: together they are the line less its separators.
    CString strField;
    CString strJoined;
    int nCursor = 0;
    for (int nStep = 0;; ++nStep) {
        FUZZ_CHECK(nStep <= nLen);
        const int nBefore = nCursor;
        const int nReturned = g_parser.Parse(strLine, strDelims.c_str(), nCursor, 1, strField);
        FUZZ_CHECK(nReturned == static_cast<int>(strField.size()));
        FUZZ_CHECK(nCursor >= nBefore && nCursor <= nLen);
        if (strField.empty()) {
            FUZZ_CHECK(nCursor == nLen);
            break;
        }
        FUZZ_CHECK(nCursor == nLen || isSep(strLine[nCursor]));
        FUZZ_CHECK(strLine.compare(nCursor - strField.size(), strField.size(), strField) == 0);
        for (char c : strField)
            FUZZ_CHECK(!isSep(c));
        strJoined += strField;
    }
    CString strExpected;
    for (char c : strLine)
        if (!isSep(c))
            strExpected += c;
    FUZZ_CHECK(strJoined == strExpected);

    // A few fields, then the rest: the rest is the line from the cursor on
    // without the separators at either end.
    nCursor = 0;
    for (int i = 0; i < nFields; ++i)
        g_parser.Parse(strLine, strDelims.c_str(), nCursor, 1, strField);
    const int nFrom = nCursor;
    CString strRest;
    const int nReturned = g_parser.Parse(strLine, strDelims.c_str(), nCursor, 0, strRest);
    FUZZ_CHECK(nReturned == static_cast<int>(strRest.size()));
    FUZZ_CHECK(nCursor == nLen);
    if (strRest.empty()) {
        for (int i = nFrom; i < nLen; ++i)
            FUZZ_CHECK(isSep(strLine[i]));
        return 0;
    }
    FUZZ_CHECK(!isSep(strRest.front()) && !isSep(strRest.back()));
    const std::size_t nAt = strLine.find(strRest, nFrom);
    FUZZ_CHECK(nAt != CString::npos);
    for (std::size_t i = nFrom; i < nAt; ++i)
        FUZZ_CHECK(isSep(strLine[i]));
    for (std::size_t i = nAt + strRest.size(); i < strLine.size(); ++i)
        FUZZ_CHECK(isSep(strLine[i]));
    return 0;
}
