#include "Utility.h"

#include <cstring>

namespace zobrel {

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
    // Default separators: blank and tab. Flag 1 takes one field; flag 0 takes
    // the rest of the line, so values may hold blanks (paths, argument lists).
    const char* pszSeps = (pszDelims && *pszDelims) ? pszDelims : " \t";
    strOut.clear();
    const std::size_t nLen = strLine.size();
    std::size_t i = nCursor < 0 ? 0 : static_cast<std::size_t>(nCursor);
    while (i < nLen && std::strchr(pszSeps, strLine[i]) && strLine[i] != '\0')
        ++i;
    std::size_t nStart = i;
    if (nFlag == 1) {
        while (i < nLen && !(std::strchr(pszSeps, strLine[i]) && strLine[i] != '\0'))
            ++i;
        strOut = strLine.substr(nStart, i - nStart);
    } else {
        std::size_t nEnd = nLen;
        while (nEnd > nStart && std::strchr(pszSeps, strLine[nEnd - 1]) && strLine[nEnd - 1] != '\0')
            --nEnd;
        strOut = strLine.substr(nStart, nEnd - nStart);
        i = nLen;
    }
    nCursor = static_cast<int>(i > 0x7FFFFFFF ? 0x7FFFFFFF : i);
    return static_cast<int>(strOut.size() > 0x7FFFFFFF ? 0x7FFFFFFF : strOut.size());
}

const char* Utility::Parsepath(const CString& strPath, int nPart)
{
    // Parts: 1 the drive, 2 the folder, 3 the base name, 4 the extension.
    const std::size_t nSlash = strPath.find_last_of("\\/");
    const std::size_t nNameStart = nSlash == CString::npos ? 0 : nSlash + 1;
    std::size_t nColon = strPath.find(':');
    const std::size_t nDriveEnd = (nColon != CString::npos && nColon < nNameStart) ? nColon + 1 : 0;
    const std::size_t nDot = strPath.find_last_of('.');
    const std::size_t nNameEnd = (nDot != CString::npos && nDot >= nNameStart) ? nDot : strPath.size();
    switch (nPart) {
    case 1:
        m_strPart = strPath.substr(0, nDriveEnd);
        break;
    case 2:
        m_strPart = strPath.substr(nDriveEnd, nNameStart - nDriveEnd);
        break;
    case 3:
        m_strPart = strPath.substr(nNameStart, nNameEnd - nNameStart);
        break;
    case 4:
        m_strPart = strPath.substr(nNameEnd);
        break;
    default:
        m_strPart.clear();
        break;
    }
    return m_strPart.c_str();
}

}  // namespace zobrel
