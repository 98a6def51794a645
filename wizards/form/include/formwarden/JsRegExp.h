// Whether a regular expression compiles in a browser's JavaScript, checked
// without a browser: the syntax of JavaScript expressions without flags,
// with the lenient rules browsers apply to web pages (a lone "{" or "]" is
// a literal, an unknown escape stands for its character, and so on).
#pragma once

#include <string>

namespace formwarden {

// Empty when the pattern compiles, else why not, in the words browsers use
// ("Unterminated group", "Nothing to repeat", ...). The pattern is the
// text as typed (UTF-8 or single bytes), without the slashes of a literal.
std::string JsRegExpSyntaxError(const std::string& pattern);

}  // namespace formwarden
