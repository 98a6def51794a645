// Runs the small wizards' commands on their own ("dlink ..." or "links ..."),
// for the browser tests' pages.
#include <iostream>
#include <string>
#include <vector>

#include "SmallsetCommands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << "usage: smallset-sample dlink ... | links ...\n";
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "dlink")
        return smallset::RunDLinkCommand(args, std::cout, std::cerr);
    if (command == "links")
        return smallset::RunLinksCommand(args, std::cout, std::cerr);
    std::cerr << "unknown command " << command << '\n';
    return 2;
}
