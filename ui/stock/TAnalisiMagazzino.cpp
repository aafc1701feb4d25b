#include "ui/stock/TAnalisiMagazzino.h"

#include "core/Connections.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/RowsTableModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

QTableView* gridOf(RowsTableModel* model, int stretchColumn, QWidget* parent)
{
    auto* grid = new QTableView(parent);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(stretchColumn, QHeaderView::Stretch);
    return grid;
}

} // namespace

TAnalisiMagazzino::TAnalisiMagazzino(WindowEnvironment& environment, const core::NavigationRequest&,
                                     QWidget* parent)
    : Window(parent),
      m_logic(environment.connections.companySettings(), environment.dialogs, backgroundJobRunner(this))
{
    setWindowTitle(QStringLiteral("Analisi Magazzino - SellOut"));
    resize(900, 600);

    const RowsTableModel::Column code{QStringLiteral("CodArticolo"), QStringLiteral("Codice")};
    const RowsTableModel::Column description{QStringLiteral("Descrizione"), QStringLiteral("Descrizione")};
    const QList<RowsTableModel::Column> figures{
        {QStringLiteral("CARICATO"), QStringLiteral("Caricato")},
        {QStringLiteral("VENDUTO"), QStringLiteral("Venduto")},
        {QStringLiteral("SELLOUT"), QStringLiteral("Sell-out %"), true}};

    m_sellOut = new RowsTableModel(this);
    m_sellOut->setColumns(QList<RowsTableModel::Column>{code, description} + figures);
    m_bySizeAndColour = new RowsTableModel(this);
    m_bySizeAndColour->setColumns(
        QList<RowsTableModel::Column>{code,
                                      description,
                                      {QStringLiteral("Colore"), QStringLiteral("Colore")},
                                      {QStringLiteral("Taglia"), QStringLiteral("Taglia")}} +
        figures);
    m_unsold = new RowsTableModel(this);
    m_unsold->setColumns({code, description});

    m_pages = new QTabWidget(this);
    m_pages->addTab(gridOf(m_sellOut, 1, this), QStringLiteral("SellOut per articolo"));
    m_pages->addTab(gridOf(m_bySizeAndColour, 1, this), QStringLiteral("SellOut per taglia e colore"));
    m_pages->addTab(gridOf(m_unsold, 1, this), QStringLiteral("Articoli mai venduti"));

    auto* refreshButton = new QPushButton(QStringLiteral("Aggiorna"), this);
    refreshButton->setAutoDefault(false);
    auto* exitButton = new QPushButton(QStringLiteral("Esci"), this);
    exitButton->setAutoDefault(false);
    auto* commands = new QHBoxLayout;
    commands->addWidget(refreshButton);
    commands->addStretch();
    commands->addWidget(exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(commands);

    connect(refreshButton, &QPushButton::clicked, this, &TAnalisiMagazzino::refresh);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TAnalisiMagazzino::showEvent(QShowEvent* event)
{
    Window::showEvent(event);
    if (!m_computed) {
        m_computed = true;
        // Once the window is up, so the progress bar has a window to stand over.
        QTimer::singleShot(0, this, &TAnalisiMagazzino::refresh);
    }
}

void TAnalisiMagazzino::refresh()
{
    m_computed = true;
    if (m_logic.compute())
        showRows();
}

void TAnalisiMagazzino::showRows()
{
    m_sellOut->setRows(m_logic.sellOut());
    m_bySizeAndColour->setRows(m_logic.sellOutBySizeAndColour());
    m_unsold->setRows(m_logic.unsold());
}

} // namespace carvendo::ui
