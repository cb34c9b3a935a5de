#pragma once
// A rectangle of the screen as it is now, one COLORREF per pixel. One
// capture per check: reading pixels one by one is slow under Wine.
#include <windows.h>

#include <cstdint>
#include <vector>

class CScreenCapture {
public:
    explicit CScreenCapture(const RECT& rcScreen)
        : m_nWidth(rcScreen.right - rcScreen.left), m_nHeight(rcScreen.bottom - rcScreen.top)
    {
        if (m_nWidth <= 0 || m_nHeight <= 0) {
            m_nWidth = m_nHeight = 0;
            return;
        }
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = m_nWidth;
        bmi.bmiHeader.biHeight = -m_nHeight;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        HDC hScreen = GetDC(nullptr);
        HDC hMemory = CreateCompatibleDC(hScreen);
        void* pBits = nullptr;
        HBITMAP hBitmap = CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        if (hBitmap && pBits) {
            HGDIOBJ hOld = SelectObject(hMemory, hBitmap);
            BitBlt(hMemory, 0, 0, m_nWidth, m_nHeight, hScreen, rcScreen.left, rcScreen.top, SRCCOPY);
            GdiFlush();
            const auto* pPixels = static_cast<const std::uint32_t*>(pBits);
            for (int i = 0; i < m_nWidth * m_nHeight; ++i) {
                const std::uint32_t n = pPixels[i];  // 0x00RRGGBB
                m_pixels.push_back(RGB((n >> 16) & 0xFF, (n >> 8) & 0xFF, n & 0xFF));
            }
            SelectObject(hMemory, hOld);
            DeleteObject(hBitmap);
        }
        DeleteDC(hMemory);
        ReleaseDC(nullptr, hScreen);
    }

    // The client area of a window.
    static CScreenCapture Client(HWND hWnd)
    {
        RECT rc;
        GetClientRect(hWnd, &rc);
        MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        return CScreenCapture(rc);
    }

    COLORREF At(int x, int y) const { return m_pixels.at(static_cast<std::size_t>(y * m_nWidth + x)); }
    const std::vector<COLORREF>& Pixels() const { return m_pixels; }

private:
    int m_nWidth;
    int m_nHeight;
    std::vector<COLORREF> m_pixels;
};
