#pragma once
// Command-line items, field parsing and process start.
#include <vector>

#include "Types.h"

namespace zobrel {

class Utility {
public:
    Utility() = default;
    ~Utility();
    Utility(const Utility&) = delete;
    Utility& operator=(const Utility&) = delete;

    // One entry per command-line item, filled by Getcommandlineitems.
    std::vector<CString*> m_pItems;

    // Fills m_pItems from the process's command line. Item 2 is the folder of
    // the running executable without a trailing backslash.
    int Getcommandlineitems();

    // Takes the next field of strLine from nCursor on into strOut and moves
    // nCursor past it. pszDelims "" selects the default separators.
    int Parse(const CString& strLine, const char* pszDelims, int& nCursor, int nFlag, CString& strOut);

    // One component of a path; part 3 is the file's base name without its
    // extension. The pointer stays valid until the next call.
    const char* Parsepath(const CString& strPath, int nPart);

    // Starts pszFile as a process of its own with the further strings as its
    // arguments, up to a terminating null pointer. The argument "*" asks to
    // wait until the started program has ended.
    void* Execute(const char* pszFile, ...);

private:
    void ClearItems();
    CString m_strPart;
};

}  // namespace zobrel
