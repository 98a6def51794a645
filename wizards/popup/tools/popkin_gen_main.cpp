// Stand-alone front end of the popup subcommand.
#include <iostream>

#include "gen_popup.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return popkin::RunGenPopup(args, std::cout, std::cerr);
}
