#pragma once

#include "accounts/PaymentTermCard.h"
#include "accounts/PaymentTerms.h"
#include "core/Navigator.h"
#include "ui/common/RecordCardWindow.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTableView;
class QTableWidget;

namespace carvendo::ui {

class RowsTableModel;
class WindowRegistry;

// The payment terms: a search by description or code, "Nuovo" and "Modifica" open the card,
// "Elimina" deletes the selected term with its instalments.
class TPagamenti : public Window
{
    Q_OBJECT
public:
    TPagamenti(WindowEnvironment& environment, const core::NavigationRequest& request,
               QWidget* parent = nullptr);

    accounts::PaymentTerms& logic() { return m_logic; }
    QTableView* grid() const { return m_grid; }
    QLineEdit* searchField() const { return m_search; }

private:
    int currentId() const;
    void showRows();
    template <typename Command> void run(Command&& command);

    core::Dialogs& m_dialogs;
    accounts::PaymentTerms m_logic;
    QLineEdit* m_search = nullptr;
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
};

// The payment-term card: description, code, method, number and kind of instalments, the starting
// date and the instalment rows. Opened on a term (request key `id`) or new.
class TPagamento : public RecordCardWindow<accounts::PaymentTermCard>
{
    Q_OBJECT
public:
    TPagamento(WindowEnvironment& environment, const core::NavigationRequest& request,
               QWidget* parent = nullptr);

    QLineEdit* descrizione() const { return m_descrizione; }
    QSpinBox* numeroRate() const { return m_nrRate; }
    QTableWidget* instalments() const { return m_instalments; }

protected:
    void showRecord() override;

private:
    void instalmentEdited(int row);

    QLineEdit* m_descrizione = nullptr;
    QLineEdit* m_codice = nullptr;
    QComboBox* m_modalita = nullptr;
    QSpinBox* m_nrRate = nullptr;
    QButtonGroup* m_tipoRate = nullptr;
    QButtonGroup* m_decorrenza = nullptr;
    QTableWidget* m_instalments = nullptr;
};

void registerAccountsWindows(WindowRegistry& registry);

} // namespace carvendo::ui
