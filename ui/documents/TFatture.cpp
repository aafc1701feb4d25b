#include "ui/documents/TFatture.h"

#include "ui/common/CompanyHeadingOf.h"
#include "ui/documents/ElectronicInvoiceCommands.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "core/Paths.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/ListPanel.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/WindowRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace carvendo::ui {

namespace {

const QString LayoutWord = QStringLiteral("Fatture");

// A bound of the period, off until "Dal" is ticked.
QDateEdit* periodBound(const QString& objectName, const QDate& date, QWidget* parent)
{
    QDateEdit* field = dateField(date, parent);
    field->setObjectName(objectName);
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
    m_from = periodBound(QStringLiteral("dal"), QDate(today.year(), 1, 1), this);
    m_to = periodBound(QStringLiteral("al"), today, this);
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

    ListPanel::Grid grid{.objectName = QStringLiteral("fatture"),
                         .layoutWord = LayoutWord,
                         .keyColumn = QStringLiteral("idFattura"),
                         .columns = {{QStringLiteral("NumDoc"), QStringLiteral("Nr.")},
                                     {QStringLiteral("Suffisso"), QStringLiteral("Serie")},
                                     {QStringLiteral("data"), QStringLiteral("Data")},
                                     {QStringLiteral("RagioneSociale"), QStringLiteral("Cliente")},
                                     {QStringLiteral("tipopagamento"), QStringLiteral("Pagamento")},
                                     {QStringLiteral("imponibile"), QStringLiteral("Imponibile"), true},
                                     {QStringLiteral("ivatotale"), QStringLiteral("IVA"), true},
                                     {QStringLiteral("totaledocumento"), QStringLiteral("Totale"), true},
                                     {QStringLiteral("Magazzino"), QStringLiteral("Magazzino")},
                                     {QStringLiteral("FilePA"), QStringLiteral("Fattura elettronica")},
                                     {QStringLiteral("DataExportPA"), QStringLiteral("Esportata il")}},
                         .widths = {55, 45, 90, 240, 125, 95, 85, 95, 110, 180},
                         .manySelectable = true};
    ListPanel::Paging paging{.hasMore = [this] { return m_logic.hasMore(); },
                             .loadMore = [this] { m_logic.loadMore(); },
                             .shownWithMore = QStringLiteral("Fatture mostrate: %1 (altre con \"Altre\")"),
                             .shownAll = QStringLiteral("Fatture: %1")};
    m_list = new ListPanel(
        environment, std::move(grid), [this] { return m_logic.rows(); }, std::move(paging), this);

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
            m_list->run([this] {
                auto exporter = electronicInvoiceExport(m_environment, this);
                m_logic.exportElectronic(exporter, selectedInvoices());
            });
        },
        [this] {
            m_list->run([this] {
                auto exporter = electronicInvoiceExport(m_environment, this);
                m_logic.sendByPec(exporter, m_list->selectedKey());
            });
        });
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));

    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->addLayout(searchRow);
    mainLayout->addWidget(m_list, 1);
    mainLayout->addLayout(
        listCommands({{create, modify, remove}, {print, printSerials, printSizes}, {electronic}}, exit));

    connect(m_useYear, &QCheckBox::toggled, m_year, &QWidget::setEnabled);
    connect(m_useDates, &QCheckBox::toggled, m_from, &QWidget::setEnabled);
    connect(m_useDates, &QCheckBox::toggled, m_to, &QWidget::setEnabled);
    connect(find, &QPushButton::clicked, this, &TFatture::search);
    for (QLineEdit* field : {m_number, m_customer})
        connect(field, &QLineEdit::returnPressed, this, &TFatture::search);
    m_list->onClick(create, [this] { m_logic.newInvoice(); });
    m_list->onSelected(modify, [this](int id) { m_logic.modify(id); });
    m_list->onOpened([this](int id) { m_logic.modify(id); });
    m_list->onSelected(remove, [this](int id) { m_logic.remove(id); });
    const auto printing = [this](documents::InvoicePrint variant) {
        return [this, variant] { m_logic.print(m_list->selectedKey(), variant); };
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

TFatture::~TFatture() = default;

QTableView* TFatture::grid() const
{
    return m_list->grid();
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
    m_list->run([&] { m_logic.search(filter); });
}

QList<int> TFatture::selectedInvoices() const
{
    QList<int> ids = m_list->selectedKeys();
    ids.removeAll(0);
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace carvendo::ui
