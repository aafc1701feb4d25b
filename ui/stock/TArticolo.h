#pragma once

#include "core/Navigator.h"
#include "stock/Articolo.h"
#include "ui/common/CardWindow.h"
#include "ui/common/WindowEnvironment.h"

#include <QHash>

#include <QList>
#include <QMap>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QToolButton;

namespace carvendo::ui {

class CardForm;
class RowsTableModel;

// The item card: "TArticolo", "TAnagraficaArticolo" and, with the book fields,
// "TAnagraficaArticoloLibr". Opened on an item (request key `ID`); the value "nuovo" marks an item
// just made, which "Annulla" removes. Closes after a successful "Salva", telling the item's id.
class TArticolo : public CardWindow
{
    Q_OBJECT
public:
    TArticolo(WindowEnvironment& environment, const core::NavigationRequest& request,
              stock::Articolo::Variant variant = stock::Articolo::Variant::Standard,
              QWidget* parent = nullptr);

    stock::Articolo& logic() { return m_logic; }
    QLineEdit* field(const QString& column) const; // a line edit of the card, or nullptr
    QComboBox* choice(const QString& column) const;
    QPushButton& exitButton() { return *m_exit; }
    QTabWidget& tabs() { return *m_tabs; }

protected:
    bool saveRecord() override;
    bool mayLeave() override;
    QVariant savedKey() const override { return m_logic.id(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildMainPage();
    QWidget* buildPricePage();
    QWidget* buildSupplierPage();
    QWidget* buildSerialPage();
    QWidget* buildImagePage();
    QWidget* buildHistoryPage();

    QLineEdit* addLineEdit(const QString& column, bool price);
    QComboBox* addChoice(const QString& column);
    void fillChoices();
    void fillClassification(stock::Classification kind);
    void addClassificationValue(stock::Classification kind);
    void fieldLeft(const QString& column);
    void focusColumn(const QString& column);
    void moveToNextPrice(QLineEdit* from);

    void showState();
    void showSuppliers();
    void showSerials();
    void showHistory(int page);
    int selectedId(QTableView* view, RowsTableModel* model, const char* column) const;
    // "Salva" of an editable tab: the grid's pending edits handed to the logic; kept, with the cursor
    // on the refused cell, when it refuses them.
    void saveGridEdits(QTableView* view, RowsTableModel* model, const std::function<bool()>& save,
                       const core::EditedCell& failedCell);
    static stock::Articolo::Opening openingOf(const core::NavigationRequest& request);

    WindowEnvironment& m_environment;
    stock::Articolo m_logic;
    QTabWidget* m_tabs = nullptr;
    CardForm* m_form = nullptr;
    CardForm* m_bookForm = nullptr;
    QHash<QString, QLineEdit*> m_fields;
    QList<QLineEdit*> m_priceOrder; // Enter moves along this list
    QHash<QString, QComboBox*> m_choices;
    QMap<stock::Classification, QToolButton*> m_newValueButtons;
    QPushButton* m_exit = nullptr;
    QPushButton* m_sizeColourGrid = nullptr;
    QTableView* m_supplierView = nullptr;
    RowsTableModel* m_supplierModel = nullptr;
    QTableView* m_serialView = nullptr;
    RowsTableModel* m_serialModel = nullptr;
    QLabel* m_image = nullptr;
    QTabWidget* m_historyTabs = nullptr;
    QList<RowsTableModel*> m_historyModels;
    QString m_saleUnitsOf; // the purchase unit the sale-unit choices were read for
    bool m_saleUnitsFilled = false;
    bool m_showing = false;
};

} // namespace carvendo::ui
