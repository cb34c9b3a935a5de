// The command-line rules of Utility::Execute. Input: a program name and its
// arguments, each ended by a zero byte (the last one by the input's end).
// Properties: quoting the arguments and splitting the text by the C runtime's
// rule gives them back; behind the program, quoted as Execute quotes it, the
// started program finds exactly that text; and any text split, quoted and
// split again stays the same.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "lib/Commandline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const CString strInput(reinterpret_cast<const char*>(pData), nSize);
    std::vector<CString> items;
    for (std::size_t nFrom = 0;;) {
        const std::size_t nEnd = strInput.find('\0', nFrom);
        items.push_back(strInput.substr(nFrom, nEnd == CString::npos ? CString::npos : nEnd - nFrom));
        if (nEnd == CString::npos)
            break;
        nFrom = nEnd + 1;
    }
    // Windows paths hold no quotes, and a program name has no way to write one.
    CString strProgram;
    for (char c : items[0])
        if (c != '"')
            strProgram.push_back(c);
    const std::vector<CString> args(items.begin() + 1, items.end());

    const CString strArgs = zobrel::Joinarguments(args);
    FUZZ_CHECK(zobrel::Splitarguments(strArgs.c_str()) == args);
    for (const CString& strArg : args) {
        const CString strQuoted = zobrel::Quoteargument(strArg);
        FUZZ_CHECK(zobrel::Splitarguments(strQuoted.c_str()) == std::vector<CString>{strArg});
        // Inside its outer quotes every quote is escaped: nothing relies on
        // "" there, which older and newer runtimes read differently.
        if (strQuoted != strArg) {
            FUZZ_CHECK(strQuoted.size() >= 2 && strQuoted.front() == '"' && strQuoted.back() == '"');
            std::size_t nBackslashes = 0;
            for (std::size_t i = 1; i + 1 < strQuoted.size(); ++i) {
                if (strQuoted[i] == '"')
                    FUZZ_CHECK(nBackslashes % 2 == 1);
                nBackslashes = strQuoted[i] == '\\' ? nBackslashes + 1 : 0;
            }
            FUZZ_CHECK(nBackslashes % 2 == 0);
        }
    }

    if (!strProgram.empty() && strProgram.find_first_not_of(" \t") != CString::npos) {
        const CString strCommand = zobrel::Buildcommand(strProgram, strArgs);
        FUZZ_CHECK(CString(zobrel::Skipprogram(strCommand.c_str())) == strArgs);
        // The interpreter keeps the text inside its outer quotes as written.
        const CString strConsole = zobrel::Consolecommand(strProgram, strProgram, strArgs);
        FUZZ_CHECK(strConsole.back() == '"');
        FUZZ_CHECK(strConsole.find(" /d /s /c \"\"" + strProgram + "\"" + (args.empty() ? "" : " " + strArgs) + "\"") !=
                   CString::npos);
    }

    const std::vector<CString> split = zobrel::Splitarguments(strInput.c_str());
    FUZZ_CHECK(zobrel::Splitarguments(zobrel::Joinarguments(split).c_str()) == split);
    for (const CString& strArg : split)
        FUZZ_CHECK(!strArg.empty() || strInput.find('"') != CString::npos);
    return 0;
}
