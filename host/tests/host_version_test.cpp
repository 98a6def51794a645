#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "VersionInfo.h"

namespace {

using namespace ondrelo::host;

std::vector<std::uint8_t> StandardRecord(std::uint16_t lang = 0x0409, std::uint16_t cp = 1200) {
    SFixedFileInfo fixed;
    fixed.dwFileVersionMS = 0x00010001;
    fixed.dwFileVersionLS = 0x00040013;
    return BuildVersionRecord(fixed, lang, cp,
                              {{"CompanyName", "Velmora"},
                               {"FileVersion", "1, 1, 4, 19"},
                               {"LegalCopyright", "Copyright \u00a9 Velmora"}});
}

std::string Text(const std::uint8_t* value, std::size_t size) {
    std::u16string s;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        char16_t c = static_cast<char16_t>(value[i] | (value[i + 1] << 8));
        if (c == 0) {
            break;
        }
        s.push_back(c);
    }
    return std::string(s.begin(), s.end());  // ASCII only in these checks
}

TEST(VersionRecord, ReadsTheFileVersionTheClassicWay) {
    EXPECT_EQ(FileVersionFromRecord(StandardRecord()), "1, 1, 4, 19");
}

TEST(VersionRecord, RootHoldsFixedInfoWithSignature) {
    const auto record = StandardRecord();
    const std::uint8_t* value = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(QueryVersionValue(record, "\\", value, size));
    ASSERT_EQ(size, sizeof(SFixedFileInfo));
    SFixedFileInfo fixed;
    std::memcpy(&fixed, value, size);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00040013u);
    // Blocks are laid out on 32-bit boundaries and the length covers the record.
    EXPECT_EQ((value - record.data()) % 4, 0);
    EXPECT_EQ(record[0] | (record[1] << 8), static_cast<int>(record.size()));
}

TEST(VersionRecord, QueriesSubBlocksWithoutRegardToCase) {
    const auto record = StandardRecord();
    const std::uint8_t* value = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(QueryVersionValue(record, "\\VarFileInfo\\Translation", value, size));
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(value[0] | (value[1] << 8), 0x0409);
    EXPECT_EQ(value[2] | (value[3] << 8), 1200);

    ASSERT_TRUE(QueryVersionValue(record, "\\stringfileinfo\\040904B0\\companyname", value, size));
    EXPECT_EQ(Text(value, size), "Velmora");
    EXPECT_EQ(size, (std::strlen("Velmora") + 1) * 2);

    EXPECT_FALSE(QueryVersionValue(record, "\\StringFileInfo\\040904b0\\Comments", value, size));
    EXPECT_FALSE(QueryVersionValue(record, "\\StringFileInfo\\04070000\\FileVersion", value, size));
    EXPECT_FALSE(QueryVersionValue(record, "\\Nothing", value, size));
}

TEST(VersionRecord, TranslationDecidesTheStringTable) {
    // A table for another language is found through the translation list.
    EXPECT_EQ(FileVersionFromRecord(StandardRecord(0x0407, 1252)), "1, 1, 4, 19");

    // Without a translation list, code page 1252 of US English is assumed.
    SVersionBlock root;
    root.key = "VS_VERSION_INFO";
    SFixedFileInfo fixed;
    root.binary.resize(sizeof fixed);
    std::memcpy(root.binary.data(), &fixed, sizeof fixed);
    SVersionBlock entry{"FileVersion", true, {}, u"2, 0, 0, 1", {}};
    SVersionBlock table{"040904e4", true, {}, {}, {entry}};
    SVersionBlock strings{"StringFileInfo", true, {}, {}, {table}};
    root.children = {strings};
    EXPECT_EQ(FileVersionFromRecord(SerialiseVersionBlock(root)), "2, 0, 0, 1");

    // A translation value shorter than 4 bytes is ignored the same way.
    SVersionBlock shortList{"Translation", false, {0x09, 0x04}, {}, {}};
    SVersionBlock vars{"VarFileInfo", true, {}, {}, {shortList}};
    root.children = {strings, vars};
    EXPECT_EQ(FileVersionFromRecord(SerialiseVersionBlock(root)), "2, 0, 0, 1");

    // The program's own pair names a table that this record lacks.
    table.key = "040904b0";
    strings.children = {table};
    root.children = {strings};
    EXPECT_EQ(FileVersionFromRecord(SerialiseVersionBlock(root)), "");
}

TEST(VersionRecord, WithoutFixedInfoSignatureThereIsNoVersion) {
    SFixedFileInfo fixed;
    fixed.dwSignature = 0x12345678;
    EXPECT_EQ(FileVersionFromRecord(
                  BuildVersionRecord(fixed, 0x0409, 1200, {{"FileVersion", "1, 1, 4, 19"}})),
              "");
    // A root without any value at all.
    SVersionBlock root{"VS_VERSION_INFO", false, {}, {}, {}};
    EXPECT_EQ(FileVersionFromRecord(SerialiseVersionBlock(root)), "");
}

TEST(VersionRecord, DamagedRecordsGiveNoVersionAndNoCrash) {
    const auto good = StandardRecord();
    EXPECT_EQ(FileVersionFromRecord({}), "");
    for (std::size_t n = 0; n < good.size(); ++n) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
        EXPECT_EQ(FileVersionFromRecord(cut), "") << "cut at " << n;
    }
    // Any single byte overwritten: whatever comes out stays inside the record.
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (std::uint8_t b : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
            auto bad = good;
            bad[i] = b;
            const std::string version = FileVersionFromRecord(bad);
            EXPECT_LE(version.size(), good.size());
        }
    }
}

TEST(VersionFile, ProgramCarriesItsOwnRecord) {
    const std::string self = ProgramPath();
    ASSERT_FALSE(self.empty());
    EXPECT_GT(GetFileVersionInfoSize(self), sizeof(SFixedFileInfo));
    EXPECT_EQ(ReadFileVersion(self), "1, 1, 4, 19");
}

TEST(VersionFile, FilesWithoutRecordGiveNoVersion) {
    const std::string text = testing::TempDir() + "ondrelo_not_elf.txt";
    {
        std::ofstream out(text);
        out << "\x7f"
               "ELF but not really";
    }
    const std::string truncated = testing::TempDir() + "ondrelo_cut_elf";
    {
        std::ifstream in(ProgramPath(), std::ios::binary);
        std::vector<char> head(200);
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        std::ofstream out(truncated, std::ios::binary);
        out.write(head.data(), static_cast<std::streamsize>(head.size()));
    }
    for (const std::string& path :
         {text, truncated, std::string("/nonexistent/ondrelo"), std::string("/bin/sh")}) {
        EXPECT_EQ(GetFileVersionInfoSize(path), 0u) << path;
        EXPECT_EQ(ReadFileVersion(path), "") << path;
    }
    std::remove(text.c_str());
    std::remove(truncated.c_str());
}

}  // namespace
