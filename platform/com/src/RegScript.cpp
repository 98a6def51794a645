#include "ondrelo/regscript.h"

#include <cctype>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ondrelo/OndUtils.h"
#include "ondrelo/registry.h"

namespace ondrelo::com {

bool SCaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca < cb;
        }
    }
    return a.size() < b.size();
}

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// ---- Parsed form -----------------------------------------------------------

struct SValue {
    std::string name;  // empty: the key's default value
    bool number = false;
    std::string text;
    DWORD value = 0;
};

enum class EKeyFlag { None, ForceRemove, NoRemove, Delete };

struct SKey {
    std::string name;
    EKeyFlag flag = EKeyFlag::None;
    bool hasDefault = false;
    SValue defaultValue;
    std::vector<SValue> values;
    std::vector<SKey> children;
};

struct SRoot {
    HKEY root = nullptr;
    std::vector<SKey> keys;
};

// ---- Tokens ----------------------------------------------------------------

enum class ETok { Word, Quoted, Open, Close, Equals, End };

struct SToken {
    ETok kind = ETok::End;
    std::string text;
    int line = 1;
};

class CParser {
public:
    CParser(std::string_view script, const ReplacementMap& variables)
        : m_text(script), m_vars(variables) {}

    bool Parse(std::vector<SRoot>& roots) {
        if (!Next()) {
            return false;
        }
        while (m_tok.kind != ETok::End) {
            SRoot root;
            if (m_tok.kind != ETok::Word) {
                return Fail("a root key (HKCR or HKEY_LOCAL_MACHINE) expected");
            }
            if (EqualsNoCase(m_tok.text, "HKCR") || EqualsNoCase(m_tok.text, "HKEY_CLASSES_ROOT")) {
                root.root = HKEY_CLASSES_ROOT;
            } else if (EqualsNoCase(m_tok.text, "HKLM") ||
                       EqualsNoCase(m_tok.text, "HKEY_LOCAL_MACHINE")) {
                root.root = HKEY_LOCAL_MACHINE;
            } else {
                return Fail("unknown root key '" + m_tok.text + "'");
            }
            if (!Next()) {
                return false;
            }
            if (m_tok.kind != ETok::Open) {
                return Fail("'{' expected after the root key");
            }
            if (!Next() || !ParseBlock(root.keys, nullptr, 0)) {
                return false;
            }
            roots.push_back(std::move(root));
        }
        return true;
    }

    const std::string& Error() const { return m_error; }

private:
    // Parses key and value lines up to the closing brace of the block and
    // consumes it. owner is null at root level, where values are not allowed.
    // depth is how many levels below the root the block's keys lie, less
    // one; keys deeper than the store holds end the parse (which also keeps
    // a hostile script from exhausting the stack).
    bool ParseBlock(std::vector<SKey>& keys, SKey* owner, int depth) {
        while (true) {
            if (m_tok.kind == ETok::Close) {
                return Next();
            }
            if (m_tok.kind == ETok::End) {
                return Fail("'}' missing at the end of the script");
            }
            if (m_tok.kind == ETok::Word && EqualsNoCase(m_tok.text, "val")) {
                if (owner == nullptr) {
                    return Fail("a value cannot stand directly under a root key");
                }
                if (!Next()) {
                    return false;
                }
                SValue value;
                if (!Name(value.name) || !Next()) {
                    return false;
                }
                if (m_tok.kind != ETok::Equals) {
                    return Fail("'=' expected after the value name '" + value.name + "'");
                }
                if (!Next() || !ParseValue(value)) {
                    return false;
                }
                owner->values.push_back(std::move(value));
                continue;
            }
            if (depth >= kMaxKeyDepth) {
                return Fail("keys nested more than " +
                            std::to_string(kMaxKeyDepth) +
                            " levels deep; the settings store holds no deeper keys");
            }
            SKey key;
            if (m_tok.kind == ETok::Word) {
                if (EqualsNoCase(m_tok.text, "ForceRemove")) {
                    key.flag = EKeyFlag::ForceRemove;
                } else if (EqualsNoCase(m_tok.text, "NoRemove")) {
                    key.flag = EKeyFlag::NoRemove;
                } else if (EqualsNoCase(m_tok.text, "Delete")) {
                    key.flag = EKeyFlag::Delete;
                }
                if (key.flag != EKeyFlag::None && !Next()) {
                    return false;
                }
            }
            if (!Name(key.name) || !Next()) {
                return false;
            }
            if (m_tok.kind == ETok::Equals) {
                key.hasDefault = true;
                if (!Next() || !ParseValue(key.defaultValue)) {
                    return false;
                }
            }
            if (m_tok.kind == ETok::Open) {
                if (!Next() || !ParseBlock(key.children, &key, depth + 1)) {
                    return false;
                }
            }
            keys.push_back(std::move(key));
        }
    }

    // At a name token: takes it as a key or value name.
    bool Name(std::string& name) {
        if (m_tok.kind != ETok::Word && m_tok.kind != ETok::Quoted) {
            return Fail("a key or value name expected");
        }
        if (m_tok.text.empty()) {
            return Fail("an empty key or value name");
        }
        if (m_tok.text.find('\\') != std::string::npos) {
            return Fail("the name '" + m_tok.text + "' contains a backslash");
        }
        name = m_tok.text;
        return true;
    }

    // At the type letter after '=': reads "s text" or "d number" and moves on.
    bool ParseValue(SValue& value) {
        if (m_tok.kind != ETok::Word ||
            (!EqualsNoCase(m_tok.text, "s") && !EqualsNoCase(m_tok.text, "d"))) {
            return Fail("a value type (s or d) expected");
        }
        value.number = EqualsNoCase(m_tok.text, "d");
        if (!Next()) {
            return false;
        }
        if (m_tok.kind != ETok::Word && m_tok.kind != ETok::Quoted) {
            return Fail("a value expected after the type");
        }
        if (value.number) {
            if (!ondrelo::registry::ParseNumber(m_tok.text, value.value)) {
                return Fail("'" + m_tok.text + "' is not a 32-bit number");
            }
        } else {
            value.text = m_tok.text;
        }
        return Next();
    }

    // Reads the next token into m_tok; false (with the error set) for a bad one.
    bool Next() {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) {
            if (m_text[m_pos] == '\n') {
                ++m_line;
            }
            ++m_pos;
        }
        m_tok = SToken();
        m_tok.line = m_line;
        if (m_pos >= m_text.size()) {
            m_tok.kind = ETok::End;
            return true;
        }
        const char c = m_text[m_pos];
        auto separates = [&](std::size_t at) {
            return at >= m_text.size() || std::isspace(static_cast<unsigned char>(m_text[at]));
        };
        if (c == '}') {
            ++m_pos;
            m_tok.kind = ETok::Close;
            return true;
        }
        if (c == '{' && separates(m_pos + 1)) {
            ++m_pos;
            m_tok.kind = ETok::Open;
            return true;
        }
        if (c == '=') {
            ++m_pos;
            m_tok.kind = ETok::Equals;
            return true;
        }
        std::string raw;
        if (c == '\'') {
            ++m_pos;
            while (true) {
                if (m_pos >= m_text.size()) {
                    return Fail("a quoted text is not closed");
                }
                const char q = m_text[m_pos++];
                if (q == '\'') {
                    if (m_pos < m_text.size() && m_text[m_pos] == '\'') {
                        raw += '\'';
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                if (q == '\n') {
                    ++m_line;
                }
                raw += q;
            }
            m_tok.kind = ETok::Quoted;
        } else {
            // A word runs to white space or '='; a word may itself hold
            // braces, as class identifiers do.
            while (m_pos < m_text.size() && !separates(m_pos) && m_text[m_pos] != '=' &&
                   m_text[m_pos] != '\'') {
                raw += m_text[m_pos++];
            }
            m_tok.kind = ETok::Word;
        }
        return Substitute(raw, m_tok.text);
    }

    bool Substitute(const std::string& raw, std::string& out) {
        out.clear();
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '%') {
                out += raw[i];
                continue;
            }
            const std::size_t close = raw.find('%', i + 1);
            if (close == std::string::npos) {
                return Fail("a '%' without its closing '%' in '" + raw + "'");
            }
            const std::string name = raw.substr(i + 1, close - i - 1);
            if (name.empty()) {
                out += '%';
            } else {
                auto found = m_vars.find(name);
                if (found == m_vars.end()) {
                    return Fail("no value for the variable %" + name + "%");
                }
                out += found->second;
            }
            i = close;
        }
        return true;
    }

    bool Fail(const std::string& message) {
        if (m_error.empty()) {
            m_error = "line " + std::to_string(m_tok.line ? m_tok.line : m_line) + ": " + message;
        }
        return false;
    }

    std::string_view m_text;
    const ReplacementMap& m_vars;
    std::size_t m_pos = 0;
    int m_line = 1;
    SToken m_tok;
    std::string m_error;
};

// ---- Execution -------------------------------------------------------------

class CRunner {
public:
    LONG Register(HKEY parent, const SKey& key, const std::string& path) {
        const std::string here = path + "\\" + key.name;
        if (key.flag == EKeyFlag::Delete || key.flag == EKeyFlag::ForceRemove) {
            const LONG status = RegDeleteTreeA(parent, key.name.c_str());
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
                return Failed(status, "cannot delete " + here);
            }
            if (key.flag == EKeyFlag::Delete) {
                return ERROR_SUCCESS;
            }
        }
        ondrelo::registry::CKeyHolder handle;
        LONG status = RegCreateKeyExA(parent, key.name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, handle.Out(), nullptr);
        if (status != ERROR_SUCCESS) {
            return Failed(status, "cannot create " + here);
        }
        if (key.hasDefault &&
            (status = SetValue(handle.Get(), key.defaultValue)) != ERROR_SUCCESS) {
            return Failed(status, "cannot set the default value of " + here);
        }
        for (const SValue& value : key.values) {
            if ((status = SetValue(handle.Get(), value)) != ERROR_SUCCESS) {
                return Failed(status, "cannot set " + here + "\\" + value.name);
            }
        }
        for (const SKey& child : key.children) {
            if ((status = Register(handle.Get(), child, here)) != ERROR_SUCCESS) {
                return status;
            }
        }
        return ERROR_SUCCESS;
    }

    // Removal goes on after a failure so that as much as possible is taken
    // away; the first failure is the result.
    LONG Unregister(HKEY parent, const SKey& key, const std::string& path) {
        const std::string here = path + "\\" + key.name;
        if (key.flag == EKeyFlag::Delete) {
            return ERROR_SUCCESS;
        }
        if (key.flag == EKeyFlag::ForceRemove) {
            const LONG status = RegDeleteTreeA(parent, key.name.c_str());
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
                return Failed(status, "cannot delete " + here);
            }
            return ERROR_SUCCESS;
        }
        LONG result = ERROR_SUCCESS;
        bool empty = false;
        {
            ondrelo::registry::CKeyHolder handle;
            const LONG status =
                RegOpenKeyExA(parent, key.name.c_str(), 0, KEY_ALL_ACCESS, handle.Out());
            if (status == ERROR_FILE_NOT_FOUND) {
                return ERROR_SUCCESS;
            }
            if (status != ERROR_SUCCESS) {
                return Failed(status, "cannot open " + here);
            }
            for (const SKey& child : key.children) {
                const LONG childStatus = Unregister(handle.Get(), child, here);
                if (result == ERROR_SUCCESS) {
                    result = childStatus;
                }
            }
            if (key.flag == EKeyFlag::NoRemove) {
                return result;
            }
            char name[8];
            DWORD size = sizeof name;
            const LONG enumStatus =
                RegEnumKeyExA(handle.Get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr);
            empty = enumStatus == ERROR_NO_MORE_ITEMS;
            if (!empty) {
                // The key stays for the sub keys of others; take only our values.
                for (const SValue& value : key.values) {
                    const LONG valueStatus = RegDeleteValueA(handle.Get(), value.name.c_str());
                    if (valueStatus != ERROR_SUCCESS && valueStatus != ERROR_FILE_NOT_FOUND &&
                        result == ERROR_SUCCESS) {
                        result = Failed(valueStatus, "cannot delete " + here + "\\" + value.name);
                    }
                }
            }
        }
        if (empty) {
            const LONG status = RegDeleteKeyA(parent, key.name.c_str());
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND &&
                result == ERROR_SUCCESS) {
                result = Failed(status, "cannot delete " + here);
            }
        }
        return result;
    }

    const std::string& Error() const { return m_error; }

private:
    static LONG SetValue(HKEY key, const SValue& value) {
        if (value.number) {
            const DWORD number = value.value;
            return RegSetValueExA(key, value.name.c_str(), 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&number), sizeof number);
        }
        return RegSetValueExA(key, value.name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.text.c_str()),
                              static_cast<DWORD>(value.text.size() + 1));
    }

    // Keeps the first failure's reason: the store's own words (file and
    // cause) where it has them, else its status described.
    LONG Failed(LONG status, const std::string& what) {
        if (m_error.empty()) {
            const std::string reason = ondrelo::registry::LastFailureText();
            m_error = what + ": " +
                      (reason.empty() ? ondrelo::utils::DescribeError(static_cast<DWORD>(status)) +
                                            " (settings store status " + std::to_string(status) +
                                            ")"
                                      : reason);
        }
        return status;
    }

    std::string m_error;
};

const char* RootName(HKEY root) {
    return root == HKEY_CLASSES_ROOT ? "HKEY_CLASSES_ROOT" : "HKEY_LOCAL_MACHINE";
}

HRESULT Report(HRESULT hr, const std::string& reason, std::string* error) {
    if (error != nullptr) {
        *error = reason;
    }
    SetLastError(static_cast<std::uint32_t>(hr));
    TraceLastError("registration script: " + reason);
    return hr;
}

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    return quoted + "'";
}

std::string TypeLibScript(const STypeLibInfo& typeLib) {
    const std::string version = std::to_string(typeLib.major) + "." + std::to_string(typeLib.minor);
    return "HKCR\n{\n NoRemove TypeLib\n {\n  " + GuidToString(typeLib.libid) +
           "\n  {\n   ForceRemove " + version + " = s " + Quote(typeLib.helpText) +
           "\n   {\n    0\n    {\n     linux = s '%MODULE%'\n    }\n"
           "    FLAGS = s '0'\n    HELPDIR = s '%HELPDIR%'\n   }\n  }\n }\n}\n";
}

ReplacementMap TypeLibVariables(const std::string& modulePath) {
    ReplacementMap vars;
    vars["MODULE"] = modulePath;
    const std::size_t slash = modulePath.find_last_of('/');
    vars["HELPDIR"] = slash == std::string::npos ? std::string() : modulePath.substr(0, slash);
    return vars;
}

}  // namespace

HRESULT CheckRegistrationScript(std::string_view script, const ReplacementMap& variables,
                                std::string* error) {
    std::vector<SRoot> roots;
    CParser parser(script, variables);
    if (!parser.Parse(roots)) {
        if (error != nullptr) {
            *error = parser.Error();
        }
        return DISP_E_EXCEPTION;
    }
    return S_OK;
}

HRESULT RunRegistrationScript(std::string_view script, const ReplacementMap& variables,
                              bool registering, std::string* error) {
    std::vector<SRoot> roots;
    CParser parser(script, variables);
    if (!parser.Parse(roots)) {
        return Report(DISP_E_EXCEPTION, parser.Error(), error);
    }
    CRunner runner;
    LONG result = ERROR_SUCCESS;
    for (const SRoot& root : roots) {
        for (const SKey& key : root.keys) {
            const LONG status = registering
                                    ? runner.Register(root.root, key, RootName(root.root))
                                    : runner.Unregister(root.root, key, RootName(root.root));
            if (status != ERROR_SUCCESS && result == ERROR_SUCCESS) {
                result = status;
                if (registering) {
                    return Report(HRESULT_FROM_WIN32(result), runner.Error(), error);
                }
            }
        }
    }
    if (result != ERROR_SUCCESS) {
        return Report(HRESULT_FROM_WIN32(result), runner.Error(), error);
    }
    return S_OK;
}

HRESULT RegisterTypeLibrary(const STypeLibInfo& typeLib, const std::string& modulePath) {
    return RunRegistrationScript(TypeLibScript(typeLib), TypeLibVariables(modulePath), true);
}

HRESULT UnregisterTypeLibrary(const STypeLibInfo& typeLib) {
    return RunRegistrationScript(TypeLibScript(typeLib), TypeLibVariables(std::string()), false);
}

}  // namespace ondrelo::com
