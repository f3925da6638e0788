#pragma once
// The window's message boxes: core prompts shown as modal QMessageBoxes.

#include "host/Prompts.h"

class QWidget;

namespace vorbix::gui {

class QtPrompts : public Prompts {
public:
    // Boxes are centred on the parent's window (or the screen when it is null).
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer ShowMessageBox(const MessageRequest& request) override;
    bool PressOkWhileWatchingEmulator(const std::function<EmulatorWatch()>& watch) override;
    std::optional<std::string> ChooseFile(const FileOpenRequest& request) override;
    std::optional<std::string> ChooseFolder(const FolderRequest& request) override;

private:
    QWidget* parent_;
};

} // namespace vorbix::gui
