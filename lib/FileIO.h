#pragma once
// A line-oriented text file over C stdio. One object serves one file at a time.
#include <cstdio>

#include "Types.h"

namespace zobrel {

class FileIO {
public:
    FileIO() = default;
    ~FileIO();
    FileIO(const FileIO&) = delete;
    FileIO& operator=(const FileIO&) = delete;

    // Nonzero when the file exists and can be read; a folder cannot.
    int Opentest(const CString& strPath);
    // Mode "r" or "w" (any other mode fails); "w" starts the file empty.
    // Closes a file still open first. Nonzero on success.
    int Open(const CString& strPath, const char* pszMode);
    // The next line without its end (CR LF or LF), of any length and with any
    // bytes, NUL included; -1 at the end of the file or when nothing is open,
    // otherwise the line's length (at most INT_MAX, the line itself is whole).
    int Getline(CString& strLine);
    // The rest of the file, every byte, into strAll; its length, or -1 with
    // strAll empty when nothing is open, reading fails or the rest is longer
    // than nMax bytes (memory stays bounded by nMax, whatever the file).
    int Getall(CString& strAll, int nMax);
    // Writes the text (up to its first NUL); with bEnd true as one whole line
    // ended by CR LF. Nonzero when every byte was handed on; 0 and nothing
    // happens when no file is open. Buffered: only Close confirms the disk.
    int Putline(const char* pszText, bool bEnd);
    int Putline(const CString& strText, bool bEnd);
    // Nonzero when the file was open and everything written reached it.
    int Close();

private:
    std::FILE* m_pFile = nullptr;
    bool m_bWriteFailed = false;
};

}  // namespace zobrel
