#include "ui/common/PickerCommands.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace carvendo::ui {

PickerCommands PickerCommands::create(QWidget* parent)
{
    PickerCommands commands;
    commands.newButton = new QPushButton(QStringLiteral("Nuovo"), parent);
    commands.deleteButton = new QPushButton(QStringLiteral("Elimina"), parent);
    commands.confirmButton = new QPushButton(QStringLiteral("Conferma"), parent);
    commands.cancelButton = new QPushButton(QStringLiteral("Annulla"), parent);
    commands.layout = new QHBoxLayout;
    for (QPushButton* button :
         {commands.newButton, commands.deleteButton, commands.confirmButton, commands.cancelButton}) {
        button->setAutoDefault(false);
        if (button == commands.confirmButton)
            commands.layout->addStretch();
        commands.layout->addWidget(button);
    }
    return commands;
}

} // namespace carvendo::ui
