#include "Codepage.h"

namespace zobrel {

namespace {

unsigned char Byte(const char* p, std::size_t i)
{
    return static_cast<unsigned char>(p[i]);
}

void AppendUtf8(char32_t nPoint, CString& strOut)
{
    if (nPoint < 0x80) {
        strOut.push_back(static_cast<char>(nPoint));
    } else if (nPoint < 0x800) {
        strOut.push_back(static_cast<char>(0xC0 | (nPoint >> 6)));
        strOut.push_back(static_cast<char>(0x80 | (nPoint & 0x3F)));
    } else if (nPoint < 0x10000) {
        strOut.push_back(static_cast<char>(0xE0 | (nPoint >> 12)));
        strOut.push_back(static_cast<char>(0x80 | ((nPoint >> 6) & 0x3F)));
        strOut.push_back(static_cast<char>(0x80 | (nPoint & 0x3F)));
    } else {
        strOut.push_back(static_cast<char>(0xF0 | (nPoint >> 18)));
        strOut.push_back(static_cast<char>(0x80 | ((nPoint >> 12) & 0x3F)));
        strOut.push_back(static_cast<char>(0x80 | ((nPoint >> 6) & 0x3F)));
        strOut.push_back(static_cast<char>(0x80 | (nPoint & 0x3F)));
    }
}

}  // namespace

bool Isutf8(const char* pBytes, std::size_t nSize)
{
    std::size_t i = 0;
    while (i < nSize) {
        const unsigned char c = Byte(pBytes, i);
        if (c < 0x80) {
            ++i;
            continue;
        }
        // The second byte's range rules out overlong forms, surrogates
        // (ED A0..BF) and code points above U+10FFFF (F4 90..BF).
        std::size_t nTrail;
        unsigned char cLow = 0x80;
        unsigned char cHigh = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            nTrail = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            nTrail = 2;
            if (c == 0xE0)
                cLow = 0xA0;
            else if (c == 0xED)
                cHigh = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            nTrail = 3;
            if (c == 0xF0)
                cLow = 0x90;
            else if (c == 0xF4)
                cHigh = 0x8F;
        } else {
            return false;
        }
        if (nSize - i <= nTrail)
            return false;
        const unsigned char cSecond = Byte(pBytes, i + 1);
        if (cSecond < cLow || cSecond > cHigh)
            return false;
        for (std::size_t k = 2; k <= nTrail; ++k)
            if ((Byte(pBytes, i + k) & 0xC0) != 0x80)
                return false;
        i += nTrail + 1;
    }
    return true;
}

Encoding Detectencoding(const CString& strBytes, std::size_t& nMark)
{
    if (strBytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        nMark = 3;
        return Encoding::UTF8;
    }
    if (strBytes.compare(0, 2, "\xFF\xFE") == 0) {
        nMark = 2;
        return Encoding::UTF16LE;
    }
    if (strBytes.compare(0, 2, "\xFE\xFF") == 0) {
        nMark = 2;
        return Encoding::UTF16BE;
    }
    nMark = 0;
    bool bHigh = false;
    for (char c : strBytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            bHigh = true;
            break;
        }
    }
    return bHigh && Isutf8(strBytes.data(), strBytes.size()) ? Encoding::UTF8 : Encoding::ANSI;
}

void Utf16toutf8(const char* pBytes, std::size_t nSize, bool bBigEndian, CString& strOut)
{
    const std::size_t nUnits = nSize / 2;
    auto unit = [pBytes, bBigEndian](std::size_t k) -> char32_t {
        const unsigned nFirst = Byte(pBytes, 2 * k);
        const unsigned nSecond = Byte(pBytes, 2 * k + 1);
        return bBigEndian ? (nFirst << 8 | nSecond) : (nSecond << 8 | nFirst);
    };
    for (std::size_t k = 0; k < nUnits; ++k) {
        const char32_t nUnit = unit(k);
        if (nUnit < 0xD800 || nUnit > 0xDFFF) {
            AppendUtf8(nUnit, strOut);
        } else if (nUnit <= 0xDBFF && k + 1 < nUnits && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF) {
            AppendUtf8(0x10000 + ((nUnit - 0xD800) << 10) + (unit(k + 1) - 0xDC00), strOut);
            ++k;
        } else {
            strOut.push_back('\xFF');
        }
    }
    if (nSize % 2)
        strOut.push_back('\xFF');
}

}  // namespace zobrel
