// Escaping of user text for generated JavaScript and HTML, and reading it back.
#include <gtest/gtest.h>

#include "smallset/SmallsetText.h"

namespace {

using namespace smallset;

TEST(Escape, JavaScriptStringsRoundTrip) {
    const std::string texts[] = {
        "plain",  "it's",     "say \"hi\"", "C:\\dir\\",   "a</script>b", "<!-- x",
        "a\r\nb", "Tom & Co", "",           "\xE2\x80\xA8"};
    for (const std::string& text : texts) {
        for (char quote : {'\'', '"'}) {
            for (bool attribute : {false, true}) {
                const std::string escaped = EscapeJsString(text, quote, attribute);
                EXPECT_EQ(UnescapeJsString(escaped), text) << escaped;
                // No unescaped delimiter, no line break, no end of script.
                for (std::size_t i = 0; i < escaped.size(); ++i) {
                    if (escaped[i] == '\\') {
                        ++i;
                        continue;
                    }
                    EXPECT_NE(escaped[i], quote) << escaped;
                    EXPECT_NE(escaped[i], '\n') << escaped;
                    if (attribute) {
                        EXPECT_NE(escaped[i], '"') << escaped;
                        EXPECT_NE(escaped[i], '&') << escaped;
                        EXPECT_NE(escaped[i], '<') << escaped;
                    }
                }
                EXPECT_EQ(escaped.find("</"), std::string::npos) << escaped;
            }
        }
    }
    EXPECT_EQ(EscapeJsString("index.html", '"'), "index.html");
}

TEST(Escape, HtmlAttributeRoundTrip) {
    const std::string text = "it's \"x\" <y> & z &amp;";
    EXPECT_EQ(EscapeHtmlAttribute(text), "it&#39;s &quot;x&quot; &lt;y&gt; &amp; z &amp;amp;");
    EXPECT_EQ(DecodeHtmlEntities(EscapeHtmlAttribute(text)), text);
    EXPECT_EQ(DecodeHtmlEntities("&#65;&#x42;&unknown; & &#;"), "AB&unknown; & &#;");
}

}  // namespace
