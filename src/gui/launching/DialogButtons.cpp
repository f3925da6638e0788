#include "launching/DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace vorbix::gui {

DialogButtons CreateDialogButtons(QDialog* dialog)
{
    DialogButtons buttons{new QPushButton(QStringLiteral("OK"), dialog),
        new QPushButton(QStringLiteral("Cancel"), dialog), new QPushButton(QStringLiteral("&Help"), dialog),
        new QHBoxLayout};
    buttons.Ok->setObjectName("OkButton");
    buttons.Ok->setDefault(true);
    buttons.Cancel->setObjectName("CancelButton");
    buttons.Help->setObjectName("HelpButton");
    buttons.Row->addStretch();
    for (QPushButton* button : {buttons.Ok, buttons.Cancel, buttons.Help})
        buttons.Row->addWidget(button);
    return buttons;
}

} // namespace vorbix::gui
