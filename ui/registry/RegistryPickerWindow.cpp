#include "ui/registry/RegistryPickerWindow.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/PickerCommands.h"
#include "ui/registry/RegistryListWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

QString titleOf(const registry::PickerWindow& picker)
{
    const bool customers = picker.kind->isCustomers();
    if (picker.purpose == registry::PickerPurpose::Destination)
        return customers ? QStringLiteral("Scegli la destinazione")
                         : QStringLiteral("Scegli l'indirizzo del fornitore");
    return customers ? QStringLiteral("Scegli il cliente") : QStringLiteral("Scegli il fornitore");
}

} // namespace

RegistryPickerWindow::RegistryPickerWindow(const registry::PickerWindow& picker,
                                           WindowEnvironment& environment,
                                           const core::NavigationRequest& request, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(picker, request.caller, environment.connections.company(), environment.session,
              environment.dialogs, environment.navigator)
{
    m_logic.setWebAccounts(registry::WebAccounts::of(environment.connections));
    setWindowTitle(titleOf(picker));
    resize(860, 520);

    m_panel = new RegistrySearchPanel(m_logic.search(), m_dialogs, *picker.kind, false, this);
    const PickerCommands commands = PickerCommands::create(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_panel, 1);
    layout->addLayout(commands.layout);

    connect(m_panel, &RegistrySearchPanel::activated, this, &RegistryPickerWindow::confirm);
    connect(commands.confirmButton, &QPushButton::clicked, this, &RegistryPickerWindow::confirm);
    connect(commands.newButton, &QPushButton::clicked, this, &RegistryPickerWindow::newRecord);
    connect(commands.deleteButton, &QPushButton::clicked, this, &RegistryPickerWindow::deleteCurrent);
    connect(commands.cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // A caller may hand the text already typed in its own field.
    const QString typed = request.values.value(QStringLiteral("testo")).toString();
    m_panel->searchLine()->setText(typed);
    if (core::runGuarded(m_dialogs, [&] { typed.isEmpty() ? m_logic.open() : m_logic.find(typed); }))
        m_panel->showRows();
    m_panel->searchLine()->setFocus();
}

void RegistryPickerWindow::confirm()
{
    const QVariant key = m_panel->currentKey();
    bool chosen = false;
    core::runGuarded(m_dialogs, [&] { chosen = m_logic.choose(key); });
    if (chosen)
        accept();
    else
        m_panel->showRows();
}

void RegistryPickerWindow::newRecord()
{
    if (core::runGuarded(m_dialogs, [&] { m_logic.newRecord(); }))
        m_panel->showRows();
}

void RegistryPickerWindow::deleteCurrent()
{
    const QVariant key = m_panel->currentKey();
    if (core::runGuarded(m_dialogs, [&] { m_logic.deleteRecord(key); }))
        m_panel->showRows();
}

} // namespace carvendo::ui
