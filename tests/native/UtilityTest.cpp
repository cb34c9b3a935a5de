// Utility's string operations, and the command-line items of the running
// test program. Portable: the Wine build runs it against the Win32 items.
#include <gtest/gtest.h>

#include <climits>

#include "lib/FileIO.h"
#include "lib/Utility.h"

namespace {

using namespace std::string_literals;

struct ParseCase {
    const char* pszName;
    CString strLine;
    const char* pszDelims;
    int nCursor;
    int nFlag;
    CString strOut;
    int nCursorAfter;
};

TEST(Parse, TakesAFieldOrTheRestOfTheLine)
{
    const ParseCase cases[] = {
        {"key", "3 /scan C: /full", "", 0, 1, "3", 1},
        {"value keeps inner blanks", "3 /scan C: /full", "", 1, 0, "/scan C: /full", 16},
        {"path with blanks", "1 C:\\Program Files\\Ed\\ed.exe", "", 1, 0, "C:\\Program Files\\Ed\\ed.exe", 28},
        {"value trailing blanks and tabs trimmed", "3  a b \t ", "", 1, 0, "a b", 9},
        {"leading tabs skipped", "\t\t2\tD:\\x", "", 0, 1, "2", 3},
        {"null delimiters are the default", "2\tD:\\x", nullptr, 0, 1, "2", 1},
        {"own delimiters", "a,b;c", ",;", 1, 1, "b", 3},
        {"own delimiters replace blank", "a b,c", ",", 0, 1, "a b", 3},
        {"NUL is data", "a\0b c"s, "", 0, 1, "a\0b"s, 3},
        {"high bytes are data", "\xff\xfe x", "", 0, 1, "\xff\xfe", 2},
        {"only separators", " \t ", "", 0, 0, "", 3},
        {"empty line", "", "", 0, 1, "", 0},
        {"negative cursor starts at 0", "key value", "", -5, 1, "key", 3},
        {"cursor past the end", "abc", "", 100, 1, "", 3},
        {"cursor past the end, rest", "abc", "", INT_MAX, 0, "", 3},
        {"flag 2 takes the rest", "1 a b", "", 0, 2, "1 a b", 5},
    };
    zobrel::Utility utility;
    for (const ParseCase& c : cases) {
        int nCursor = c.nCursor;
        CString strOut = "stale";
        EXPECT_EQ(utility.Parse(c.strLine, c.pszDelims, nCursor, c.nFlag, strOut), static_cast<int>(c.strOut.size()))
            << c.pszName;
        EXPECT_EQ(strOut, c.strOut) << c.pszName;
        EXPECT_EQ(nCursor, c.nCursorAfter) << c.pszName;
    }
}

TEST(Parse, WalksEveryFieldThenFindsNothing)
{
    zobrel::Utility utility;
    const CString strLine = "  a  b\tc ";
    int nCursor = 0;
    CString strField;
    std::vector<CString> fields;
    while (utility.Parse(strLine, "", nCursor, 1, strField) > 0)
        fields.push_back(strField);
    EXPECT_EQ(fields, (std::vector<CString>{"a", "b", "c"}));
    EXPECT_EQ(nCursor, static_cast<int>(strLine.size()));
}

TEST(Parsepath, SplitsDriveFolderBaseNameAndExtension)
{
    const struct {
        const char* pszPath;
        const char* pszParts[4];
    } cases[] = {
        {"D:\\WD_Disk_Diag\\WinDlg.exe", {"D:", "\\WD_Disk_Diag\\", "WinDlg", ".exe"}},
        {"C:\\Program Files\\My.Tools\\tool", {"C:", "\\Program Files\\My.Tools\\", "tool", ""}},
        {"archive.tar.gz", {"", "", "archive.tar", ".gz"}},
        {"C:tool.exe", {"C:", "", "tool", ".exe"}},
        {"/:x\\1:y.z", {"", "/:x\\", "1:y", ".z"}},
        {"\\\\server\\share\\run.bat", {"", "\\\\server\\share\\", "run", ".bat"}},
        {"/usr/bin/app", {"", "/usr/bin/", "app", ""}},
        {"D:\\dir\\", {"D:", "\\dir\\", "", ""}},
        {".profile", {"", "", "", ".profile"}},
        {"", {"", "", "", ""}},
    };
    zobrel::Utility utility;
    for (const auto& c : cases) {
        for (int nPart = 1; nPart <= 4; ++nPart)
            EXPECT_STREQ(utility.Parsepath(c.pszPath, nPart), c.pszParts[nPart - 1]) << c.pszPath << " part " << nPart;
        for (int nPart : {0, 5, -1})
            EXPECT_STREQ(utility.Parsepath(c.pszPath, nPart), "") << c.pszPath << " part " << nPart;
    }
}

TEST(Getcommandlineitems, FolderIsTheExecutablesWithoutTrailingSeparator)
{
    zobrel::Utility utility;
    const int nItems = utility.Getcommandlineitems();
    ASSERT_GE(nItems, 3);
    ASSERT_EQ(static_cast<std::size_t>(nItems), utility.m_pItems.size());
    const CString& strExe = *utility.m_pItems[0];
    const CString& strFolder = *utility.m_pItems[2];
    zobrel::FileIO file;
    EXPECT_NE(file.Opentest(strExe), 0) << strExe;
    ASSERT_FALSE(strFolder.empty());
    EXPECT_NE(strFolder.back(), '\\');
    EXPECT_NE(strFolder.back(), '/');
    ASSERT_LT(strFolder.size(), strExe.size());
    EXPECT_EQ(strExe.substr(0, strFolder.size()), strFolder);
    EXPECT_EQ(strExe.find_first_of("\\/", strFolder.size()), strFolder.size()) << strExe;
    EXPECT_EQ(strExe.find_first_of("\\/", strFolder.size() + 1), CString::npos) << strExe;
    EXPECT_EQ(utility.Getcommandlineitems(), nItems) << "filled afresh, not appended";
}

}  // namespace
