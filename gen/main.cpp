// ondrelo-gen: writes the wizards' code from the command line. The
// subcommands are compiled into the program by the wizards themselves.
#include <iostream>
#include <string>
#include <vector>

#include "ondrelo/gen/GenCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return ondrelo::gen::Run(args, std::cout, std::cerr);
}
