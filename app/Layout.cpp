#include "Layout.h"

#include <utility>

#include "model/Catalog.h"
#include "model/Compose.h"
#include "model/Launch.h"

namespace {

std::vector<ControlSpec> BuildLayout()
{
    std::vector<ControlSpec> layout;
    auto push = [&](int nId, zobrel::Rect rc, const char* pszCaption, zobrel::Colorref crText,
                    std::vector<CString> alternates) {
        ControlSpec control;
        control.m_nKind = ControlKind::PushButton;
        control.m_nId = nId;
        control.m_rect = rc;
        control.m_dwStyle = STYLE_PUSH;
        control.m_strCaption = pszCaption;
        control.m_crText = crText;
        control.m_alternates = std::move(alternates);
        layout.push_back(control);
    };
    push(IDC_PROCESS, {600, 570, 680, 620}, "Process", CLR_YELLOW,
         {STATUS_NO_DEVICE, STATUS_OFFLINE, STATUS_BUSY, STATUS_FAILED});
    push(IDC_EXIT, {600, 650, 680, 700}, "Exit", CLR_GREY, {});
    push(IDC_EDIT_SETTINGS, {600, 280, 680, 330}, "Edit", CLR_GREY, {STATUS_FAILED});

    ControlSpec output;
    output.m_nKind = ControlKind::EditBox;
    output.m_nId = IDC_OUTPUT;
    output.m_rect = {10, 390, 580, 710};
    output.m_dwStyle = STYLE_OUTPUT;
    output.m_crText = output.m_crText2 = CLR_NAVY;
    output.m_crBack = output.m_crBack2 = CLR_WHITE;
    layout.push_back(output);

    ControlSpec device;  // equal colours: the system's default ones
    device.m_nKind = ControlKind::EditBox;
    device.m_nId = IDC_DEVICE;
    device.m_rect = {650, 520, 675, 545};
    device.m_dwStyle = STYLE_DEVICE;
    layout.push_back(device);

    // Two columns of switches: rows 0 to 8 (help last), then 9 to 14.
    for (int i = 0; i < OPTION_ROWS; ++i) {
        const int nColumnLeft = i <= HELP_ROW ? 20 : 350;
        const int nTop = 10 + 30 * (i <= HELP_ROW ? i : i - HELP_ROW - 1);
        ControlSpec row;
        row.m_nKind = ControlKind::OptionRow;
        row.m_nId = i;
        row.m_rect = {nColumnLeft, nTop, nColumnLeft + 300, nTop + 20};
        row.m_dwStyle = STYLE_CHECK;
        row.m_crText = CLR_NAVY;
        row.m_crBack = CLR_WHITE;
        layout.push_back(row);
    }
    for (int i = 0; i < TOOL_ROWS; ++i) {
        const int nTop = 360 + 40 * i;
        ControlSpec row;
        row.m_nKind = ControlKind::ToolRow;
        row.m_nId = i;
        row.m_rect = {600, nTop, 680, nTop + 25};
        row.m_dwStyle = STYLE_RADIO;
        row.m_crText = CLR_NAVY;
        row.m_crBack = CLR_WHITE;
        layout.push_back(row);
    }

    ControlSpec label;
    label.m_nKind = ControlKind::Label;
    label.m_nId = IDC_DEVICE_LABEL;
    label.m_rect = {600, 520, 650, 545};
    label.m_dwStyle = STYLE_LABEL;
    label.m_strCaption = "Device";
    label.m_crText = CLR_NAVY;
    label.m_crBack = CLR_WHITE;
    layout.push_back(label);
    return layout;
}

}  // namespace

const std::vector<ControlSpec>& ControlLayout()
{
    static const std::vector<ControlSpec> s_layout = BuildLayout();
    return s_layout;
}

std::vector<PlacedControl> Place(const ControlSpec& control, const zobrel::Scale& scale)
{
    const zobrel::Rect rc = scale.Map(control.m_rect);
    switch (control.m_nKind) {
        case ControlKind::OptionRow:
            return {{IDC_OPTION_BOX + control.m_nId, RowButtonRect(rc)},
                    {IDC_OPTION_LABEL + control.m_nId, RowLabelRect(rc)}};
        case ControlKind::ToolRow:
            return {{IDC_TOOL_RADIO + control.m_nId, RowButtonRect(rc)},
                    {IDC_TOOL_LABEL + control.m_nId, RowLabelRect(rc)}};
        default: return {{control.m_nId, rc}};
    }
}

zobrel::Rect RowButtonRect(const zobrel::Rect& rcRow)
{
    const std::int32_t h = rcRow.bottom - rcRow.top;
    return {rcRow.left, rcRow.top, rcRow.left + h, rcRow.bottom};
}

IconOrigin CentredIcon(std::int32_t cxClient, std::int32_t cyClient, std::int32_t cxIcon, std::int32_t cyIcon)
{
    return {(cxClient - cxIcon + 1) / 2, (cyClient - cyIcon + 1) / 2};
}

zobrel::Rect RowLabelRect(const zobrel::Rect& rcRow)
{
    const std::int32_t h = rcRow.bottom - rcRow.top;
    return {rcRow.left + h, rcRow.top, rcRow.right, rcRow.bottom};
}
