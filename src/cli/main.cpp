#include "Cli.h"

#include <iostream>
#include <new>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return vorbix::cli::RunCli(args, std::cout, std::cerr, std::cin);
    } catch (const std::bad_alloc&) {
        // Where no load could name its file: still a sentence, never a type name.
        std::cerr << "Error: Not enough memory for what vorbix-cli was doing\n";
        return vorbix::cli::kExitFileError;
    }
}
