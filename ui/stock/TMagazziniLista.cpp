#include "ui/stock/TMagazziniLista.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

TMagazziniLista::TMagazziniLista(WindowEnvironment& environment, const core::NavigationRequest&,
                                 QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.session, environment.paths, environment.dialogs,
              environment.navigator)
{
    setWindowTitle(QStringLiteral("Elenco Magazzini"));
    resize(820, 480);

    m_model = new RowsTableModel(this);
    m_model->setColumns({{QStringLiteral("Descrizione"), QStringLiteral("Descrizione")},
                         {QStringLiteral("Let"), QStringLiteral("Lettera")},
                         {QStringLiteral("Sede"), QStringLiteral("Sede")},
                         {QStringLiteral("Citta"), QStringLiteral("Città")},
                         {QStringLiteral("Telefono"), QStringLiteral("Telefono")}});
    m_grid = readOnlyGrid(m_model, this);
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_grid->installEventFilter(this);

    const auto button = [this](const QString& caption) { return commandButton(caption, this); };
    auto* newButton = button(QStringLiteral("Nuovo"));
    auto* modifyButton = button(QStringLiteral("Modifica"));
    auto* deleteButton = button(QStringLiteral("Elimina"));
    auto* refreshButton = button(QStringLiteral("Aggiorna"));
    auto* exitButton = button(QStringLiteral("Esci"));
    auto* commands = new QHBoxLayout;
    commands->addWidget(newButton);
    commands->addWidget(modifyButton);
    commands->addWidget(deleteButton);
    commands->addWidget(refreshButton);
    commands->addStretch();
    commands->addWidget(exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(commands);

    connect(newButton, &QPushButton::clicked, this, &TMagazziniLista::newWarehouse);
    connect(modifyButton, &QPushButton::clicked, this, &TMagazziniLista::modifyCurrent);
    connect(deleteButton, &QPushButton::clicked, this, &TMagazziniLista::deleteCurrent);
    connect(refreshButton, &QPushButton::clicked, this, &TMagazziniLista::refresh);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QTableView::doubleClicked, this, &TMagazziniLista::modifyCurrent);

    refresh();
    m_grid->setFocus();
}

int TMagazziniLista::currentId() const
{
    return m_logic.idAt(m_model->rowOf(m_grid->currentIndex()));
}

void TMagazziniLista::showRows()
{
    const int row = m_grid->currentIndex().row();
    m_model->setRows(m_logic.rows());
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(qBound(0, row, m_model->rowCount() - 1), 0));
}

void TMagazziniLista::newWarehouse()
{
    if (core::runGuarded(m_dialogs, [&] { m_logic.newWarehouse(); }))
        showRows();
}

void TMagazziniLista::modifyCurrent()
{
    const int id = currentId();
    if (core::runGuarded(m_dialogs, [&] { m_logic.modify(id); }))
        showRows();
}

void TMagazziniLista::deleteCurrent()
{
    const int id = currentId();
    if (core::runGuarded(m_dialogs, [&] { m_logic.remove(id); }))
        showRows();
}

void TMagazziniLista::refresh()
{
    if (core::runGuarded(m_dialogs, [&] { m_logic.refresh(); }))
        showRows();
}

bool TMagazziniLista::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            modifyCurrent();
            return true;
        }
        if (key == Qt::Key_Delete) {
            deleteCurrent();
            return true;
        }
    }
    return Window::eventFilter(watched, event);
}

} // namespace carvendo::ui
