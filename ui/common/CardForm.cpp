#include "ui/common/CardForm.h"

#include "ui/common/PageWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

#include <limits>

namespace carvendo::ui {

using Kind = CardField::Kind;

namespace {
const QDate NoDate(1900, 1, 1);
}

CardForm::CardForm(QList<CardField> fields, int columns, QWidget* parent)
    : QWidget(parent), m_fields(std::move(fields))
{
    columns = std::max(1, columns);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    QList<QFormLayout*> forms;
    for (int i = 0; i < columns; ++i) {
        forms << new QFormLayout;
        forms.last()->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        row->addLayout(forms.last());
    }

    const qsizetype perColumn = (m_fields.size() + columns - 1) / columns;
    QWidget* previous = nullptr;
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        const CardField& field = m_fields[i];
        QWidget* editor = makeEditor(field);
        editor->setObjectName(field.column);
        m_editors.insert(field.column, editor);
        QFormLayout* form = forms[int(perColumn > 0 ? i / perColumn : 0)];
        if (field.kind == Kind::Check)
            form->addRow(QString(), editor); // the check box carries its own caption
        else
            form->addRow(field.caption, editor);
        if (previous)
            setTabOrder(previous, editor);
        previous = editor;
    }
}

QWidget* CardForm::makeEditor(const CardField& field)
{
    const QString column = field.column;
    switch (field.kind) {
    case Kind::Text: {
        auto* edit = new QLineEdit;
        if (field.maxLength > 0)
            edit->setMaxLength(field.maxLength);
        connect(edit, &QLineEdit::textEdited, this, [this, column] { edited(column); });
        return edit;
    }
    case Kind::Memo: {
        auto* edit = new QPlainTextEdit;
        edit->setTabChangesFocus(true);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, column] { edited(column); });
        return edit;
    }
    case Kind::Integer: {
        auto* spin = new QSpinBox;
        spin->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        connect(spin, &QSpinBox::valueChanged, this, [this, column] { edited(column); });
        return spin;
    }
    case Kind::Check: {
        auto* check = new QCheckBox(field.caption);
        connect(check, &QCheckBox::toggled, this, [this, column] { edited(column); });
        return check;
    }
    case Kind::Date: {
        auto* date = dateField(NoDate, nullptr);
        // The lowest date stands for "no date" and shows blank.
        date->setMinimumDate(NoDate);
        date->setSpecialValueText(QStringLiteral(" "));
        connect(date, &QDateEdit::dateChanged, this, [this, column] { edited(column); });
        return date;
    }
    case Kind::Choice: {
        auto* combo = new QComboBox;
        for (int i = 0; i < field.options.size(); ++i)
            combo->addItem(field.optionCaptions.value(i, field.options.at(i)), field.options.at(i));
        connect(combo, &QComboBox::currentIndexChanged, this, [this, column] { edited(column); });
        return combo;
    }
    }
    return new QWidget;
}

void CardForm::edited(const QString& column)
{
    if (m_showing)
        return;
    emit valueEdited(column, value(column));
}

QVariant CardForm::editorValue(const CardField& field, const QWidget* editor)
{
    switch (field.kind) {
    case Kind::Text:
        return static_cast<const QLineEdit*>(editor)->text();
    case Kind::Memo:
        return static_cast<const QPlainTextEdit*>(editor)->toPlainText();
    case Kind::Integer:
        return static_cast<const QSpinBox*>(editor)->value();
    case Kind::Check:
        return static_cast<const QCheckBox*>(editor)->isChecked();
    case Kind::Date: {
        const QDate date = static_cast<const QDateEdit*>(editor)->date();
        return date == NoDate ? QVariant(QDate()) : QVariant(date);
    }
    case Kind::Choice:
        return static_cast<const QComboBox*>(editor)->currentData().toString();
    }
    return {};
}

void CardForm::showValue(const CardField& field, QWidget* editor, const QVariant& value)
{
    // Only what differs is set again, so a field being typed in keeps its cursor.
    switch (field.kind) {
    case Kind::Text:
        if (auto* edit = static_cast<QLineEdit*>(editor); edit->text() != value.toString())
            edit->setText(value.toString());
        break;
    case Kind::Memo:
        if (auto* edit = static_cast<QPlainTextEdit*>(editor); edit->toPlainText() != value.toString())
            edit->setPlainText(value.toString());
        break;
    case Kind::Integer:
        static_cast<QSpinBox*>(editor)->setValue(value.toInt());
        break;
    case Kind::Check:
        static_cast<QCheckBox*>(editor)->setChecked(value.toBool());
        break;
    case Kind::Date:
        static_cast<QDateEdit*>(editor)->setDate(value.toDate().isValid() ? value.toDate() : NoDate);
        break;
    case Kind::Choice:
        static_cast<QComboBox*>(editor)->setCurrentIndex(int(field.options.indexOf(value.toString())));
        break;
    }
}

void CardForm::setValues(const QVariantMap& values)
{
    m_showing = true;
    for (const CardField& field : m_fields)
        showValue(field, m_editors.value(field.column), values.value(field.column));
    m_showing = false;
}

QVariant CardForm::value(const QString& column) const
{
    for (const CardField& field : m_fields) {
        if (field.column == column)
            return editorValue(field, m_editors.value(column));
    }
    return {};
}

void CardForm::focusFirst()
{
    if (!m_fields.isEmpty())
        m_editors.value(m_fields.first().column)->setFocus();
}

} // namespace carvendo::ui
