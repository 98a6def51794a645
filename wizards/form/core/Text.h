// Small text helpers of the form wizard's core.
#pragma once

#include <cstdio>
#include <string>

namespace formwarden::text {

inline constexpr const char* kBlanks = " \t\r\n\v\f";

inline std::string TrimRight(const std::string& s) {
    auto last = s.find_last_not_of(kBlanks);
    return last == std::string::npos ? std::string() : s.substr(0, last + 1);
}

inline std::string Trim(const std::string& s) {
    auto first = s.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

inline std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
    if (from.empty()) {
        return s;
    }
    for (std::size_t pos = 0; (pos = s.find(from, pos)) != std::string::npos; pos += to.size()) {
        s.replace(pos, from.size(), to);
    }
    return s;
}

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
