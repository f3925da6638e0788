#include "launching/EmulatorArguments.h"

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

std::vector<std::string> EmulatorArguments(const std::string& commandLine, const std::string& imagePath)
{
    std::vector<std::string> arguments;
    for (const std::string& word : SplitCommandLine(commandLine)) {
        const bool hasImage = word.find(kImagePlaceholder) != std::string::npos;
        if (!hasImage)
            arguments.push_back(word);
        else if (!imagePath.empty())
            arguments.push_back(ReplaceAll(word, kImagePlaceholder, imagePath));
    }
    return arguments;
}

} // namespace vorbix
