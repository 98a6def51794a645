// ondrelo-gen popup: the popup wizard without the window. Every setting of
// its pages is an option; the common options print the code or insert it.
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>

#include "ondrelo/CodeGen.h"
#include "ondrelo/Common.h"
#include "ondrelo/gen/GenCommand.h"
#include "popkin/PopupCodeGen.h"
#include "popkin/PopupPageRules.h"

namespace {

using namespace popkin;
using ondrelo::gen::CGenFailure;
using ondrelo::gen::CUsageError;

int Number(const std::string& option, const std::string& text) {
    const std::optional<int> n = ParseNumberField(text);
    if (!n) {
        throw CUsageError(option + ": not a number: " + text);
    }
    return *n;
}

std::string ReadContent(const std::string& path) {
    if (path == "-") {
        return std::string(std::istreambuf_iterator<char>(std::cin),
                           std::istreambuf_iterator<char>());
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw CGenFailure("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SetFeatures(const std::string& list, SPopupSettings& s) {
    std::vector<std::string> names;
    CCommon::Tokenise(list, ",", names);
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
            throw CUsageError("--features: unknown feature " + name);
        }
        *flag = 1;
    }
}

int Kind(const std::string& word) {
    if (word == "button") {
        return kInvokeButton;
    }
    if (word == "link") {
        return kInvokeLink;
    }
    if (word == "entry") {
        return kInvokePageEntry;
    }
    if (word == "exit") {
        return kInvokePageExit;
    }
    throw CUsageError("--on: button, link, entry or exit, not " + word);
}

// The wizard's settings from the arguments; what no option sets is what the
// pages show when they open (50, 50, 350 x 350, a URL, page entry).
SPopupSettings ReadSettings(const std::vector<std::string>& args) {
    SPopupSettings s;
    s.left = 50;
    s.top = 50;
    s.width = 350;
    s.height = 350;
    s.urlMode = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw CUsageError(a + " needs a value");
            }
            return args[++i];
        };
        if (a == "--center") {
            s.center = 1;
        } else if (a == "--left") {
            s.left = Number(a, value());
        } else if (a == "--top") {
            s.top = Number(a, value());
        } else if (a == "--width") {
            s.width = Number(a, value());
        } else if (a == "--height") {
            s.height = Number(a, value());
        } else if (a == "--features") {
            SetFeatures(value(), s);
        } else if (a == "--url") {
            s.url = value();
            s.urlMode = 1;
        } else if (a == "--html") {
            s.htmlContent = ReadContent(value());
            s.urlMode = 0;
        } else if (a == "--on") {
            s.kind = Kind(value());
        } else if (a == "--label") {
            s.label = value();
        } else if (a == "--popunder") {
            s.popUnder = 1;
        } else if (a == "--once") {
            s.oncePerVisitor = 1;
        } else if (a == "--reappear") {
            s.reappearDays = Number(a, value());
        } else if (a == "--delay") {
            s.delaySeconds = Number(a, value());
        } else {
            throw CUsageError("popup: unknown argument " + a);
        }
    }
    return s;
}

struct SPopupJob {
    CPopupCodeGen generator;
};

void RunPopup(const std::vector<std::string>& args, const ondrelo::gen::SGenOptions& options,
              ondrelo::gen::SGenerated& out) {
    const SPopupSettings s = ReadSettings(args);
    auto job = std::make_shared<SPopupJob>();
    CPopupCodeGen& gen = job->generator;
    // As the pages hand their values over, one page after the other.
    gen.SetPosition(s.center, s.left, s.top, s.width, s.height);
    gen.SetFeatures(s.location, s.scrollbars, s.menubar, s.toolbar, s.status, s.resizable,
                    s.directories);
    gen.SetContent(s.urlMode, s.url, s.htmlContent);
    gen.SetInvocation(s.kind, InvocationLabel(s.kind, s.label, s.label));
    gen.SetOptions(s.popUnder, s.oncePerVisitor, s.reappearDays, s.delaySeconds);
    gen.SetModified(true);

    std::string placeholder, objectName, scriptFile;
    gen.GetInsertInfo(placeholder, objectName, scriptFile);
    out.generator = std::shared_ptr<CCodeGen>(job, &job->generator);
    out.scriptName = scriptFile;
    out.placeholderText = placeholder;
    // The insertion generates the code again; with --numbers it gets the
    // same names as the printed code.
    out.insert = [job, numbers = options.numbers](const ondrelo::gen::SInsertRequest& r) {
        if (!numbers.empty()) {
            CCodeGen::SetFixedRandomNumbers(numbers);
        }
        return job->generator.InsertCode(r.page, r.newFile ? 1 : 0, r.atPlaceholder ? 0 : 1) == 1;
    };
}

const char* const kPopupUsage =
    "  ondrelo-gen popup [ARGUMENTS]\n"
    "    --center                 centre the popup on the visitor's screen\n"
    "    --left N --top N         position in pixels (default 50, 50)\n"
    "    --width N --height N     size in pixels (default 350 x 350)\n"
    "    --features LIST          comma-separated: location,scrollbars,menubar,toolbar,\n"
    "                             status,resizable,directories\n"
    "    --url URL                the popup loads this address (the default, empty)\n"
    "    --html FILE              the popup shows the HTML of FILE (\"-\": standard input)\n"
    "    --on KIND                button, link, entry or exit (default entry)\n"
    "    --label TEXT             text of the button or the link\n"
    "    --popunder               send the popup behind the page\n"
    "    --once                   show the popup only once to a visitor\n"
    "    --reappear DAYS          show it again only after DAYS days\n"
    "    --delay SECONDS          page entry or exit waits SECONDS seconds\n"
    "    --numbers F,W gives the function popupF and the window windowW\n";

}  // namespace

ONDRELO_GEN_SUBCOMMAND(popup, "a popup window and the button, link or body tag that opens it",
                       kPopupUsage, &RunPopup);
