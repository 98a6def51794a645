// The catalogue reader, the chooser's selection rules, and the shipped
// catalogue: every expression compiles, accepts its good examples and refuses
// its bad ones, and keeps to syntax that browsers understand too.
#include <gtest/gtest.h>

#include <boost/regex.hpp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "formwarden/JsRegExp.h"
#include "formwarden/RegExpCatalogue.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/testsupport/ScratchDir.h"

namespace {

using namespace formwarden;

CRegExpCatalogue ReadText(const std::string& text) {
    CRegExpCatalogue catalogue;
    std::istringstream in(text);
    catalogue.Read(in);
    return catalogue;
}

std::string ShippedCataloguePath() {
    const char* dir = std::getenv("ONDRELO_TEST_DATA");
    return std::string(dir ? dir : ".") + "/scripts/" + kRegExpCatalogueFileName;
}

TEST(RegExpCatalogueReader, ParsesRecordsInAnyOrder) {
    struct Case {
        const char* label;
        const char* text;
        std::vector<SRegExpEntry> expected;
    };
    const Case cases[] = {
        {"name, desc, regexp",
         "EXPNAME=Zip code\nDESC=Five digits\nREGEXP=^\\d{5}$\n",
         {{"Zip code", "^\\d{5}$", "Five digits"}}},
        {"comments, also indented",
         ";EXPNAME=No\n   ; REGEXP=x\nEXPNAME=A\nREGEXP=a\nDESC=d\n",
         {{"A", "a", "d"}}},
        {"leading blanks before a prefix", "  EXPNAME=A\n\tREGEXP=a\n DESC=d\n", {{"A", "a", "d"}}},
        {"trailing blanks stay, CR of CR LF goes",
         "EXPNAME=A \r\nREGEXP=a\r\nDESC=d  \r\n",
         {{"A ", "a", "d  "}}},
        {"later line replaces an incomplete part",
         "EXPNAME=Old\nEXPNAME=New\nREGEXP=x\nDESC=y\n",
         {{"New", "x", "y"}}},
        {"an incomplete record at the end is dropped",
         "EXPNAME=A\nREGEXP=a\nDESC=d\nEXPNAME=B\nREGEXP=b\n",
         {{"A", "a", "d"}}},
        {"prefixes compare with letter case", "expname=A\nREGEXP=a\nDESC=d\n", {}},
        {"an empty value does not complete a record",
         "EXPNAME=A\nREGEXP=\nDESC=d\nREGEXP=r\n",
         {{"A", "r", "d"}}},
        {"an entry ends with its third part",
         "EXPNAME=A\nREGEXP=a\nDESC=d\nDESC=e\nEXPNAME=B\nREGEXP=b\n",
         {{"A", "a", "d"}, {"B", "b", "e"}}},
        {"no line end after the last line", "EXPNAME=A\nREGEXP=a\nDESC=d", {{"A", "a", "d"}}},
    };
    for (const Case& c : cases) {
        const CRegExpCatalogue catalogue = ReadText(c.text);
        ASSERT_EQ(catalogue.Entries().size(), c.expected.size()) << c.label;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(catalogue.Entries()[i].m_strName, c.expected[i].m_strName) << c.label;
            EXPECT_EQ(catalogue.Entries()[i].m_strExpression, c.expected[i].m_strExpression)
                << c.label;
            EXPECT_EQ(catalogue.Entries()[i].m_strDescription, c.expected[i].m_strDescription)
                << c.label;
        }
    }
}

TEST(RegExpCatalogueReader, MissingFileGivesNoEntries) {
    CRegExpCatalogue catalogue = ReadText("EXPNAME=A\nREGEXP=a\nDESC=d\n");
    EXPECT_FALSE(catalogue.ReadFile("/nonexistent/dir/regexp.txt"));
    EXPECT_TRUE(catalogue.Entries().empty());
}

TEST(RegExpChooser, SortsWithoutCaseAndSelects) {
    const CRegExpCatalogue catalogue = ReadText(
        "EXPNAME=Beta\nREGEXP=b\nDESC=db\n"
        "EXPNAME=alpha\nREGEXP=a\nDESC=da\n"
        "EXPNAME=Gamma\nREGEXP=g\nDESC=dg\n");
    CRegExpChooser chooser(catalogue);

    chooser.Open("g");
    ASSERT_EQ(chooser.GetRowCount(), 3);
    EXPECT_EQ(chooser.GetRowName(0), "alpha");
    EXPECT_EQ(chooser.GetRowName(1), "Beta");
    EXPECT_EQ(chooser.GetRowName(2), "Gamma");
    EXPECT_EQ(chooser.GetEntryIndex(0), 1);
    EXPECT_EQ(chooser.GetSelectedRow(), 2);
    EXPECT_EQ(chooser.GetExpressionField(), "g");
    EXPECT_EQ(chooser.GetHelpText(), "dg");

    // No entry has this expression: the first row is selected.
    chooser.Open("nothing");
    EXPECT_EQ(chooser.GetSelectedRow(), 0);
    EXPECT_EQ(chooser.GetExpressionField(), "a");

    std::string result;
    chooser.SelectRow(1);
    chooser.SetExpressionField("edited");
    ASSERT_TRUE(chooser.Ok(result));
    EXPECT_EQ(result, "edited");

    // An emptied field returns the selected entry's expression.
    chooser.SetExpressionField("");
    ASSERT_TRUE(chooser.Ok(result));
    EXPECT_EQ(result, "b");
}

TEST(RegExpChooser, EmptyFieldWithoutSelectionIsRefused) {
    ondrelo::CScriptedPrompt prompt;
    const CRegExpCatalogue empty;
    CRegExpChooser chooser(empty);
    chooser.Open("");
    EXPECT_EQ(chooser.GetSelectedRow(), -1);
    std::string result = "kept";
    EXPECT_FALSE(chooser.Ok(result));
    EXPECT_EQ(result, "kept");
    ASSERT_EQ(prompt.MessageTexts().size(), 1u);
    EXPECT_EQ(prompt.MessageTexts()[0], "Please select a Regular expression from the list.");
}

// Good and bad inputs of every shipped expression, by entry name.
struct SExamples {
    std::vector<std::string> good;
    std::vector<std::string> bad;
};

const std::map<std::string, SExamples>& ShippedExamples() {
    static const std::map<std::string, SExamples> examples = {
        {"Postal code: US ZIP code", {{"12345", "12345-6789"}, {"1234", "12345-678", "1234a"}}},
        {"Postal code: Canada", {{"K1A 0B1", "H0H0H0"}, {"D1A 0B1", "K1A 0D1", "k1a 0b1"}}},
        {"Postal code: United Kingdom",
         {{"SW1A 1AA", "M1 1AE", "B33 8TH", "CR2 6XH", "DN55 1PT"},
          {"1AA 1AA", "SW1A 1A", "SW1A-1AA"}}},
        {"Postal code: five digits (Germany, France, Italy, Spain)",
         {{"10115", "75008"}, {"1011", "101150"}}},
        {"Postal code: four digits (Australia, Austria, Belgium, Denmark, Norway, Switzerland)",
         {{"8001", "2000"}, {"800", "80011"}}},
        {"Postal code: Netherlands", {{"1012 AB", "1012AB"}, {"0123 AB", "1012 ab", "1012 A"}}},
        {"Postal code: Poland", {{"00-950"}, {"00950", "0-9500"}}},
        {"Postal code: Sweden", {{"114 55", "11455"}, {"1145", "114-55"}}},
        {"Postal code: Brazil (CEP)", {{"01310-200", "01310200"}, {"0131-0200", "01310-20"}}},
        {"Postal code: Japan", {{"100-0001"}, {"1000001", "10-00001"}}},
        {"Postal code: India (PIN)", {{"110001", "110 001"}, {"010001", "11001"}}},
        {"Phone number: North America",
         {{"(212) 555-0123", "212-555-0123", "+1 212 555 0123", "2125550123", "1.212.555.0123"},
          {"555-0123", "(123) 555-0123", "212-155-0123", "212-555-012"}}},
        {"Phone number: international (E.164)",
         {{"+442071838750", "+14155552671"},
          {"442071838750", "+0442071838750", "+12345", "+44 20"}}},
        {"Phone number: digits with separators",
         {{"+49 (30) 1234-5678", "030 123456", "555.123.4567", "(030) 1234567"},
          {"12345", "phone", "12  34 56", "12-34-", "123456789012345678901"}}},
        {"Date: YYYY-MM-DD (ISO 8601)",
         {{"2024-02-29", "1999-12-31"}, {"2024-13-01", "2024-1-5", "2024-00-10", "2024-01-32"}}},
        {"Date: MM/DD/YYYY (US)",
         {{"12/31/1999", "7/4/2024"}, {"13/01/2024", "12/32/2024", "12-31-1999"}}},
        {"Date: DD.MM.YYYY or DD/MM/YYYY (Europe)",
         {{"31.12.1999", "1/2/2020", "05-06-2021"}, {"32.01.2000", "31.13.1999", "31.12-1999"}}},
        {"Year: 1900 to 2099", {{"1900", "2099", "1987"}, {"1899", "2100", "87"}}},
        {"Time: HH:MM (24-hour)", {{"23:59", "7:05", "00:00"}, {"24:00", "12:60", "7:5"}}},
        {"Time: HH:MM:SS (24-hour)", {{"08:30:00", "23:59:59"}, {"8:30:00", "24:00:00", "08:30"}}},
        {"Time: HH:MM AM/PM (12-hour)",
         {{"9:05 PM", "12:30am", "01:00 Am"}, {"13:00 PM", "12:30", "0:30 AM"}}},
        {"E-mail address",
         {{"jane.doe+news@example.co.uk", "a@b.cd", "x_y%z@mail-server.example.org"},
          {"jane@", "@example.com", "jane@example", "jane doe@example.com", "jane@-example.com"}}},
        {"Web address (http, https or ftp URL)",
         {{"http://example.com", "https://www.example.org:8080/path?q=1#top",
           "ftp://ftp.example.net/"},
          {"example.com", "http://", "http://-bad.com", "http://exa mple.com", "mailto:a@b.cd"}}},
        {"Domain name",
         {{"example.com", "shop.example.co.uk"}, {"-example.com", "example", "example..com"}}},
        {"IP address (IPv4)",
         {{"192.168.0.1", "255.255.255.255", "0.0.0.0", "10.0.0.99"},
          {"256.1.1.1", "1.2.3", "01.2.3.4", "1.2.3.4.5", "1.2.3.a"}}},
        {"MAC address",
         {{"00:1A:2B:3C:4D:5E", "00-1a-2b-3c-4d-5e"},
          {"00:1A:2B:3C:4D", "00:1A-2B:3C:4D:5E", "00:1G:2B:3C:4D:5E"}}},
        {"User name", {{"jdoe_42", "abc"}, {"ab", "1jdoe", "j.doe", "abcdefghijklmnopq"}}},
        {"Password: at least 8 characters with upper case, lower case and digit",
         {{"Secret123", "aB3xxxxx"}, {"secret123", "SECRET123", "Secretxyz", "Sec12"}}},
        {"Credit card number: four groups of four digits",
         {{"4111 1111 1111 1111", "4111-1111-1111-1111", "4111111111111111"},
          {"4111 1111 1111 111", "4111 1111-1111 1111", "4111 1111 1111 11111",
           "4111  1111 1111 1111"}}},
        {"Credit card number: 4-6-5 digit groups (American Express)",
         {{"3782 822463 10005", "378282246310005", "3714-496353-98431"},
          {"3782 8224 6310 005", "4782 822463 10005", "3782 822463-10005"}}},
        {"Card security code", {{"123", "1234"}, {"12", "12345", "12a"}}},
        {"Card expiry date: MM/YY", {{"09/27", "12/30"}, {"13/27", "9/27", "09/2027"}}},
        {"Bank account: IBAN",
         {{"DE89370400440532013000", "GB29NWBK60161331926819"},
          {"DE89 3704 0044 0532 0130 00", "de89370400440532013000", "DE8937040"}}},
        {"Amount of money",
         {{"1,234.56", "1234.56", "12", "1,000,000"}, {"1,23.45", "12.3", "1.234,56"}}},
        {"Whole number", {{"-42", "+7", "0"}, {"4.2", "--4", ""}}},
        {"Positive whole number", {{"250", "1"}, {"0", "025", "-3"}}},
        {"Decimal number", {{"-3.75", ".5", "10", "2."}, {"1.2.3", "-", "."}}},
        {"Percentage: 0 to 100", {{"0", "99.5%", "100", "100.00%"}, {"101", "100.5", "50%%"}}},
        {"Colour: hexadecimal (#RGB or #RRGGBB)", {{"#fff", "#1A2b3C"}, {"#ffff", "fff", "#ggg"}}},
        {"Person's name", {{"Mary-Jane O'Neil", "Smith"}, {"John  Smith", "J0hn", " Smith"}}},
        {"US Social Security number",
         {{"123-45-6789"},
          {"000-12-3456", "666-12-3456", "900-12-3456", "123-00-4567", "123-45-0000",
           "123456789"}}},
    };
    return examples;
}

// Constructs that Boost accepts and browsers do not (or that mean something
// else there): the shipped expressions must avoid them.
TEST(ShippedRegExpCatalogue, EveryExpressionWorksAsDocumented) {
    CRegExpCatalogue catalogue;
    ASSERT_TRUE(catalogue.ReadFile(ShippedCataloguePath())) << ShippedCataloguePath();
    ASSERT_GE(catalogue.Entries().size(), 30u);
    const char* const nonPortable[] = {"(?<", "(?>", "(?i", "(?#", "[[:", "\\A", "\\Z", "\\z",
                                       "\\Q", "\\h", "\\R", "*+",  "++",  "?+",  "\\p{"};
    std::map<std::string, int> seen;
    for (const SRegExpEntry& entry : catalogue.Entries()) {
        SCOPED_TRACE(entry.m_strName);
        EXPECT_EQ(++seen[entry.m_strName], 1) << "duplicate name";
        EXPECT_EQ(entry.m_strExpression.front(), '^');
        EXPECT_EQ(entry.m_strExpression.back(), '$');
        // A double quote would need escaping in every generated call.
        EXPECT_EQ(entry.m_strExpression.find('"'), std::string::npos);
        for (const char* construct : nonPortable) {
            EXPECT_EQ(entry.m_strExpression.find(construct), std::string::npos) << construct;
        }
        EXPECT_EQ(JsRegExpSyntaxError(entry.m_strExpression), "") << "not valid in the browser";
        boost::regex re;
        ASSERT_NO_THROW(re.assign(entry.m_strExpression, boost::regex::perl));
        const auto it = ShippedExamples().find(entry.m_strName);
        ASSERT_NE(it, ShippedExamples().end()) << "no examples for this entry";
        ASSERT_FALSE(it->second.good.empty());
        ASSERT_FALSE(it->second.bad.empty());
        // The runtime tests the input with a search, as a browser does.
        for (const std::string& good : it->second.good) {
            EXPECT_TRUE(boost::regex_search(good, re)) << "refuses " << good;
        }
        for (const std::string& bad : it->second.bad) {
            EXPECT_FALSE(boost::regex_search(bad, re)) << "accepts " << bad;
        }
    }
    EXPECT_EQ(seen.size(), ShippedExamples().size()) << "examples for entries that are gone";
}

std::string JsString(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\\' || c == '\'') {
            out += '\\';
        }
        out += c;
    }
    return out + "'";
}

// The same examples run through a JavaScript engine when one is installed.
TEST(ShippedRegExpCatalogue, SameResultsInJavaScript) {
    if (std::system("node --version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "node not installed";
    }
    CRegExpCatalogue catalogue;
    ASSERT_TRUE(catalogue.ReadFile(ShippedCataloguePath()));
    std::string script =
        "var failures = [];\nfunction check(re, text, want) {\n"
        "  if (new RegExp(re).test(text) !== want) failures.push(re + ' ' + text);\n"
        "}\n";
    for (const SRegExpEntry& entry : catalogue.Entries()) {
        const auto it = ShippedExamples().find(entry.m_strName);
        if (it == ShippedExamples().end()) {
            continue;
        }
        for (const std::string& good : it->second.good) {
            script +=
                "check(" + JsString(entry.m_strExpression) + ", " + JsString(good) + ", true);\n";
        }
        for (const std::string& bad : it->second.bad) {
            script +=
                "check(" + JsString(entry.m_strExpression) + ", " + JsString(bad) + ", false);\n";
        }
    }
    script += "if (failures.length) { console.log(failures.join('\\n')); process.exit(1); }\n";
    const std::string path = testing::TempDir() + "regexp_catalogue_check.js";
    std::ofstream(path) << script;
    EXPECT_EQ(std::system(("node " + path).c_str()), 0);
    std::remove(path.c_str());
}

// The expression catalogue's fuzzing seeds: the shipped catalogue and a
// short one with comments, blanks and a record whose parts come in another
// order (when ONDRELO_FUZZ_CORPUS_DIR is set).
TEST(FuzzCorpus, RegExpCatalogueSeeds) {
    const std::string dir = ondrelo::test::FuzzSeedDir("regexp_catalogue");
    if (dir.empty()) {
        GTEST_SKIP() << "ONDRELO_FUZZ_CORPUS_DIR is not set";
    }
    const std::string shipped = ondrelo::test::ReadFile(ShippedCataloguePath());
    ASSERT_FALSE(shipped.empty());
    ondrelo::test::WriteFile(dir + "/shipped.txt", shipped);
    ondrelo::test::WriteFile(dir + "/short.txt",
                             "; comment\r\n  ;indented comment\r\nEXPNAME=Zip\r\n"
                             "REGEXP=^\\d{5}$\r\nDESC=Five digits\r\n\r\n"
                             "DESC=Any word\nREGEXP=\\w+\nEXPNAME=word\n");
}

}  // namespace
