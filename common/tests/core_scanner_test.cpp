// Tag search, attribute collection, editing, old marked blocks, and loading
// and saving pages with the modification check.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <boost/regex.hpp>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "ondrelo/HTMLScanner.h"
#include "ondrelo/OndException.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/testsupport/ScratchDir.h"

namespace fs = std::filesystem;
using ondrelo::CScriptedPrompt;

namespace {

using ondrelo::test::ReadFile;
using ondrelo::test::WriteFile;
using TempDir = ondrelo::test::CScratchDir;

// Moves the file's modification time, as another program writing it would.
void Touch(const fs::path& p, int seconds = 5) {
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    times[1].tv_sec += seconds;
    ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, 0), 0);
}

// A scanner with its own signature that records the old blocks it is shown.
class CRecordingScanner : public CHTMLScanner {
public:
    explicit CRecordingScanner(std::string signature = "Ondrelo")
        : m_signature(std::move(signature)) {}
    std::string GetModuleSignature() const override { return m_signature; }
    void ScanOldCode(const std::string& block) override { m_blocks.push_back(block); }
    std::vector<std::string> m_blocks;

private:
    std::string m_signature;
};

struct STagCase {
    const char* name;
    const char* text;
    const char* tagName;
    bool withContent;
    bool found;
    std::uint32_t tagStart;
    std::uint32_t tagEnd;
    const char* attribText;
    const char* content;
};

// Runs an insertion; the text of the scanner's error it raises, or "".
template <class Operation>
std::string InsertError(Operation operation) {
    try {
        EXPECT_TRUE(operation());
    } catch (COndException* e) {
        std::string text = e->GetErrorString();
        EXPECT_EQ(e->GetErrorCode(), 1003u) << text;
        delete e;
        return text;
    }
    return "";
}

std::string AttribText(const std::string& text, const SHtmlTag& tag) {
    return text.substr(tag.m_nAttribTextStart, tag.m_nAttribTextEnd - tag.m_nAttribTextStart);
}

// The scanner's fuzzing seeds (when ONDRELO_FUZZ_CORPUS_DIR is set): pages
// into which the scanner put its marked blocks, with comments, script
// blocks, forms and links around them, and one without head and end tags.
TEST(FuzzCorpus, ScannerSeeds) {
    const std::string dir = ondrelo::test::FuzzSeedDir("scanner");
    if (dir.empty()) {
        GTEST_SKIP() << "ONDRELO_FUZZ_CORPUS_DIR is not set";
    }
    const std::string page =
        "<!DOCTYPE html>\n<HTML><HEAD><TITLE>t</TITLE>\n"
        "<script>if (a < b) { document.write('<body>'); }</script>\n</HEAD>\n"
        "<!-- <a href=\"commented.html\"> -->\n<BODY bgcolor=\"white\" onload='go()'>\n"
        "<a href=\"one.html\" target=_blank>One</a> <A HREF = 'two.html'>Two</A>\n"
        "<form name=\"f\" action=\"send.cgi\" method=post><input type=text name=q value=\"a b\">"
        "<select name=s><option value=1 selected>x</select></form>\n"
        "<img src=\"p.gif\" width=10 height=10 alt>\n</BODY></HTML>\n";
    CHTMLScanner scanner;
    scanner.SetContent(page);
    ASSERT_TRUE(scanner.InsertScriptInclusion("<SCRIPT src=\"x.js\"></SCRIPT>"));
    ASSERT_TRUE(scanner.InsertAfterBodyTag("<p>inserted</p>"));
    scanner.Append("<SCRIPT>var n = 1;</SCRIPT>", true);
    ondrelo::test::WriteFile(dir + "/marked.html", scanner.GetText());
    ondrelo::test::WriteFile(dir + "/plain.html", page);

    CHTMLScanner headless;
    headless.SetContent("<BODY>\n<p>no head <b>and</b> no end tags\n<a name=x>x</a>");
    ASSERT_TRUE(headless.InsertScriptInclusion("<SCRIPT src=\"y.js\"></SCRIPT>"));
    ASSERT_TRUE(headless.InsertAfterBodyTag("<p>inserted</p>"));
    ondrelo::test::WriteFile(dir + "/no-body.html", headless.GetText());
}

}  // namespace

TEST(ScannerTagSearch, Table) {
    const STagCase cases[] = {
        {"comment skipped", "<!-- <body> --><BODY bgcolor=white>x</body>", "body", true, true, 15,
         43, "bgcolor=white", "x"},
        {"only inside script", "<script> var s='<body>'; </script>", "body", false, false, 0, 0, "",
         ""},
        {"script with blanks and case", "< Script>'<a href=x>'</ SCRIPT >", "a", false, false, 0, 0,
         "", ""},
        {"after a script", "<script>x</script><a href=y>", "a", false, true, 18, 28, "href=y", ""},
        {"no closing, without content", "<body bgcolor=red>text", "body", false, true, 0, 18,
         "bgcolor=red", ""},
        {"no closing, with content", "<body bgcolor=red>text", "body", true, false, 0, 0, "", ""},
        {"tag name any case", "<Body>x</BODY>", "BODY", true, true, 0, 14, "", "x"},
        {"content ends at first closing", "<a>1<a>2</a>3</a>", "a", true, true, 0, 12, "", "1<a>2"},
        {"blanks inside the tags", "< a  href=q >t</ a >", "a", true, true, 0, 20, "href=q ", "t"},
        {"unclosed comment does not hide", "<!-- <a href=1>", "a", false, true, 5, 15, "href=1",
         ""},
        {"empty comment", "<!----><a>", "a", false, true, 7, 10, "", ""},
        // A name matches only as a whole word.
        {"a is not abbr", "<abbr title=x>y</abbr><a href=z>", "a", false, true, 22, 32, "href=z",
         ""},
        {"a is not area", "<area shape=rect><a>", "a", false, true, 17, 20, "", ""},
        {"head is not header", "<header>h</header><head>t</head>", "head", true, true, 18, 32, "",
         "t"},
        {"option is not optgroup", "<optgroup label=g><option value=1>", "option", false, true, 18,
         34, "value=1", ""},
        {"name before slash", "<br/>", "br", false, true, 0, 5, "/", ""},
        {"name before line feed", "<a\nhref=x>", "a", false, true, 0, 10, "href=x", ""},
        {"name at end of text", "<a", "a", false, false, 0, 0, "", ""},
        {"no closing bracket", "<a href=x", "a", false, false, 0, 0, "", ""},
    };
    for (const auto& c : cases) {
        CHTMLScanner scanner;
        SHtmlTag tag;
        std::string rest = "unchanged";
        const bool found = scanner.SeparateTag(c.text, c.tagName, tag, c.withContent, rest);
        ASSERT_EQ(found, c.found) << c.name;
        if (!found) {
            EXPECT_EQ(rest, "unchanged") << c.name;
            EXPECT_EQ(tag.m_nTagEnd, 0u) << c.name;
            continue;
        }
        const std::string text = c.text;
        EXPECT_EQ(tag.m_strTagName, c.tagName) << c.name;
        EXPECT_EQ(tag.m_nTagStart, c.tagStart) << c.name;
        EXPECT_EQ(tag.m_nTagEnd, c.tagEnd) << c.name;
        EXPECT_EQ(AttribText(text, tag), c.attribText) << c.name;
        EXPECT_EQ(tag.m_strContent, c.content) << c.name;
        EXPECT_EQ(rest, text.substr(c.tagEnd)) << c.name;
        if (c.withContent) {
            EXPECT_EQ(text.substr(tag.m_nContentStart, tag.m_strContent.size()), c.content)
                << c.name;
        } else {
            EXPECT_EQ(tag.m_nContentStart, 0u) << c.name;
        }
    }
}

TEST(ScannerTagSearch, FailureLeavesTagAndRestAlone) {
    CHTMLScanner scanner;
    SHtmlTag tag;
    tag.m_strTagName = "old";
    tag.m_nTagStart = 7;
    std::string rest = "old rest";
    EXPECT_FALSE(scanner.SeparateTag("<p>nothing</p>", "a", tag, false, rest));
    EXPECT_EQ(tag.m_strTagName, "old");
    EXPECT_EQ(tag.m_nTagStart, 7u);
    EXPECT_EQ(rest, "old rest");
}

// Following rest with a growing base and searching in place give the same
// tags with positions into the whole text.
TEST(ScannerTagSearch, RestChainAndInPlaceSearchAgree) {
    const std::string text =
        "<html><!-- <a href=c> --><a href='1'>one</a><script><a href=s></a></script>"
        "<abbr>x</abbr><A HREF=\"2\" target=_top>two</A> <a href=3>three</a>";
    CHTMLScanner scanner;
    std::vector<SHtmlTag> chained;
    std::string current = text;
    std::uint32_t base = 0;
    SHtmlTag tag;
    std::string rest;
    while (scanner.SeparateTag(current, "a", tag, true, rest, base)) {
        chained.push_back(tag);
        base = tag.m_nTagEnd;
        current = rest;
    }
    std::vector<SHtmlTag> inPlace;
    STagSearch search;
    while (scanner.FindTag(text, "a", tag, true, search)) {
        inPlace.push_back(tag);
        EXPECT_EQ(search.m_nFrom, tag.m_nTagEnd);
    }
    ASSERT_EQ(chained.size(), 3u);
    ASSERT_EQ(inPlace.size(), 3u);
    const char* hrefs[] = {"1", "2", "3"};
    const char* contents[] = {"one", "two", "three"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(chained[i].GetAttribValue("href"), hrefs[i]);
        EXPECT_EQ(chained[i].m_strContent, contents[i]);
        EXPECT_EQ(text.substr(chained[i].m_nContentStart, chained[i].m_strContent.size()),
                  contents[i]);
        EXPECT_EQ(chained[i].m_nTagStart, inPlace[i].m_nTagStart);
        EXPECT_EQ(chained[i].m_nTagEnd, inPlace[i].m_nTagEnd);
        EXPECT_EQ(chained[i].m_nAttribTextStart, inPlace[i].m_nAttribTextStart);
        ASSERT_EQ(chained[i].m_Attributes.size(), inPlace[i].m_Attributes.size());
        for (std::size_t j = 0; j < chained[i].m_Attributes.size(); ++j) {
            EXPECT_EQ(chained[i].m_Attributes[j].m_nStart, inPlace[i].m_Attributes[j].m_nStart);
            EXPECT_EQ(chained[i].m_Attributes[j].m_nEnd, inPlace[i].m_Attributes[j].m_nEnd);
        }
    }
    EXPECT_EQ(chained[1].GetAttribValue("TARGET"), "_top");
}

// Plain names are searched by hand, names with expression syntax by the
// regular expression; "(?:a)" means the same as "a", so both must agree on
// every page, however broken.
TEST(ScannerTagSearch, HandSearchAgreesWithTheExpression) {
    const char* pieces[] = {"<a",       "<A href='x'>",
                            "</a>",     "</ A >",
                            "<!--",     "-->",
                            "<script>", "</script>",
                            "< SCRIPT", "</ script >",
                            "<abbr>",   "<a/>",
                            ">",        " ",
                            "\n",       "x",
                            "'",        "=",
                            "<",        "<a\t",
                            "-",        "!",
                            "\""};
    std::mt19937 rng(12345);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(1, 40);
    CHTMLScanner scanner;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int i = length(rng); i > 0; --i) {
            text += pieces[pick(rng)];
        }
        for (bool withContent : {false, true}) {
            STagSearch plain, expr;
            for (int hit = 0; hit < 50; ++hit) {
                SHtmlTag a, b;
                const bool fa = scanner.FindTag(text, "a", a, withContent, plain);
                const bool fb = scanner.FindTag(text, "(?:a)", b, withContent, expr);
                ASSERT_EQ(fa, fb) << text;
                if (!fa) {
                    break;
                }
                ASSERT_EQ(a.m_nTagStart, b.m_nTagStart) << text;
                ASSERT_EQ(a.m_nTagEnd, b.m_nTagEnd) << text;
                ASSERT_EQ(a.m_nAttribTextStart, b.m_nAttribTextStart) << text;
                ASSERT_EQ(a.m_nAttribTextEnd, b.m_nAttribTextEnd) << text;
                ASSERT_EQ(a.m_nContentStart, b.m_nContentStart) << text;
                ASSERT_EQ(a.m_strContent, b.m_strContent) << text;
                ASSERT_EQ(a.m_Attributes.size(), b.m_Attributes.size()) << text;
            }
        }
    }
}

TEST(ScannerTagSearch, BadTagNameRaisesTheExpressionError) {
    CHTMLScanner scanner;
    SHtmlTag tag;
    std::string rest;
    EXPECT_THROW(scanner.SeparateTag("<a>", "a(", tag, false, rest), boost::regex_error);
}

// Pages that would make the expression engine work for ever: the search
// still ends, or the engine's giving up becomes the scanner's error.
TEST(ScannerTagSearch, MalformedLargePages) {
    std::string links;
    std::size_t linkCount = 0;
    while (links.size() < (20u << 20)) {
        links += "<p>words words words <a href='page.html'>link</a> more words\n";
        ++linkCount;
    }
    CHTMLScanner scanner;
    struct {
        const char* opening;
        bool withContent;
        std::size_t expected;
    } cases[] = {
        {"<html><!-- never closed ", false, linkCount},
        {"<html><script> never closed ", true, linkCount},
    };
    for (const auto& c : cases) {
        const std::string page = c.opening + links;
        std::size_t found = 0;
        STagSearch search;
        SHtmlTag tag;
        while (scanner.FindTag(page, "a", tag, c.withContent, search)) {
            ++found;
        }
        EXPECT_EQ(found, c.expected) << c.opening;
    }

    // Opening tags that are never closed: found without content, and a
    // search with content fails at once instead of trying each of them.
    std::string unclosed;
    while (unclosed.size() < (20u << 20)) {
        unclosed += "<a href=x>text text text text text text text text\n";
    }
    SHtmlTag tag;
    std::string rest;
    EXPECT_FALSE(scanner.SeparateTag(unclosed, "a", tag, true, rest));
    scanner.SetContent("<html><head><title>t</title></head>" + unclosed);
    EXPECT_NE(InsertError([&] { return scanner.InsertAfterBodyTag("x"); }), "");

    // An expression the engine gives up on.
    const std::string page = "<" + std::string(40, 'a') + ">";
    scanner.SetContent(page);
    try {
        scanner.SeparateTag(scanner.GetText(), "(a*)*b", tag, false, rest);
        ADD_FAILURE() << "no error raised";
    } catch (COndException* e) {
        EXPECT_EQ(e->GetErrorCode(), 1003u);
        EXPECT_NE(e->GetErrorString().find("too large or malformed"), std::string::npos);
        delete e;
    }
    EXPECT_EQ(scanner.GetText(), page);
    std::vector<std::string> results{"old"};
    try {
        scanner.RegExpMatch(std::string(40, 'a'), "(a*)*b", 1, results);
        ADD_FAILURE() << "no error raised";
    } catch (COndException* e) {
        EXPECT_EQ(e->GetErrorCode(), 1003u);
        delete e;
    }
}

TEST(ScannerAttributes, Collection) {
    struct {
        const char* text;
        std::vector<std::pair<std::string, std::string>> attributes;
    } cases[] = {
        {"href=\"a.html\" target='_blank' border=0",
         {{"href", "a.html"}, {"target", "_blank"}, {"border", "0"}}},
        {"checked name='x'", {{"checked name", "x"}}},
        {"name='x' checked", {{"name", "x"}, {"checked", ""}}},
        {"  value =' spaced '  ", {{"value", "spaced"}}},
        {"title='it\"s' alt=\"it's\"", {{"title", "it\"s"}, {"alt", "it's"}}},
        {"a=''", {{"a", ""}}},
        {"", {}},
        {"=x", {}},
        // Blanks and line breaks on either side of "=", as browsers read them.
        {"href = \"x.html\"", {{"href", "x.html"}}},
        {"type = \"text\" name = \"email\"", {{"type", "text"}, {"name", "email"}}},
        {"href=\r\n  'a b.html'\n\ttarget =\t_top", {{"href", "a b.html"}, {"target", "_top"}}},
        {"border= 0 alt =''", {{"border", "0"}, {"alt", ""}}},
        {"checked name = 'x'", {{"checked name", "x"}}},
        {"a= b=c", {{"a", "b=c"}}},
        {"value= ", {{"value", ""}}},
    };
    CHTMLScanner scanner;
    for (const auto& c : cases) {
        SHtmlTag tag;
        const bool any = scanner.CollectAttributes(c.text, tag, 100);
        EXPECT_EQ(any, !c.attributes.empty()) << c.text;
        ASSERT_EQ(tag.m_Attributes.size(), c.attributes.size()) << c.text;
        for (std::size_t i = 0; i < c.attributes.size(); ++i) {
            EXPECT_EQ(tag.m_Attributes[i].m_strName, c.attributes[i].first) << c.text;
            EXPECT_EQ(tag.m_Attributes[i].m_strValue, c.attributes[i].second) << c.text;
        }
    }

    // Positions: the second attribute starts at the blank before its name,
    // and ends just after its closing quote.
    SHtmlTag tag;
    const std::string text = "href=\"a.html\" target='_blank' border=0";
    ASSERT_TRUE(scanner.CollectAttributes(text, tag, 100));
    EXPECT_EQ(tag.m_Attributes[0].m_nStart, 100u);
    EXPECT_EQ(tag.m_Attributes[0].m_nEnd, 100u + 13);
    EXPECT_EQ(tag.m_Attributes[1].m_nStart, 100u + 13);
    EXPECT_EQ(tag.m_Attributes[1].m_nEnd, 100u + text.find(" border"));
    EXPECT_EQ(tag.m_Attributes[2].m_nEnd, 100u + text.size());

    // With blanks around "=" the attribute still ends after its value, so
    // that replacing it takes the whole of it.
    SHtmlTag spaced;
    const std::string blanks = "href = 'a.html' target =\n_top";
    ASSERT_TRUE(scanner.CollectAttributes(blanks, spaced, 0));
    ASSERT_EQ(spaced.m_Attributes.size(), 2u);
    EXPECT_EQ(spaced.m_Attributes[0].m_nEnd, blanks.find(" target"));
    EXPECT_EQ(spaced.m_Attributes[1].m_nStart, blanks.find(" target"));
    EXPECT_EQ(spaced.m_Attributes[1].m_nEnd, blanks.size());
}

// The same tags found in a page, as a wizard reads its links and forms.
TEST(ScannerAttributes, BlanksAroundEqualsInPages) {
    const std::string page =
        "<p><a href = \"one.html\">1</a> <a\nhref\n=\n'two.html' target = _blank>2</a>"
        "<a href=three.html>3</a><input type = \"text\" name = \"email\"></p>";
    CHTMLScanner scanner;
    SHtmlTag tag;
    STagSearch links;
    std::vector<std::string> hrefs;
    while (scanner.FindTag(page, "a", tag, true, links)) {
        hrefs.push_back(tag.GetAttribValue("href"));
    }
    EXPECT_EQ(hrefs, (std::vector<std::string>{"one.html", "two.html", "three.html"}));
    STagSearch inputs;
    ASSERT_TRUE(scanner.FindTag(page, "input", tag, false, inputs));
    EXPECT_EQ(tag.GetAttribValue("type"), "text");
    EXPECT_EQ(tag.GetAttribValue("name"), "email");
}

TEST(ScannerAttributes, LookupByName) {
    CHTMLScanner scanner;
    SHtmlTag tag;
    scanner.CollectAttributes("HREF='x.html' Target=_top href=second", tag, 0);
    EXPECT_EQ(tag.GetAttribValue("href"), "x.html");
    EXPECT_EQ(tag.GetAttribValue(" href "), "x.html");
    EXPECT_TRUE(tag.DoesExist(" TARGET"));
    EXPECT_FALSE(tag.DoesExist("onclick"));
    EXPECT_EQ(tag.GetAttribValue("onclick"), "");

    std::string value = "old";
    std::uint32_t start = 77, end = 88;
    EXPECT_EQ(tag.GetAttributeInfo(" href ", value, start, end), -1);
    EXPECT_EQ(value, "");
    EXPECT_EQ(start, 77u);
    EXPECT_EQ(end, 88u);
    EXPECT_EQ(tag.GetAttributeInfo("target", value, start, end), 1);
    EXPECT_EQ(value, "_top");
    EXPECT_EQ(start, 13u);
    EXPECT_EQ(end, 25u);

    SHtmlTag copy = tag;
    tag.Clear();
    EXPECT_TRUE(tag.m_Attributes.empty());
    EXPECT_EQ(copy.m_Attributes.size(), 3u);
}

TEST(ScannerRegExpMatch, Groups) {
    CHTMLScanner scanner;
    const std::string pattern = "window\\.status\\s*=\\s*('([^']*)'|\"([^\"]*)\")";
    std::vector<std::string> results{"stale"};
    ASSERT_TRUE(scanner.RegExpMatch("javascript: WINDOW.status = 'Best deals'; return true;",
                                    pattern, 4, results));
    EXPECT_EQ(results, (std::vector<std::string>{"WINDOW.status = 'Best deals'", "'Best deals'",
                                                 "Best deals", ""}));
    ASSERT_TRUE(scanner.RegExpMatch("window.status=\"x\"", pattern, 6, results));
    EXPECT_EQ(results, (std::vector<std::string>{"window.status=\"x\"", "\"x\"", "", "x", "", ""}));
    EXPECT_FALSE(scanner.RegExpMatch("no status here", pattern, 4, results));
    EXPECT_TRUE(results.empty());
    EXPECT_THROW(scanner.RegExpMatch("x", "[", 1, results), boost::regex_error);
}

TEST(ScannerEditing, SignaturesAndInsertions) {
    CHTMLScanner scanner;
    EXPECT_EQ(scanner.CreateSignature(true), "\n<!--Ondrelo{-->\n");
    EXPECT_EQ(scanner.CreateSignature(false), "\n<!--}Ondrelo-->\n");
    std::string code = "X";
    int added = 0;
    scanner.InsertSignature(code, added);
    EXPECT_EQ(code, "\n<!--Ondrelo{-->\nX\n<!--}Ondrelo-->\n");
    EXPECT_EQ(added, 34);

    scanner.SetContent("0123456789");
    scanner.InsertAt(2, "abcdefghij", false, true);
    EXPECT_EQ(scanner.GetInsertionOffset(), 10);
    scanner.InsertAt(5, "#", false, false);  // lands after the earlier insertion
    EXPECT_EQ(scanner.GetText(), "01abcdefghij234#56789");
    scanner.InsertAt(1000, "!", false, true);  // beyond the end appends
    EXPECT_EQ(scanner.GetText(), "01abcdefghij234#56789!");
    scanner.Append("<end>", true);
    EXPECT_EQ(scanner.GetText(),
              "01abcdefghij234#56789!\n<!--Ondrelo{-->\n<end>\n<!--}Ondrelo-->\n");
    EXPECT_EQ(scanner.GetInsertionOffset(), 12);
}

TEST(ScannerEditing, ReplaceAttributes) {
    struct {
        const char* page;
        const char* attribute;
        const char* code;
        const char* expected;
    } cases[] = {
        // The blank before the attribute stays, after the code.
        {"<a href='x' target='y'>t</a>", "target", " target='z'", "<a href='x' target='z' >t</a>"},
        // The first attribute has no blank in front: nothing of it stays.
        {"<a target='y' href='x'>t</a>", "target", " target='z'", "<a  target='z' href='x'>t</a>"},
        {"<a onmouseover=\"a()\">t</a>", "onmouseover", " onmouseover=\"b()\"",
         "<a  onmouseover=\"b()\">t</a>"},
    };
    for (const auto& c : cases) {
        CHTMLScanner scanner;
        scanner.SetContent(c.page);
        SHtmlTag tag;
        STagSearch search;
        ASSERT_TRUE(scanner.FindTag(scanner.GetText(), "a", tag, true, search)) << c.page;
        std::string value;
        std::uint32_t start = 0, end = 0;
        ASSERT_GE(tag.GetAttributeInfo(c.attribute, value, start, end), 0) << c.page;
        const std::uint32_t attribEnd = tag.m_nAttribTextEnd;
        EXPECT_TRUE(scanner.Replace(start, end, c.code));
        EXPECT_EQ(scanner.GetText(), c.expected) << c.page;
        // Later insertions at positions found before still land right.
        scanner.InsertAt(attribEnd, " new=1", false, false);
        std::string expected = c.expected;
        expected.insert(expected.find('>'), " new=1");
        EXPECT_EQ(scanner.GetText(), expected) << c.page;
        SHtmlTag again;
        STagSearch fresh;
        ASSERT_TRUE(scanner.FindTag(scanner.GetText(), "a", again, true, fresh));
        EXPECT_EQ(again.m_Attributes.size(), tag.m_Attributes.size() + 1) << c.page;
    }
}

TEST(ScannerEditing, PlaceholdersAndPlaces) {
    CHTMLScanner scanner;
    EXPECT_FALSE(scanner.ReplaceStringWithCode("P", "x", false));  // empty text
    scanner.SetContent("aPPbPc");
    EXPECT_TRUE(scanner.ReplaceStringWithCode("P", "<x>", false));
    EXPECT_EQ(scanner.GetText(), "a<x><x>b<x>c");
    EXPECT_FALSE(scanner.ReplaceStringWithCode("P", "x", false));
    EXPECT_FALSE(scanner.ReplaceStringWithCode("", "x", false));
    scanner.SetContent("__P__");
    EXPECT_TRUE(scanner.ReplaceStringWithCode("__P__", "c", true));
    EXPECT_EQ(scanner.GetText(), "\n<!--Ondrelo{-->\nc\n<!--}Ondrelo-->\n");

    // Where the inclusion line (L) and the code after the body tag (C) go,
    // and why they cannot go into a page: each failure names its step and
    // the reason, and leaves the text as it was.
    const std::string block = "\n<!--Ondrelo{-->\nL\n<!--}Ondrelo-->\n";
    const std::string noInclusion = "Inserting the script file's inclusion line failed: ";
    const std::string noBody = "Inserting the code after the <body> tag failed: ";
    const std::string neither =
        noInclusion +
        "the page has neither a </head> end tag nor a <body> start tag outside comments and "
        "scripts.";
    const std::string noBodyTag =
        noBody + "the page has no complete <body> start tag outside comments and scripts.";
    struct {
        const char* name;
        std::string page;
        std::string inclusionError;
        std::string bodyError;
        std::string afterBoth;
    } cases[] = {
        {"whole page", "<html><head><title>t</title></head><body>x</body></html>", "", "",
         "<html><head><title>t</title></head>" + block + "<body>Cx</body></html>"},
        {"no head", "<html><body bgcolor=red>x</body></html>", "", "",
         "<html>" + block + "<body bgcolor=red>Cx</body></html>"},
        {"body at the very start", "<body>x</body>", "", "", block + "<body>Cx</body>"},
        {"no </body>", "<html><head><title>t</title></head><body>text", "", "",
         "<html><head><title>t</title></head>" + block + "<body>Ctext"},
        {"neither </head> nor </body>", "<html><head><title>t</title><BODY\nbgcolor=red>x", "",
         "", "<html><head><title>t</title>" + block + "<BODY\nbgcolor=red>Cx"},
        {"tags only in a comment", "<html><!-- <head></head><body> --><p>", neither, noBodyTag,
         "<html><!-- <head></head><body> --><p>"},
        {"body only in a script", "<script>document.write('<body>')</script><p>x", neither,
         noBodyTag, "<script>document.write('<body>')</script><p>x"},
        {"body tag never closed", "<html><head></head><body bgcolor=red", "", noBodyTag,
         "<html><head></head>" + block + "<body bgcolor=red"},
        {"empty page", "", noInclusion + "the page is empty.", noBody + "the page is empty.", ""},
    };
    for (const auto& c : cases) {
        CHTMLScanner page;
        page.SetContent(c.page);
        EXPECT_EQ(InsertError([&] { return page.InsertScriptInclusion("L"); }), c.inclusionError)
            << c.name;
        EXPECT_EQ(InsertError([&] { return page.InsertAfterBodyTag("C"); }), c.bodyError)
            << c.name;
        EXPECT_EQ(page.GetText(), c.afterBoth) << c.name;
    }
}

TEST(ScannerOldCode, RemovedOnLoad) {
    TempDir dir;
    const fs::path file = dir.path() / "page.html";
    const std::string page = "<html><head><title>t</title></head><body>x</body></html>";
    WriteFile(file, page);
    CRecordingScanner scanner;
    ASSERT_TRUE(scanner.OpenFile(file.string()));
    ASSERT_TRUE(scanner.InsertScriptInclusion("L"));
    EXPECT_EQ(scanner.GetText(),
              "<html><head><title>t</title></head>\n<!--Ondrelo{-->\nL\n<!--}Ondrelo-->\n"
              "<body>x</body></html>");
    ASSERT_EQ(scanner.SaveFile(), 1);

    CRecordingScanner reader;
    ASSERT_TRUE(reader.OpenFile(file.string()));
    EXPECT_EQ(reader.GetText(), "<html><head><title>t</title></head>\n<body>x</body></html>");
    EXPECT_EQ(reader.GetLoadedText(), reader.GetText());
    ASSERT_EQ(reader.m_blocks.size(), 1u);
    EXPECT_EQ(reader.m_blocks[0], "<!--Ondrelo{-->\nL\n<!--}Ondrelo-->");
}

TEST(ScannerOldCode, Table) {
    struct {
        const char* name;
        const char* text;
        const char* cleaned;
        int blocks;
    } cases[] = {
        {"two blocks", "a \n<!--W{-->1<!--}W-->\t b<!--W{-->2<!--}W--> c", "a\nb\nc", 2},
        {"adjacent blocks", "a <!--W{-->1<!--}W--> <!--W{-->2<!--}W--> c", "a\nc", 2},
        {"other module stays", "a<!--V{-->1<!--}V-->b", "a<!--V{-->1<!--}V-->b", 0},
        {"start without end", "a <!--W{--> b", "a <!--W{--> b", 0},
        {"closed, then unclosed", "a <!--W{-->1<!--}W--> b <!--W{--> c", "a\nb <!--W{--> c", 1},
        {"end before start", "<!--}W--> a <!--W{--> b", "<!--}W--> a <!--W{--> b", 0},
        {"block at both ends", "<!--W{-->1<!--}W-->", "\n", 1},
    };
    for (const auto& c : cases) {
        CRecordingScanner scanner("W");
        scanner.SetContent(c.text);
        scanner.RemoveOldCode();
        EXPECT_EQ(scanner.GetText(), c.cleaned) << c.name;
        EXPECT_EQ(static_cast<int>(scanner.m_blocks.size()), c.blocks) << c.name;
    }
}

TEST(ScannerDocument, StateAndMissingFiles) {
    TempDir dir;
    CHTMLScanner scanner;
    const fs::path file = dir.path() / "a.html";
    WriteFile(file, "<p>loaded</p>");
    ASSERT_TRUE(scanner.OpenFile(file.string()));
    EXPECT_TRUE(scanner.IsOpen(file.string()));
    EXPECT_FALSE(scanner.IsOpen(file.string() + "x"));
    EXPECT_FALSE(scanner.IsOpen((dir.path() / "A.HTML").string()));  // byte for byte
    scanner.InsertAt(0, "edit", false, true);
    EXPECT_TRUE(scanner.Revert());
    EXPECT_EQ(scanner.GetText(), "<p>loaded</p>");
    EXPECT_EQ(scanner.GetInsertionOffset(), 4);  // Revert keeps the offset

    // A missing file or a folder raises the file error and changes nothing.
    for (const fs::path& bad : {dir.path() / "missing.html", dir.path()}) {
        try {
            scanner.OpenFile(bad.string());
            ADD_FAILURE() << bad;
        } catch (const ondrelo::CFileException& e) {
            EXPECT_EQ(e.Path(), bad.string());
        }
        EXPECT_EQ(scanner.GetText(), "<p>loaded</p>");
        EXPECT_EQ(scanner.GetFilePath(), file.string());
        EXPECT_EQ(scanner.GetInsertionOffset(), 4);
    }
    try {
        scanner.OpenFile((dir.path() / "missing.html").string());
    } catch (const ondrelo::CFileException& e) {
        EXPECT_EQ(e.Cause(), ondrelo::CFileException::fileNotFound);
    }

    scanner.Close();
    EXPECT_EQ(scanner.GetText(), "");
    EXPECT_EQ(scanner.GetFilePath(), "");
    EXPECT_FALSE(scanner.IsOpen(file.string()));

    const fs::path empty = dir.path() / "empty.html";
    WriteFile(empty, "");
    ASSERT_TRUE(scanner.OpenFile(empty.string()));
    EXPECT_EQ(scanner.GetText(), "");
    EXPECT_FALSE(scanner.IsOpen(empty.string()));

    // Bytes come back unchanged, line ends and all.
    const std::string bytes = std::string("a\r\nb\n\0c\xe4\xf6", 9);
    WriteFile(file, bytes);
    ASSERT_TRUE(scanner.OpenFile(file.string()));
    EXPECT_EQ(scanner.GetText(), bytes);
}

TEST(ScannerSave, ModificationCheck) {
    TempDir dir;
    const fs::path file = dir.path() / "page.html";
    struct {
        const char* name;
        bool disabled;
        int answer;
        int result;
        bool written;
        int questions;
        CHTMLScanner::ErrorCode lastError;
    } cases[] = {
        {"answered No", false, IDNO, 2, false, 1, CHTMLScanner::errNone},
        {"answered Yes", false, IDYES, 1, true, 1, CHTMLScanner::errNone},
        {"messages disabled", true, IDYES, 2, false, 0, CHTMLScanner::errFileModified},
    };
    for (const auto& c : cases) {
        WriteFile(file, "<p>original</p>");
        CScriptedPrompt prompt;
        prompt.AnswerMessage(c.answer);
        CHTMLScanner scanner;
        scanner.DisableErrorMessages(c.disabled);
        ASSERT_TRUE(scanner.OpenFile(file.string()));
        scanner.InsertAt(0, "<!-- edit -->", false, true);
        WriteFile(file, "<p>changed by someone else</p>");
        Touch(file);
        EXPECT_EQ(scanner.SaveFile(), c.result) << c.name;
        EXPECT_EQ(ReadFile(file),
                  c.written ? "<!-- edit --><p>original</p>" : "<p>changed by someone else</p>")
            << c.name;
        ASSERT_EQ(static_cast<int>(prompt.Records().size()), c.questions) << c.name;
        if (c.questions > 0) {
            EXPECT_EQ(prompt.Records()[0].text,
                      "The file was modified after Ondrelo Read it.If you proceed, the changes "
                      "will be overwritten. Do you want to proceed?");
            EXPECT_EQ(prompt.Records()[0].caption, "Ondrelo");
            EXPECT_EQ(prompt.Records()[0].style, MB_YESNO | MB_ICONQUESTION);
        }
        EXPECT_EQ(scanner.GetLastError(), c.lastError) << c.name;
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"page.html"}) << c.name;
    }

    // A touch alone (same bytes, new time) counts as a change, and so does a
    // file that was replaced by another one of the same size and time.
    WriteFile(file, "<p>original</p>");
    CScriptedPrompt prompt;
    CHTMLScanner scanner;
    ASSERT_TRUE(scanner.OpenFile(file.string()));
    Touch(file, 1);
    EXPECT_EQ(scanner.SaveFile(), 2);  // the cautious answer is No
    EXPECT_EQ(prompt.Records().size(), 1u);

    ASSERT_TRUE(scanner.OpenFile(file.string()));
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    const fs::path other = dir.path() / "other.html";
    WriteFile(other, "<p>original</p>");
    struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, other.c_str(), times, 0), 0);
    fs::rename(other, file);
    EXPECT_EQ(scanner.SaveFile(), 2);
    EXPECT_EQ(prompt.Records().size(), 2u);

    // A page deleted after loading is a file error, asked about nowhere and
    // not written back under its old name.
    ASSERT_TRUE(scanner.OpenFile(file.string()));
    fs::remove(file);
    try {
        scanner.SaveFile();
        ADD_FAILURE() << "no file error";
    } catch (const ondrelo::CFileException& e) {
        EXPECT_EQ(e.Cause(), ondrelo::CFileException::fileNotFound);
    }
    EXPECT_EQ(prompt.Records().size(), 2u);
    EXPECT_TRUE(dir.Entries().empty());

    // Codes other than "modified" show nothing.
    CHTMLScanner quiet;
    EXPECT_EQ(quiet.ShowErrorMessage(CHTMLScanner::errNone), 0);
    EXPECT_EQ(prompt.Records().size(), 2u);
    EXPECT_EQ(quiet.GetLastError(), CHTMLScanner::errNone);
}

// Another program writes the page in place, keeping its size, and puts the
// modification time back: the status-change time still tells.
TEST(ScannerSave, InPlaceWriteWithTheTimePutBackIsNoticed) {
    TempDir dir;
    const fs::path file = dir.path() / "page.html";
    WriteFile(file, "<p>original</p>");
    CScriptedPrompt prompt;
    CHTMLScanner scanner;
    ASSERT_TRUE(scanner.OpenFile(file.string()));
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    // Past the clock tick of the file system's time stamps.
    ::usleep(30000);
    const int fd = ::open(file.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "<p>ORIGINAL</p>", 15, 0), 15);
    ::close(fd);
    struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    ASSERT_EQ(after.st_size, before.st_size);
    ASSERT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

    scanner.InsertAt(0, "<!-- edit -->", false, true);
    EXPECT_EQ(scanner.SaveFile(), 2);
    EXPECT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(ReadFile(file), "<p>ORIGINAL</p>");
}

// A page the user may not write is refused with the file error, before any
// question, and stays as it was (mode and all); as root too, as long as none
// of its write bits is set.
TEST(ScannerSave, ReadOnlyPageIsRefused) {
    TempDir dir;
    const fs::path file = dir.path() / "page.html";
    for (const bool created : {false, true}) {
        WriteFile(file, "<p>protected</p>");
        ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
        CScriptedPrompt prompt;
        CHTMLScanner scanner;
        if (created) {
            scanner.CreateFileA(file.string());
        } else {
            ASSERT_TRUE(scanner.OpenFile(file.string()));
            Touch(file);  // would otherwise ask first
        }
        scanner.SetContent("<p>new</p>");
        try {
            scanner.SaveFile();
            ADD_FAILURE() << "saved over a read-only page";
        } catch (const ondrelo::CFileException& e) {
            EXPECT_EQ(e.Cause(), ondrelo::CFileException::accessDenied);
            EXPECT_EQ(std::string(e.what()), "write '" + file.string() + "': Permission denied");
        }
        EXPECT_TRUE(prompt.Records().empty());
        EXPECT_EQ(ReadFile(file), "<p>protected</p>");
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0444u);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"page.html"});
        ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    }
}

TEST(ScannerSave, SecondSaveAsksNothing) {
    TempDir dir;
    const fs::path file = dir.path() / "page.html";
    WriteFile(file, "<body>x</body>");
    CScriptedPrompt prompt;
    CHTMLScanner scanner;
    ASSERT_TRUE(scanner.OpenFile(file.string()));
    scanner.InsertAt(0, "1", false, false);
    EXPECT_EQ(scanner.SaveFile(), 1);
    EXPECT_EQ(scanner.GetInsertionOffset(), 0);
    scanner.InsertAt(0, "2", false, false);
    EXPECT_EQ(scanner.SaveFile(), 1);
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_EQ(ReadFile(file), "21<body>x</body>");
}

TEST(ScannerSave, ReplacesThePageWholeAndKeepsItsMode) {
    TempDir dir;
    const fs::path file = dir.path() / "page.html";
    WriteFile(file, "<p>old</p>");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(file.c_str(), 1234, 4321), 0);
    }
    // A symbolic link to the page stays a link.
    const fs::path link = dir.path() / "link.html";
    fs::create_symlink(file, link);

    CScriptedPrompt prompt;
    CHTMLScanner scanner;
    ASSERT_TRUE(scanner.OpenFile(link.string()));
    scanner.SetContent("<p>new</p>");
    EXPECT_EQ(scanner.SaveFile(), 1);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(file), "<p>new</p>");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 4321u);
    }
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"link.html", "page.html"}));
    EXPECT_TRUE(prompt.Records().empty());
}

TEST(ScannerSave, FailedWriteKeepsTheOldPage) {
    TempDir dir;
    const fs::path file = dir.path() / "page.html";
    const std::string old = "<p>" + std::string(1000, 'o') + "</p>";
    WriteFile(file, old);
    CHTMLScanner scanner;
    ASSERT_TRUE(scanner.OpenFile(file.string()));
    scanner.SetContent(std::string(64 * 1024, 'n'));

    // The disk fills up after 4 KB.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool raised = false;
    try {
        scanner.SaveFile();
    } catch (const ondrelo::CFileException& e) {
        raised = true;
        EXPECT_EQ(e.Cause(), ondrelo::CFileException::diskFull);
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    EXPECT_TRUE(raised);
    EXPECT_EQ(ReadFile(file), old);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"page.html"});

    // A folder that cannot be written (only without root's rights).
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
        EXPECT_THROW(scanner.SaveFile(), ondrelo::CFileException);
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(ReadFile(file), old);
    }
    // A folder that does not exist.
    CHTMLScanner fresh;
    fresh.CreateFileA((dir.path() / "no" / "such.html").string());
    fresh.Append("x", false);
    EXPECT_THROW(fresh.SaveFile(), ondrelo::CFileException);
}

TEST(ScannerSave, NewFileIsWrittenWithoutCheck) {
    TempDir dir;
    const fs::path file = dir.path() / "new.html";
    CScriptedPrompt prompt;
    CHTMLScanner scanner;
    EXPECT_TRUE(scanner.CreateFileA(file.string()));
    EXPECT_FALSE(fs::exists(file));  // nothing touched yet
    scanner.Append("<html></html>", false);
    EXPECT_EQ(scanner.SaveFile(), 1);
    EXPECT_EQ(ReadFile(file), "<html></html>");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);

    // An existing file is replaced without a question as well.
    WriteFile(file, "someone else's");
    Touch(file);
    scanner.CreateFileA(file.string());
    scanner.Append("mine", false);
    EXPECT_EQ(scanner.SaveFile(), 1);
    EXPECT_EQ(ReadFile(file), "mine");
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"new.html"});
}

TEST(ScannerDocument, CopiesAreIndependent) {
    CRecordingScanner scanner;
    scanner.SetContent("<a href=x>");
    scanner.InsertAt(0, "12", false, true);
    CHTMLScanner copy(scanner);
    EXPECT_EQ(copy.GetText(), scanner.GetText());
    EXPECT_EQ(copy.GetInsertionOffset(), 2);
    copy.SetContent("other");
    EXPECT_EQ(scanner.GetText(), "12<a href=x>");
}
