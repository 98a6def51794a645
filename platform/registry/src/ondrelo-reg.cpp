// ondrelo-reg: reads and changes the settings store from the command line,
// for installers, packaging scripts and tests.
//
// Exit status: 0 done, 1 key or value not found, 2 usage error, 3 the store
// cannot be opened or written.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ondrelo/registry.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNotFound = 1;
constexpr int kExitUsage = 2;
constexpr int kExitStore = 3;

constexpr const char* kUsage =
    "Usage: ondrelo-reg [--store FILE] COMMAND ...\n"
    "\n"
    "Commands:\n"
    "  query ROOT\\KEY [NAME]      print the value NAME, or every value of the key\n"
    "                             (one per line: name, type, data) when NAME is left out\n"
    "  set ROOT\\KEY NAME STRING   write a string value, creating the key if needed\n"
    "  setnum ROOT\\KEY NAME NUMBER\n"
    "                             write a 32-bit number (decimal or 0x hexadecimal)\n"
    "  delete ROOT\\KEY [NAME]     delete the value NAME, or the key with all below it\n"
    "  list ROOT\\KEY              print the names of the sub keys, one per line\n"
    "\n"
    "ROOT is HKLM, HKEY_LOCAL_MACHINE, HKCR or HKEY_CLASSES_ROOT. A NAME that is\n"
    "empty or \"@\" means the key's default value.\n"
    "--store FILE uses FILE instead of $ONDRELO_REGISTRY or the built-in store.\n"
    "\n"
    "Exit status: 0 done, 1 not found, 2 usage error, 3 store error.\n";

int UsageError(const std::string& message) {
    std::fprintf(stderr, "ondrelo-reg: %s\nTry 'ondrelo-reg --help'.\n", message.c_str());
    return kExitUsage;
}

std::string Describe(LONG status) {
    switch (status) {
        case ERROR_FILE_NOT_FOUND:
            return "not found";
        case ERROR_ACCESS_DENIED:
            return "access denied";
        case ERROR_INVALID_HANDLE:
            return "invalid key handle";
        case ERROR_INVALID_PARAMETER:
            return "invalid parameter";
        case ERROR_CANTOPEN:
            return "the store cannot be opened";
        case ERROR_CANTWRITE:
            return "the store cannot be written";
        default:
            return "error " + std::to_string(status);
    }
}

// Reports a failed call and gives the exit status for it. Where the store
// said more than the status, its words name the file and the reason.
int Fail(const std::string& what, LONG status) {
    const std::string reason = ondrelo::registry::LastFailureText();
    if (reason.empty()) {
        std::fprintf(stderr, "ondrelo-reg: %s: %s (store %s)\n", what.c_str(),
                     Describe(status).c_str(), ondrelo::registry::StorePath().c_str());
    } else {
        std::fprintf(stderr, "ondrelo-reg: %s: %s\n", what.c_str(), reason.c_str());
    }
    if (status == ERROR_FILE_NOT_FOUND) {
        return kExitNotFound;
    }
    return status == ERROR_INVALID_PARAMETER ? kExitUsage : kExitStore;
}

bool EqualsNoCase(const std::string& a, const char* b) {
    return a.size() == std::strlen(b) && strncasecmp(a.c_str(), b, a.size()) == 0;
}

// "HKLM\\Software\\X" -> root and "Software\\X".
bool SplitRoot(const std::string& text, HKEY& root, std::string& key) {
    std::size_t slash = text.find('\\');
    std::string rootName = text.substr(0, slash);
    key = slash == std::string::npos ? std::string() : text.substr(slash + 1);
    if (EqualsNoCase(rootName, "HKLM") || EqualsNoCase(rootName, "HKEY_LOCAL_MACHINE")) {
        root = HKEY_LOCAL_MACHINE;
    } else if (EqualsNoCase(rootName, "HKCR") || EqualsNoCase(rootName, "HKEY_CLASSES_ROOT")) {
        root = HKEY_CLASSES_ROOT;
    } else {
        return false;
    }
    return true;
}

std::string ValueName(const std::string& arg) {
    return arg == "@" ? std::string() : arg;
}

std::string ShownName(const std::string& name) {
    return name.empty() ? "@" : name;
}

void PrintValue(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    if (type == REG_SZ) {
        std::fwrite(data.data(), 1, size > 0 ? size - 1 : 0, stdout);
    } else if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof(number));
        std::printf("%u", number);
    } else {
        for (DWORD i = 0; i < size; ++i) {
            std::printf("%02x", data[i]);
        }
    }
}

const char* TypeName(DWORD type) {
    switch (type) {
        case REG_SZ:
            return "REG_SZ";
        case REG_DWORD:
            return "REG_DWORD";
        default:
            return "REG_NONE";
    }
}

int QueryOne(HKEY key, const std::string& path, const std::string& name) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data(size + 1);
    if (status == ERROR_SUCCESS) {
        status = RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size);
    }
    if (status != ERROR_SUCCESS) {
        return Fail("value " + ShownName(name) + " of " + path, status);
    }
    PrintValue(type, data, size);
    std::printf("\n");
    return kExitOk;
}

int QueryAll(HKEY key, const std::string& path) {
    std::vector<char> name(256);
    std::vector<BYTE> data(1024);
    for (DWORD index = 0;;) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        LONG status = RegEnumValueA(key, index, name.data(), &nameSize, nullptr, &type, data.data(),
                                    &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) {
            return kExitOk;
        }
        if (status == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            data.resize(std::max<std::size_t>(data.size() * 2, dataSize));
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return Fail("values of " + path, status);
        }
        std::printf("%s\t%s\t", ShownName(std::string(name.data(), nameSize)).c_str(),
                    TypeName(type));
        PrintValue(type, data, dataSize);
        std::printf("\n");
        ++index;
    }
}

int Query(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) {
        return UsageError("query takes ROOT\\KEY and an optional NAME");
    }
    HKEY root = nullptr;
    std::string keyPath;
    if (!SplitRoot(args[0], root, keyPath)) {
        return UsageError("unknown root in '" + args[0] + "'");
    }
    ondrelo::registry::CKeyHolder key;
    LONG status = RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, key.Out());
    if (status != ERROR_SUCCESS) {
        return Fail("key " + args[0], status);
    }
    return args.size() == 2 ? QueryOne(key.Get(), args[0], ValueName(args[1]))
                            : QueryAll(key.Get(), args[0]);
}

int Set(const std::vector<std::string>& args, bool number) {
    if (args.size() != 3) {
        return UsageError(number ? "setnum takes ROOT\\KEY NAME NUMBER"
                                 : "set takes ROOT\\KEY NAME STRING");
    }
    HKEY root = nullptr;
    std::string keyPath;
    if (!SplitRoot(args[0], root, keyPath)) {
        return UsageError("unknown root in '" + args[0] + "'");
    }
    DWORD numeric = 0;
    if (number && !ondrelo::registry::ParseNumber(args[2], numeric)) {
        return UsageError("'" + args[2] +
                          "' is not a number from 0 to 4294967295 (decimal, or hexadecimal after 0x)");
    }
    ondrelo::registry::CKeyHolder key;
    LONG status = RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  key.Out(), nullptr);
    if (status != ERROR_SUCCESS) {
        return Fail("cannot create key " + args[0], status);
    }
    std::string name = ValueName(args[1]);
    if (number) {
        status = RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&numeric), sizeof(numeric));
    } else {
        status = RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(args[2].c_str()),
                                static_cast<DWORD>(args[2].size() + 1));
    }
    if (status != ERROR_SUCCESS) {
        return Fail("cannot write value " + ShownName(name) + " of " + args[0], status);
    }
    return kExitOk;
}

int Delete(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) {
        return UsageError("delete takes ROOT\\KEY and an optional NAME");
    }
    HKEY root = nullptr;
    std::string keyPath;
    if (!SplitRoot(args[0], root, keyPath)) {
        return UsageError("unknown root in '" + args[0] + "'");
    }
    if (args.size() == 1) {
        if (keyPath.find_first_not_of('\\') == std::string::npos) {
            return UsageError("refusing to delete a whole root; name a key below it");
        }
        LONG status = RegDeleteTreeA(root, keyPath.c_str());
        return status == ERROR_SUCCESS ? kExitOk : Fail("cannot delete key " + args[0], status);
    }
    ondrelo::registry::CKeyHolder key;
    LONG status = RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_WRITE, key.Out());
    if (status != ERROR_SUCCESS) {
        return Fail("key " + args[0], status);
    }
    std::string name = ValueName(args[1]);
    status = RegDeleteValueA(key.Get(), name.c_str());
    return status == ERROR_SUCCESS
               ? kExitOk
               : Fail("cannot delete value " + ShownName(name) + " of " + args[0], status);
}

int List(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return UsageError("list takes ROOT\\KEY");
    }
    HKEY root = nullptr;
    std::string keyPath;
    if (!SplitRoot(args[0], root, keyPath)) {
        return UsageError("unknown root in '" + args[0] + "'");
    }
    ondrelo::registry::CKeyHolder key;
    LONG status = RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, key.Out());
    if (status != ERROR_SUCCESS) {
        return Fail("key " + args[0], status);
    }
    std::vector<char> name(256);
    for (DWORD index = 0;;) {
        DWORD size = static_cast<DWORD>(name.size());
        status =
            RegEnumKeyExA(key.Get(), index, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            return kExitOk;
        }
        if (status == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return Fail("sub keys of " + args[0], status);
        }
        std::printf("%.*s\n", static_cast<int>(size), name.data());
        ++index;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::size_t next = 0;
    while (next < args.size() && args[next].rfind("--", 0) == 0) {
        if (args[next] == "--help") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        }
        if (args[next] == "--store") {
            if (next + 1 >= args.size() || args[next + 1].empty()) {
                return UsageError("--store needs a file name");
            }
            setenv("ONDRELO_REGISTRY", args[next + 1].c_str(), 1);
            next += 2;
            continue;
        }
        if (args[next] == "--") {
            ++next;
            break;
        }
        return UsageError("unknown option '" + args[next] + "'");
    }
    if (next >= args.size()) {
        return UsageError("no command given");
    }
    std::string command = args[next];
    std::vector<std::string> rest(args.begin() + static_cast<long>(next) + 1, args.end());
    int status = kExitUsage;
    if (command == "query") {
        status = Query(rest);
    } else if (command == "set") {
        status = Set(rest, false);
    } else if (command == "setnum") {
        status = Set(rest, true);
    } else if (command == "delete") {
        status = Delete(rest);
    } else if (command == "list") {
        status = List(rest);
    } else {
        return UsageError("unknown command '" + command + "'");
    }
    if (std::fflush(stdout) != 0 && status == kExitOk) {
        std::fprintf(stderr, "ondrelo-reg: cannot write the output: %s\n", std::strerror(errno));
        return kExitStore;
    }
    return status;
}
