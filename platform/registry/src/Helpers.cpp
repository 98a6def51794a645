// Convenience wrappers over the registry calls, the store's location, and
// the store-wide calls that are not about one key.
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "Store.h"
#include "ondrelo/registry.h"

#ifndef ONDRELO_DEFAULT_REGISTRY
#define ONDRELO_DEFAULT_REGISTRY "/var/lib/ondrelo/registry.db"
#endif

namespace ondrelo::registry {

namespace {

bool Write(HKEY root, const std::string& key, const std::string& name, DWORD type, const BYTE* data,
           DWORD size) {
    CKeyHolder handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.Out(),
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return RegSetValueExA(handle.Get(), name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
}

}  // namespace

std::string StorePath() {
    const char* path = std::getenv("ONDRELO_REGISTRY");
    return path && *path ? std::string(path) : std::string(ONDRELO_DEFAULT_REGISTRY);
}

std::string LastFailureText() {
    return detail::FailureText();
}

void CloseStore() {
    std::lock_guard<std::mutex> lock(detail::StoreLock());
    detail::Close();
}

bool ParseNumber(std::string_view text, DWORD& value) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string_view digits = hex ? text.substr(2) : text;
    if (digits.empty()) {
        return false;
    }
    unsigned long long number = 0;
    for (char ch : digits) {
        const int c = static_cast<unsigned char>(ch);
        int digit = 0;
        if (std::isdigit(c)) {
            digit = c - '0';
        } else if (hex && std::isxdigit(c)) {
            digit = std::tolower(c) - 'a' + 10;
        } else {
            return false;
        }
        number = number * (hex ? 16 : 10) + static_cast<unsigned>(digit);
        if (number > 0xFFFFFFFFull) {
            return false;
        }
    }
    value = static_cast<DWORD>(number);
    return true;
}

bool ReadString(HKEY root, const std::string& key, const std::string& name, std::string& value) {
    CKeyHolder handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, handle.Out()) != ERROR_SUCCESS) {
        return false;
    }
    // Ask for the size, then read; another process may grow the value in
    // between, so try again a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ || size == 0) {
            return false;
        }
        std::vector<BYTE> buffer(size);
        LONG status =
            RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type, buffer.data(), &size);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS || type != REG_SZ || size == 0) {
            return false;
        }
        value.assign(reinterpret_cast<const char*>(buffer.data()), size - 1);
        return true;
    }
    return false;
}

bool ReadNumber(HKEY root, const std::string& key, const std::string& name, DWORD& value) {
    CKeyHolder handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, handle.Out()) != ERROR_SUCCESS) {
        return false;
    }
    DWORD type = REG_NONE;
    DWORD number = 0;
    DWORD size = sizeof(number);
    if (RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS ||
        type != REG_DWORD) {
        return false;
    }
    value = number;
    return true;
}

bool WriteString(HKEY root, const std::string& key, const std::string& name,
                 const std::string& value) {
    return Write(root, key, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

bool WriteNumber(HKEY root, const std::string& key, const std::string& name, DWORD value) {
    return Write(root, key, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

std::vector<std::string> SubKeys(HKEY root, const std::string& key) {
    std::vector<std::string> names;
    CKeyHolder handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, handle.Out()) != ERROR_SUCCESS) {
        return names;
    }
    std::vector<char> buffer(256);
    for (DWORD index = 0;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        LONG status = RegEnumKeyExA(handle.Get(), index, buffer.data(), &size, nullptr, nullptr,
                                    nullptr, nullptr);
        if (status == ERROR_MORE_DATA && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 4);
            continue;
        }
        if (status != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(buffer.data(), size);
        ++index;
    }
    return names;
}

}  // namespace ondrelo::registry
