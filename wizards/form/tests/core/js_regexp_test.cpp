// Whether an expression compiles in the browser, and the generator's warning
// for one that does not. The expected verdicts are what V8 (the engine of
// the browser the browser tests drive) answers for `new RegExp(pattern)`.
#include <gtest/gtest.h>

#include "FormTestUtil.h"
#include "formwarden/FormCodeGen.h"
#include "formwarden/JsRegExp.h"

namespace formwarden {
namespace {

using namespace formwarden::test;

TEST(JsRegExpSyntax, AgreesWithTheBrowser) {
    const struct {
        const char* pattern;
        const char* error;  // "" when the browser compiles it
    } cases[] = {
        // Compiles.
        {"^\\d{5}$", ""},
        {"^\\w+\\.txt$", ""},
        {"(?:a|b)+", ""},
        {"(a|)", ""},
        {"x{1,}?", ""},
        {"a??", ""},
        {"(?<=a)b", ""},
        {"(?<n>x)\\k<n>", ""},
        {"(?<a>x)|(?<b>y)", ""},
        {"(?=a)*", ""},
        {"\\1(a)", ""},
        // Lenient forms browsers accept in pages.
        {"a{", ""},
        {"a{1", ""},
        {"a{,5}", ""},
        {"]", ""},
        {"}", ""},
        {"[]", ""},
        {"[^]", ""},
        {"[a-]", ""},
        {"[\\d-z]", ""},
        {"[a-\\d]", ""},
        {"[\\b-\\t]", ""},
        {"\\c", ""},
        {"[\\c]", ""},
        {"\\k<n>", ""},
        {"\\p{L}", ""},
        {"\\u{1F600}", ""},
        {"[\xC3\xA0-\xC3\xBC]", ""},  // à-ü in UTF-8
        // Refused.
        {"(", "Unterminated group"},
        {"(?:", "Unterminated group"},
        {"a)", "Unmatched ')'"},
        {"*a", "Nothing to repeat"},
        {"a|*", "Nothing to repeat"},
        {"a**", "Nothing to repeat"},
        {"a+?+", "Nothing to repeat"},
        {"a{2}{3}", "Nothing to repeat"},
        {"{1}", "Nothing to repeat"},
        {"^*", "Nothing to repeat"},
        {"$+", "Nothing to repeat"},
        {"\\b+", "Nothing to repeat"},
        {"(?<=a)*", "Invalid quantifier"},
        {"(?i)abc", "Invalid group"},
        {"(?P<n>x)", "Invalid group"},
        {"(?", "Invalid group"},
        {"(?<1a>x)", "Invalid capture group name"},
        {"(?<n>x)\\k<m>", "Invalid named capture referenced"},
        {"(?<a>x)\\k", "Invalid named reference"},
        {"(?<a>x)\\k<ab", "Invalid capture group name"},
        {"(?<abc", "Invalid capture group name"},
        {"(?<", "Invalid capture group name"},
        {"(?<a>x)(?<a>y)", "Duplicate capture group name"},
        {"[abc", "Unterminated character class"},
        {"[z-a]", "Range out of order in character class"},
        {"[\\x41-\\x40]", "Range out of order in character class"},
        {"[\\101-\\100]", "Range out of order in character class"},
        {"a{3,1}", "numbers out of order in {} quantifier"},
        {"abc\\", "\\ at end of pattern"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsRegExpSyntaxError(c.pattern), c.error) << c.pattern;
    }
}

TEST(JsRegExpSyntax, DeepNestingIsJudgedWithoutExhaustingTheStack) {
    EXPECT_EQ(JsRegExpSyntaxError(std::string(3000, '(') + std::string(3000, ')')), "");
    EXPECT_EQ(JsRegExpSyntaxError(std::string(200000, '(')), "Regular expression too large");
}

TEST(JsRegExpSyntax, GeneratorWarnsAndStillWritesTheCall) {
    CHtmlForm form;
    form.m_strAction = "x.cgi";
    form.AppendElement(Textbox("zip", "Zip"));
    form.AppendElement(Textbox("code", "Code"));
    form.GetElement(0).Validations()->push_back(
        Val(kValRegExp, "Please provide a valid input for zip", 0, 0, "(?i)^\\d{5}$"));
    form.GetElement(1).Validations()->push_back(
        Val(kValRegExp, "Please provide a valid input for code", 0, 0, "^[a-z]+$"));
    CFormCodeGen gen;
    gen.SetModel(&form, &form.m_Elements, nullptr);
    std::string inclusion, code, instruction, warnings;
    gen.GetCode(inclusion, code, instruction, warnings);
    EXPECT_EQ(warnings,
              "The regular expression for zip is not valid in JavaScript: Invalid group\r\n");
    // The runtime refuses the entry itself, so the call stays.
    EXPECT_NE(code.find("addValidation(\"zip\",\"regexp=(?i)^\\\\d{5}$\""), std::string::npos);
}

}  // namespace
}  // namespace formwarden
