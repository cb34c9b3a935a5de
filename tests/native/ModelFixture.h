#pragma once
// Puts the program-wide state back to a fresh start for every test: filled
// tables, CHKDSK chosen, rules applied, and a fake drive table in place of
// the system's drives.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "lib/UtilityLog.h"
#include "model/Globals.h"
#include "model/Rules.h"

struct FakeDrive {
    unsigned nType;
    const char* pszFsName;  // null: the volume query fails and leaves the buffer
};

class CFakeSystem : public zobrel::ISystem {
public:
    std::map<char, FakeDrive> m_drives;
    std::vector<CString> m_queries;
    std::vector<unsigned> m_sleeps;

    unsigned Drivetype(const CString& strRoot) override
    {
        m_queries.push_back(strRoot);
        // A valid root is a letter, a colon and a backslash, any case.
        if (strRoot.size() != 3 || strRoot[1] != ':' || strRoot[2] != '\\')
            return 1;
        auto it = m_drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(strRoot[0]))));
        return it == m_drives.end() ? 1 : it->second.nType;
    }

    void Fsname(const CString& strRoot, char* pBuffer, unsigned nSize) override
    {
        auto it = m_drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(strRoot[0]))));
        if (it == m_drives.end() || !it->second.pszFsName)
            return;
        // Like the real query: a name that does not fit with its zero fails.
        const std::size_t nLen = std::strlen(it->second.pszFsName);
        if (nLen + 1 > nSize)
            return;
        std::memcpy(pBuffer, it->second.pszFsName, nLen + 1);
    }

    void Sleep(unsigned nMilliseconds) override { m_sleeps.push_back(nMilliseconds); }
};

class ModelTest : public ::testing::Test {
protected:
    CFakeSystem m_system;

    void SetUp() override
    {
        m_system.m_drives = {{'C', {3, "NTFS"}}, {'D', {3, "FAT32"}}, {'E', {2, nullptr}}, {'R', {5, "CDFS"}}};
        g_pSystem = &m_system;
        ResetWidgets();
        g_cmdLine.clear();
        g_cmdArgs.clear();
        g_rootPath.clear();
        std::memset(g_fsName, 0, sizeof g_fsName);
        g_editorPath = "C:\\Windows\\System32\\notepad.exe";
        g_batchPath = ::testing::TempDir() + "sfc.bat";
        zobrel::g_executeLog.clear();
        FillTables();
        g_currentTool = TOOL_CHKDSK;
        g_toolRadio[0].SetCheck(true);
        g_volumeClass = VC_NONE;
        ApplyOptionRules();
    }

    void TearDown() override { g_pSystem = &zobrel::Hostsystem(); }

    static void ResetButton(zobrel::CustButton& button)
    {
        button.m_bHot = false;
        button.m_bClicked = false;
        button.m_bMarked = false;
        button.m_bVisible = true;
        button.m_nSnaps = 0;
        button.m_strCaption.clear();
        button.m_crText = 0;
    }

    static void ResetWidgets()
    {
        for (auto* pButton : {&g_btnProcess, &g_btnExit, &g_btnEdit})
            ResetButton(*pButton);
        for (auto& box : g_optionBox)
            ResetButton(box);
        for (auto& radio : g_toolRadio)
            ResetButton(radio);
        // A created window, so that pointer moves are recorded.
        g_btnExit.m_hWnd = &g_btnExit;
        g_editDevice.m_strText.clear();
        g_editOutput.SetText("", nullptr);
        for (auto& label : g_toolLabel)
            label.m_strCaption.clear();
    }

    static void Tick(int i)
    {
        if (!OptionTable[i].m_bChecked)
            ToggleOption(i);
    }

    static std::vector<int> VisibleRows()
    {
        std::vector<int> rows;
        for (int i = 0; i < g_optionCount; ++i) {
            const bool bShown = OptionTable[i].m_bApplicable;
            EXPECT_EQ(bShown, OptionTable[i].m_pButton->IsVisible()) << "row " << i;
            EXPECT_EQ(bShown, OptionTable[i].m_pLabel->IsVisible()) << "row " << i;
            if (bShown)
                rows.push_back(i);
        }
        return rows;
    }
};
