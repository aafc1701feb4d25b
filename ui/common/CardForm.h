#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

namespace carvendo::ui {

// One field of a card: the column it edits, its caption and the kind of editor.
struct CardField
{
    enum class Kind
    {
        Text,    // one line; maxLength when the column has a size
        Memo,    // several lines
        Integer, // whole number
        Check,   // yes/no, the caption beside the box
        Date,
        Choice // one of options
    };
    QString column;
    QString caption;
    Kind kind = Kind::Text;
    int maxLength = 0;
    QStringList options{};
    QStringList optionCaptions{}; // what a choice shows for each option, when not the option itself
};

// The editors of a card, laid out from a field list instead of by hand: captions on the left,
// editors on the right, in as many side-by-side columns as asked, tabbing through the fields in
// list order. It shows a map of column values and reports each edit the operator makes; it keeps
// no record of its own and knows nothing of tables.
class CardForm : public QWidget
{
    Q_OBJECT

public:
    explicit CardForm(QList<CardField> fields, int columns = 1, QWidget* parent = nullptr);

    const QList<CardField>& fields() const { return m_fields; }

    // Shows the values (by column name); columns missing from the map show empty. Emits nothing.
    void setValues(const QVariantMap& values);
    QVariant value(const QString& column) const;
    // The editor of the column, or nullptr.
    QWidget* editor(const QString& column) const { return m_editors.value(column); }
    // Focus on the first field.
    void focusFirst();

signals:
    // The operator changed a field (never sent for setValues).
    void valueEdited(const QString& column, const QVariant& value);

private:
    QWidget* makeEditor(const CardField& field);
    void edited(const QString& column);
    static QVariant editorValue(const CardField& field, const QWidget* editor);
    static void showValue(const CardField& field, QWidget* editor, const QVariant& value);

    QList<CardField> m_fields;
    QHash<QString, QWidget*> m_editors;
    bool m_showing = false;
};

} // namespace carvendo::ui
