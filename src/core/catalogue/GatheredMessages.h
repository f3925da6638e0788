#pragma once
// The messages of one file's load, gathered into one box: a damaged file can miss
// thousands of elements, and a box for each would hold the user for as long.

#include "host/Prompts.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace vorbix {

class GatheredMessages : public Prompts {
public:
    // Notes the message; the box counts as closed with OK.
    MessageAnswer ShowMessageBox(const MessageRequest& request) override;
    std::optional<std::string> ChooseFile(const FileOpenRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFolder(const FolderRequest&) override { return std::nullopt; }

    // Shows what was gathered while reading path in one box: a single message as it is;
    // several as "Reading PATH gave N messages:" with the first ten different texts, each
    // with the number of times it came, and the count of the other texts.
    void ShowTo(Prompts& prompts, const std::string& path) const;

private:
    std::vector<std::pair<std::string, std::size_t>> texts_; // in the order they first came
    std::size_t count_ = 0;
};

} // namespace vorbix
