#pragma once

#include "foundation/LookupEditor.h"

#include <QWidget>

class QHBoxLayout;
class QPushButton;
class QTableView;

namespace carvendo::ui {

class LookupListModel;

// The one editor of every lookup list: a grid of the described columns, edited in place (check boxes
// for yes/no columns, lists for columns with choices), "Aggiungi" opening a small form built from the
// same description, "Rimuovi" for the selected row. Every change goes through the list's logic, which
// checks it and tells the operator when it refuses.
class EditableList : public QWidget
{
    Q_OBJECT
public:
    explicit EditableList(foundation::LookupEditor& editor, QWidget* parent = nullptr);

    foundation::LookupEditor& editor() const { return m_editor; }
    QTableView* grid() const { return m_grid; }
    int currentRow() const; // -1 when nothing is selected

    void setEditable(bool editable); // in place; on by default
    void setCanAdd(bool canAdd);
    void setCanRemove(bool canRemove);
    // A further command beside "Aggiungi" and "Rimuovi" (it acts on currentRow()).
    QPushButton* addCommand(const QString& caption);

public slots:
    void openAddForm();
    void removeCurrent();

private:
    foundation::LookupEditor& m_editor;
    LookupListModel* m_model;
    QTableView* m_grid;
    QHBoxLayout* m_buttons;
    QPushButton* m_add;
    QPushButton* m_remove;
};

} // namespace carvendo::ui
