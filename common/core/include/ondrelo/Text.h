// Text helpers shared by Common and the wizards' cores. Texts are bytes;
// case folding touches the ASCII letters only, so that other bytes of the
// page's code page compare exactly, whatever the process's locale.
#pragma once

#include <string>
#include <string_view>

#include "ondrelo/Format.h"
#include "ondrelo/commoncore_export.h"

namespace ondrelo {

// The blanks that trimming removes: space, tab, CR, LF, VT, FF.
inline constexpr const char* kBlanks = " \t\r\n\v\f";

inline bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
inline char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

ONDCORE_EXPORT std::string Trim(std::string_view text);
inline std::string Trim(const char* begin, const char* end) {
    return Trim(std::string_view(begin, static_cast<std::size_t>(end - begin)));
}
ONDCORE_EXPORT std::string TrimLeft(std::string_view text);
ONDCORE_EXPORT std::string TrimRight(std::string_view text);
ONDCORE_EXPORT std::string ToLowerAscii(std::string_view text);

// Equality and ordering without regard to the case of ASCII letters.
ONDCORE_EXPORT bool EqualNoCase(std::string_view a, std::string_view b);
// Negative, zero or positive as a sorts before, with or after b.
ONDCORE_EXPORT int CompareNoCase(std::string_view a, std::string_view b);

// Every occurrence of from replaced by to, left to right, not rescanning
// the replacement; an empty from changes nothing.
ONDCORE_EXPORT std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

}  // namespace ondrelo
