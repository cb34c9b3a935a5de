// Utility::Parsepath for every part of any path: the four parts put together
// give the path back, and each holds only what it should.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "lib/Utility.h"

namespace {

zobrel::Utility g_parser;

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool HasSlash(const CString& str)
{
    return str.find_first_of("\\/") != CString::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    // Paths reach it as C strings: a zero byte ends the path.
    const char* pszInput = reinterpret_cast<const char*>(pData);
    const CString strPath(pszInput, std::find(pszInput, pszInput + nSize, '\0'));

    // Copies: the returned pointer lasts only until the next call.
    CString strParts[6];
    for (int nPart = 0; nPart <= 5; ++nPart) {
        const char* psz = g_parser.Parsepath(strPath, nPart);
        FUZZ_CHECK(psz != nullptr);
        strParts[nPart] = psz;
    }
    const CString& strDrive = strParts[1];
    const CString& strFolder = strParts[2];
    const CString& strName = strParts[3];
    const CString& strExt = strParts[4];

    FUZZ_CHECK(strParts[0].empty() && strParts[5].empty());
    FUZZ_CHECK(strDrive + strFolder + strName + strExt == strPath);
    FUZZ_CHECK(strDrive.empty() || (strDrive.size() == 2 && IsLetter(strDrive[0]) && strDrive[1] == ':'));
    FUZZ_CHECK(!strDrive.empty() || strPath.size() < 2 || strPath[1] != ':' || !IsLetter(strPath[0]));
    FUZZ_CHECK(strFolder.empty() || strFolder.back() == '\\' || strFolder.back() == '/');
    FUZZ_CHECK(!HasSlash(strName) && !HasSlash(strExt));
    FUZZ_CHECK(strName.find('.') == CString::npos || !strExt.empty());
    FUZZ_CHECK(strExt.empty() || (strExt.front() == '.' && strExt.find('.', 1) == CString::npos));
    return 0;
}
