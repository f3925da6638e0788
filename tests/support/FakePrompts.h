#pragma once
// Prompts that record every box and answer from a script.

#include "catalogue/Prompts.h"

#include <deque>
#include <string>
#include <vector>

namespace vorbix::test {

class FakePrompts : public Prompts {
public:
    struct Shown {
        std::string kind;  // "box" or "error"
        MessageRequest request;
    };

    MessageAnswer ShowMessageBox(const MessageRequest& request) override;
    void ShowErrorBox(const std::string& text) override;

    // Answers given in order to questions (Yes/No boxes); when none are left, DefaultAnswer.
    void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    MessageAnswer DefaultAnswer = MessageAnswer::Yes;

    // The texts shown, in order (errors as "Error: " + text).
    std::vector<std::string> Texts() const;
    std::vector<std::string> Errors() const;
    std::vector<Shown> shown;

private:
    std::deque<MessageAnswer> answers_;
};

} // namespace vorbix::test
