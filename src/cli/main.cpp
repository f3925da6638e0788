#include "Cli.h"
#include "platform/HeapPages.h"

#include <iostream>

int main(int argc, char** argv)
{
    vorbix::UseLargeHeapPages(argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    return vorbix::cli::RunCli(args, std::cout, std::cerr, std::cin);
}
