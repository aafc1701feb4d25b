#include "ui/foundation/TImpostazioniNew.h"

#include "foundation/CompanyProfile.h"
#include "ui/common/CardForm.h"
#include "ui/common/EditableList.h"
#include "ui/common/GuardedCommand.h"
#include "ui/common/PageWidgets.h"
#include "ui/foundation/BackupRestorePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace carvendo::ui {

using foundation::Lookup;
using Kind = CardField::Kind;

namespace {

QWidget* page(QWidget* content, QHBoxLayout* buttons)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(content);
    layout->addStretch();
    layout->addLayout(buttons);
    return page;
}

void maskPassword(CardForm* form, const QString& column)
{
    if (auto* line = qobject_cast<QLineEdit*>(form->editor(column)))
        line->setEchoMode(QLineEdit::Password);
}

} // namespace

TImpostazioniNew::TImpostazioniNew(WindowEnvironment& environment, core::Db& company, core::Db& directory,
                                   int companyId, const QString& pageName, QWidget* parent)
    : Window(parent),
      m_logic(company, directory, environment.paths, environment.session, environment.dialogs, companyId),
      m_environment(environment)
{
    setWindowTitle(QStringLiteral("Impostazioni Generali"));
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pagine"));
    const QStringList& names = foundation::ImpostazioniNew::pageNames();
    m_pages->addTab(buildAzienda(), names[0]);
    m_pages->addTab(listPage(Lookup::Banche, QStringLiteral("banche")), names[1]);
    m_pages->addTab(buildLogo(), names[2]);
    m_pages->addTab(new BackupRestorePage(environment), names[3]);
    m_pages->addTab(buildCashRegister(), names[4]);
    m_pages->addTab(buildMail(), names[5]);
    m_pages->addTab(buildUsers(), names[6]);
    m_pages->addTab(buildPrints(), names[7]);
    m_pages->addTab(buildStore(), names[8]);
    m_pages->setCurrentIndex(foundation::ImpostazioniNew::pageIndex(pageName));

    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttonRow({exit}));
    resize(900, 620);
}

QWidget* TImpostazioniNew::listPage(Lookup lookup, const QString& objectName)
{
    auto* list = new EditableList(m_logic.list(lookup));
    list->setObjectName(objectName);
    return list;
}

QWidget* TImpostazioniNew::buildAzienda()
{
    QList<CardField> fields;
    for (const foundation::CompanyProfile::Field& field : foundation::CompanyProfile::fields())
        fields << CardField{field.caption, field.caption, Kind::Text, field.maxLength};
    m_company = new CardForm(fields, 2);
    m_company->setObjectName(QStringLiteral("azienda"));
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaAzienda"));
    onClickGuarded(save, m_environment.dialogs, [this] {
        core::CompanyRecord record = m_logic.companyRecord();
        for (const foundation::CompanyProfile::Field& field : foundation::CompanyProfile::fields())
            record.*field.member = m_company->value(field.caption).toString();
        if (m_logic.saveCompany(record))
            showCompany();
    });
    showCompany();
    return page(m_company, buttonRow({save}));
}

void TImpostazioniNew::showCompany()
{
    const core::CompanyRecord record = m_logic.companyRecord();
    QVariantMap values;
    for (const foundation::CompanyProfile::Field& field : foundation::CompanyProfile::fields())
        values.insert(field.caption, record.*field.member);
    m_company->setValues(values);
}

QWidget* TImpostazioniNew::buildLogo()
{
    m_logoPicture = new QLabel;
    m_logoPicture->setObjectName(QStringLiteral("logo"));
    m_logoPicture->setAlignment(Qt::AlignCenter);
    m_logoPicture->setMinimumSize(320, 200);
    m_logoPicture->setFrameShape(QFrame::StyledPanel);
    m_usesLogo = new QCheckBox(QStringLiteral("Usa il logo aziendale"));
    m_usesLogo->setObjectName(QStringLiteral("usaLogo"));
    m_usesLogo->setChecked(m_logic.usesLogo());
    connect(m_usesLogo, &QCheckBox::toggled, this, [this](bool on) { m_logic.setUsesLogo(on); });

    QPushButton* load = pageButton(QStringLiteral("Carica..."), QStringLiteral("caricaLogo"));
    QPushButton* remove = pageButton(QStringLiteral("Elimina"), QStringLiteral("eliminaLogo"));
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaLogo"));
    onClickGuarded(load, m_environment.dialogs, [this] { m_logic.loadLogo(); });
    onClickGuarded(remove, m_environment.dialogs, [this] { m_logic.deleteLogo(); });
    onClickGuarded(save, m_environment.dialogs, [this] { m_logic.saveLogo(); });
    connect(&m_logic, &foundation::ImpostazioniNew::logoChanged, this, &TImpostazioniNew::showLogo);
    showLogo();

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(m_logoPicture);
    layout->addWidget(m_usesLogo);
    return page(content, buttonRow({load, remove, save}));
}

void TImpostazioniNew::showLogo()
{
    QPixmap picture;
    if (!m_logic.logo().isEmpty() && picture.loadFromData(m_logic.logo())) {
        m_logoPicture->setPixmap(
            picture.scaled(m_logoPicture->minimumSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        return;
    }
    m_logoPicture->setPixmap(QPixmap());
    m_logoPicture->setText(m_logic.logo().isEmpty() ? QStringLiteral("Nessuna immagine") : QString());
}

QWidget* TImpostazioniNew::buildCashRegister()
{
    m_brand = new QComboBox;
    m_brand->setObjectName(QStringLiteral("marca"));
    m_brand->setEditable(true);
    m_brand->addItems(m_logic.cashRegisterBrands());
    m_model = new QComboBox;
    m_model->setObjectName(QStringLiteral("modello"));
    m_model->setEditable(true);
    m_workFolder = new QLineEdit;
    m_workFolder->setObjectName(QStringLiteral("cartellaLavoro"));
    m_workFolder->setMaxLength(50);
    m_registerPassword = new QLineEdit;
    m_registerPassword->setObjectName(QStringLiteral("passwordCassa"));
    m_registerPassword->setEchoMode(QLineEdit::Password);
    connect(m_brand, &QComboBox::currentTextChanged, this, &TImpostazioniNew::showModels);

    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaCassa"));
    onClickGuarded(save, m_environment.dialogs, [this] {
        m_logic.saveCashRegister(
            foundation::CashRegisterSettings{m_brand->currentText(), m_model->currentText(),
                                             m_workFolder->text(), m_registerPassword->text()});
    });
    showCashRegister();

    auto* content = new QWidget;
    auto* form = new QFormLayout(content);
    form->addRow(QStringLiteral("Marca"), m_brand);
    form->addRow(QStringLiteral("Modello"), m_model);
    form->addRow(QStringLiteral("Cartella di lavoro"), m_workFolder);
    form->addRow(QStringLiteral("Password"), m_registerPassword);
    return page(content, buttonRow({save}));
}

void TImpostazioniNew::showModels(const QString& brand)
{
    const QString typed = m_model->currentText();
    m_model->clear();
    m_model->addItems(m_logic.cashRegisterModels(brand));
    m_model->setCurrentText(typed);
}

void TImpostazioniNew::showCashRegister()
{
    const foundation::CashRegisterSettings settings = m_logic.cashRegister();
    m_brand->setCurrentText(settings.marca);
    showModels(settings.marca);
    m_model->setCurrentText(settings.modello);
    m_workFolder->setText(settings.cartellaLavoro);
    m_registerPassword->setText(settings.password);
}

QWidget* TImpostazioniNew::buildMail()
{
    m_mail = new CardForm(
        {CardField{QStringLiteral("hostname"), QStringLiteral("Host (SMTP server)"), Kind::Text, 50},
         CardField{QStringLiteral("mittente"), QStringLiteral("Mittente"), Kind::Text, 50},
         CardField{QStringLiteral("port"), QStringLiteral("Porta"), Kind::Integer},
         CardField{QStringLiteral("firma"), QStringLiteral("Firma"), Kind::Memo},
         CardField{QStringLiteral("username"), QStringLiteral("Username"), Kind::Text, 50},
         CardField{QStringLiteral("password"), QStringLiteral("Password"), Kind::Text, 50}});
    m_mail->setObjectName(QStringLiteral("mail"));
    maskPassword(m_mail, QStringLiteral("password"));
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaMail"));
    onClickGuarded(save, m_environment.dialogs, [this] {
        m_logic.saveMailAccount(foundation::MailAccount{
            m_mail->value(QStringLiteral("hostname")).toString(),
            m_mail->value(QStringLiteral("mittente")).toString(),
            m_mail->value(QStringLiteral("port")).toInt(), m_mail->value(QStringLiteral("firma")).toString(),
            m_mail->value(QStringLiteral("username")).toString(),
            m_mail->value(QStringLiteral("password")).toString()});
    });
    showMail();
    return page(m_mail, buttonRow({save}));
}

void TImpostazioniNew::showMail()
{
    const foundation::MailAccount account = m_logic.mailAccount();
    m_mail->setValues({{QStringLiteral("hostname"), account.hostname},
                       {QStringLiteral("mittente"), account.mittente},
                       {QStringLiteral("port"), account.port},
                       {QStringLiteral("firma"), account.firma},
                       {QStringLiteral("username"), account.username},
                       {QStringLiteral("password"), account.password}});
}

QWidget* TImpostazioniNew::buildUsers()
{
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    auto* users = new QGroupBox(QStringLiteral("Lista Utenti"));
    (new QVBoxLayout(users))->addWidget(listPage(Lookup::Utenti, QStringLiteral("utenti")));
    auto* groups = new QGroupBox(QStringLiteral("Gestione Gruppi"));
    (new QVBoxLayout(groups))->addWidget(listPage(Lookup::Gruppi, QStringLiteral("gruppi")));
    layout->addWidget(users);
    layout->addWidget(groups);
    return content;
}

QWidget* TImpostazioniNew::buildPrints()
{
    auto* logos = new QGroupBox(QStringLiteral("Usa Logo nella Stampe"));
    auto* logosLayout = new QVBoxLayout(logos);
    for (const QString& caption :
         {QStringLiteral("Fatture"), QStringLiteral("Preventivi"), QStringLiteral("Documenti di Trasporto"),
          QStringLiteral("Ricevute CAT"), QStringLiteral("Ordini Clienti")}) {
        auto* check = new QCheckBox(caption);
        m_logoUse << check;
        logosLayout->addWidget(check);
    }
    m_dropbox = new QLineEdit;
    m_dropbox->setObjectName(QStringLiteral("dropbox"));
    auto* folders = new QFormLayout;
    folders->addRow(QStringLiteral("Cartella Dropbox"), m_dropbox);
    logosLayout->addLayout(folders);
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaStampe"));
    onClickGuarded(save, m_environment.dialogs, [this] {
        m_logic.savePrintSettings(foundation::LogoUse{m_logoUse[0]->isChecked(), m_logoUse[1]->isChecked(),
                                                      m_logoUse[2]->isChecked(), m_logoUse[3]->isChecked(),
                                                      m_logoUse[4]->isChecked()},
                                  m_dropbox->text());
    });
    logosLayout->addLayout(buttonRow({save}));
    showPrints();

    auto* reports = new QGroupBox(QStringLiteral("Personalizzazione percorsi e nomi dei report"));
    (new QVBoxLayout(reports))->addWidget(listPage(Lookup::Report, QStringLiteral("report")));

    auto* content = new QWidget;
    auto* layout = new QHBoxLayout(content);
    layout->addWidget(logos);
    layout->addWidget(reports, 1);
    return content;
}

void TImpostazioniNew::showPrints()
{
    const foundation::LogoUse use = m_logic.logoUse();
    const bool values[] = {use.fatture, use.preventivi, use.ddt, use.ricassist, use.altro};
    for (int i = 0; i < m_logoUse.size(); ++i)
        m_logoUse[i]->setChecked(values[i]);
    m_dropbox->setText(m_logic.dropboxPath());
}

QWidget* TImpostazioniNew::buildStore()
{
    const QStringList modes = foundation::StoreSettings::syncModes();
    m_store =
        new CardForm({CardField{QStringLiteral("host"), QStringLiteral("Host"), Kind::Text, 20},
                      CardField{QStringLiteral("port"), QStringLiteral("Porta"), Kind::Text, 4},
                      CardField{QStringLiteral("username"), QStringLiteral("Username"), Kind::Text, 50},
                      CardField{QStringLiteral("password"), QStringLiteral("Password"), Kind::Text, 50},
                      CardField{QStringLiteral("prefix"), QStringLiteral("Prefisso tabelle"), Kind::Text, 20},
                      CardField{QStringLiteral("database"), QStringLiteral("Database"), Kind::Text, 50},
                      CardField{QStringLiteral("catalogo"), QStringLiteral("Sincronizzazione catalogo"),
                                Kind::Choice, 0, modes},
                      CardField{QStringLiteral("ordini"), QStringLiteral("Sincronizzazione ordini"),
                                Kind::Choice, 0, modes},
                      CardField{QStringLiteral("clienti"), QStringLiteral("Sincronizzazione clienti"),
                                Kind::Choice, 0, modes}});
    m_store->setObjectName(QStringLiteral("ecommerce"));
    maskPassword(m_store, QStringLiteral("password"));
    QPushButton* test = pageButton(QStringLiteral("Test connessione"), QStringLiteral("testConnessione"));
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaEcommerce"));
    onClickGuarded(test, m_environment.dialogs, [this] { m_logic.testStoreConnection(typedStore()); });
    onClickGuarded(save, m_environment.dialogs, [this] { m_logic.saveStore(typedStore()); });
    showStore();
    return page(m_store, buttonRow({test, save}));
}

foundation::StoreConnection TImpostazioniNew::typedStore() const
{
    const auto text = [this](const char* column) {
        return m_store->value(QString::fromLatin1(column)).toString();
    };
    return foundation::StoreConnection{text("host"),     text("port"),   text("username"),
                                       text("password"), text("prefix"), text("database"),
                                       text("catalogo"), text("ordini"), text("clienti")};
}

void TImpostazioniNew::showStore()
{
    const foundation::StoreConnection store = m_logic.store();
    m_store->setValues({{QStringLiteral("host"), store.host},
                        {QStringLiteral("port"), store.port},
                        {QStringLiteral("username"), store.username},
                        {QStringLiteral("password"), store.password},
                        {QStringLiteral("prefix"), store.prefix},
                        {QStringLiteral("database"), store.database},
                        {QStringLiteral("catalogo"), store.catalogoMode},
                        {QStringLiteral("ordini"), store.ordiniMode},
                        {QStringLiteral("clienti"), store.clientiMode}});
}

} // namespace carvendo::ui
