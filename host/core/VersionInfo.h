// The program's version record: a tree of keyed blocks in the classic
// version-resource layout (16-bit lengths, UTF-16 keys, values aligned to
// 32 bits), embedded in its own ELF section of the program file. The
// builder makes such a record; the reader finds and queries it by sub-block
// path ("\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904b0\\FileVersion").
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ondrelo::host {

// Name of the ELF section that carries the record.
inline constexpr const char* kVersionSection = ".ondrelo_version";

inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

// The fixed file information at the root of the record (13 32-bit words).
struct SFixedFileInfo {
    std::uint32_t dwSignature = kFixedFileInfoSignature;
    std::uint32_t dwStrucVersion = 0x00010000;
    std::uint32_t dwFileVersionMS = 0;
    std::uint32_t dwFileVersionLS = 0;
    std::uint32_t dwProductVersionMS = 0;
    std::uint32_t dwProductVersionLS = 0;
    std::uint32_t dwFileFlagsMask = 0x3F;
    std::uint32_t dwFileFlags = 0;
    std::uint32_t dwFileOS = 0x00040004;
    std::uint32_t dwFileType = 1;  // application
    std::uint32_t dwFileSubtype = 0;
    std::uint32_t dwFileDateMS = 0;
    std::uint32_t dwFileDateLS = 0;
};
static_assert(sizeof(SFixedFileInfo) == 52);

// One block of the record. A text block's value is a UTF-16 string; a
// binary block's value is raw bytes.
struct SVersionBlock {
    std::string key;
    bool text = false;
    std::vector<std::uint8_t> binary;
    std::u16string textValue;
    std::vector<SVersionBlock> children;
};

// Serialises a block with its children.
std::vector<std::uint8_t> SerialiseVersionBlock(const SVersionBlock& block);

// A complete record: fixed info, one string table for the language and code
// page, and the translation list naming that pair.
std::vector<std::uint8_t> BuildVersionRecord(
    const SFixedFileInfo& fixed, std::uint16_t language, std::uint16_t codePage,
    const std::vector<std::pair<std::string, std::string>>& strings);

// Looks up a sub block of a serialised record. On success points value at
// its value inside the record and sets size to its length in bytes (for a
// text value: the characters including the terminating zero, times two).
// Key comparison ignores ASCII letter case. Malformed records give false.
bool QueryVersionValue(const std::vector<std::uint8_t>& record, const std::string& subBlock,
                       const std::uint8_t*& value, std::size_t& size);

// Reads a named section of an ELF file; false when the file is not a
// readable ELF file or has no such section.
bool ReadElfSection(const std::string& path, const std::string& section,
                    std::vector<std::uint8_t>& data);

// Size of the version record of a program file; 0 when it has none.
std::size_t GetFileVersionInfoSize(const std::string& path);
// Loads the version record of a program file.
bool GetFileVersionInfo(const std::string& path, std::vector<std::uint8_t>& record);

// The file version string of a version record, read the classic way: fixed
// info with its signature required, the first translation (code page 1252
// when the list is shorter than 4 bytes), then
// "\\StringFileInfo\\<lang><cp>\\FileVersion". Empty when any step fails.
std::string FileVersionFromRecord(const std::vector<std::uint8_t>& record);
// The same for a program file.
std::string ReadFileVersion(const std::string& path);

// The running program's own file path.
std::string ProgramPath();

}  // namespace ondrelo::host
