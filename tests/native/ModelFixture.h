#pragma once
// Puts the program-wide state back to a fresh start for every test: filled
// tables, CHKDSK chosen, rules applied, and a fake drive table in place of
// the system's drives.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "lib/UtilityLog.h"
#include "model/Globals.h"
#include "model/Rules.h"

struct FakeDrive {
    unsigned nType;
    const char* pszFsName;  // null: the volume query fails and leaves the buffer
};

// Drives from a table, the clock, and the batch file's guard and console as
// a record of events in the order they happened.
class CFakeSystem : public zobrel::ISystem {
public:
    std::map<char, FakeDrive> m_drives;
    std::vector<CString> m_queries;
    std::vector<unsigned> m_sleeps;
    std::vector<CString> m_events;  // "hold <path>", "write <text>", "verify", "sleep 250", "start", "release"
    CString m_strWritten;           // what the last Writebatch wrote
    CString m_strHeld;              // the path held, "" when none
    bool m_bConsoleOpen = false;    // the console of the last start is open
    int m_nStarts = 0;              // consoles started
    CString m_strFailAt;            // "hold", "write", "verify" or "start" fails, with m_strReason
    CString m_strReason = "Access is denied.";

    unsigned Drivetype(const CString& strRoot) override
    {
        m_queries.push_back(strRoot);
        // A valid root is a letter, a colon and a backslash, any case.
        if (strRoot.size() != 3 || strRoot[1] != ':' || strRoot[2] != '\\')
            return 1;
        auto it = m_drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(strRoot[0]))));
        return it == m_drives.end() ? 1 : it->second.nType;
    }

    bool Fsname(const CString& strRoot, char* pBuffer, unsigned nSize) override
    {
        auto it = m_drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(strRoot[0]))));
        if (it == m_drives.end() || !it->second.pszFsName)
            return false;
        // Like the real query: a name that does not fit with its zero fails.
        const std::size_t nLen = std::strlen(it->second.pszFsName);
        if (nLen + 1 > nSize)
            return false;
        std::memcpy(pBuffer, it->second.pszFsName, nLen + 1);
        return true;
    }

    void Sleep(unsigned nMilliseconds) override
    {
        m_sleeps.push_back(nMilliseconds);
        m_events.push_back("sleep " + std::to_string(nMilliseconds));
    }

    CString Systemfolder() override { return "C:\\Windows\\System32"; }

    bool Holdbatch(const CString& strPath, CString& strReason) override
    {
        m_events.push_back("hold " + strPath);
        if (!Step("hold", strReason))
            return false;
        m_strHeld = strPath;
        return true;
    }

    bool Writebatch(const CString& strText, CString& strReason) override
    {
        m_events.push_back("write " + strText);
        if (!Step("write", strReason))
            return false;
        m_strWritten = strText;
        return true;
    }

    bool Verifybatch(const CString&, CString& strReason) override
    {
        m_events.push_back("verify");
        return Step("verify", strReason);
    }

    bool Startbatch(CString& strReason) override
    {
        m_events.push_back("start");
        if (!Step("start", strReason))
            return false;
        m_bConsoleOpen = true;
        ++m_nStarts;
        return true;
    }

    bool Batchbusy() override
    {
        if (!m_bConsoleOpen && !m_strHeld.empty() && m_bStarted)
            Releasebatch();
        return m_bConsoleOpen;
    }

    void Releasebatch() override
    {
        m_events.push_back("release");
        m_strHeld.clear();
        m_bStarted = false;
    }

    // The user closes the console of the last run.
    void CloseConsole() { m_bConsoleOpen = false; }

private:
    bool m_bStarted = false;

    bool Step(const char* pszStep, CString& strReason)
    {
        if (m_strFailAt == pszStep) {
            strReason = m_strReason;
            return false;
        }
        if (std::strcmp(pszStep, "start") == 0)
            m_bStarted = true;
        return true;
    }
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
        g_batchPath = "C:\\Users\\me\\Temp\\sfc.bat";
        zobrel::g_executeLog.clear();
        zobrel::g_executeFailures.clear();
        FillTables();
        StartSelection();
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
