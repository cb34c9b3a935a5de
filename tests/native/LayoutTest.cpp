#include <gtest/gtest.h>

#include <set>

#include "app/Layout.h"
#include "model/Catalog.h"

namespace {

using zobrel::Rect;

const ControlSpec* Find(ControlKind nKind, int nId)
{
    for (const ControlSpec& control : ControlLayout())
        if (control.m_nKind == nKind && control.m_nId == nId)
            return &control;
    return nullptr;
}

TEST(Layout, CreationOrderIsButtonsEditsOptionsToolsDeviceLabel)
{
    std::vector<ControlKind> kinds;
    for (const ControlSpec& control : ControlLayout())
        kinds.push_back(control.m_nKind);
    std::vector<ControlKind> expected = {ControlKind::PushButton, ControlKind::PushButton, ControlKind::PushButton,
                                         ControlKind::EditBox, ControlKind::EditBox};
    expected.insert(expected.end(), OPTION_ROWS, ControlKind::OptionRow);
    expected.insert(expected.end(), TOOL_ROWS, ControlKind::ToolRow);
    expected.push_back(ControlKind::Label);
    EXPECT_EQ(kinds, expected);

    const auto& layout = ControlLayout();
    EXPECT_EQ(layout[0].m_nId, 10);
    EXPECT_EQ(layout[1].m_nId, 11);
    EXPECT_EQ(layout[2].m_nId, 15);
    EXPECT_EQ(layout[3].m_nId, 50);
    EXPECT_EQ(layout[4].m_nId, 51);
    // Rows name their records: each table row once, in table order.
    for (int i = 0; i < OPTION_ROWS; ++i)
        EXPECT_EQ(layout[5 + i].m_nId, i);
    for (int t = 0; t < TOOL_ROWS; ++t)
        EXPECT_EQ(layout[5 + OPTION_ROWS + t].m_nId, t);
}

struct FixedControl {
    ControlKind nKind;
    int nId;
    Rect rect;
    std::uint32_t dwStyle;
    zobrel::Colorref crText, crBack;
    const char* pszCaption;
};

TEST(Layout, FixedControlsHaveTheirPlacesStylesColoursAndCaptions)
{
    const FixedControl controls[] = {
        {ControlKind::PushButton, 10, {600, 570, 680, 620}, 0x50011F0B, 0x00FFFF, 0, "Process"},
        {ControlKind::PushButton, 11, {600, 650, 680, 700}, 0x50011F0B, 0xA0A0A0, 0, "Exit"},
        {ControlKind::PushButton, 15, {600, 280, 680, 330}, 0x50011F0B, 0xA0A0A0, 0, "Edit"},
        {ControlKind::EditBox, 50, {10, 390, 580, 710}, 0x50201804, 0x800000, 0xFFFFFF, ""},
        {ControlKind::EditBox, 51, {650, 520, 675, 545}, 0x50000080, 0, 0, ""},
        // A label never wraps: a second word must not drop out of sight.
        {ControlKind::Label, 63, {600, 520, 650, 545}, 0x5000000C, 0x800000, 0xFFFFFF, "Device"},
    };
    for (const FixedControl& c : controls) {
        SCOPED_TRACE(c.nId);
        const ControlSpec* pControl = Find(c.nKind, c.nId);
        ASSERT_NE(pControl, nullptr);
        EXPECT_EQ(pControl->m_rect, c.rect);
        EXPECT_EQ(pControl->m_dwStyle, c.dwStyle);
        EXPECT_EQ(pControl->m_crText, c.crText);
        EXPECT_EQ(pControl->m_crBack, c.crBack);
        EXPECT_EQ(pControl->m_strCaption, c.pszCaption);
    }
    const ControlSpec* pOutput = Find(ControlKind::EditBox, 50);
    EXPECT_EQ(pOutput->m_crText2, 0x800000u);
    EXPECT_EQ(pOutput->m_crBack2, 0xFFFFFFu);
}

TEST(Layout, RowsStandInTwoColumnsAndSplitIntoSquareAndLabel)
{
    struct {
        ControlKind nKind;
        int nRow;
        Rect row, button, label;
    } cases[] = {
        {ControlKind::OptionRow, 0, {20, 10, 320, 30}, {20, 10, 40, 30}, {40, 10, 320, 30}},
        {ControlKind::OptionRow, 8, {20, 250, 320, 270}, {20, 250, 40, 270}, {40, 250, 320, 270}},
        {ControlKind::OptionRow, 9, {350, 10, 650, 30}, {350, 10, 370, 30}, {370, 10, 650, 30}},
        {ControlKind::OptionRow, 14, {350, 160, 650, 180}, {350, 160, 370, 180}, {370, 160, 650, 180}},
        {ControlKind::ToolRow, 0, {600, 360, 680, 385}, {600, 360, 625, 385}, {625, 360, 680, 385}},
        {ControlKind::ToolRow, 3, {600, 480, 680, 505}, {600, 480, 625, 505}, {625, 480, 680, 505}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nRow);
        const ControlSpec* pControl = Find(c.nKind, c.nRow);
        ASSERT_NE(pControl, nullptr);
        EXPECT_EQ(pControl->m_rect, c.row);
        EXPECT_EQ(RowButtonRect(pControl->m_rect), c.button);
        EXPECT_EQ(RowLabelRect(pControl->m_rect), c.label);
        EXPECT_EQ(pControl->m_dwStyle, c.nKind == ControlKind::OptionRow ? 0x50000002u : 0x50000004u);
        EXPECT_EQ(pControl->m_crText, 0x800000u);
        EXPECT_EQ(pControl->m_crBack, 0xFFFFFFu);
    }
}

TEST(Layout, PushButtonsKnowTheStatusTextsTheyMayShow)
{
    const std::vector<CString> process = {"No Dev", "Offline", "Busy", "Failed"};
    EXPECT_EQ(Find(ControlKind::PushButton, IDC_PROCESS)->m_alternates, process);
    EXPECT_EQ(Find(ControlKind::PushButton, IDC_EDIT_SETTINGS)->m_alternates, std::vector<CString>{"Failed"});
    EXPECT_TRUE(Find(ControlKind::PushButton, IDC_EXIT)->m_alternates.empty());
}

TEST(Layout, PlacesEveryWindowOnceAtTheScale)
{
    // 1.5 across, 2 down: a row's button is as wide as the row is high.
    zobrel::Scale scale;
    scale.m_rcDesign = DESIGN_RECT;
    scale.m_nClientW = 1080;
    scale.m_nClientH = 1510;
    struct {
        ControlKind nKind;
        int nId;
        std::vector<std::pair<int, Rect>> placed;
    } cases[] = {
        {ControlKind::PushButton, IDC_EXIT, {{IDC_EXIT, {900, 1300, 1020, 1400}}}},
        {ControlKind::EditBox, IDC_DEVICE, {{IDC_DEVICE, {975, 1040, 1013, 1090}}}},
        {ControlKind::OptionRow, 9, {{209, {525, 20, 565, 60}}, {309, {565, 20, 975, 60}}}},
        {ControlKind::ToolRow, 3, {{403, {900, 960, 950, 1010}}, {503, {950, 960, 1020, 1010}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nId);
        std::vector<std::pair<int, Rect>> placed;
        for (const PlacedControl& window : Place(*Find(c.nKind, c.nId), scale))
            placed.emplace_back(window.m_nId, window.m_rect);
        EXPECT_EQ(placed, c.placed);
    }

    std::set<int> ids;
    std::size_t nWindows = 0;
    for (const ControlSpec& control : ControlLayout()) {
        for (const PlacedControl& window : Place(control, zobrel::Scale()))
            ids.insert(window.m_nId);
        nWindows += control.m_nKind == ControlKind::OptionRow || control.m_nKind == ControlKind::ToolRow ? 2 : 1;
    }
    EXPECT_EQ(ids.size(), nWindows) << "no ID twice";
    EXPECT_EQ(nWindows, 44u);
}

TEST(Layout, MinimisedIconIsCentredRoundingTowardZero)
{
    struct {
        std::int32_t cx, cy, x, y;
    } cases[] = {{36, 36, 2, 2}, {37, 36, 3, 2}, {0, 0, -15, -15}, {33, 31, 1, 0}};
    for (const auto& c : cases) {
        const IconOrigin at = CentredIcon(c.cx, c.cy, 32, 32);
        EXPECT_EQ(at.x, c.x) << c.cx << " x " << c.cy;
        EXPECT_EQ(at.y, c.y) << c.cx << " x " << c.cy;
    }
}

// The numbers other programs and the tests rely on.
TEST(Layout, ControlIdsAndColoursAreTheFixedOnes)
{
    EXPECT_EQ((std::vector<int>{IDC_PROCESS, IDC_EXIT, IDC_EDIT_SETTINGS, IDC_OUTPUT, IDC_DEVICE, IDC_DEVICE_LABEL}),
              (std::vector<int>{10, 11, 15, 50, 51, 63}));
    EXPECT_EQ((std::vector<int>{IDC_OPTION_BOX, IDC_OPTION_LABEL, IDC_TOOL_RADIO, IDC_TOOL_LABEL}),
              (std::vector<int>{200, 300, 400, 500}));
    EXPECT_EQ((std::vector<zobrel::Colorref>{CLR_NAVY, CLR_WHITE, CLR_YELLOW, CLR_GREY, CLR_RED, CLR_GREEN}),
              (std::vector<zobrel::Colorref>{0x800000, 0xFFFFFF, 0x00FFFF, 0xA0A0A0, 255, 65280}));
    EXPECT_TRUE(DESIGN_RECT == (Rect{0, 0, 720, 755}));
}

TEST(Layout, OnlyThePushButtonsAreTabStops)
{
    constexpr std::uint32_t WS_TABSTOP_BIT = 0x00010000;
    std::vector<int> tabStops;
    for (const ControlSpec& control : ControlLayout())
        if (control.m_dwStyle & WS_TABSTOP_BIT)
            tabStops.push_back(control.m_nId);
    EXPECT_EQ(tabStops, (std::vector<int>{10, 11, 15}));
}

}  // namespace
