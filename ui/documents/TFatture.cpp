#include "ui/documents/TFatture.h"

#include "ui/common/CompanyHeadingOf.h"
#include "ui/documents/ElectronicInvoiceCommands.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "core/GridLayoutFile.h"
#include "core/Paths.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"
#include "ui/common/WindowRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace carvendo::ui {

namespace {

const QString LayoutWord = QStringLiteral("Fatture");

QDateEdit* dateField(const QString& objectName, const QDate& date, QWidget* parent)
{
    auto* field = new QDateEdit(date, parent);
    field->setObjectName(objectName);
    field->setCalendarPopup(true);
    field->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    field->setEnabled(false);
    return field;
}

} // namespace

void registerInvoiceListWindows(WindowRegistry& registry)
{
    registry.add(documents::Fatture::windowName(), factory<TFatture>());
}

TFatture::TFatture(WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent)
    : Window(parent), m_environment(environment), m_dialogs(environment.dialogs), m_paths(environment.paths),
      m_logic(environment.connections.company(), environment.session, environment.dialogs,
              environment.navigator, environment.reports)
{
    setWindowTitle(QStringLiteral("Fatture"));
    m_logic.setCompanyHeading(companyHeading(environment));
    resize(1260, 640);

    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("numero"));
    m_number->setValidator(new QIntValidator(1, 99999999, m_number));
    m_number->setMaximumWidth(90);
    m_customer = new QLineEdit(this);
    m_customer->setObjectName(QStringLiteral("cliente"));
    m_customer->setPlaceholderText(QStringLiteral("Ragione sociale"));
    m_useYear = new QCheckBox(QStringLiteral("Anno"), this);
    m_useYear->setObjectName(QStringLiteral("usaanno"));
    m_useYear->setChecked(true);
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("anno"));
    m_year->setRange(2000, 2100);
    m_year->setValue(QDate::currentDate().year());
    m_useDates = new QCheckBox(QStringLiteral("Dal"), this);
    m_useDates->setObjectName(QStringLiteral("usadate"));
    const QDate today = QDate::currentDate();
    m_from = dateField(QStringLiteral("dal"), QDate(today.year(), 1, 1), this);
    m_to = dateField(QStringLiteral("al"), today, this);
    m_series = new QComboBox(this);
    m_series->setObjectName(QStringLiteral("serie"));
    m_series->addItem(QStringLiteral("Tutte"));
    core::runGuarded(m_dialogs, [&] { m_series->addItems(m_logic.series()); });
    QPushButton* find = pageButton(QStringLiteral("Cerca"), QStringLiteral("cerca"));

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Numero"), this));
    searchRow->addWidget(m_number);
    searchRow->addWidget(new QLabel(QStringLiteral("Cliente"), this));
    searchRow->addWidget(m_customer, 1);
    searchRow->addWidget(m_useYear);
    searchRow->addWidget(m_year);
    searchRow->addWidget(m_useDates);
    searchRow->addWidget(m_from);
    searchRow->addWidget(new QLabel(QStringLiteral("al"), this));
    searchRow->addWidget(m_to);
    searchRow->addWidget(new QLabel(QStringLiteral("Serie"), this));
    searchRow->addWidget(m_series);
    searchRow->addWidget(find);

    m_model = new RowsTableModel(this);
    m_model->setColumns({{QStringLiteral("NumDoc"), QStringLiteral("Nr.")},
                         {QStringLiteral("Suffisso"), QStringLiteral("Serie")},
                         {QStringLiteral("data"), QStringLiteral("Data")},
                         {QStringLiteral("RagioneSociale"), QStringLiteral("Cliente")},
                         {QStringLiteral("tipopagamento"), QStringLiteral("Pagamento")},
                         {QStringLiteral("imponibile"), QStringLiteral("Imponibile"), true},
                         {QStringLiteral("ivatotale"), QStringLiteral("IVA"), true},
                         {QStringLiteral("totaledocumento"), QStringLiteral("Totale"), true},
                         {QStringLiteral("Magazzino"), QStringLiteral("Magazzino")},
                         {QStringLiteral("FilePA"), QStringLiteral("Fattura elettronica")},
                         {QStringLiteral("DataExportPA"), QStringLiteral("Esportata il")}});
    m_grid = readOnlyGrid(m_model, this);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setObjectName(QStringLiteral("fatture"));
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setWordWrap(false);
    const int widths[] = {55, 45, 90, 240, 125, 95, 85, 95, 110, 180};
    for (int column = 0; column < int(std::size(widths)); ++column)
        m_grid->horizontalHeader()->resizeSection(column, widths[column]);
    const QByteArray layout = core::GridLayoutFile(m_paths, LayoutWord).load();
    if (!layout.isEmpty())
        m_grid->horizontalHeader()->restoreState(layout);

    m_shown = new QLabel(this);
    m_shown->setObjectName(QStringLiteral("mostrate"));
    m_more = pageButton(QStringLiteral("Altre"), QStringLiteral("altre"));
    auto* pageRow = new QHBoxLayout;
    pageRow->addWidget(m_shown);
    pageRow->addStretch();
    pageRow->addWidget(m_more);

    QPushButton* create = pageButton(QStringLiteral("Nuova"), QStringLiteral("nuova"));
    QPushButton* modify = pageButton(QStringLiteral("Modifica"), QStringLiteral("modifica"));
    QPushButton* remove = pageButton(QStringLiteral("Elimina"), QStringLiteral("elimina"));
    QPushButton* print = pageButton(QStringLiteral("Stampa"), QStringLiteral("stampa"));
    QPushButton* printSerials =
        pageButton(QStringLiteral("Stampa con seriali"), QStringLiteral("stampaseriali"));
    QPushButton* printSizes =
        pageButton(QStringLiteral("Stampa con Taglie e Colori"), QStringLiteral("stampataglie"));
    QPushButton* electronic = electronicInvoiceButton(
        this,
        [this] {
            core::runGuarded(m_dialogs, [this] {
                auto exporter = electronicInvoiceExport(m_environment, this);
                m_logic.exportElectronic(exporter, selectedInvoices());
            });
            showRows();
        },
        [this] {
            const int id = selectedInvoice();
            core::runGuarded(m_dialogs, [this, id] {
                auto exporter = electronicInvoiceExport(m_environment, this);
                m_logic.sendByPec(exporter, id);
            });
            showRows();
            keepSelection(id);
        });
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));
    auto* commands = new QHBoxLayout;
    for (QPushButton* button : {create, modify, remove})
        commands->addWidget(button);
    commands->addSpacing(24);
    for (QPushButton* button : {print, printSerials, printSizes})
        commands->addWidget(button);
    commands->addSpacing(24);
    commands->addWidget(electronic);
    commands->addStretch();
    commands->addWidget(exit);

    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->addLayout(searchRow);
    mainLayout->addWidget(m_grid, 1);
    mainLayout->addLayout(pageRow);
    mainLayout->addLayout(commands);

    connect(m_useYear, &QCheckBox::toggled, m_year, &QWidget::setEnabled);
    connect(m_useDates, &QCheckBox::toggled, m_from, &QWidget::setEnabled);
    connect(m_useDates, &QCheckBox::toggled, m_to, &QWidget::setEnabled);
    connect(find, &QPushButton::clicked, this, &TFatture::search);
    for (QLineEdit* field : {m_number, m_customer})
        connect(field, &QLineEdit::returnPressed, this, &TFatture::search);
    onClickGuarded(m_more, m_dialogs, [this] {
        const int kept = selectedInvoice();
        m_logic.loadMore();
        showRows();
        keepSelection(kept);
    });
    onClickGuarded(create, m_dialogs, [this] {
        m_logic.newInvoice();
        showRows();
    });
    const auto modifySelected = [this] {
        const int id = selectedInvoice();
        core::runGuarded(m_dialogs, [&] { m_logic.modify(id); });
        showRows();
        keepSelection(id);
    };
    connect(modify, &QPushButton::clicked, this, modifySelected);
    connect(m_grid, &QTableView::activated, this, modifySelected);
    onClickGuarded(remove, m_dialogs, [this] {
        m_logic.remove(selectedInvoice());
        showRows();
    });
    const auto printing = [this](documents::InvoicePrint variant) {
        return [this, variant] { m_logic.print(selectedInvoice(), variant); };
    };
    onClickGuarded(print, m_dialogs, printing(documents::InvoicePrint::Plain));
    onClickGuarded(printSerials, m_dialogs, printing(documents::InvoicePrint::WithSerials));
    onClickGuarded(printSizes, m_dialogs, printing(documents::InvoicePrint::WithSizes));
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    // The electronic invoice files an earlier export committed and could not write go out now.
    core::runGuarded(m_dialogs, [this] {
        documents::InvoiceElectronicExport::writePending(m_environment.connections.company(), m_dialogs,
                                                         m_paths);
    });
    search();
    m_customer->setFocus();
}

TFatture::~TFatture()
{
    core::GridLayoutFile(m_paths, LayoutWord).save(m_grid->horizontalHeader()->saveState(), m_dialogs);
}

void TFatture::search()
{
    documents::InvoiceFilter filter;
    filter.number = m_number->text();
    filter.customer = m_customer->text();
    if (m_useYear->isChecked())
        filter.year = m_year->value();
    if (m_useDates->isChecked()) {
        filter.from = m_from->date();
        filter.to = m_to->date();
    }
    if (m_series->currentIndex() > 0)
        filter.series = m_series->currentText();
    core::runGuarded(m_dialogs, [&] { m_logic.search(filter); });
    showRows();
}

void TFatture::showRows()
{
    m_model->setRows(m_logic.rows());
    m_more->setEnabled(m_logic.hasMore());
    m_shown->setText(
        m_logic.hasMore()
            ? QStringLiteral("Fatture mostrate: %1 (altre con \"Altre\")").arg(m_model->rowCount())
            : QStringLiteral("Fatture: %1").arg(m_model->rowCount()));
    if (m_model->rowCount() > 0 && !m_grid->currentIndex().isValid())
        m_grid->selectRow(0);
}

int TFatture::selectedInvoice() const
{
    const int row = m_model->rowOf(m_grid->currentIndex());
    return row < 0 ? 0 : m_model->rows().value(row, u"idFattura").toInt();
}

QList<int> TFatture::selectedInvoices() const
{
    QList<int> ids;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedRows()) {
        const int row = m_model->rowOf(index);
        if (row >= 0)
            ids << m_model->rows().value(row, u"idFattura").toInt();
    }
    std::sort(ids.begin(), ids.end()); // oldest first: their files take their numbers in that order
    return ids;
}

void TFatture::keepSelection(int idFattura)
{
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (m_model->rows().value(row, u"idFattura").toInt() == idFattura) {
            m_grid->selectRow(row);
            return;
        }
}

} // namespace carvendo::ui
