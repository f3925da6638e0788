#pragma once
// The toolbar and menu icons, drawn in code. Each icon carries a greyed variant for its
// disabled state.

#include <QIcon>

namespace vorbix::gui {

enum class CommandIcon {
    RunProgram,
    RunEmulator,
    NewProgram,
    EditProgram,
    DeleteProgram,
    Categories,
    Emulators,
    Filters,
    Options
};

QIcon MakeCommandIcon(CommandIcon which);

} // namespace vorbix::gui
