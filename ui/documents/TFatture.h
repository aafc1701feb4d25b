#pragma once

#include "core/Navigator.h"
#include "documents/Fatture.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QSpinBox;
class QTableView;

namespace carvendo::ui {

class ListPanel;
class WindowRegistry;

// The list of immediate invoices.
void registerInvoiceListWindows(WindowRegistry& registry);

// "Fatture": searches by number, customer, year, dates and series over the immediate invoices, newest
// first a page at a time ("Altre"), and the commands on the selected one: new, modify (also a
// double-click or Enter), delete and the three printed variants; the electronic invoice of the
// selected ones (several may be selected) and its sending by PEC.
class TFatture : public Window
{
    Q_OBJECT
public:
    TFatture(WindowEnvironment& environment, const core::NavigationRequest& request,
             QWidget* parent = nullptr);
    ~TFatture() override;

    documents::Fatture& logic() { return m_logic; }
    QTableView* grid() const;

private:
    void search();
    // Oldest first: their files take their numbers in that order.
    QList<int> selectedInvoices() const;

    WindowEnvironment& m_environment;
    core::Dialogs& m_dialogs;
    const core::Paths& m_paths;
    documents::Fatture m_logic;
    QLineEdit* m_number = nullptr;
    QLineEdit* m_customer = nullptr;
    QCheckBox* m_useYear = nullptr;
    QSpinBox* m_year = nullptr;
    QCheckBox* m_useDates = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QComboBox* m_series = nullptr;
    ListPanel* m_list = nullptr;
};

} // namespace carvendo::ui
