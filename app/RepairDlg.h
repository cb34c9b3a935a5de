#pragma once
#include "DialogBase.h"
#include "lib/Screen.h"
#include "model/Dispatch.h"

struct ControlSpec;

class CRepairDlg : public CDialogBase, public IDialogHost {
public:
    CRepairDlg();

    void ReadSettings();

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

    void CreateControl(const ControlSpec& control, zobrel::Screen& screen);

    // IDialogHost
    void EndOk() override;
    void ReloadSettings() override;

    HICON m_hIcon;
};
