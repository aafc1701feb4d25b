#include "ui/pos/TillWidgets.h"

#include "pos/PosClassic.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/PageWidgets.h"

#include <QLineEdit>
#include <QPushButton>

namespace carvendo::ui {

QFont scaledFont(QFont font, double factor, bool bold)
{
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

QPushButton* tillButton(const QString& caption, const QString& objectName, core::Dialogs& dialogs,
                        std::function<void()> command)
{
    QPushButton* button = pageButton(caption, objectName);
    button->setFocusPolicy(Qt::NoFocus);
    onClickGuarded(button, dialogs, std::move(command));
    return button;
}

QPushButton* notYetButton(const QString& caption, const QString& objectName)
{
    QPushButton* button = pageButton(caption, objectName);
    button->setEnabled(false);
    button->setToolTip(pos::PosClassic::notAvailableMessage());
    return button;
}

QLineEdit* namedField(const QString& objectName)
{
    auto* field = new QLineEdit;
    field->setObjectName(objectName);
    return field;
}

core::Money typedMoney(const QLineEdit* field)
{
    return core::Money::parse(field->text().trimmed()).value_or(core::Money());
}

} // namespace carvendo::ui
