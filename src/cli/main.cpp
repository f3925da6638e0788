#include "Cli.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return vorbix::cli::RunCli(args, std::cout, std::cerr, std::cin);
}
