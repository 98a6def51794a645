#include "ondrelo/gen/GenCommand.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <system_error>

#include "inslet/InsertWizardModel.h"
#include "ondrelo/CodeGen.h"
#include "ondrelo/Common.h"
#include "ondrelo/OndException.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"

namespace fs = std::filesystem;

namespace ondrelo::gen {

namespace {

const char* const kProgram = "ondrelo-gen";

std::map<std::string, SSubcommand>& Registry() {
    static std::map<std::string, SSubcommand> registry;
    return registry;
}

const char* const kCommonOptions =
    "Options of every subcommand:\n"
    "  --print include|code|instruction|warnings\n"
    "        print exactly that code text, byte for byte, with nothing added.\n"
    "        Without it: the inclusion line, a blank line and the code on\n"
    "        standard output, the warnings on standard error.\n"
    "  --numbers N[,N...]\n"
    "        the pseudo-random numbers (0 to 32767) the generator draws, in\n"
    "        order; the last one repeats. For reproducible output.\n"
    "  --page PATH\n"
    "        the page the code is meant for (relative paths are computed\n"
    "        from it), without inserting.\n"
    "  --insert PAGE [--new] [--placeholder] [--script-to DIR]\n"
    "        insert the code into PAGE as the wizard does: after the body tag,\n"
    "        at the wizard's placeholder (--placeholder), or as a new file\n"
    "        (--new; an existing file is not overwritten). The runtime script\n"
    "        is copied into DIR (default: the page's folder) from the scripts\n"
    "        folder of the settings store, else the one next to the program.\n"
    "  --help  this text; SUBCOMMAND --help: that subcommand's arguments.\n"
    "  --      ends the options; everything after it goes to the subcommand.\n"
    "\n"
    "Exit codes: 0 done; 1 the generator or the insertion failed (the\n"
    "message is on standard error); 2 bad usage.\n";

// Questions asked during a run go to standard error and get the cautious
// answer: nothing is overwritten on the user's behalf.
class CStreamPrompt : public IPrompt {
public:
    explicit CStreamPrompt(std::ostream& err) : m_err(err), m_previous(SetPrompt(this)) {}
    ~CStreamPrompt() override { SetPrompt(m_previous); }
    CStreamPrompt(const CStreamPrompt&) = delete;
    CStreamPrompt& operator=(const CStreamPrompt&) = delete;

    int MessageBox(HWND, const std::string&, const std::string& text, unsigned style) override {
        m_err << kProgram << ": " << text << "\n";
        return CautiousAnswer(style);
    }
    bool FileDialog(const SFileDialogSpec&, std::string&) override { return false; }

private:
    std::ostream& m_err;
    IPrompt* m_previous;
};

// Fixed numbers last for one run only: an in-process caller (the tests)
// gets the time-seeded draw back afterwards.
class CFixedNumbersScope {
public:
    explicit CFixedNumbersScope(const std::vector<int>& numbers) {
        CCodeGen::SetFixedRandomNumbers(numbers);
    }
    ~CFixedNumbersScope() { CCodeGen::SetFixedRandomNumbers({}); }
    CFixedNumbersScope(const CFixedNumbersScope&) = delete;
    CFixedNumbersScope& operator=(const CFixedNumbersScope&) = delete;
};

std::vector<int> ParseNumbers(const std::string& text) {
    std::vector<int> numbers;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(item.c_str(), &end, 10);
        if (item.empty() || *end != '\0' || errno != 0 || value < 0 || value > 32767 ||
            item[0] == '+' || item[0] == ' ') {
            throw CUsageError("--numbers takes numbers from 0 to 32767, separated by commas: " +
                              text);
        }
        numbers.push_back(static_cast<int>(value));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return numbers;
}

EPrint ParsePrint(const std::string& text) {
    static const std::map<std::string, EPrint> kinds = {{"include", EPrint::Include},
                                                        {"code", EPrint::Code},
                                                        {"instruction", EPrint::Instruction},
                                                        {"warnings", EPrint::Warnings}};
    auto it = kinds.find(text);
    if (it == kinds.end()) {
        throw CUsageError("--print takes include, code, instruction or warnings, not '" + text +
                          "'");
    }
    return it->second;
}

// Splits the command line after the subcommand name into the common
// options and the subcommand's own arguments.
SGenOptions ParseCommon(const std::vector<std::string>& args, std::vector<std::string>& rest,
                        bool& help) {
    SGenOptions options;
    std::string page;
    std::string insertPage;
    std::string scriptTo;
    bool printSeen = false;
    bool numbersSeen = false;
    auto value = [&](std::size_t& i) -> const std::string& {
        if (i + 1 >= args.size()) {
            throw CUsageError(args[i] + " needs a value");
        }
        return args[++i];
    };
    auto once = [](bool& seen, const std::string& option) {
        if (seen) {
            throw CUsageError(option + " given twice");
        }
        seen = true;
    };
    bool pageSeen = false;
    bool insertSeen = false;
    bool scriptToSeen = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        }
        if (a == "--help" || a == "-h") {
            help = true;
        } else if (a == "--print") {
            once(printSeen, a);
            options.print = ParsePrint(value(i));
        } else if (a == "--numbers") {
            once(numbersSeen, a);
            options.numbers = ParseNumbers(value(i));
        } else if (a == "--page") {
            once(pageSeen, a);
            page = value(i);
        } else if (a == "--insert") {
            once(insertSeen, a);
            insertPage = value(i);
        } else if (a == "--script-to") {
            once(scriptToSeen, a);
            scriptTo = value(i);
        } else if (a == "--new") {
            options.newFile = true;
        } else if (a == "--placeholder") {
            options.placeholder = true;
        } else {
            rest.push_back(a);
        }
    }
    if (help) {
        return options;
    }
    if (pageSeen && insertSeen) {
        throw CUsageError("--page and --insert exclude each other (--insert names the page)");
    }
    if ((options.newFile || options.placeholder) && !insertSeen) {
        throw CUsageError(std::string(options.newFile ? "--new" : "--placeholder") +
                          " goes with --insert PAGE");
    }
    if (options.newFile && options.placeholder) {
        throw CUsageError("--new and --placeholder exclude each other");
    }
    if (scriptToSeen && !insertSeen && !pageSeen) {
        throw CUsageError("--script-to goes with --insert PAGE or --page PATH");
    }
    if ((insertSeen && insertPage.empty()) || (pageSeen && page.empty()) ||
        (scriptToSeen && scriptTo.empty())) {
        throw CUsageError("empty path");
    }
    options.insert = insertSeen;
    if (insertSeen || pageSeen) {
        options.page = AbsolutePath(insertSeen ? insertPage : page);
        options.scriptFolder = scriptToSeen
                                   ? AbsolutePath(scriptTo)
                                   : fs::path(options.page).parent_path().string();
    }
    return options;
}

std::string ProgramFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

bool FileHolds(const std::string& path, const std::string& text) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes.find(text) != std::string::npos;
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

// Copies the wizard's runtime script to its destination as the insertion
// component does; false (after saying why) when the copy failed.
bool CopyRuntimeScript(const std::string& scriptName, const std::string& destination,
                       std::ostream& err) {
    if (!COndRegistryHandler::GetScriptsPath().empty()) {
        return inslet::CAutoInsertState::CopyScript(scriptName, destination);
    }
    const std::string folder = ScriptsFolder();
    if (folder.empty()) {
        err << kProgram << ": cannot copy " << scriptName
            << ": no scripts folder (the settings store has no scripts path and there is none "
               "next to the program)\n";
        return false;
    }
    if (!CCommon::CopyScriptFile(folder + "/" + scriptName, destination)) {
        err << kProgram << ": failed copying " << folder << "/" << scriptName << " to "
            << destination << "\n";
        return false;
    }
    return true;
}

void PrintHelp(std::ostream& out) {
    out << "usage: " << kProgram << " SUBCOMMAND [ARGUMENTS] [OPTIONS]\n"
        << "Writes a wizard's HTML and JavaScript without the window.\n\nSubcommands:\n";
    const std::vector<SSubcommand> all = Subcommands();
    if (all.empty()) {
        out << "  (none built in)\n";
    }
    for (const SSubcommand& s : all) {
        out << "  " << s.name << "  " << s.summary << "\n";
    }
    out << "\n" << kCommonOptions;
    for (const SSubcommand& s : all) {
        out << "\n" << kProgram << " " << s.name << ":\n" << s.usage;
    }
}

void PrintSubcommandHelp(const SSubcommand& s, std::ostream& out) {
    out << kProgram << " " << s.name << ": " << s.summary << "\n" << s.usage << "\n"
        << kCommonOptions;
}

int UsageFailure(const std::string& message, const std::string& subcommand, std::ostream& err) {
    err << kProgram << (subcommand.empty() ? "" : " " + subcommand) << ": " << message << "\n"
        << "Try '" << kProgram << (subcommand.empty() ? "" : " " + subcommand)
        << " --help'.\n";
    return kExitUsage;
}

int Generate(const SSubcommand& subcommand, const SGenOptions& options,
             const std::vector<std::string>& rest, std::ostream& out, std::ostream& err);

int RunSubcommand(const SSubcommand& subcommand, const std::vector<std::string>& args,
                  std::ostream& out, std::ostream& err) {
    std::vector<std::string> rest;
    bool help = false;
    SGenOptions options;
    try {
        options = ParseCommon(args, rest, help);
    } catch (const CUsageError& e) {
        return UsageFailure(e.what(), subcommand.name, err);
    }
    if (help) {
        PrintSubcommandHelp(subcommand, out);
        return kExitDone;
    }

    CStreamPrompt prompt(err);
    CFixedNumbersScope numbers(options.numbers);
    // Whatever a wizard's core raises past its own handling fails the run
    // with its message instead of ending the program.
    try {
        return Generate(subcommand, options, rest, out, err);
    } catch (COndException* e) {
        err << kProgram << " " << subcommand.name << ": Error " << e->GetErrorCode() << ": "
            << e->GetErrorString() << "\n";
        delete e;
    } catch (const std::exception& e) {
        err << kProgram << " " << subcommand.name << ": " << e.what() << "\n";
    }
    return kExitFailed;
}

int Generate(const SSubcommand& subcommand, const SGenOptions& options,
             const std::vector<std::string>& rest, std::ostream& out, std::ostream& err) {
    SGenerated generated;
    try {
        subcommand.run(rest, options, generated);
    } catch (const CUsageError& e) {
        return UsageFailure(e.what(), subcommand.name, err);
    } catch (const CGenFailure& e) {
        err << kProgram << " " << subcommand.name << ": " << e.what() << "\n";
        return kExitFailed;
    }
    if (!generated.generator) {
        err << kProgram << " " << subcommand.name << ": no generator\n";
        return kExitFailed;
    }
    if (options.placeholder && generated.placeholderText.empty()) {
        return UsageFailure("this wizard has no placeholder", subcommand.name, err);
    }
    if (options.insert && !generated.insert) {
        return UsageFailure("this wizard does not insert into pages", subcommand.name, err);
    }

    // The wizard's last page asks for the code before anything is inserted.
    std::string include;
    std::string code;
    std::string instruction;
    std::string warnings;
    if (generated.generator->GetCode(include, code, instruction, warnings) == 0) {
        err << kProgram << " " << subcommand.name << ": the generator failed\n";
        if (!warnings.empty()) {
            err << warnings;
        }
        return kExitFailed;
    }
    const std::string destination = options.ScriptDestination(generated.scriptName);
    if (!options.page.empty() && generated.inclusion &&
        !generated.inclusion(options.page, destination, include)) {
        return kExitFailed;
    }

    int status = kExitDone;
    if (options.insert) {
        std::error_code ec;
        if (options.newFile && fs::exists(options.page, ec)) {
            err << kProgram << " " << subcommand.name << ": " << options.page
                << " already exists; --new does not overwrite a file\n";
            return kExitFailed;
        }
        if (!options.newFile && !fs::is_regular_file(options.page, ec)) {
            err << kProgram << " " << subcommand.name << ": no such page: " << options.page
                << " (--new writes a new one)\n";
            return kExitFailed;
        }
        // As in the wizard: a failed copy is reported and the insertion
        // still goes on, but the run counts as failed.
        if (!destination.empty() && !CopyRuntimeScript(generated.scriptName, destination, err)) {
            status = kExitFailed;
        }
        SInsertRequest request{options.page, destination, options.newFile, options.placeholder};
        if (!generated.insert(request)) {
            err << kProgram << " " << subcommand.name << ": the code was not inserted into "
                << options.page;
            // The most likely reason, which the insertion itself does not say.
            if (options.placeholder && !FileHolds(options.page, generated.placeholderText)) {
                err << " (the page holds no " << generated.placeholderText << ")";
            }
            err << "\n";
            return kExitFailed;
        }
    }

    switch (options.print) {
        case EPrint::Include:
            out << include;
            break;
        case EPrint::Code:
            out << code;
            break;
        case EPrint::Instruction:
            out << instruction;
            break;
        case EPrint::Warnings:
            out << warnings;
            break;
        case EPrint::All:
            if (!options.insert) {
                if (!include.empty()) {
                    out << include << "\r\n\r\n";
                }
                out << code;
            }
            break;
    }
    if (options.print != EPrint::Warnings && !warnings.empty()) {
        err << warnings;
    }
    out.flush();
    return status;
}

}  // namespace

std::string SGenOptions::ScriptDestination(const std::string& scriptName) const {
    if (scriptFolder.empty() || scriptName.empty()) {
        return {};
    }
    return (fs::path(scriptFolder) / scriptName).string();
}

CSubcommandRegistrar::CSubcommandRegistrar(const char* name, const char* summary,
                                           const char* usage, GenRunFunction run) {
    Registry()[name] = SSubcommand{name, summary, usage, run};
}

std::vector<SSubcommand> Subcommands() {
    std::vector<SSubcommand> all;
    for (const auto& entry : Registry()) {
        all.push_back(entry.second);
    }
    return all;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) {
        return path;
    }
    return absolute.lexically_normal().string();
}

std::string ScriptsFolder() {
    const std::string stored = COndRegistryHandler::GetScriptsPath();
    if (!stored.empty()) {
        return stored;
    }
    const std::string program = ProgramFolder();
    if (program.empty()) {
        return {};
    }
    for (const char* relative : {"../share/ondrelo/scripts", "../scripts"}) {
        const std::string folder = (fs::path(program) / relative).lexically_normal().string();
        if (IsFolder(folder)) {
            return folder;
        }
    }
    return {};
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        return UsageFailure("no subcommand", "", err);
    }
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") {
        PrintHelp(out);
        return kExitDone;
    }
    auto it = Registry().find(first);
    if (it == Registry().end()) {
        std::string names;
        for (const auto& entry : Registry()) {
            names += (names.empty() ? "" : ", ") + entry.first;
        }
        return UsageFailure("unknown subcommand '" + first + "' (known: " +
                                (names.empty() ? "none" : names) + ")",
                            "", err);
    }
    return RunSubcommand(it->second, std::vector<std::string>(args.begin() + 1, args.end()), out,
                         err);
}

}  // namespace ondrelo::gen
