#pragma once

#include "core/Navigator.h"
#include "registry/RegistryList.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QTableView;

namespace carvendo::ui {

class RowsTableModel;

// The search line and grid shared by the registry lists and pickers: the typed text runs a search
// (Enter or "Cerca"), "Tutti" shows everyone, the grid loads further pages as it scrolls to its end,
// and a double click or Enter on a row activates it.
class RegistrySearchPanel : public QWidget
{
    Q_OBJECT

public:
    // withModes: offer the search by codice fiscale and partita IVA beside the name.
    RegistrySearchPanel(registry::RegistrySearch& search, core::Dialogs& dialogs,
                        const registry::RegistryKind& kind, bool withModes, QWidget* parent = nullptr);

    QVariant currentKey() const;
    QTableView* grid() const { return m_grid; }
    QLineEdit* searchLine() const { return m_text; }
    void showRows(); // renders the search's rows, keeping the current row where possible

public slots:
    void runSearch();
    void showAll();

signals:
    void activated(const QVariant& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadMoreIfAtEnd();

    registry::RegistrySearch& m_search;
    core::Dialogs& m_dialogs;
    const registry::RegistryKind& m_kind;
    QComboBox* m_mode = nullptr;
    QLineEdit* m_text = nullptr;
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
};

// The list window of a registry (TClienti, TFornitori): search, "Nuovo", "Apri", "Elimina", the
// exports and the grid layout kept between sessions.
class RegistryListWindow : public Window
{
    Q_OBJECT

public:
    RegistryListWindow(const registry::RegistryKind& kind, const QString& title,
                       WindowEnvironment& environment, QWidget* parent = nullptr);

    registry::RegistryList& logic() { return m_logic; }
    RegistrySearchPanel* panel() const { return m_panel; }

protected:
    void done(int result) override;

private:
    void exportAs(gridexport::ExportFormat format);
    void openCurrent();
    void deleteCurrent();
    void newRecord();

    core::Dialogs& m_dialogs;
    registry::RegistryList m_logic;
    RegistrySearchPanel* m_panel = nullptr;
};

} // namespace carvendo::ui
