#pragma once

#include "core/Navigator.h"
#include "stock/AnalisiMagazzino.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QTableView;
class QTabWidget;

namespace carvendo::ui {

class RowsTableModel;

// The sell-out: per item, per item, colour and size, and the items never sold, each on its own
// page. The figures are computed behind a progress bar when the window opens and on "Aggiorna".
class TAnalisiMagazzino : public Window
{
    Q_OBJECT
public:
    TAnalisiMagazzino(WindowEnvironment& environment, const core::NavigationRequest& request,
                      QWidget* parent = nullptr);

    stock::AnalisiMagazzino& logic() { return m_logic; }
    QTabWidget* pages() const { return m_pages; }
    RowsTableModel* sellOutModel() const { return m_sellOut; }
    RowsTableModel* sizeAndColourModel() const { return m_bySizeAndColour; }
    RowsTableModel* unsoldModel() const { return m_unsold; }

public slots:
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showRows();

    stock::AnalisiMagazzino m_logic;
    bool m_computed = false;
    QTabWidget* m_pages = nullptr;
    RowsTableModel* m_sellOut = nullptr;
    RowsTableModel* m_bySizeAndColour = nullptr;
    RowsTableModel* m_unsold = nullptr;
};

} // namespace carvendo::ui
