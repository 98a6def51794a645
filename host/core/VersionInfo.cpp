#include "VersionInfo.h"

#include <elf.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

namespace ondrelo::host {

namespace {

constexpr std::size_t kHeaderSize = 6;  // wLength, wValueLength, wType
constexpr std::size_t kMaxRecord = 0xFFFF;

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char32_t cp = 0xFFFD;
        std::size_t extra = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        }
        ++i;
        for (std::size_t k = 0; k < extra; ++k, ++i) {
            if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                cp = 0xFFFD;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Converts zero-terminated (or length-bounded) UTF-16LE bytes to UTF-8.
std::string Utf16BytesToUtf8(const std::uint8_t* data, std::size_t bytes) {
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        char32_t u = static_cast<char32_t>(data[i] | (data[i + 1] << 8));
        if (u == 0) {
            break;
        }
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes) {
            char32_t low = static_cast<char32_t>(data[i + 2] | (data[i + 3] << 8));
            if (low >= 0xDC00 && low < 0xE000) {
                u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(out, u);
    }
    return out;
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Set16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
    out[at] = static_cast<std::uint8_t>(v & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Align4(std::vector<std::uint8_t>& out) {
    while (out.size() % 4 != 0) {
        out.push_back(0);
    }
}

constexpr std::size_t Aligned4(std::size_t n) {
    return (n + 3) & ~std::size_t{3};
}

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void Serialise(const SVersionBlock& block, std::vector<std::uint8_t>& out) {
    const std::size_t start = out.size();
    Put16(out, 0);
    std::size_t valueLength = 0;
    if (block.text) {
        valueLength = block.textValue.empty() ? 0 : block.textValue.size() + 1;
    } else {
        valueLength = block.binary.size();
    }
    Put16(out, static_cast<std::uint16_t>(valueLength));
    Put16(out, block.text ? 1 : 0);
    for (char16_t c : Utf8ToUtf16(block.key)) {
        Put16(out, c);
    }
    Put16(out, 0);
    Align4(out);
    if (block.text) {
        if (!block.textValue.empty()) {
            for (char16_t c : block.textValue) {
                Put16(out, c);
            }
            Put16(out, 0);
        }
    } else {
        out.insert(out.end(), block.binary.begin(), block.binary.end());
    }
    for (const SVersionBlock& child : block.children) {
        Align4(out);
        Serialise(child, out);
    }
    Set16(out, start, static_cast<std::uint16_t>(out.size() - start));
}

// One parsed block header, positions relative to the record's start.
struct SParsed {
    std::size_t end = 0;  // one past the block
    std::string key;
    std::size_t value = 0;
    std::size_t valueBytes = 0;
    std::size_t children = 0;
};

bool ParseBlock(const std::vector<std::uint8_t>& rec, std::size_t at, std::size_t limit,
                SParsed& out) {
    if (at + kHeaderSize > limit) {
        return false;
    }
    const std::size_t length = Get16(&rec[at]);
    const std::size_t valueLength = Get16(&rec[at + 2]);
    const std::uint16_t type = Get16(&rec[at + 4]);
    if (length < kHeaderSize || at + length > limit) {
        return false;
    }
    out.end = at + length;
    std::size_t pos = at + kHeaderSize;
    std::u16string key;
    for (;;) {
        if (pos + 2 > out.end) {
            return false;  // key without terminator
        }
        char16_t c = Get16(&rec[pos]);
        pos += 2;
        if (c == 0) {
            break;
        }
        key.push_back(c);
    }
    out.key.clear();
    for (char16_t c : key) {
        AppendUtf8(out.key, c);
    }
    out.value = Aligned4(pos);
    out.valueBytes = type == 1 ? valueLength * 2 : valueLength;
    if (out.valueBytes == 0) {
        out.value = std::min(out.value, out.end);
    } else if (out.value + out.valueBytes > out.end) {
        return false;
    }
    out.children = Aligned4(out.value + out.valueBytes);
    return true;
}

bool SameKey(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<unsigned char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<unsigned char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<std::uint8_t> SerialiseVersionBlock(const SVersionBlock& block) {
    std::vector<std::uint8_t> out;
    Serialise(block, out);
    return out;
}

std::vector<std::uint8_t> BuildVersionRecord(
    const SFixedFileInfo& fixed, std::uint16_t language, std::uint16_t codePage,
    const std::vector<std::pair<std::string, std::string>>& strings) {
    SVersionBlock root;
    root.key = "VS_VERSION_INFO";
    root.binary.resize(sizeof fixed);
    std::memcpy(root.binary.data(), &fixed, sizeof fixed);

    char tableKey[9];
    std::snprintf(tableKey, sizeof tableKey, "%04x%04x", language, codePage);
    SVersionBlock table;
    table.key = tableKey;
    table.text = true;
    for (const auto& [name, value] : strings) {
        SVersionBlock entry;
        entry.key = name;
        entry.text = true;
        entry.textValue = Utf8ToUtf16(value);
        table.children.push_back(entry);
    }
    SVersionBlock stringInfo;
    stringInfo.key = "StringFileInfo";
    stringInfo.text = true;
    stringInfo.children.push_back(table);

    SVersionBlock translation;
    translation.key = "Translation";
    Put16(translation.binary, language);
    Put16(translation.binary, codePage);
    SVersionBlock varInfo;
    varInfo.key = "VarFileInfo";
    varInfo.text = true;
    varInfo.children.push_back(translation);

    root.children.push_back(stringInfo);
    root.children.push_back(varInfo);
    return SerialiseVersionBlock(root);
}

bool QueryVersionValue(const std::vector<std::uint8_t>& record, const std::string& subBlock,
                       const std::uint8_t*& value, std::size_t& size) {
    SParsed block;
    if (!ParseBlock(record, 0, std::min(record.size(), kMaxRecord), block)) {
        return false;
    }
    std::size_t from = 0;
    while (from < subBlock.size()) {
        std::size_t sep = subBlock.find('\\', from);
        if (sep == std::string::npos) {
            sep = subBlock.size();
        }
        const std::string part = subBlock.substr(from, sep - from);
        from = sep + 1;
        if (part.empty()) {
            continue;
        }
        bool found = false;
        for (std::size_t at = block.children; at + kHeaderSize <= block.end;) {
            SParsed child;
            if (!ParseBlock(record, at, block.end, child)) {
                return false;
            }
            if (SameKey(child.key, part)) {
                block = child;
                found = true;
                break;
            }
            at = Aligned4(child.end);
        }
        if (!found) {
            return false;
        }
    }
    value = record.data() + block.value;
    size = block.valueBytes;
    return true;
}

bool ReadElfSection(const std::string& path, const std::string& section,
                    std::vector<std::uint8_t>& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    in.seekg(0, std::ios::end);
    const auto fileSize = static_cast<std::uint64_t>(in.tellg());
    in.seekg(0);
    auto readAt = [&](std::uint64_t offset, void* buffer, std::uint64_t bytes) {
        if (offset > fileSize || bytes > fileSize - offset) {
            return false;
        }
        in.seekg(static_cast<std::streamoff>(offset));
        in.read(static_cast<char*>(buffer), static_cast<std::streamsize>(bytes));
        return static_cast<bool>(in);
    };

    Elf64_Ehdr header{};
    if (!readAt(0, &header, sizeof header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
        header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shnum == 0 ||
        header.e_shstrndx >= header.e_shnum) {
        return false;
    }
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    if (!readAt(header.e_shoff, sections.data(), sizeof(Elf64_Shdr) * sections.size())) {
        return false;
    }
    const Elf64_Shdr& names = sections[header.e_shstrndx];
    if (names.sh_size > (1u << 24)) {
        return false;
    }
    std::string nameTable(names.sh_size, '\0');
    if (!readAt(names.sh_offset, nameTable.data(), nameTable.size())) {
        return false;
    }
    for (const Elf64_Shdr& s : sections) {
        if (s.sh_name >= nameTable.size() ||
            nameTable.compare(s.sh_name, section.size() + 1, section.c_str(), section.size() + 1) !=
                0) {
            continue;
        }
        if (s.sh_type == SHT_NOBITS || s.sh_size > kMaxRecord + 4) {
            return false;
        }
        data.resize(s.sh_size);
        return readAt(s.sh_offset, data.data(), data.size());
    }
    return false;
}

namespace {

// Length of the record at the start of a version section; 0 when the section
// is too short for it.
std::size_t RecordLength(const std::vector<std::uint8_t>& section) {
    if (section.size() < kHeaderSize) {
        return 0;
    }
    const std::size_t length = Get16(section.data());
    return length <= section.size() ? length : 0;
}

}  // namespace

std::size_t GetFileVersionInfoSize(const std::string& path) {
    std::vector<std::uint8_t> section;
    return ReadElfSection(path, kVersionSection, section) ? RecordLength(section) : 0;
}

bool GetFileVersionInfo(const std::string& path, std::vector<std::uint8_t>& record) {
    // One read of the section; the record is trimmed to its own length.
    std::vector<std::uint8_t> section;
    if (!ReadElfSection(path, kVersionSection, section)) {
        return false;
    }
    const std::size_t size = RecordLength(section);
    if (size == 0) {
        return false;
    }
    section.resize(size);
    record = std::move(section);
    return true;
}

std::string FileVersionFromRecord(const std::vector<std::uint8_t>& record) {
    const std::uint8_t* value = nullptr;
    std::size_t size = 0;
    SFixedFileInfo fixed;
    if (!QueryVersionValue(record, "\\", value, size) || size < sizeof fixed) {
        return {};
    }
    std::memcpy(&fixed, value, sizeof fixed);
    if (fixed.dwSignature != kFixedFileInfoSignature) {
        return {};
    }
    unsigned language = 0x0409;
    unsigned codePage = 1252;
    if (QueryVersionValue(record, "\\VarFileInfo\\Translation", value, size) && size >= 4) {
        language = Get16(value);
        codePage = Get16(value + 2);
    }
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", language, codePage,
                  "FileVersion");
    if (!QueryVersionValue(record, query, value, size)) {
        return {};
    }
    return Utf16BytesToUtf8(value, size);
}

std::string ReadFileVersion(const std::string& path) {
    std::vector<std::uint8_t> record;
    if (!GetFileVersionInfo(path, record)) {
        return {};
    }
    return FileVersionFromRecord(record);
}

std::string ProgramPath() {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) {
        return {};
    }
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

}  // namespace ondrelo::host
