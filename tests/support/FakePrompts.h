#pragma once
// Prompts that record every box and answer from a script.

#include "host/Prompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace vorbix::test {

class FakePrompts : public Prompts {
public:
    struct Shown {
        std::string kind; // "box" or "error"
        MessageRequest request;
    };

    MessageAnswer ShowMessageBox(const MessageRequest& request) override;
    void ShowErrorBox(const std::string& text) override;
    std::optional<std::string> ChooseFile(const FileOpenRequest& request) override;
    std::optional<std::string> ChooseFolder(const FolderRequest& request) override;

    // Paths the choosers return in order, file and folder choosers alike; nothing queued
    // (or std::nullopt queued) means the chooser was cancelled.
    void QueueChoice(std::optional<std::string> path) { choices_.push_back(std::move(path)); }
    std::vector<FileOpenRequest> fileRequests;
    std::vector<FolderRequest> folderRequests;

    // Answers given in order to questions (Yes/No boxes); when none are left, DefaultAnswer.
    void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    MessageAnswer DefaultAnswer = MessageAnswer::Yes;

    // The texts shown, in order (errors as "Error: " + text).
    std::vector<std::string> Texts() const;
    std::vector<std::string> Errors() const;
    std::vector<Shown> shown;

private:
    std::optional<std::string> NextChoice();

    std::deque<MessageAnswer> answers_;
    std::deque<std::optional<std::string>> choices_;
};

} // namespace vorbix::test
