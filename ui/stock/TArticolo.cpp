#include "ui/stock/TArticolo.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "foundation/ImpostazioniIni.h"
#include "ui/common/CardForm.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

using stock::Classification;

CardField cardField(const char* column, const char* caption, CardField::Kind kind = CardField::Kind::Text)
{
    CardField result{QString::fromLatin1(column), QString::fromUtf8(caption), kind};
    if (const stock::ItemColumn* known = stock::Articolo::column(result.column))
        result.maxLength = known->maxLength;
    return result;
}

QList<CardField> mainFields()
{
    using K = CardField::Kind;
    return {cardField("Descrizione", "Descrizione"),
            cardField("NOTE", "Note"),
            cardField("TestoEsteso", "Testo esteso", K::Memo),
            cardField("Seriale", "Gestione seriali", K::Check),
            cardField("TC", "Taglie e colori", K::Check),
            cardField("Porzioni", "Vendita a porzioni", K::Check),
            cardField("Promozione", "In promozione", K::Check),
            cardField("attivo", "Attivo", K::Check),
            cardField("obsoleto", "Obsoleto", K::Check),
            cardField("pubblicato", "Pubblicato", K::Check),
            cardField("esente_iva", "Esente IVA", K::Check)};
}

QList<CardField> bookFields()
{
    return {cardField("genere", "Genere"),
            cardField("editore", "Editore"),
            cardField("autore", "Autore"),
            cardField("collana", "Collana"),
            cardField("isbn", "ISBN"),
            cardField("codiceproduttore", "Codice produttore"),
            cardField("pubblicazione", "Data pubblicazione", CardField::Kind::Date)};
}

QTableView* gridView(RowsTableModel* model)
{
    auto* view = new QTableView;
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    // Cells the model lets the operator change are edited in place; the rest stay read-only.
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    view->horizontalHeader()->setStretchLastSection(true);
    view->verticalHeader()->hide();
    return view;
}

// The item columns that read-only price fields show.
bool isShownOnly(const QString& column)
{
    return column == u"Aliquota" || column == u"LastAcquisto" || column == u"giacenza" ||
           column == u"Disponibilita";
}

} // namespace

TArticolo::TArticolo(WindowEnvironment& environment, const core::NavigationRequest& request,
                     stock::Articolo::Variant variant, QWidget* parent)
    : CardWindow(environment.dialogs, parent), m_environment(environment),
      m_logic(environment.connections.company(), environment.session, environment.dialogs,
              environment.navigator, variant)
{
    m_logic.setBarcodeStandard(
        foundation::itemBarcodeStandard(foundation::ImpostazioniIni(environment.paths.impostazioniIni())));
    setWindowTitle(QStringLiteral("Anagrafica Articolo"));
    resize(900, 640);

    m_tabs = new QTabWidget;
    m_tabs->addTab(buildMainPage(), QStringLiteral("Dati principali"));
    m_tabs->addTab(buildPricePage(), QStringLiteral("Prezzi"));
    m_tabs->addTab(buildSupplierPage(), QStringLiteral("Fornitori"));
    m_tabs->addTab(buildSerialPage(), QStringLiteral("Seriali"));
    m_tabs->addTab(buildImagePage(), QStringLiteral("Immagine"));
    m_tabs->addTab(buildHistoryPage(), QStringLiteral("Storico"));

    auto* buttons = new QDialogButtonBox;
    QPushButton* saveButton = buttons->addButton(QStringLiteral("Salva"), QDialogButtonBox::AcceptRole);
    saveButton->setObjectName(QStringLiteral("salva"));
    m_exit = buttons->addButton(QStringLiteral("Esci"), QDialogButtonBox::RejectRole);
    QPushButton* stockButton =
        buttons->addButton(QStringLiteral("Disponibilità"), QDialogButtonBox::ActionRole);
    stockButton->setObjectName(QStringLiteral("disponibilita"));
    m_sizeColourGrid = buttons->addButton(QStringLiteral("Taglie e colori"), QDialogButtonBox::ActionRole);
    m_sizeColourGrid->setObjectName(QStringLiteral("taglieColori"));
    stockButton->setAutoDefault(false);
    m_sizeColourGrid->setAutoDefault(false);
    connect(stockButton, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.openStock(); }); });
    connect(m_sizeColourGrid, &QPushButton::clicked, this,
            [this] { guarded([&] { m_logic.openSizeColourGrid(); }); });
    // Enter belongs to the fields (it moves between prices): no button fires on it.
    saveButton->setAutoDefault(false);
    m_exit->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    connect(saveButton, &QPushButton::clicked, this, &CardWindow::save);
    connect(m_exit, &QPushButton::clicked, this, &TArticolo::reject);
    connect(&m_logic, &stock::Articolo::changed, this, [this] { guarded([this] { showState(); }); });
    connect(&m_logic.supplierRows(), &stock::ItemSupplierRows::rowsChanged, this, &TArticolo::showSuppliers);
    connect(&m_logic.serials(), &stock::ItemSerials::rowsChanged, this, &TArticolo::showSerials);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_tabs->widget(index) == m_historyTabs->parentWidget())
            showHistory(m_historyTabs->currentIndex());
    });

    bool opened = false;
    guarded([&] {
        fillChoices();
        opened = m_logic.open(request.key.toInt(), openingOf(request));
    });
    // An item gone meanwhile or one that could not be read: the reason was shown, the card closes
    // once it is up.
    if (!opened)
        closeOnceUp();
    guarded([this] { showState(); });
    if (QLineEdit* code = field(QStringLiteral("CodArticolo")))
        code->setFocus();
}

QLineEdit* TArticolo::field(const QString& column) const
{
    if (QLineEdit* edit = m_fields.value(column))
        return edit;
    for (CardForm* form : {m_form, m_bookForm})
        if (form)
            if (auto* edit = qobject_cast<QLineEdit*>(form->editor(column)))
                return edit;
    return nullptr;
}

QComboBox* TArticolo::choice(const QString& column) const
{
    return m_choices.value(column);
}

QLineEdit* TArticolo::addLineEdit(const QString& column, bool price)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(column);
    if (const stock::ItemColumn* known = stock::Articolo::column(column); known && known->maxLength > 0)
        edit->setMaxLength(known->maxLength);
    m_fields.insert(column, edit);
    if (price) {
        edit->setAlignment(Qt::AlignRight);
        // A decimal comma or point, as the operator likes.
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9.,]*")), edit));
        if (isShownOnly(column)) {
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::NoFocus);
        } else {
            m_priceOrder << edit;
            connect(edit, &QLineEdit::editingFinished, this, [this, column] { fieldLeft(column); });
        }
    } else {
        connect(edit, &QLineEdit::textEdited, this,
                [this, column](const QString& text) { guarded([&] { m_logic.setValue(column, text); }); });
    }
    edit->installEventFilter(this);
    return edit;
}

QWidget* TArticolo::buildMainPage()
{
    auto* codes = new QFormLayout;
    auto withButton = [](QWidget* editor, QPushButton* button) {
        auto* row = new QHBoxLayout;
        row->addWidget(editor, 1);
        row->addWidget(button);
        return row;
    };
    QPushButton* generateCode = pageButton(QStringLiteral("Genera"), QStringLiteral("generaCodice"));
    QPushButton* generateBarcode = pageButton(QStringLiteral("Genera"), QStringLiteral("generaBarcode"));
    codes->addRow(QStringLiteral("Codice"),
                  withButton(addLineEdit(QStringLiteral("CodArticolo"), false), generateCode));
    codes->addRow(QStringLiteral("Barcode"),
                  withButton(addLineEdit(QStringLiteral("BarcodeFull"), false), generateBarcode));
    codes->addRow(QStringLiteral("Codice fornitore"), addLineEdit(QStringLiteral("codartforn"), false));
    // Clicking "Genera" leaves the code field without asking whether to generate it.
    generateCode->setFocusPolicy(Qt::NoFocus);
    generateBarcode->setFocusPolicy(Qt::NoFocus);
    connect(generateCode, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.generateCode(); }); });
    connect(generateBarcode, &QPushButton::clicked, this,
            [this] { guarded([&] { m_logic.generateBarcode(); }); });

    m_form = new CardForm(mainFields(), 1);
    connect(m_form, &CardForm::valueEdited, this, [this](const QString& column, const QVariant& value) {
        guarded([&] { m_logic.setValue(column, value); });
    });

    // Classification, supplier, department and units: choices from their tables.
    auto* choices = new QFormLayout;
    for (const stock::ClassificationTable& table : stock::Articolo::classifications()) {
        QComboBox* combo = addChoice(table.itemColumn);
        auto* row = new QHBoxLayout;
        row->addWidget(combo, 1);
        if (!table.newCaption.isEmpty()) {
            auto* plus = new QToolButton;
            plus->setText(QStringLiteral("+"));
            plus->setToolTip(table.newCaption);
            plus->setObjectName(QStringLiteral("nuovo") + table.itemColumn);
            const Classification kind = table.kind;
            connect(plus, &QToolButton::clicked, this, [this, kind] { addClassificationValue(kind); });
            m_newValueButtons.insert(kind, plus);
            row->addWidget(plus);
        }
        QString caption = table.itemColumn;
        if (table.kind == Classification::ClasseMerc)
            caption = QStringLiteral("Classe merceologica");
        else if (table.kind == Classification::SubCategoria)
            caption = QStringLiteral("Sub-categoria");
        else if (table.kind == Classification::GruppoTaglia)
            caption = QStringLiteral("Gruppo taglie");
        choices->addRow(caption, row);
        const QString column = table.itemColumn;
        connect(combo, &QComboBox::activated, this, [this, combo, column, kind = table.kind] {
            guarded([&] {
                if (kind == Classification::GruppoTaglia)
                    m_logic.chooseSizeGroup(combo->currentText());
                else
                    m_logic.setValue(column, combo->currentText());
            });
        });
    }
    QComboBox* supplier = addChoice(QStringLiteral("Fornitore"));
    QComboBox* department = addChoice(QStringLiteral("reparto"));
    QComboBox* unit = addChoice(QStringLiteral("UM"));
    QComboBox* saleUnit = addChoice(QStringLiteral("UMVENDITA"));
    choices->addRow(QStringLiteral("Fornitore"), supplier);
    choices->addRow(QStringLiteral("Reparto"), department);
    choices->addRow(QStringLiteral("U.M. acquisto"), unit);
    choices->addRow(QStringLiteral("U.M. vendita"), saleUnit);
    connect(supplier, &QComboBox::activated, this,
            [this, supplier] { guarded([&] { m_logic.chooseSupplier(supplier->currentText()); }); });
    connect(department, &QComboBox::activated, this, [this, department] {
        guarded([&] { m_logic.chooseDepartment(department->currentData().toInt()); });
    });
    connect(unit, &QComboBox::activated, this,
            [this, unit] { guarded([&] { m_logic.choosePurchaseUnit(unit->currentText()); }); });
    connect(saleUnit, &QComboBox::activated, this, [this, saleUnit] {
        guarded([&] { m_logic.setValue(QStringLiteral("UMVENDITA"), saleUnit->currentText()); });
    });

    auto* left = new QVBoxLayout;
    left->addLayout(codes);
    left->addWidget(m_form);
    if (m_logic.variant() == stock::Articolo::Variant::Book) {
        m_bookForm = new CardForm(bookFields(), 1);
        connect(m_bookForm, &CardForm::valueEdited, this,
                [this](const QString& column, const QVariant& value) {
                    guarded([&] { m_logic.setValue(column, value); });
                });
        auto* book = new QGroupBox(QStringLiteral("Dati libro"));
        auto* bookLayout = new QVBoxLayout(book);
        bookLayout->addWidget(m_bookForm);
        left->addWidget(book);
    }
    left->addStretch();

    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 3);
    layout->addLayout(choices, 2);
    return page;
}

QComboBox* TArticolo::addChoice(const QString& column)
{
    auto* combo = new QComboBox;
    combo->setObjectName(column);
    combo->setMinimumContentsLength(16);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_choices.insert(column, combo);
    return combo;
}

QWidget* TArticolo::buildPricePage()
{
    auto* costs = new QGroupBox(QStringLiteral("Costi e prezzo"));
    auto* grid = new QGridLayout(costs);
    const struct
    {
        const char* column;
        const char* caption;
        int row;
        int col;
    } prices[] = {
        {"PrezzoAcqnoiva", "Costo senza IVA", 0, 0},
        {"scontoacq1", "Sconto 1 %", 0, 1},
        {"scontoacq2", "Sconto 2 %", 0, 2},
        {"acquistoscontato", "Costo scontato", 0, 3},
        {"PrezzoAcquisto", "Costo con IVA", 1, 0},
        {"Aliquota", "Aliquota IVA", 1, 1},
        {"LastAcquisto", "Ultimo costo", 1, 2},
        {"Ricarico%", "Ricarico %", 2, 0},
        {"PrezzoVendnoiva", "Prezzo senza IVA", 2, 1},
        {"Utile", "Utile", 2, 2},
        {"Scorta", "Scorta minima", 3, 0},
        {"giacenza", "Giacenza", 3, 1},
        {"Disponibilita", "Disponibilità", 3, 2},
    };
    for (const auto& price : prices) {
        grid->addWidget(new QLabel(QString::fromUtf8(price.caption)), price.row * 2, price.col);
        grid->addWidget(addLineEdit(QString::fromLatin1(price.column), true), price.row * 2 + 1, price.col);
    }

    auto* lists = new QGroupBox(QStringLiteral("Listini"));
    auto* listGrid = new QGridLayout(lists);
    listGrid->addWidget(new QLabel(QStringLiteral("Ricarico %")), 0, 1);
    listGrid->addWidget(new QLabel(QStringLiteral("Prezzo IVA inclusa")), 0, 2);
    listGrid->addWidget(new QLabel(QStringLiteral("Prezzo senza IVA")), 0, 3);
    for (int list = 1; list <= 3; ++list) {
        listGrid->addWidget(new QLabel(list == 1 ? QStringLiteral("Listino 1 (pubblico)")
                                                 : QStringLiteral("Listino %1").arg(list)),
                            list, 0);
        listGrid->addWidget(addLineEdit(stock::Articolo::listMarkupColumn(list), true), list, 1);
        listGrid->addWidget(addLineEdit(stock::Articolo::listPriceColumn(list), true), list, 2);
        if (list > 1)
            listGrid->addWidget(addLineEdit(QStringLiteral("PrezzoVendnoiva%1").arg(list), true), list, 3);
        QPushButton* fromMarkup =
            pageButton(QStringLiteral("Prezzo da ricarico"), QStringLiteral("prezzoDaRicarico%1").arg(list));
        QPushButton* fromPrice =
            pageButton(QStringLiteral("Ricarico da prezzo"), QStringLiteral("ricaricoDaPrezzo%1").arg(list));
        listGrid->addWidget(fromMarkup, list, 4);
        listGrid->addWidget(fromPrice, list, 5);
        connect(fromMarkup, &QPushButton::clicked, this,
                [this, list] { guarded([&] { m_logic.listPriceFromMarkup(list); }); });
        connect(fromPrice, &QPushButton::clicked, this,
                [this, list] { guarded([&] { m_logic.listMarkupFromPrice(list); }); });
    }
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(costs);
    layout->addWidget(lists);
    layout->addStretch();
    return page;
}

QWidget* TArticolo::buildSupplierPage()
{
    m_supplierModel = new RowsTableModel(this);
    m_supplierModel->setColumns({{QStringLiteral("Fornitore"), QStringLiteral("Fornitore")},
                                 {QStringLiteral("Codice"), QStringLiteral("Codice")},
                                 {QStringLiteral("Descrizione"), QStringLiteral("Descrizione")},
                                 {QStringLiteral("Acquisto"), QStringLiteral("Costo"), true},
                                 {QStringLiteral("Sconto1"), QStringLiteral("Sconto 1")},
                                 {QStringLiteral("Sconto2"), QStringLiteral("Sconto 2")},
                                 {QStringLiteral("Iva"), QStringLiteral("IVA")}});
    m_supplierModel->setEditable(QStringLiteral("id"), stock::ItemSupplierRows::editableColumns());
    m_supplierView = gridView(m_supplierModel);
    m_supplierView->setObjectName(QStringLiteral("fornitori"));
    QPushButton* add = pageButton(QStringLiteral("Aggiungi"), QStringLiteral("aggiungiFornitore"));
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaFornitori"));
    QPushButton* remove = pageButton(QStringLiteral("Elimina"), QStringLiteral("eliminaFornitore"));
    QPushButton* show = pageButton(QStringLiteral("Visualizza"), QStringLiteral("visualizzaFornitore"));
    stock::ItemSupplierRows& rows = m_logic.supplierRows();
    connect(add, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.addSupplierRow(); }); });
    connect(save, &QPushButton::clicked, this, [this, &rows] {
        saveGridEdits(
            m_supplierView, m_supplierModel, [&] { return rows.save(m_supplierModel->edits()); },
            rows.failedCell());
    });
    connect(remove, &QPushButton::clicked, this, [this, &rows] {
        const int id = selectedId(m_supplierView, m_supplierModel, "id");
        guarded([&] { rows.remove(id); });
    });
    connect(show, &QPushButton::clicked, this, [this, &rows] {
        const int id = selectedId(m_supplierView, m_supplierModel, "id");
        guarded([&] { rows.show(id); });
    });
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_supplierView);
    layout->addLayout(buttonRow({add, save, remove, show}));
    return page;
}

QWidget* TArticolo::buildSerialPage()
{
    m_serialModel = new RowsTableModel(this);
    m_serialModel->setColumns({{QStringLiteral("Seriale"), QStringLiteral("Seriale")},
                               {QStringLiteral("Disponibile"), QStringLiteral("Disponibile")},
                               {QStringLiteral("TipoScarico"), QStringLiteral("Scaricato con")},
                               {QStringLiteral("NumeroScarico"), QStringLiteral("Numero")},
                               {QStringLiteral("DataScarico"), QStringLiteral("Data scarico")}});
    m_serialModel->setEditable(QStringLiteral("ID"), stock::ItemSerials::editableColumns());
    m_serialView = gridView(m_serialModel);
    m_serialView->setObjectName(QStringLiteral("seriali"));
    QPushButton* remove = pageButton(QStringLiteral("Elimina"), QStringLiteral("eliminaSeriale"));
    QPushButton* save = pageButton(QStringLiteral("Salva"), QStringLiteral("salvaSeriali"));
    QPushButton* info = pageButton(QStringLiteral("Info"), QStringLiteral("infoSeriale"));
    stock::ItemSerials& serials = m_logic.serials();
    connect(remove, &QPushButton::clicked, this, [this, &serials] {
        const int id = selectedId(m_serialView, m_serialModel, "ID");
        guarded([&] { serials.remove(id); });
    });
    connect(save, &QPushButton::clicked, this, [this, &serials] {
        saveGridEdits(
            m_serialView, m_serialModel, [&] { return serials.save(m_serialModel->edits()); },
            serials.failedCell());
    });
    connect(info, &QPushButton::clicked, this, [this, &serials] {
        const int id = selectedId(m_serialView, m_serialModel, "ID");
        guarded([&] { serials.showInfo(id); });
    });
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_serialView);
    layout->addLayout(buttonRow({remove, save, info}));
    return page;
}

QWidget* TArticolo::buildImagePage()
{
    m_image = new QLabel;
    m_image->setAlignment(Qt::AlignCenter);
    m_image->setMinimumSize(320, 240);
    m_image->setFrameShape(QFrame::StyledPanel);
    QPushButton* load = pageButton(QStringLiteral("Carica immagine"), QStringLiteral("caricaImmagine"));
    QPushButton* remove = pageButton(QStringLiteral("Elimina immagine"), QStringLiteral("eliminaImmagine"));
    connect(load, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.loadImage(); }); });
    connect(remove, &QPushButton::clicked, this, [this] { guarded([&] { m_logic.deleteImage(); }); });
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_image, 1);
    layout->addLayout(buttonRow({load, remove}));
    return page;
}

QWidget* TArticolo::buildHistoryPage()
{
    m_historyTabs = new QTabWidget;
    const QStringList captions{QStringLiteral("Vendite"), QStringLiteral("Acquisti"), QStringLiteral("Resi"),
                               QStringLiteral("Seriali"), QStringLiteral("Giacenze")};
    for (const QString& caption : captions) {
        auto* model = new RowsTableModel(this);
        m_historyModels << model;
        m_historyTabs->addTab(gridView(model), caption);
    }
    connect(m_historyTabs, &QTabWidget::currentChanged, this, &TArticolo::showHistory);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_historyTabs);
    return page;
}

void TArticolo::fillChoices()
{
    for (const stock::ClassificationTable& table : stock::Articolo::classifications())
        fillClassification(table.kind);

    auto fill = [](QComboBox* combo, const QStringList& values) {
        combo->clear();
        combo->addItem(QString());
        combo->addItems(values);
    };
    fill(m_choices.value(QStringLiteral("Fornitore")), m_logic.suppliers());
    fill(m_choices.value(QStringLiteral("UM")), m_logic.purchaseUnits());

    QComboBox* department = m_choices.value(QStringLiteral("reparto"));
    department->clear();
    for (const core::Row& row : m_logic.departments())
        department->addItem(
            QStringLiteral("%1 (IVA %2%)").arg(row["descrizione"].toString()).arg(row["aliquota"].toInt()),
            row["idreparto"].toInt());
}

void TArticolo::fillClassification(Classification kind)
{
    QComboBox* combo = m_choices.value(stock::Articolo::classification(kind).itemColumn);
    combo->clear();
    combo->addItem(QString());
    combo->addItems(m_logic.classificationValues(kind));
}

void TArticolo::addClassificationValue(Classification kind)
{
    guarded([&] {
        if (m_logic.addClassificationValue(kind)) {
            fillClassification(kind);
            showState();
        }
    });
}

bool TArticolo::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && m_priceOrder.contains(edit)) {
            // The rule runs on editingFinished; then on to the next price.
            fieldLeft(edit->objectName());
            moveToNextPrice(edit);
            return true;
        }
    }
    if (edit && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const QString column = edit->objectName();
        const bool codeField =
            column == u"CodArticolo" || column == u"BarcodeFull" || column == u"codartforn";
        // Only when the operator moves on: not when a message box or a menu takes the focus.
        if (codeField && !m_showing &&
            (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
             reason == Qt::MouseFocusReason)) {
            QMetaObject::invokeMethod(
                this,
                [this, column] {
                    guarded([&] {
                        if (column == u"CodArticolo") {
                            m_logic.leaveCodeField();
                        } else if (column == u"BarcodeFull") {
                            m_logic.leaveBarcodeField();
                        } else if (!m_logic.leaveSupplierCodeField()) {
                            focusColumn(column);
                        }
                    });
                },
                Qt::QueuedConnection);
        }
    }
    return CardWindow::eventFilter(watched, event);
}

void TArticolo::fieldLeft(const QString& column)
{
    QLineEdit* edit = m_fields.value(column);
    if (!edit || !edit->isModified())
        return;
    edit->setModified(false);
    const QString text = edit->text();
    guarded([&] { m_logic.enterField(column, text); });
}

void TArticolo::moveToNextPrice(QLineEdit* from)
{
    const qsizetype at = m_priceOrder.indexOf(from);
    if (at < 0 || m_priceOrder.isEmpty())
        return;
    QLineEdit* next = m_priceOrder.at((at + 1) % m_priceOrder.size());
    next->setFocus(Qt::TabFocusReason);
    next->selectAll();
}

void TArticolo::focusColumn(const QString& column)
{
    if (QLineEdit* edit = field(column)) {
        for (int i = 0; i < m_tabs->count(); ++i)
            if (m_tabs->widget(i)->isAncestorOf(edit))
                m_tabs->setCurrentIndex(i);
        edit->setFocus();
        edit->selectAll();
    }
}

void TArticolo::showState()
{
    m_showing = true;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        QLineEdit* edit = it.value();
        if (edit->isModified() && edit->hasFocus())
            continue; // being typed in
        const QString text = m_logic.text(it.key());
        if (edit->text() != text)
            edit->setText(text);
        edit->setModified(false);
    }
    QVariantMap values = m_logic.values();
    m_form->setValues(values);
    if (m_bookForm)
        m_bookForm->setValues(values);

    for (auto it = m_choices.cbegin(); it != m_choices.cend(); ++it) {
        QComboBox* combo = it.value();
        if (it.key() == u"reparto") {
            combo->setCurrentIndex(combo->findData(m_logic.value(QStringLiteral("idreparto")).toInt()));
            continue;
        }
        if (it.key() == u"UMVENDITA") {
            // The sale units belong to the purchase unit: read again only when that changes.
            const QString unit = m_logic.value(QStringLiteral("UM")).toString();
            if (!m_saleUnitsFilled || unit != m_saleUnitsOf) {
                combo->clear();
                combo->addItems(m_logic.saleUnits());
                m_saleUnitsOf = unit;
                m_saleUnitsFilled = true;
            }
        }
        const QString current = m_logic.value(it.key()).toString();
        int index = combo->findText(current);
        if (index < 0 && !current.isEmpty()) {
            // A value no longer among the choices still shows as the item's.
            combo->addItem(current);
            index = combo->count() - 1;
        }
        combo->setCurrentIndex(index);
    }

    const bool sizes = m_logic.sizeColourEnabled();
    m_sizeColourGrid->setEnabled(sizes);
    for (const Classification kind :
         {Classification::Linea, Classification::Stagione, Classification::GruppoTaglia}) {
        m_choices.value(stock::Articolo::classification(kind).itemColumn)->setEnabled(sizes);
        if (QToolButton* plus = m_newValueButtons.value(kind))
            plus->setEnabled(sizes);
    }

    QPixmap picture;
    const QByteArray bytes = m_logic.image();
    if (!bytes.isEmpty() && picture.loadFromData(bytes))
        m_image->setPixmap(picture.scaled(m_image->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        m_image->setText(QStringLiteral("Nessuna immagine"));

    m_exit->setText(m_logic.exitCaption());
    m_showing = false;
}

void TArticolo::showSuppliers()
{
    guarded([&] { m_supplierModel->setRows(m_logic.supplierRows().rows()); });
}

void TArticolo::showSerials()
{
    guarded([&] { m_serialModel->setRows(m_logic.serials().rows()); });
}

void TArticolo::saveGridEdits(QTableView* view, RowsTableModel* model, const std::function<bool()>& save,
                              const core::EditedCell& failedCell)
{
    // A cell still being typed in counts.
    if (QWidget* editor = view->indexWidget(view->currentIndex()))
        QMetaObject::invokeMethod(view, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
    view->setFocus();
    if (!model->hasEdits())
        return;
    bool saved = false;
    guarded([&] { saved = save(); });
    if (saved) {
        model->clearEdits();
        return;
    }
    const QModelIndex failed = model->indexOf(failedCell);
    if (failed.isValid())
        view->setCurrentIndex(failed);
}

void TArticolo::showHistory(int page)
{
    if (page < 0 || page >= m_historyModels.size())
        return;
    guarded([&] { m_historyModels[page]->setRows(m_logic.history(static_cast<stock::ItemHistory>(page))); });
}

stock::Articolo::Opening TArticolo::openingOf(const core::NavigationRequest& request)
{
    if (!request.values.value(QStringLiteral("nuovo")).toBool())
        return stock::Articolo::Opening::Existing;
    return request.caller == stock::Articolo::serialWindowCaller() ? stock::Articolo::Opening::NewItemOfSerial
                                                                   : stock::Articolo::Opening::NewItem;
}

int TArticolo::selectedId(QTableView* view, RowsTableModel* model, const char* column) const
{
    const int row = model->rowOf(view->currentIndex());
    return row < 0 ? 0 : model->rows().value(row, column).toInt();
}

bool TArticolo::saveRecord()
{
    // A price typed and not yet left still counts.
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()); edit && m_priceOrder.contains(edit))
        fieldLeft(edit->objectName());
    const bool saved = m_logic.save();
    if (!saved && !m_logic.failedField().isEmpty())
        focusColumn(m_logic.failedField());
    return saved;
}

bool TArticolo::mayLeave()
{
    return m_logic.leave(m_supplierModel->hasEdits() || m_serialModel->hasEdits());
}

} // namespace carvendo::ui
