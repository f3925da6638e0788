#pragma once
// How core operations talk to the user: the window implements this with message boxes
// and file choosers, the command-line tool on the terminal, tests with scripted fakes.

#include <functional>
#include <optional>
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
    // No is the default button, so that Enter keeps what Yes would discard or delete.
    bool DefaultNo = false;
};

// What the "Press OK after running emulator" box learns when it asks about the emulator
// it waits for: still running (Ended false); ended, so that the box closes by itself; or
// ended in a way that leaves the box open, with a line that says why (KeepOpenReason).
struct EmulatorWatch {
    bool Ended = false;
    std::string KeepOpenReason;
};

// The file-open chooser. Filter is written as the system writes it: description and
// masks in pairs, all separated by "|", masks separated by ";"
// ("Executables|*.exe;*.pif;*.bat;*.com", "Disk/rom images|*.SSD; *.DSD; ...").
struct FileOpenRequest {
    std::string Filter;
    std::string InitialDir; // where the chooser starts; empty for the platform's choice
    std::string FileName; // the file preset in it; empty for none
    bool MustExist = true; // only an existing file (in an existing folder) may be chosen
    // The first filter lists only the files that can be executed, whatever their names: a
    // program on Linux has no extension to find it by.
    bool ExecutablesFirst = false;

    bool operator==(const FileOpenRequest&) const = default;
};

// The folder chooser.
struct FolderRequest {
    std::string InitialDir; // empty for the user's home folder

    bool operator==(const FolderRequest&) const = default;
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // Shows a modal box and returns the button that closed it.
    virtual MessageAnswer ShowMessageBox(const MessageRequest& request) = 0;

    // The file-open and folder choosers: the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFile(const FileOpenRequest& request) = 0;
    virtual std::optional<std::string> ChooseFolder(const FolderRequest& request) = 0;

    // The main window's error box: caption "Error", stop icon, OK, brought to the foreground.
    // The window also records the time it closed (the Enter-key rule of the program list).
    virtual void ShowErrorBox(const std::string& text)
    {
        ShowMessageBox({"Error", text, MessageIcon::Stop, MessageButtons::Ok, true});
    }

    // The box that holds a launch until the user says the emulator has finished
    // ("Press OK after running emulator"); the command-line tool waits on the terminal.
    // True when the user confirmed; false when nobody can answer (the terminal's input has
    // ended), so that the launch must find out for itself when the emulator is done.
    virtual bool PressOkAfterRunningEmulator()
    {
        ShowMessage("Press OK after running emulator");
        return true;
    }

    // The same box while the launch watches the emulator: the box asks watch from time to
    // time and closes by itself once the emulator has ended; the user may still press OK
    // first. Prompts that cannot ask (the terminal) show the plain box.
    virtual bool PressOkWhileWatchingEmulator(const std::function<EmulatorWatch()>& /*watch*/)
    {
        return PressOkAfterRunningEmulator();
    }

    // A plain box with the application's title, no icon and an OK button.
    void ShowMessage(const std::string& text) { ShowMessageBox({"", text}); }

    // An error message with the stop icon and an OK button ("Cannot find file " + path).
    void ShowError(const std::string& text) { ShowMessageBox({"", text, MessageIcon::Stop, MessageButtons::Ok}); }

    // A confirmation box with the question icon and Yes/No; true only for Yes.
    bool Confirm(const std::string& text, const std::string& caption = "Confirm")
    {
        return ShowMessageBox({caption, text, MessageIcon::Question, MessageButtons::YesNo}) == MessageAnswer::Yes;
    }
    // The same for a question whose Yes discards or overwrites something: No is the default.
    bool ConfirmDestructive(const std::string& text, const std::string& caption = "Confirm")
    {
        return ShowMessageBox({caption, text, MessageIcon::Question, MessageButtons::YesNo, false, true})
            == MessageAnswer::Yes;
    }
};

} // namespace vorbix
