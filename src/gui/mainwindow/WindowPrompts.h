#pragma once
// The prompts the main window hands to core operations: every box and chooser goes to the
// prompts the window was given, and the window learns when each closed (the program list's
// Enter key waits 300 ms after any dialog of the main window).

#include "host/Prompts.h"

#include <functional>

namespace vorbix::gui {

class WindowPrompts : public Prompts {
public:
    WindowPrompts(Prompts& target, std::function<void()> dialogClosed)
        : target_(target), dialogClosed_(std::move(dialogClosed))
    {}

    MessageAnswer ShowMessageBox(const MessageRequest& request) override
    {
        return Closing(target_.ShowMessageBox(request));
    }

    std::optional<std::string> ChooseFile(const FileOpenRequest& request) override
    {
        return Closing(target_.ChooseFile(request));
    }

    std::optional<std::string> ChooseFolder(const FolderRequest& request) override
    {
        return Closing(target_.ChooseFolder(request));
    }

    void ShowErrorBox(const std::string& text) override
    {
        target_.ShowErrorBox(text);
        dialogClosed_();
    }

    // The plain box goes through ShowMessageBox; the watched one is the target's own box.
    bool PressOkWhileWatchingEmulator(const std::function<EmulatorWatch()>& watch) override
    {
        return Closing(target_.PressOkWhileWatchingEmulator(watch));
    }

private:
    template <typename Answer>
    Answer Closing(Answer answer)
    {
        dialogClosed_();
        return answer;
    }

    Prompts& target_;
    std::function<void()> dialogClosed_;
};

} // namespace vorbix::gui
