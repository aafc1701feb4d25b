#include "ui/pos/TPosClassic.h"

#include "foundation/CashRegisters.h"
#include "pos/FileReceiptDriver.h"
#include "registry/RegistryKind.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"
#include "ui/pos/SaleRowsModel.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "core/Paths.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

const QString kNotAvailable = pos::PosClassic::notAvailableMessage();

QFont scaled(QFont font, double factor, bool bold = false)
{
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

std::unique_ptr<pos::ReceiptPrinter> fiscalDriver(WindowEnvironment& environment)
{
    const foundation::CashRegisterSettings cashRegister =
        foundation::CashRegisters(environment.connections.company(), environment.paths.impostazioniIni())
            .load();
    return std::make_unique<pos::FileReceiptDriver>(
        environment.paths.receiptsDir(), environment.paths.fiscalDriverDir(cashRegister.cartellaLavoro));
}

// A button that is there but does nothing yet: disabled, saying so.
QPushButton* notYetButton(const QString& caption, const QString& objectName)
{
    QPushButton* button = pageButton(caption, objectName);
    button->setEnabled(false);
    button->setToolTip(kNotAvailable);
    return button;
}

QLineEdit* namedField(const QString& objectName)
{
    auto* field = new QLineEdit;
    field->setObjectName(objectName);
    return field;
}

core::Money moneyOf(const QLineEdit* field)
{
    return core::Money::parse(field->text().trimmed()).value_or(core::Money());
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
    m_pages->addWidget(buildCashPage());
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

QPushButton* TPosClassic::button(const QString& caption, const char* name, void (TPosClassic::*command)())
{
    QPushButton* pushButton = pageButton(caption, QString::fromLatin1(name));
    pushButton->setFocusPolicy(Qt::NoFocus); // the scanner field keeps the focus
    connect(pushButton, &QPushButton::clicked, this,
            [this, command] { guarded([this, command] { (this->*command)(); }); });
    return pushButton;
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
    m_operatorName->setFont(scaled(m_operatorName->font(), 1.2, true));
    m_operatorState = new QLabel;
    m_operatorState->setObjectName(QStringLiteral("stato"));
    m_connectionTime = new QLabel;
    m_connectionTime->setObjectName(QStringLiteral("tempoConnessione"));
    m_customer = new QLabel;
    m_customer->setObjectName(QStringLiteral("cliente"));
    m_customer->setFont(scaled(m_customer->font(), 1.2, true));
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
    m_scanner->setFont(scaled(m_scanner->font(), 1.6));
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
    m_grid->setFont(scaled(m_grid->font(), 1.25));
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 12);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setSectionResizeMode(SaleRowsModel::Descrizione, QHeaderView::Stretch);
    m_grid->horizontalHeader()->setMinimumSectionSize(90);

    auto* scanRow = new QHBoxLayout;
    auto* scanLabel = new QLabel(QStringLiteral("Ricerca barcode"));
    scanLabel->setFont(scaled(scanLabel->font(), 1.2, true));
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

QWidget* TPosClassic::buildCashPage()
{
    auto* payments = new QGridLayout;
    const QList<pos::PaymentChoice>& choices = pos::PosClassic::paymentChoices();
    for (int i = 0; i < choices.size(); ++i) {
        QPushButton* pay = pageButton(choices.at(i).caption, QStringLiteral("pagamento%1").arg(i));
        pay->setFocusPolicy(Qt::NoFocus);
        pay->setMinimumHeight(44);
        connect(pay, &QPushButton::clicked, this, [this, i] {
            guarded([this, i] {
                m_logic->choosePayment(i);
                m_received->setFocus();
            });
        });
        payments->addWidget(pay, i / 4, i % 4);
    }

    m_paymentIcon = new QLabel;
    m_paymentLabel = new QLabel;
    m_paymentLabel->setObjectName(QStringLiteral("tipoPagamento"));
    m_paymentLabel->setFont(scaled(m_paymentLabel->font(), 1.6, true));
    m_cashTotal = new QLabel;
    m_cashTotal->setFont(scaled(m_cashTotal->font(), 1.8, true));
    m_received = namedField(QStringLiteral("importoRicevuto"));
    m_received->setFont(scaled(m_received->font(), 1.6));
    connect(m_received, &QLineEdit::textEdited, this, [this] { guarded([this] { readReceived(); }); });
    m_change = new QLabel;
    m_change->setObjectName(QStringLiteral("resto"));
    m_change->setFont(scaled(m_change->font(), 1.8, true));
    m_fiscalCode = namedField(QStringLiteral("codiceFiscale"));
    connect(m_fiscalCode, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic->setFiscalCode(text); });

    auto* amounts = new QFormLayout;
    amounts->addRow(QStringLiteral("Pagamento"), m_paymentLabel);
    amounts->addRow(QStringLiteral("Totale"), m_cashTotal);
    amounts->addRow(QStringLiteral("Importo ricevuto"), m_received);
    amounts->addRow(QStringLiteral("Resto"), m_change);
    amounts->addRow(QStringLiteral("Codice fiscale / P. IVA"), m_fiscalCode);
    auto* summary = new QHBoxLayout;
    summary->addLayout(amounts, 1);
    summary->addWidget(m_paymentIcon);

    QPushButton* invoice = notYetButton(QStringLiteral("Fattura"), QStringLiteral("fattura"));
    auto* closings = new QHBoxLayout;
    for (QPushButton* closing :
         {button(QStringLiteral("F8 Scontrino Fiscale"), "scontrinoFiscale", &TPosClassic::fiscalReceipt),
          invoice,
          button(QStringLiteral("F9 Conferma Scarico"), "confermaScarico", &TPosClassic::confirmUnload)}) {
        closing->setMinimumHeight(52);
        closing->setFont(scaled(closing->font(), 1.15, true));
        closings->addWidget(closing);
    }

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(payments);
    layout->addLayout(summary);
    layout->addWidget(buildPaymentPages(), 1);
    layout->addLayout(closings);
    return page;
}

QWidget* TPosClassic::buildPaymentPages()
{
    m_paymentPages = new QStackedWidget;
    m_paymentPages->setObjectName(QStringLiteral("areaPagamento"));
    // In the order of PaymentPage.
    m_paymentPages->addWidget(new QWidget);

    auto* banknotes = new QWidget;
    auto* notes = new QGridLayout;
    auto* banknotesLayout = new QVBoxLayout(banknotes);
    banknotesLayout->addLayout(notes);
    banknotesLayout->addStretch();
    const QList<pos::Banknote>& faces = pos::PosClassic::banknotes();
    for (int i = 0; i < faces.size(); ++i) {
        QPushButton* note = pageButton(faces.at(i).caption, QStringLiteral("banconota%1").arg(i));
        note->setFocusPolicy(Qt::NoFocus);
        note->setMinimumHeight(48);
        note->setFont(scaled(note->font(), 1.15, true));
        connect(note, &QPushButton::clicked, this,
                [this, i] { guarded([this, i] { m_logic->pressBanknote(i); }); });
        notes->addWidget(note, i / 5, i % 5);
    }
    m_paymentPages->addWidget(banknotes);
    m_paymentPages->addWidget(buildChequePage());

    auto* voucher = new QWidget;
    auto* voucherLayout = new QVBoxLayout(voucher);
    voucherLayout->addWidget(new QLabel(QStringLiteral("Buoni di credito: ") + kNotAvailable));
    voucherLayout->addLayout(
        buttonRow({notYetButton(QStringLiteral("Usa buono selezionato"), QStringLiteral("usaBuono"))}));
    voucherLayout->addStretch();
    m_paymentPages->addWidget(voucher);
    m_paymentPages->addWidget(buildPackPage());
    return m_paymentPages;
}

QWidget* TPosClassic::buildChequePage()
{
    m_chequeAmount = namedField(QStringLiteral("importoAssegno"));
    m_chequeBank = namedField(QStringLiteral("bancaAssegno"));
    m_chequeNumber = namedField(QStringLiteral("numeroAssegno"));
    m_chequeImage = new QLabel;
    m_chequeImage->setObjectName(QStringLiteral("immagineAssegno"));
    connect(m_chequeAmount, &QLineEdit::textEdited, this,
            [this] { m_logic->cheque().amount = moneyOf(m_chequeAmount); });
    connect(m_chequeBank, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic->cheque().bank = text; });
    connect(m_chequeNumber, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic->cheque().number = text; });

    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Importo assegno"), m_chequeAmount);
    form->addRow(QStringLiteral("Banca"), m_chequeBank);
    form->addRow(QStringLiteral("Numero assegno"), m_chequeNumber);
    auto* scan = new QHBoxLayout;
    scan->addWidget(button(QStringLiteral("Acquisizione da scanner..."), "acquisizioneAssegno",
                           &TPosClassic::acquireCheque));
    scan->addWidget(m_chequeImage, 1);
    form->addRow(scan);
    return page;
}

QWidget* TPosClassic::buildPackPage()
{
    m_packDescription = new QLabel;
    m_packDescription->setFont(scaled(m_packDescription->font(), 1.2, true));
    m_packOptions = new QButtonGroup(this);
    auto* options = new QVBoxLayout;
    const QStringList captions{
        QStringLiteral("Tutto Gratuito con Scarico Punti"), QStringLiteral("Scarico Punti + Contributo"),
        QStringLiteral("Vendita Normale"), QStringLiteral("Abbonamento"), QStringLiteral("Promozione")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* option = new QRadioButton(captions.at(i));
        option->setObjectName(QStringLiteral("opzionePack%1").arg(i));
        m_packOptions->addButton(option, i);
        options->addWidget(option);
    }
    connect(m_packOptions, &QButtonGroup::idClicked, this,
            [this](int id) { m_logic->pack().option = pos::PackUnload::Option(id); });
    m_royalty = new QCheckBox(QStringLiteral("Royalty (Raccolta Punti)"));
    m_royalty->setObjectName(QStringLiteral("royalty"));
    m_commitment = new QCheckBox(QStringLiteral("Facile (Vincolo)"));
    m_commitment->setObjectName(QStringLiteral("vincolo"));
    connect(m_royalty, &QCheckBox::toggled, this, [this](bool on) { m_logic->pack().royalty = on; });
    connect(m_commitment, &QCheckBox::toggled, this, [this](bool on) { m_logic->pack().commitment = on; });
    options->addWidget(m_royalty);
    options->addWidget(m_commitment);

    m_customerContribution = namedField(QStringLiteral("contributoCliente"));
    m_operatorContribution = namedField(QStringLiteral("contributoOperatore"));
    m_points = namedField(QStringLiteral("punti"));
    m_subscription = namedField(QStringLiteral("canone"));
    m_promotionDiscount = namedField(QStringLiteral("scontoPromozione"));
    auto* amounts = new QFormLayout;
    amounts->addRow(QStringLiteral("Contributo cliente"), m_customerContribution);
    amounts->addRow(QStringLiteral("Contributo operatore"), m_operatorContribution);
    amounts->addRow(QStringLiteral("Punti"), m_points);
    amounts->addRow(QStringLiteral("Canone mensile"), m_subscription);
    amounts->addRow(QStringLiteral("Sconto promozione"), m_promotionDiscount);
    for (QLineEdit* field :
         {m_customerContribution, m_operatorContribution, m_points, m_subscription, m_promotionDiscount})
        connect(field, &QLineEdit::textEdited, this, &TPosClassic::readPackAmounts);

    auto* columns = new QHBoxLayout;
    columns->addLayout(options);
    columns->addLayout(amounts, 1);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_packDescription);
    layout->addLayout(columns);
    layout->addStretch();
    return page;
}

QWidget* TPosClassic::buildCustomersPage()
{
    m_customerSearch = namedField(QStringLiteral("ricercaCliente"));
    connect(m_customerSearch, &QLineEdit::returnPressed, this,
            [this] { guarded([this] { findCustomers(); }); });
    const registry::RegistryKind& kind = registry::RegistryKind::customers();
    m_customerRows = new RowsTableModel(this);
    QList<RowsTableModel::Column> columns;
    for (qsizetype i = 0; i < kind.gridColumns.size(); ++i)
        columns.append({kind.gridColumns.at(i), kind.gridCaptions.value(i)});
    m_customerRows->setColumns(columns);
    m_customerGrid = readOnlyGrid(m_customerRows, this);
    m_customerGrid->setObjectName(QStringLiteral("clienti"));
    m_customerGrid->horizontalHeader()->setStretchLastSection(true);
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
            &TPosClassic::showSuspendedRows);
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
    m_total->setFont(scaled(m_total->font(), 3.0, true));
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
    m_needRows << toCash << quick << m_resumeButton << discount << onHold;

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
    toCash->setFont(scaled(toCash->font(), 1.2, true));
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
    m_resumeButton->setEnabled(logic.hasRows() && logic.canSuspendOrResume());

    m_pages->setCurrentIndex(int(logic.page()));
    m_paymentPages->setCurrentIndex(int(logic.paymentPage()));
    m_paymentLabel->setText(logic.paymentLabel());
    const QString icon = logic.paymentIcon();
    m_paymentIcon->setPixmap(icon.isEmpty() ? QPixmap()
                                            : QPixmap(icon).scaledToHeight(64, Qt::SmoothTransformation));
    m_cashTotal->setText(QStringLiteral("€ ") + totals.totaleConto.toItalian());
    // What is being typed ("0,") stays as long as it means the amount the sale holds.
    if (moneyOf(m_received) != logic.sale().received())
        m_received->setText(logic.sale().received().isZero() ? QString()
                                                             : logic.sale().received().toEditText());
    m_change->setText(QStringLiteral("€ ") + logic.sale().change().toItalian());
    if (m_fiscalCode->text() != logic.fiscalCode())
        m_fiscalCode->setText(logic.fiscalCode());
    m_chequeImage->setText(logic.chequeImage());
    // The cheque and pack fields belong to the sale they were typed for.
    if (logic.sale().id() != m_shownSale) {
        m_shownSale = logic.sale().id();
        for (QLineEdit* field : {m_chequeAmount, m_chequeBank, m_chequeNumber, m_customerContribution,
                                 m_operatorContribution, m_points, m_subscription, m_promotionDiscount})
            field->clear();
    }
    renderPack();
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

void TPosClassic::renderPack()
{
    const std::optional<pos::PackItem>& item = m_logic->packItem();
    const bool points = item && item->points;
    m_packDescription->setText(item ? item->description : QString());
    for (int option :
         {int(pos::PackUnload::Option::FreeWithPoints), int(pos::PackUnload::Option::PointsAndContribution)})
        m_packOptions->button(option)->setEnabled(points);
    m_packOptions->button(int(m_logic->pack().option))->setChecked(true);
    m_royalty->setEnabled(points);
    m_royalty->setChecked(m_logic->pack().royalty);
    m_commitment->setEnabled(item && item->commitment);
    m_commitment->setChecked(m_logic->pack().commitment);
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

void TPosClassic::readReceived()
{
    m_logic->setReceived(moneyOf(m_received));
}

void TPosClassic::readPackAmounts()
{
    pos::PackUnload& pack = m_logic->pack();
    pack.customerContribution = moneyOf(m_customerContribution);
    pack.operatorContribution = moneyOf(m_operatorContribution);
    pack.points = m_points->text().trimmed().toInt();
    pack.subscription = moneyOf(m_subscription);
    pack.promotionDiscount = moneyOf(m_promotionDiscount);
}

void TPosClassic::scan()
{
    m_logic->addByBarcode(m_scanner->text());
    m_scanner->clear();
}

void TPosClassic::fiscalReceipt()
{
    m_logic->close(pos::ClosingKind::FiscalReceipt);
}

void TPosClassic::confirmUnload()
{
    m_logic->close(pos::ClosingKind::ConfirmUnload);
}

void TPosClassic::newSale()
{
    m_logic->close(pos::ClosingKind::NewSale);
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
    static const QHash<int, QString> keys{{Qt::Key_F2, QStringLiteral("vaiAllaCassa")},
                                          {Qt::Key_F3, QStringLiteral("scontrinoRapido")},
                                          {Qt::Key_F4, QStringLiteral("sospendi")},
                                          {Qt::Key_F5, QStringLiteral("riprendi")},
                                          {Qt::Key_F6, QStringLiteral("rimuoviRiga")},
                                          {Qt::Key_F7, QStringLiteral("clientiPagina")},
                                          {Qt::Key_F8, QStringLiteral("scontrinoFiscale")},
                                          {Qt::Key_F9, QStringLiteral("confermaScarico")},
                                          {Qt::Key_F10, QStringLiteral("nuova")},
                                          {Qt::Key_F11, QStringLiteral("articoliPagina")},
                                          {Qt::Key_Escape, QStringLiteral("venditaInCorso")}};
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
