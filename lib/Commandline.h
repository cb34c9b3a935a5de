#pragma once
// Command lines as Windows hands them to a program: one text, which the
// program's C runtime splits into arguments. Portable, so the rules that decide
// what an elevated process receives are tested and fuzzed natively.
#include <vector>

#include "Types.h"

namespace zobrel {

// The rest of a command line after the program name, without the blanks and
// tabs before it. The C runtime's rule for the name: quotes only group, with
// no escapes, and the name ends at the first blank or tab outside them.
const char* Skipprogram(const char* pszCommand);

// Argument text split as the C runtime splits it: blanks and tabs separate;
// double quotes group and are removed; 2n backslashes before a quote give n
// and the quote groups, 2n+1 give n and a literal quote; "" inside quotes is a
// literal quote; any other backslash is literal.
std::vector<CString> Splitarguments(const char* pszText);

// One argument as command-line text that Splitarguments, and the C runtime,
// reads back as exactly that argument. Unchanged unless it is empty or holds
// a blank, tab or quote; quoted text never holds "" inside, which older and
// newer C runtimes read differently.
CString Quoteargument(const CString& strArg);

// Each argument quoted as needed, separated by one blank.
CString Joinarguments(const std::vector<CString>& args);

// A program path as the start of a command line: in quotes when it holds a
// blank or tab, else as it is. The program name has no escapes, so a path
// holding a quote cannot be written at all (Windows paths never hold one).
CString Quoteprogram(const CString& strFile);

// The program followed by one blank and the argument text, exactly as
// written; without argument text, the program alone.
CString Buildcommand(const CString& strProgram, const CString& strArgs);

// strFile without one pair of quotes around the whole of it, so a pasted
// "path" names the file.
CString Unquote(const CString& strFile);

// Whether the file is a batch file (.bat or .cmd, any case). Trailing dots
// and blanks are ignored, as Windows drops them when it opens the file, so
// "run.bat." is one too.
bool Isbatch(const CString& strFile);

// One argument of a batch file as text for the command interpreter, which
// knows no backslash escapes and acts on & | < > ^ ( ) outside quotes and
// splits at , ; = as well: quoted when it holds any of those, a blank or a
// tab, or is empty. False when no quoting can pass it through unchanged: it
// holds a quote, a "%" (expanded even inside quotes) or a line end.
bool Quotebatchargument(const CString& strArg, CString& strOut);

// The command line that runs a batch file through the command interpreter in
// a console: /d skips the AutoRun commands of the registry; /s /c drops the
// outer pair of quotes and runs the rest as written, the batch path quoted
// whatever it holds (a folder named "R&D" would otherwise split the command).
CString Consolecommand(const CString& strInterpreter, const CString& strBatch, const CString& strArgs);

// Whether the file names no folder and no drive, so that it must be searched.
bool Isbarename(const CString& strFile);

// Where a bare program name is looked for, in order: the system folder, the
// Windows folder, then each absolute folder of PATH (quotes around an entry
// removed; relative entries such as "." dropped). Each candidate is the folder
// and the name, with ".exe" appended when the name holds no dot. Unlike
// CreateProcess, neither the program's own folder nor the current folder is
// searched: both may be writable by others.
std::vector<CString> Searchcandidates(const CString& strName, const CString& strSystem, const CString& strWindows,
                                      const CString& strPathVariable);

}  // namespace zobrel
