#include "ui/pos/TPosClassic.h"

#include "foundation/CashRegisters.h"
#include "pos/FileReceiptDriver.h"
#include "registry/RegistryKind.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"
#include "ui/pos/PosCashPage.h"
#include "ui/pos/SaleRowsModel.h"
#include "ui/pos/TillWidgets.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "core/Paths.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

std::unique_ptr<pos::ReceiptPrinter> fiscalDriver(WindowEnvironment& environment)
{
    const foundation::CashRegisterSettings cashRegister =
        foundation::CashRegisters(environment.connections.company(), environment.paths.impostazioniIni())
            .load();
    return std::make_unique<pos::FileReceiptDriver>(
        environment.paths.receiptsDir(), environment.paths.fiscalDriverDir(cashRegister.cartellaLavoro));
}

} // namespace

TPosClassic::TPosClassic(WindowEnvironment& environment, QWidget* parent)
    : Window(parent), m_environment(environment), m_printer(fiscalDriver(environment)),
      m_logic(std::make_unique<pos::PosClassic>(
          pos::PosClassic::Context{environment.connections.company(), environment.dialogs,
                                   environment.navigator, environment.session, environment.paths,
                                   environment.clock, *m_printer},
          pos::TillSettings::read(environment.paths.impostazioniIni())))
{
    setWindowTitle(QStringLiteral("Vendita al banco"));
    setObjectName(QStringLiteral("TPosClassic"));

    m_pages = new QStackedWidget;
    m_pages->addWidget(buildSalePage());
    m_cashPage = new PosCashPage(*m_logic, environment.dialogs);
    m_pages->addWidget(m_cashPage);
    m_pages->addWidget(buildCustomersPage());
    m_pages->addWidget(buildSuspendedPage());
    m_pages->addWidget(buildItemsPage());

    auto* body = new QHBoxLayout;
    body->addWidget(m_pages, 1);
    body->addWidget(buildSidePanel());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildHeader());
    layout->addLayout(body, 1);
    resize(1180, 720);

    connect(m_logic.get(), &pos::PosClassic::changed, this, &TPosClassic::render);
    connect(m_logic.get(), &pos::PosClassic::scannerFocus, this, &TPosClassic::focusScanner);
    connect(m_logic.get(), &pos::PosClassic::customersChanged, this,
            [this] { m_customerRows->setRows(m_logic->customers().rows()); });
    connect(m_logic.get(), &pos::PosClassic::itemsChanged, this,
            [this] { m_itemRows->setRows(m_logic->items().rows()); });
    connect(m_logic.get(), &pos::PosClassic::suspendedChanged, this, &TPosClassic::renderSuspended);
    m_logic->open();
    render();
}

TPosClassic::~TPosClassic() = default;

QLineEdit* TPosClassic::received() const
{
    return m_cashPage->received();
}

QPushButton* TPosClassic::button(const QString& caption, const char* name, void (TPosClassic::*command)())
{
    return tillButton(caption, QString::fromLatin1(name), m_environment.dialogs,
                      [this, command] { (this->*command)(); });
}

void TPosClassic::guarded(const std::function<void()>& command)
{
    core::runGuarded(m_environment.dialogs, command);
}

QWidget* TPosClassic::buildHeader()
{
    auto* header = new QFrame;
    header->setFrameShape(QFrame::StyledPanel);
    m_operatorName = new QLabel;
    m_operatorName->setObjectName(QStringLiteral("operatore"));
    m_operatorName->setFont(scaledFont(m_operatorName->font(), 1.2, true));
    m_operatorState = new QLabel;
    m_operatorState->setObjectName(QStringLiteral("stato"));
    m_connectionTime = new QLabel;
    m_connectionTime->setObjectName(QStringLiteral("tempoConnessione"));
    m_customer = new QLabel;
    m_customer->setObjectName(QStringLiteral("cliente"));
    m_customer->setFont(scaledFont(m_customer->font(), 1.2, true));
    m_loginButton = button(QStringLiteral("Login"), "login", &TPosClassic::logInOrOut);
    m_loginButton->setMinimumWidth(90);

    auto* layout = new QHBoxLayout(header);
    layout->addWidget(new QLabel(QStringLiteral("Operatore:")));
    layout->addWidget(m_operatorName);
    layout->addSpacing(16);
    layout->addWidget(m_operatorState);
    layout->addSpacing(16);
    layout->addWidget(new QLabel(QStringLiteral("Tempo di connessione:")));
    layout->addWidget(m_connectionTime);
    layout->addWidget(m_loginButton);
    layout->addStretch();
    layout->addWidget(new QLabel(QStringLiteral("Cliente:")));
    layout->addWidget(m_customer);
    return header;
}

QWidget* TPosClassic::buildSalePage()
{
    m_scanner = namedField(QStringLiteral("ricercaBarcode"));
    m_scanner->setPlaceholderText(QStringLiteral("Barcode o seriale, poi Invio"));
    m_scanner->setFont(scaledFont(m_scanner->font(), 1.6));
    connect(m_scanner, &QLineEdit::returnPressed, this, [this] { guarded([this] { scan(); }); });

    m_rows = new SaleRowsModel(this);
    m_rows->setEditor([this](int row, int quantity, int discount, core::Money price) {
        guarded([&] { m_logic->editRow(row, quantity, discount, price); });
    });
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("righe"));
    m_grid->setModel(m_rows);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->verticalHeader()->hide();
    m_grid->setFont(scaledFont(m_grid->font(), 1.25));
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 12);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setSectionResizeMode(SaleRowsModel::Descrizione, QHeaderView::Stretch);
    m_grid->horizontalHeader()->setMinimumSectionSize(90);

    auto* scanRow = new QHBoxLayout;
    auto* scanLabel = new QLabel(QStringLiteral("Ricerca barcode"));
    scanLabel->setFont(scaledFont(scanLabel->font(), 1.2, true));
    scanRow->addWidget(scanLabel);
    scanRow->addWidget(m_scanner, 1);
    scanRow->addWidget(
        button(QStringLiteral("Ricerca avanzata"), "ricercaAvanzata", &TPosClassic::advancedSearch));
    QPushButton* remove = button(QStringLiteral("F6 Rimuovi riga"), "rimuoviRiga", &TPosClassic::removeRow);
    m_needRows << remove;
    scanRow->addWidget(remove);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(scanRow);
    layout->addWidget(m_grid, 1);
    return page;
}

QWidget* TPosClassic::buildCustomersPage()
{
    m_customerSearch = namedField(QStringLiteral("ricercaCliente"));
    connect(m_customerSearch, &QLineEdit::returnPressed, this,
            [this] { guarded([this] { findCustomers(); }); });
    const registry::RegistryKind& kind = registry::RegistryKind::customers();
    m_customerRows = new RowsTableModel(this);
    // The registry list's columns but its key, which the rows keep for the choice.
    QList<RowsTableModel::Column> columns;
    for (qsizetype i = 1; i < kind.gridColumns.size(); ++i)
        columns.append({kind.gridColumns.at(i), kind.gridCaptions.value(i)});
    m_customerRows->setColumns(columns);
    m_customerGrid = readOnlyGrid(m_customerRows, this);
    m_customerGrid->setObjectName(QStringLiteral("clienti"));
    m_customerGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_customerGrid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(m_customerGrid, &QTableView::doubleClicked, this,
            [this] { guarded([this] { chooseCustomer(); }); });

    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Ragione sociale")));
    search->addWidget(m_customerSearch, 1);
    for (QPushButton* command :
         {button(QStringLiteral("Cerca"), "cercaClienti", &TPosClassic::findCustomers),
          button(QStringLiteral("Tutti"), "tuttiClienti", &TPosClassic::allCustomers),
          button(QStringLiteral("Azzera"), "azzeraCliente", &TPosClassic::clearCustomers)})
        search->addWidget(command);
    auto* commands = new QHBoxLayout;
    for (QPushButton* command :
         {button(QStringLiteral("Conferma"), "confermaCliente", &TPosClassic::chooseCustomer),
          button(QStringLiteral("Storico"), "storico", &TPosClassic::customerHistory),
          notYetButton(QStringLiteral("Fidelity"), QStringLiteral("fidelity")),
          button(QStringLiteral("Nuovo"), "nuovoCliente", &TPosClassic::newCustomer),
          button(QStringLiteral("Modifica"), "modificaCliente", &TPosClassic::editCustomer),
          notYetButton(QStringLiteral("Sospesi"), QStringLiteral("sospesiCliente"))})
        commands->addWidget(command);
    commands->addStretch();

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(search);
    layout->addWidget(m_customerGrid, 1);
    layout->addLayout(commands);
    return page;
}

QWidget* TPosClassic::buildSuspendedPage()
{
    m_suspended = new QStandardItemModel(this);
    m_suspended->setHorizontalHeaderLabels(
        {QStringLiteral("Numero"), QStringLiteral("Data"), QStringLiteral("Totale")});
    m_suspendedGrid = readOnlyGrid(m_suspended, this);
    m_suspendedGrid->setObjectName(QStringLiteral("sospese"));
    m_suspendedGrid->horizontalHeader()->setStretchLastSection(true);
    connect(m_suspendedGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { guarded([this] { showSuspendedRows(); }); });
    m_suspendedRows = new SaleRowsModel(this);
    QTableView* rows = readOnlyGrid(m_suspendedRows, this);
    rows->horizontalHeader()->setSectionResizeMode(SaleRowsModel::Descrizione, QHeaderView::Stretch);

    auto* lists = new QHBoxLayout;
    lists->addWidget(m_suspendedGrid, 1);
    lists->addWidget(rows, 2);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Vendite in sospeso")));
    layout->addLayout(lists, 1);
    layout->addLayout(buttonRow({button(QStringLiteral("Riprendi vendita selezionata"), "riprendiSelezionata",
                                        &TPosClassic::resumeSelected)}));
    return page;
}

QWidget* TPosClassic::buildItemsPage()
{
    m_itemDescription = namedField(QStringLiteral("descrizioneArticolo"));
    m_itemCode = namedField(QStringLiteral("codiceArticolo"));
    for (QLineEdit* field : {m_itemDescription, m_itemCode})
        connect(field, &QLineEdit::returnPressed, this, [this] { guarded([this] { findItems(); }); });
    m_itemRows = new RowsTableModel(this);
    // What the counter needs of an item: how it is known, what it costs, whether it is in stock.
    m_itemRows->setColumns({{QStringLiteral("CodArticolo"), QStringLiteral("Codice")},
                            {QStringLiteral("BarcodeFull"), QStringLiteral("Barcode")},
                            {QStringLiteral("Descrizione"), QStringLiteral("Descrizione")},
                            {QStringLiteral("Pubblico"), QStringLiteral("Prezzo"), true},
                            {QStringLiteral("Giacenza"), QStringLiteral("Giacenza")},
                            {QStringLiteral("Disponibilita"), QStringLiteral("Disponibilità")}});
    m_itemGrid = readOnlyGrid(m_itemRows, this);
    m_itemGrid->setObjectName(QStringLiteral("articoli"));
    m_itemGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_itemGrid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    connect(m_itemGrid, &QTableView::doubleClicked, this, [this] { guarded([this] { confirmItem(); }); });

    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Descrizione")));
    search->addWidget(m_itemDescription, 2);
    search->addWidget(new QLabel(QStringLiteral("Codice")));
    search->addWidget(m_itemCode, 1);
    for (QPushButton* command :
         {button(QStringLiteral("Cerca"), "cercaArticoli", &TPosClassic::findItems),
          button(QStringLiteral("Tutti"), "tuttiArticoli", &TPosClassic::allItems),
          button(QStringLiteral("Pulisci"), "pulisciArticoli", &TPosClassic::clearItems)})
        search->addWidget(command);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(search);
    layout->addWidget(m_itemGrid, 1);
    layout->addLayout(
        buttonRow({button(QStringLiteral("Nuovo Articolo"), "nuovoArticolo", &TPosClassic::newItem),
                   button(QStringLiteral("Conferma"), "confermaArticolo", &TPosClassic::confirmItem),
                   button(QStringLiteral("Conferma e chiudi"), "confermaChiudiArticolo",
                          &TPosClassic::confirmItemAndClose)}));
    return page;
}

QWidget* TPosClassic::buildSidePanel()
{
    auto* totalBox = new QFrame;
    totalBox->setFrameShape(QFrame::StyledPanel);
    totalBox->setStyleSheet(QStringLiteral("QFrame { background: #10243e; } QLabel { color: #f4f7fb; }"));
    m_total = new QLabel;
    m_total->setObjectName(QStringLiteral("totale"));
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_total->setFont(scaledFont(m_total->font(), 3.0, true));
    m_itemCount = new QLabel;
    m_itemCount->setObjectName(QStringLiteral("totaleArticoli"));
    m_itemCount->setAlignment(Qt::AlignRight);
    auto* totalLayout = new QVBoxLayout(totalBox);
    totalLayout->addWidget(new QLabel(QStringLiteral("TOTALE")));
    totalLayout->addWidget(m_total);
    totalLayout->addWidget(m_itemCount);

    QPushButton* toCash = button(QStringLiteral("F2 Vai alla cassa"), "vaiAllaCassa", &TPosClassic::goToCash);
    QPushButton* quick =
        button(QStringLiteral("F3 Scontrino rapido"), "scontrinoRapido", &TPosClassic::quickReceipt);
    m_suspendButton = button(QStringLiteral("F4 Sospendi"), "sospendi", &TPosClassic::suspend);
    m_resumeButton = button(QStringLiteral("F5 Riprendi"), "riprendi", &TPosClassic::resumePage);
    QPushButton* discount =
        button(QStringLiteral("Sconto su totale"), "scontoSuTotale", &TPosClassic::discountOnTotal);
    QPushButton* onHold = button(QStringLiteral("Sospeso"), "sospeso", &TPosClassic::focusScanner);
    m_needRows << toCash << quick << discount << onHold;

    auto* panel = new QWidget;
    panel->setFixedWidth(300);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(totalBox);
    for (QPushButton* command :
         {toCash, quick, m_suspendButton, m_resumeButton, discount, onHold,
          button(QStringLiteral("F7 Clienti"), "clientiPagina", &TPosClassic::customersPage),
          button(QStringLiteral("F11 Articoli"), "articoliPagina", &TPosClassic::itemsPage),
          button(QStringLiteral("F10 Nuova"), "nuova", &TPosClassic::newSale),
          button(QStringLiteral("Esc Vendita in corso"), "venditaInCorso", &TPosClassic::backToSale)}) {
        command->setMinimumHeight(40);
        layout->addWidget(command);
    }
    toCash->setFont(scaledFont(toCash->font(), 1.2, true));
    toCash->setMinimumHeight(56);
    layout->addStretch();
    QPushButton* close = button(QStringLiteral("Chiudi"), "chiudi", &TPosClassic::closeTill);
    close->setMinimumHeight(40);
    layout->addWidget(close);
    return panel;
}

void TPosClassic::render()
{
    const pos::PosClassic& logic = *m_logic;
    const pos::TillOperator& till = logic.tillOperator();
    m_operatorName->setText(till.isLoggedIn() ? till.name() : QStringLiteral("-"));
    m_operatorState->setText(till.state());
    m_connectionTime->setText(till.connectionTime());
    m_loginButton->setText(till.isLoggedIn() ? QStringLiteral("Logout") : QStringLiteral("Login"));
    m_customer->setText(logic.customerName().isEmpty() ? QStringLiteral("Cliente al banco")
                                                       : logic.customerName());

    const pos::SaleTotals& totals = logic.sale().totals();
    m_total->setText(QStringLiteral("€ ") + totals.totaleConto.toItalian());
    m_itemCount->setText(QStringLiteral("Articoli: %1").arg(totals.totaleArticoli));
    m_rows->setRows(logic.rows());
    for (QPushButton* command : std::as_const(m_needRows))
        command->setEnabled(logic.hasRows());
    m_suspendButton->setEnabled(logic.canSuspendOrResume());
    // The suspended sales stay reachable from an empty sale: the one a suspension leaves behind.
    m_resumeButton->setEnabled(logic.canSuspendOrResume());

    m_pages->setCurrentIndex(int(logic.page()));
    m_cashPage->render();
}

void TPosClassic::renderSuspended()
{
    m_suspended->removeRows(0, m_suspended->rowCount());
    for (const pos::SuspendedSale& sale : m_logic->suspendedSales())
        m_suspended->appendRow({new QStandardItem(QString::number(sale.id)),
                                new QStandardItem(sale.date.toString(QStringLiteral("dd/MM/yyyy"))),
                                new QStandardItem(sale.total.toItalian())});
    if (m_suspended->rowCount() > 0 && !m_suspendedGrid->currentIndex().isValid())
        m_suspendedGrid->setCurrentIndex(m_suspended->index(0, 0));
    showSuspendedRows();
}

void TPosClassic::showSuspendedRows()
{
    const int row = m_suspendedGrid->currentIndex().row();
    const QList<pos::SuspendedSale>& sales = m_logic->suspendedSales();
    m_suspendedRows->setRows(row >= 0 && row < sales.size() ? m_logic->suspendedRows(sales.at(row).id)
                                                            : QList<pos::SaleRow>());
}

int TPosClassic::selectedRow(QTableView* grid) const
{
    return grid->currentIndex().isValid() ? grid->currentIndex().row() : -1;
}

int TPosClassic::selectedKey(QTableView* grid, const QString& keyColumn) const
{
    const int row = selectedRow(grid);
    const auto* model = static_cast<const RowsTableModel*>(grid->model());
    if (row < 0 || row >= model->rows().size())
        return 0;
    return model->rows().value(row, keyColumn).toInt();
}

void TPosClassic::scan()
{
    m_logic->addByBarcode(m_scanner->text());
    m_scanner->clear();
}

void TPosClassic::resumeSelected()
{
    const int row = selectedRow(m_suspendedGrid);
    const QList<pos::SuspendedSale>& sales = m_logic->suspendedSales();
    m_logic->resume(row >= 0 && row < sales.size() ? sales.at(row).id : 0);
}

void TPosClassic::focusScanner()
{
    if (m_logic->page() == pos::PosPage::Vendita) {
        m_scanner->setFocus();
        m_scanner->selectAll();
    }
}

void TPosClassic::customersPage()
{
    m_logic->showCustomers();
    m_customerSearch->setFocus();
}

void TPosClassic::itemsPage()
{
    m_logic->showItems();
    m_itemDescription->setFocus();
}

void TPosClassic::findCustomers()
{
    m_logic->findCustomers(m_customerSearch->text());
}

void TPosClassic::allCustomers()
{
    m_customerSearch->clear();
    m_logic->allCustomers();
}

void TPosClassic::clearCustomers()
{
    m_customerSearch->clear();
    m_logic->clearCustomers();
}

void TPosClassic::chooseCustomer()
{
    m_logic->chooseCustomer(selectedKey(m_customerGrid, registry::RegistryKind::customers().key));
}

void TPosClassic::editCustomer()
{
    m_logic->editCustomer(selectedKey(m_customerGrid, registry::RegistryKind::customers().key));
}

void TPosClassic::customerHistory()
{
    m_logic->customerHistory(selectedKey(m_customerGrid, registry::RegistryKind::customers().key));
}

void TPosClassic::findItems()
{
    m_logic->findItems(m_itemDescription->text(), m_itemCode->text());
}

void TPosClassic::allItems()
{
    m_logic->findItems({}, {});
}

void TPosClassic::clearItems()
{
    m_itemDescription->clear();
    m_itemCode->clear();
    m_logic->clearItems();
    m_itemDescription->setFocus();
}

void TPosClassic::closeTill()
{
    reject();
}

void TPosClassic::reject()
{
    // The open sale goes with the window: its serials and cells come back to stock.
    if (!m_closing && !core::runGuarded(m_environment.dialogs, [this] { m_logic->closeWindow(); }))
        return;
    m_closing = true;
    Window::reject();
}

void TPosClassic::showEvent(QShowEvent* event)
{
    Window::showEvent(event);
    focusScanner();
}

void TPosClassic::keyPressEvent(QKeyEvent* event)
{
    // A key presses its button, so it does what the button does and nothing while it is disabled.
    static const QHash<int, QString> keys{
        {Qt::Key_F2, QStringLiteral("vaiAllaCassa")},     {Qt::Key_F3, QStringLiteral("scontrinoRapido")},
        {Qt::Key_F4, QStringLiteral("sospendi")},         {Qt::Key_F5, QStringLiteral("riprendi")},
        {Qt::Key_F6, QStringLiteral("rimuoviRiga")},      {Qt::Key_F7, QStringLiteral("clientiPagina")},
        {Qt::Key_F8, QStringLiteral("scontrinoFiscale")}, {Qt::Key_F9, QStringLiteral("confermaScarico")},
        {Qt::Key_F10, QStringLiteral("nuova")},           {Qt::Key_F11, QStringLiteral("articoliPagina")},
        {Qt::Key_F12, QStringLiteral("fattura")},         {Qt::Key_Escape, QStringLiteral("venditaInCorso")}};
    QPushButton* pressed =
        keys.contains(event->key()) ? findChild<QPushButton*>(keys.value(event->key())) : nullptr;
    if (!pressed) {
        Window::keyPressEvent(event);
        return;
    }
    event->accept();
    pressed->click();
}

} // namespace carvendo::ui
