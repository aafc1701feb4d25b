#include "ui/foundation/EInvoicePage.h"

#include "foundation/EInvoiceCodes.h"
#include "ui/common/CardForm.h"
#include "ui/common/PageWidgets.h"

#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

const QStringList kAmounts{QStringLiteral("REACapitale"), QStringLiteral("BolloImporto"),
                           QStringLiteral("BolloSoglia")};

CardField text(const char* column, const char* caption, int maxLength)
{
    return CardField{QString::fromLatin1(column), QString::fromUtf8(caption), CardField::Kind::Text,
                     maxLength};
}

CardField choice(const char* column, const char* caption, const QStringList& options,
                 const QStringList& captions)
{
    CardField field{QString::fromLatin1(column), QString::fromUtf8(caption), CardField::Kind::Choice};
    field.options = options;
    field.optionCaptions = captions;
    return field;
}

QList<CardField> fields()
{
    using foundation::regimiFiscali;
    return {choice("RegimeFiscale", "Regime fiscale", foundation::codesOf(regimiFiscali()),
                   foundation::captionsOf(regimiFiscali())),
            text("Provincia", "Provincia sede", 2),
            text("Nazione", "Nazione sede", 2),
            text("REAUfficio", "Ufficio REA", 2),
            text("REANumero", "Numero REA", 20),
            text("REACapitale", "Capitale sociale", 15),
            choice("REASocioUnico", "Socio unico", {QString(), QStringLiteral("SU"), QStringLiteral("SM")},
                   {QString(), QStringLiteral("SU Socio unico"), QStringLiteral("SM Più soci")}),
            choice("REALiquidazione", "Stato liquidazione", {QStringLiteral("LN"), QStringLiteral("LS")},
                   {QStringLiteral("LN Non in liquidazione"), QStringLiteral("LS In liquidazione")}),
            text("CodFiscTrasmittente", "Codice fiscale trasmittente", 16),
            CardField{QStringLiteral("ProssimoProgressivo"),
                      QStringLiteral("Prossimo numero di trasmissione"), CardField::Kind::Integer},
            text("BolloImporto", "Importo bollo virtuale", 15),
            text("BolloSoglia", "Soglia esente/esclusa per il bollo", 15),
            CardField{QStringLiteral("BolloACaricoCliente"), QStringLiteral("Bollo a carico del cliente"),
                      CardField::Kind::Check},
            text("PecSdI", "PEC del Sistema di Interscambio", 120)};
}

} // namespace

EInvoicePage::EInvoicePage(core::Db& company, core::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_logic(company, dialogs)
{
    m_form = new CardForm(fields(), 2);
    static_cast<QSpinBox*>(m_form->editor(QStringLiteral("ProssimoProgressivo")))->setMinimum(1);
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaFatturaElettronica"));
    QPushButton* reload =
        pageButton(QStringLiteral("Annulla modifiche"), QStringLiteral("annullaFatturaElettronica"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_form);
    layout->addStretch();
    layout->addLayout(buttonRow({save, reload}));

    connect(m_form, &CardForm::valueEdited, this,
            [this](const QString& column, const QVariant& value) { m_logic.setValue(column, value); });
    connect(save, &QPushButton::clicked, this, [this] {
        if (m_logic.save())
            showValues();
    });
    connect(reload, &QPushButton::clicked, this, [this] {
        m_logic.load();
        showValues();
    });
    m_logic.load();
    showValues();
}

void EInvoicePage::showValues()
{
    QVariantMap values = m_logic.values();
    // Amounts show as the operator types them: two decimals after a comma.
    for (const QString& column : kAmounts)
        if (!values.value(column).isNull())
            values[column] = QString::number(values.value(column).toDouble(), 'f', 2).replace(u'.', u',');
    m_form->setValues(values);
}

} // namespace carvendo::ui
