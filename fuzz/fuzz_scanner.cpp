// Fuzz target: the HTML scanner on a page loaded from bytes. It removes the
// old marked blocks, finds every tag of a few names with and without their
// content, collects their attributes, inserts marked code after the body tag
// and before the head end, and reads back what it inserted.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ondrelo/HTMLScanner.h"
#include "ondrelo/OndException.h"

namespace {

// Runs an insertion; a page the scanner refuses raises COndException*,
// which must carry the scanner's code.
template <class Operation>
void Insert(Operation operation) {
    try {
        operation();
    } catch (COndException* e) {
        const bool scannerError = e->GetErrorCode() == 1003u;
        delete e;
        if (!scannerError) {
            __builtin_trap();
        }
    }
}

// Positions the scanner gives must lie in the text.
void CheckTag(const std::string& text, const SHtmlTag& tag) {
    if (tag.m_nTagStart > tag.m_nTagEnd || tag.m_nTagEnd > text.size() ||
        tag.m_nAttribTextStart > tag.m_nAttribTextEnd || tag.m_nAttribTextEnd > text.size()) {
        __builtin_trap();
    }
}

void FindAll(CHTMLScanner& scanner, const char* name, bool withContent) {
    const std::string& text = scanner.GetText();
    STagSearch search;
    SHtmlTag tag;
    // Each success moves past the tag found; the bound only guards against
    // a search that stops moving.
    for (int found = 0; found <= static_cast<int>(text.size()); ++found) {
        const std::uint32_t from = search.m_nFrom;
        if (!scanner.FindTag(text, name, tag, withContent, search)) {
            return;
        }
        CheckTag(text, tag);
        if (search.m_nFrom <= from && found > 0) {
            __builtin_trap();
        }
        SHtmlTag attributes;
        scanner.CollectAttributes(
            text.substr(tag.m_nAttribTextStart, tag.m_nAttribTextEnd - tag.m_nAttribTextStart),
            attributes, tag.m_nAttribTextStart);
        (void)attributes.GetAttribValue("name");
        tag.Clear();
    }
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    CHTMLScanner scanner;
    try {
        scanner.SetContent(page);
        scanner.RemoveOldCode();

        FindAll(scanner, "a", false);
        FindAll(scanner, "form", true);
        FindAll(scanner, "body", false);
        std::string rest;
        SHtmlTag tag;
        if (scanner.SeparateTag(scanner.GetText(), "img", tag, false, rest)) {
            CheckTag(scanner.GetText(), tag);
        }
    } catch (COndException* e) {
        // Pages too large or too tangled for the expression engine.
        const bool scannerError = e->GetErrorCode() == 1003u;
        delete e;
        if (!scannerError) {
            __builtin_trap();
        }
        return 0;
    }

    const std::string before = scanner.GetText();
    // The body insertion takes the code as given; the wizards mark it.
    std::string code = "<p>inserted</p>";
    int added = 0;
    scanner.InsertSignature(code, added);
    Insert([&] { return scanner.InsertAfterBodyTag(code); });
    Insert([&] { return scanner.InsertScriptInclusion("<script src=\"x.js\"></script>"); });
    scanner.Append("<!-- appended -->", true);

    // What was inserted marked comes out again when the page is loaded next
    // time, leaving the page as it was before the insertions.
    CHTMLScanner reloaded;
    try {
        reloaded.SetContent(scanner.GetText());
        reloaded.RemoveOldCode();
    } catch (COndException* e) {
        delete e;
        return 0;
    }
    if (reloaded.GetText().find("inserted</p>") != std::string::npos &&
        before.find("inserted</p>") == std::string::npos) {
        __builtin_trap();
    }
    return 0;
}
