#pragma once
// A modal dialog from a resource template, with the frame's default handling:
// the application's dialog colours, OK and Cancel end the dialog.
#include <windows.h>

class CDialogBase {
public:
    CDialogBase(int nTemplateId, HWND hParent);
    virtual ~CDialogBase() = default;
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // The dialog's result; -1 when its window could not be created.
    INT_PTR DoModal();

protected:
    // The dialog's own messages; the result is what the dialog procedure returns.
    virtual INT_PTR WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    int m_nTemplateId;
    HWND m_hParent;
};
