#include "support/gui/DialogTest.h"

#include <QWidget>

namespace vorbix::test {

StartResult WorkingDirShell::OpenIn(const std::string& file, const std::string& workingDir,
    const std::vector<std::string>& arguments)
{
    workingDirs.push_back(workingDir);
    return RecordingShell::OpenIn(file, workingDir, arguments);
}

std::vector<std::string> TabOrder(QWidget* window)
{
    std::vector<std::string> names;
    for (QWidget* widget = window->nextInFocusChain(); widget != window; widget = widget->nextInFocusChain()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty())
            names.push_back(widget->objectName().toStdString());
    }
    return names;
}

} // namespace vorbix::test
