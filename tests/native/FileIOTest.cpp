// FileIO over real files. Portable: the Wine build runs it too, since the
// Windows C runtime differs on folders, text mode and ^Z.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "TestFolder.h"
#include "lib/FileIO.h"

namespace {

namespace fs = std::filesystem;

class FileIOTest : public ::testing::Test {
protected:
    fs::path m_dir;
    zobrel::FileIO m_file;

    void SetUp() override { m_dir = MakeTestFolder("tarvick-fileio-"); }

    void TearDown() override
    {
        m_file.Close();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    CString PathOf(const char* pszName) const { return (m_dir / pszName).string(); }

    CString Write(const char* pszName, const CString& strBytes) const
    {
        const CString strPath = PathOf(pszName);
        std::ofstream(strPath, std::ios::binary) << strBytes;
        return strPath;
    }

    static CString Read(const CString& strPath)
    {
        std::ifstream in(strPath, std::ios::binary);
        return CString((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    std::vector<CString> ReadLines(const CString& strPath)
    {
        std::vector<CString> lines;
        EXPECT_NE(m_file.Open(strPath, "r"), 0);
        CString strLine;
        for (int nLen; (nLen = m_file.Getline(strLine)) != -1;) {
            EXPECT_EQ(nLen, static_cast<int>(strLine.size()));
            lines.push_back(strLine);
        }
        EXPECT_EQ(m_file.Getline(strLine), -1) << "the end stays the end";
        EXPECT_EQ(strLine, "");
        EXPECT_NE(m_file.Close(), 0);
        return lines;
    }
};

struct LinesCase {
    const char* pszName;
    CString strBytes;
    std::vector<CString> lines;
};

TEST_F(FileIOTest, GetlineSplitsLinesAndKeepsEveryByte)
{
    using namespace std::string_literals;
    const LinesCase cases[] = {
        {"empty", "", {}},
        {"mixed ends", "a\r\nb\nc", {"a", "b", "c"}},
        {"blank lines", "\n\r\n\n", {"", "", ""}},
        {"lone CR is data", "a\rb\n", {"a\rb"}},
        {"CR before the end of file", "last\r", {"last"}},
        {"NUL, high bytes and ^Z", "x\0y\xff\x1a z\r\nnext"s, {"x\0y\xff\x1a z"s, "next"}},
    };
    for (const LinesCase& c : cases)
        EXPECT_EQ(ReadLines(Write("lines.txt", c.strBytes)), c.lines) << c.pszName;
}

TEST_F(FileIOTest, GetlineReadsLinesOfSeveralMebibytes)
{
    CString strLong(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < strLong.size(); ++i)
        strLong[i] = static_cast<char>('a' + i % 23);
    const std::vector<CString> lines = ReadLines(Write("long.txt", strLong + "\r\ntail\n"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0] == strLong) << "length " << lines[0].size();
    EXPECT_EQ(lines[1], "tail");
}

TEST_F(FileIOTest, GetallReadsTheRestUpToItsLimit)
{
    using namespace std::string_literals;
    const CString strRest = "x\0y\r\n\x1a\xff\r"s + CString(200 * 1024, 'z');
    const CString strPath = Write("all.txt", "first\r\n" + strRest);
    CString strAll = "stale";
    EXPECT_EQ(m_file.Getall(strAll, 100), -1) << "nothing open";
    EXPECT_EQ(strAll, "");

    const int nSize = static_cast<int>(strRest.size());
    const struct {
        int nMax;
        int nResult;
    } cases[] = {{nSize, nSize}, {INT_MAX, nSize}, {nSize - 1, -1}, {0, -1}, {-1, -1}};
    for (const auto& c : cases) {
        ASSERT_NE(m_file.Open(strPath, "r"), 0);
        CString strLine;
        m_file.Getline(strLine);
        strAll = "stale";
        EXPECT_EQ(m_file.Getall(strAll, c.nMax), c.nResult) << "limit " << c.nMax;
        EXPECT_TRUE(strAll == (c.nResult < 0 ? CString() : strRest)) << "limit " << c.nMax;
        if (c.nResult >= 0) {
            EXPECT_EQ(m_file.Getall(strAll, c.nMax), 0) << "nothing after the end, limit " << c.nMax;
        }
        EXPECT_NE(m_file.Close(), 0);
    }
    ASSERT_NE(m_file.Open(Write("empty.txt", ""), "r"), 0);
    EXPECT_EQ(m_file.Getall(strAll, 0), 0);
}

TEST_F(FileIOTest, PutlineWritesWholeLinesEndedByCrLf)
{
    const CString strPath = PathOf("out.txt");
    ASSERT_NE(m_file.Open(strPath, "w"), 0);
    EXPECT_NE(m_file.Putline("CHKDSK.EXE C: /F", true), 0);
    EXPECT_NE(m_file.Putline(CString("pau"), false), 0);
    EXPECT_NE(m_file.Putline("se", true), 0);
    EXPECT_NE(m_file.Putline(nullptr, true), 0);
    EXPECT_NE(m_file.Close(), 0);
    EXPECT_EQ(Read(strPath), "CHKDSK.EXE C: /F\r\npause\r\n\r\n");
}

TEST_F(FileIOTest, WriteModeStartsTheFileEmpty)
{
    const CString strPath = Write("out.txt", "a much longer stale line\r\npause\r\n");
    ASSERT_NE(m_file.Open(strPath, "w"), 0);
    m_file.Putline("new", true);
    EXPECT_NE(m_file.Close(), 0);
    EXPECT_EQ(Read(strPath), "new\r\n");
}

TEST_F(FileIOTest, OpentestNeedsAReadableFile)
{
    EXPECT_NE(m_file.Opentest(Write("present.ini", "1 x\n")), 0);
    EXPECT_NE(m_file.Opentest(Write("empty.ini", "")), 0) << "empty but readable";
    EXPECT_EQ(m_file.Opentest(PathOf("missing.ini")), 0);
    EXPECT_EQ(m_file.Opentest(m_dir.string()), 0) << "a folder";
    EXPECT_EQ(m_file.Opentest(""), 0);
}

TEST_F(FileIOTest, AfterAFailedOpenNothingIsWrittenAndEveryResultSaysSo)
{
    const CString strMissingFolder = PathOf("no such folder/sfc.bat");
    const CString strStale = Write("stale.bat", "stale\r\n");
    struct {
        const char* pszName;
        CString strPath;
        const char* pszMode;
    } cases[] = {
        {"missing folder", strMissingFolder, "w"},
        {"folder as file", m_dir.string(), "w"},
        {"missing file to read", PathOf("missing.txt"), "r"},
        {"append mode", strStale, "a"},
        {"no mode", strStale, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m_file.Open(c.strPath, c.pszMode), 0) << c.pszName;
        EXPECT_EQ(m_file.Putline("CHKDSK.EXE C: /F", true), 0) << c.pszName;
        CString strLine = "old";
        EXPECT_EQ(m_file.Getline(strLine), -1) << c.pszName;
        EXPECT_EQ(strLine, "") << c.pszName;
        EXPECT_EQ(m_file.Close(), 0) << c.pszName;
    }
    EXPECT_FALSE(fs::exists(strMissingFolder));
    EXPECT_EQ(Read(strStale), "stale\r\n");
}

TEST_F(FileIOTest, OpeningAgainClosesTheFirstFileWithItsData)
{
    const CString strFirst = PathOf("first.txt");
    ASSERT_NE(m_file.Open(strFirst, "w"), 0);
    m_file.Putline("kept", true);
    ASSERT_NE(m_file.Open(Write("second.txt", "x\n"), "r"), 0);
    EXPECT_EQ(Read(strFirst), "kept\r\n");
    EXPECT_NE(m_file.Close(), 0);
    EXPECT_EQ(m_file.Close(), 0) << "nothing left to close";
}

#ifdef __linux__
TEST_F(FileIOTest, CloseReportsWhatTheBufferCouldNotWrite)
{
    // /dev/full accepts the open and the buffered writes, and fails the flush.
    ASSERT_NE(m_file.Open("/dev/full", "w"), 0);
    EXPECT_NE(m_file.Putline("CHKDSK.EXE C: /F", true), 0);
    EXPECT_EQ(m_file.Close(), 0);
}
#endif

}  // namespace
