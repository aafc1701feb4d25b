#include "ui/common/EditableList.h"

#include "ui/common/CardForm.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace carvendo::ui {

using foundation::LookupColumn;
using foundation::LookupKind;

// The rows of a list as a grid: the key stays hidden, every described column shows with its caption.
class LookupListModel : public QAbstractTableModel
{
public:
    explicit LookupListModel(foundation::LookupEditor& editor, QObject* parent)
        : QAbstractTableModel(parent), m_editor(editor)
    {
        m_rows = editor.rows();
    }

    void setEditable(bool editable) { m_editable = editable; }

    // Shows what the list holds now. A change made from inside setData() is shown once the grid has
    // closed its cell editor.
    void refresh()
    {
        if (m_committing) {
            QTimer::singleShot(0, this, [this] { refresh(); });
            return;
        }
        beginResetModel();
        m_rows = m_editor.rows();
        endResetModel();
    }

    const LookupColumn& column(int index) const { return m_editor.table().columns.at(index); }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows.size();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_editor.table().columns.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size())
            return {};
        const LookupColumn& described = column(index.column());
        const core::Field value = m_rows.value(index.row(), described.name);
        if (described.kind == LookupKind::Flag) {
            if (role == Qt::CheckStateRole)
                return value.toBool() ? Qt::Checked : Qt::Unchecked;
            return {};
        }
        if (role == Qt::DisplayRole) {
            if (value.isNull())
                return {};
            if (described.secret)
                return QString(value.toString().size(), QChar(0x2022));
            return value.toString();
        }
        if (role == Qt::EditRole)
            return value.isNull() ? QString() : value.toString();
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < columnCount())
            return column(section).caption;
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags flags = QAbstractTableModel::flags(index);
        if (!m_editable || !index.isValid())
            return flags;
        if (!column(index.column()).inPlace)
            return flags;
        if (column(index.column()).kind == LookupKind::Flag)
            return flags | Qt::ItemIsUserCheckable;
        return flags | Qt::ItemIsEditable;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!index.isValid())
            return false;
        const LookupColumn& described = column(index.column());
        QVariant newValue = value;
        if (described.kind == LookupKind::Flag) {
            if (role != Qt::CheckStateRole)
                return false;
            newValue = value.toInt() == Qt::Checked;
        } else if (role != Qt::EditRole || data(index, Qt::EditRole).toString() == value.toString()) {
            return false;
        }
        m_committing = true;
        const bool done = m_editor.setValue(index.row(), described.name, newValue);
        m_committing = false;
        return done;
    }

private:
    foundation::LookupEditor& m_editor;
    core::Rows m_rows;
    bool m_editable = true;
    bool m_committing = false;
};

namespace {

// Columns with choices are edited with a list of them.
class ChoiceDelegate : public QStyledItemDelegate
{
public:
    ChoiceDelegate(foundation::LookupEditor& editor, LookupListModel& model, QObject* parent)
        : QStyledItemDelegate(parent), m_editor(editor), m_model(model)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        const LookupColumn& column = m_model.column(index.column());
        if (column.choices.isEmpty() && !column.choicesFrom) {
            QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
            if (auto* line = qobject_cast<QLineEdit*>(editor); line && column.maxLength > 0)
                line->setMaxLength(column.maxLength);
            return editor;
        }
        auto* combo = new QComboBox(parent);
        if (!column.required)
            combo->addItem(QString(), QString());
        const QStringList choices = m_editor.choices(column.name);
        for (int i = 0; i < choices.size(); ++i)
            combo->addItem(column.choiceCaptions.value(i, choices.at(i)), choices.at(i));
        return combo;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentIndex(combo->findData(index.data(Qt::EditRole).toString()));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, combo->currentData().toString(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    foundation::LookupEditor& m_editor;
    LookupListModel& m_model;
};

const QAbstractItemView::EditTriggers InPlaceTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

CardField formField(foundation::LookupEditor& editor, const LookupColumn& column)
{
    CardField field{column.name, column.caption};
    field.maxLength = column.maxLength;
    if (column.kind == LookupKind::Flag) {
        field.kind = CardField::Kind::Check;
    } else if (!column.choices.isEmpty() || column.choicesFrom) {
        field.kind = CardField::Kind::Choice;
        if (!column.required)
            field.options << QString();
        const QStringList captions = field.options + column.choiceCaptions;
        field.options << editor.choices(column.name);
        if (!column.choiceCaptions.isEmpty())
            field.optionCaptions = captions;
    }
    // Numbers are typed as text: the list's logic tells what is wrong with them.
    return field;
}

// "Aggiungi": the described fields of a new row; it stays open until the row is accepted.
class AddForm : public QDialog
{
public:
    AddForm(foundation::LookupEditor& editor, QWidget* parent) : QDialog(parent), m_editor(editor)
    {
        setWindowTitle(QStringLiteral("Aggiungi"));
        setObjectName(QStringLiteral("aggiungiForm"));
        QList<CardField> fields;
        for (const LookupColumn& column : editor.table().columns)
            fields << formField(editor, column);
        m_form = new CardForm(fields, fields.size() > 8 ? 2 : 1);
        for (const LookupColumn& column : editor.table().columns)
            if (auto* line = qobject_cast<QLineEdit*>(m_form->editor(column.name)); line && column.secret)
                line->setEchoMode(QLineEdit::Password);

        auto* buttons = new QDialogButtonBox;
        QPushButton* save = buttons->addButton(QStringLiteral("Salva"), QDialogButtonBox::AcceptRole);
        save->setObjectName(QStringLiteral("salva"));
        save->setDefault(true);
        buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
        connect(buttons, &QDialogButtonBox::accepted, this, &AddForm::save);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_form);
        layout->addWidget(buttons);
        m_form->focusFirst();
    }

    CardForm* form() const { return m_form; }
    qint64 addedKey() const { return m_added; }

private:
    void save()
    {
        QVariantMap values;
        for (const CardField& field : m_form->fields())
            values.insert(field.column, m_form->value(field.column));
        if (const auto key = m_editor.add(values)) {
            m_added = *key;
            accept();
        }
    }

    foundation::LookupEditor& m_editor;
    CardForm* m_form;
    qint64 m_added = 0;
};

} // namespace

EditableList::EditableList(foundation::LookupEditor& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_model(new LookupListModel(editor, this))
{
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("griglia"));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new ChoiceDelegate(editor, *m_model, m_grid));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(InPlaceTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setTabKeyNavigation(false); // Tab leaves the grid for the buttons

    m_add = new QPushButton(QStringLiteral("Aggiungi"));
    m_add->setObjectName(QStringLiteral("aggiungi"));
    m_remove = new QPushButton(QStringLiteral("Rimuovi"));
    m_remove->setObjectName(QStringLiteral("rimuovi"));
    for (QPushButton* button : {m_add, m_remove})
        button->setAutoDefault(false); // Enter belongs to the grid's cell editor
    m_buttons = new QHBoxLayout;
    m_buttons->addWidget(m_add);
    m_buttons->addWidget(m_remove);
    m_buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    layout->addLayout(m_buttons);

    connect(m_add, &QPushButton::clicked, this, &EditableList::openAddForm);
    connect(m_remove, &QPushButton::clicked, this, &EditableList::removeCurrent);
    connect(&m_editor, &foundation::LookupEditor::rowsChanged, m_model, [this] { m_model->refresh(); });
    m_grid->resizeColumnsToContents();
}

int EditableList::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void EditableList::setEditable(bool editable)
{
    m_model->setEditable(editable);
    m_grid->setEditTriggers(editable ? InPlaceTriggers : QAbstractItemView::NoEditTriggers);
}

void EditableList::setCanAdd(bool canAdd)
{
    m_add->setVisible(canAdd);
}

void EditableList::setCanRemove(bool canRemove)
{
    m_remove->setVisible(canRemove);
}

QPushButton* EditableList::addCommand(const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setAutoDefault(false);
    m_buttons->insertWidget(m_buttons->count() - 1, button);
    return button;
}

void EditableList::openAddForm()
{
    AddForm form(m_editor, this);
    if (form.exec() != QDialog::Accepted)
        return;
    const int row = m_editor.rowOfKey(form.addedKey());
    if (row >= 0)
        m_grid->setCurrentIndex(m_model->index(row, 0));
}

void EditableList::removeCurrent()
{
    m_editor.remove(currentRow());
}

} // namespace carvendo::ui
