#pragma once

#include <string>

// The game keeps text and paths in UTF-8; Windows' own calls take UTF-16.
std::wstring toUtf16(const std::string& utf8);
std::string toUtf8(const std::wstring& utf16);
