#include "ui/stock/TArticoliPreleva.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/PickerCommands.h"
#include "ui/stock/ItemListPanel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

TArticoliPreleva::TArticoliPreleva(WindowEnvironment& environment, const core::NavigationRequest& request,
                                   QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(request.caller, environment.connections.company(), environment.session, environment.paths,
              environment.dialogs, environment.navigator)
{
    setWindowTitle(QStringLiteral("Scegli l'articolo"));
    resize(1100, 620);

    m_panel = new ItemListPanel(m_logic.list(), m_dialogs, this);

    const PickerCommands commands = PickerCommands::create(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_panel, 1);
    layout->addLayout(commands.layout);

    connect(m_panel, &ItemListPanel::activated, this, &TArticoliPreleva::confirm);
    connect(commands.confirmButton, &QPushButton::clicked, this, &TArticoliPreleva::confirm);
    onClickGuarded(commands.newButton, m_dialogs, [this] { m_logic.list().newItem(); });
    onClickGuarded(commands.deleteButton, m_dialogs, [this] { m_logic.list().deleteCurrent(); });
    connect(commands.cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    m_panel->open();
    const QString typed = request.values.value(QStringLiteral("testo")).toString();
    if (!typed.isEmpty()) {
        m_panel->descriptionField()->setText(typed);
        core::runGuarded(m_dialogs, [&] {
            m_logic.list().find(stock::ItemField::Descrizione, stock::MatchMode::StartsWith, typed);
        });
    }
}

void TArticoliPreleva::confirm()
{
    bool chosen = false;
    core::runGuarded(m_dialogs, [&] { chosen = m_logic.confirm(); });
    if (chosen)
        accept();
}

} // namespace carvendo::ui
