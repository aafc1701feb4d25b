#include "ui/foundation/TConfig.h"

#include "foundation/ImpostazioniIni.h"
#include "ui/common/EditableList.h"
#include "ui/common/PageWidgets.h"
#include "ui/foundation/EInvoicePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace carvendo::ui {

using foundation::Lookup;

TConfig::TConfig(WindowEnvironment& environment, core::Db& company, QWidget* parent)
    : Window(parent), m_logic(company, environment.paths, environment.session, environment.dialogs)
{
    setWindowTitle(QStringLiteral("Configurazione Generale"));
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pagine"));
    m_pages->addTab(buildGenerale(), QStringLiteral("Generale"));
    m_pages->addTab(buildArticoli(), QStringLiteral("Articoli"));
    m_pages->addTab(buildClienti(), QStringLiteral("Configurazione Clienti"));
    m_pages->addTab(buildPreferenze(), QStringLiteral("Preferenze"));
    m_pages->addTab(buildContabilita(), QStringLiteral("Contabilità"));
    auto* einvoice = new EInvoicePage(company, environment.dialogs);
    einvoice->setObjectName(QStringLiteral("fatturaElettronica"));
    m_pages->addTab(einvoice, QStringLiteral("Fatturazione elettronica"));

    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    resize(960, 600);

    showPreferences();
    showLabels();
}

void TConfig::done(int result)
{
    // Closing in any way (Esci, Escape, the title bar) writes the preferences once.
    if (!m_closed) {
        m_closed = true;
        takePreferences();
        m_logic.close();
    }
    Window::done(result);
}

EditableList* TConfig::list(Lookup lookup, const QString& objectName)
{
    auto* list = new EditableList(m_logic.list(lookup));
    list->setObjectName(objectName);
    return list;
}

QWidget* TConfig::titled(const QString& title, QWidget* content)
{
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

QWidget* TConfig::buildGenerale()
{
    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("generale"));

    auto* units = new QWidget;
    auto* unitsLayout = new QHBoxLayout(units);
    unitsLayout->addWidget(
        titled(QStringLiteral("Unità di vendita"), list(Lookup::Umv, QStringLiteral("umv"))));
    unitsLayout->addWidget(
        titled(QStringLiteral("Unità di acquisto"), list(Lookup::Uma, QStringLiteral("uma"))));
    unitsLayout->addWidget(
        titled(QStringLiteral("Unità di misura"), list(Lookup::UnitaMisura, QStringLiteral("unitamisura"))));
    tabs->addTab(units, QStringLiteral("Unità di misura"));

    tabs->addTab(list(Lookup::CausaliGeneriche, QStringLiteral("causaligeneriche")),
                 QStringLiteral("Causali di Magazzino"));
    tabs->addTab(list(Lookup::BusinessArea, QStringLiteral("areegeografiche")),
                 QStringLiteral("Aree Geografiche"));

    // The rate and description change only through their two commands (every row with the old value
    // follows); the nature and legal reference are edited in the grid.
    EditableList* vat = list(Lookup::Iva, QStringLiteral("iva"));
    QPushButton* description = vat->addCommand(QStringLiteral("Modifica Descrizione"));
    description->setObjectName(QStringLiteral("modificaDescrizione"));
    QPushButton* rate = vat->addCommand(QStringLiteral("Modifica Aliquota"));
    rate->setObjectName(QStringLiteral("modificaAliquota"));
    connect(description, &QPushButton::clicked, this,
            [this, vat] { m_logic.changeVatDescription(vat->currentRow()); });
    connect(rate, &QPushButton::clicked, this, [this, vat] { m_logic.changeVatRate(vat->currentRow()); });
    tabs->addTab(vat, QStringLiteral("Aliquote Iva"));

    EditableList* departments = list(Lookup::Reparti, QStringLiteral("reparti"));
    QPushButton* update = departments->addCommand(QStringLiteral("aggiorna reparti articoli"));
    update->setObjectName(QStringLiteral("aggiornaReparti"));
    connect(update, &QPushButton::clicked, this, [this] { m_logic.updateItemDepartments(); });
    tabs->addTab(departments, QStringLiteral("Reparti"));
    return tabs;
}

QWidget* TConfig::buildArticoli()
{
    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("articoli"));
    tabs->addTab(list(Lookup::ClassiMerce, QStringLiteral("classimerce")),
                 QStringLiteral("Classi Merceologiche"));
    tabs->addTab(list(Lookup::Categorie, QStringLiteral("categorie")), QStringLiteral("Categorie"));
    tabs->addTab(list(Lookup::SubCategorie, QStringLiteral("subcategorie")), QStringLiteral("Sub-Categorie"));
    tabs->addTab(buildEtichette(), QStringLiteral("Etichette"));
    tabs->addTab(list(Lookup::Generi, QStringLiteral("generi")), QStringLiteral("Generi"));
    tabs->addTab(list(Lookup::Autori, QStringLiteral("autori")), QStringLiteral("Autori"));
    tabs->addTab(list(Lookup::Marchi, QStringLiteral("marchi")), QStringLiteral("Marchi"));
    tabs->addTab(list(Lookup::Editori, QStringLiteral("editori")), QStringLiteral("Editori"));
    tabs->addTab(list(Lookup::Collane, QStringLiteral("collane")), QStringLiteral("Collane"));
    return tabs;
}

QWidget* TConfig::buildEtichette()
{
    m_ean8 = new QRadioButton(QStringLiteral("Standard EAN 8"));
    m_ean8->setObjectName(QStringLiteral("ean8"));
    m_ean13 = new QRadioButton(QStringLiteral("Standard EAN 13"));
    m_ean13->setObjectName(QStringLiteral("ean13"));
    m_startBarcode = new QLineEdit;
    m_startBarcode->setObjectName(QStringLiteral("barcodePartenza"));
    m_startBarcode->setMaxLength(12);
    m_labelPrinter = new QComboBox;
    m_labelPrinter->setObjectName(QStringLiteral("etichettatrice"));
    m_labelPrinter->addItems(foundation::ImpostazioniKeys::etichettatrice().allowedValues);
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaEtichette"));
    connect(save, &QPushButton::clicked, this, [this] {
        m_logic.saveLabelSettings(
            foundation::LabelSettings{m_ean8->isChecked() ? foundation::ImpostazioniValues::Ean8
                                                          : foundation::ImpostazioniValues::Ean13,
                                      m_startBarcode->text(), m_labelPrinter->currentText()});
        showLabels();
    });

    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(m_ean8);
    form->addRow(m_ean13);
    form->addRow(QStringLiteral("Barcode di partenza (Ean8 max 7 - Ean13 max12)"), m_startBarcode);
    form->addRow(QStringLiteral("Etichettatrice"), m_labelPrinter);
    form->addRow(save);
    return page;
}

void TConfig::showLabels()
{
    const foundation::LabelSettings labels = m_logic.labelSettings();
    (labels.barcodeStandard == foundation::ImpostazioniValues::Ean8 ? m_ean8 : m_ean13)->setChecked(true);
    m_startBarcode->setText(labels.startBarcode);
    const int printer = m_labelPrinter->findText(labels.labelPrinter);
    m_labelPrinter->setCurrentIndex(printer < 0 ? 0 : printer);
}

QWidget* TConfig::buildClienti()
{
    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("clienti"));
    tabs->addTab(list(Lookup::CatClienti, QStringLiteral("catclienti")), QStringLiteral("Categorie Clienti"));
    tabs->addTab(list(Lookup::DefClienti, QStringLiteral("defclienti")),
                 QStringLiteral("Definizioni Clienti"));
    tabs->addTab(list(Lookup::BusinessArea, QStringLiteral("businessarea")), QStringLiteral("Business Area"));
    tabs->addTab(buildPrivacy(), QStringLiteral("Privacy"));
    return tabs;
}

QWidget* TConfig::buildPrivacy()
{
    m_privacy = new QPlainTextEdit;
    m_privacy->setObjectName(QStringLiteral("privacy"));
    m_privacy->setTabChangesFocus(true);
    m_privacy->setPlainText(m_logic.privacyText());
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaPrivacy"));
    connect(save, &QPushButton::clicked, this, [this] { m_logic.savePrivacyText(m_privacy->toPlainText()); });
    return stackedColumn({m_privacy, save});
}

QWidget* TConfig::buildPreferenze()
{
    m_skin = new QComboBox;
    m_skin->setObjectName(QStringLiteral("skin"));
    m_skin->addItems(foundation::ImpostazioniKeys::skinName().allowedValues);
    m_prezziDdt = new QCheckBox(QStringLiteral("Visualizza i prezzi sui Ddt"));
    m_promemoria = new QCheckBox(QStringLiteral("Apri Promemoria all'avvio"));
    m_splash = new QCheckBox(QStringLiteral("Visualizza Splash Screen all'avvio"));
    QPushButton* saveAppearance = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaAspetto"));
    connect(saveAppearance, &QPushButton::clicked, this, [this] {
        takePreferences();
        m_logic.saveAppearance();
    });
    auto* appearance = new QGroupBox(QStringLiteral("Aspetto grafico"));
    auto* appearanceForm = new QFormLayout(appearance);
    appearanceForm->addRow(QStringLiteral("Skin"), m_skin);
    appearanceForm->addRow(m_prezziDdt);
    appearanceForm->addRow(m_promemoria);
    appearanceForm->addRow(m_splash);
    appearanceForm->addRow(saveAppearance);

    m_treDecimali = new QCheckBox(QStringLiteral("Usa Giacenze con 3 decimali"));
    m_ivaInclusa = new QCheckBox(QStringLiteral("Prezzi iva inclusa in scarico da fattura immediata"));
    auto* documents = new QGroupBox(QStringLiteral("Magazzino e documenti"));
    auto* documentsLayout = new QVBoxLayout(documents);
    documentsLayout->addWidget(m_treDecimali);
    documentsLayout->addWidget(m_ivaInclusa);

    m_classicInterface = new QRadioButton(QStringLiteral("Interfaccia classica"));
    m_touchInterface = new QRadioButton(QStringLiteral("Interfaccia Touch screen"));
    m_fullScreen = new QCheckBox(QStringLiteral("Modalità tutto schermo"));
    m_operatoreObbligatorio = new QCheckBox(QStringLiteral("Operatore obbligatorio"));
    m_disconnetti = new QCheckBox(QStringLiteral("Disconnetti operatore"));
    m_disconnessioneDopo = new QComboBox;
    m_disconnessioneDopo->setObjectName(QStringLiteral("disconnessioneDopo"));
    m_disconnessioneDopo->addItems(foundation::ImpostazioniKeys::disconnessioneDopo().allowedValues);
    auto* after = new QHBoxLayout;
    after->addWidget(m_disconnetti);
    after->addWidget(new QLabel(QStringLiteral("dopo")));
    after->addWidget(m_disconnessioneDopo);
    after->addStretch();
    auto* pos = new QGroupBox(QStringLiteral("Vendita al banco"));
    auto* posLayout = new QVBoxLayout(pos);
    posLayout->addWidget(m_classicInterface);
    posLayout->addWidget(m_touchInterface);
    posLayout->addWidget(m_fullScreen);
    posLayout->addWidget(m_operatoreObbligatorio);
    posLayout->addLayout(after);

    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("preferenze"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(appearance);
    layout->addWidget(documents);
    layout->addWidget(pos);
    layout->addStretch();
    return page;
}

void TConfig::showPreferences()
{
    const foundation::Preferences& p = m_logic.preferences();
    m_skin->setCurrentIndex(std::max(0, int(m_skin->findText(p.skinName))));
    m_prezziDdt->setChecked(p.prezziDdt);
    m_promemoria->setChecked(p.promemoria);
    m_splash->setChecked(p.splash);
    m_treDecimali->setChecked(p.treDecimali);
    m_ivaInclusa->setChecked(p.ivaInclusaInScarico);
    (p.interfacciaPos == foundation::ImpostazioniValues::InterfacciaClassica ? m_classicInterface
                                                                             : m_touchInterface)
        ->setChecked(true);
    m_fullScreen->setChecked(p.tuttoSchermo);
    m_operatoreObbligatorio->setChecked(p.operatoreObbligatorio);
    m_disconnetti->setChecked(p.disconnettiOperatore);
    m_disconnessioneDopo->setCurrentIndex(
        std::max(0, int(m_disconnessioneDopo->findText(p.disconnessioneDopo))));
}

void TConfig::takePreferences()
{
    foundation::Preferences p;
    p.skinName = m_skin->currentText();
    p.prezziDdt = m_prezziDdt->isChecked();
    p.promemoria = m_promemoria->isChecked();
    p.splash = m_splash->isChecked();
    p.treDecimali = m_treDecimali->isChecked();
    p.ivaInclusaInScarico = m_ivaInclusa->isChecked();
    p.interfacciaPos = m_classicInterface->isChecked() ? foundation::ImpostazioniValues::InterfacciaClassica
                                                       : foundation::ImpostazioniValues::InterfacciaTouch;
    p.tuttoSchermo = m_fullScreen->isChecked();
    p.operatoreObbligatorio = m_operatoreObbligatorio->isChecked();
    p.disconnettiOperatore = m_disconnetti->isChecked();
    p.disconnessioneDopo = m_disconnessioneDopo->currentText();
    m_logic.setPreferences(p);
}

QWidget* TConfig::buildContabilita()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* lists = new QVBoxLayout;
    lists->addWidget(titled(QStringLiteral("Tipi Ritenuta D'acconto per Fatture emesse"),
                            list(Lookup::RitenuteAcconto, QStringLiteral("ritenute"))));
    lists->addWidget(titled(QStringLiteral("Modalità di pagamento"),
                            list(Lookup::ModalitaPagamenti, QStringLiteral("modalitaPagamento"))));
    layout->addLayout(lists, 3);

    // A series is only ever added: documents already numbered in it keep referring to it.
    EditableList* suffixes = list(Lookup::SuffissiDoc, QStringLiteral("suffissi"));
    suffixes->setEditable(false);
    suffixes->setCanAdd(false);
    suffixes->setCanRemove(false);
    QPushButton* add = suffixes->addCommand(QStringLiteral("Aggiungi nuova"));
    add->setObjectName(QStringLiteral("aggiungiNumerazione"));
    connect(add, &QPushButton::clicked, this, [this] { m_logic.addSuffix(); });
    // A series is a letter or two: the lists beside it take the width.
    QWidget* numbering = titled(QStringLiteral("Numerazione documenti di vendita"), suffixes);
    numbering->setMaximumWidth(235);
    layout->addWidget(numbering, 1);
    return page;
}

} // namespace carvendo::ui
