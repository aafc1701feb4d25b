#include "ui/stock/LoadWindows.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "core/Paths.h"
#include "stock/serials/LoadSerialCapture.h"
#include "stock/sizes/LoadSizeGrid.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/CompanyHeadingOf.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/ListPanel.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"
#include "ui/common/WindowRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

// A load window closes once its logic agreed to leave (a new load is undone first); closing again
// after that asks nothing.
bool mayClose(bool& closing, core::Dialogs& dialogs, const std::function<bool()>& leave)
{
    if (!closing) {
        bool agreed = false;
        core::runGuarded(dialogs, [&] { agreed = leave(); });
        closing = agreed;
    }
    return closing;
}

QList<RowsTableModel::Column> loadRowColumns()
{
    return {{QStringLiteral("Codice"), QStringLiteral("Codice")},
            {QStringLiteral("Descrizione"), QStringLiteral("Descrizione")},
            {QStringLiteral("UnitaMisura"), QStringLiteral("UM")},
            {QStringLiteral("quantita"), QStringLiteral("Quantità")},
            {QStringLiteral("PrezzoAcquisto"), QStringLiteral("Prezzo"), true},
            {QStringLiteral("sconto_perc1"), QStringLiteral("Sc.1 %")},
            {QStringLiteral("sconto_perc2"), QStringLiteral("Sc.2 %")},
            {QStringLiteral("Aliquota"), QStringLiteral("IVA %")},
            {QStringLiteral("SubtotaleAcq"), QStringLiteral("Importo"), true},
            {QStringLiteral("SubTotaleIvato"), QStringLiteral("Importo IVA incl."), true}};
}

QTableView* loadRowGrid(RowsTableModel* model, QWidget* parent)
{
    model->setColumns(loadRowColumns());
    QTableView* grid = readOnlyGrid(model, parent);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    return grid;
}

QString totalsText(const stock::LoadHeader& header)
{
    return QStringLiteral("Imponibile € %1&nbsp;&nbsp;&nbsp;&nbsp; IVA € %2&nbsp;&nbsp;&nbsp;&nbsp; "
                          "<b>Totale documento € "
                          "%3</b>&nbsp;&nbsp;&nbsp;&nbsp; Pezzi %4")
        .arg(header.imponibile.toItalian(), header.ivaTotale.toItalian(), header.totaleDocumento.toItalian())
        .arg(header.totaleArticoli);
}

QLabel* totalsLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("totali"));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setStyleSheet(QStringLiteral("font-size: 11pt; padding: 4px;"));
    return label;
}

} // namespace

void registerLoadWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TCarichi"), factory<TCarichi>());
    registry.add(QStringLiteral("TCarico"), factory<TCarico>());
    registry.add(QStringLiteral("TCaricoSpeed"), factory<TCaricoSpeed>());
}

// ---------------------------------------------------------------------------------------------
// TCaricoDialogo

TCaricoDialogo::TCaricoDialogo(core::Dialogs& dialogs, stock::Carico& load,
                               std::unique_ptr<stock::CaricoDialogo> row, QWidget* parent)
    : Window(parent), m_dialogs(dialogs), m_load(load), m_row(std::move(row))
{
    setObjectName(QStringLiteral("TCaricoDialogo"));
    setWindowTitle(QStringLiteral("Carico articolo: %1").arg(m_row->descrizione()));
    switch (m_row->kind()) {
    case stock::LoadRowKind::Plain:
        resize(480, 260);
        break;
    case stock::LoadRowKind::Serials:
        resize(640, 460);
        break;
    case stock::LoadRowKind::SizeColour:
        resize(860, 460);
        break;
    }

    auto* item = new QLabel(QStringLiteral("<b>%1</b>  %2")
                                .arg(m_row->codice().toHtmlEscaped(), m_row->descrizione().toHtmlEscaped()),
                            this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pagine"));
    m_pages->addTab(detailsPage(), QStringLiteral("Dettagli"));
    if (m_row->serials()) {
        m_pages->addTab(serialPage(), QStringLiteral("Seriali"));
        m_pages->addTab(lotPage(), QStringLiteral("Lotto"));
        m_pages->setCurrentIndex(1);
    } else if (m_row->grid()) {
        m_pages->addTab(sizeColourPage(), QStringLiteral("Taglie e colori"));
        m_pages->setCurrentIndex(1);
    }

    QPushButton* confirm = pageButton(QStringLiteral("Conferma"), QStringLiteral("conferma"));
    QPushButton* cancel = pageButton(QStringLiteral("Annulla"), QStringLiteral("annulla"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(item);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttonRow({confirm, cancel}));
    connect(confirm, &QPushButton::clicked, this, &TCaricoDialogo::confirm);
    connect(cancel, &QPushButton::clicked, this, &TCaricoDialogo::reject);
}

TCaricoDialogo::~TCaricoDialogo() = default;

QWidget* TCaricoDialogo::detailsPage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    const auto field = [&](const char* name, const QString& text) {
        auto* edit = new QLineEdit(text, page);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaximumWidth(160);
        edit->setAlignment(Qt::AlignRight);
        return edit;
    };
    m_quantity = field("quantita", m_row->quantityText());
    m_price = field("prezzo", m_row->priceText());
    m_discount1 = field("sconto1", m_row->discount1Text());
    m_discount2 = field("sconto2", m_row->discount2Text());
    if (m_row->kind() != stock::LoadRowKind::Plain) {
        // The quantity is what the serial or size/colour page holds.
        m_quantity->setReadOnly(true);
        m_quantity->setText(QStringLiteral("0"));
    }
    form->addRow(QStringLiteral("Quantità"), m_quantity);
    form->addRow(QStringLiteral("Prezzo di acquisto (IVA esclusa) €"), m_price);
    form->addRow(QStringLiteral("Sconto 1 %"), m_discount1);
    form->addRow(QStringLiteral("Sconto 2 %"), m_discount2);
    connect(m_quantity, &QLineEdit::returnPressed, this, &TCaricoDialogo::confirm);
    connect(m_price, &QLineEdit::returnPressed, this, &TCaricoDialogo::confirm);
    return page;
}

QWidget* TCaricoDialogo::serialPage()
{
    auto* page = new QWidget;
    m_serial = new QLineEdit(page);
    m_serial->setObjectName(QStringLiteral("seriale"));
    m_serial->setPlaceholderText(QStringLiteral("Leggere o digitare il seriale (IMEI)"));
    QPushButton* add = pageButton(QStringLiteral("Aggiungi"), QStringLiteral("aggiungiseriale"));
    QPushButton* remove = pageButton(QStringLiteral("Elimina"), QStringLiteral("eliminaseriale"));
    m_rowSerials = new QListWidget(page);
    m_rowSerials->setObjectName(QStringLiteral("serialiriga"));
    m_itemSerials = new QListWidget(page);
    m_itemSerials->setObjectName(QStringLiteral("serialiarticolo"));
    m_serialCount = new QLabel(page);

    auto* entry = new QHBoxLayout;
    entry->addWidget(new QLabel(QStringLiteral("Seriale"), page));
    entry->addWidget(m_serial, 1);
    entry->addWidget(add);
    entry->addWidget(remove);
    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("Seriali di questa riga"), page), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Seriali dell'articolo in magazzino"), page), 0, 1);
    lists->addWidget(m_rowSerials, 1, 0);
    lists->addWidget(m_itemSerials, 1, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(entry);
    layout->addLayout(lists, 1);
    layout->addWidget(m_serialCount);

    connect(m_serial, &QLineEdit::returnPressed, this, [this] { addSerial(true); });
    connect(add, &QPushButton::clicked, this, [this] { addSerial(false); });
    connect(remove, &QPushButton::clicked, this, [this] {
        QListWidgetItem* current = m_rowSerials->currentItem();
        if (!current)
            return;
        core::runGuarded(m_dialogs, [&] { m_row->serials()->remove(current->text()); });
        showSerials();
    });
    showSerials();
    return page;
}

QWidget* TCaricoDialogo::lotPage()
{
    auto* page = new QWidget;
    auto* useBarcode = new QCheckBox(QStringLiteral("Barcode del lotto"), page);
    useBarcode->setObjectName(QStringLiteral("usabarcodelotto"));
    auto* barcode = new QLineEdit(page);
    barcode->setObjectName(QStringLiteral("barcodelotto"));
    barcode->setEnabled(false);
    auto* sequence = new QCheckBox(QStringLiteral("Seriali in sequenza"), page);
    sequence->setObjectName(QStringLiteral("sequenza"));
    sequence->setChecked(true);
    auto* first = new QLineEdit(page);
    first->setObjectName(QStringLiteral("primoseriale"));
    auto* count = new QSpinBox(page);
    count->setObjectName(QStringLiteral("quantitalotto"));
    count->setRange(1, 9999);
    QPushButton* make = pageButton(QStringLiteral("Carica lotto"), QStringLiteral("caricalotto"));

    auto* form = new QFormLayout;
    form->addRow(useBarcode, barcode);
    form->addRow(sequence);
    form->addRow(QStringLiteral("Primo seriale"), first);
    form->addRow(QStringLiteral("Quantità"), count);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addLayout(buttonRow({make}));
    layout->addStretch();

    connect(useBarcode, &QCheckBox::toggled, barcode, &QWidget::setEnabled);
    connect(sequence, &QCheckBox::toggled, first, &QWidget::setEnabled);
    connect(sequence, &QCheckBox::toggled, count, &QWidget::setEnabled);
    connect(make, &QPushButton::clicked, this, [=, this] {
        bool added = false;
        core::runGuarded(m_dialogs, [&] {
            added =
                m_row->serials()->addLot(useBarcode->isChecked() ? barcode->text().trimmed() : QString(),
                                         first->text().trimmed(), sequence->isChecked() ? count->value() : 1);
        });
        if (added) {
            first->clear();
            barcode->clear();
        }
        showSerials();
    });
    return page;
}

QWidget* TCaricoDialogo::sizeColourPage()
{
    auto* page = new QWidget;
    stock::LoadSizeGrid* grid = m_row->grid();
    m_colour = new QComboBox(page);
    m_colour->setObjectName(QStringLiteral("colore"));
    m_colour->setMinimumWidth(200);
    m_colour->addItems(grid->colourChoices());
    QPushButton* add = pageButton(QStringLiteral("Aggiungi colore"), QStringLiteral("aggiungicolore"));
    QPushButton* all = pageButton(QStringLiteral("Tutti i colori"), QStringLiteral("tutticolori"));
    QPushButton* remove = pageButton(QStringLiteral("Elimina colore"), QStringLiteral("eliminacolore"));
    m_grid = new QTableWidget(page);
    m_grid->setObjectName(QStringLiteral("grigliataglie"));
    m_grid->verticalHeader()->hide();

    auto* chooser = new QHBoxLayout;
    chooser->addWidget(new QLabel(QStringLiteral("Colore"), page));
    chooser->addWidget(m_colour);
    chooser->addWidget(add);
    chooser->addWidget(all);
    chooser->addStretch();
    chooser->addWidget(remove);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(chooser);
    layout->addWidget(m_grid, 1);

    connect(add, &QPushButton::clicked, this, [this] {
        core::runGuarded(m_dialogs, [&] { m_row->grid()->addColour(m_colour->currentText()); });
        showGrid();
    });
    connect(all, &QPushButton::clicked, this, [this] {
        core::runGuarded(m_dialogs, [&] { m_row->grid()->addAllColours(); });
        showGrid();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_grid->currentRow() < 0)
            return;
        core::runGuarded(m_dialogs, [&] { m_row->grid()->removeRow(m_grid->currentRow()); });
        showGrid();
    });
    connect(m_grid, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (m_fillingGrid || column == 0)
            return;
        const int quantity = m_grid->item(row, column)->text().toInt();
        core::runGuarded(m_dialogs, [&] { m_row->grid()->setQuantity(row, column, quantity); });
        QMetaObject::invokeMethod(this, &TCaricoDialogo::showGrid, Qt::QueuedConnection);
    });
    showGrid();
    return page;
}

void TCaricoDialogo::addSerial(bool byEnter)
{
    bool added = false;
    core::runGuarded(m_dialogs, [&] {
        added = m_row->serials()->add(m_serial->text().trimmed(),
                                      byEnter ? stock::SerialEntry::Enter : stock::SerialEntry::Button);
    });
    if (added)
        m_serial->clear();
    m_serial->setFocus();
    showSerials();
}

void TCaricoDialogo::showSerials()
{
    stock::LoadSerialCapture* serials = m_row->serials();
    m_rowSerials->clear();
    m_rowSerials->addItems(serials->serials());
    m_itemSerials->clear();
    core::runGuarded(m_dialogs, [&] { m_itemSerials->addItems(serials->itemSerialsInWarehouse()); });
    m_serialCount->setText(QStringLiteral("Seriali caricati in questa riga: %1").arg(serials->count()));
    m_quantity->setText(QString::number(serials->count()));
}

void TCaricoDialogo::showGrid()
{
    stock::LoadSizeGrid* grid = m_row->grid();
    m_fillingGrid = true;
    const QStringList sizes = grid->sizeLabels();
    m_grid->setColumnCount(1 + int(sizes.size()));
    m_grid->setHorizontalHeaderLabels(QStringList{QStringLiteral("Colore")} + sizes);
    m_grid->setRowCount(int(grid->rows().size()));
    for (int row = 0; row < int(grid->rows().size()); ++row) {
        const stock::SizeColourRow& colour = grid->rows()[std::size_t(row)];
        auto* name = new QTableWidgetItem(colour.colour);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_grid->setItem(row, 0, name);
        for (int size = 1; size <= int(sizes.size()); ++size) {
            auto* cell = new QTableWidgetItem(QString::number(colour.quantities[std::size_t(size - 1)]));
            cell->setTextAlignment(Qt::AlignCenter);
            m_grid->setItem(row, size, cell);
        }
    }
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setMinimumSectionSize(44);
    m_quantity->setText(QString::number(grid->totalQuantity()));
    m_fillingGrid = false;
}

void TCaricoDialogo::confirm()
{
    m_row->setQuantityText(m_quantity->text());
    m_row->setPriceText(m_price->text());
    m_row->setDiscount1Text(m_discount1->text());
    m_row->setDiscount2Text(m_discount2->text());
    bool posted = false;
    core::runGuarded(m_dialogs, [&] { posted = m_load.confirmRow(*m_row); });
    if (posted) {
        QDialog::accept();
        return;
    }
    if (m_row->serials())
        showSerials(); // a failed write gave the serials back
}

void TCaricoDialogo::reject()
{
    if (result() != QDialog::Accepted)
        core::runGuarded(m_dialogs, [&] { m_load.cancelRow(*m_row); });
    QDialog::reject();
}

// ---------------------------------------------------------------------------------------------
// TCarico

TCarico::TCarico(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.session, environment.paths, environment.dialogs,
              environment.navigator, environment.reports)
{
    resize(1100, 680);
    m_logic.setCompanyHeading(companyHeading(environment));

    // Header.
    m_supplier = new QLineEdit(this);
    m_supplier->setObjectName(QStringLiteral("fornitore"));
    m_supplier->setReadOnly(true);
    m_supplier->setPlaceholderText(QStringLiteral("Scegliere il fornitore"));
    QPushButton* chooseSupplier = pageButton(QStringLiteral("Fornitore..."), QStringLiteral("scegliforn"));
    m_warehouse = new QComboBox(this);
    m_warehouse->setObjectName(QStringLiteral("magazzino"));
    m_number = new QLabel(this);
    m_number->setStyleSheet(QStringLiteral("font-size: 12pt; font-weight: bold; color: #1f4e79;"));
    m_docNumber = new QLineEdit(this);
    m_docNumber->setObjectName(QStringLiteral("numdoc"));
    m_docKind = new QLineEdit(this);
    m_docKind->setObjectName(QStringLiteral("tipodoc"));
    m_docDate = dateField(QDate::currentDate(), this);
    m_reason = new QComboBox(this);
    m_reason->setObjectName(QStringLiteral("causale"));
    m_reason->setMinimumWidth(180);
    QPushButton* newReason = pageButton(QStringLiteral("Nuova Causale"), QStringLiteral("nuovacausale"));
    m_payment = new QComboBox(this);
    m_payment->setObjectName(QStringLiteral("pagamento"));
    m_payment->setMinimumWidth(180);

    auto* header = new QGroupBox(QStringLiteral("Documento"), this);
    auto* headerGrid = new QGridLayout(header);
    auto* supplierRow = new QHBoxLayout;
    supplierRow->addWidget(m_supplier, 1);
    supplierRow->addWidget(chooseSupplier);
    headerGrid->addWidget(m_number, 0, 0, 1, 2);
    headerGrid->addWidget(new QLabel(QStringLiteral("Fornitore"), header), 1, 0);
    headerGrid->addLayout(supplierRow, 1, 1);
    headerGrid->addWidget(new QLabel(QStringLiteral("Magazzino"), header), 2, 0);
    headerGrid->addWidget(m_warehouse, 2, 1);
    headerGrid->addWidget(new QLabel(QStringLiteral("Nr. documento"), header), 0, 2);
    headerGrid->addWidget(m_docNumber, 0, 3);
    headerGrid->addWidget(new QLabel(QStringLiteral("Tipo documento"), header), 1, 2);
    headerGrid->addWidget(m_docKind, 1, 3);
    headerGrid->addWidget(new QLabel(QStringLiteral("Data documento"), header), 2, 2);
    headerGrid->addWidget(m_docDate, 2, 3);
    auto* reasonRow = new QHBoxLayout;
    reasonRow->addWidget(m_reason, 1);
    reasonRow->addWidget(newReason);
    headerGrid->addWidget(new QLabel(QStringLiteral("Causale"), header), 0, 4);
    headerGrid->addLayout(reasonRow, 0, 5);
    headerGrid->addWidget(new QLabel(QStringLiteral("Pagamento"), header), 1, 4);
    headerGrid->addWidget(m_payment, 1, 5);
    headerGrid->setColumnStretch(1, 3);
    headerGrid->setColumnStretch(3, 2);
    headerGrid->setColumnStretch(5, 2);

    // Row entry.
    m_barcode = new QLineEdit(this);
    m_barcode->setObjectName(QStringLiteral("edbarcode"));
    m_barcode->setPlaceholderText(QStringLiteral("Leggere il codice a barre"));
    m_searchColumn = new QComboBox(this);
    m_searchColumn->addItems(
        {QStringLiteral("Codice"), QStringLiteral("Descrizione"), QStringLiteral("Codice fornitore")});
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("cerca"));
    m_search->setPlaceholderText(QStringLiteral("Cerca articolo (inizia per...)"));
    QPushButton* picker = pageButton(QStringLiteral("Articoli..."), QStringLiteral("preleva"));
    QPushButton* newItem = pageButton(QStringLiteral("Nuovo articolo"), QStringLiteral("nuovoarticolo"));
    auto* entry = new QHBoxLayout;
    entry->addWidget(new QLabel(QStringLiteral("Barcode"), this));
    entry->addWidget(m_barcode, 2);
    entry->addSpacing(12);
    entry->addWidget(m_searchColumn);
    entry->addWidget(m_search, 2);
    entry->addWidget(picker);
    entry->addWidget(newItem);

    m_model = new RowsTableModel(this);
    m_grid = loadRowGrid(m_model, this);
    m_grid->setObjectName(QStringLiteral("righe"));

    QPushButton* removeRow = pageButton(QStringLiteral("Elimina riga"), QStringLiteral("eliminariga"));
    QPushButton* vary =
        pageButton(QStringLiteral("Aggiuni/Rimuovi Quantità"), QStringLiteral("variaquantita"));
    QPushButton* shipping =
        pageButton(QStringLiteral("Aggiungi spese di spedizione"), QStringLiteral("spedizione"));
    auto* rowCommands = new QHBoxLayout;
    rowCommands->addWidget(removeRow);
    rowCommands->addWidget(vary);
    rowCommands->addWidget(shipping);
    rowCommands->addStretch();
    m_totals = totalsLabel(this);

    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salva"));
    QPushButton* print = pageButton(QStringLiteral("Stampa"), QStringLiteral("stampa"));
    QPushButton* pdf = pageButton(QStringLiteral("Salva PDF"), QStringLiteral("pdf"));
    QPushButton* deadlines = pageButton(QStringLiteral("Scadenze"), QStringLiteral("scadenze"));
    QPushButton* order = pageButton(QStringLiteral("Da ordine fornitore"), QStringLiteral("ordine"));
    order->setEnabled(false);
    order->setToolTip(stock::Carico::unavailableReason());
    m_exit = pageButton(QStringLiteral("Annulla"), QStringLiteral("esci"));
    auto* commands = new QHBoxLayout;
    for (QPushButton* button : {save, print, pdf, deadlines, order})
        commands->addWidget(button);
    commands->addStretch();
    commands->addWidget(m_exit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addLayout(entry);
    layout->addWidget(m_grid, 1);
    layout->addLayout(rowCommands);
    layout->addWidget(m_totals);
    layout->addLayout(commands);

    connect(&m_logic, &stock::Carico::changed, this, &TCarico::showState);
    connect(chooseSupplier, &QPushButton::clicked, this,
            [this] { guarded([&] { m_logic.chooseSupplier(); }); });
    connect(m_warehouse, &QComboBox::textActivated, this,
            [this](const QString& name) { guarded([&] { m_logic.chooseWarehouse(name); }); });
    connect(m_docNumber, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic.setDocumentNumber(text); });
    connect(m_docKind, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic.setDocumentKind(text); });
    connect(m_docDate, &QDateEdit::dateChanged, this,
            [this](const QDate& date) { m_logic.setDocumentDate(date); });
    connect(m_reason, &QComboBox::textActivated, this,
            [this](const QString& text) { m_logic.setReason(text); });
    connect(m_payment, &QComboBox::textActivated, this,
            [this](const QString& text) { m_logic.setPayment(text); });
    connect(newReason, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.addReason(); }); });
    connect(m_barcode, &QLineEdit::returnPressed, this, [this] {
        const QString text = m_barcode->text();
        m_barcode->clear();
        guarded([&] { openRow(m_logic.rowForBarcode(text)); });
    });
    connect(m_search, &QLineEdit::returnPressed, this, &TCarico::searchItem);
    connect(picker, &QPushButton::clicked, this,
            [this] { guarded([&] { openRow(m_logic.rowFromPicker()); }); });
    connect(newItem, &QPushButton::clicked, this,
            [this] { guarded([&] { openRow(m_logic.rowForNewItem()); }); });
    connect(removeRow, &QPushButton::clicked, this, [this] {
        if (const int row = selectedRowId(); row > 0)
            guarded([&] { m_logic.removeRow(row); });
    });
    connect(vary, &QPushButton::clicked, this, [this] {
        if (const int row = selectedRowId(); row > 0)
            guarded([&] { m_logic.varyQuantity(row); });
    });
    connect(shipping, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.addShipping(); }); });
    connect(save, &QPushButton::clicked, this, [this] {
        bool saved = false;
        guarded([&] { saved = m_logic.save(); });
        if (saved) {
            m_closing = true;
            accept();
        }
    });
    connect(print, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.print(); }); });
    connect(deadlines, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.scadenze(); }); });
    connect(pdf, &QPushButton::clicked, this, [this] {
        guarded([&] {
            const QString path = m_logic.savePdf();
            if (!path.isEmpty())
                m_dialogs.information(QStringLiteral("Documento salvato in %1").arg(path));
        });
    });
    connect(m_exit, &QPushButton::clicked, this, &TCarico::reject);

    bool opened = false;
    core::runGuarded(m_dialogs, [&] {
        const bool isNew = request.values.value(QStringLiteral("nuovo")).toBool();
        if (request.key.isNull() || request.key.toInt() <= 0)
            opened = m_logic.openNew();
        else
            opened = m_logic.open(request.key.toInt(),
                                  isNew ? stock::Carico::Mode::New : stock::Carico::Mode::Modify);
        fillCombo(m_reason, m_logic.reasons(), m_logic.fields().causale);
        fillCombo(m_payment, m_logic.payments(), m_logic.fields().tipoPagamento);
        const QSignalBlocker blocker(m_warehouse);
        m_warehouse->addItems(m_logic.warehouses());
    });
    if (!opened) {
        // The load is gone (or could not be made): nothing to show.
        m_closing = true;
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    }
    m_docNumber->setText(m_logic.fields().numDoc);
    m_docKind->setText(m_logic.fields().tipoDoc);
    if (m_logic.fields().dataDoc.isValid())
        m_docDate->setDate(m_logic.fields().dataDoc);
    else
        m_logic.setDocumentDate(m_docDate->date());
    showState();
    m_barcode->setFocus();
}

void TCarico::guarded(const std::function<void()>& command)
{
    core::runGuarded(m_dialogs, command);
}

void TCarico::showState()
{
    const stock::LoadHeader& header = m_logic.header();
    setWindowTitle(m_logic.title());
    m_number->setText(QStringLiteral("Carico nr. %1 del %2")
                          .arg(header.numero)
                          .arg(header.data.toString(QStringLiteral("dd/MM/yyyy"))));
    m_supplier->setText(header.fornitore);
    {
        const QSignalBlocker blocker(m_warehouse);
        m_warehouse->setCurrentIndex(m_warehouse->findText(header.magazzino));
    }
    if (m_reason->currentText() != m_logic.fields().causale)
        fillCombo(m_reason, m_logic.reasons(), m_logic.fields().causale);
    if (m_payment->currentText() != m_logic.fields().tipoPagamento)
        fillCombo(m_payment, m_logic.payments(), m_logic.fields().tipoPagamento);
    const int current = m_grid->currentIndex().row();
    m_model->setRows(m_logic.rows());
    if (m_model->rowCount() > 0)
        m_grid->selectRow(
            qBound(0, current < 0 ? m_model->rowCount() - 1 : current, m_model->rowCount() - 1));
    m_totals->setText(totalsText(header));
    m_exit->setText(m_logic.exitCaption());
    if (m_logic.supplierWanted())
        m_supplier->setFocus();
}

void TCarico::openRow(std::unique_ptr<stock::CaricoDialogo> row)
{
    if (!row)
        return;
    auto* dialog = new TCaricoDialogo(m_dialogs, m_logic, std::move(row), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, m_barcode, [this] { m_barcode->setFocus(); });
    dialog->open();
}

TCaricoDialogo* TCarico::rowDialog() const
{
    return findChild<TCaricoDialogo*>();
}

void TCarico::searchItem()
{
    guarded([&] {
        const core::Rows found = m_logic.searchItems(
            static_cast<stock::LoadItemSearch>(m_searchColumn->currentIndex()), m_search->text());
        if (found.isEmpty()) {
            m_dialogs.warning(QStringLiteral("Articolo non trovato"));
            return;
        }
        int chosen = 0;
        if (found.size() > 1) {
            QStringList options;
            for (const core::Row item : found)
                options << QStringLiteral("%1 - %2").arg(item["CodArticolo"].toString(),
                                                         item["Descrizione"].toString());
            const std::optional<int> option = m_dialogs.chooseOption(
                QStringLiteral("Articoli trovati"), QStringLiteral("Scegliere l'articolo"), options);
            if (!option)
                return;
            chosen = *option;
        }
        m_search->clear();
        openRow(m_logic.rowForItem(found.value(chosen, "ID").toInt()));
    });
}

int TCarico::selectedRowId() const
{
    const int row = m_model->rowOf(m_grid->currentIndex());
    return row < 0 ? 0 : m_model->rows().value(row, "id").toInt();
}

void TCarico::reject()
{
    if (mayClose(m_closing, m_dialogs, [this] { return m_logic.leave(); }))
        Window::reject();
}

// ---------------------------------------------------------------------------------------------
// TCarichi

namespace {

// The operator settles the unmatched lines in TRigheFatturaFornitore.
class LineResolverWindow : public stock::UnmatchedLineResolver
{
public:
    LineResolverWindow(WindowEnvironment& environment, QWidget* parent)
        : m_environment(environment), m_parent(parent)
    {
    }
    std::optional<QList<stock::LineResolution>>
    resolve(const QList<einvoice::SupplierInvoiceLine>& lines) override
    {
        TRigheFatturaFornitore window(m_environment, lines, m_parent);
        if (window.exec() != QDialog::Accepted)
            return std::nullopt;
        return window.logic().decisions();
    }

private:
    WindowEnvironment& m_environment;
    QWidget* m_parent;
};

QString quantityText(const einvoice::SupplierInvoiceLine& line)
{
    return QLocale(QLocale::Italian).toString(line.quantita.value_or(1), 'g', 10);
}

} // namespace

TRigheFatturaFornitore::TRigheFatturaFornitore(WindowEnvironment& environment,
                                               QList<einvoice::SupplierInvoiceLine> lines, QWidget* parent)
    : Window(parent), m_logic(environment.connections.company(), environment.navigator, std::move(lines))
{
    setWindowTitle(QStringLiteral("Righe della fattura senza articolo"));
    resize(940, 420);
    auto* note =
        new QLabel(QStringLiteral("Queste righe della fattura non corrispondono a nessun articolo in "
                                  "anagrafica. Scegliere per ciascuna cosa caricare."),
                   this);
    note->setWordWrap(true);

    m_list = new QTableWidget(int(m_logic.lines().size()), 6, this);
    m_list->setObjectName(QStringLiteral("righe"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Riga"), QStringLiteral("Codice"),
                                       QStringLiteral("Descrizione"), QStringLiteral("Q.tà"),
                                       QStringLiteral("Prezzo"), QStringLiteral("Carica come")});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    for (int i = 0; i < m_logic.lines().size(); ++i) {
        const einvoice::SupplierInvoiceLine& line = m_logic.lines()[i];
        QStringList codes;
        for (const auto& code : line.codici)
            codes.append(code.valore);
        const QStringList cells{QString::number(line.numero), codes.join(QStringLiteral(", ")),
                                line.descrizione, quantityText(line), line.prezzoUnitario.toItalian()};
        for (int column = 0; column < cells.size(); ++column) {
            auto* cell = new QTableWidgetItem(cells[column]);
            if (column == 0 || column >= 3)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_list->setItem(i, column, cell);
        }
    }
    m_list->horizontalHeader()->resizeSection(0, 50);
    m_list->horizontalHeader()->resizeSection(1, 140);
    m_list->horizontalHeader()->resizeSection(2, 300);
    m_list->horizontalHeader()->resizeSection(3, 60);
    m_list->horizontalHeader()->resizeSection(4, 90);
    m_list->horizontalHeader()->setStretchLastSection(true);

    QPushButton* pick = pageButton(QStringLiteral("Scegli articolo"), QStringLiteral("scegli"));
    QPushButton* create = pageButton(QStringLiteral("Crea articolo"), QStringLiteral("crea"));
    QPushButton* skip = pageButton(QStringLiteral("Salta"), QStringLiteral("salta"));
    QPushButton* confirm = pageButton(QStringLiteral("Importa"), QStringLiteral("importa"));
    QPushButton* cancel = pageButton(QStringLiteral("Annulla"), QStringLiteral("annulla"));
    auto* commands = new QHBoxLayout;
    for (QPushButton* button : {pick, create, skip})
        commands->addWidget(button);
    commands->addStretch();
    commands->addWidget(confirm);
    commands->addWidget(cancel);

    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->addWidget(note);
    mainLayout->addWidget(m_list, 1);
    mainLayout->addLayout(commands);

    onClickGuarded(pick, environment.dialogs, [this] {
        m_logic.pickItem(selectedLine());
        showDecisions();
    });
    connect(create, &QPushButton::clicked, this, [this] {
        m_logic.createItem(selectedLine());
        showDecisions();
    });
    connect(skip, &QPushButton::clicked, this, [this] {
        m_logic.skip(selectedLine());
        showDecisions();
    });
    connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    showDecisions();
    if (m_list->rowCount() > 0)
        m_list->selectRow(0);
}

void TRigheFatturaFornitore::showDecisions()
{
    for (int i = 0; i < m_list->rowCount(); ++i)
        m_list->setItem(i, 5, new QTableWidgetItem(m_logic.decisionText(i)));
}

int TRigheFatturaFornitore::selectedLine() const
{
    return m_list->currentRow();
}

TCarichi::TCarichi(WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent)
    : Window(parent), m_environment(environment), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.session, environment.paths, environment.dialogs,
              environment.navigator, environment.reports)
{
    setWindowTitle(QStringLiteral("Carichi di Magazzino"));
    resize(1180, 600);
    m_logic.setCompanyHeading(companyHeading(environment));

    m_by = new QComboBox(this);
    m_by->setObjectName(QStringLiteral("cercaper"));
    m_by->addItems({QStringLiteral("Numero carico"), QStringLiteral("Numero documento fornitore")});
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("testo"));
    m_useYear = new QCheckBox(QStringLiteral("Anno"), this);
    m_useYear->setObjectName(QStringLiteral("usaanno"));
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("anno"));
    m_year->setRange(2000, 2100);
    m_year->setValue(QDate::currentDate().year());
    m_year->setEnabled(false);
    QPushButton* find = pageButton(QStringLiteral("Cerca"), QStringLiteral("cerca"));
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Cerca per"), this));
    searchRow->addWidget(m_by);
    searchRow->addWidget(m_text, 1);
    searchRow->addWidget(m_useYear);
    searchRow->addWidget(m_year);
    searchRow->addWidget(find);

    ListPanel::Grid grid{.objectName = QStringLiteral("carichi"),
                         .layoutWord = stock::Carichi::layoutWord(),
                         .keyColumn = QStringLiteral("idCarico"),
                         .columns = {{QStringLiteral("NumeroCarico"), QStringLiteral("Nr.")},
                                     {QStringLiteral("data"), QStringLiteral("Data")},
                                     {QStringLiteral("Fornitore"), QStringLiteral("Fornitore")},
                                     {QStringLiteral("TipoDoc"), QStringLiteral("Tipo doc.")},
                                     {QStringLiteral("NumDoc"), QStringLiteral("Nr. doc.")},
                                     {QStringLiteral("Datadoc"), QStringLiteral("Data doc.")},
                                     {QStringLiteral("Causale"), QStringLiteral("Causale")},
                                     {QStringLiteral("Magazzino"), QStringLiteral("Magazzino")},
                                     {QStringLiteral("totalearticoli"), QStringLiteral("Pezzi")},
                                     {QStringLiteral("totaledocumento"), QStringLiteral("Totale"), true},
                                     {QStringLiteral("Operatore"), QStringLiteral("Operatore")}},
                         .widths = {50, 90, 210, 80, 90, 90, 120, 160, 55, 90}};
    m_list = new ListPanel(
        environment, std::move(grid), [this] { return m_logic.rows(); }, std::nullopt, this);

    QPushButton* newLoad = pageButton(QStringLiteral("Nuovo"), QStringLiteral("nuovo"));
    QPushButton* modify = pageButton(QStringLiteral("Modifica"), QStringLiteral("modifica"));
    QPushButton* remove = pageButton(QStringLiteral("Elimina"), QStringLiteral("elimina"));
    QPushButton* print = pageButton(QStringLiteral("Stampa"), QStringLiteral("stampa"));
    QPushButton* importFile =
        pageButton(QStringLiteral("Importa fattura elettronica"), QStringLiteral("importafattura"));
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));

    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->addLayout(searchRow);
    mainLayout->addWidget(m_list, 1);
    mainLayout->addLayout(listCommands({{newLoad, modify, remove, print, importFile}}, exit));

    connect(m_useYear, &QCheckBox::toggled, m_year, &QWidget::setEnabled);
    connect(find, &QPushButton::clicked, this, &TCarichi::search);
    connect(m_text, &QLineEdit::returnPressed, this, &TCarichi::search);
    m_list->onClick(newLoad, [this] { m_logic.newLoad(); });
    m_list->onSelected(modify, [this](int id) { m_logic.modify(id); });
    m_list->onOpened([this](int id) { m_logic.modify(id); });
    m_list->onSelected(remove, [this](int id) { m_logic.deleteLoad(id); });
    onClickGuarded(print, m_dialogs, [this] { m_logic.print(m_list->selectedKey()); });
    m_list->onClick(importFile, [this] { importEInvoice(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    m_list->run([&] { m_logic.search(stock::Carichi::SearchBy::LoadNumber, QString()); });
    m_text->setFocus();
}

QTableView* TCarichi::grid() const
{
    return m_list->grid();
}

void TCarichi::search()
{
    const auto by = m_by->currentIndex() == 0 ? stock::Carichi::SearchBy::LoadNumber
                                              : stock::Carichi::SearchBy::DocumentNumber;
    const std::optional<int> year =
        m_useYear->isChecked() ? std::optional<int>(m_year->value()) : std::nullopt;
    m_list->run([&] { m_logic.search(by, m_text->text(), year); });
}

void TCarichi::importEInvoice()
{
    LineResolverWindow resolver(m_environment, this);
    stock::SupplierInvoiceImport import(m_environment.connections.company(), m_environment.session,
                                        m_dialogs);
    import.runJobsWith(backgroundJobRunner(this), m_environment.connections.companySettings());
    const QList<int> loads = import.chooseAndImport(resolver);
    m_logic.refresh();
    m_list->showRows();
    if (!loads.isEmpty())
        m_logic.modify(loads.first());
}

// ---------------------------------------------------------------------------------------------
// TCaricoSpeed

TCaricoSpeed::TCaricoSpeed(WindowEnvironment& environment, const core::NavigationRequest& request,
                           QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.session, environment.paths, environment.dialogs,
              environment.navigator, environment.reports)
{
    setWindowTitle(QStringLiteral("Carico Veloce"));
    resize(940, 600);

    m_supplier = new QLineEdit(this);
    m_supplier->setObjectName(QStringLiteral("fornitore"));
    m_supplier->setReadOnly(true);
    m_supplier->setPlaceholderText(QStringLiteral("Scegliere il fornitore"));
    QPushButton* chooseSupplier = pageButton(QStringLiteral("Fornitore..."), QStringLiteral("scegliforn"));
    m_payment = new QComboBox(this);
    m_payment->setObjectName(QStringLiteral("pagamento"));
    m_payment->setMinimumWidth(200);
    auto* header = new QHBoxLayout;
    header->addWidget(new QLabel(QStringLiteral("Fornitore"), this));
    header->addWidget(m_supplier, 1);
    header->addWidget(chooseSupplier);
    header->addSpacing(16);
    header->addWidget(new QLabel(QStringLiteral("Pagamento"), this));
    header->addWidget(m_payment);

    m_barcode = new QLineEdit(this);
    m_barcode->setObjectName(QStringLiteral("barcode"));
    m_barcode->setPlaceholderText(QStringLiteral("Leggere il codice a barre"));
    m_barcode->setStyleSheet(QStringLiteral("font-size: 14pt;"));
    m_description = new QLabel(this);
    m_description->setStyleSheet(QStringLiteral("font-size: 12pt; font-weight: bold; color: #1f4e79;"));
    m_cost = new QLineEdit(this);
    m_cost->setObjectName(QStringLiteral("prezzo"));
    m_cost->setMaximumWidth(140);
    m_cost->setAlignment(Qt::AlignRight);
    m_quantity = new QLineEdit(this);
    m_quantity->setObjectName(QStringLiteral("quantita"));
    m_quantity->setMaximumWidth(100);
    m_quantity->setAlignment(Qt::AlignRight);
    QPushButton* add = pageButton(QStringLiteral("Aggiungi"), QStringLiteral("aggiungi"));
    auto* scan = new QGroupBox(QStringLiteral("Articolo"), this);
    auto* scanLayout = new QGridLayout(scan);
    scanLayout->addWidget(new QLabel(QStringLiteral("Barcode"), scan), 0, 0);
    scanLayout->addWidget(m_barcode, 0, 1, 1, 5);
    scanLayout->addWidget(m_description, 1, 0, 1, 6);
    scanLayout->addWidget(new QLabel(QStringLiteral("Prezzo di acquisto €"), scan), 2, 0);
    scanLayout->addWidget(m_cost, 2, 1);
    scanLayout->addWidget(new QLabel(QStringLiteral("Quantità"), scan), 2, 2);
    scanLayout->addWidget(m_quantity, 2, 3);
    scanLayout->addWidget(add, 2, 4);
    scanLayout->setColumnStretch(5, 1);

    m_model = new RowsTableModel(this);
    m_grid = loadRowGrid(m_model, this);
    m_totals = totalsLabel(this);

    QPushButton* removeRow = pageButton(QStringLiteral("Elimina riga"), QStringLiteral("eliminariga"));
    QPushButton* image = pageButton(QStringLiteral("Acquisisci documento"), QStringLiteral("acquisisci"));
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salva"));
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));
    auto* commands = new QHBoxLayout;
    commands->addWidget(removeRow);
    commands->addWidget(image);
    commands->addStretch();
    commands->addWidget(save);
    commands->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(scan);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_totals);
    layout->addLayout(commands);

    stock::Carico& load = m_logic.load();
    connect(&m_logic, &stock::CaricoSpeed::changed, this, &TCaricoSpeed::showState);
    connect(chooseSupplier, &QPushButton::clicked, this,
            [this] { guarded([&] { m_logic.load().chooseSupplier(); }); });
    connect(m_payment, &QComboBox::textActivated, this,
            [this](const QString& text) { m_logic.load().setPayment(text); });
    connect(m_barcode, &QLineEdit::returnPressed, this, [this] {
        bool found = false;
        guarded([&] { found = m_logic.scan(m_barcode->text()); });
        if (found)
            (m_cost->text().isEmpty() ? m_cost : m_quantity)->setFocus();
    });
    const auto addRow = [this] {
        m_logic.setCostText(m_cost->text());
        m_logic.setQuantityText(m_quantity->text());
        bool added = false;
        guarded([&] { added = m_logic.addRow(); });
        if (std::unique_ptr<stock::CaricoDialogo> tracked = m_logic.takeTrackedRow()) {
            // Serials, a lot or sizes and colours are entered on the row dialog, as in the load window.
            guarded([&] {
                TCaricoDialogo dialog(m_dialogs, m_logic.load(), std::move(tracked), this);
                added = dialog.exec() == QDialog::Accepted;
                if (added)
                    m_logic.clearScan();
            });
        }
        if (added) {
            m_barcode->clear();
            m_barcode->setFocus();
        }
    };
    connect(add, &QPushButton::clicked, this, addRow);
    connect(m_cost, &QLineEdit::returnPressed, this, addRow);
    connect(m_quantity, &QLineEdit::returnPressed, this, addRow);
    connect(removeRow, &QPushButton::clicked, this, [this] {
        const int row = m_model->rowOf(m_grid->currentIndex());
        if (row >= 0)
            guarded([&] { m_logic.load().removeRow(m_model->rows().value(row, "id").toInt()); });
    });
    connect(image, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.attachImage(); }); });
    connect(save, &QPushButton::clicked, this, [this] {
        bool saved = false;
        guarded([&] { saved = m_logic.save(); });
        if (saved) {
            m_closing = true;
            accept();
        }
    });
    connect(exit, &QPushButton::clicked, this, &TCaricoSpeed::reject);

    bool opened = false;
    core::runGuarded(m_dialogs, [&] {
        opened = m_logic.open(request.key.toInt());
        fillCombo(m_payment, load.payments(), load.fields().tipoPagamento);
    });
    if (!opened) {
        m_closing = true;
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    }
    showState();
    m_barcode->setFocus();
}

void TCaricoSpeed::guarded(const std::function<void()>& command)
{
    core::runGuarded(m_dialogs, command);
}

void TCaricoSpeed::showState()
{
    stock::Carico& load = m_logic.load();
    m_supplier->setText(load.header().fornitore);
    if (m_payment->currentText() != load.fields().tipoPagamento)
        fillCombo(m_payment, load.payments(), load.fields().tipoPagamento);
    m_description->setText(m_logic.currentDescription());
    m_cost->setText(m_logic.costText());
    m_quantity->setText(m_logic.quantityText());
    m_model->setRows(load.rows());
    m_totals->setText(totalsText(load.header()));
}

void TCaricoSpeed::reject()
{
    if (mayClose(m_closing, m_dialogs, [this] { return m_logic.leave(); }))
        Window::reject();
}

} // namespace carvendo::ui
