#include "smallset/SmallsetText.h"

#include <cstdint>
#include <cstdlib>

namespace smallset {

namespace {

const ondrelo::StringTable kStrings = {
    {IDS_DLINK_SUB_CODE_COMMENT, "Copy the code belw just below the </HEAD> tag of your HTML page"},
    {IDS_DLINK_MAIN_CODE_COMMENT,
     "Copy the code below to the place in the HTML page where you want the combo box to appear"},
};

const ondrelo::SModuleResources g_resources{"Smallset", &kStrings, ":/Smallset"};

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Reads count hex digits at text[at]; false when they are not all there.
bool ReadHex(const std::string& text, std::size_t at, std::size_t count, std::uint32_t& value) {
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (!IsHex(c)) {
            return false;
        }
        value = value * 16 + static_cast<std::uint32_t>(
                                 c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return true;
}

}  // namespace

const ondrelo::SModuleResources& SmallsetResources() {
    return g_resources;
}

std::string SmallsetString(unsigned id) {
    auto it = kStrings.find(id);
    return it != kStrings.end() ? it->second : ondrelo::ResString(id);
}

std::string EscapeJsString(const std::string& text, char quote, bool forAttribute) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\'':
        case '"':
            if (forAttribute && c == '"') {
                out += "\\x22";
            } else if (c == quote) {
                out += std::string("\\") + c;
            } else {
                out += c;
            }
            break;
        case '&':
            out += forAttribute ? "\\x26" : "&";
            break;
        case '>':
            out += forAttribute ? "\\x3E" : ">";
            break;
        case '<':
            // "</script" ends a script block wherever it stands, and "<!--"
            // changes how the rest of the block is read. In an attribute, a
            // bracket would end the tag for simple readers of the page.
            if (forAttribute || text.compare(i, 2, "</") == 0 || text.compare(i, 4, "<!--") == 0) {
                out += "\\x3C";
            } else {
                out += c;
            }
            break;
        default:
            // U+2028 and U+2029 end a line inside a string in older engines.
            if (static_cast<unsigned char>(c) == 0xE2 && i + 2 < text.size() &&
                static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
                 static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
                out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
                i += 2;
            } else {
                out += c;
            }
        }
    }
    return out;
}

std::string UnescapeJsString(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        std::uint32_t value = 0;
        switch (c) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x':
            if (ReadHex(text, i + 1, 2, value)) {
                AppendUtf8(out, value);
                i += 2;
            } else {
                out += c;
            }
            break;
        case 'u':
            if (ReadHex(text, i + 1, 4, value)) {
                AppendUtf8(out, value);
                i += 4;
            } else {
                out += c;
            }
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string EscapeHtmlAttribute(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '\'':
            out += "&#39;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string DecodeHtmlEntities(const std::string& text) {
    static const struct {
        const char* name;
        char value;
    } kNamed[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        bool done = false;
        for (const auto& entity : kNamed) {
            const std::string name = entity.name;
            if (text.compare(i, name.size(), name) == 0) {
                out += entity.value;
                i += name.size() - 1;
                done = true;
                break;
            }
        }
        if (!done && i + 2 < text.size() && text[i + 1] == '#') {
            const bool hex = text[i + 2] == 'x' || text[i + 2] == 'X';
            const std::size_t digits = i + (hex ? 3 : 2);
            const std::size_t semi = text.find(';', digits);
            if (semi != std::string::npos && semi > digits && semi - digits <= 7) {
                const std::string number = text.substr(digits, semi - digits);
                char* end = nullptr;
                const unsigned long value = std::strtoul(number.c_str(), &end, hex ? 16 : 10);
                if (end && *end == '\0' && value > 0 && value <= 0x10FFFF) {
                    AppendUtf8(out, static_cast<std::uint32_t>(value));
                    i = semi;
                    done = true;
                }
            }
        }
        if (!done) {
            out += '&';
        }
    }
    return out;
}

}  // namespace smallset
