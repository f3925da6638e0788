#include "launching/EmulatorArguments.h"

#include "discs/DfsCatalogue.h"

#include <string_view>

namespace vorbix {

namespace {

std::string ReplaceAll(std::string text, std::string_view what, const std::string& with)
{
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true; // "" on its own is an empty word
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

std::vector<std::string> EmulatorArguments(const std::string& commandLine, const std::string& imagePath,
    const std::string& bootCommand)
{
    std::vector<std::string> arguments;
    for (const std::string& word : SplitCommandLine(commandLine)) {
        const bool hasImage = word.find(kImagePlaceholder) != std::string::npos;
        if (hasImage && imagePath.empty()) {
            // The switch whose value the image was goes with it.
            if (word == kImagePlaceholder && !arguments.empty() && arguments.back().starts_with('-'))
                arguments.pop_back();
            continue;
        }
        // The boot command first: an image path that holds "%BOOT%" stays as it is.
        std::string argument = ReplaceAll(word, kBootPlaceholder, bootCommand);
        if (hasImage)
            argument = ReplaceAll(argument, kImagePlaceholder, imagePath);
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string BootCommandOfImage(const std::string& imagePath)
{
    return BootCommand(DfsBootOptionOfImage(imagePath).value_or(0));
}

} // namespace vorbix
