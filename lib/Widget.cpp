#include "Widget.h"

#include "CustButton.h"
#include "CustEdit.h"
#include "CustStatic.h"
#include "WidgetPlatform.h"

namespace zobrel {

bool Widget::CreateAs(const char* pszCaption, std::uint32_t dwStyle, const Rect& rc, WindowHandle hParent, int nId)
{
    m_hParent = hParent;
    m_nId = nId;
    m_dwStyle = dwStyle;
    m_rcCreate = rc;
    if (pszCaption)
        m_strCaption = pszCaption;
    m_bVisible = (dwStyle & 0x10000000u) != 0;  // WS_VISIBLE
    m_hWnd = platform::CreateWidget(*this, pszCaption ? pszCaption : "");
    return m_hWnd != nullptr;
}

void Widget::SetFont(FontHandle hFont)
{
    m_hFont = hFont;
    if (m_hWnd)
        platform::FontWidget(*this);
}

Rect Widget::Textroom(FontHandle hFont)
{
    if (!m_hWnd)
        return {};
    return platform::TextroomOf(*this, hFont);
}

void Widget::Show(bool bShow)
{
    m_bVisible = bShow;
    if (m_hWnd)
        platform::ShowWidget(*this, bShow);
}

bool CustButton::Create(const char* pszCaption, std::uint32_t dwStyle, const Rect& rc, WindowHandle hParent, int nId)
{
    return CreateAs(pszCaption, dwStyle, rc, hParent, nId);
}

void CustButton::SetText(const CString& strText, Colorref crText, Colorref crBack, FontHandle hFont)
{
    m_strCaption = strText;
    m_crText = crText;
    m_crBack = crBack;
    m_hFont = hFont;
    m_bColored = true;
    if (m_hWnd)
        platform::RefreshWidget(*this);
}

void CustButton::SetText(const char* pszText, Colorref crText, Colorref crBack, FontHandle hFont)
{
    SetText(CString(pszText ? pszText : ""), crText, crBack, hFont);
}

void CustButton::Inittrack()
{
    m_bTracked = true;
}

void CustButton::Snapto()
{
    if (!m_hWnd)
        return;
    ++m_nSnaps;
    platform::PointAtWidget(*this);
}

void CustButton::SetCheck(bool bMark)
{
    m_bMarked = bMark;
    if (m_hWnd)
        platform::MarkWidget(*this, bMark);
}

void CustStatic::SetColor(int nId, Colorref crText, Colorref crBack)
{
    m_nId = nId;
    m_crText = crText;
    m_crBack = crBack;
    m_bColored = true;
}

bool CustStatic::Create(const char* pszCaption, std::uint32_t dwStyle, const Rect& rc, WindowHandle hParent, int nId)
{
    return CreateAs(pszCaption, dwStyle, rc, hParent, nId);
}

void CustStatic::SetText(const CString& strText, Colorref crText, Colorref crBack, FontHandle hFont)
{
    m_strCaption = strText;
    m_crText = crText;
    m_crBack = crBack;
    m_hFont = hFont;
    m_bColored = true;
    if (m_hWnd)
        platform::RefreshWidget(*this);
}

void CustEdit::SetColor(int nId)
{
    m_nId = nId;
    m_bColored = false;
}

void CustEdit::SetColor(int nId, Colorref crText, Colorref crBack, Colorref crText2, Colorref crBack2)
{
    m_nId = nId;
    m_crText = crText;
    m_crBack = crBack;
    m_crText2 = crText2;
    m_crBack2 = crBack2;
    m_bColored = true;
}

bool CustEdit::Create(std::uint32_t dwStyle, const Rect& rc, WindowHandle hParent, int nId)
{
    return CreateAs("", dwStyle, rc, hParent, nId);
}

void CustEdit::SetText(const CString& strText, FontHandle hFont)
{
    m_strCaption = strText;
    m_strText = strText;
    m_hFont = hFont;
    if (m_hWnd)
        platform::RefreshWidget(*this);
}

}  // namespace zobrel
