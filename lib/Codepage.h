#pragma once
// Text files as Notepad saves them (ANSI, UTF-8 with or without a byte-order
// mark, UTF-16 in either byte order with one), turned into the program's 8-bit
// ANSI text. Detection and decoding are portable; the conversion into the
// ANSI code page is the platform's (Codepage_win.cpp, Codepage_headless.cpp).
#include <cstddef>

#include "Types.h"

namespace zobrel {

enum class Encoding { ANSI, UTF8, UTF16LE, UTF16BE };

// The encoding of a file's bytes, and in nMark the length of its byte-order
// mark. A mark decides; without one, bytes that are valid UTF-8 and hold at
// least one non-ASCII byte are UTF-8, anything else is ANSI.
Encoding Detectencoding(const CString& strBytes, std::size_t& nMark);

// Whether the bytes are valid UTF-8: shortest forms only, no surrogates,
// nothing above U+10FFFF.
bool Isutf8(const char* pBytes, std::size_t nSize);

// Appends UTF-16 text (nSize bytes, either byte order) to strOut as UTF-8. An
// unpaired surrogate or an odd last byte appends the byte 0xFF, which is never
// valid UTF-8, so a later conversion of that text fails instead of guessing.
void Utf16toutf8(const char* pBytes, std::size_t nSize, bool bBigEndian, CString& strOut);

// UTF-8 text in the program's ANSI code page. False, with strAnsi unchanged,
// when the text is not valid UTF-8 or holds a character the code page lacks:
// no character silently becomes a similar one, which in a path would name
// another file. Windows builds use the ANSI code page; native builds Latin-1
// (U+0000 to U+00FF).
bool Utf8toansi(const CString& strUtf8, CString& strAnsi);

}  // namespace zobrel
