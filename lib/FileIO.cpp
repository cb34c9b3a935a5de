#include "FileIO.h"

#include <algorithm>
#include <climits>
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
    // glibc opens a folder for reading and fails only at the first read; the
    // Windows runtime refuses it at once. One byte settles both.
    std::getc(pFile);
    const bool bReadable = !std::ferror(pFile);
    std::fclose(pFile);
    return bReadable;
}

int FileIO::Open(const CString& strPath, const char* pszMode)
{
    Close();
    m_bWriteFailed = false;
    if (!pszMode || (std::strcmp(pszMode, "r") != 0 && std::strcmp(pszMode, "w") != 0))
        return 0;
    // Binary mode: line ends are chosen here, not by the C runtime, and a
    // stray ^Z does not end a file read on Windows.
    m_pFile = std::fopen(strPath.c_str(), pszMode[0] == 'w' ? "wb" : "rb");
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
    return strLine.size() > INT_MAX ? INT_MAX : static_cast<int>(strLine.size());
}

int FileIO::Getall(CString& strAll, int nMax)
{
    strAll.clear();
    if (!m_pFile || nMax < 0)
        return -1;
    const std::size_t nLimit = static_cast<std::size_t>(nMax);
    const std::size_t nChunk = 64 * 1024;
    for (;;) {
        const std::size_t nHave = strAll.size();
        // One byte past the limit tells a file of exactly nMax bytes from a longer one.
        const std::size_t nWant = std::min(nChunk, nLimit + 1 - nHave);
        strAll.resize(nHave + nWant);
        const std::size_t nRead = std::fread(&strAll[nHave], 1, nWant, m_pFile);
        strAll.resize(nHave + nRead);
        if (strAll.size() > nLimit || (nRead < nWant && std::ferror(m_pFile))) {
            CString().swap(strAll);
            return -1;
        }
        if (nRead < nWant)
            return static_cast<int>(strAll.size());
    }
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
    // A full disk often shows only here, when the buffer is flushed.
    const bool bOk = std::fclose(m_pFile) == 0 && !m_bWriteFailed;
    m_pFile = nullptr;
    return bOk;
}

}  // namespace zobrel
