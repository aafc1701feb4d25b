#include "ui/stock/TArticoli.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/BackgroundTask.h"
#include "ui/stock/ItemListPanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

TArticoli::TArticoli(WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs), m_reports(environment.reports),
      m_logic(environment.connections.company(), environment.session, environment.paths, environment.dialogs,
              environment.navigator)
{
    setWindowTitle(QStringLiteral("Articoli"));
    resize(1180, 680);
    m_logic.runExportsWith(environment.connections.companySettings(), backgroundJobRunner(this));

    m_panel = new ItemListPanel(m_logic, m_dialogs, this);

    auto* commands = new QHBoxLayout;
    auto addButton = [&](const QString& caption, auto&& command) {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                [this, command] { core::runGuarded(m_dialogs, command); });
        commands->addWidget(button);
        return button;
    };
    addButton(QStringLiteral("Nuovo"), [this] { m_logic.newItem(); });
    addButton(QStringLiteral("Modifica"), [this] { m_logic.modifyCurrent(); });
    addButton(QStringLiteral("Duplica"), [this] { m_logic.duplicateCurrent(); });
    addButton(QStringLiteral("Elimina"), [this] { m_logic.deleteCurrent(); });
    addButton(QStringLiteral("Allinea"), [this] { m_logic.realignCurrent(); });
    commands->addSpacing(24);
    addButton(QStringLiteral("Stampa"), [this] { m_logic.printList(m_reports); });
    for (gridexport::ExportFormat format : {gridexport::ExportFormat::Xml, gridexport::ExportFormat::Excel,
                                            gridexport::ExportFormat::Html, gridexport::ExportFormat::Text}) {
        QPushButton* button = addButton(gridexport::GridExport::formatCaption(format),
                                        [this, format] { m_logic.exportGrid(format); });
        button->setToolTip(QStringLiteral("Esporta la griglia"));
    }
    commands->addStretch();
    auto* exitButton = new QPushButton(QStringLiteral("Esci"), this);
    exitButton->setAutoDefault(false);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    commands->addWidget(exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_panel, 1);
    layout->addLayout(commands);

    connect(m_panel, &ItemListPanel::activated, this,
            [this] { core::runGuarded(m_dialogs, [&] { m_logic.modifyCurrent(); }); });

    m_panel->open();
    const QByteArray layoutState = m_logic.loadLayout();
    if (!layoutState.isEmpty())
        m_panel->grid()->horizontalHeader()->restoreState(layoutState);
}

void TArticoli::done(int result)
{
    m_logic.saveLayout(m_panel->grid()->horizontalHeader()->saveState());
    Window::done(result);
}

} // namespace carvendo::ui
