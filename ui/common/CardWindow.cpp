#include "ui/common/CardWindow.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QPushButton>

namespace carvendo::ui {

void CardWindow::save()
{
    bool saved = false;
    guarded([&] { saved = saveRecord(); });
    if (saved)
        QDialog::accept();
}

void CardWindow::reject()
{
    bool mayGo = false;
    guarded([&] { mayGo = mayLeave(); });
    if (mayGo)
        QDialog::reject();
}

void CardWindow::closeOnceUp()
{
    QMetaObject::invokeMethod(
        this, [this] { QDialog::reject(); }, Qt::QueuedConnection);
}

void CardWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    reject();
}

CardWindow::SaveAndExit CardWindow::saveAndExitButtons(const QString& exitCaption)
{
    SaveAndExit buttons;
    buttons.row = new QDialogButtonBox;
    QPushButton* saveButton = buttons.row->addButton(QStringLiteral("Salva"), QDialogButtonBox::AcceptRole);
    buttons.exit = buttons.row->addButton(exitCaption, QDialogButtonBox::RejectRole);
    saveButton->setDefault(true);
    saveButton->setAutoDefault(true);
    buttons.exit->setAutoDefault(false);
    connect(saveButton, &QPushButton::clicked, this, &CardWindow::save);
    connect(buttons.exit, &QPushButton::clicked, this, &CardWindow::reject);
    return buttons;
}

core::NavigationResult CardWindow::navigationResult() const
{
    core::NavigationResult result = Window::navigationResult();
    if (result.accepted)
        result.value = savedKey();
    return result;
}

} // namespace carvendo::ui
