#include "FileIO.h"

#include <cstring>

namespace zobrel {

FileIO::~FileIO()
{
    Close();
}

int FileIO::Opentest(const CString& strPath)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (!pFile)
        return 0;
    std::fclose(pFile);
    return 1;
}

int FileIO::Open(const CString& strPath, const char* pszMode)
{
    Close();
    m_bWriteFailed = false;
    // Binary mode: line ends are chosen here, not by the C runtime.
    const char* pszStdio = (pszMode && pszMode[0] == 'w') ? "wb" : "rb";
    m_pFile = std::fopen(strPath.c_str(), pszStdio);
    return m_pFile != nullptr;
}

int FileIO::Getline(CString& strLine)
{
    strLine.clear();
    if (!m_pFile)
        return -1;
    int c = std::getc(m_pFile);
    if (c == EOF)
        return -1;
    while (c != EOF && c != '\n') {
        strLine.push_back(static_cast<char>(c));
        c = std::getc(m_pFile);
    }
    if (!strLine.empty() && strLine.back() == '\r')
        strLine.pop_back();
    return static_cast<int>(strLine.size() > 0x7FFFFFFF ? 0x7FFFFFFF : strLine.size());
}

int FileIO::Putline(const char* pszText, bool bEnd)
{
    if (!m_pFile)
        return 0;
    const char* psz = pszText ? pszText : "";
    const std::size_t nLen = std::strlen(psz);
    bool bOk = std::fwrite(psz, 1, nLen, m_pFile) == nLen;
    if (bEnd)
        bOk = std::fwrite("\r\n", 1, 2, m_pFile) == 2 && bOk;
    if (!bOk)
        m_bWriteFailed = true;
    return bOk;
}

int FileIO::Putline(const CString& strText, bool bEnd)
{
    return Putline(strText.c_str(), bEnd);
}

int FileIO::Close()
{
    if (!m_pFile)
        return 0;
    const bool bOk = std::fclose(m_pFile) == 0 && !m_bWriteFailed;
    m_pFile = nullptr;
    return bOk;
}

}  // namespace zobrel
