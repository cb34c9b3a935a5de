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

    // Fills m_pItems afresh and returns their number (at least 3):
    //   0  the full path of the running executable, from the system, not from
    //      the command line, so the working directory does not matter;
    //   1  the raw command-line tail: everything after the program name, its
    //      leading blanks removed ("" when there are no arguments);
    //   2  the folder of the executable (item 0 up to its last separator)
    //      without a trailing backslash;
    //   3… the arguments one by one, split as the C runtime splits them
    //      (blanks separate, double quotes group and are removed).
    // Native builds read /proc/self/exe and /proc/self/cmdline instead, and
    // item 1 is the arguments joined by single blanks; should /proc be
    // unreadable, item 0 is "" and item 2 ".".
    int Getcommandlineitems();

    // Takes the next field of strLine from nCursor on into strOut and moves
    // nCursor past it; returns the field's length (0: nothing left).
    // pszDelims lists the separators; null or "" selects blank and tab.
    // Leading separators are skipped. nFlag 1 takes one field, up to the next
    // separator; any other flag takes the rest of the line, inner separators
    // included, with trailing separators trimmed (a path with a trailing
    // blank would name no file), and leaves nCursor at the line's end.
    // Any cursor is safe: one below 0 starts at 0, one past the end finds
    // nothing. NUL and other bytes in the line are ordinary characters.
    int Parse(const CString& strLine, const char* pszDelims, int& nCursor, int nFlag, CString& strOut);

    // One component of a path, "\" or "/" separating folders:
    //   1 the drive, "X:" when the path begins with one, else "";
    //   2 the folder after the drive, with its trailing separator;
    //   3 the file's base name without its extension;
    //   4 the extension with its dot ("" when the name has none);
    //   any other part "".
    // "D:\WD_Disk_Diag\WinDlg.exe" gives "D:", "\WD_Disk_Diag\", "WinDlg",
    // ".exe". The pointer stays valid until the next call.
    const char* Parsepath(const CString& strPath, int nPart);

    // Starts pszFile as a process of its own with the further strings as its
    // arguments, up to a terminating null pointer, and returns at once.
    //   - Each further string is one argument, quoted by the C runtime's rule
    //     only when it needs it (Commandline.h), so a path with blanks, an
    //     empty string or a text with quotes arrives as that one argument.
    //   - The string "*" is not passed on: it makes Execute wait until the
    //     started program has ended, dispatching the calling thread's
    //     messages meanwhile so its windows stay painted, and disabling them
    //     so that no click starts a second call.
    //   - The program path may come in one pair of quotes, which is dropped.
    //     A bare name is looked for in the system folder, the Windows folder
    //     and PATH, never in the current folder or the program's own.
    //   - A .bat or .cmd file runs through cmd.exe of the system folder
    //     (never what %ComSpec% names), without AutoRun, in a console window
    //     of its own; its arguments are quoted for the interpreter, and one
    //     that no quoting protects (a quote, "%" or a line end) starts nothing.
    //   - Every process starts with the system folder as its current folder.
    // Returns null when nothing was started (see Lasterror), otherwise the id
    // of the started process (for a batch file, the interpreter) as a
    // pointer-sized number; no handle stays open.
    // Native builds start nothing: they record the call in g_executeLog
    // (UtilityLog.h), arguments unfiltered, and count it as started unless
    // the program is listed in g_executeFailures.
    void* Execute(const char* pszFile, ...);

    // Starts strFile as Execute does, with strArgs as its whole argument text,
    // exactly as written: only the program path is quoted, and only when it
    // holds a blank or tab; no argument is interpreted, "*" included. Waits as
    // Execute does with "*" when bWait is true. Returns as Execute does.
    void* Launch(const CString& strFile, const CString& strArgs, bool bWait);

    // Why the last Execute or Launch started nothing, in the system's words
    // (for instance "The system cannot find the file specified."); "" after
    // a start that worked.
    const CString& Lasterror() const { return m_strError; }

private:
    void ClearItems();
    CString m_strPart;
    CString m_strError;
};

}  // namespace zobrel
