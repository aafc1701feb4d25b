#pragma once

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace carvendo::ui {

// The command row every picker window shows: "Nuovo" and "Elimina" on the left, "Conferma" and
// "Annulla" on the right. None is a default button, so Enter in a search field runs the search.
struct PickerCommands
{
    QPushButton* newButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* confirmButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QHBoxLayout* layout = nullptr;

    static PickerCommands create(QWidget* parent);
};

} // namespace carvendo::ui
