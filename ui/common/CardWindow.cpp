#include "CardWindow.h"

#include <QCloseEvent>

namespace carvendo::ui {

void CardWindow::save()
{
    if (saveRecord())
        QDialog::accept();
}

void CardWindow::reject()
{
    if (mayLeave())
        QDialog::reject();
}

void CardWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    reject();
}

core::NavigationResult CardWindow::navigationResult() const
{
    core::NavigationResult result = Window::navigationResult();
    if (result.accepted)
        result.value = savedKey();
    return result;
}

} // namespace carvendo::ui
