#include "DialogBase.h"

#include "AppBase.h"

CDialogBase::CDialogBase(int nTemplateId, HWND hParent) : m_nTemplateId(nTemplateId), m_hParent(hParent) {}

INT_PTR CDialogBase::DoModal()
{
    HINSTANCE hInstance = AfxApp() ? AfxApp()->m_hInstance : GetModuleHandleA(nullptr);
    return DialogBoxParamA(hInstance, MAKEINTRESOURCEA(m_nTemplateId), m_hParent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CDialogBase* pDlg = nullptr;
    if (uMsg == WM_INITDIALOG) {
        pDlg = reinterpret_cast<CDialogBase*>(lParam);
        pDlg->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
    } else {
        pDlg = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, sizing) get the default handling.
    if (!pDlg)
        return FALSE;
    const INT_PTR nResult = pDlg->WindowProc(uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        pDlg->m_hWnd = nullptr;
    }
    return nResult;
}

INT_PTR CDialogBase::WindowProc(UINT uMsg, WPARAM wParam, LPARAM)
{
    switch (uMsg) {
        case WM_INITDIALOG: return OnInitDialog();
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (CAppBase* pApp = AfxApp(); pApp && pApp->DialogBrush()) {
                HDC hDC = reinterpret_cast<HDC>(wParam);
                SetTextColor(hDC, pApp->DialogTextColor());
                SetBkColor(hDC, pApp->DialogBkColor());
                return reinterpret_cast<INT_PTR>(pApp->DialogBrush());
            }
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                OnOK();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                OnCancel();
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

BOOL CDialogBase::OnInitDialog()
{
    return TRUE;
}

void CDialogBase::OnOK()
{
    EndDialog(m_hWnd, IDOK);
}

void CDialogBase::OnCancel()
{
    EndDialog(m_hWnd, IDCANCEL);
}
