#include "ui/foundation/TImpostazioniServer.h"

#include "core/Session.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/GuardedCommand.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

// Sets the text only when it differs, so rendering never moves the cursor of the field being typed in.
void showText(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

TImpostazioniServer::TImpostazioniServer(WindowEnvironment& environment, core::EmbeddedServer& embedded,
                                         QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.paths, environment.connections, environment.session, embedded, environment.dialogs,
              backgroundJobRunner(this))
{
    buildWidgets();
    showFields();
    connect(&m_logic, &foundation::ImpostazioniServer::fieldsChanged, this, &TImpostazioniServer::showFields);
}

void TImpostazioniServer::buildWidgets()
{
    setWindowTitle(QStringLiteral("Parametri di Connessione al Server Mysql"));

    m_server = new QLineEdit;
    m_port = new QLineEdit;
    m_port->setMaxLength(5);
    m_database = new QLineEdit;
    m_username = new QLineEdit;
    m_password = new QLineEdit;
    m_password->setEchoMode(QLineEdit::Password);
    m_machineType = new QComboBox;
    m_machineType->addItems(foundation::ImpostazioniServer::machineTypes());
    m_shareOnNetwork =
        new QCheckBox(QStringLiteral("Condividi il server con le altre postazioni della rete"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Server"), m_server);
    form->addRow(QStringLiteral("Porta"), m_port);
    form->addRow(QStringLiteral("Database"), m_database);
    form->addRow(QStringLiteral("Username"), m_username);
    form->addRow(QStringLiteral("Password"), m_password);
    form->addRow(QStringLiteral("Tipo Macchina"), m_machineType);
    form->addRow(QString(), m_shareOnNetwork);

    m_save = new QPushButton(QStringLiteral("Salva"));
    m_save->setDefault(true); // Enter saves, Escape leaves as "Esci" does
    m_exit = new QPushButton(QStringLiteral("Esci"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_exit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // Names for the screen reader and for tests that drive the window.
    m_server->setObjectName(QStringLiteral("server"));
    m_port->setObjectName(QStringLiteral("porta"));
    m_database->setObjectName(QStringLiteral("database"));
    m_username->setObjectName(QStringLiteral("username"));
    m_password->setObjectName(QStringLiteral("password"));
    m_machineType->setObjectName(QStringLiteral("tipoMacchina"));
    m_shareOnNetwork->setObjectName(QStringLiteral("condividiRete"));
    m_save->setObjectName(QStringLiteral("salva"));
    m_exit->setObjectName(QStringLiteral("esci"));

    QWidget* order[] = {m_server,      m_port,           m_database, m_username, m_password,
                        m_machineType, m_shareOnNetwork, m_save,     m_exit};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_server, &QLineEdit::textEdited, &m_logic, &foundation::ImpostazioniServer::setServer);
    connect(m_port, &QLineEdit::textEdited, &m_logic, &foundation::ImpostazioniServer::setPort);
    connect(m_database, &QLineEdit::textEdited, &m_logic, &foundation::ImpostazioniServer::setDatabase);
    connect(m_username, &QLineEdit::textEdited, &m_logic, &foundation::ImpostazioniServer::setUsername);
    connect(m_password, &QLineEdit::textEdited, &m_logic, &foundation::ImpostazioniServer::setPassword);
    connect(m_machineType, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_logic.setMachineType(index < 0 ? QString() : m_machineType->itemText(index));
    });
    connect(m_shareOnNetwork, &QCheckBox::toggled, &m_logic,
            &foundation::ImpostazioniServer::setShareOnNetwork);
    onClickGuarded(m_save, m_dialogs, [this] { save(); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
}

void TImpostazioniServer::showFields()
{
    const foundation::ImpostazioniServer::Fields& f = m_logic.fields();
    showText(m_server, f.server);
    showText(m_port, f.port);
    showText(m_database, f.database);
    showText(m_username, f.username);
    showText(m_password, f.password);
    const int index = m_machineType->findText(f.machineType);
    if (m_machineType->currentIndex() != index)
        m_machineType->setCurrentIndex(index);
    // Only a workstation that hosts the server can share it.
    m_shareOnNetwork->setEnabled(f.machineType == core::machineTypeText(core::MachineType::ClientServer));
    if (m_shareOnNetwork->isChecked() != f.shareOnNetwork)
        m_shareOnNetwork->setChecked(f.shareOnNetwork);
}

void TImpostazioniServer::save()
{
    if (m_logic.save())
        accept();
}

} // namespace carvendo::ui
