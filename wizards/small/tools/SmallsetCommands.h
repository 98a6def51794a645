// The command-line face of the two small wizards:
//
//   dlink --link LABEL URL TARGET [--link ...] [--numbers N] [--insert PAGE
//         [--script PATH] [--placeholder]]
//       prints the inclusion line and the drop-down's code, or puts them into
//       PAGE (after its body tag, or at its placeholders; a missing PAGE is
//       created). The first --link is the prompt row as the user sees it.
//   links PAGE --list
//       prints one line per link: label, href, status text, target (tabs).
//   links PAGE --apply FILE
//       takes status texts and targets from FILE (same columns; "-" reads
//       standard input) and writes them into PAGE's links.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace smallset {

int RunDLinkCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunLinksCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace smallset
