#include "ui/stock/SizeColourWindows.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "core/Session.h"
#include "ui/common/EditableList.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"
#include "ui/common/WindowRegistry.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>

namespace carvendo::ui {

namespace {

QLineEdit* shownValue(const QString& text, QWidget* parent)
{
    auto* field = new QLineEdit(text, parent);
    field->setReadOnly(true);
    return field;
}

} // namespace

// ------------------------------------------------------------------------------------------------
// Lists

TSizeColourList::TSizeColourList(WindowEnvironment& environment, foundation::Lookup lookup,
                                 const QString& title, QWidget* parent)
    : Window(parent),
      m_editor(environment.connections.company(), lookup, environment.session, environment.dialogs, this)
{
    setWindowTitle(title);
    m_list = new EditableList(m_editor, this);
    m_list->setObjectName(QStringLiteral("elenco"));
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttonRow({exit}));
    m_editor.reload();
    if (lookup == foundation::Lookup::TaglieTC) {
        // A size label holds four characters: thirty narrow columns beside the group's name.
        m_list->grid()->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_list->grid()->horizontalHeader()->setDefaultSectionSize(46);
        m_list->grid()->setColumnWidth(0, 170);
        resize(1100, 420);
    } else {
        m_list->grid()->horizontalHeader()->setDefaultSectionSize(170);
        m_list->grid()->horizontalHeader()->setStretchLastSection(true);
        resize(600, 420);
    }
}

// ------------------------------------------------------------------------------------------------
// TDisponibilitaTC

TDisponibilitaTC::TDisponibilitaTC(WindowEnvironment& environment, const core::NavigationRequest& request,
                                   QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs), m_navigator(environment.navigator),
      m_logic(environment.connections.company(), environment.reports)
{
    setWindowTitle(QStringLiteral("Disponibilità Taglie e Colori"));
    resize(860, 420);

    auto* item = new QLabel(this);
    item->setObjectName(QStringLiteral("articolo"));
    m_warehouse = new QComboBox(this);
    m_warehouse->setObjectName(QStringLiteral("magazzino"));
    m_warehouse->setMinimumWidth(220);
    m_model = new RowsTableModel(this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_cell = new QLabel(QStringLiteral("Selezionare una taglia per vederne il barcode"), this);
    m_cell->setObjectName(QStringLiteral("cella"));
    QPushButton* label = pageButton(QStringLiteral("Etichetta"), QStringLiteral("etichetta"));
    QPushButton* print = pageButton(QStringLiteral("Stampa"), QStringLiteral("stampa"));
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));

    auto* filters = new QFormLayout;
    filters->addRow(QStringLiteral("Articolo"), item);
    filters->addRow(QStringLiteral("Magazzino"), m_warehouse);
    auto* commands = new QHBoxLayout;
    commands->addWidget(label);
    commands->addWidget(print);
    commands->addStretch();
    commands->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_cell);
    layout->addLayout(commands);

    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    onClickGuarded(print, m_dialogs, [this] { m_logic.print(); });
    connect(label, &QPushButton::clicked, this, [this] {
        const QModelIndex current = m_grid->currentIndex();
        const std::optional<stock::GridCell> cell = m_logic.cell(current.row(), current.column());
        if (!cell) {
            m_dialogs.information(QStringLiteral("Selezionare una taglia"));
            return;
        }
        m_navigator.open(QStringLiteral("TTCEdit"), cell->rowId, QStringLiteral("TDisponibilitaTC"),
                         {{QStringLiteral("taglia"), cell->size}});
    });

    core::runGuarded(m_dialogs, [&] {
        m_logic.open(request.key.toInt());
        m_warehouse->addItem(QStringLiteral("Tutti i magazzini"), 0);
        for (const auto& warehouse : m_logic.warehouses())
            m_warehouse->addItem(warehouse.name, warehouse.id);
    });
    item->setText(m_logic.item().description);
    showRows();
    connect(m_warehouse, &QComboBox::currentIndexChanged, this, [this] {
        core::runGuarded(m_dialogs, [&] { m_logic.filterByWarehouse(m_warehouse->currentData().toInt()); });
        showRows();
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TDisponibilitaTC::showCell);
}

void TDisponibilitaTC::showRows()
{
    // The colour, then one column per size of the group (column 1 + i is size i).
    QList<RowsTableModel::Column> columns{{QStringLiteral("Colore"), QStringLiteral("Colore")}};
    const QStringList labels = m_logic.sizeLabels();
    for (int size = 1; size <= labels.size(); ++size)
        columns.append({stock::quantityColumn(size), labels[size - 1]});
    columns.append({QStringLiteral("Magazzino"), QStringLiteral("Magazzino")});
    m_model->setColumns(columns);
    m_model->setRows(m_logic.rows());
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setDefaultSectionSize(52);
    m_grid->setColumnWidth(0, 140);
    m_grid->horizontalHeader()->setStretchLastSection(true);
}

void TDisponibilitaTC::showCell()
{
    const QModelIndex current = m_grid->currentIndex();
    const QString text = m_logic.cellText(current.row(), current.column());
    m_cell->setText(text.isEmpty() ? QStringLiteral("Selezionare una taglia per vederne il barcode") : text);
}

// ------------------------------------------------------------------------------------------------
// TTCEdit

TTCEdit::TTCEdit(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent)
    : Window(parent), m_logic(environment.connections.company(), environment.dialogs, environment.reports)
{
    setWindowTitle(QStringLiteral("Taglia e Colore"));
    core::runGuarded(environment.dialogs, [&] {
        m_logic.open(request.key.toInt(), request.values.value(QStringLiteral("taglia")).toInt());
    });
    const stock::GridCell& cell = m_logic.cell();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Articolo"), shownValue(m_logic.itemDescription(), this));
    form->addRow(QStringLiteral("Colore"), shownValue(cell.colour, this));
    form->addRow(QStringLiteral("Taglia"), shownValue(cell.sizeLabel, this));
    form->addRow(QStringLiteral("Magazzino"), shownValue(cell.warehouse, this));
    QLineEdit* barcode = shownValue(cell.barcode, this);
    barcode->setObjectName(QStringLiteral("barcode"));
    form->addRow(QStringLiteral("Barcode"), barcode);
    QLineEdit* quantity = shownValue(QString::number(cell.quantity), this);
    quantity->setObjectName(QStringLiteral("quantita"));
    form->addRow(QStringLiteral("Quantità"), quantity);

    QPushButton* print = pageButton(QStringLiteral("Stampa etichetta"), QStringLiteral("stampa"));
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));
    onClickGuarded(print, environment.dialogs, [this] { m_logic.printLabel(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttonRow({print, exit}));
    resize(420, 280);
}

// ------------------------------------------------------------------------------------------------
// TScaricoTC

// The quantities to sell, a row per colour and a column per size; an edit goes to the logic, which
// stores it or refuses it.
class SizeQuantityModel : public QAbstractTableModel
{
public:
    SizeQuantityModel(stock::ScaricoTC& logic, core::Dialogs& dialogs, std::function<void()> changed,
                      QObject* parent)
        : QAbstractTableModel(parent), m_logic(logic), m_dialogs(dialogs), m_changed(std::move(changed))
    {
    }

    void refresh()
    {
        beginResetModel();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_logic.rows().size();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : 1 + int(m_logic.sizeLabels().size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() ||
            (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::TextAlignmentRole))
            return {};
        if (index.column() == 0)
            return role == Qt::TextAlignmentRole ? QVariant()
                                                 : m_logic.rows().value(index.row(), "Colore").variant();
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        const int quantity = m_logic.rows().value(index.row(), stock::quantityColumn(index.column())).toInt();
        return role == Qt::DisplayRole && quantity == 0 ? QVariant(QString()) : QVariant(quantity);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == 0 ? QStringLiteral("Colore") : m_logic.sizeLabels().value(section - 1);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags result = QAbstractTableModel::flags(index);
        if (index.column() > 0)
            result |= Qt::ItemIsEditable;
        return result;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || index.column() == 0)
            return false;
        bool stored = false;
        core::runGuarded(m_dialogs,
                         [&] { stored = m_logic.setQuantity(index.row(), index.column(), value.toInt()); });
        if (stored) {
            emit dataChanged(index, index);
            m_changed();
        }
        return stored;
    }

private:
    stock::ScaricoTC& m_logic;
    core::Dialogs& m_dialogs;
    std::function<void()> m_changed;
};

TScaricoTC::TScaricoTC(WindowEnvironment& environment, const core::NavigationRequest& request,
                       QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_own(std::make_unique<stock::ScaricoTC>(
          environment.connections.company(), environment.dialogs,
          stock::SizeSaleDocument{
              request.values.value(QStringLiteral("tipodoc")).toString(),
              request.values.value(QStringLiteral("iddoc")).toInt(),
              request.values.value(QStringLiteral("scaricagiacenze")).toBool(),
              request.values.value(QStringLiteral("idmagazzino"), environment.session.warehouse().id)
                  .toInt()})),
      m_logic(*m_own), m_confirm([this] { return m_logic.confirm(); })
{
    core::runGuarded(m_dialogs, [&] { m_logic.open(request.key.toInt()); });
    build();
}

TScaricoTC::TScaricoTC(core::Dialogs& dialogs, stock::ScaricoTC& logic, std::function<bool()> confirm,
                       QWidget* parent)
    : Window(parent), m_dialogs(dialogs), m_logic(logic), m_confirm(std::move(confirm))
{
    build();
}

void TScaricoTC::build()
{
    setWindowTitle(QStringLiteral("Scarico Taglie e Colori"));
    resize(820, 460);

    auto* item =
        new QLabel(QStringLiteral("<b>%1</b>").arg(m_logic.item().description.toHtmlEscaped()), this);
    m_model = new SizeQuantityModel(
        m_logic, m_dialogs, [this] { showState(); }, this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setDefaultSectionSize(52);
    m_grid->setColumnWidth(0, 140);

    auto* prices = new QGroupBox(QStringLiteral("Prezzo"), this);
    auto* priceGrid = new QGridLayout(prices);
    for (int list = 1; list <= 3; ++list) {
        QPushButton* button =
            pageButton(QStringLiteral("Listino%1").arg(list), QStringLiteral("listino%1").arg(list));
        auto* caption = new QLabel(m_logic.listCaption(list), prices);
        caption->setAlignment(Qt::AlignCenter);
        m_lists << caption;
        priceGrid->addWidget(button, 0, list - 1);
        priceGrid->addWidget(caption, 1, list - 1);
        connect(button, &QPushButton::clicked, this, [this, list] {
            if (m_logic.chooseList(list))
                m_price->setText(m_logic.price().toEditText());
        });
    }
    m_discount = new QLineEdit(QStringLiteral("0"), prices);
    m_discount->setObjectName(QStringLiteral("sconto"));
    m_price = new QLineEdit(m_logic.price().isZero() ? QString() : m_logic.price().toEditText(), prices);
    m_price->setObjectName(QStringLiteral("prezzo"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Sconto %"), m_discount);
    fields->addRow(QStringLiteral("Prezzo"), m_price);
    priceGrid->addLayout(fields, 0, 3, 2, 1);

    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("totale"));
    QPushButton* confirm = pageButton(QStringLiteral("Conferma"), QStringLiteral("conferma"));
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(confirm, &QPushButton::clicked, this, [this] {
        bool done = false;
        core::runGuarded(m_dialogs, [&] {
            takePriceAndDiscount();
            done = m_confirm();
        });
        if (done)
            accept();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(item);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_total);
    layout->addWidget(prices);
    layout->addLayout(buttonRow({confirm, exit}));
    showState();
}

void TScaricoTC::takePriceAndDiscount()
{
    const std::optional<core::Money> price = core::Money::parse(m_price->text().trimmed());
    const std::optional<core::Money> discount = core::Money::parse(m_discount->text().trimmed());
    if ((!m_price->text().trimmed().isEmpty() && !price) ||
        (!m_discount->text().trimmed().isEmpty() && !discount))
        throw core::Error(QStringLiteral("Inserire un numero valido"), core::Error::Kind::Refusal);
    m_logic.setPrice(price.value_or(core::Money()));
    m_logic.setDiscount(discount.value_or(core::Money()));
}

void TScaricoTC::showState()
{
    m_total->setText(
        QStringLiteral("Totale taglie per colore da scaricare: %1").arg(m_logic.totalQuantity()));
}

core::NavigationResult TScaricoTC::navigationResult() const
{
    core::NavigationResult result;
    result.accepted = m_logic.confirmed();
    result.values = {{QStringLiteral("quantita"), m_logic.totalQuantity()},
                     {QStringLiteral("prezzo"), m_logic.price().toDecimalString()},
                     {QStringLiteral("sconto"), m_logic.discount().toDecimalString()}};
    return result;
}

// ------------------------------------------------------------------------------------------------

namespace {

WindowFactory list(foundation::Lookup lookup, const QString& title)
{
    return [lookup, title](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) {
        return new TSizeColourList(environment, lookup, title, parent);
    };
}

} // namespace

void registerSizeColourWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TTaglie"), list(foundation::Lookup::Taglie, QStringLiteral("Taglie")));
    registry.add(QStringLiteral("TColori"), list(foundation::Lookup::Colori, QStringLiteral("Colori")));
    registry.add(QStringLiteral("TGruppiTaglie"),
                 list(foundation::Lookup::TaglieTC, QStringLiteral("Gruppi Taglie")));
    registry.add(QStringLiteral("TDisponibilitaTC"), factory<TDisponibilitaTC>());
    registry.add(QStringLiteral("TTCEdit"), factory<TTCEdit>());
    registry.add(QStringLiteral("TScaricoTC"), factory<TScaricoTC>());
}

} // namespace carvendo::ui
