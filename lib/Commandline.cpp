#include "Commandline.h"

#include <cstring>

namespace zobrel {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAbsolute(const CString& strFolder)
{
    const char cLower = strFolder.empty() ? '\0' : Lower(strFolder[0]);
    const bool bDriveRooted = strFolder.size() >= 3 && cLower >= 'a' && cLower <= 'z' && strFolder[1] == ':' &&
                              (strFolder[2] == '\\' || strFolder[2] == '/');
    return bDriveRooted || strFolder.compare(0, 2, "\\\\") == 0;
}

}  // namespace

const char* Skipprogram(const char* pszCommand)
{
    const char* psz = pszCommand;
    bool bQuoted = false;
    while (*psz && (bQuoted || !IsBlank(*psz))) {
        if (*psz == '"')
            bQuoted = !bQuoted;
        ++psz;
    }
    while (IsBlank(*psz))
        ++psz;
    return psz;
}

std::vector<CString> Splitarguments(const char* pszText)
{
    std::vector<CString> items;
    const char* psz = pszText;
    for (;;) {
        while (IsBlank(*psz))
            ++psz;
        if (!*psz)
            return items;
        CString strItem;
        bool bQuoted = false;
        while (*psz && (bQuoted || !IsBlank(*psz))) {
            if (*psz == '\\') {
                std::size_t n = 0;
                while (*psz == '\\') {
                    ++n;
                    ++psz;
                }
                if (*psz == '"') {
                    strItem.append(n / 2, '\\');
                    if (n % 2) {
                        strItem.push_back('"');
                        ++psz;
                    }
                } else {
                    strItem.append(n, '\\');
                }
            } else if (*psz == '"') {
                if (bQuoted && psz[1] == '"') {
                    strItem.push_back('"');
                    psz += 2;
                } else {
                    bQuoted = !bQuoted;
                    ++psz;
                }
            } else {
                strItem.push_back(*psz++);
            }
        }
        items.push_back(strItem);
    }
}

CString Quoteargument(const CString& strArg)
{
    if (!strArg.empty() && strArg.find_first_of(" \t\"") == CString::npos)
        return strArg;
    CString strOut = "\"";
    std::size_t nBackslashes = 0;
    for (char c : strArg) {
        if (c == '\\') {
            ++nBackslashes;
            continue;
        }
        // Backslashes count only before a quote: double them there and
        // escape the quote itself.
        if (c == '"') {
            strOut.append(2 * nBackslashes + 1, '\\');
        } else {
            strOut.append(nBackslashes, '\\');
        }
        nBackslashes = 0;
        strOut.push_back(c);
    }
    // The closing quote follows: trailing backslashes must not escape it.
    strOut.append(2 * nBackslashes, '\\');
    strOut.push_back('"');
    return strOut;
}

CString Joinarguments(const std::vector<CString>& args)
{
    CString strOut;
    for (std::size_t i = 0; i < args.size(); ++i)
        strOut += (i ? " " : "") + Quoteargument(args[i]);
    return strOut;
}

CString Quoteprogram(const CString& strFile)
{
    return strFile.find_first_of(" \t") == CString::npos ? strFile : '"' + strFile + '"';
}

CString Buildcommand(const CString& strProgram, const CString& strArgs)
{
    return strArgs.empty() ? Quoteprogram(strProgram) : Quoteprogram(strProgram) + ' ' + strArgs;
}

CString Unquote(const CString& strFile)
{
    if (strFile.size() >= 2 && strFile.front() == '"' && strFile.back() == '"')
        return strFile.substr(1, strFile.size() - 2);
    return strFile;
}

bool Isbatch(const CString& strFile)
{
    std::size_t nEnd = strFile.size();
    while (nEnd > 0 && (strFile[nEnd - 1] == '.' || IsBlank(strFile[nEnd - 1])))
        --nEnd;
    if (nEnd < 4 || strFile[nEnd - 4] != '.')
        return false;
    char szExtension[4];
    for (std::size_t i = 0; i < 3; ++i)
        szExtension[i] = Lower(strFile[nEnd - 3 + i]);
    szExtension[3] = '\0';
    return std::strcmp(szExtension, "bat") == 0 || std::strcmp(szExtension, "cmd") == 0;
}

bool Quotebatchargument(const CString& strArg, CString& strOut)
{
    if (strArg.find_first_of("\"%\r\n") != CString::npos)
        return false;
    const bool bQuote = strArg.empty() || strArg.find_first_of(" \t,;=&|<>^()") != CString::npos;
    strOut = bQuote ? '"' + strArg + '"' : strArg;
    return true;
}

CString Consolecommand(const CString& strInterpreter, const CString& strBatch, const CString& strArgs)
{
    CString strInner = '"' + strBatch + '"';
    if (!strArgs.empty())
        strInner += ' ' + strArgs;
    return Quoteprogram(strInterpreter) + " /d /s /c \"" + strInner + '"';
}

bool Isbarename(const CString& strFile)
{
    return strFile.find_first_of("\\/:") == CString::npos;
}

std::vector<CString> Searchcandidates(const CString& strName, const CString& strSystem, const CString& strWindows,
                                      const CString& strPathVariable)
{
    std::vector<CString> folders{strSystem, strWindows};
    // A PATH entry may be quoted, and then holds a ";" of its own.
    CString strEntry;
    bool bQuoted = false;
    for (std::size_t i = 0; i <= strPathVariable.size(); ++i) {
        const char c = i < strPathVariable.size() ? strPathVariable[i] : ';';
        if (c == '"') {
            bQuoted = !bQuoted;
        } else if (c == ';' && !bQuoted) {
            folders.push_back(strEntry);
            strEntry.clear();
        } else {
            strEntry.push_back(c);
        }
    }
    const CString strFile = strName.find('.') == CString::npos ? strName + ".exe" : strName;
    std::vector<CString> candidates;
    for (const CString& strFolder : folders) {
        if (!IsAbsolute(strFolder))
            continue;
        const char cLast = strFolder.back();
        candidates.push_back(strFolder + (cLast == '\\' || cLast == '/' ? "" : "\\") + strFile);
    }
    return candidates;
}

}  // namespace zobrel
