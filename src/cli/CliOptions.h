#pragma once
// How every command reads its options: a table of the options it takes, each with what it
// does with its value, read by one function that words every refusal the same way.

#include <functional>
#include <string>
#include <vector>

namespace vorbix::cli {

struct CliOption {
    const char* name;
    bool takesValue;
    // Takes the option's value ("" for an option without one); false refuses it.
    std::function<bool(const std::string& value)> apply;
    // What a refused value is reported as, followed by the value; nullptr: "Unexpected
    // argument" followed by the option and its value.
    const char* refusal = nullptr;
};

// Reads the arguments against the options. Returns "" when all were taken, else what
// stopped the reading: "Unexpected argument ARG" for an argument that is none of the
// options (or one that lacks its value), or the option's refusal of its value.
std::string ReadOptions(const std::vector<std::string>& args, const std::vector<CliOption>& options);

// An option without a value that sets the flag.
CliOption FlagOption(const char* name, bool& flag);
// An option whose value is kept as it stands.
CliOption TextOption(const char* name, std::string& text);

// --order publisher|program, the order of the list and of the reports alike: sets order
// to the value that the word names.
template <typename Order>
CliOption OrderOption(Order& order, Order byPublisher, Order byProgram)
{
    return {"--order", true, [&order, byPublisher, byProgram](const std::string& value) {
                if (value != "publisher" && value != "program")
                    return false;
                order = value == "publisher" ? byPublisher : byProgram;
                return true;
            }};
}

} // namespace vorbix::cli
