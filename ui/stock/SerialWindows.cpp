#include "ui/stock/SerialWindows.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "stock/serials/SerialContext.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"
#include "ui/common/WindowRegistry.h"

#include <QFont>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

// A search row: the field, then its button; Enter in the field searches too.
QHBoxLayout* searchRow(const QString& caption, QLineEdit* field, QPushButton* button, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(caption, parent));
    row->addWidget(field, 1);
    row->addWidget(button);
    return row;
}

stock::SerialDocument documentOf(const core::NavigationRequest& request)
{
    const QVariantMap& v = request.values;
    return {v.value(QStringLiteral("documento")).toString(), v.value(QStringLiteral("idDocumento")).toInt(),
            v.value(QStringLiteral("numero")).toString(), v.value(QStringLiteral("idCliente")).toInt(),
            v.value(QStringLiteral("cliente")).toString()};
}

} // namespace

void registerSerialWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TSeriali"), factory<TSeriali>());
    registry.add(QStringLiteral("TSerialeScarico"), factory<TSerialeScarico>());
    registry.add(QStringLiteral("TLotti"), factory<TLotti>());
}

TSeriali::TSeriali(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.session, environment.dialogs,
              environment.navigator)
{
    setWindowTitle(QStringLiteral("Serial Finder"));
    resize(960, 640);

    m_serial = new QLineEdit(this);
    m_serial->setObjectName(QStringLiteral("edSeriale"));
    m_serial->setPlaceholderText(QStringLiteral("IMEI o numero di serie"));
    QPushButton* search = commandButton(QStringLiteral("Cerca"), this);
    search->setObjectName(QStringLiteral("cerca"));

    m_headline = new QLabel(this);
    m_headline->setObjectName(QStringLiteral("esito"));
    QFont big = m_headline->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_headline->setFont(big);
    m_detail = new QLabel(this);
    m_detail->setObjectName(QStringLiteral("dettaglio"));
    auto* factsBox = new QGroupBox(QStringLiteral("Dati del seriale"), this);
    m_factsBox = factsBox;
    m_facts = new QFormLayout(factsBox);
    m_facts->setLabelAlignment(Qt::AlignRight);

    m_openItem = pageButton(QStringLiteral("Apri Articolo"), QStringLiteral("apriArticolo"));
    m_openLoad = pageButton(QStringLiteral("Apri Carico"), QStringLiteral("apriCarico"));
    m_openDocument = pageButton(QStringLiteral("Apri Documento"), QStringLiteral("apriDocumento"));
    m_bringBack = pageButton(QStringLiteral("Rientro"), QStringLiteral("rientro"));
    QPushButton* check = pageButton(QStringLiteral("Verifica seriali"), QStringLiteral("verifica"));
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));

    m_timelineModel = new RowsTableModel(this);
    m_timelineModel->setColumns({{QStringLiteral("Quando"), QStringLiteral("Data")},
                                 {QStringLiteral("Evento"), QStringLiteral("Evento")},
                                 {QStringLiteral("Documento"), QStringLiteral("Documento")},
                                 {QStringLiteral("NumeroDocumento"), QStringLiteral("Numero")},
                                 {QStringLiteral("Soggetto"), QStringLiteral("Cliente / Fornitore")},
                                 {QStringLiteral("Motivo"), QStringLiteral("Motivo")},
                                 {QStringLiteral("Magazzino"), QStringLiteral("Magazzino")},
                                 {QStringLiteral("Operatore"), QStringLiteral("Operatore")}});
    m_timeline = readOnlyGrid(m_timelineModel, this);
    m_timeline->setObjectName(QStringLiteral("storico"));
    m_checkModel = new RowsTableModel(this);
    m_checkModel->setColumns({{QStringLiteral("CodArticolo"), QStringLiteral("Codice")},
                              {QStringLiteral("Descrizione"), QStringLiteral("Descrizione")},
                              {QStringLiteral("Magazzino"), QStringLiteral("Magazzino")},
                              {QStringLiteral("Giacenza"), QStringLiteral("Giacenza")},
                              {QStringLiteral("Seriali"), QStringLiteral("Seriali")},
                              {QStringLiteral("Differenza"), QStringLiteral("Differenza")}});
    m_check = readOnlyGrid(m_checkModel, this);
    m_check->setObjectName(QStringLiteral("verificaSeriali"));
    for (QTableView* grid : {m_timeline, m_check}) {
        grid->horizontalHeader()->setDefaultSectionSize(110);
        grid->setWordWrap(false);
    }
    m_timeline->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    m_check->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("schede"));
    tabs->addTab(m_timeline, QStringLiteral("Storico del seriale"));
    tabs->addTab(m_check, QStringLiteral("Verifica seriali"));

    auto* result = new QVBoxLayout;
    result->addWidget(m_headline);
    result->addWidget(m_detail);
    result->addWidget(factsBox);
    result->addStretch();
    auto* commands = new QVBoxLayout;
    for (QPushButton* button : {m_openItem, m_openLoad, m_openDocument, m_bringBack, check})
        commands->addWidget(button);
    commands->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(result, 1);
    top->addLayout(commands);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow(QStringLiteral("Seriale"), m_serial, search, this));
    layout->addLayout(top);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttonRow({exit}));

    auto runSearch = [this] { m_logic.search(m_serial->text()); };
    onClickGuarded(search, m_dialogs, runSearch);
    connect(m_serial, &QLineEdit::returnPressed, this,
            [this, runSearch] { core::runGuarded(m_dialogs, runSearch); });
    onClickGuarded(m_openItem, m_dialogs, [this] { m_logic.openItem(); });
    onClickGuarded(m_openLoad, m_dialogs, [this] { m_logic.openLoad(); });
    onClickGuarded(m_openDocument, m_dialogs, [this] { m_logic.openDocument(); });
    onClickGuarded(m_bringBack, m_dialogs, [this] { m_logic.bringBack(); });
    onClickGuarded(check, m_dialogs, [this, tabs] {
        m_logic.verify();
        tabs->setCurrentWidget(m_check);
    });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_logic, &stock::Seriali::changed, this, &TSeriali::showState);

    // Opened on a serial (from a document or an item), it shows it at once.
    if (!request.key.toString().isEmpty()) {
        m_serial->setText(request.key.toString());
        core::runGuarded(m_dialogs, runSearch);
    }
    showState();
    m_serial->setFocus();
}

void TSeriali::showState()
{
    using Status = stock::Seriali::Status;
    const Status status = m_logic.status();
    m_headline->setText(status == Status::None
                            ? QStringLiteral("Digitare o leggere un seriale e premere Invio")
                            : m_logic.headline());
    const char* colour = status == Status::InStock    ? "#1b7a2e"
                         : status == Status::NotFound ? "#b3261e"
                                                      : "#a15c00";
    m_headline->setStyleSheet(QStringLiteral("color: %1").arg(QLatin1String(colour)));
    m_detail->setText(m_logic.detail());
    while (m_facts->rowCount() > 0)
        m_facts->removeRow(0);
    for (const auto& [caption, value] : m_logic.facts()) {
        auto* label = new QLabel(value);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_facts->addRow(caption, label);
    }
    m_factsBox->setVisible(m_facts->rowCount() > 0);
    m_openItem->setEnabled(m_logic.canOpenItem());
    m_openLoad->setEnabled(m_logic.canOpenLoad());
    m_openDocument->setEnabled(m_logic.canOpenDocument());
    m_bringBack->setEnabled(m_logic.canBringBack());
    m_timelineModel->setRows(m_logic.timeline());
    if (m_timelineModel->rowCount() > 0)
        m_timeline->resizeColumnsToContents();
    m_checkModel->setRows(m_logic.mismatches());
    if (m_checkModel->rowCount() > 0)
        m_check->resizeColumnsToContents();
}

TSerialeScarico::TSerialeScarico(WindowEnvironment& environment, const core::NavigationRequest& request,
                                 QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.dialogs, request.key.toInt(),
              documentOf(request), stock::actorOf(environment.session))
{
    setWindowTitle(QStringLiteral("Scarico Seriali"));
    resize(640, 260);

    auto* item = new QLabel(request.values.value(QStringLiteral("articolo")).toString(), this);
    item->setObjectName(QStringLiteral("articolo"));
    item->setVisible(!item->text().isEmpty());
    auto* grid = new QGridLayout;
    constexpr int perColumn = stock::SerialeScarico::kFields / 2;
    for (int i = 0; i < stock::SerialeScarico::kFields; ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("edSeriale%1").arg(i + 1));
        field->setMinimumWidth(200);
        m_fields.append(field);
        grid->addWidget(new QLabel(QStringLiteral("Seriale %1").arg(i + 1), this), i % perColumn,
                        2 * (i / perColumn));
        grid->addWidget(field, i % perColumn, 2 * (i / perColumn) + 1);
        connect(field, &QLineEdit::returnPressed, this,
                [this, i] { m_fields.at(stock::SerialeScarico::nextField(i))->setFocus(); });
    }
    QPushButton* ok = pageButton(QStringLiteral("Conferma"), QStringLiteral("conferma"));
    QPushButton* cancel = pageButton(QStringLiteral("Annulla"), QStringLiteral("annulla"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(item);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttonRow({ok, cancel}));

    onClickGuarded(ok, m_dialogs, [this] { confirm(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_fields.first()->setFocus();
}

void TSerialeScarico::confirm()
{
    for (int i = 0; i < m_fields.size(); ++i)
        m_logic.setSerial(i, m_fields.at(i)->text());
    if (m_logic.confirm()) {
        accept();
        return;
    }
    if (m_logic.failedField() >= 0)
        m_fields.at(m_logic.failedField())->setFocus();
}

core::NavigationResult TSerialeScarico::navigationResult() const
{
    core::NavigationResult result = Window::navigationResult();
    if (result.accepted)
        result.values.insert(QStringLiteral("seriali"), m_logic.sold());
    return result;
}

TLotti::TLotti(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.dialogs)
{
    setWindowTitle(QStringLiteral("Lotti"));
    resize(900, 600);

    m_barcode = new QLineEdit(this);
    m_barcode->setObjectName(QStringLiteral("edBarcodeLotto"));
    QPushButton* search = commandButton(QStringLiteral("Cerca"), this);
    search->setObjectName(QStringLiteral("cerca"));
    m_lotsModel = new RowsTableModel(this);
    m_lotsModel->setColumns({{QStringLiteral("Barcode"), QStringLiteral("Barcode lotto")},
                             {QStringLiteral("Codice"), QStringLiteral("Codice")},
                             {QStringLiteral("Descrizione"), QStringLiteral("Descrizione")},
                             {QStringLiteral("Data"), QStringLiteral("Data")},
                             {QStringLiteral("Quantita"), QStringLiteral("Quantità")},
                             {QStringLiteral("Dal"), QStringLiteral("Dal seriale")},
                             {QStringLiteral("Al"), QStringLiteral("Al seriale")}});
    m_lots = readOnlyGrid(m_lotsModel, this);
    m_lots->setObjectName(QStringLiteral("lotti"));
    m_lots->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_serialsModel = new RowsTableModel(this);
    m_serialsModel->setColumns({{QStringLiteral("Seriale"), QStringLiteral("Seriale")},
                                {QStringLiteral("CodArticolo"), QStringLiteral("Codice")},
                                {QStringLiteral("Descrizione"), QStringLiteral("Descrizione")},
                                {QStringLiteral("Magazzino"), QStringLiteral("Magazzino")}});
    m_serials = readOnlyGrid(m_serialsModel, this);
    m_serials->setObjectName(QStringLiteral("seriali"));
    for (QTableView* grid : {m_lots, m_serials}) {
        grid->horizontalHeader()->setDefaultSectionSize(130);
        grid->setWordWrap(false);
    }
    m_serials->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow(QStringLiteral("Barcode lotto"), m_barcode, search, this));
    layout->addWidget(m_lots, 1);
    layout->addWidget(new QLabel(QStringLiteral("Seriali del lotto in magazzino"), this));
    layout->addWidget(m_serials, 1);
    layout->addLayout(buttonRow({exit}));

    auto runSearch = [this] { m_logic.search(m_barcode->text()); };
    onClickGuarded(search, m_dialogs, runSearch);
    connect(m_barcode, &QLineEdit::returnPressed, this,
            [this, runSearch] { core::runGuarded(m_dialogs, runSearch); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_logic, &stock::Lotti::lotsChanged, this, [this] {
        m_lotsModel->setRows(m_logic.lots());
        m_lots->resizeColumnsToContents();
        if (m_lotsModel->rowCount() > 0) // the cursor on the lot whose serials show
            m_lots->setCurrentIndex(m_lotsModel->index(0, 0));
    });
    connect(&m_logic, &stock::Lotti::serialsChanged, this, [this] {
        m_serialsModel->setRows(m_logic.serials());
        m_serials->resizeColumnsToContents();
    });
    connect(m_lots->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                core::runGuarded(m_dialogs, [&] { m_logic.setCurrentLot(m_lotsModel->rowOf(current)); });
            });
    // Opened on a lot barcode, it shows that lot at once.
    if (!request.key.toString().isEmpty()) {
        m_barcode->setText(request.key.toString());
        core::runGuarded(m_dialogs, runSearch);
    }
    m_barcode->setFocus();
}

} // namespace carvendo::ui
