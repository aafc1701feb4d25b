#include "ui/stock/ItemListPanel.h"

#include "core/CommandGuard.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

QString quantity(double value)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(value, 'f', 3);
}

QString wholeNumber(qint64 value)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(value);
}

QLabel* figureLabel(QWidget* parent)
{
    auto* label = new QLabel(QStringLiteral("-"), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(90);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

ItemListPanel::ItemListPanel(stock::Articoli& logic, core::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_logic(logic), m_dialogs(dialogs)
{
    m_warehouse = new QComboBox(this);
    m_warehouse->setMinimumWidth(180);
    m_mode = new QComboBox(this);
    m_mode->addItems(stock::ItemSearch::modeCaptions());

    m_description = new QLineEdit(this);
    m_barcode = new QLineEdit(this);
    m_code = new QLineEdit(this);
    m_supplierCode = new QLineEdit(this);
    m_supplier = new QLineEdit(this);
    m_serial = new QLineEdit(this);
    auto* all = new QPushButton(QStringLiteral("Tutti"), this);
    auto* advanced = new QPushButton(QStringLiteral("Ricerca avanzata"), this);
    for (QPushButton* button : {all, advanced})
        button->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Magazzino"), this), 0, 0);
    fields->addWidget(m_warehouse, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Ricerca"), this), 0, 2);
    fields->addWidget(m_mode, 0, 3);
    auto* searchButtons = new QHBoxLayout;
    searchButtons->addWidget(all);
    searchButtons->addWidget(advanced);
    searchButtons->addStretch();
    fields->addLayout(searchButtons, 0, 4, 1, 2);
    const std::pair<const char*, QLineEdit*> searchFields[] = {
        {"Descrizione", m_description},     {"Barcode", m_barcode},    {"Codice", m_code},
        {"Cod. Fornitore", m_supplierCode}, {"Fornitore", m_supplier}, {"Seriale", m_serial}};
    int index = 0;
    for (const auto& [caption, line] : searchFields) {
        const int row = 1 + index / 3;
        const int column = (index % 3) * 2;
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(line);
        fields->addWidget(label, row, column);
        fields->addWidget(line, row, column + 1);
        line->setClearButtonEnabled(true);
        line->installEventFilter(this);
        ++index;
    }
    m_description->setMinimumWidth(260);

    m_model = new RowsTableModel(this);
    QList<RowsTableModel::Column> columns;
    const QStringList& names = stock::ItemSearch::columns();
    const QStringList& captions = stock::ItemSearch::captions();
    for (int i = 0; i < names.size(); ++i) {
        const bool money = names.at(i) == u"PrezzoAcqnoiva" || names.at(i) == u"Pubblico" ||
                           names.at(i) == u"Listino2" || names.at(i) == u"Listino3";
        columns.append({names.at(i), captions.at(i), money});
    }
    m_model->setColumns(columns);
    m_grid = readOnlyGrid(m_model, this);
    m_grid->setAlternatingRowColors(true);
    m_grid->horizontalHeader()->setSectionsMovable(true);
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->installEventFilter(this);
    m_grid->hideColumn(0); // the key
    m_grid->setColumnWidth(1, 110);
    m_grid->setColumnWidth(2, 120);
    m_grid->setColumnWidth(3, 300);
    for (int column = 7; column < names.size(); ++column)
        m_grid->setColumnWidth(column, 80);

    m_giacenza = figureLabel(this);
    m_disponibilita = figureLabel(this);
    m_caricato = figureLabel(this);
    m_venduto = figureLabel(this);
    m_reso = figureLabel(this);
    auto* stockBox = new QGroupBox(QStringLiteral("Giacenza articolo"), this);
    auto* stockForm = new QFormLayout(stockBox);
    stockForm->addRow(QStringLiteral("Giacenza"), m_giacenza);
    stockForm->addRow(QStringLiteral("Disponibilità"), m_disponibilita);
    stockForm->addRow(QStringLiteral("CARICATO"), m_caricato);
    stockForm->addRow(QStringLiteral("VENDUTO"), m_venduto);
    stockForm->addRow(QStringLiteral("RESO"), m_reso);
    auto* side = new QVBoxLayout;
    side->addWidget(stockBox);
    side->addStretch();

    auto* body = new QHBoxLayout;
    body->addWidget(m_grid, 1);
    body->addLayout(side);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(fields);
    layout->addLayout(body, 1);

    setTabOrder(m_warehouse, m_mode);
    setTabOrder(m_mode, m_description);
    setTabOrder(m_description, m_barcode);
    setTabOrder(m_barcode, m_code);
    setTabOrder(m_code, m_supplierCode);
    setTabOrder(m_supplierCode, m_supplier);
    setTabOrder(m_supplier, m_serial);
    setTabOrder(m_serial, m_grid);

    connect(m_description, &QLineEdit::returnPressed, this,
            [this] { searchField(stock::ItemField::Descrizione, m_description); });
    connect(m_barcode, &QLineEdit::returnPressed, this,
            [this] { searchField(stock::ItemField::Barcode, m_barcode); });
    connect(m_code, &QLineEdit::returnPressed, this,
            [this] { searchField(stock::ItemField::Codice, m_code); });
    connect(m_supplierCode, &QLineEdit::returnPressed, this,
            [this] { searchField(stock::ItemField::CodiceFornitore, m_supplierCode); });
    connect(m_supplier, &QLineEdit::returnPressed, this, [this] {
        core::runGuarded(m_dialogs, [&] { m_logic.findSupplier(m_supplier->text().trimmed()); });
    });
    connect(m_serial, &QLineEdit::returnPressed, this,
            [this] { core::runGuarded(m_dialogs, [&] { m_logic.findSerial(m_serial->text()); }); });
    connect(all, &QPushButton::clicked, this,
            [this] { core::runGuarded(m_dialogs, [&] { m_logic.showAll(); }); });
    connect(advanced, &QPushButton::clicked, this,
            [this] { core::runGuarded(m_dialogs, [&] { m_logic.advancedSearch(); }); });
    connect(m_warehouse, &QComboBox::activated, this, &ItemListPanel::warehouseChosen);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ItemListPanel::gridMoved);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { emit activated(); });
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, &ItemListPanel::loadMoreIfAtEnd);

    connect(&m_logic, &stock::Articoli::rowsChanged, this, &ItemListPanel::showRows);
    connect(&m_logic, &stock::Articoli::rowChanged, this, &ItemListPanel::showRow);
    connect(&m_logic, &stock::Articoli::currentChanged, this, &ItemListPanel::showCurrent);
}

void ItemListPanel::open()
{
    core::runGuarded(m_dialogs, [&] {
        const core::Rows warehouses = m_logic.warehouses();
        m_warehouse->clear();
        for (const core::Row& row : warehouses)
            m_warehouse->addItem(row["Descrizione"].toString(), row["idMagazzino"].toInt());
        m_logic.open();
        m_warehouse->setCurrentIndex(m_warehouse->findData(m_logic.warehouse().id));
    });
    m_description->setFocus();
}

void ItemListPanel::searchField(stock::ItemField field, QLineEdit* line)
{
    const auto mode = stock::MatchMode(qMax(0, m_mode->currentIndex()));
    core::runGuarded(m_dialogs, [&] { m_logic.find(field, mode, line->text()); });
}

void ItemListPanel::showRows()
{
    m_syncing = true;
    m_model->setRows(m_logic.rows());
    m_syncing = false;
    showCurrent();
}

void ItemListPanel::showRow(int row)
{
    // The model is rebuilt from the logic's rows; the cursor stays where it is.
    m_syncing = true;
    const QModelIndex current = m_grid->currentIndex();
    m_model->setRows(m_logic.rows());
    if (row >= 0 && row < m_model->rowCount())
        m_grid->setCurrentIndex(m_model->index(row, current.isValid() ? current.column() : 3));
    m_syncing = false;
}

void ItemListPanel::showCurrent()
{
    m_syncing = true;
    const int row = m_logic.search().rowOf(m_logic.currentItem());
    if (row >= 0) {
        const QModelIndex current = m_grid->currentIndex();
        if (!current.isValid() || current.row() != row)
            m_grid->setCurrentIndex(m_model->index(row, current.isValid() ? current.column() : 3));
    } else {
        m_grid->clearSelection();
    }
    m_syncing = false;

    const stock::CurrentStock& stock = m_logic.currentStock();
    const bool known = m_logic.currentItem() > 0;
    m_giacenza->setText(known && stock.hasRow ? quantity(stock.giacenza) : QStringLiteral("-"));
    m_disponibilita->setText(known && stock.hasRow ? quantity(stock.disponibilita) : QStringLiteral("-"));
    m_caricato->setText(known && stock.realigned ? wholeNumber(stock.figures.caricato) : QStringLiteral("-"));
    m_venduto->setText(known && stock.realigned ? wholeNumber(stock.figures.venduto) : QStringLiteral("-"));
    m_reso->setText(known && stock.realigned ? wholeNumber(stock.figures.reso) : QStringLiteral("-"));
}

QString ItemListPanel::stockText() const
{
    return QStringLiteral("Giacenza %1, Disponibilità %2, CARICATO %3, VENDUTO %4, RESO %5")
        .arg(m_giacenza->text(), m_disponibilita->text(), m_caricato->text(), m_venduto->text(),
             m_reso->text());
}

void ItemListPanel::gridMoved()
{
    if (m_syncing)
        return;
    const int row = m_grid->currentIndex().row();
    const int id = row >= 0 && row < m_logic.rows().size() ? m_logic.rows().at(row, 0).toInt() : 0;
    if (id != m_logic.currentItem())
        core::runGuarded(m_dialogs, [&] { m_logic.setCurrentItem(id); });
}

void ItemListPanel::warehouseChosen()
{
    const core::Warehouse chosen{m_warehouse->currentData().toInt(), m_warehouse->currentText()};
    core::runGuarded(m_dialogs, [&] { m_logic.setWarehouse(chosen); });
}

void ItemListPanel::loadMoreIfAtEnd()
{
    QScrollBar* bar = m_grid->verticalScrollBar();
    if (m_syncing || bar->value() < bar->maximum() || !m_logic.search().hasMore())
        return;
    core::runGuarded(m_dialogs, [&] { m_logic.loadMore(); });
}

bool ItemListPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == m_grid && enter) {
            emit activated();
            return true;
        }
        if (watched != m_grid && key->key() == Qt::Key_Down) { // from a search field into the grid
            m_grid->setFocus();
            return true;
        }
        if (watched == m_grid && key->key() == Qt::Key_End && m_logic.search().hasMore())
            core::runGuarded(m_dialogs, [&] {
                while (m_logic.search().hasMore())
                    m_logic.loadMore();
            });
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace carvendo::ui
