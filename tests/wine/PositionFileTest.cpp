// The position file under Wine: it is saved through a temporary name beside
// it, and the elevated program must not follow whatever another account
// planted at that name (a hard link or a symbolic link to some other file)
// and overwrite or create that file.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "lib/Placement.h"
#include "lib/Screen.h"

namespace {

enum class Plant { HARDLINK_TO_VICTIM, SYMLINK_TO_VICTIM, SYMLINK_TO_MISSING, FOLDER };

struct Case {
    const char* pszName;
    Plant plant;
};

const char OLD_POSITION[] = "zobrel-placement 1\r\nnormal 300 200 800 600\r\nmaximized 0\r\n";
const char VICTIM[] = "a file the position file must never overwrite\r\n";

std::string Readall(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void Writeall(const std::string& strPath, const std::string& strText)
{
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file << strText;
}

bool Exists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class PositionFileTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        char szTemp[MAX_PATH] = {};
        GetTempPathA(sizeof szTemp, szTemp);
        m_strFolder = std::string(szTemp) + "tarvick-posfile-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_strFolder.c_str(), nullptr);
        CreateDirectoryA((m_strFolder + "\\data").c_str(), nullptr);
        CreateDirectoryA((m_strFolder + "\\data\\Tarvick").c_str(), nullptr);
        m_strPath = m_strFolder + "\\data\\Tarvick\\Tarvick.pos";
        m_strTemp = m_strPath + ".new";
        m_strVictim = m_strFolder + "\\victim.txt";
        m_strMissing = m_strFolder + "\\created.txt";
        Writeall(m_strVictim, VICTIM);
        Writeall(m_strPath, OLD_POSITION);

        // Hidden: Smove needs a window placement, not a window on screen.
        m_hWnd = CreateWindowExA(0, "STATIC", "Tarvick", WS_POPUP | WS_CAPTION, 130, 90, 600, 500, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(m_hWnd, nullptr);
    }

    void TearDown() override
    {
        if (m_hWnd)
            DestroyWindow(m_hWnd);
        for (const std::string& str : {m_strTemp, m_strPath, m_strVictim, m_strMissing})
            DeleteFileA(str.c_str());
        RemoveDirectoryA(m_strTemp.c_str());
        RemoveDirectoryA((m_strFolder + "\\data\\Tarvick").c_str());
        RemoveDirectoryA((m_strFolder + "\\data").c_str());
        RemoveDirectoryA(m_strFolder.c_str());
    }

    // The position file holds this window's current placement.
    void ExpectSaved()
    {
        const std::string strText = Readall(m_strPath);
        zobrel::Placement placement;
        ASSERT_TRUE(zobrel::Parseplacement(strText.data(), strText.size(), placement)) << strText;
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof wp;
        ASSERT_TRUE(GetWindowPlacement(m_hWnd, &wp));
        EXPECT_EQ(placement.m_rcNormal.left, wp.rcNormalPosition.left);
        EXPECT_EQ(placement.m_rcNormal.top, wp.rcNormalPosition.top);
        EXPECT_EQ(placement.m_rcNormal.right, wp.rcNormalPosition.right);
        EXPECT_EQ(placement.m_rcNormal.bottom, wp.rcNormalPosition.bottom);
    }

    std::string m_strFolder, m_strPath, m_strTemp, m_strVictim, m_strMissing;
    HWND m_hWnd = nullptr;
};

TEST_P(PositionFileTest, WhatIsPlantedAtTheTemporaryNameIsNeverWrittenThrough)
{
    const DWORD SYMLINK_UNPRIVILEGED = 0x2;
    switch (GetParam().plant) {
        case Plant::HARDLINK_TO_VICTIM:
            ASSERT_TRUE(CreateHardLinkA(m_strTemp.c_str(), m_strVictim.c_str(), nullptr)) << GetLastError();
            break;
        case Plant::SYMLINK_TO_VICTIM:
        case Plant::SYMLINK_TO_MISSING: {
            const std::string& strTarget = GetParam().plant == Plant::SYMLINK_TO_VICTIM ? m_strVictim : m_strMissing;
            // Wine 8 reports success but creates nothing: look for the link.
            const BOOL bMade = CreateSymbolicLinkA(m_strTemp.c_str(), strTarget.c_str(), SYMLINK_UNPRIVILEGED);
            const DWORD nAttributes = GetFileAttributesA(m_strTemp.c_str());
            if (!bMade || nAttributes == INVALID_FILE_ATTRIBUTES || !(nAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                GTEST_SKIP() << "this Wine cannot create a symbolic link to a file";
            break;
        }
        case Plant::FOLDER: ASSERT_TRUE(CreateDirectoryA(m_strTemp.c_str(), nullptr)); break;
    }

    zobrel::Screen::Smove(m_hWnd, 0, m_strPath);

    EXPECT_EQ(Readall(m_strVictim), VICTIM) << "the victim was written through the planted link";
    EXPECT_FALSE(Exists(m_strMissing)) << "a file was created through the planted link";
    if (GetParam().plant == Plant::FOLDER) {
        // Nothing can be put at the temporary name: the save gives up and
        // the old file stays as it was.
        EXPECT_EQ(Readall(m_strPath), OLD_POSITION);
    } else {
        ExpectSaved();
        EXPECT_FALSE(Exists(m_strTemp)) << "the temporary name is left behind";
    }
}

INSTANTIATE_TEST_SUITE_P(Plants, PositionFileTest,
                         ::testing::Values(Case{"HardLinkToVictim", Plant::HARDLINK_TO_VICTIM},
                                           Case{"SymlinkToVictim", Plant::SYMLINK_TO_VICTIM},
                                           Case{"SymlinkToMissingFile", Plant::SYMLINK_TO_MISSING},
                                           Case{"FolderAtTheTemporaryName", Plant::FOLDER}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.pszName); });

}  // namespace
