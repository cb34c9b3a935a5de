#include "Utility.h"

#include <climits>
#include <cstring>

namespace zobrel {

namespace {

int Clamped(std::size_t n)
{
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

}  // namespace

Utility::~Utility()
{
    ClearItems();
}

void Utility::ClearItems()
{
    for (CString* pItem : m_pItems)
        delete pItem;
    m_pItems.clear();
}

int Utility::Parse(const CString& strLine, const char* pszDelims, int& nCursor, int nFlag, CString& strOut)
{
    const char* pszSeps = (pszDelims && *pszDelims) ? pszDelims : " \t";
    // strchr also finds the terminating zero: a NUL byte in the line is data.
    auto isSep = [pszSeps](char c) { return c != '\0' && std::strchr(pszSeps, c) != nullptr; };
    strOut.clear();
    const std::size_t nLen = strLine.size();
    std::size_t i = nCursor < 0 ? 0 : static_cast<std::size_t>(nCursor);
    if (i > nLen)
        i = nLen;
    while (i < nLen && isSep(strLine[i]))
        ++i;
    const std::size_t nStart = i;
    if (nFlag == 1) {
        while (i < nLen && !isSep(strLine[i]))
            ++i;
        strOut = strLine.substr(nStart, i - nStart);
    } else {
        std::size_t nEnd = nLen;
        while (nEnd > nStart && isSep(strLine[nEnd - 1]))
            --nEnd;
        strOut = strLine.substr(nStart, nEnd - nStart);
        i = nLen;
    }
    nCursor = Clamped(i);
    return Clamped(strOut.size());
}

const char* Utility::Parsepath(const CString& strPath, int nPart)
{
    // A letter and a colon make a drive only at the start, so "C:tool.exe"
    // names the drive too; a dot in a folder is no extension.
    const char cLower = strPath.empty() ? '\0' : static_cast<char>(strPath[0] | 0x20);
    const bool bDrive = strPath.size() >= 2 && strPath[1] == ':' && cLower >= 'a' && cLower <= 'z';
    const std::size_t nDriveEnd = bDrive ? 2 : 0;
    const std::size_t nSlash = strPath.find_last_of("\\/");
    const std::size_t nNameStart = (nSlash == CString::npos || nSlash < nDriveEnd) ? nDriveEnd : nSlash + 1;
    const std::size_t nDot = strPath.find_last_of('.');
    const std::size_t nNameEnd = (nDot != CString::npos && nDot >= nNameStart) ? nDot : strPath.size();
    switch (nPart) {
        case 1: m_strPart = strPath.substr(0, nDriveEnd); break;
        case 2: m_strPart = strPath.substr(nDriveEnd, nNameStart - nDriveEnd); break;
        case 3: m_strPart = strPath.substr(nNameStart, nNameEnd - nNameStart); break;
        case 4: m_strPart = strPath.substr(nNameEnd); break;
        default: m_strPart.clear(); break;
    }
    return m_strPart.c_str();
}

}  // namespace zobrel
