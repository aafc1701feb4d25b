#include "ui/common/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace carvendo::ui {

namespace {

QString titleOr(const QString& title, const QString& fallback)
{
    return title.isEmpty() ? fallback : title;
}

} // namespace

QWidget* QtDialogs::parentWidget() const
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_parent;
}

void QtDialogs::showMessage(core::MessageKind kind, const QString& text, const QString& title)
{
    switch (kind) {
    case core::MessageKind::Information:
        QMessageBox::information(parentWidget(), titleOr(title, QStringLiteral("Informazione")), text);
        break;
    case core::MessageKind::Warning:
        QMessageBox::warning(parentWidget(), titleOr(title, QStringLiteral("Attenzione")), text);
        break;
    case core::MessageKind::Error:
        QMessageBox::critical(parentWidget(), titleOr(title, QStringLiteral("Errore")), text);
        break;
    }
}

bool QtDialogs::confirm(const QString& text, core::ConfirmButtons buttons, const QString& title)
{
    QMessageBox box(QMessageBox::Question, titleOr(title, QStringLiteral("Conferma")), text,
                    QMessageBox::NoButton, parentWidget());
    const bool yesNo = buttons == core::ConfirmButtons::YesNo;
    QPushButton* accept =
        box.addButton(yesNo ? QStringLiteral("Sì") : QStringLiteral("OK"), QMessageBox::YesRole);
    QPushButton* refuse =
        box.addButton(yesNo ? QStringLiteral("No") : QStringLiteral("Annulla"), QMessageBox::NoRole);
    box.setDefaultButton(accept);
    box.setEscapeButton(refuse);
    box.exec();
    return box.clickedButton() == accept;
}

std::optional<QString> QtDialogs::askText(const QString& title, const QString& prompt,
                                          const QString& defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parentWidget(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<int> QtDialogs::chooseOption(const QString& title, const QString& prompt,
                                           const QStringList& options)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parentWidget(), title, prompt, options, 0, false, &ok);
    if (!ok)
        return std::nullopt;
    return int(options.indexOf(chosen));
}

std::optional<QString> QtDialogs::chooseFile(const QString& title, const QString& filter, core::FileMode mode,
                                             const QString& suggested)
{
    const QString path = mode == core::FileMode::Open
                             ? QFileDialog::getOpenFileName(parentWidget(), title, suggested, filter)
                             : QFileDialog::getSaveFileName(parentWidget(), title, suggested, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace carvendo::ui
