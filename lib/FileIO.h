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

    // Nonzero when the file exists and can be read.
    int Opentest(const CString& strPath);
    // Mode "r" or "w"; "w" starts the file empty. Nonzero on success.
    int Open(const CString& strPath, const char* pszMode);
    // The next line without its end (CR LF or LF); -1 at the end of the file
    // or when nothing is open, otherwise the line's length.
    int Getline(CString& strLine);
    // Writes the text; with bEnd true as one whole line ended by CR LF.
    // Nonzero when every byte was written; nothing happens when no file is open.
    int Putline(const char* pszText, bool bEnd);
    int Putline(const CString& strText, bool bEnd);
    // Nonzero when the file was open and everything written reached it.
    int Close();

private:
    std::FILE* m_pFile = nullptr;
    bool m_bWriteFailed = false;
};

}  // namespace zobrel
