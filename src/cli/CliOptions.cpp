#include "CliOptions.h"

#include <algorithm>

namespace vorbix::cli {

std::string ReadOptions(const std::vector<std::string>& args, const std::vector<CliOption>& options)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto option =
            std::find_if(options.begin(), options.end(), [&arg](const CliOption& o) { return arg == o.name; });
        const bool hasValue = i + 1 < args.size();
        if (option == options.end() || (option->takesValue && !hasValue))
            return "Unexpected argument " + arg;
        if (!option->takesValue) {
            if (!option->apply(std::string()))
                return "Unexpected argument " + arg;
            continue;
        }
        const std::string& value = args[++i];
        if (!option->apply(value)) {
            std::string problem = option->refusal != nullptr ? option->refusal : "Unexpected argument " + arg + " ";
            return problem.append(value);
        }
    }
    return {};
}

CliOption FlagOption(const char* name, bool& flag)
{
    return {name, false, [&flag](const std::string&) {
                flag = true;
                return true;
            }};
}

CliOption TextOption(const char* name, std::string& text)
{
    return {name, true, [&text](const std::string& value) {
                text = value;
                return true;
            }};
}

} // namespace vorbix::cli
