#include "ui/foundation/TAziendaAnagrafica.h"

#include "ui/common/BackgroundTask.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/WindowRegistry.h"
#include "ui/foundation/TAzienda.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace carvendo::ui {

TAziendaAnagrafica::TAziendaAnagrafica(WindowEnvironment& environment, int companyId,
                                       foundation::AziendaAnagrafica::Mode mode, QWidget* parent)
    : Window(parent), m_logic(environment.connections, environment.paths, environment.dialogs, companyId,
                              mode, backgroundJobRunner(this))
{
    const bool isNew = mode == foundation::AziendaAnagrafica::Mode::New;
    setWindowTitle(isNew ? QStringLiteral("Nuova Azienda") : QStringLiteral("Anagrafica Azienda"));

    auto* company = new QGroupBox(QStringLiteral("Dati aziendali"));
    auto* companyForm = new QFormLayout(company);
    using R = core::CompanyRecord;
    addText(companyForm, QStringLiteral("Ragione Sociale"), &R::ragionesociale);
    addText(companyForm, QStringLiteral("Sub"), &R::sub);
    addText(companyForm, QStringLiteral("Indirizzo"), &R::indirizzo);
    addText(companyForm, QStringLiteral("Città"), &R::citta);
    addText(companyForm, QStringLiteral("Cap"), &R::cap);
    addText(companyForm, QStringLiteral("Telefono"), &R::telefono);
    addText(companyForm, QStringLiteral("Telefono 2"), &R::telefono2);
    addText(companyForm, QStringLiteral("Fax"), &R::fax);
    addText(companyForm, QStringLiteral("Cellulare"), &R::cellulare);
    addText(companyForm, QStringLiteral("E-mail"), &R::email);
    addText(companyForm, QStringLiteral("Partita Iva"), &R::piva);
    addText(companyForm, QStringLiteral("Codice Fiscale"), &R::codfisc);
    addText(companyForm, QStringLiteral("Web"), &R::web);

    auto* connection = new QGroupBox(QStringLiteral("Connessione al database"));
    auto* connectionForm = new QFormLayout(connection);
    addText(connectionForm, QStringLiteral("Host"), &R::host);
    m_port = new QSpinBox;
    m_port->setRange(1, 65535);
    connectionForm->addRow(QStringLiteral("Porta"), m_port);
    addText(connectionForm, QStringLiteral("Username"), &R::username);
    addText(connectionForm, QStringLiteral("Password"), &R::password, true);
    addText(connectionForm, QStringLiteral("Database"), &R::databasename);
    m_createDatabase = new QCheckBox(QStringLiteral("Crea database"));
    m_createDatabase->setVisible(isNew);
    connectionForm->addRow(m_createDatabase);

    auto* buttons = new QDialogButtonBox;
    QPushButton* saveButton = buttons->addButton(QStringLiteral("Salva"), QDialogButtonBox::AcceptRole);
    QPushButton* closeButton = buttons->addButton(isNew ? QStringLiteral("Annulla") : QStringLiteral("Esci"),
                                                  QDialogButtonBox::RejectRole);
    saveButton->setDefault(true);
    onClickGuarded(saveButton, environment.dialogs, [this] { save(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* columns = new QHBoxLayout;
    columns->addWidget(company);
    columns->addWidget(connection);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    showRecord();
}

void TAziendaAnagrafica::addText(QFormLayout* form, const QString& caption,
                                 QString core::CompanyRecord::*member, bool secret)
{
    auto* edit = new QLineEdit;
    if (secret)
        edit->setEchoMode(QLineEdit::Password);
    form->addRow(caption, edit);
    m_fields.append({member, edit});
}

void TAziendaAnagrafica::showRecord()
{
    const core::CompanyRecord& record = m_logic.record();
    for (const TextField& field : m_fields)
        field.edit->setText(record.*(field.member));
    m_port->setValue(record.porta > 0 ? record.porta : 3307);
    m_createDatabase->setChecked(m_logic.createDatabase());
}

core::CompanyRecord TAziendaAnagrafica::editedRecord() const
{
    core::CompanyRecord record = m_logic.record();
    for (const TextField& field : m_fields)
        record.*(field.member) = field.edit->text().trimmed();
    record.porta = m_port->value();
    return record;
}

void TAziendaAnagrafica::save()
{
    m_logic.setRecord(editedRecord());
    m_logic.setCreateDatabase(m_createDatabase->isChecked());
    if (m_logic.save())
        accept();
}

void registerCompanyWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TAziendaAnagrafica"),
                 [](WindowEnvironment& environment, const core::NavigationRequest& request,
                    QWidget* parent) -> Window* {
                     const auto mode = request.values.value(QStringLiteral("mode")).toString() == u"new"
                                           ? foundation::AziendaAnagrafica::Mode::New
                                           : foundation::AziendaAnagrafica::Mode::View;
                     return new TAziendaAnagrafica(environment, request.key.toInt(), mode, parent);
                 });
    registry.add(QStringLiteral("TAzienda"),
                 [](WindowEnvironment& environment, const core::NavigationRequest&,
                    QWidget* parent) -> Window* { return new TAzienda(environment, parent); });
}

} // namespace carvendo::ui
