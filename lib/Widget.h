#pragma once
// Common part of the library's widgets: the window they own and what was last
// asked of it. The state is kept here on every platform, so the Win32 side can
// paint from it and native tests can read it back.
#include "Types.h"

namespace zobrel {

enum class WidgetKind { Button, Static, Edit };

class Widget {
public:
    explicit Widget(WidgetKind kind) : m_kind(kind) {}
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    // ShowWindow with SW_SHOW or SW_HIDE.
    void Show(bool bShow);
    bool IsVisible() const { return m_bVisible; }

    WidgetKind Kind() const { return m_kind; }

    // Gives the window another font; its text and colours stay as they are.
    void SetFont(FontHandle hFont);
    // The size (left and top 0) in which the window shows one line of text
    // in hFont: a push button's face inside its edge, an edit box's
    // formatting rectangle, any other window's client area. The window
    // keeps its own font.
    Rect Textroom(FontHandle hFont);

    WindowHandle m_hWnd = nullptr;  // null until created, and again once the window is destroyed
    WindowHandle m_hParent = nullptr;
    int m_nId = 0;
    std::uint32_t m_dwStyle = 0;
    Rect m_rcCreate;       // rectangle given at creation, parent client coordinates
    CString m_strCaption;  // text last given to the widget
    Colorref m_crText = 0;
    Colorref m_crBack = 0;
    FontHandle m_hFont = nullptr;
    bool m_bColored = false;  // false: the system's default colours apply
    bool m_bVisible = false;

protected:
    bool CreateAs(const char* pszCaption, std::uint32_t dwStyle, const Rect& rc, WindowHandle hParent, int nId);

private:
    WidgetKind m_kind;
};

}  // namespace zobrel
