#include "formwarden/JsRegExp.h"

#include <cstdint>
#include <set>
#include <vector>

namespace formwarden {

namespace {

// The pattern as code points: UTF-8 sequences decoded, any other byte taken
// as the character of that number (a single-byte code page).
std::vector<std::uint32_t> Decode(const std::string& text) {
    std::vector<std::uint32_t> out;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        int extra = 0;
        std::uint32_t cp = c;
        if (c >= 0xC2 && c < 0xE0) {
            extra = 1;
            cp = c & 0x1Fu;
        } else if (c >= 0xE0 && c < 0xF0) {
            extra = 2;
            cp = c & 0x0Fu;
        } else if (c >= 0xF0 && c < 0xF5) {
            extra = 3;
            cp = c & 0x07u;
        }
        bool ok = extra > 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + static_cast<std::size_t>(k) >= n || (s[i + k] & 0xC0) != 0x80) {
                ok = false;
            } else {
                cp = cp << 6 | (s[i + k] & 0x3Fu);
            }
        }
        if (ok) {
            out.push_back(cp);
            i += static_cast<std::size_t>(extra) + 1;
        } else {
            out.push_back(c);
            ++i;
        }
    }
    return out;
}

bool IsDigit(std::uint32_t c) {
    return c >= '0' && c <= '9';
}
bool IsHex(std::uint32_t c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
std::uint32_t HexValue(std::uint32_t c) {
    return IsDigit(c) ? c - '0' : (c | 0x20u) - 'a' + 10;
}
bool IsLetter(std::uint32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsNameStart(std::uint32_t c) {
    return IsLetter(c) || c == '$' || c == '_' || c >= 0x80;
}
bool IsNamePart(std::uint32_t c) {
    return IsNameStart(c) || IsDigit(c);
}

struct SSyntaxError {
    const char* reason;
};

// A recursive-descent reading of the pattern that stops at the first
// construct a browser refuses.
class CPatternReader {
public:
    explicit CPatternReader(const std::string& pattern) : m_cps(Decode(pattern)) {
        m_bNamedGroups = HasNamedGroups();
    }

    void Read() {
        Disjunction();
        if (!AtEnd()) {
            throw SSyntaxError{"Unmatched ')'"};
        }
        for (const auto& name : m_References) {
            if (m_Names.count(name) == 0) {
                throw SSyntaxError{"Invalid named capture referenced"};
            }
        }
    }

private:
    bool AtEnd() const { return m_pos >= m_cps.size(); }
    std::uint32_t Peek(std::size_t ahead = 0) const {
        return m_pos + ahead < m_cps.size() ? m_cps[m_pos + ahead] : 0xFFFFFFFFu;
    }

    // Whether "(?<name>" occurs outside classes and escapes: then "\k" must
    // name a group.
    bool HasNamedGroups() const {
        bool inClass = false;
        for (std::size_t i = 0; i < m_cps.size(); ++i) {
            const std::uint32_t c = m_cps[i];
            if (c == '\\') {
                ++i;
            } else if (inClass) {
                inClass = c != ']';
            } else if (c == '[') {
                inClass = true;
            } else if (c == '(' && i + 3 < m_cps.size() && m_cps[i + 1] == '?' &&
                       m_cps[i + 2] == '<' && m_cps[i + 3] != '=' && m_cps[i + 3] != '!') {
                return true;
            }
        }
        return false;
    }

    void Disjunction() {
        for (;;) {
            while (!AtEnd() && Peek() != '|' && Peek() != ')') {
                Term();
            }
            if (Peek() != '|') {
                return;
            }
            ++m_pos;
        }
    }

    // "{n}", "{n,}" or "{n,m}" at the position; its length, 0 when the brace
    // is a plain character.
    std::size_t BracedQuantifier(std::size_t at) const {
        std::size_t i = at;
        if (i >= m_cps.size() || m_cps[i] != '{') {
            return 0;
        }
        ++i;
        const std::size_t firstDigits = i;
        double low = 0;
        while (i < m_cps.size() && IsDigit(m_cps[i])) {
            low = low * 10 + (m_cps[i++] - '0');
        }
        if (i == firstDigits) {
            return 0;
        }
        double high = low;
        if (i < m_cps.size() && m_cps[i] == ',') {
            ++i;
            const std::size_t secondDigits = i;
            high = 0;
            while (i < m_cps.size() && IsDigit(m_cps[i])) {
                high = high * 10 + (m_cps[i++] - '0');
            }
            if (i == secondDigits) {
                high = low;  // "{n,}": no upper bound
            }
        }
        if (i >= m_cps.size() || m_cps[i] != '}') {
            return 0;
        }
        if (high < low) {
            throw SSyntaxError{"numbers out of order in {} quantifier"};
        }
        return i + 1 - at;
    }

    bool AtQuantifier() const {
        const std::uint32_t c = Peek();
        return c == '*' || c == '+' || c == '?' || BracedQuantifier(m_pos) > 0;
    }

    void Quantifier() {
        const std::uint32_t c = Peek();
        if (c == '*' || c == '+' || c == '?') {
            ++m_pos;
        } else if (const std::size_t length = BracedQuantifier(m_pos)) {
            m_pos += length;
        } else {
            return;
        }
        if (Peek() == '?') {
            ++m_pos;  // lazy
        }
        if (AtQuantifier()) {
            throw SSyntaxError{"Nothing to repeat"};
        }
    }

    // An assertion that may not be repeated.
    void Assertion(std::size_t length) {
        m_pos += length;
        if (AtQuantifier()) {
            throw SSyntaxError{"Nothing to repeat"};
        }
    }

    void Term() {
        const std::uint32_t c = Peek();
        switch (c) {
            case '^':
            case '$':
                Assertion(1);
                return;
            case '*':
            case '+':
            case '?':
                throw SSyntaxError{"Nothing to repeat"};
            case '{':
                if (BracedQuantifier(m_pos) > 0) {
                    throw SSyntaxError{"Nothing to repeat"};
                }
                ++m_pos;
                Quantifier();
                return;
            case '(':
                Group();
                return;
            case '[':
                CharacterClass();
                Quantifier();
                return;
            case '\\':
                if (Peek(1) == 'b' || Peek(1) == 'B') {
                    Assertion(2);
                    return;
                }
                AtomEscape();
                Quantifier();
                return;
            default:
                ++m_pos;  // ".", "]", "}" and every other character
                Quantifier();
                return;
        }
    }

    std::vector<std::uint32_t> GroupName() {
        std::vector<std::uint32_t> name;
        if (AtEnd() || !IsNameStart(Peek())) {
            throw SSyntaxError{"Invalid capture group name"};
        }
        while (!AtEnd() && IsNamePart(Peek())) {
            name.push_back(m_cps[m_pos++]);
        }
        if (Peek() != '>') {
            throw SSyntaxError{"Invalid capture group name"};
        }
        ++m_pos;
        return name;
    }

    void Group() {
        // Groups nest by recursion; a depth no one types is refused before
        // it could exhaust the stack.
        if (++m_nDepth > kMaxDepth) {
            throw SSyntaxError{"Regular expression too large"};
        }
        ++m_pos;  // "("
        bool repeatable = true;
        if (Peek() == '?') {
            const std::uint32_t kind = Peek(1);
            if (kind == ':' || kind == '=' || kind == '!') {
                m_pos += 2;
            } else if (kind == '<' && (Peek(2) == '=' || Peek(2) == '!')) {
                m_pos += 3;
                repeatable = false;  // a look-behind cannot be repeated
            } else if (kind == '<') {
                m_pos += 2;
                if (!m_Names.insert(GroupName()).second) {
                    throw SSyntaxError{"Duplicate capture group name"};
                }
            } else {
                throw SSyntaxError{"Invalid group"};
            }
        }
        Disjunction();
        if (Peek() != ')') {
            throw SSyntaxError{"Unterminated group"};
        }
        ++m_pos;
        --m_nDepth;
        if (!repeatable) {
            if (AtQuantifier()) {
                throw SSyntaxError{"Invalid quantifier"};
            }
            return;
        }
        Quantifier();
    }

    void AtomEscape() {
        ++m_pos;  // "\"
        if (AtEnd()) {
            throw SSyntaxError{"\\ at end of pattern"};
        }
        if (Peek() == 'k' && m_bNamedGroups) {
            ++m_pos;
            if (Peek() != '<') {
                throw SSyntaxError{"Invalid named reference"};
            }
            ++m_pos;
            m_References.push_back(GroupName());
            return;
        }
        ++m_pos;  // every other escape is a character, a class or a back reference
    }

    // One character of a class, or -1 for a class escape (\d, \w, ...).
    long ClassAtom() {
        const std::uint32_t c = m_cps[m_pos++];
        if (c != '\\') {
            return static_cast<long>(c);
        }
        if (AtEnd()) {
            throw SSyntaxError{"\\ at end of pattern"};
        }
        const std::uint32_t e = m_cps[m_pos++];
        switch (e) {
            case 'd':
            case 'D':
            case 'w':
            case 'W':
            case 's':
            case 'S':
                return -1;
            case 'b':
                return 8;
            case 't':
                return 9;
            case 'n':
                return 10;
            case 'v':
                return 11;
            case 'f':
                return 12;
            case 'r':
                return 13;
            case 'x':
                if (IsHex(Peek()) && IsHex(Peek(1))) {
                    const long v = static_cast<long>(HexValue(Peek()) * 16 + HexValue(Peek(1)));
                    m_pos += 2;
                    return v;
                }
                return 'x';
            case 'u':
                if (IsHex(Peek()) && IsHex(Peek(1)) && IsHex(Peek(2)) && IsHex(Peek(3))) {
                    long v = 0;
                    for (int k = 0; k < 4; ++k) {
                        v = v * 16 + static_cast<long>(HexValue(m_cps[m_pos++]));
                    }
                    return v;
                }
                return 'u';
            case 'c':
                if (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == '_') {
                    return static_cast<long>(m_cps[m_pos++] % 32);
                }
                --m_pos;  // "\c" alone is a backslash; the "c" comes next
                return '\\';
            default:
                break;
        }
        if (e >= '0' && e <= '7') {
            // Old octal escapes: up to three digits, at most 0377.
            long v = static_cast<long>(e - '0');
            for (int k = 0; k < 2 && Peek() >= '0' && Peek() <= '7'; ++k) {
                const long next = v * 8 + static_cast<long>(Peek() - '0');
                if (next > 0377) {
                    break;
                }
                v = next;
                ++m_pos;
            }
            return v;
        }
        return static_cast<long>(e);
    }

    void CharacterClass() {
        ++m_pos;  // "["
        if (Peek() == '^') {
            ++m_pos;
        }
        for (;;) {
            if (AtEnd()) {
                throw SSyntaxError{"Unterminated character class"};
            }
            if (Peek() == ']') {
                ++m_pos;
                return;
            }
            const long from = ClassAtom();
            if (Peek() == '-' && m_pos + 1 < m_cps.size() && Peek(1) != ']') {
                ++m_pos;
                const long to = ClassAtom();
                // A range with a class escape at either end is a plain "-".
                if (from >= 0 && to >= 0 && from > to) {
                    throw SSyntaxError{"Range out of order in character class"};
                }
            }
        }
    }

    static constexpr int kMaxDepth = 5000;

    std::vector<std::uint32_t> m_cps;
    std::size_t m_pos = 0;
    int m_nDepth = 0;
    bool m_bNamedGroups = false;
    std::set<std::vector<std::uint32_t>> m_Names;
    std::vector<std::vector<std::uint32_t>> m_References;
};

}  // namespace

std::string JsRegExpSyntaxError(const std::string& pattern) {
    try {
        CPatternReader(pattern).Read();
        return {};
    } catch (const SSyntaxError& e) {
        return e.reason;
    }
}

}  // namespace formwarden
