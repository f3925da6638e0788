#include "support/gui/DialogTest.h"

#include <QWidget>

namespace vorbix::test {

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
