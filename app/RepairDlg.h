#pragma once
#include "DialogBase.h"
#include "model/Dispatch.h"

struct ControlSpec;

class CRepairDlg : public CDialogBase, public IDialogHost {
public:
    CRepairDlg();

protected:
    INT_PTR WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

private:
    BOOL OnPaint();
    INT_PTR OnQueryDragIcon();
    LRESULT OnWidgetNotify(WPARAM wParam, LPARAM lParam);
    BOOL OnTimer(UINT_PTR nIdEvent);
    BOOL OnDestroy();
    BOOL OnSize(UINT nType, int cx, int cy);
    BOOL OnDpiChanged(UINT nDpi, const RECT* pSuggested);

    void ReadSettings();
    void CreateControl(const ControlSpec& control);
    // Moves every control to its design rectangle at the current scale.
    void Relayout();
    // Gives every control the font fitted to the current scale; a new font
    // only when the fitted height changed, unless bRenew.
    void Fitfont(bool bRenew);

    // IDialogHost
    void EndOk() override;
    void ReloadSettings() override;

    HICON m_hIcon;
    bool m_bCreated = false;    // every control exists
    bool m_bMinimised = false;  // the last size was a minimise
    int m_nFontHeight = 0;      // of g_hFont, in pixels
};
