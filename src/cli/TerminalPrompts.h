#pragma once
// Prompts on a terminal: messages go to standard error one per line ("Error: " + text
// for error boxes); questions are asked as y/n on the terminal, or all answered Yes.

#include "host/Prompts.h"

#include <iosfwd>

namespace vorbix::cli {

class TerminalPrompts : public Prompts {
public:
    // interactive false: questions are not asked; every question gets Yes when answerYes,
    // else No. OK boxes are only printed.
    TerminalPrompts(std::ostream& err, std::istream& in, bool interactive, bool answerYes);

    MessageAnswer ShowMessageBox(const MessageRequest& request) override;
    void ShowErrorBox(const std::string& text) override;
    // A terminal has no chooser: the request is refused (nothing is chosen) and said so.
    std::optional<std::string> ChooseFile(const FileOpenRequest& request) override;
    std::optional<std::string> ChooseFolder(const FolderRequest& request) override;

private:
    MessageAnswer Ask(const MessageRequest& request);

    std::ostream& err_;
    std::istream& in_;
    bool interactive_;
    bool answerYes_;
};

} // namespace vorbix::cli
