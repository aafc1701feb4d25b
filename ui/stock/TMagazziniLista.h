#pragma once

#include "core/Navigator.h"
#include "stock/MagazziniLista.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QTableView;

namespace carvendo::ui {

class RowsTableModel;

// The warehouses: "Nuovo" and "Modifica" open the warehouse card, "Elimina" deletes the selected
// one after the question, "Aggiorna" rereads the list.
class TMagazziniLista : public Window
{
    Q_OBJECT
public:
    TMagazziniLista(WindowEnvironment& environment, const core::NavigationRequest& request,
                    QWidget* parent = nullptr);

    stock::MagazziniLista& logic() { return m_logic; }
    QTableView* grid() const { return m_grid; }

public slots:
    void newWarehouse();
    void modifyCurrent();
    void deleteCurrent();
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int currentId() const;
    void showRows();

    core::Dialogs& m_dialogs;
    stock::MagazziniLista m_logic;
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
};

} // namespace carvendo::ui
