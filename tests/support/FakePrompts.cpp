#include "support/FakePrompts.h"

namespace vorbix::test {

MessageAnswer FakePrompts::ShowMessageBox(const MessageRequest& request)
{
    shown.push_back({"box", request});
    if (request.Buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (answers_.empty())
        return DefaultAnswer;
    MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void FakePrompts::ShowErrorBox(const std::string& text)
{
    shown.push_back({"error", {"Error", text, MessageIcon::Stop, MessageButtons::Ok, true}});
}

std::optional<std::string> FakePrompts::NextChoice()
{
    if (choices_.empty())
        return std::nullopt;
    std::optional<std::string> choice = std::move(choices_.front());
    choices_.pop_front();
    return choice;
}

std::optional<std::string> FakePrompts::ChooseFile(const FileOpenRequest& request)
{
    fileRequests.push_back(request);
    return NextChoice();
}

std::optional<std::string> FakePrompts::ChooseFolder(const FolderRequest& request)
{
    folderRequests.push_back(request);
    return NextChoice();
}

std::vector<std::string> FakePrompts::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& s : shown)
        texts.push_back(s.kind == "error" ? "Error: " + s.request.Text : s.request.Text);
    return texts;
}

std::vector<std::string> FakePrompts::Errors() const
{
    std::vector<std::string> texts;
    for (const auto& s : shown)
        if (s.kind == "error")
            texts.push_back(s.request.Text);
    return texts;
}

} // namespace vorbix::test
