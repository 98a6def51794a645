// The link editor: reading links and their status texts from a page, and
// rewriting their attributes in place.
#include <gtest/gtest.h>

#include <chrono>

#include "SmallsetTestUtil.h"
#include "smallset/AffLink.h"
#include "smallset/LinkFile.h"

namespace {

using namespace smalltest;
using namespace smallset;

const std::string kOut = " onmouseout=\"javascript: window.status=''; return true;\"";

std::string Over(const std::string& text) {
    return " onmouseover=\"javascript: window.status='" + text + "'; return true;\"";
}

class AffLink : public PageTest {
protected:
    // Opens and scans the page; the links are then edited and written.
    void Open(const std::string& path) { ASSERT_TRUE(OpenAndScan(scanner, list, path)); }
    SAffLink& Link(int i) { return list.Links().at(static_cast<std::size_t>(i)); }

    CAffLinkScanner scanner;
    CAffLinkList list;
    CAffLinkCodeGen gen{list, scanner};
};

TEST(StatusText, ReadFromHandler) {
    CHTMLScanner scanner;
    const struct {
        const char* handler;
        const char* expected;
    } cases[] = {
        {"window.status='Visit us'; return true;", "Visit us"},
        {"javascript: window.status = \"Double\"; return true", "Double"},
        {"window.status=''; return true;", ""},
        {"alert('x')", ""},
        // Written by this editor: escapes and character references resolve.
        {"javascript: window.status='It\\'s \\x22new\\x22 \\x26 C:\\\\dir'; return true;",
         "It's \"new\" & C:\\dir"},
        {"window.status='Say &quot;hi&quot; &amp; go'", "Say \"hi\" & go"},
        // An apostrophe ends a single-quoted text, as it does in the browser.
        {"window.status='Tom &amp; Jerry&#39;s'", "Tom & Jerry"},
        {"WINDOW.STATUS='Case'", "Case"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StatusTextFromHandler(scanner, c.handler), c.expected) << c.handler;
    }
}

TEST_F(AffLink, ScanFindsLinksWithTheirAttributes) {
    const std::string path = Page(
        "s.html",
        "<html><body><!-- <a href='c.html'>in comment</a> --><abbr title='x'>AB</abbr>"
        "<a href=\"one.html\" target=\"_top\" onmouseover=\"window.status='Visit us'; return "
        "true;\" onmouseout=\"x()\">One</a>"
        "<script>var s = '<a href=\"s.html\">in script</a>';</script>"
        "<A HREF=two.html>Two <b>bold</b></A></body></html>");
    Open(path);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_TRUE(list.IsChanged());
    EXPECT_EQ(Link(0).m_strHref, "one.html");
    EXPECT_EQ(Link(0).m_strLabel, "One");
    EXPECT_EQ(Link(0).m_strTarget, "_top");
    EXPECT_EQ(Link(0).m_strStatusText, "Visit us");
    EXPECT_TRUE(Link(0).HasTarget() && Link(0).HasOnMouseOver() && Link(0).HasOnMouseOut());
    EXPECT_EQ(Link(1).m_strHref, "two.html");
    EXPECT_EQ(Link(1).m_strLabel, "Two <b>bold</b>");
    EXPECT_FALSE(Link(1).HasTarget() || Link(1).HasOnMouseOver() || Link(1).HasOnMouseOut());
}

TEST_F(AffLink, FilePageChecks) {
    CAffLinkList untouched;
    untouched.Links().push_back({});
    const struct {
        std::string path;
        const char* message;
    } cases[] = {
        {"", kSelectHtmlFile},
        {m_dir + "/missing.html", kFailedOpeningFile},
        {Page("none.html", "<html><body><abbr>no links</abbr></body></html>"), kNoLinkScanned},
        {Page("empty.html", ""), kNoLinkScanned},
    };
    for (const auto& c : cases) {
        prompt.Clear();
        EXPECT_FALSE(OpenAndScan(scanner, list, c.path));
        ASSERT_EQ(prompt.MessageTexts().size(), 1u) << c.path;
        EXPECT_EQ(prompt.MessageTexts()[0], c.message);
    }
}

TEST_F(AffLink, WorkedExampleAddsTheThreeAttributes) {
    const std::string path = Page("o.html", "<p><a href=\"offers.html\">Offers</a></p>");
    Open(path);
    Link(0).m_strStatusText = "Best deals";
    Link(0).m_strTarget = "_blank";
    ASSERT_EQ(gen.ModifyFile(), 1);
    EXPECT_EQ(ReadFile(path), "<p><a href=\"offers.html\" target='_blank'" + Over("Best deals") +
                                  kOut + ">Offers</a></p>");
}

TEST_F(AffLink, RewriteRules) {
    const struct {
        const char* name;
        std::string tag;  // the opening tag as it stands in the page
        std::string status, target;
        std::string expected;
    } cases[] = {
        {"existing handler replaced, out added",
         "<a href='v.html' onmouseover=\"window.status='Visit us'; return true;\">", "Visit us",
         "", "<a href='v.html'" + Over("Visit us") + " " + kOut + ">"},
        {"nothing to set, nothing there", "<a href='u.html'>", "", "", "<a href='u.html'>"},
        {"cleared target keeps an empty attribute", "<a href='t.html' target=\"_top\">", "", "",
         "<a href='t.html' target='' >"},
        {"existing onmouseout is never changed",
         "<a onmouseout='keep()' href='k.html'>", "Hi", "_self",
         "<a onmouseout='keep()' href='k.html' target='_self'" + Over("Hi") + ">"},
        {"first attribute replaced without a stray character",
         "<a target=_top href='f.html'>", "", "_parent",
         "<a  target='_parent' href='f.html'>"},
        {"apostrophe and quotes stay inside the handler",
         "<a href='q.html'>", "It's \"new\" & <b>", "it's",
         "<a href='q.html' target='it&#39;s'" + Over("It\\'s \\x22new\\x22 \\x26 \\x3Cb\\x3E") + kOut +
             ">"},
    };
    for (const auto& c : cases) {
        const std::string path = Page("r.html", "x" + c.tag + "L</a>y");
        Open(path);
        Link(0).m_strStatusText = c.status;
        Link(0).m_strTarget = c.target;
        ASSERT_EQ(gen.ModifyFile(), 1) << c.name;
        EXPECT_EQ(ReadFile(path), "x" + c.expected + "L</a>y") << c.name;
        // A second run reads back what the user typed.
        Open(path);
        EXPECT_EQ(Link(0).m_strStatusText, c.status) << c.name;
        EXPECT_EQ(Link(0).m_strTarget, c.target) << c.name;
    }
}

TEST_F(AffLink, ModifyingTwiceWritesTheSameResult) {
    const std::string path =
        Page("t.html", "<a href=a.html>A</a> and <a href=b.html target=x>B</a>");
    Open(path);
    Link(0).m_strStatusText = "first";
    Link(1).m_strTarget = "_self";
    ASSERT_EQ(gen.ModifyFile(), 1);
    const std::string once = ReadFile(path);
    ASSERT_EQ(gen.ModifyFile(), 1);
    EXPECT_EQ(ReadFile(path), once);
    EXPECT_TRUE(prompt.Records().empty());
}

// The user declines to overwrite a page changed on disk: nothing is written
// and the failure is reported; a later run still edits the right places.
TEST_F(AffLink, DeclinedOverwriteIsReportedAndHarmless) {
    const std::string path = Page("d.html", "<a href=a.html>A</a><a href=b.html>B</a>");
    Open(path);
    Link(0).m_strTarget = "_top";
    Link(1).m_strTarget = "_self";
    ChangeBehindOurBack(path, "<a href=a.html>A</a><a href=b.html>B!</a>");
    prompt.AnswerMessage(IDNO);
    EXPECT_FALSE(gen.ModifyFileReported());
    EXPECT_EQ(ReadFile(path), "<a href=a.html>A</a><a href=b.html>B!</a>");
    ASSERT_EQ(prompt.MessageTexts().size(), 2u);
    EXPECT_EQ(prompt.MessageTexts()[1], kPageNotWritten);

    prompt.AnswerMessage(IDYES);
    EXPECT_TRUE(gen.ModifyFileReported());
    EXPECT_EQ(ReadFile(path),
              "<a href=a.html target='_top'>A</a><a href=b.html target='_self'>B</a>");
}

TEST_F(AffLink, ModifyWithoutAnOpenPageFails) {
    EXPECT_FALSE(gen.ModifyFileReported());
    ASSERT_EQ(prompt.MessageTexts().size(), 1u);
    EXPECT_EQ(prompt.MessageTexts()[0], kFailedOpeningFile);
}

// A large page: only the opening tags of the links change; every byte
// outside them (comments, scripts, abbr elements, link contents) stays.
TEST_F(AffLink, LargePageChangesOnlyTheLinkTags) {
    std::string page = "<html><head><script>var a = '<a href=\"no\">x</a>';</script></head><body>\n";
    std::vector<std::string> tags;
    for (int i = 0; i < 2000; ++i) {
        std::string tag = "<a href=\"p" + std::to_string(i) + ".html\"" +
                          (i % 3 == 0 ? " target=\"_top\"" : "") +
                          (i % 5 == 0 ? " onmouseover=\"window.status='old'; return true;\"" : "") +
                          ">";
        page += "<!-- <a href='c.html'>c</a> --><abbr title=\"t\">A" + std::to_string(i) +
                "</abbr> " + tag + "Link " + std::to_string(i) + "</a>\n";
        tags.push_back(tag);
    }
    page += "</body></html>";
    const std::string path = Page("big.html", page);
    Open(path);
    ASSERT_EQ(list.GetCount(), 2000);
    for (int i = 0; i < 2000; ++i) {
        Link(i).m_strStatusText = i % 2 ? "It's link " + std::to_string(i) : "";
        Link(i).m_strTarget = i % 7 ? "_blank" : "";
    }
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_EQ(gen.ModifyFile(), 1);
    std::cout << "rewrote " << page.size() << " bytes in "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count()
              << " s\n";
    const std::string out = ReadFile(path);
    // Walk both texts: everything between the tags is identical.
    std::size_t in = 0, at = 0;
    for (int i = 0; i < 2000; ++i) {
        const std::size_t tagIn = page.find(tags[static_cast<std::size_t>(i)], in);
        ASSERT_NE(tagIn, std::string::npos);
        const std::size_t tagOut = out.find("<a href=\"p" + std::to_string(i) + ".html\"", at);
        ASSERT_NE(tagOut, std::string::npos);
        ASSERT_EQ(out.substr(at, tagOut - at), page.substr(in, tagIn - in)) << "before link " << i;
        in = tagIn + tags[static_cast<std::size_t>(i)].size();
        at = out.find('>', tagOut) + 1;
        const std::string written = out.substr(tagOut, at - tagOut);
        EXPECT_EQ(Count(written, "onmouseover="), (i % 2 || i % 5 == 0) ? 1 : 0) << written;
    }
    EXPECT_EQ(out.substr(at), page.substr(in));
}

TEST_F(AffLink, LinkLinesListAndApply) {
    const std::string path = Page(
        "l.html", "<a href=a.html target=_top>A\tB</a><a href=b.html "
                  "onmouseover=\"window.status='S'\">B</a>");
    Open(path);
    EXPECT_EQ(FormatLinkLines(list), "A\\tB\ta.html\t\t_top\nB\tb.html\tS\t\n");
    std::string error;
    EXPECT_FALSE(ApplyLinkLines("x\ty\tz\t_self\n", list, error));
    EXPECT_EQ(error, "the file has 1 lines, the page has 2 links");
    EXPECT_FALSE(ApplyLinkLines("x\ty\tz\n-\t-\t-\t-\n", list, error));
    EXPECT_EQ(Link(0).m_strTarget, "_top");  // nothing taken from a bad file
    ASSERT_TRUE(ApplyLinkLines("ignored\tignored\tIt's\\tnew\t_self\r\nB\tb.html\t\t\n", list,
                               error));
    EXPECT_EQ(Link(0).m_strStatusText, "It's\tnew");
    EXPECT_EQ(Link(0).m_strTarget, "_self");
    EXPECT_EQ(Link(0).m_strHref, "a.html");
    EXPECT_EQ(Link(1).m_strStatusText, "");
}

}  // namespace
