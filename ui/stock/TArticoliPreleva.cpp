#include "TArticoliPreleva.h"

#include "CommandGuard.h"
#include "Connections.h"
#include "ItemListPanel.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

TArticoliPreleva::TArticoliPreleva(WindowEnvironment& environment, const core::NavigationRequest& request,
                                   QWidget* parent)
    : Window(parent)
    , m_dialogs(environment.dialogs)
    , m_logic(request.caller, environment.connections.company(), environment.session, environment.paths,
              environment.dialogs, environment.navigator)
{
    setWindowTitle(QStringLiteral("Scegli l'articolo"));
    resize(1100, 620);

    m_panel = new ItemListPanel(m_logic.list(), m_dialogs, this);

    auto* newButton = new QPushButton(QStringLiteral("Nuovo"), this);
    auto* deleteButton = new QPushButton(QStringLiteral("Elimina"), this);
    auto* confirmButton = new QPushButton(QStringLiteral("Conferma"), this);
    auto* cancelButton = new QPushButton(QStringLiteral("Annulla"), this);
    for (QPushButton* button : {newButton, deleteButton, confirmButton, cancelButton})
        button->setAutoDefault(false);
    auto* commands = new QHBoxLayout;
    commands->addWidget(newButton);
    commands->addWidget(deleteButton);
    commands->addStretch();
    commands->addWidget(confirmButton);
    commands->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_panel, 1);
    layout->addLayout(commands);

    connect(m_panel, &ItemListPanel::activated, this, &TArticoliPreleva::confirm);
    connect(confirmButton, &QPushButton::clicked, this, &TArticoliPreleva::confirm);
    connect(newButton, &QPushButton::clicked, this,
            [this] { core::runGuarded(m_dialogs, [&] { m_logic.list().newItem(); }); });
    connect(deleteButton, &QPushButton::clicked, this,
            [this] { core::runGuarded(m_dialogs, [&] { m_logic.list().deleteCurrent(); }); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

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
