#pragma once

#include "core/Navigator.h"
#include "foundation/LookupEditor.h"
#include "stock/sizes/DisponibilitaTC.h"
#include "stock/sizes/ScaricoTC.h"
#include "stock/sizes/TCEdit.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace carvendo::ui {

class EditableList;
class RowsTableModel;
class SizeQuantityModel;
class WindowRegistry;

// The size/colour windows: "TTaglie", "TColori", "TGruppiTaglie" (lists), "TDisponibilitaTC",
// "TTCEdit", "TScaricoTC".
void registerSizeColourWindows(WindowRegistry& registry);

// A list of sizes, colours or size groups, edited in place, with new and delete.
class TSizeColourList : public Window
{
    Q_OBJECT
public:
    TSizeColourList(WindowEnvironment& environment, foundation::Lookup lookup, const QString& title,
                    QWidget* parent = nullptr);

    EditableList* list() const { return m_list; }

private:
    foundation::LookupEditor m_editor;
    EditableList* m_list = nullptr;
};

// An item's size/colour grid (request key: the item's `ID`), optionally one warehouse; a click on a
// cell shows its barcode and quantity; "Etichetta" opens the cell.
class TDisponibilitaTC : public Window
{
    Q_OBJECT
public:
    TDisponibilitaTC(WindowEnvironment& environment, const core::NavigationRequest& request,
                     QWidget* parent = nullptr);

    stock::DisponibilitaTC& logic() { return m_logic; }
    QTableView* grid() const { return m_grid; }
    QComboBox* warehouseFilter() const { return m_warehouse; }
    QLabel* cellInfo() const { return m_cell; }

private:
    void showRows();
    void showCell();

    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    stock::DisponibilitaTC m_logic;
    QComboBox* m_warehouse = nullptr;
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
    QLabel* m_cell = nullptr;
};

// One cell of the grid (request key: the `disptc` row; value "taglia": the size 1..30) with its label.
class TTCEdit : public Window
{
    Q_OBJECT
public:
    TTCEdit(WindowEnvironment& environment, const core::NavigationRequest& request,
            QWidget* parent = nullptr);

    stock::TCEdit& logic() { return m_logic; }

private:
    stock::TCEdit m_logic;
};

// "Scarico Taglie e Colori": the sizes of one item sold on a document row (request key: the item's
// `ID`; values "tipodoc", "iddoc", "scaricagiacenze", "idmagazzino"). Confirmed, it gives back
// "quantita", "prezzo" and "sconto" for the document row.
class TScaricoTC : public Window
{
    Q_OBJECT
public:
    TScaricoTC(WindowEnvironment& environment, const core::NavigationRequest& request,
               QWidget* parent = nullptr);
    // The grid of a document that records the sizes together with its own row: the logic is the
    // document's (already opened on the item) and Conferma runs confirm instead of the grid's own.
    TScaricoTC(core::Dialogs& dialogs, stock::ScaricoTC& logic, std::function<bool()> confirm,
               QWidget* parent = nullptr);

    stock::ScaricoTC& logic() { return m_logic; }
    QTableView* grid() const { return m_grid; }
    QLabel* total() const { return m_total; }
    QLineEdit* priceField() const { return m_price; }
    core::NavigationResult navigationResult() const override;

private:
    void build();
    void showState();
    void takePriceAndDiscount();

    core::Dialogs& m_dialogs;
    std::unique_ptr<stock::ScaricoTC> m_own; // when the window opened by name
    stock::ScaricoTC& m_logic;
    std::function<bool()> m_confirm;
    QTableView* m_grid = nullptr;
    SizeQuantityModel* m_model = nullptr;
    QList<QLabel*> m_lists;
    QLineEdit* m_price = nullptr;
    QLineEdit* m_discount = nullptr;
    QLabel* m_total = nullptr;
};

} // namespace carvendo::ui
