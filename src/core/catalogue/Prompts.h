#pragma once
// How core operations talk to the user: the window implements this with message
// boxes, the command-line tool on the terminal, tests with scripted fakes.

#include <string>

namespace vorbix {

enum class MessageIcon { None, Stop, Question, Exclamation, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// One modal message box. An empty caption means the application's title, "Vorbix".
struct MessageRequest {
    std::string Caption;
    std::string Text;
    MessageIcon Icon = MessageIcon::None;
    MessageButtons Buttons = MessageButtons::Ok;
    bool Foreground = false;
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // Shows a modal box and returns the button that closed it.
    virtual MessageAnswer ShowMessageBox(const MessageRequest& request) = 0;

    // The main window's error box: caption "Error", stop icon, OK, brought to the foreground.
    // The window also records the time it closed (the Enter-key rule of the program list).
    virtual void ShowErrorBox(const std::string& text)
    {
        ShowMessageBox({"Error", text, MessageIcon::Stop, MessageButtons::Ok, true});
    }

    // The box that holds a launch until the user says the emulator has finished
    // ("Press OK after running emulator"); the command-line tool waits on the terminal.
    virtual void PressOkAfterRunningEmulator() { ShowMessage("Press OK after running emulator"); }

    // A plain box with the application's title, no icon and an OK button.
    void ShowMessage(const std::string& text) { ShowMessageBox({"", text}); }

    // A confirmation box with the question icon and Yes/No; true only for Yes.
    bool Confirm(const std::string& text, const std::string& caption = "Confirm")
    {
        return ShowMessageBox({caption, text, MessageIcon::Question, MessageButtons::YesNo})
            == MessageAnswer::Yes;
    }
};

} // namespace vorbix
