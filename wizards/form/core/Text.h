// Small text helpers of the form wizard's core.
#pragma once

#include <cstdio>
#include <string>

#include "ondrelo/Text.h"

namespace formwarden::text {

using ondrelo::kBlanks;
using ondrelo::ReplaceAll;
using ondrelo::Trim;
using ondrelo::TrimRight;

inline std::string RemoveChars(const std::string& s, const std::string& chars) {
    std::string out;
    for (char c : s) {
        if (chars.find(c) == std::string::npos) {
            out += c;
        }
    }
    return out;
}

// printf-style formatting of a format string from a table or a literal.
template <class... Args>
std::string Format(const std::string& format, Args... args) {
    int size = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (size <= 0) {
        return size == 0 ? std::string() : format;
    }
    std::string out(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.c_str(), args...);
    out.resize(static_cast<std::size_t>(size));
    return out;
}

}  // namespace formwarden::text
