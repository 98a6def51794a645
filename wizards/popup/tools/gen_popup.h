// The popup wizard on the command line: every setting of the six pages as
// an option, the generated code on standard output, or the code inserted
// into a page.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace popkin {

// Runs the popup generator with the options (without the program and
// subcommand names). Returns the exit status: 0 done, 1 not inserted,
// 2 bad options.
int RunGenPopup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kGenPopupUsage;

}  // namespace popkin
