#include "gen_popup.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

#include "ondrelo/CodeGen.h"
#include "ondrelo/Common.h"
#include "ondrelo/OndException.h"
#include "ondrelo/OndRegistryHandler.h"
#include "popkin/PopupCodeGen.h"
#include "popkin/PopupPageRules.h"

namespace popkin {

const char* const kGenPopupUsage =
    "usage: popup [options]\n"
    "  --center                 centre the popup on the screen\n"
    "  --left N --top N         position (default 50, 50)\n"
    "  --width N --height N     size (default 350 x 350)\n"
    "  --features LIST          comma-separated: location,scrollbars,menubar,toolbar,\n"
    "                           status,resizable,directories\n"
    "  --url URL                the popup loads this address (the default, empty)\n"
    "  --html FILE              the popup shows the HTML of this file (\"-\": stdin)\n"
    "  --on KIND                button | link | entry | exit (default entry)\n"
    "  --label TEXT             text of the button or the link\n"
    "  --popunder               send the popup behind the page\n"
    "  --once                   show the popup only once to a visitor\n"
    "  --reappear DAYS          show it again only after DAYS days\n"
    "  --delay SECONDS          automatic opening waits SECONDS seconds\n"
    "  --numbers F,W            fix the function and window numbers (popupF, windowW)\n"
    "  --insert PAGE            insert the code into PAGE (created when missing) and\n"
    "                           copy cookies.js beside it when the code needs it\n"
    "  --placeholder            with --insert: the button or link replaces\n"
    "                           PLACE_POPUP_BUTTON_HERE / PLACE_POPUP_LINK_HERE\n"
    "                           instead of going right after the body tag\n"
    "  --scripts DIR            folder of cookies.js (default: the installed scripts)\n";

namespace {

struct SOptions {
    SPopupSettings s;
    std::vector<int> numbers;
    std::string insert;
    bool placeholder = false;
    std::string scripts;
};

bool ReadNumber(const std::string& text, int& value) {
    const std::optional<int> n = ParseNumberField(text);
    if (!n)
        return false;
    value = *n;
    return true;
}

bool ReadFileText(const std::string& path, std::string& text) {
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// False with a message in error when an option is wrong.
bool Parse(const std::vector<std::string>& args, SOptions& o, std::string& error) {
    SPopupSettings& s = o.s;
    s.left = 50;
    s.top = 50;
    s.width = 350;
    s.height = 350;
    s.urlMode = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            v = args[++i];
            return true;
        };
        auto number = [&](int& n) {
            std::string v;
            if (!value(v))
                return false;
            if (!ReadNumber(v, n)) {
                error = a + ": not a number: " + v;
                return false;
            }
            return true;
        };
        std::string v;
        if (a == "--center") {
            s.center = 1;
        } else if (a == "--left") {
            if (!number(s.left))
                return false;
        } else if (a == "--top") {
            if (!number(s.top))
                return false;
        } else if (a == "--width") {
            if (!number(s.width))
                return false;
        } else if (a == "--height") {
            if (!number(s.height))
                return false;
        } else if (a == "--features") {
            if (!value(v))
                return false;
            std::vector<std::string> names;
            CCommon::Tokenise(v, ",", names);
            for (const std::string& name : names) {
                int* flag = name == "location"      ? &s.location
                            : name == "scrollbars"  ? &s.scrollbars
                            : name == "menubar"     ? &s.menubar
                            : name == "toolbar"     ? &s.toolbar
                            : name == "status"      ? &s.status
                            : name == "resizable"   ? &s.resizable
                            : name == "directories" ? &s.directories
                                                    : nullptr;
                if (!flag) {
                    error = "unknown feature: " + name;
                    return false;
                }
                *flag = 1;
            }
        } else if (a == "--url") {
            if (!value(s.url))
                return false;
            s.urlMode = 1;
        } else if (a == "--html") {
            if (!value(v))
                return false;
            if (!ReadFileText(v, s.htmlContent)) {
                error = "cannot read " + v;
                return false;
            }
            s.urlMode = 0;
        } else if (a == "--on") {
            if (!value(v))
                return false;
            if (v == "button")
                s.kind = kInvokeButton;
            else if (v == "link")
                s.kind = kInvokeLink;
            else if (v == "entry")
                s.kind = kInvokePageEntry;
            else if (v == "exit")
                s.kind = kInvokePageExit;
            else {
                error = "--on: button, link, entry or exit, not " + v;
                return false;
            }
        } else if (a == "--label") {
            if (!value(s.label))
                return false;
        } else if (a == "--popunder") {
            s.popUnder = 1;
        } else if (a == "--once") {
            s.oncePerVisitor = 1;
        } else if (a == "--reappear") {
            if (!number(s.reappearDays))
                return false;
        } else if (a == "--delay") {
            if (!number(s.delaySeconds))
                return false;
        } else if (a == "--numbers") {
            if (!value(v))
                return false;
            std::vector<std::string> parts;
            CCommon::Tokenise(v, ",", parts);
            for (const std::string& p : parts) {
                int n = 0;
                if (!ReadNumber(p, n) || n < 0 || n > 32767) {
                    error = "--numbers: numbers from 0 to 32767, not " + p;
                    return false;
                }
                o.numbers.push_back(n);
            }
        } else if (a == "--insert") {
            if (!value(o.insert))
                return false;
        } else if (a == "--placeholder") {
            o.placeholder = true;
        } else if (a == "--scripts") {
            if (!value(o.scripts))
                return false;
        } else {
            error = "unknown option: " + a;
            return false;
        }
    }
    return true;
}

void Apply(const SPopupSettings& s, CPopupCodeGen& gen) {
    gen.SetPosition(s.center, s.left, s.top, s.width, s.height);
    gen.SetFeatures(s.location, s.scrollbars, s.menubar, s.toolbar, s.status, s.resizable,
                    s.directories);
    gen.SetContent(s.urlMode, s.url, s.htmlContent);
    gen.SetInvocation(s.kind, s.kind == kInvokeButton || s.kind == kInvokeLink ? s.label : "");
    gen.SetOptions(s.popUnder, s.oncePerVisitor, s.reappearDays, s.delaySeconds);
}

// Copies cookies.js beside the page, as the insertion component does.
bool CopyCookieScript(const SOptions& o, std::ostream& err) {
    const std::string folder = o.scripts.empty() ? COndRegistryHandler::GetScriptsPath() : o.scripts;
    const std::filesystem::path source = std::filesystem::path(folder) / kCookieScriptFileName;
    const std::filesystem::path target =
        std::filesystem::absolute(o.insert).parent_path() / kCookieScriptFileName;
    if (!CCommon::CopyScriptFile(source.string(), target.string())) {
        err << "popup: could not copy " << source.string() << " to " << target.string() << "\n";
        return false;
    }
    return true;
}

}  // namespace

int RunGenPopup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SOptions o;
    std::string error;
    if (!Parse(args, o, error)) {
        err << "popup: " << error << "\n" << kGenPopupUsage;
        return 2;
    }
    CCodeGen::SetFixedRandomNumbers(o.numbers);
    CPopupCodeGen gen;
    Apply(o.s, gen);

    if (o.insert.empty()) {
        std::string script, calling, instruction, warnings;
        gen.SetModified(true);
        gen.GetCode(script, calling, instruction, warnings);
        out << script << "\r\n" << instruction << "\r\n" << calling << "\r\n";
        err << warnings;
        return 0;
    }

    const bool create = !std::filesystem::exists(o.insert);
    int inserted = 0;
    try {
        inserted = gen.InsertCode(o.insert, create ? 1 : 0, o.placeholder ? 0 : 1);
    } catch (COndException* e) {
        e->ReportError();
        delete e;
    } catch (const std::exception& e) {
        err << "popup: " << e.what() << "\n";
    }
    if (inserted != 1)
        return 1;
    if (o.s.UsesCookie() && !CopyCookieScript(o, err))
        return 1;
    // The warnings of the inserted code.
    std::string script, calling, instruction, warnings;
    gen.GetCode(script, calling, instruction, warnings);
    err << warnings;
    return 0;
}

}  // namespace popkin
