#include "ui/messaging/TMailForm.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/PageWidgets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

QLineEdit* field(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

TMailForm::TMailForm(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.dialogs, backgroundJobRunner(this))
{
    setWindowTitle(QStringLiteral("Invio e-mail"));
    resize(680, 600);

    m_sender = field("edMittente", this);
    m_recipient = field("edDest", this);
    m_copy = field("edCC", this);
    m_subject = field("edOggetto", this);
    m_body = new QPlainTextEdit(this);
    m_body->setObjectName(QStringLiteral("Body"));
    m_body->setTabChangesFocus(true);
    m_attachment = field("ledAttachment", this);
    QPushButton* browse = commandButton(QStringLiteral("Sfoglia..."), this);
    m_status = new QListWidget(this);
    m_status->setObjectName(QStringLiteral("stato"));
    m_status->setMaximumHeight(110);
    m_status->setFocusPolicy(Qt::NoFocus);
    QPushButton* send = commandButton(QStringLiteral("Invia"), this);
    QPushButton* cancel = commandButton(QStringLiteral("Annulla"), this);

    auto* header = new QFormLayout;
    header->addRow(QStringLiteral("Mittente"), m_sender);
    header->addRow(QStringLiteral("Destinatario"), m_recipient);
    header->addRow(QStringLiteral("CC"), m_copy);
    header->addRow(QStringLiteral("Oggetto"), m_subject);
    auto* attachmentRow = new QHBoxLayout;
    attachmentRow->addWidget(m_attachment, 1);
    attachmentRow->addWidget(browse);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(m_body, 1);
    layout->addWidget(new QLabel(QStringLiteral("Allegati da inviare:"), this));
    layout->addLayout(attachmentRow);
    layout->addWidget(new QLabel(QStringLiteral("Stato dell'invio:"), this));
    layout->addWidget(m_status);
    layout->addLayout(buttonRow({send, cancel}));

    connect(m_sender, &QLineEdit::textEdited, this, [this](const QString& text) { m_logic.setSender(text); });
    connect(m_recipient, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic.setRecipient(text); });
    connect(m_copy, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic.setCopyRecipient(text); });
    connect(m_subject, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic.setSubject(text); });
    connect(m_attachment, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic.setAttachment(text); });
    connect(m_body, &QPlainTextEdit::textChanged, this, [this] { m_logic.setBody(m_body->toPlainText()); });
    connect(&m_logic, &messaging::MailForm::messageChanged, this, &TMailForm::showMessage);
    connect(&m_logic, &messaging::MailForm::statusChanged, this, &TMailForm::showStatus);
    onClickGuarded(browse, m_dialogs, [this] { m_logic.chooseAttachment(); });
    onClickGuarded(send, m_dialogs, [this] {
        if (m_logic.send())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    core::runGuarded(m_dialogs, [&] { m_logic.open(messaging::MailMessage::fromValues(request.values)); });
    if (m_recipient->text().isEmpty())
        m_recipient->setFocus();
    else
        m_body->setFocus();
}

void TMailForm::showMessage()
{
    const messaging::MailMessage& message = m_logic.message();
    m_sender->setText(message.from);
    m_recipient->setText(message.to);
    m_copy->setText(message.cc);
    m_subject->setText(message.subject);
    m_attachment->setText(message.attachment);
    const QSignalBlocker quiet(m_body); // the text shown is already the logic's
    m_body->setPlainText(message.body.join(u'\n'));
}

void TMailForm::showStatus()
{
    m_status->clear();
    m_status->addItems(m_logic.statusLines());
}

} // namespace carvendo::ui
