#include "ui/pos/PosCashPage.h"

#include "pos/PosClassic.h"
#include "ui/common/PageWidgets.h"
#include "ui/pos/TillWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace carvendo::ui {

PosCashPage::PosCashPage(pos::PosClassic& logic, core::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_logic(logic), m_dialogs(dialogs)
{
    auto* payments = new QGridLayout;
    const QList<pos::PaymentChoice>& choices = pos::PosClassic::paymentChoices();
    for (int i = 0; i < choices.size(); ++i) {
        QPushButton* pay =
            tillButton(choices.at(i).caption, QStringLiteral("pagamento%1").arg(i), m_dialogs, [this, i] {
                m_logic.choosePayment(i);
                m_received->setFocus();
            });
        pay->setMinimumHeight(44);
        payments->addWidget(pay, i / 4, i % 4);
    }

    m_paymentIcon = new QLabel;
    m_paymentLabel = new QLabel;
    m_paymentLabel->setObjectName(QStringLiteral("tipoPagamento"));
    m_paymentLabel->setFont(scaledFont(m_paymentLabel->font(), 1.6, true));
    m_total = new QLabel;
    m_total->setFont(scaledFont(m_total->font(), 1.8, true));
    m_received = namedField(QStringLiteral("importoRicevuto"));
    m_received->setFont(scaledFont(m_received->font(), 1.6));
    connect(m_received, &QLineEdit::textEdited, this,
            [this] { m_logic.setReceived(typedMoney(m_received)); });
    m_change = new QLabel;
    m_change->setObjectName(QStringLiteral("resto"));
    m_change->setFont(scaledFont(m_change->font(), 1.8, true));
    m_fiscalCode = namedField(QStringLiteral("codiceFiscale"));
    connect(m_fiscalCode, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic.setFiscalCode(text); });

    auto* amounts = new QFormLayout;
    amounts->addRow(QStringLiteral("Pagamento"), m_paymentLabel);
    amounts->addRow(QStringLiteral("Totale"), m_total);
    amounts->addRow(QStringLiteral("Importo ricevuto"), m_received);
    amounts->addRow(QStringLiteral("Resto"), m_change);
    amounts->addRow(QStringLiteral("Codice fiscale / P. IVA"), m_fiscalCode);
    auto* summary = new QHBoxLayout;
    summary->addLayout(amounts, 1);
    summary->addWidget(m_paymentIcon);

    const auto closing = [this](pos::ClosingKind kind) { return [this, kind] { m_logic.close(kind); }; };
    auto* closings = new QHBoxLayout;
    for (QPushButton* command :
         {tillButton(QStringLiteral("F8 Scontrino Fiscale"), QStringLiteral("scontrinoFiscale"), m_dialogs,
                     closing(pos::ClosingKind::FiscalReceipt)),
          tillButton(QStringLiteral("F12 Fattura"), QStringLiteral("fattura"), m_dialogs,
                     closing(pos::ClosingKind::Invoice)),
          tillButton(QStringLiteral("F9 Conferma Scarico"), QStringLiteral("confermaScarico"), m_dialogs,
                     closing(pos::ClosingKind::ConfirmUnload))}) {
        command->setMinimumHeight(52);
        command->setFont(scaledFont(command->font(), 1.15, true));
        closings->addWidget(command);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(payments);
    layout->addLayout(summary);
    layout->addWidget(buildPaymentPages(), 1);
    layout->addLayout(closings);
}

void PosCashPage::render()
{
    const pos::PosClassic& logic = m_logic;
    m_paymentPages->setCurrentIndex(int(logic.paymentPage()));
    m_paymentLabel->setText(logic.paymentLabel());
    const QString icon = logic.paymentIcon();
    m_paymentIcon->setPixmap(icon.isEmpty() ? QPixmap()
                                            : QPixmap(icon).scaledToHeight(64, Qt::SmoothTransformation));
    m_total->setText(QStringLiteral("€ ") + logic.sale().totals().totaleConto.toItalian());
    // What is being typed ("0,") stays as long as it means the amount the sale holds.
    if (typedMoney(m_received) != logic.sale().received())
        m_received->setText(logic.sale().received().isZero() ? QString()
                                                             : logic.sale().received().toEditText());
    m_change->setText(QStringLiteral("€ ") + logic.sale().change().toItalian());
    if (m_fiscalCode->text() != logic.fiscalCode())
        m_fiscalCode->setText(logic.fiscalCode());
    m_chequeImage->setText(logic.chequeImage());
    // The cheque and pack fields belong to the sale they were typed for.
    if (logic.sale().id() != m_shownSale) {
        m_shownSale = logic.sale().id();
        for (QLineEdit* field : {m_chequeAmount, m_chequeBank, m_chequeNumber, m_customerContribution,
                                 m_operatorContribution, m_points, m_subscription, m_promotionDiscount})
            field->clear();
    }
    renderPack();
}

QWidget* PosCashPage::buildPaymentPages()
{
    m_paymentPages = new QStackedWidget;
    m_paymentPages->setObjectName(QStringLiteral("areaPagamento"));
    // In the order of PaymentPage.
    m_paymentPages->addWidget(new QWidget);

    auto* banknotes = new QWidget;
    auto* notes = new QGridLayout;
    auto* banknotesLayout = new QVBoxLayout(banknotes);
    banknotesLayout->addLayout(notes);
    banknotesLayout->addStretch();
    const QList<pos::Banknote>& faces = pos::PosClassic::banknotes();
    for (int i = 0; i < faces.size(); ++i) {
        QPushButton* note = pageButton(faces.at(i).caption, QStringLiteral("banconota%1").arg(i));
        note->setFocusPolicy(Qt::NoFocus);
        note->setMinimumHeight(48);
        note->setFont(scaledFont(note->font(), 1.15, true));
        connect(note, &QPushButton::clicked, this, [this, i] { m_logic.pressBanknote(i); });
        notes->addWidget(note, i / 5, i % 5);
    }
    m_paymentPages->addWidget(banknotes);
    m_paymentPages->addWidget(buildChequePage());

    auto* voucher = new QWidget;
    auto* voucherLayout = new QVBoxLayout(voucher);
    voucherLayout->addWidget(
        new QLabel(QStringLiteral("Buoni di credito: ") + pos::PosClassic::notAvailableMessage()));
    voucherLayout->addLayout(
        buttonRow({notYetButton(QStringLiteral("Usa buono selezionato"), QStringLiteral("usaBuono"))}));
    voucherLayout->addStretch();
    m_paymentPages->addWidget(voucher);
    m_paymentPages->addWidget(buildPackPage());
    return m_paymentPages;
}

QWidget* PosCashPage::buildChequePage()
{
    m_chequeAmount = namedField(QStringLiteral("importoAssegno"));
    m_chequeBank = namedField(QStringLiteral("bancaAssegno"));
    m_chequeNumber = namedField(QStringLiteral("numeroAssegno"));
    m_chequeImage = new QLabel;
    m_chequeImage->setObjectName(QStringLiteral("immagineAssegno"));
    connect(m_chequeAmount, &QLineEdit::textEdited, this,
            [this] { m_logic.cheque().amount = typedMoney(m_chequeAmount); });
    connect(m_chequeBank, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic.cheque().bank = text; });
    connect(m_chequeNumber, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_logic.cheque().number = text; });

    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Importo assegno"), m_chequeAmount);
    form->addRow(QStringLiteral("Banca"), m_chequeBank);
    form->addRow(QStringLiteral("Numero assegno"), m_chequeNumber);
    auto* scan = new QHBoxLayout;
    scan->addWidget(tillButton(QStringLiteral("Acquisizione da scanner..."),
                               QStringLiteral("acquisizioneAssegno"), m_dialogs,
                               [this] { m_logic.acquireChequeImage(); }));
    scan->addWidget(m_chequeImage, 1);
    form->addRow(scan);
    return page;
}

QWidget* PosCashPage::buildPackPage()
{
    m_packDescription = new QLabel;
    m_packDescription->setFont(scaledFont(m_packDescription->font(), 1.2, true));
    m_packOptions = new QButtonGroup(this);
    auto* options = new QVBoxLayout;
    const QStringList captions{
        QStringLiteral("Tutto Gratuito con Scarico Punti"), QStringLiteral("Scarico Punti + Contributo"),
        QStringLiteral("Vendita Normale"), QStringLiteral("Abbonamento"), QStringLiteral("Promozione")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* option = new QRadioButton(captions.at(i));
        option->setObjectName(QStringLiteral("opzionePack%1").arg(i));
        m_packOptions->addButton(option, i);
        options->addWidget(option);
    }
    connect(m_packOptions, &QButtonGroup::idClicked, this,
            [this](int id) { m_logic.pack().option = pos::PackUnload::Option(id); });
    m_royalty = new QCheckBox(QStringLiteral("Royalty (Raccolta Punti)"));
    m_royalty->setObjectName(QStringLiteral("royalty"));
    m_commitment = new QCheckBox(QStringLiteral("Facile (Vincolo)"));
    m_commitment->setObjectName(QStringLiteral("vincolo"));
    connect(m_royalty, &QCheckBox::toggled, this, [this](bool on) { m_logic.pack().royalty = on; });
    connect(m_commitment, &QCheckBox::toggled, this, [this](bool on) { m_logic.pack().commitment = on; });
    options->addWidget(m_royalty);
    options->addWidget(m_commitment);

    m_customerContribution = namedField(QStringLiteral("contributoCliente"));
    m_operatorContribution = namedField(QStringLiteral("contributoOperatore"));
    m_points = namedField(QStringLiteral("punti"));
    m_subscription = namedField(QStringLiteral("canone"));
    m_promotionDiscount = namedField(QStringLiteral("scontoPromozione"));
    auto* amounts = new QFormLayout;
    amounts->addRow(QStringLiteral("Contributo cliente"), m_customerContribution);
    amounts->addRow(QStringLiteral("Contributo operatore"), m_operatorContribution);
    amounts->addRow(QStringLiteral("Punti"), m_points);
    amounts->addRow(QStringLiteral("Canone mensile"), m_subscription);
    amounts->addRow(QStringLiteral("Sconto promozione"), m_promotionDiscount);
    for (QLineEdit* field :
         {m_customerContribution, m_operatorContribution, m_points, m_subscription, m_promotionDiscount})
        connect(field, &QLineEdit::textEdited, this, &PosCashPage::readPackAmounts);

    auto* columns = new QHBoxLayout;
    columns->addLayout(options);
    columns->addLayout(amounts, 1);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_packDescription);
    layout->addLayout(columns);
    layout->addStretch();
    return page;
}

void PosCashPage::renderPack()
{
    const std::optional<pos::PackItem>& item = m_logic.packItem();
    const bool points = item && item->points;
    m_packDescription->setText(item ? item->description : QString());
    for (int option :
         {int(pos::PackUnload::Option::FreeWithPoints), int(pos::PackUnload::Option::PointsAndContribution)})
        m_packOptions->button(option)->setEnabled(points);
    m_packOptions->button(int(m_logic.pack().option))->setChecked(true);
    m_royalty->setEnabled(points);
    m_royalty->setChecked(m_logic.pack().royalty);
    m_commitment->setEnabled(item && item->commitment);
    m_commitment->setChecked(m_logic.pack().commitment);
}

void PosCashPage::readPackAmounts()
{
    pos::PackUnload& pack = m_logic.pack();
    pack.customerContribution = typedMoney(m_customerContribution);
    pack.operatorContribution = typedMoney(m_operatorContribution);
    pack.points = m_points->text().trimmed().toInt();
    pack.subscription = typedMoney(m_subscription);
    pack.promotionDiscount = typedMoney(m_promotionDiscount);
}

} // namespace carvendo::ui
