// The two small wizards on the command line:
//   ondrelo-gen dlink --link LABEL URL TARGET [--link ...]
//       the drop-down list of links (the first --link is the prompt row);
//       with --insert it goes into the page as the wizard inserts it.
//   ondrelo-gen links PAGE --list
//       the page's links, one a line: label, href, status text, target.
//   ondrelo-gen links PAGE --apply FILE
//       the status texts and targets of FILE (same columns, "-" for standard
//       input) written into the page's links, as the link editor does.
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

#include "ondrelo/gen/GenCommand.h"
#include "smallset/AffLink.h"
#include "smallset/DLinkCodeGen.h"
#include "smallset/LinkFile.h"

namespace {

using ondrelo::gen::CGenFailure;
using ondrelo::gen::CUsageError;
using namespace smallset;

// The drop-down's generator hands out the code first and the inclusion
// line second; the command line wants them the other way round.
class CDLinkCommandGen : public CCodeGen {
public:
    CDLinkList list;
    CDLinkCodeGen generator{list};

    CDLinkCommandGen() { SetModified(true); }
    int GenerateCode() override {
        std::string code, line, third, warnings;
        generator.SetModified(true);
        generator.GetCode(code, line, third, warnings);
        m_strCode1 = line;
        m_strCode2 = code;
        m_strCode3 = third;
        m_strWarnings = warnings;
        return 1;
    }
};

void RunDLink(const std::vector<std::string>& args, const ondrelo::gen::SGenOptions&,
              ondrelo::gen::SGenerated& out) {
    auto job = std::make_shared<CDLinkCommandGen>();
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--link") {
            throw CUsageError("unexpected argument " + args[i]);
        }
        if (i + 3 >= args.size()) {
            throw CUsageError("--link needs LABEL URL TARGET");
        }
        job->list.Add(args[i + 1], args[i + 2], args[i + 3]);
        i += 3;
    }
    if (job->list.GetCount() < 2) {
        throw CUsageError("give the prompt row and at least one link, each with --link");
    }
    out.generator = job;
    out.scriptName = kDLinkScriptName;
    out.placeholderText = kDLinkPlaceholder;
    out.inclusion = [job](const std::string& page, const std::string& script, std::string& line) {
        line = job->generator.GenerateScriptInclusion(page, script, kDLinkScriptName);
        return true;
    };
    out.insert = [job](const ondrelo::gen::SInsertRequest& r) {
        return job->generator.Insert(r.page, r.scriptDestination, r.newFile, !r.atPlaceholder) == 1;
    };
}

// The links of a page as lines; what --apply changed is already written
// when the (then empty) text is handed out.
class CLinkLinesGen : public CCodeGen {
public:
    CAffLinkScanner scanner;
    CAffLinkList list;
    CAffLinkCodeGen editor{list, scanner};
    bool listing = true;

    int GenerateCode() override {
        m_strCode2 = listing ? FormatLinkLines(list) : std::string();
        return 1;
    }
};

std::string ReadInput(const std::string& path) {
    if (path == "-") {
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw CGenFailure("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void RunLinks(const std::vector<std::string>& args, const ondrelo::gen::SGenOptions&,
              ondrelo::gen::SGenerated& out) {
    const bool list = args.size() == 2 && args[1] == "--list";
    const bool apply = args.size() == 3 && args[1] == "--apply";
    if (!list && !apply) {
        throw CUsageError("give PAGE --list or PAGE --apply FILE");
    }
    auto job = std::make_shared<CLinkLinesGen>();
    job->SetModified(true);
    const std::string page = ondrelo::gen::AbsolutePath(args[0]);
    if (!OpenAndScan(job->scanner, job->list, page)) {
        throw CGenFailure("no links read from " + page);
    }
    if (apply) {
        std::string error;
        if (!ApplyLinkLines(ReadInput(args[2]), job->list, error)) {
            throw CGenFailure(error);
        }
        if (!job->editor.ModifyFileReported()) {
            throw CGenFailure(page + " was not changed");
        }
        job->listing = false;
    }
    out.generator = job;
}

const char* const kDLinkUsage =
    "  ondrelo-gen dlink --link LABEL URL TARGET [--link LABEL URL TARGET ...]\n"
    "      one --link per entry, in order; the first is the prompt row (its URL\n"
    "      empty); TARGET is _blank, _self, _parent, _top, a frame name or \"\"\n";
const char* const kLinksUsage =
    "  ondrelo-gen links PAGE --list\n"
    "      one line per link of PAGE: label, href, status text, target (tabs;\n"
    "      \\\\, \\t, \\n, \\r inside a column)\n"
    "  ondrelo-gen links PAGE --apply FILE\n"
    "      status texts and targets from FILE (the same columns, one line per\n"
    "      link in page order; label and href are not used; - reads standard\n"
    "      input) written into PAGE's links\n";

}  // namespace

ONDRELO_GEN_SUBCOMMAND(dlink, "a drop-down list of links", kDLinkUsage, &RunDLink);
ONDRELO_GEN_SUBCOMMAND(links, "status texts and targets of a page's links", kLinksUsage,
                       &RunLinks);
