#include "ui/messaging/TSms.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/CardForm.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/PageWidgets.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

using Kind = CardField::Kind;

namespace {

QGroupBox* group(const QString& title, QWidget* content)
{
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(content);
    return box;
}

} // namespace

TSms::TSms(WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.dialogs, backgroundJobRunner(this))
{
    setWindowTitle(QStringLiteral("Impostazioni Sms"));
    resize(620, 560);

    m_accountForm = new CardForm(
        {{QStringLiteral("Username"), QStringLiteral("Username"), Kind::Text, 255},
         {QStringLiteral("Password"), QStringLiteral("Password"), Kind::Text, 255},
         {QStringLiteral("Mittente"), QStringLiteral("Mittente"), Kind::Text, 255},
         {QStringLiteral("QualitaSms"), QStringLiteral("Qualità Sms"), Kind::Text, 255},
         {QStringLiteral("Gateway"), QStringLiteral("Indirizzo del servizio"), Kind::Text, 255}});
    m_accountForm->setObjectName(QStringLiteral("configurazione"));
    if (auto* password = qobject_cast<QLineEdit*>(m_accountForm->editor(QStringLiteral("Password"))))
        password->setEchoMode(QLineEdit::Password);
    if (auto* gateway = qobject_cast<QLineEdit*>(m_accountForm->editor(QStringLiteral("Gateway"))))
        gateway->setPlaceholderText(QStringLiteral("https://..."));
    m_textsForm =
        new CardForm({{QStringLiteral("TestoCat"), QStringLiteral("Testo assistenza"), Kind::Memo},
                      {QStringLiteral("TestoPromo"), QStringLiteral("Testo promozione"), Kind::Memo},
                      {QStringLiteral("TestoNovita"), QStringLiteral("Testo novità"), Kind::Memo},
                      {QStringLiteral("TestoAnnuncio"), QStringLiteral("Testo annuncio"), Kind::Memo},
                      {QStringLiteral("idScadenza"), QStringLiteral("Scadenza"), Kind::Integer}});
    m_textsForm->setObjectName(QStringLiteral("corposms"));

    QPushButton* check = pageButton(QStringLiteral("Verifica account"), QStringLiteral("verifica"));
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salva"));
    QPushButton* cancel = pageButton(QStringLiteral("Annulla"), QStringLiteral("annulla"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group(QStringLiteral("Account"), m_accountForm));
    layout->addWidget(group(QStringLiteral("Testi dei messaggi"), m_textsForm), 1);
    auto* commands = buttonRow({save, cancel});
    commands->insertWidget(0, check);
    layout->addLayout(commands);

    connect(m_accountForm, &CardForm::valueEdited, this,
            [this](const QString& column, const QVariant& value) { m_logic.setAccountValue(column, value); });
    connect(m_textsForm, &CardForm::valueEdited, this,
            [this](const QString& column, const QVariant& value) { m_logic.setTextValue(column, value); });
    onClickGuarded(check, m_dialogs, [this] { m_logic.checkAccount(); });
    onClickGuarded(save, m_dialogs, [this] {
        m_logic.save();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    core::runGuarded(m_dialogs, [&] { m_logic.open(); });
    m_accountForm->setValues(m_logic.account().values());
    m_textsForm->setValues(m_logic.texts().values());
    m_accountForm->focusFirst();
}

} // namespace carvendo::ui
