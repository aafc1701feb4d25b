#pragma once

#include "core/Navigator.h"
#include "stock/serials/Lotti.h"
#include "stock/serials/SerialeScarico.h"
#include "stock/serials/Seriali.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

#include <QList>

class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace carvendo::ui {

class RowsTableModel;
class WindowRegistry;

// The serial windows: "TSeriali", "TSerialeScarico", "TLotti".
void registerSerialWindows(WindowRegistry& registry);

// The serial finder: where a serial is, its history, "Rientro" of a sold one, the check of serials
// against stock.
class TSeriali : public Window
{
    Q_OBJECT
public:
    TSeriali(WindowEnvironment& environment, const core::NavigationRequest& request,
             QWidget* parent = nullptr);

    stock::Seriali& logic() { return m_logic; }
    QLineEdit* serialField() const { return m_serial; }
    QLabel* headline() const { return m_headline; }
    QTableView* timelineGrid() const { return m_timeline; }
    QTableView* checkGrid() const { return m_check; }

private:
    void showState();

    core::Dialogs& m_dialogs;
    stock::Seriali m_logic;
    QLineEdit* m_serial = nullptr;
    QLabel* m_headline = nullptr;
    QLabel* m_detail = nullptr;
    QWidget* m_factsBox = nullptr;
    QFormLayout* m_facts = nullptr;
    QPushButton* m_openItem = nullptr;
    QPushButton* m_openLoad = nullptr;
    QPushButton* m_openDocument = nullptr;
    QPushButton* m_bringBack = nullptr;
    RowsTableModel* m_timelineModel = nullptr;
    QTableView* m_timeline = nullptr;
    RowsTableModel* m_checkModel = nullptr;
    QTableView* m_check = nullptr;
};

// Up to ten serials of the item of a document row (request key: the item's ID; values: "documento",
// "idDocumento", "numero", "idCliente", "cliente", "articolo" the item's caption). Confirmed, it gives back
// the serials sold ("seriali").
class TSerialeScarico : public Window
{
    Q_OBJECT
public:
    TSerialeScarico(WindowEnvironment& environment, const core::NavigationRequest& request,
                    QWidget* parent = nullptr);

    stock::SerialeScarico& logic() { return m_logic; }
    QLineEdit* field(int index) const { return m_fields.at(index); }
    core::NavigationResult navigationResult() const override;

private:
    void confirm();

    core::Dialogs& m_dialogs;
    stock::SerialeScarico m_logic;
    QList<QLineEdit*> m_fields;
};

// The lots of a lot barcode and the serials of the lot under the cursor.
class TLotti : public Window
{
    Q_OBJECT
public:
    TLotti(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent = nullptr);

    stock::Lotti& logic() { return m_logic; }
    QLineEdit* barcodeField() const { return m_barcode; }
    QTableView* lotsGrid() const { return m_lots; }
    QTableView* serialsGrid() const { return m_serials; }

private:
    core::Dialogs& m_dialogs;
    stock::Lotti m_logic;
    QLineEdit* m_barcode = nullptr;
    RowsTableModel* m_lotsModel = nullptr;
    QTableView* m_lots = nullptr;
    RowsTableModel* m_serialsModel = nullptr;
    QTableView* m_serials = nullptr;
};

} // namespace carvendo::ui
