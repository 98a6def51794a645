#include "SmallsetCommands.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "ondrelo/CodeGen.h"
#include "ondrelo/OndException.h"
#include "smallset/AffLink.h"
#include "smallset/DLinkCodeGen.h"
#include "smallset/LinkFile.h"

namespace smallset {

namespace {

int Usage(std::ostream& err, const char* text) {
    err << text << '\n';
    return 2;
}

bool ReadAll(const std::string& path, std::string& text) {
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

}  // namespace

int RunDLinkCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CDLinkList list;
    std::string page, script;
    bool atPlaceholder = false;
    std::vector<int> numbers;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--link") {
            if (i + 3 >= args.size())
                return Usage(err, "dlink: --link needs LABEL URL TARGET");
            list.Add(args[i + 1], args[i + 2], args[i + 3]);
            i += 3;
        } else if (a == "--insert" && i + 1 < args.size()) {
            page = args[++i];
        } else if (a == "--script" && i + 1 < args.size()) {
            script = args[++i];
        } else if (a == "--numbers" && i + 1 < args.size()) {
            numbers.push_back(std::atoi(args[++i].c_str()));
        } else if (a == "--placeholder") {
            atPlaceholder = true;
        } else {
            return Usage(err, ("dlink: unexpected argument " + a).c_str());
        }
    }
    if (list.GetCount() < 2)
        return Usage(err, "dlink: give the prompt row and at least one link with --link");
    if (!numbers.empty())
        CCodeGen::SetFixedRandomNumbers(numbers);
    CDLinkCodeGen gen(list);
    if (page.empty()) {
        std::string code, line, third, warnings;
        gen.SetModified(true);
        gen.GetCode(code, line, third, warnings);
        out << line << "\r\n" << code << "\r\n";
        return 0;
    }
    const bool create = !std::filesystem::exists(page);
    return gen.Insert(page, script, create, !atPlaceholder) == 1 ? 0 : 1;
}

int RunLinksCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2)
        return Usage(err, "links: PAGE --list | PAGE --apply FILE");
    const std::string& page = args[0];
    CAffLinkScanner scanner;
    CAffLinkList list;
    if (!OpenAndScan(scanner, list, page))
        return 1;
    if (args[1] == "--list" && args.size() == 2) {
        out << FormatLinkLines(list);
        return 0;
    }
    if (args[1] != "--apply" || args.size() != 3)
        return Usage(err, "links: PAGE --list | PAGE --apply FILE");
    std::string lines, error;
    if (!ReadAll(args[2], lines)) {
        err << "links: cannot read " << args[2] << '\n';
        return 1;
    }
    if (!ApplyLinkLines(lines, list, error)) {
        err << "links: " << error << '\n';
        return 1;
    }
    CAffLinkCodeGen gen(list, scanner);
    return gen.ModifyFileReported() ? 0 : 1;
}

}  // namespace smallset
