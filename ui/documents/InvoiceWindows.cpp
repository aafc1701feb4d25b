#include "ui/documents/InvoiceWindows.h"
#include "ui/documents/ElectronicInvoiceCommands.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "core/Error.h"
#include "core/Session.h"
#include "ui/common/CompanyHeadingOf.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"
#include "ui/common/WindowRegistry.h"
#include "ui/stock/SizeColourWindows.h"

#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

using documents::InvoicePrint;

QComboBox* editableCombo(const char* name, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setMinimumWidth(170);
    return combo;
}

QLineEdit* lineEdit(const char* name, QWidget* parent, int maxLength = 0)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QLabel* amountLabel(const char* name, QWidget* parent, bool strong = false)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(110);
    if (strong)
        label->setStyleSheet(QStringLiteral("font-size: 12pt; font-weight: bold; color: #1f4e79;"));
    return label;
}

QString euro(core::Money amount)
{
    return QStringLiteral("€ ") + amount.toItalian();
}

// The grid's columns; the editable ones are quantity, price and discount.
enum RowColumn
{
    Codice,
    Descrizione,
    Seriale,
    Um,
    Quantita,
    Prezzo,
    Sconto,
    Iva,
    Imponibile,
    Totale,
    ColumnCount
};

QTableWidgetItem* cell(const QString& text, bool editable, bool number)
{
    auto* item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (editable)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QString quantityText(double quantity)
{
    return QLocale(QLocale::Italian).toString(quantity, 'f', 3);
}

} // namespace

void registerInvoiceWindows(WindowRegistry& registry)
{
    registry.add(documents::FatturaImmediata::windowName(), factory<TFatturaImmediata>());
    registry.add(QStringLiteral("TRitenutaAccontoLista"), factory<TRitenutaAccontoLista>());
}

// ---------------------------------------------------------------------------------------------
// TDialogoScaricoFattDdt

TDialogoScaricoFattDdt::TDialogoScaricoFattDdt(core::Dialogs& dialogs, documents::QuantityEntry& entry,
                                               QWidget* parent)
    : Window(parent), m_dialogs(dialogs), m_entry(entry)
{
    setObjectName(documents::QuantityEntry::windowName());
    setWindowTitle(QStringLiteral("Quantità da scaricare"));
    resize(entry.bySerial() ? 560 : 500, entry.bySerial() ? 480 : 300);

    auto* item = new QLabel(QStringLiteral("<b>%1</b>&nbsp;&nbsp;%2")
                                .arg(entry.code().toHtmlEscaped(), entry.description().toHtmlEscaped()),
                            this);
    item->setStyleSheet(QStringLiteral("font-size: 11pt; padding: 4px;"));

    auto* lists = new QGroupBox(QStringLiteral("Listini (IVA inclusa)"), this);
    auto* listRow = new QHBoxLayout(lists);
    const QStringList prices = entry.listPrices();
    for (int list = 1; list <= 3; ++list) {
        QPushButton* take = pageButton(QStringLiteral("Listino %1: %2").arg(list).arg(prices.value(list - 1)),
                                       QStringLiteral("listino%1").arg(list));
        listRow->addWidget(take);
        connect(take, &QPushButton::clicked, this, [this, list] {
            core::runGuarded(m_dialogs, [&] {
                if (const std::optional<core::Money> price = m_entry.takeList(list))
                    m_price->setText(price->toItalian());
            });
        });
    }

    auto* form = new QFormLayout;
    m_quantity = lineEdit("quantita", this);
    m_quantity->setText(QStringLiteral("1"));
    m_price = lineEdit("prezzo", this);
    m_price->setText(entry.startPrice().toItalian());
    m_discount = lineEdit("sconto", this);
    m_discount->setText(QStringLiteral("0"));
    for (QLineEdit* edit : {m_quantity, m_price, m_discount}) {
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(140);
        connect(edit, &QLineEdit::returnPressed, this, &TDialogoScaricoFattDdt::confirm);
    }
    form->addRow(QStringLiteral("Quantità"), m_quantity);
    form->addRow(QStringLiteral("Prezzo di vendita (IVA inclusa) €"), m_price);
    form->addRow(QStringLiteral("Sconto %"), m_discount);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(item);
    layout->addWidget(lists);
    layout->addLayout(form);
    if (entry.bySerial()) {
        // The quantity is the number of serials ticked.
        m_quantity->setReadOnly(true);
        m_quantity->setText(QStringLiteral("0"));
        auto* serials = new QGroupBox(QStringLiteral("Seriali disponibili"), this);
        auto* box = new QVBoxLayout(serials);
        m_serials = new QListWidget(serials);
        m_serials->setObjectName(QStringLiteral("seriali"));
        for (int row = 0; row < entry.serials().size(); ++row) {
            auto* serial = new QListWidgetItem(entry.serials().value(row, "Seriale").toString(), m_serials);
            serial->setFlags(serial->flags() | Qt::ItemIsUserCheckable);
            serial->setCheckState(Qt::Unchecked);
        }
        QPushButton* search = pageButton(QStringLiteral("Cerca seriale"), QStringLiteral("cercaseriale"));
        box->addWidget(m_serials, 1);
        box->addLayout(buttonRow({search}));
        layout->addWidget(serials, 1);
        connect(search, &QPushButton::clicked, this, [this] {
            core::runGuarded(m_dialogs, [&] {
                if (const std::optional<int> row = m_entry.searchSerial()) {
                    m_serials->setCurrentRow(*row);
                    m_serials->item(*row)->setCheckState(Qt::Checked);
                }
            });
        });
        connect(m_serials, &QListWidget::itemChanged, this, [this] {
            int ticked = 0;
            for (int row = 0; row < m_serials->count(); ++row)
                ticked += m_serials->item(row)->checkState() == Qt::Checked;
            m_quantity->setText(QString::number(ticked));
        });
    } else {
        layout->addStretch();
    }
    QPushButton* confirmButton = pageButton(QStringLiteral("Conferma"), QStringLiteral("conferma"));
    QPushButton* cancel = pageButton(QStringLiteral("Annulla"), QStringLiteral("annulla"));
    confirmButton->setDefault(true);
    layout->addLayout(buttonRow({confirmButton, cancel}));
    connect(confirmButton, &QPushButton::clicked, this, &TDialogoScaricoFattDdt::confirm);
    connect(cancel, &QPushButton::clicked, this, &TDialogoScaricoFattDdt::reject);
    m_quantity->setFocus();
    m_quantity->selectAll();
}

void TDialogoScaricoFattDdt::confirm()
{
    QStringList serials;
    if (m_serials)
        for (int row = 0; row < m_serials->count(); ++row)
            if (m_serials->item(row)->checkState() == Qt::Checked)
                serials << m_serials->item(row)->text();
    core::runGuarded(m_dialogs, [&] {
        m_values = m_entry.confirm(m_quantity->text(), m_price->text(), m_discount->text(), serials);
    });
    if (m_values)
        accept();
}

// ---------------------------------------------------------------------------------------------
// Tinsmanuale

Tinsmanuale::Tinsmanuale(core::Dialogs& dialogs, const QList<documents::ZeroRateCode>& zeroRates,
                         QWidget* parent)
    : Window(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Tinsmanuale"));
    setWindowTitle(QStringLiteral("Voce manuale"));
    resize(520, 320);
    m_code = lineEdit("codice", this, 50);
    m_code->setPlaceholderText(QStringLiteral("(vuoto: codice automatico)"));
    m_description = lineEdit("descrizione", this, 255);
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("unita"));
    m_unit->setEditable(true);
    m_unit->addItems({QStringLiteral("PZ"), QStringLiteral("ORE"), QStringLiteral("KG"), QStringLiteral("MT"),
                      QStringLiteral("LT")});
    m_rate = new QSpinBox(this);
    m_rate->setObjectName(QStringLiteral("aliquota"));
    m_rate->setRange(0, 100);
    m_rate->setValue(22);
    m_rate->setSuffix(QStringLiteral(" %"));
    m_rate->setMaximumWidth(90);
    m_unit->setMaximumWidth(120);
    m_vatCode = new QComboBox(this);
    m_vatCode->setObjectName(QStringLiteral("codiceiva"));
    m_vatCode->setMinimumWidth(260);
    for (const documents::ZeroRateCode& zero : zeroRates)
        m_vatCode->addItem(QStringLiteral("%1 (%2)").arg(zero.code, zero.nature), zero.code);
    const auto followRate = [this](int rate) { m_vatCode->setEnabled(rate == 0 && m_vatCode->count() > 0); };
    connect(m_rate, &QSpinBox::valueChanged, this, followRate);
    followRate(m_rate->value());
    m_quantity = lineEdit("quantita", this);
    m_quantity->setText(QStringLiteral("1"));
    m_price = lineEdit("prezzo", this);
    m_withVat = new QCheckBox(QStringLiteral("Prezzo IVA inclusa"), this);
    m_withVat->setObjectName(QStringLiteral("ivainclusa"));
    m_withVat->setChecked(true);
    for (QLineEdit* edit : {m_quantity, m_price}) {
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(140);
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Codice"), m_code);
    form->addRow(QStringLiteral("Descrizione"), m_description);
    form->addRow(QStringLiteral("Unità di misura"), m_unit);
    form->addRow(QStringLiteral("Aliquota IVA"), m_rate);
    form->addRow(QStringLiteral("Natura IVA"), m_vatCode);
    form->addRow(QStringLiteral("Quantità"), m_quantity);
    form->addRow(QStringLiteral("Prezzo €"), m_price);
    form->addRow(QString(), m_withVat);
    QPushButton* confirmButton = pageButton(QStringLiteral("Conferma"), QStringLiteral("conferma"));
    QPushButton* cancel = pageButton(QStringLiteral("Annulla"), QStringLiteral("annulla"));
    confirmButton->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttonRow({confirmButton, cancel}));
    connect(confirmButton, &QPushButton::clicked, this, &Tinsmanuale::confirm);
    connect(cancel, &QPushButton::clicked, this, &Tinsmanuale::reject);
    m_description->setFocus();
}

void Tinsmanuale::fill(const documents::ManualLineTexts& texts)
{
    m_code->setText(texts.code);
    m_description->setText(texts.description);
    m_unit->setCurrentText(texts.unit);
    m_rate->setValue(texts.aliquota);
    if (const int chosen = m_vatCode->findData(texts.vatCode); chosen >= 0)
        m_vatCode->setCurrentIndex(chosen);
    m_quantity->setText(texts.quantity);
    m_price->setText(texts.price);
    m_withVat->setChecked(texts.priceIncludesVat);
}

void Tinsmanuale::confirm()
{
    m_line = documents::manualLineFrom({m_code->text(), m_description->text(), m_unit->currentText(),
                                        m_rate->value(), m_quantity->text(), m_price->text(),
                                        m_withVat->isChecked(), m_vatCode->currentData().toString()},
                                       m_dialogs);
    if (m_line)
        accept();
}

// ---------------------------------------------------------------------------------------------
// TRitenutaAccontoLista

TRitenutaAccontoLista::TRitenutaAccontoLista(WindowEnvironment& environment, const core::NavigationRequest&,
                                             QWidget* parent)
    : Window(parent)
{
    setObjectName(QStringLiteral("TRitenutaAccontoLista"));
    setWindowTitle(QStringLiteral("Ritenuta d'acconto"));
    resize(560, 340);
    m_model = new RowsTableModel(this);
    m_model->setColumns({{QStringLiteral("codice"), QStringLiteral("Codice")},
                         {QStringLiteral("descrizione"), QStringLiteral("Descrizione")},
                         {QStringLiteral("percentuale"), QStringLiteral("Percentuale %")}});
    m_grid = readOnlyGrid(m_model, this);
    m_grid->setObjectName(QStringLiteral("ritenute"));
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    QPushButton* chooseButton = pageButton(QStringLiteral("Scegli"), QStringLiteral("scegli"));
    QPushButton* cancel = pageButton(QStringLiteral("Annulla"), QStringLiteral("annulla"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Scegliere la ritenuta da applicare alla fattura"), this));
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({chooseButton, cancel}));
    connect(chooseButton, &QPushButton::clicked, this, &TRitenutaAccontoLista::choose);
    connect(m_grid, &QTableView::doubleClicked, this, &TRitenutaAccontoLista::choose);
    connect(cancel, &QPushButton::clicked, this, &TRitenutaAccontoLista::reject);
    core::runGuarded(environment.dialogs, [&] {
        m_model->setRows(documents::InvoiceLists(environment.connections.company()).withholdings());
    });
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
}

void TRitenutaAccontoLista::choose()
{
    m_result = documents::InvoiceLists::withholdingChoice(m_model->rows(), m_grid->currentIndex().row());
    if (m_result.accepted)
        accept();
}

// ---------------------------------------------------------------------------------------------
// TFatturaImmediata

TFatturaImmediata::TFatturaImmediata(WindowEnvironment& environment, const core::NavigationRequest& request,
                                     QWidget* parent)
    : Window(parent), m_environment(environment), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.session, environment.paths, environment.dialogs,
              environment.navigator, environment.reports)
{
    setObjectName(documents::FatturaImmediata::windowName());
    resize(1180, 760);
    m_logic.setCompanyHeading(companyHeading(environment));

    // Heading: the document and its customer.
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("titolo"));
    m_title->setStyleSheet(QStringLiteral("font-size: 14pt; font-weight: bold; color: #1f4e79;"));
    m_customer = lineEdit("cliente", this);
    m_customer->setPlaceholderText(QStringLiteral("Ragione sociale del cliente + Invio"));
    QPushButton* customers = pageButton(QStringLiteral("Elenco"), QStringLiteral("elencoclienti"));
    QPushButton* newCustomer = pageButton(QStringLiteral("Crea nuovo"), QStringLiteral("nuovocliente"));
    m_date = dateField(QDate::currentDate(), this);
    m_date->setObjectName(QStringLiteral("data"));
    m_date->setMaximumWidth(140);
    m_suffix = new QComboBox(this);
    m_suffix->setObjectName(QStringLiteral("suffisso"));
    m_suffix->setMinimumWidth(70);
    m_reason = editableCombo("causale", this);
    QPushButton* newReason = pageButton(QStringLiteral("+"), QStringLiteral("nuovacausale"));
    newReason->setToolTip(QStringLiteral("Nuova Causale"));
    newReason->setMaximumWidth(32);

    auto* header = new QGroupBox(QStringLiteral("Documento"), this);
    auto* grid = new QGridLayout(header);
    grid->addWidget(new QLabel(QStringLiteral("Cliente"), header), 0, 0);
    auto* customerRow = new QHBoxLayout;
    customerRow->addWidget(m_customer, 1);
    customerRow->addWidget(customers);
    customerRow->addWidget(newCustomer);
    grid->addLayout(customerRow, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Data"), header), 1, 0);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(m_date);
    dateRow->addSpacing(16);
    dateRow->addWidget(new QLabel(QStringLiteral("Suffisso"), header));
    dateRow->addWidget(m_suffix);
    dateRow->addStretch();
    grid->addLayout(dateRow, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Causale"), header), 0, 4);
    auto* reasonRow = new QHBoxLayout;
    reasonRow->addWidget(m_reason, 1);
    reasonRow->addWidget(newReason);
    grid->addLayout(reasonRow, 0, 5);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(5, 1);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pagine"));
    m_pages->addTab(rowsPage(), QStringLiteral("Righe"));
    m_pages->addTab(destinationPage(), QStringLiteral("Destinazione"));
    m_pages->addTab(paymentPage(), QStringLiteral("Pagamento"));
    m_pages->addTab(shippingPage(), QStringLiteral("Trasporto"));
    m_pages->addTab(notesPage(), QStringLiteral("Note"));

    auto* middle = new QHBoxLayout;
    middle->addWidget(m_pages, 1);
    middle->addWidget(totalsBox());

    // Commands.
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salva"));
    QPushButton* print = pageButton(QStringLiteral("Stampa"), QStringLiteral("stampa"));
    QPushButton* preview = pageButton(QStringLiteral("Anteprima"), QStringLiteral("anteprima"));
    const auto variants = [this](QPushButton* button, bool toPrinter) {
        auto* menu = new QMenu(button);
        const std::pair<const char*, InvoicePrint> items[] = {
            {"Fattura", InvoicePrint::Plain},
            {"Fattura con seriali", InvoicePrint::WithSerials},
            {"Fattura con Taglie e Colori", InvoicePrint::WithSizes}};
        for (const auto& [caption, variant] : items)
            menu->addAction(QString::fromUtf8(caption), this, [this, variant = variant, toPrinter] {
                guarded([&] { toPrinter ? m_logic.print(variant) : m_logic.preview(variant); });
            });
        button->setMenu(menu);
    };
    variants(print, true);
    variants(preview, false);
    QPushButton* pdf = pageButton(QStringLiteral("Crea Pdf"), QStringLiteral("pdf"));
    QPushButton* mail = pageButton(QStringLiteral("Invia email"), QStringLiteral("email"));
    QPushButton* dropbox = pageButton(QStringLiteral("Invia a DropBox"), QStringLiteral("dropbox"));
    QPushButton* electronic = electronicInvoiceButton(
        this,
        [this] {
            guarded([&] {
                auto exporter = electronicInvoiceExport(m_environment, this);
                m_logic.exportElectronic(exporter);
            });
        },
        [this] {
            guarded([&] {
                auto exporter = electronicInvoiceExport(m_environment, this);
                m_logic.sendByPec(exporter);
            });
        });
    m_exit = pageButton(QStringLiteral("Annulla"), QStringLiteral("esci"));
    auto* commands = new QHBoxLayout;
    for (QPushButton* button : {save, print, preview, pdf, mail, dropbox, electronic})
        commands->addWidget(button);
    commands->addStretch();
    commands->addWidget(m_exit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(header);
    layout->addLayout(middle, 1);
    layout->addLayout(commands);

    connect(&m_logic, &documents::FatturaImmediata::changed, this, &TFatturaImmediata::showState);
    connect(m_customer, &QLineEdit::returnPressed, this,
            [this] { guarded([&] { m_logic.chooseCustomer(m_customer->text()); }); });
    connect(customers, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.chooseCustomer(); }); });
    connect(newCustomer, &QPushButton::clicked, this, [this] {
        guarded([&] {
            m_logic.createCustomer(m_logic.document().header().customerId ? QString() : m_customer->text());
        });
    });
    connect(newReason, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.addReason(); }); });
    connect(m_date, &QDateEdit::dateChanged, this, &TFatturaImmediata::pushFields);
    connect(m_suffix, &QComboBox::currentTextChanged, this, &TFatturaImmediata::pushFields);
    connect(m_reason, &QComboBox::currentTextChanged, this, &TFatturaImmediata::pushFields);
    connect(save, &QPushButton::clicked, this, [this] {
        bool saved = false;
        guarded([&] { saved = m_logic.save(); });
        if (saved) {
            m_closing = true;
            accept();
        }
    });
    connect(pdf, &QPushButton::clicked, this, [this] {
        guarded([&] {
            const QString path = m_logic.createPdf();
            if (!path.isEmpty())
                m_dialogs.information(QStringLiteral("Documento salvato in %1").arg(path));
        });
    });
    connect(mail, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.sendMail(); }); });
    connect(dropbox, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.sendToDropbox(); }); });
    connect(m_exit, &QPushButton::clicked, this, &TFatturaImmediata::reject);

    bool opened = false;
    core::runGuarded(m_dialogs, [&] {
        opened = m_logic.open(request);
        fillCombo(m_suffix, m_logic.lists().texts(documents::HeaderList::Suffissi),
                  m_logic.fields().suffisso);
        fillCombo(m_reason, m_logic.lists().texts(documents::HeaderList::Causali), m_logic.fields().causale);
        fillCombo(m_payment, m_logic.lists().texts(documents::HeaderList::Pagamenti),
                  m_logic.fields().tipoPagamento);
        fillCombo(m_aspect, m_logic.lists().texts(documents::HeaderList::Aspetti), m_logic.fields().aspetto);
        fillCombo(m_shipment, m_logic.lists().texts(documents::HeaderList::Spedizioni),
                  m_logic.fields().tipoSped);
        fillCombo(m_carrier, m_logic.lists().texts(documents::HeaderList::Vettori), m_logic.fields().vettore);
        fillCombo(m_port, m_logic.lists().texts(documents::HeaderList::Porti), m_logic.fields().porto);
        const QSignalBlocker blocker(m_bank);
        m_bank->addItem(QString(), 0);
        const core::Rows banks = m_logic.lists().banks();
        for (int row = 0; row < banks.size(); ++row)
            m_bank->addItem(banks.value(row, "banca").toString(), banks.value(row, "idBanca").toInt());
    });
    if (!opened) {
        m_closing = true;
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    }
    showState();
    m_barcode->setFocus();
}

QWidget* TFatturaImmediata::rowsPage()
{
    auto* page = new QWidget;
    m_barcode = lineEdit("edbarcode", page);
    m_barcode->setPlaceholderText(QStringLiteral("(Barcode/seriale)"));
    m_barcode->setMinimumWidth(220);
    QPushButton* picker = pageButton(QStringLiteral("Elenco articoli"), QStringLiteral("elencoarticoli"));
    QPushButton* newItem = pageButton(QStringLiteral("Nuovo Articolo"), QStringLiteral("nuovoarticolo"));
    QPushButton* manual = pageButton(QStringLiteral("Voce manuale"), QStringLiteral("vocemanuale"));
    QPushButton* service = pageButton(QStringLiteral("Aggiungi servizio"), QStringLiteral("servizio"));
    QPushButton* remove = pageButton(QStringLiteral("Rimuovi Riga"), QStringLiteral("rimuoviriga"));
    auto* entry = new QHBoxLayout;
    entry->addWidget(new QLabel(QStringLiteral("Ricerca rapida"), page));
    entry->addWidget(m_barcode, 1);
    for (QPushButton* button : {picker, newItem, manual, service})
        entry->addWidget(button);

    m_grid = new QTableWidget(0, ColumnCount, page);
    m_grid->setObjectName(QStringLiteral("righe"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Codice"), QStringLiteral("Descrizione"),
                                       QStringLiteral("Seriale"), QStringLiteral("UM"),
                                       QStringLiteral("Quantità"), QStringLiteral("Prezzo IVA incl."),
                                       QStringLiteral("Sconto %"), QStringLiteral("IVA %"),
                                       QStringLiteral("Imponibile"), QStringLiteral("Totale")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setSectionResizeMode(Descrizione, QHeaderView::Stretch);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(entry);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({remove}));

    connect(m_barcode, &QLineEdit::returnPressed, this, [this] {
        const QString text = m_barcode->text();
        m_barcode->clear();
        guarded([&] { openEntry(m_logic.scan(text)); });
        m_barcode->setFocus();
    });
    connect(picker, &QPushButton::clicked, this,
            [this] { guarded([&] { openEntry(m_logic.entryFromPicker()); }); });
    connect(newItem, &QPushButton::clicked, this,
            [this] { guarded([&] { openEntry(m_logic.entryForNewItem()); }); });
    connect(manual, &QPushButton::clicked, this, [this] {
        QList<documents::ZeroRateCode> zeroRates;
        if (!core::runGuarded(m_dialogs, [&] { zeroRates = m_logic.zeroRateCodes(); }))
            return;
        Tinsmanuale dialog(m_dialogs, zeroRates, this);
        if (dialog.exec() == QDialog::Accepted && dialog.line())
            guarded([&] { m_logic.addManualLine(*dialog.line()); });
    });
    connect(service, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.addService(); }); });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (const int row = m_grid->currentRow(); row >= 0)
            guarded([&] { m_logic.removeRow(row); });
    });
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling)
            rowEdited(item->row());
    });
    return page;
}

QWidget* TFatturaImmediata::destinationPage()
{
    auto* page = new QWidget;
    m_destName = lineEdit("ragsocdest", page, 120);
    m_destAddress = lineEdit("indirizzodest", page, 255);
    m_destCap = lineEdit("capdest", page, 50);
    m_destCap->setMaximumWidth(90);
    m_destCity = lineEdit("cittadest", page, 255);
    m_destProvince = lineEdit("provinciadest", page, 50);
    m_destProvince->setMaximumWidth(60);
    QPushButton* destinations = pageButton(QStringLiteral("Elenco"), QStringLiteral("elencodestinazioni"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Ragione sociale"), m_destName);
    form->addRow(QStringLiteral("Indirizzo"), m_destAddress);
    auto* city = new QHBoxLayout;
    city->addWidget(m_destCap);
    city->addWidget(m_destCity, 1);
    city->addWidget(new QLabel(QStringLiteral("Prov."), page));
    city->addWidget(m_destProvince);
    form->addRow(QStringLiteral("CAP / Città"), city);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addLayout(buttonRow({destinations}));
    layout->addStretch();
    for (QLineEdit* edit : {m_destName, m_destAddress, m_destCap, m_destCity, m_destProvince})
        connect(edit, &QLineEdit::textEdited, this, &TFatturaImmediata::pushFields);
    connect(destinations, &QPushButton::clicked, this,
            [this] { guarded([&] { m_logic.chooseDestination(); }); });
    return page;
}

QWidget* TFatturaImmediata::paymentPage()
{
    auto* page = new QWidget;
    m_payment = editableCombo("pagamento", page);
    m_bank = new QComboBox(page);
    m_bank->setObjectName(QStringLiteral("banca"));
    m_bank->setMinimumWidth(240);
    QPushButton* assign = pageButton(QStringLiteral("Assegna rate"), QStringLiteral("assegnarate"));
    QPushButton* schedule = pageButton(QStringLiteral("A scadenzario"), QStringLiteral("scadenzario"));
    m_instalments = new QTableWidget(0, 3, page);
    m_instalments->setObjectName(QStringLiteral("rate"));
    m_instalments->setHorizontalHeaderLabels(
        {QStringLiteral("Rata"), QStringLiteral("Scadenza"), QStringLiteral("Importo")});
    m_instalments->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_instalments->verticalHeader()->setVisible(false);
    m_instalments->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_instalments->setMaximumHeight(150);
    auto* form = new QFormLayout;
    QPushButton* newTerm = pageButton(QStringLiteral("Crea nuovo"), QStringLiteral("nuovopagamento"));
    auto* paymentRow = new QHBoxLayout;
    paymentRow->addWidget(m_payment, 1);
    paymentRow->addWidget(newTerm);
    form->addRow(QStringLiteral("Tipo di pagamento"), paymentRow);
    form->addRow(QStringLiteral("Banca d'appoggio"), m_bank);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addLayout(buttonRow({assign, schedule}));
    layout->addWidget(m_instalments);
    layout->addStretch();
    connect(m_payment, &QComboBox::currentTextChanged, this, &TFatturaImmediata::pushFields);
    connect(m_bank, &QComboBox::currentIndexChanged, this, &TFatturaImmediata::pushFields);
    connect(assign, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.assignInstalments(); }); });
    connect(newTerm, &QPushButton::clicked, this, [this] {
        guarded([&] {
            m_logic.createPaymentTerm();
            fillCombo(m_payment, m_logic.lists().texts(documents::HeaderList::Pagamenti),
                      m_logic.fields().tipoPagamento);
        });
    });
    connect(schedule, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.schedule(); }); });
    return page;
}

QWidget* TFatturaImmediata::shippingPage()
{
    auto* page = new QWidget;
    m_aspect = editableCombo("aspetto", page);
    m_parcels = new QSpinBox(page);
    m_parcels->setObjectName(QStringLiteral("colli"));
    m_parcels->setRange(0, 9999);
    m_parcels->setMaximumWidth(90);
    m_weight = lineEdit("peso", page, 50);
    m_shipment = editableCombo("tiposped", page);
    m_carrier = editableCombo("vettore", page);
    QPushButton* newCarrier = pageButton(QStringLiteral("+"), QStringLiteral("nuovovettore"));
    newCarrier->setToolTip(QStringLiteral("Nuovo Vettore"));
    newCarrier->setMaximumWidth(32);
    m_transportDate = dateField(QDate::currentDate(), page);
    m_transportDate->setObjectName(QStringLiteral("datatrasporto"));
    m_transportTime = lineEdit("oratext", page, 50);
    m_transportTime->setMaximumWidth(90);
    m_shippingCost = lineEdit("spesesped", page);
    m_shippingCost->setAlignment(Qt::AlignRight);
    m_shippingCost->setMaximumWidth(120);
    m_port = editableCombo("porto", page);
    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("Aspetto dei beni"), m_aspect);
    left->addRow(QStringLiteral("Colli"), m_parcels);
    left->addRow(QStringLiteral("Peso"), m_weight);
    left->addRow(QStringLiteral("Porto"), m_port);
    auto* right = new QFormLayout;
    right->addRow(QStringLiteral("Trasporto a cura"), m_shipment);
    auto* carrier = new QHBoxLayout;
    carrier->addWidget(m_carrier, 1);
    carrier->addWidget(newCarrier);
    right->addRow(QStringLiteral("Vettore"), carrier);
    auto* when = new QHBoxLayout;
    when->addWidget(m_transportDate);
    when->addWidget(new QLabel(QStringLiteral("ore"), page));
    when->addWidget(m_transportTime);
    when->addStretch();
    right->addRow(QStringLiteral("Inizio trasporto"), when);
    right->addRow(QStringLiteral("Spese di spedizione €"), m_shippingCost);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addSpacing(24);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(columns);
    layout->addStretch();
    for (QComboBox* combo : {m_aspect, m_shipment, m_carrier, m_port})
        connect(combo, &QComboBox::currentTextChanged, this, &TFatturaImmediata::pushFields);
    for (QLineEdit* edit : {m_weight, m_transportTime, m_shippingCost})
        connect(edit, &QLineEdit::textEdited, this, &TFatturaImmediata::pushFields);
    connect(m_parcels, &QSpinBox::valueChanged, this, &TFatturaImmediata::pushFields);
    connect(m_transportDate, &QDateEdit::dateChanged, this, &TFatturaImmediata::pushFields);
    connect(newCarrier, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.addCarrier(); }); });
    return page;
}

QWidget* TFatturaImmediata::notesPage()
{
    auto* page = new QWidget;
    m_notes = new QPlainTextEdit(page);
    m_notes->setObjectName(QStringLiteral("notememo"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Note stampate in fattura"), page));
    layout->addWidget(m_notes, 1);
    connect(m_notes, &QPlainTextEdit::textChanged, this, &TFatturaImmediata::pushFields);
    return page;
}

QWidget* TFatturaImmediata::totalsBox()
{
    auto* box = new QGroupBox(QStringLiteral("Totali"), this);
    box->setMinimumWidth(280);
    m_imponibile = amountLabel("imponibile", box);
    m_iva = amountLabel("ivatotale", box);
    m_stampDuty = amountLabel("bollo", box);
    m_total = amountLabel("totaledocumento", box, true);
    m_discount = amountLabel("sconto", box);
    m_withholding = amountLabel("ritenuta", box);
    m_toPay = amountLabel("totaledapagare", box, true);
    QPushButton* discount = pageButton(QStringLiteral("Applica sconto"), QStringLiteral("applicasconto"));
    QPushButton* noDiscount = pageButton(QStringLiteral("Rimuovi"), QStringLiteral("rimuovisconto"));
    QPushButton* withholding = pageButton(QStringLiteral("Ritenuta d'acconto"), QStringLiteral("ritenuta"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Imponibile"), m_imponibile);
    form->addRow(QStringLiteral("IVA"), m_iva);
    form->addRow(QStringLiteral("Sconto sul totale"), m_discount);
    form->addRow(QStringLiteral("Bollo"), m_stampDuty);
    form->addRow(QStringLiteral("Totale documento"), m_total);
    m_totalsForm = form;
    form->addRow(QStringLiteral("Ritenuta d'acconto"), m_withholding);
    form->addRow(QStringLiteral("Totale da pagare"), m_toPay);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(form);
    layout->addLayout(buttonRow({discount, noDiscount}));
    layout->addLayout(buttonRow({withholding}));
    layout->addStretch();
    connect(discount, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.applyDiscount(); }); });
    connect(noDiscount, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.removeDiscount(); }); });
    connect(withholding, &QPushButton::clicked, this,
            [this] { guarded([&] { m_logic.chooseWithholding(); }); });
    return box;
}

void TFatturaImmediata::guarded(const std::function<void()>& command)
{
    core::runGuarded(m_dialogs, command);
}

void TFatturaImmediata::openEntry(std::unique_ptr<documents::QuantityEntry> entry)
{
    if (!entry)
        return;
    if (entry->bySize()) {
        std::unique_ptr<stock::ScaricoTC> sizes;
        guarded([&] { sizes = m_logic.sizesFor(*entry); });
        if (!sizes)
            return;
        TScaricoTC grid(
            m_dialogs, *sizes, [&] { return m_logic.confirmSizes(*sizes); }, this);
        grid.exec();
        return;
    }
    TDialogoScaricoFattDdt dialog(m_dialogs, *entry, this);
    if (dialog.exec() == QDialog::Accepted && dialog.values())
        guarded([&] { m_logic.confirmEntry(*entry, *dialog.values()); });
}

void TFatturaImmediata::pushFields()
{
    if (m_filling)
        return;
    documents::InvoiceFields fields = m_logic.fields();
    fields.data = m_date->date();
    fields.suffisso = m_suffix->currentText();
    fields.causale = m_reason->currentText();
    fields.ragSocDest = m_destName->text();
    fields.indirizzoDest = m_destAddress->text();
    fields.capDest = m_destCap->text();
    fields.cittaDest = m_destCity->text();
    fields.provinciaDest = m_destProvince->text();
    fields.tipoPagamento = m_payment->currentText();
    fields.idBanca = m_bank->currentData().toInt();
    fields.bancaAppoggio = m_bank->currentText();
    fields.aspetto = m_aspect->currentText();
    fields.colli = m_parcels->value();
    fields.peso = m_weight->text();
    fields.tipoSped = m_shipment->currentText();
    fields.vettore = m_carrier->currentText();
    fields.dataTrasporto = m_transportDate->date();
    fields.oraText = m_transportTime->text();
    fields.speseSped = core::Money::parse(m_shippingCost->text()).value_or(core::Money());
    fields.porto = m_port->currentText();
    fields.noteMemo = m_notes->toPlainText();
    guarded([&] { m_logic.setFields(fields); });
}

void TFatturaImmediata::showRows()
{
    const QList<documents::DocumentRow> rows = m_logic.document().rows();
    const int current = m_grid->currentRow();
    m_grid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const documents::DocumentRow& row = rows[r];
        // A serial row is one piece; only its price and discount change.
        m_grid->setItem(r, Codice, cell(row.key.code, false, false));
        m_grid->setItem(r, Descrizione, cell(row.description, false, false));
        m_grid->setItem(r, Seriale, cell(row.key.serial, false, false));
        m_grid->setItem(r, Um, cell(row.unit, false, false));
        m_grid->setItem(r, Quantita, cell(quantityText(row.quantity), !row.bySerial && row.key.itemId, true));
        m_grid->setItem(r, Prezzo, cell(row.amounts.pubblico.toItalian(), row.key.itemId != 0, true));
        m_grid->setItem(r, Sconto, cell(QString::number(row.discountPercent), row.key.itemId != 0, true));
        m_grid->setItem(r, Iva, cell(QString::number(row.aliquota), false, true));
        m_grid->setItem(r, Imponibile, cell(row.amounts.subTotale.toItalian(), false, true));
        m_grid->setItem(r, Totale, cell(row.amounts.subTotaleIvato.toItalian(), false, true));
    }
    if (!rows.isEmpty())
        m_grid->selectRow(qBound(0, current < 0 ? int(rows.size()) - 1 : current, int(rows.size()) - 1));
}

void TFatturaImmediata::rowEdited(int row)
{
    const auto text = [&](int column) {
        return m_grid->item(row, column) ? m_grid->item(row, column)->text() : QString();
    };
    bool number = false;
    const double quantity = QLocale(QLocale::Italian).toDouble(text(Quantita), &number);
    const int discount = text(Sconto).toInt();
    const core::Money price = core::Money::parse(text(Prezzo)).value_or(core::Money());
    // The logic shows the row again after its edit, taken or refused.
    guarded([&] {
        if (!number || quantity != std::trunc(quantity)) {
            showState();
            throw core::Error(QStringLiteral("La quantità deve essere un numero intero."),
                              core::Error::Kind::Refusal);
        }
        m_logic.editRow(row, int(quantity), discount, price);
    });
}

void TFatturaImmediata::showState()
{
    m_filling = true;
    const documents::DocumentHeader& header = m_logic.document().header();
    const documents::InvoiceFields& fields = m_logic.fields();
    setWindowTitle(m_logic.title());
    m_title->setText(m_logic.title());
    if (!m_customer->hasFocus() || header.customerId)
        m_customer->setText(header.customerName);
    {
        const QSignalBlocker blocker(m_date);
        if (fields.data.isValid())
            m_date->setDate(fields.data);
    }
    m_suffix->setEnabled(!m_logic.document().isNumbered());
    const auto select = [](QComboBox* combo, const QString& text) {
        const QSignalBlocker blocker(combo);
        if (combo->findText(text) < 0 && !text.isEmpty())
            combo->addItem(text);
        combo->setCurrentText(text);
    };
    select(m_suffix, fields.suffisso);
    select(m_reason, fields.causale);
    select(m_payment, fields.tipoPagamento);
    select(m_aspect, fields.aspetto);
    select(m_shipment, fields.tipoSped);
    select(m_carrier, fields.vettore);
    select(m_port, fields.porto);
    {
        const QSignalBlocker blocker(m_bank);
        const int bank = m_bank->findData(fields.idBanca);
        m_bank->setCurrentIndex(bank < 0 ? 0 : bank);
    }
    m_destName->setText(fields.ragSocDest);
    m_destAddress->setText(fields.indirizzoDest);
    m_destCap->setText(fields.capDest);
    m_destCity->setText(fields.cittaDest);
    m_destProvince->setText(fields.provinciaDest);
    {
        const QSignalBlocker blocker(m_parcels);
        m_parcels->setValue(fields.colli);
    }
    m_weight->setText(fields.peso);
    {
        const QSignalBlocker blocker(m_transportDate);
        if (fields.dataTrasporto.isValid())
            m_transportDate->setDate(fields.dataTrasporto);
    }
    m_transportTime->setText(fields.oraText);
    if (!m_shippingCost->hasFocus())
        m_shippingCost->setText(fields.speseSped.toItalian());
    if (m_notes->toPlainText() != fields.noteMemo) {
        const QSignalBlocker blocker(m_notes);
        m_notes->setPlainText(fields.noteMemo);
    }
    showRows();
    const documents::DocumentTotals& totals = m_logic.document().totals();
    m_imponibile->setText(euro(totals.imponibile));
    m_iva->setText(euro(totals.ivatotale));
    // A stamp duty charged to the customer is in the total: its own line makes the total add up.
    m_stampDuty->setText(euro(totals.bollo));
    m_totalsForm->setRowVisible(m_stampDuty, !totals.bollo.isZero());
    m_total->setText(euro(totals.totaledocumento));
    m_discount->setText(totals.scontoPerc.isZero() ? QStringLiteral("—")
                                                   : QStringLiteral("%1% (%2)")
                                                         .arg(totals.scontoPerc.toItalian(),
                                                              euro(totals.sconto + totals.scontoIva)));
    m_withholding->setText(totals.raPerc.isZero() ? QStringLiteral("—") : euro(totals.ritenutaImporto));
    m_toPay->setText(euro(totals.raPerc.isZero() ? totals.totaledocumento : totals.totaleDaPagare));
    QList<accounts::Instalment> rate;
    core::runGuarded(m_dialogs, [&] { rate = m_logic.instalments(); });
    m_instalments->setRowCount(int(rate.size()));
    for (int i = 0; i < rate.size(); ++i) {
        m_instalments->setItem(i, 0,
                               cell(QStringLiteral("%1 di %2").arg(i + 1).arg(rate.size()), false, false));
        m_instalments->setItem(i, 1,
                               cell(rate[i].scadenza.toString(QStringLiteral("dd/MM/yyyy")), false, false));
        m_instalments->setItem(i, 2, cell(euro(rate[i].importo), false, true));
    }
    m_exit->setText(m_logic.exitCaption());
    m_filling = false;
}

void TFatturaImmediata::reject()
{
    if (!m_closing) {
        bool agreed = false;
        core::runGuarded(m_dialogs, [&] { agreed = m_logic.leave(); });
        m_closing = agreed;
    }
    if (m_closing)
        Window::reject();
}

} // namespace carvendo::ui
