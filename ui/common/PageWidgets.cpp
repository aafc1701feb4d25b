#include "PageWidgets.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace carvendo::ui {

QPushButton* pageButton(const QString& caption, const QString& objectName)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

QWidget* stackedColumn(std::initializer_list<QWidget*> widgets)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    return page;
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

} // namespace carvendo::ui
