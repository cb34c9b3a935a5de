// Utility's string operations, and the command-line items of the running
// test program. Portable: the Wine build runs it against the Win32 items.
#include <gtest/gtest.h>

#include <climits>

#ifdef _WIN32
#include <windows.h>
#endif

#include "lib/Codepage.h"
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

TEST(Codepage, DetectsEncodingsAsNotepadSavesThem)
{
    using zobrel::Encoding;
    const struct {
        CString strBytes;
        Encoding encoding;
        std::size_t nMark;
    } cases[] = {
        {"", Encoding::ANSI, 0},
        {"1 C:\\x.exe\r\n", Encoding::ANSI, 0},
        {"\xEF\xBB\xBF", Encoding::UTF8, 3},
        {"\xEF\xBB\xBF"
         "1 \xFC",
         Encoding::UTF8, 3},
        {"1 Pr\xC3\xBC"
         "fung",
         Encoding::UTF8, 0},
        {"1 Pr\xFC"
         "fung",
         Encoding::ANSI, 0},
        {"\xC3\xBC \xFC", Encoding::ANSI, 0},
        {"\xFF\xFE"
         "1\0",
         Encoding::UTF16LE, 2},
        {"\xFE\xFF\0"
         "1",
         Encoding::UTF16BE, 2},
        {"\xFF\xFE\0\0", Encoding::UTF16LE, 2},
        {"\xEF\xBB", Encoding::ANSI, 0},
        {"\xFF", Encoding::ANSI, 0},
    };
    for (const auto& c : cases) {
        std::size_t nMark = 99;
        EXPECT_EQ(zobrel::Detectencoding(c.strBytes, nMark), c.encoding) << testing::PrintToString(c.strBytes);
        EXPECT_EQ(nMark, c.nMark) << testing::PrintToString(c.strBytes);
    }
}

TEST(Codepage, Utf8MustBeInShortestFormWithoutSurrogates)
{
    for (const CString& strValid : {""s, "ascii\0"s, "\xC2\x80"s, "\xDF\xBF"s, "\xE0\xA0\x80"s, "\xED\x9F\xBF"s,
                                    "\xEE\x80\x80"s, "\xF0\x90\x80\x80"s, "\xF4\x8F\xBF\xBF"s})
        EXPECT_TRUE(zobrel::Isutf8(strValid.data(), strValid.size())) << testing::PrintToString(strValid);
    for (const CString& strInvalid :
         {"\x80"s, "\xC0\x80"s, "\xC1\xBF"s, "\xC2"s, "\xC2 "s, "\xE0\x9F\xBF"s, "\xED\xA0\x80"s, "\xED\xBF\xBF"s,
          "\xE2\x82"s, "\xF0\x8F\xBF\xBF"s, "\xF4\x90\x80\x80"s, "\xF5\x80\x80\x80"s, "\xFF"s, "a\xF0\x90\x80"s})
        EXPECT_FALSE(zobrel::Isutf8(strInvalid.data(), strInvalid.size())) << testing::PrintToString(strInvalid);
}

TEST(Codepage, Utf16BecomesUtf8AndBrokenUnitsAnInvalidByte)
{
    const struct {
        CString strBytes;  // little-endian
        CString strUtf8;
    } cases[] = {
        {"A\0\xFC\0"s, "A\xC3\xBC"},
        {"\0\0\xAC\x20"s, "\0\xE2\x82\xAC"s},
        {"\x3D\xD8\x00\xDE"s, "\xF0\x9F\x98\x80"},
        {"\x00\xD8"
         "A\0"s,
         "\xFF"
         "A"},
        {"\x00\xDC\x00\xD8"s, "\xFF\xFF"},
        {"A\0B"s, "A\xFF"},
        {"", ""},
    };
    for (const auto& c : cases) {
        CString strLittle;
        zobrel::Utf16toutf8(c.strBytes.data(), c.strBytes.size(), false, strLittle);
        EXPECT_EQ(strLittle, c.strUtf8) << testing::PrintToString(c.strBytes);
        CString strBig = "kept:";
        CString strSwapped = c.strBytes;
        for (std::size_t i = 0; i + 1 < strSwapped.size(); i += 2)
            std::swap(strSwapped[i], strSwapped[i + 1]);
        zobrel::Utf16toutf8(strSwapped.data(), strSwapped.size(), true, strBig);
        EXPECT_EQ(strBig, "kept:" + c.strUtf8) << "big-endian, appended";
    }
}

TEST(Codepage, ConvertsToAnsiOnlyWhatTheCodePageHolds)
{
#ifdef _WIN32
    // The expectations are those of Windows-1252 (and of Latin-1 natively).
    if (GetACP() != 1252)
        GTEST_SKIP() << "ANSI code page " << GetACP();
#endif
    const struct {
        CString strUtf8;
        const char* pszAnsi;  // null: refused
    } cases[] = {
        {"C:\\Tools\\diag.exe", "C:\\Tools\\diag.exe"},
        {"C:\\Tools\\Pr\xC3\xBC"
         "fung\\d.exe",
         "C:\\Tools\\Pr\xFC"
         "fung\\d.exe"},
        {"\xC2\xB5\xC3\xBF", "\xB5\xFF"},
        {"C:\\\xC4\x81\\x.exe", nullptr},  // a-macron: best fit would make it "a"
        {"\xE4\xB8\xAD", nullptr},
        {"\xF0\x9F\x98\x80", nullptr},
        {"\xC3", nullptr},
        {"Pr\xFC"
         "fung",
         nullptr},
        {"\xED\xA0\x80", nullptr},
    };
    for (const auto& c : cases) {
        CString strAnsi = "untouched";
        EXPECT_EQ(zobrel::Utf8toansi(c.strUtf8, strAnsi), c.pszAnsi != nullptr) << testing::PrintToString(c.strUtf8);
        EXPECT_EQ(strAnsi, c.pszAnsi ? c.pszAnsi : "untouched") << testing::PrintToString(c.strUtf8);
    }
    CString strText =
        "Gr\xC3\xBC\xC3\x9F"
        "e\0x"s;
    ASSERT_TRUE(zobrel::Utf8toansi(strText, strText)) << "in place, NUL included";
    EXPECT_EQ(strText,
              "Gr\xFC\xDF"
              "e\0x"s);
}

}  // namespace
