#include "AppBase.h"

#include <commctrl.h>
#include <mbctype.h>

namespace {
CAppBase* s_pApp = nullptr;
}

CAppBase::CAppBase() : m_crDialogBack(GetSysColor(COLOR_BTNFACE)), m_crDialogText(GetSysColor(COLOR_WINDOWTEXT))
{
    s_pApp = this;
}

CAppBase::~CAppBase()
{
    if (m_hDialogBrush)
        DeleteObject(m_hDialogBrush);
    if (s_pApp == this)
        s_pApp = nullptr;
}

void CAppBase::SetDialogBkColor(COLORREF crBack, COLORREF crText)
{
    if (m_hDialogBrush)
        DeleteObject(m_hDialogBrush);
    m_crDialogBack = crBack;
    m_crDialogText = crText;
    m_hDialogBrush = CreateSolidBrush(crBack);
}

CAppBase* AfxApp()
{
    return s_pApp;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    // Multibyte string functions follow the system's ANSI code page.
    _setmbcp(_MB_CP_ANSI);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    CAppBase* pApp = AfxApp();
    if (!pApp) {
        OutputDebugStringA("Tarvick: no application object\n");
        return 1;
    }
    pApp->m_hInstance = hInstance;
    pApp->InitInstance();
    return pApp->m_nExitCode;
}
