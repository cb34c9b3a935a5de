// The command-line rules behind Utility::Execute and Getcommandlineitems.
// Portable: the Wine build runs it too, and ExecuteTest checks the same rules
// against the Windows C runtime.
#include <gtest/gtest.h>

#include <vector>

#include "lib/Commandline.h"

namespace {

using Args = std::vector<CString>;

TEST(Splitarguments, FollowsTheCRuntimesRule)
{
    const struct {
        const char* pszText;
        Args args;
    } cases[] = {
        {"", {}},
        {" \t ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  lead  and  trail \t", {"lead", "and", "trail"}},
        {"\"two words\" plain", {"two words", "plain"}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"\"", {""}},
        {"x \"\" y", {"x", "", "y"}},
        {"\"unclosed quote", {"unclosed quote"}},
        {"\"tab\tinside\"", {"tab\tinside"}},
        {"C:\\x\\ next", {"C:\\x\\", "next"}},
        {"\\\\server\\share", {"\\\\server\\share"}},
        {"a\\\"b", {"a\"b"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\\\\\"b", {"a\\\"b"}},
        {"\"C:\\My Tools\\\\\"", {"C:\\My Tools\\"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"\"a\"\"b\" c", {"a\"b", "c"}},
        {"*", {"*"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zobrel::Splitarguments(c.pszText), c.args) << "«" << c.pszText << "»";
}

TEST(Quoteargument, QuotesOnlyWhatNeedsItAndReadsBackAsTheSameArgument)
{
    const struct {
        CString strArg;
        const char* pszQuoted;
    } cases[] = {
        {"/scan", "/scan"},
        {"C:\\Tools\\a.ini", "C:\\Tools\\a.ini"},
        {"C:\\x\\", "C:\\x\\"},
        {"", "\"\""},
        {"C:\\Program Files\\Tarvick\\Tarvick.ini", "\"C:\\Program Files\\Tarvick\\Tarvick.ini\""},
        {"C:\\My Tools\\", "\"C:\\My Tools\\\\\""},
        {"tab\there", "\"tab\there\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"a\"b", "\"a\\\"b\""},
        {"a\\\"b", "\"a\\\\\\\"b\""},
        {"\\\\server\\my share\\", "\"\\\\server\\my share\\\\\""},
        {" ", "\" \""},
        {"*", "*"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zobrel::Quoteargument(c.strArg), c.pszQuoted) << "«" << c.strArg << "»";
        EXPECT_EQ(zobrel::Splitarguments(c.pszQuoted), Args{c.strArg}) << "«" << c.strArg << "»";
    }
    const Args all = {"", "a b", "\\", "\"", "x\\\\", "\\\"\\", "\t", "plain"};
    EXPECT_EQ(zobrel::Splitarguments(zobrel::Joinarguments(all).c_str()), all);
    EXPECT_EQ(zobrel::Joinarguments({}), "");
}

TEST(Skipprogram, TakesTheProgramByTheRuntimesRuleWithoutEscapes)
{
    const struct {
        const char* pszCommand;
        const char* pszRest;
    } cases[] = {
        {"tool.exe a b", "a b"},
        {"\"C:\\Program Files\\t.exe\"  \"x y\" z", "\"x y\" z"},
        {"\"C:\\dir\\\" rest", "rest"},
        {"C:\\dir\\t.exe\targ", "arg"},
        {"\"C:\\a b\"c.exe rest", "rest"},
        {"C:\\a\" b\"\\t.exe rest", "rest"},
        {"\"unclosed program", ""},
        {"alone", ""},
        {"", ""},
        {"  lead", "lead"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(zobrel::Skipprogram(c.pszCommand), c.pszRest) << "«" << c.pszCommand << "»";
}

TEST(Buildcommand, QuotesTheProgramOnlyForBlanksAndKeepsTheTextAsWritten)
{
    const struct {
        const char* pszProgram;
        const char* pszArgs;
        const char* pszCommand;
    } cases[] = {
        {"C:\\Tools\\diag.exe", "C:\\logs\\diag.log /quick", "C:\\Tools\\diag.exe C:\\logs\\diag.log /quick"},
        {"C:\\Disk Tools\\diag.exe", "*", "\"C:\\Disk Tools\\diag.exe\" *"},
        {"C:\\Tab\tTools\\d.exe", "", "\"C:\\Tab\tTools\\d.exe\""},
        {"d.exe", " \"odd\" text ", "d.exe  \"odd\" text "},
        {"C:\\Tools\\", "x", "C:\\Tools\\ x"},
    };
    for (const auto& c : cases) {
        const CString strCommand = zobrel::Buildcommand(c.pszProgram, c.pszArgs);
        EXPECT_EQ(strCommand, c.pszCommand);
        // The started program finds its argument text behind its name.
        EXPECT_STREQ(zobrel::Skipprogram(strCommand.c_str()), CString(c.pszArgs).erase(0, c.pszArgs[0] == ' ').c_str())
            << c.pszCommand;
    }
}

TEST(Isbatch, KnowsBatchFilesByTheirExtensionAsWindowsOpensThem)
{
    for (const char* pszBatch : {"sfc.bat", "C:\\x\\Repair.CMD", "run.Bat", "run.bat.", "run.bat . ", ".cmd"})
        EXPECT_TRUE(zobrel::Isbatch(pszBatch)) << pszBatch;
    for (const char* pszOther : {"", "bat", "run.exe", "run.bat.exe", "run.bats", "runbat", "C:\\x.bat\\tool.exe"})
        EXPECT_FALSE(zobrel::Isbatch(pszOther)) << pszOther;
}

TEST(Unquote, DropsOnePairAroundTheWholePath)
{
    EXPECT_EQ(zobrel::Unquote("\"C:\\a b\\t.exe\""), "C:\\a b\\t.exe");
    EXPECT_EQ(zobrel::Unquote("\"\""), "");
    EXPECT_EQ(zobrel::Unquote("\"\"x\"\""), "\"x\"");
    EXPECT_EQ(zobrel::Unquote("\"C:\\a\" b"), "\"C:\\a\" b");
    EXPECT_EQ(zobrel::Unquote("\""), "\"");
}

TEST(Consolecommand, QuotesTheBatchAndPassesItsArgumentsForTheInterpreter)
{
    EXPECT_EQ(zobrel::Consolecommand("C:\\windows\\system32\\cmd.exe", "C:\\Temp\\sfc.bat", ""),
              "C:\\windows\\system32\\cmd.exe /d /s /c \"\"C:\\Temp\\sfc.bat\"\"");
    EXPECT_EQ(zobrel::Consolecommand("C:\\Win Dir\\cmd.exe", "C:\\R&D\\a b.cmd", "x \"y z\""),
              "\"C:\\Win Dir\\cmd.exe\" /d /s /c \"\"C:\\R&D\\a b.cmd\" x \"y z\"\"");

    const struct {
        const char* pszArg;
        const char* pszQuoted;  // null: refused
    } cases[] = {
        {"C:\\Tools\\a.ini", "C:\\Tools\\a.ini"},
        {"C:\\Program Files\\a.ini", "\"C:\\Program Files\\a.ini\""},
        {"C:\\R&D\\a.ini", "\"C:\\R&D\\a.ini\""},
        {"a|b", "\"a|b\""},
        {"a>b", "\"a>b\""},
        {"a^b", "\"a^b\""},
        {"(a)", "\"(a)\""},
        {"a,b", "\"a,b\""},
        {"a;b", "\"a;b\""},
        {"a=b", "\"a=b\""},
        {"C:\\x\\", "C:\\x\\"},
        {"", "\"\""},
        {"say \"hi\"", nullptr},
        {"100%", nullptr},
        {"%PATH%", nullptr},
        {"line\r\nnext", nullptr},
    };
    for (const auto& c : cases) {
        CString strOut = "untouched";
        EXPECT_EQ(zobrel::Quotebatchargument(c.pszArg, strOut), c.pszQuoted != nullptr) << c.pszArg;
        EXPECT_EQ(strOut, c.pszQuoted ? c.pszQuoted : "untouched") << c.pszArg;
    }
}

TEST(Searchcandidates, LooksInTheSystemFoldersThenAbsolutePathEntriesOnly)
{
    EXPECT_TRUE(zobrel::Isbarename("diag.exe"));
    EXPECT_TRUE(zobrel::Isbarename("diag"));
    for (const char* pszPath : {"C:diag.exe", "tools\\diag.exe", "./diag", "C:\\Tools\\diag.exe", "\\\\s\\d.exe"})
        EXPECT_FALSE(zobrel::Isbarename(pszPath)) << pszPath;

    const CString strPath = ".;C:\\Tools;;relative\\bin;\"C:\\Semi;colon\";D:\\Trailing\\;C:drive;\\\\srv\\share;E:/x";
    EXPECT_EQ(
        zobrel::Searchcandidates("diag", "C:\\windows\\system32", "C:\\windows", strPath),
        (Args{"C:\\windows\\system32\\diag.exe", "C:\\windows\\diag.exe", "C:\\Tools\\diag.exe",
              "C:\\Semi;colon\\diag.exe", "D:\\Trailing\\diag.exe", "\\\\srv\\share\\diag.exe", "E:/x\\diag.exe"}));
    // A name with an extension, or ending in a dot, is taken as it is.
    EXPECT_EQ(zobrel::Searchcandidates("run.bat", "S:\\sys", "W:\\win", ""),
              (Args{"S:\\sys\\run.bat", "W:\\win\\run.bat"}));
    EXPECT_EQ(zobrel::Searchcandidates("tool.", "S:\\sys", "", "."), (Args{"S:\\sys\\tool."}));
}

}  // namespace
