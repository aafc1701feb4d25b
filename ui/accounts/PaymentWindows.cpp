#include "ui/accounts/PaymentWindows.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"
#include "ui/common/WindowRegistry.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace carvendo::ui {

using accounts::PaymentTerm;
using accounts::TermInstalment;

TPagamenti::TPagamenti(WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.session, environment.dialogs,
              environment.navigator)
{
    setWindowTitle(QStringLiteral("Pagamenti"));
    resize(860, 480);

    m_search = new QLineEdit(this);
    m_search->setPlaceholderText(QStringLiteral("Descrizione o codice"));
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Cerca"), this));
    searchRow->addWidget(m_search, 1);

    m_model = new RowsTableModel(this);
    m_model->setColumns({{QStringLiteral("Descrizione"), QStringLiteral("Descrizione")},
                         {QStringLiteral("Codice"), QStringLiteral("Codice")},
                         {QStringLiteral("modalita"), QStringLiteral("Modalità")},
                         {QStringLiteral("NrRate"), QStringLiteral("Rate")},
                         {QStringLiteral("TipoRate"), QStringLiteral("Tipo Rate")},
                         {QStringLiteral("TipoDecorrenza"), QStringLiteral("Decorrenza")}});
    m_grid = readOnlyGrid(m_model, this);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    auto* newButton = commandButton(QStringLiteral("Nuovo"), this);
    auto* modifyButton = commandButton(QStringLiteral("Modifica"), this);
    auto* deleteButton = commandButton(QStringLiteral("Elimina"), this);
    auto* exitButton = commandButton(QStringLiteral("Esci"), this);
    auto* commands = new QHBoxLayout;
    commands->addWidget(newButton);
    commands->addWidget(modifyButton);
    commands->addWidget(deleteButton);
    commands->addStretch();
    commands->addWidget(exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_grid, 1);
    layout->addLayout(commands);

    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString& text) { run([&] { m_logic.search(text); }); });
    connect(newButton, &QPushButton::clicked, this, [this] { run([&] { m_logic.newTerm(); }); });
    const auto modify = [this] {
        const int id = currentId();
        run([&] { m_logic.modify(id); });
    };
    connect(modifyButton, &QPushButton::clicked, this, modify);
    connect(m_grid, &QTableView::doubleClicked, this, modify);
    connect(deleteButton, &QPushButton::clicked, this, [this] {
        const int id = currentId();
        run([&] { m_logic.remove(id); });
    });
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);

    run([&] { m_logic.refresh(); });
    m_search->setFocus();
}

template <typename Command> void TPagamenti::run(Command&& command)
{
    if (core::runGuarded(m_dialogs, std::forward<Command>(command)))
        showRows();
}

int TPagamenti::currentId() const
{
    return m_logic.idAt(m_model->rowOf(m_grid->currentIndex()));
}

void TPagamenti::showRows()
{
    const int row = m_grid->currentIndex().row();
    m_model->setRows(m_logic.rows());
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(qBound(0, row, m_model->rowCount() - 1), 0));
}

namespace {

QRadioButton* addRadio(QButtonGroup* group, QLayout* layout, const QString& caption, int id)
{
    auto* radio = new QRadioButton(caption);
    group->addButton(radio, id);
    layout->addWidget(radio);
    return radio;
}

const QStringList TipoRateCaptions{QStringLiteral("Normale"), QStringLiteral("Iva sommata alla prima rata")};

} // namespace

TPagamento::TPagamento(WindowEnvironment& environment, const core::NavigationRequest& request,
                       QWidget* parent)
    : RecordCardWindow(environment.dialogs, parent, environment.connections.company(), environment.dialogs)
{
    setWindowTitle(QStringLiteral("Pagamento"));
    setMinimumSize(560, 560);

    m_descrizione = new QLineEdit(this);
    m_descrizione->setMaxLength(50);
    m_codice = new QLineEdit(this);
    m_codice->setMaxLength(20);
    m_modalita = new QComboBox(this);
    guarded([&] { m_modalita->addItems(m_logic.modes()); });
    m_nrRate = new QSpinBox(this);
    m_nrRate->setRange(0, 99);
    auto* nrRateRow = new QHBoxLayout;
    nrRateRow->addWidget(m_nrRate);
    nrRateRow->addWidget(new QLabel(QStringLiteral("(Max 4)"), this));
    nrRateRow->addStretch();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Descrizione"), m_descrizione);
    form->addRow(QStringLiteral("Codice"), m_codice);
    form->addRow(QStringLiteral("Modalità"), m_modalita);
    form->addRow(QStringLiteral("Numero Rate"), nrRateRow);

    auto* tipoRateBox = new QGroupBox(QStringLiteral("Tipo Rate"), this);
    auto* tipoRateLayout = new QVBoxLayout(tipoRateBox);
    m_tipoRate = new QButtonGroup(this);
    for (int i = 0; i < TipoRateCaptions.size(); ++i)
        addRadio(m_tipoRate, tipoRateLayout, TipoRateCaptions[i], i);
    auto* decorrenzaBox = new QGroupBox(QStringLiteral("Decorrenza"), this);
    auto* decorrenzaLayout = new QVBoxLayout(decorrenzaBox);
    m_decorrenza = new QButtonGroup(this);
    const QStringList decorrenze = PaymentTerm::decorrenze();
    for (int i = 0; i < decorrenze.size(); ++i)
        addRadio(m_decorrenza, decorrenzaLayout, decorrenze[i], i);
    tipoRateLayout->addStretch();
    auto* radios = new QHBoxLayout;
    radios->addWidget(tipoRateBox);
    radios->addWidget(decorrenzaBox);

    auto* ratesBox = new QGroupBox(QStringLiteral("Rate"), this);
    m_instalments = new QTableWidget(0, 2, ratesBox);
    m_instalments->setHorizontalHeaderLabels(
        {QStringLiteral("Giorni Scadenza"), QStringLiteral("Percentuale")});
    m_instalments->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_instalments->verticalHeader()->setVisible(false);
    m_instalments->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_instalments->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* newRow = pageButton(QStringLiteral("Nuova"), QStringLiteral("nuovarata"));
    auto* deleteRow = pageButton(QStringLiteral("Elimina"), QStringLiteral("eliminarata"));
    auto* ratesLayout = new QVBoxLayout(ratesBox);
    ratesLayout->addWidget(m_instalments);
    ratesLayout->addLayout(buttonRow({newRow, deleteRow}));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(radios);
    layout->addWidget(ratesBox, 1);
    layout->addWidget(cardButtons());

    connect(m_descrizione, &QLineEdit::textEdited, &m_logic, &accounts::PaymentTermCard::setDescrizione);
    connect(m_codice, &QLineEdit::textEdited, &m_logic, &accounts::PaymentTermCard::setCodice);
    connect(m_modalita, &QComboBox::textActivated, &m_logic, &accounts::PaymentTermCard::setModalita);
    connect(m_nrRate, &QSpinBox::valueChanged, &m_logic, &accounts::PaymentTermCard::setNrRate);
    connect(m_tipoRate, &QButtonGroup::idClicked, this, [this](int id) { m_logic.setIvaPrimaRata(id == 1); });
    connect(m_decorrenza, &QButtonGroup::idClicked, this,
            [this](int id) { m_logic.setDecorrenza(PaymentTerm::decorrenze().value(id)); });
    connect(m_instalments, &QTableWidget::cellChanged, this, [this](int row, int) { instalmentEdited(row); });
    connect(newRow, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.addInstalment(); }); });
    connect(deleteRow, &QPushButton::clicked, this,
            [this] { guarded([&] { m_logic.removeInstalment(m_instalments->currentRow()); }); });

    openRequested(request);
    m_descrizione->setFocus();
}

void TPagamento::instalmentEdited(int row)
{
    const auto number = [this, row](int column) {
        const QTableWidgetItem* item = m_instalments->item(row, column);
        return item ? item->text().trimmed().toInt() : 0;
    };
    guarded([&] { m_logic.setInstalment(row, TermInstalment{number(0), number(1)}); });
}

void TPagamento::showRecord()
{
    const PaymentTerm& term = m_logic.term();
    const QSignalBlocker blockNumber(m_nrRate);
    const QSignalBlocker blockGrid(m_instalments);
    if (m_descrizione->text() != term.descrizione)
        m_descrizione->setText(term.descrizione);
    if (m_codice->text() != term.codice)
        m_codice->setText(term.codice);
    if (m_modalita->findText(term.modalita) < 0 && !term.modalita.isEmpty())
        m_modalita->addItem(term.modalita);
    m_modalita->setCurrentIndex(m_modalita->findText(term.modalita));
    m_nrRate->setValue(term.nrRate);
    m_tipoRate->button(term.tipoRate == PaymentTerm::ivaPrimaRata() ? 1 : 0)->setChecked(true);
    if (QAbstractButton* decorrenza =
            m_decorrenza->button(PaymentTerm::decorrenze().indexOf(term.tipoDecorrenza)))
        decorrenza->setChecked(true);
    const int current = m_instalments->currentRow();
    m_instalments->setRowCount(int(term.rate.size()));
    for (int row = 0; row < term.rate.size(); ++row) {
        m_instalments->setItem(row, 0, new QTableWidgetItem(QString::number(term.rate[row].giorni)));
        m_instalments->setItem(row, 1, new QTableWidgetItem(QString::number(term.rate[row].percentuale)));
    }
    if (m_instalments->rowCount() > 0)
        m_instalments->setCurrentCell(qBound(0, current, m_instalments->rowCount() - 1), 0);
}

void registerAccountsWindows(WindowRegistry& registry)
{
    registry.add(accounts::PaymentTerms::windowName(),
                 [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
                     return new TPagamenti(environment, request, parent);
                 });
    registry.add(accounts::PaymentTerms::cardName(),
                 [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
                     return new TPagamento(environment, request, parent);
                 });
}

} // namespace carvendo::ui
