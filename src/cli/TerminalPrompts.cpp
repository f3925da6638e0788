#include "TerminalPrompts.h"

#include <iostream>
#include <string>

namespace vorbix::cli {

namespace {

// Message texts may hold a carriage return as a line break (a warning's "Continue?"),
// which the terminal shows as a space; a line feed starts an indented line of the same
// message (the lines an emulator wrote before it failed).
std::string OneLine(const std::string& text)
{
    std::string line;
    line.reserve(text.size());
    for (char c : text) {
        if (c == '\r')
            line += ' ';
        else if (c == '\n')
            line += "\n  ";
        else
            line += c;
    }
    return line;
}

} // namespace

TerminalPrompts::TerminalPrompts(std::ostream& err, std::istream& in, bool interactive, bool answerYes)
    : err_(err), in_(in), interactive_(interactive), answerYes_(answerYes)
{}

MessageAnswer TerminalPrompts::ShowMessageBox(const MessageRequest& request)
{
    if (request.Buttons == MessageButtons::Ok) {
        const bool isError = request.Icon == MessageIcon::Stop;
        err_ << (isError ? "Error: " : "") << OneLine(request.Text) << "\n";
        err_.flush();
        return MessageAnswer::Ok;
    }
    return Ask(request);
}

void TerminalPrompts::ShowErrorBox(const std::string& text)
{
    ShowMessageBox({"Error", text, MessageIcon::Stop, MessageButtons::Ok, true});
}

std::optional<std::string> TerminalPrompts::ChooseFile(const FileOpenRequest&)
{
    err_ << "No file can be chosen on the terminal\n";
    return std::nullopt;
}

std::optional<std::string> TerminalPrompts::ChooseFolder(const FolderRequest&)
{
    err_ << "No folder can be chosen on the terminal\n";
    return std::nullopt;
}

MessageAnswer TerminalPrompts::Ask(const MessageRequest& request)
{
    const bool withCancel = request.Buttons == MessageButtons::YesNoCancel;
    if (answerYes_ || !interactive_) {
        MessageAnswer answer = answerYes_ ? MessageAnswer::Yes : MessageAnswer::No;
        err_ << OneLine(request.Text) << " " << (answer == MessageAnswer::Yes ? "y" : "n") << "\n";
        return answer;
    }
    for (;;) {
        err_ << OneLine(request.Text) << (withCancel ? " [y/n/c] " : " [y/n] ");
        err_.flush();
        std::string reply;
        if (!std::getline(in_, reply))
            return withCancel ? MessageAnswer::Cancel : MessageAnswer::No;
        if (reply == "y" || reply == "Y" || reply == "yes")
            return MessageAnswer::Yes;
        if (reply == "n" || reply == "N" || reply == "no")
            return MessageAnswer::No;
        if (withCancel && (reply == "c" || reply == "C"))
            return MessageAnswer::Cancel;
    }
}

} // namespace vorbix::cli
