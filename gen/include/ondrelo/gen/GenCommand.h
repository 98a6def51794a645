// ondrelo-gen: the wizards' output without the window. One program, one
// subcommand per wizard. A subcommand reads its own arguments, builds its
// wizard's model and generator and says how its wizard inserts the code;
// this shared part parses the options every subcommand takes, prints the
// generated texts and runs the insertion, so that every wizard behaves the
// same on the command line.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class CCodeGen;

namespace ondrelo::gen {

// Exit codes of the program.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // the generator or the insertion failed
inline constexpr int kExitUsage = 2;   // bad command line

// Thrown by a subcommand for a bad command line (exit 2, with a pointer to
// --help).
class CUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Thrown by a subcommand when it cannot do its work although the command
// line was right: an unreadable input file, a broken description (exit 1).
class CGenFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Which code text --print asks for.
enum class EPrint { All, Include, Code, Instruction, Warnings };

// The options every subcommand takes, parsed before the subcommand runs.
// Paths are absolute.
struct SGenOptions {
    EPrint print = EPrint::All;
    // --numbers: the pseudo-random numbers the generator draws (already
    // fixed in CCodeGen when the subcommand runs).
    std::vector<int> numbers;
    // The page the code is meant for: the --insert page, else --page, else
    // empty. Relative paths in the code are computed from it.
    std::string page;
    bool insert = false;       // --insert PAGE
    bool newFile = false;      // --new: PAGE is written as a new file
    bool placeholder = false;  // --placeholder: at the wizard's placeholder
    // --script-to DIR (default: the page's folder); empty without a page.
    std::string scriptFolder;

    // Where the runtime script of the given name goes: scriptFolder/name,
    // or empty without a page or a name.
    std::string ScriptDestination(const std::string& scriptName) const;
};

// What --insert asks the wizard's insertion to do.
struct SInsertRequest {
    std::string page;               // absolute path of the page
    std::string scriptDestination;  // absolute path of the copied script; empty: no script
    bool newFile = false;           // write the page as a new file
    bool atPlaceholder = false;     // in place of the placeholder, else after the body tag
};

// A subcommand's answer: the generator holding the code and how its wizard
// inserts that code.
struct SGenerated {
    // The wizard's generator with its model set. Whatever it points into
    // (the model) must live as long as it: hold both in one object and
    // hand out an aliasing pointer, e.g.
    //   auto job = std::make_shared<SMyJob>();
    //   out.generator = std::shared_ptr<CCodeGen>(job, &job->generator);
    std::shared_ptr<CCodeGen> generator;
    // File name of the runtime script the code calls; copied from the
    // scripts folder on --insert. Empty when the code needs no script.
    std::string scriptName;
    // The text a user pastes into a page to mark where the code goes;
    // empty when the wizard has none (then --placeholder is refused).
    std::string placeholderText;
    // The wizard's own insertion (what its InsertCode runs); true when the
    // page was saved. It reports its failures through the prompt. Required
    // for --insert.
    std::function<bool(const SInsertRequest&)> insert;
    // Optional: the inclusion line for a known page, as the insertion writes
    // it (relative path from the page to scriptDestination). Used in place
    // of the generator's first code text when a page is given. False when no
    // line can be made (reported through the prompt).
    std::function<bool(const std::string& page, const std::string& scriptDestination,
                       std::string& line)>
        inclusion;
};

// A subcommand: reads its arguments (everything on the command line after
// its name except the common options) and fills out. Throws CUsageError or
// CGenFailure; the message goes to standard error.
using GenRunFunction = void (*)(const std::vector<std::string>& args, const SGenOptions& options,
                                SGenerated& out);

struct SSubcommand {
    std::string name;
    std::string summary;  // one line for the list in --help
    std::string usage;    // the subcommand's own arguments, shown by --help
    GenRunFunction run = nullptr;
};

// Adds a subcommand to the program; used through ONDRELO_GEN_SUBCOMMAND.
class CSubcommandRegistrar {
public:
    CSubcommandRegistrar(const char* name, const char* summary, const char* usage,
                         GenRunFunction run);
};

// Every registered subcommand, sorted by name.
std::vector<SSubcommand> Subcommands();

// The whole program: args without the program name. Writes the code to out
// and messages (warnings, the wizard's messages, errors) to err; returns
// the exit code.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A path made absolute and normalised the way the common options' paths
// are, so that a subcommand can compare its own paths with them.
std::string AbsolutePath(const std::string& path);

// The folder the runtime scripts are copied from: the settings store's
// scripts path, else the scripts folder next to the program (installed:
// <prefix>/share/ondrelo/scripts; build tree: <build>/scripts). Empty when
// none exists.
std::string ScriptsFolder();

}  // namespace ondrelo::gen

// Registers a subcommand from its own source file:
//   ONDRELO_GEN_SUBCOMMAND(form, "a form with validations", kFormUsage, &RunForm);
#define ONDRELO_GEN_SUBCOMMAND(name, summary, usage, run)                                       \
    static const ::ondrelo::gen::CSubcommandRegistrar ondreloGenSubcommand_##name(#name, summary, \
                                                                                   usage, run)
