#pragma once
// The thin application frame: one program-wide application object whose
// InitInstance runs the program, and the default dialog colours it sets.
#include <windows.h>

class CAppBase {
public:
    CAppBase();
    virtual ~CAppBase();
    CAppBase(const CAppBase&) = delete;
    CAppBase& operator=(const CAppBase&) = delete;

    // Runs the program; false ends it without a message loop of its own.
    virtual BOOL InitInstance() = 0;

    // Background and text colour of the application's dialog boxes.
    void SetDialogBkColor(COLORREF crBack, COLORREF crText);
    COLORREF DialogBkColor() const { return m_crDialogBack; }
    COLORREF DialogTextColor() const { return m_crDialogText; }
    HBRUSH DialogBrush() const { return m_hDialogBrush; }

    HINSTANCE m_hInstance = nullptr;
    int m_nExitCode = 0;  // the process's, once InitInstance returns

private:
    COLORREF m_crDialogBack;
    COLORREF m_crDialogText;
    HBRUSH m_hDialogBrush = nullptr;
};

// The one application object, set by its constructor.
CAppBase* AfxApp();
