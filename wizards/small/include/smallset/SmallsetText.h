// The Smallset wizards' numbered texts, their fixed messages, and the
// escaping that keeps user text from breaking the code it is placed in.
#pragma once

#include <string>

#include "ondrelo/Resources.h"

namespace smallset {

// Numbers of the library's string table.
enum ESmallsetStringId : unsigned {
    IDS_DLINK_SUB_CODE_COMMENT = 101,
    IDS_DLINK_MAIN_CODE_COMMENT = 102,
};

// Shown when the user chose not to overwrite a page that changed on disk.
inline constexpr const char* kPageNotWritten =
    "The page was not changed: it was modified by another program after Ondrelo read it.";

// The library's resources (string table and the ":/Smallset" Qt prefix).
const ondrelo::SModuleResources& SmallsetResources();
// A text of the library's table, then Common's; empty when neither has it.
std::string SmallsetString(unsigned id);

// A JavaScript string literal's content, for a string delimited by quote
// (' or "). Backslashes, the delimiter and line breaks are escaped; so are
// "</" and "<!--", which would end or confuse an enclosing script block.
// With forAttribute, the text is also safe inside a double-quoted HTML
// attribute read by simple tag scanners: '"', '&', '<' and '>' become
// \x22, \x26, \x3C and \x3E.
std::string EscapeJsString(const std::string& text, char quote, bool forAttribute = false);
// Reads the content of a JavaScript string literal back to the text it
// stands for (\\, \', \", \n, \r, \t, \xHH, \uHHHH; any other escaped
// character stands for itself).
std::string UnescapeJsString(const std::string& text);

// A value for an HTML attribute in single or double quotes: & ' " < >
// become character references.
std::string EscapeHtmlAttribute(const std::string& text);
// Resolves the character references that attribute values commonly carry
// (&amp; &lt; &gt; &quot; &apos; &#39; and numeric ones); others stay.
std::string DecodeHtmlEntities(const std::string& text);

}  // namespace smallset
