#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace klib {

// The "no string" value (one code unit U+FFFF): Toolkit::loadString's answer for a missing id, and for
// cstrOrNull a null pointer (a registry default value, a dialog without title).
extern const std::wstring nullString;
extern const std::wstring emptyString;
extern const std::wstring lineFeed;
extern const std::wstring lineBreak;
extern const std::wstring byteOrderMark;
extern const std::wstring trueString;
extern const std::wstring falseString;

// Null for nullString, else the characters of s. s must not be empty.
const wchar_t* cstrOrNull(const std::wstring& s);
// One code unit per byte; meant for ASCII text such as run-time type names.
std::wstring widen(const char* s);
std::wstring toString(int value);
std::wstring toUnsignedString(std::uint32_t value);
// Strict decimal: optional '-', digits only, 32-bit range; throws NumberFormatException.
int parseInt(const std::wstring& s);
// Replaces words with the words of commandLine as CommandLineToArgvW splits them.
void splitCommandLine(std::vector<std::wstring>& words, const wchar_t* commandLine);

}  // namespace klib
