// The portable half of Screen: scale arithmetic and the position file's text.
#include <algorithm>
#include <vector>

#include "Placement.h"
#include "Screen.h"

namespace zobrel {
namespace {

// a / b rounded half up, for any sign of a (b > 0): the same rule for every
// edge keeps shared edges shared.
std::int64_t Rounddiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t n = 2 * a + b;
    const std::int64_t d = 2 * b;
    std::int64_t q = n / d;
    if (n % d != 0 && n < 0)
        --q;
    return q;
}

std::int32_t Mapedge(std::int64_t nFine, std::int32_t nOrigin, std::int32_t nDesign, std::int32_t nClient)
{
    return static_cast<std::int32_t>(
        Rounddiv((nFine - std::int64_t{nOrigin} * Scale::FINE) * nClient, std::int64_t{nDesign} * Scale::FINE));
}

std::int32_t Unmapedge(std::int32_t nPixel, std::int32_t nOrigin, std::int32_t nDesign, std::int32_t nClient)
{
    return static_cast<std::int32_t>(std::int64_t{nOrigin} * Scale::FINE +
                                     Rounddiv(std::int64_t{nPixel} * nDesign * Scale::FINE, nClient));
}

bool Usable(const Scale& scale)
{
    return scale.m_rcDesign.right > scale.m_rcDesign.left && scale.m_rcDesign.bottom > scale.m_rcDesign.top &&
           scale.m_nClientW > 0 && scale.m_nClientH > 0;
}

bool Parseint(const CString& strToken, std::int32_t& nValue)
{
    std::size_t i = 0;
    const bool bNegative = !strToken.empty() && strToken[0] == '-';
    if (bNegative)
        i = 1;
    const std::size_t nDigits = strToken.size() - i;
    if (nDigits == 0 || nDigits > 7)
        return false;
    std::int32_t n = 0;
    for (; i < strToken.size(); ++i) {
        if (strToken[i] < '0' || strToken[i] > '9')
            return false;
        n = n * 10 + (strToken[i] - '0');
    }
    if (n > PLACEMENT_MAX_COORD)
        return false;
    nValue = bNegative ? -n : n;
    return true;
}

std::vector<CString> Tokens(const CString& strLine)
{
    std::vector<CString> tokens;
    std::size_t i = 0;
    while (i < strLine.size()) {
        while (i < strLine.size() && strLine[i] == ' ')
            ++i;
        const std::size_t nStart = i;
        while (i < strLine.size() && strLine[i] != ' ')
            ++i;
        if (i > nStart)
            tokens.push_back(strLine.substr(nStart, i - nStart));
    }
    return tokens;
}

}  // namespace

Rect Scale::Map(const Rect& rcDesign) const
{
    if (!Usable(*this))
        return rcDesign;
    const std::int32_t nDesignW = m_rcDesign.right - m_rcDesign.left;
    const std::int32_t nDesignH = m_rcDesign.bottom - m_rcDesign.top;
    return {Mapedge(std::int64_t{rcDesign.left} * FINE, m_rcDesign.left, nDesignW, m_nClientW),
            Mapedge(std::int64_t{rcDesign.top} * FINE, m_rcDesign.top, nDesignH, m_nClientH),
            Mapedge(std::int64_t{rcDesign.right} * FINE, m_rcDesign.left, nDesignW, m_nClientW),
            Mapedge(std::int64_t{rcDesign.bottom} * FINE, m_rcDesign.top, nDesignH, m_nClientH)};
}

Rect Scale::Mapfine(const Rect& rcFine) const
{
    if (!Usable(*this))
        return {rcFine.left / FINE, rcFine.top / FINE, rcFine.right / FINE, rcFine.bottom / FINE};
    const std::int32_t nDesignW = m_rcDesign.right - m_rcDesign.left;
    const std::int32_t nDesignH = m_rcDesign.bottom - m_rcDesign.top;
    return {Mapedge(rcFine.left, m_rcDesign.left, nDesignW, m_nClientW),
            Mapedge(rcFine.top, m_rcDesign.top, nDesignH, m_nClientH),
            Mapedge(rcFine.right, m_rcDesign.left, nDesignW, m_nClientW),
            Mapedge(rcFine.bottom, m_rcDesign.top, nDesignH, m_nClientH)};
}

Rect Scale::Unmapfine(const Rect& rcClient) const
{
    if (!Usable(*this))
        return {rcClient.left * FINE, rcClient.top * FINE, rcClient.right * FINE, rcClient.bottom * FINE};
    const std::int32_t nDesignW = m_rcDesign.right - m_rcDesign.left;
    const std::int32_t nDesignH = m_rcDesign.bottom - m_rcDesign.top;
    return {Unmapedge(rcClient.left, m_rcDesign.left, nDesignW, m_nClientW),
            Unmapedge(rcClient.top, m_rcDesign.top, nDesignH, m_nClientH),
            Unmapedge(rcClient.right, m_rcDesign.left, nDesignW, m_nClientW),
            Unmapedge(rcClient.bottom, m_rcDesign.top, nDesignH, m_nClientH)};
}

int Scale::Font(int nHeight) const
{
    if (!Usable(*this) || nHeight == 0)
        return nHeight;
    const std::int64_t nDesignW = m_rcDesign.right - m_rcDesign.left;
    const std::int64_t nDesignH = m_rcDesign.bottom - m_rcDesign.top;
    // The smaller of clientW / designW and clientH / designH.
    const bool bWidthSmaller = std::int64_t{m_nClientW} * nDesignH <= std::int64_t{m_nClientH} * nDesignW;
    const std::int64_t nNum = bWidthSmaller ? m_nClientW : m_nClientH;
    const std::int64_t nDen = bWidthSmaller ? nDesignW : nDesignH;
    std::int64_t nScaled = Rounddiv(std::int64_t{nHeight} * nNum, nDen);
    if (nScaled == 0)
        nScaled = nHeight > 0 ? 1 : -1;
    return static_cast<int>(nScaled);
}

void Fitclient(const Rect& rcDesign, int nWorkW, int nWorkH, int nFrameW, int nFrameH, int& nClientW, int& nClientH)
{
    const std::int64_t nDesignW = rcDesign.right - rcDesign.left;
    const std::int64_t nDesignH = rcDesign.bottom - rcDesign.top;
    if (nDesignW <= 0 || nDesignH <= 0 || nWorkW <= 0 || nWorkH <= 0) {
        nClientW = nClientH = 0;
        return;
    }
    const std::int64_t nRoomW = std::max(1, nWorkW - nFrameW);
    const std::int64_t nRoomH = std::max(1, nWorkH - nFrameH);
    std::int64_t h = Rounddiv(std::int64_t{nWorkH} * 85, 100);
    if (h > nRoomH)
        h = nRoomH;
    std::int64_t w = Rounddiv(h * nDesignW, nDesignH);
    if (w > nRoomW) {
        w = nRoomW;
        h = Rounddiv(w * nDesignH, nDesignW);
    }
    nClientW = static_cast<int>(std::max<std::int64_t>(1, w));
    nClientH = static_cast<int>(std::max<std::int64_t>(1, h));
}

void Textfit::Add(std::int32_t nNeed, std::int32_t nRoom)
{
    if (nNeed <= 0)
        return;
    const std::int64_t nHave = std::max<std::int32_t>(nRoom, 0);
    // nHave / nNeed < m_nRoom / m_nNeed, without dividing.
    if (nHave * m_nNeed < m_nRoom * nNeed) {
        m_nRoom = nHave;
        m_nNeed = nNeed;
    }
}

int Fitheight(int nStart, int nMin, const std::function<Textfit(int nHeight)>& fnMeasure)
{
    nMin = std::max(nMin, 1);
    if (nStart <= nMin)
        return nStart;
    int nFits = 0;            // the largest height measured to fit
    int nFails = nStart + 1;  // the smallest height measured not to fit
    int nHeight = nStart;
    for (;;) {
        const Textfit fit = fnMeasure(nHeight);
        if (fit.Fits()) {
            nFits = nHeight;
            if (nHeight + 1 >= nFails)
                return nHeight;
            ++nHeight;
            continue;
        }
        nFails = nHeight;
        if (nFits > 0)
            return nFits;
        if (nHeight <= nMin)
            return nMin;
        // Extents grow about linearly with the height.
        const std::int64_t nEstimate = std::int64_t{nHeight} * fit.m_nRoom / fit.m_nNeed;
        nHeight = static_cast<int>(std::clamp<std::int64_t>(nEstimate, nMin, nHeight - 1));
    }
}

bool Parsescale(const char* pszValue, std::int32_t& nPermille)
{
    if (!pszValue || !*pszValue)
        return false;
    std::int32_t nWhole = 0;
    const char* p = pszValue;
    int nDigits = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (++nDigits > 2)
            return false;
        nWhole = nWhole * 10 + (*p - '0');
    }
    std::int32_t nFraction = 0;
    int nDecimals = 0;
    if (*p == '.') {
        for (++p; *p >= '0' && *p <= '9'; ++p) {
            if (++nDecimals > 3)
                return false;
            nFraction = nFraction * 10 + (*p - '0');
        }
        if (nDecimals == 0)
            return false;
    }
    if (*p != '\0' || nDigits + nDecimals == 0)
        return false;
    for (int i = nDecimals; i < 3; ++i)
        nFraction *= 10;
    const std::int32_t nValue = nWhole * 1000 + nFraction;
    if (nValue < 100 || nValue > 10000)
        return false;
    nPermille = nValue;
    return true;
}

CString Formatplacement(const Placement& placement)
{
    const Rect& rc = placement.m_rcNormal;
    return "zobrel-placement 1\r\nnormal " + std::to_string(rc.left) + " " + std::to_string(rc.top) + " " +
           std::to_string(rc.right) + " " + std::to_string(rc.bottom) + "\r\nmaximized " +
           (placement.m_bMaximized ? "1" : "0") + "\r\n";
}

bool Parseplacement(const char* pData, std::size_t nSize, Placement& placement)
{
    if (!pData || nSize == 0 || nSize > PLACEMENT_MAX_BYTES)
        return false;
    std::vector<CString> lines(1);
    for (std::size_t i = 0; i < nSize; ++i) {
        const char c = pData[i];
        if (c == '\n') {
            lines.emplace_back();
        } else if (c == '\r') {
            if (i + 1 < nSize && pData[i + 1] != '\n')
                return false;
        } else if (c >= 0x20 && c <= 0x7E) {
            lines.back().push_back(c);
        } else {
            return false;
        }
    }
    if (lines.back().empty())
        lines.pop_back();
    if (lines.size() != 3 || lines[0] != "zobrel-placement 1")
        return false;

    const std::vector<CString> normal = Tokens(lines[1]);
    const std::vector<CString> maximized = Tokens(lines[2]);
    if (normal.size() != 5 || normal[0] != "normal" || maximized.size() != 2 || maximized[0] != "maximized")
        return false;
    if (maximized[1] != "0" && maximized[1] != "1")
        return false;
    Rect rc;
    if (!Parseint(normal[1], rc.left) || !Parseint(normal[2], rc.top) || !Parseint(normal[3], rc.right) ||
        !Parseint(normal[4], rc.bottom))
        return false;
    const std::int32_t nWidth = rc.right - rc.left;
    const std::int32_t nHeight = rc.bottom - rc.top;
    if (nWidth < PLACEMENT_MIN_SIDE || nWidth > PLACEMENT_MAX_SIDE || nHeight < PLACEMENT_MIN_SIDE ||
        nHeight > PLACEMENT_MAX_SIDE)
        return false;
    placement.m_rcNormal = rc;
    placement.m_bMaximized = maximized[1] == "1";
    return true;
}

Scale& Screen::Scaling()
{
    static Scale s_scale;
    return s_scale;
}

void Screen::Fontadjust(int* pnHeight)
{
    if (pnHeight)
        *pnHeight = Scaling().Font(*pnHeight);
}

void Screen::Screenadjust(Rect& rc)
{
    rc = Scaling().Map(rc);
}

}  // namespace zobrel
