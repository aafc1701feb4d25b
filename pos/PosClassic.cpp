#include "pos/PosClassic.h"

#include <QScopeGuard>

#include "pos/PaymentType.h"
#include "pos/PendingReceipts.h"
#include "pos/SaleCustomer.h"

#include "core/CommandGuard.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "registry/RegistryKind.h"

#include <QFileInfo>

namespace carvendo::pos {

namespace {

core::Money euros(const char* text)
{
    return *core::Money::parse(QString::fromLatin1(text));
}

} // namespace

PosClassic::PosClassic(Context context, TillSettings settings, QObject* parent)
    : QObject(parent), m_context(context), m_settings(std::move(settings)),
      m_sale(context.db, context.dialogs, context.session),
      m_operator(context.clock, m_settings.operatorRules),
      m_closing(context.db, context.dialogs, context.session, context.paths, context.printer, m_settings,
                PendingReceipts::thisWorkstation()),
      m_customers(registry::RegistryKind::customers(), context.db),
      m_items(context.db, context.session, context.paths, context.dialogs, context.navigator,
              {windowName(), false})
{
    m_items.search().setWarehouse(context.session.warehouse().id);
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this,
            [this] { core::runGuarded(m_context.dialogs, [this] { logOut(); }); });
    connect(&m_operator, &TillOperator::changed, this, &PosClassic::changed);
    connect(&m_items, &stock::Articoli::rowsChanged, this, &PosClassic::itemsChanged);
}

const QList<PaymentChoice>& PosClassic::paymentChoices()
{
    static const QList<PaymentChoice> choices{
        {QStringLiteral("Contanti"), PaymentType::Contanti, QStringLiteral("CONTANTI"),
         QStringLiteral("Contanti.png"), PaymentPage::Banknotes},
        {QStringLiteral("Bancomat"), PaymentType::Bancomat, QStringLiteral("BANCOMAT"),
         QStringLiteral("Bancomat.png"), PaymentPage::Home},
        {QStringLiteral("Carta di credito"), PaymentType::CartaDiCredito, QStringLiteral("CARTA DI CREDITO"),
         QStringLiteral("CreditCard.png"), PaymentPage::Home},
        {QStringLiteral("Assegno"), PaymentType::Assegno, QStringLiteral("ASSEGNO"),
         QStringLiteral("Assegno.png"), PaymentPage::Cheque},
        {QStringLiteral("Coupon"), PaymentType::Coupon, QStringLiteral("COUPON"),
         QStringLiteral("Coupon.png"), PaymentPage::Home},
        {QStringLiteral("Buono di credito"), PaymentType::BuonoDiCredito, QStringLiteral("BUONO CREDITO"),
         QStringLiteral("BuonoCredito.png"), PaymentPage::Voucher},
        {QStringLiteral("Vodafone Pack"),
         PaymentType::VodafonePack,
         QStringLiteral("VODAFONE PACK"),
         {},
         PaymentPage::Pack}};
    return choices;
}

const QList<Banknote>& PosClassic::banknotes()
{
    static const QList<Banknote> notes{
        {QStringLiteral("€. 0,01"), euros("0.01")}, {QStringLiteral("€. 0,02"), euros("0.02")},
        {QStringLiteral("€. 0,05"), euros("0.05")}, {QStringLiteral("€. 0,10"), euros("0.10")},
        {QStringLiteral("€. 0,20"), euros("0.20")}, {QStringLiteral("€. 0,50"), euros("0.50")},
        {QStringLiteral("€. 1"), euros("1")},       {QStringLiteral("€. 2"), euros("2")},
        {QStringLiteral("€. 5"), euros("5")},       {QStringLiteral("€. 10"), euros("10")},
        {QStringLiteral("€. 20"), euros("20")},     {QStringLiteral("€. 50"), euros("50")},
        {QStringLiteral("€. 100"), euros("100")},   {QStringLiteral("€. 200"), euros("200")},
        {QStringLiteral("€. 500"), euros("500")}};
    return notes;
}

void PosClassic::open()
{
    m_sale.open(m_operator.name());
    m_rows.clear();
    clearSaleInput();
    showSale();
    // A receipt committed but never handed to this workstation's printer is offered before the
    // first sale, so it is not forgotten.
    PendingReceipts(m_context.db, PendingReceipts::thisWorkstation())
        .offer(m_context.dialogs, m_context.printer);
}

void PosClassic::showSale()
{
    restartIdleTimer();
    m_page = PosPage::Vendita;
    emit changed();
    emit scannerFocus();
}

void PosClassic::goToCash()
{
    restartIdleTimer();
    if (!hasRows())
        return;
    readPackItem();
    m_page = PosPage::Cassa;
    m_paymentPage = m_packItem ? PaymentPage::Pack : PaymentPage::Home;
    emit changed();
}

void PosClassic::showCustomers()
{
    restartIdleTimer();
    m_page = PosPage::Clienti;
    emit changed();
}

void PosClassic::showSuspended()
{
    restartIdleTimer();
    m_suspended = m_sale.suspendedSales();
    m_page = PosPage::Sospese;
    emit suspendedChanged();
    emit changed();
}

void PosClassic::showItems()
{
    restartIdleTimer();
    m_page = PosPage::Articoli;
    emit changed();
}

bool PosClassic::addByBarcode(const QString& text)
{
    restartIdleTimer();
    const bool added = m_sale.addByBarcode(text);
    afterRowsChanged();
    return added;
}

void PosClassic::editRow(int row, int quantity, int discountPercent, core::Money unitPrice)
{
    restartIdleTimer();
    if (row < 0 || row >= m_rows.size())
        return;
    try {
        m_sale.editRow(m_rows.at(row).key, quantity, discountPercent, unitPrice);
    } catch (...) {
        // The grid shows the stored row again, not what was refused.
        afterRowsChanged();
        throw;
    }
    afterRowsChanged();
}

void PosClassic::removeRow(int row)
{
    restartIdleTimer();
    if (row < 0 || row >= m_rows.size())
        return;
    m_sale.removeRow(m_rows.at(row).key);
    afterRowsChanged();
}

void PosClassic::discountOnTotal()
{
    restartIdleTimer();
    m_context.dialogs.information(QStringLiteral("Funzione non disponibile"));
    emit scannerFocus();
}

bool PosClassic::advancedSearch()
{
    restartIdleTimer();
    if (!m_items.advancedSearch())
        return false;
    showItems();
    return true;
}

void PosClassic::choosePayment(int choice)
{
    restartIdleTimer();
    if (choice < 0 || choice >= paymentChoices().size())
        return;
    const PaymentChoice& payment = paymentChoices().at(choice);
    m_sale.setPaymentType(payment.type);
    m_sale.setReceived({});
    m_paymentLabel = payment.label;
    m_paymentIconFile = payment.icon;
    m_paymentPage = payment.page;
    emit changed();
}

QString PosClassic::paymentIcon() const
{
    if (m_paymentIconFile.isEmpty())
        return {};
    const QString file = m_context.paths.imagesDir() + QLatin1Char('/') + m_paymentIconFile;
    return QFileInfo::exists(file) ? file : QString();
}

void PosClassic::setReceived(core::Money amount)
{
    restartIdleTimer();
    m_sale.setReceived(amount);
    emit changed();
}

void PosClassic::pressBanknote(int banknote)
{
    // A banknote replaces what was received; it does not add to it.
    if (banknote >= 0 && banknote < banknotes().size())
        setReceived(banknotes().at(banknote).amount);
}

bool PosClassic::acquireChequeImage()
{
    restartIdleTimer();
    const std::optional<QString> file = m_context.dialogs.chooseFile(
        QStringLiteral("Acquisizione assegno"), QStringLiteral("Immagini (*.png *.jpg *.jpeg *.bmp)"),
        core::FileMode::Open);
    if (!file)
        return false;
    m_chequeImage = *file;
    emit changed();
    return true;
}

void PosClassic::readPackItem()
{
    const core::Rows packs = m_context.db.query(
        QStringLiteral("SELECT a.Descrizione, a.punti, a.vincolo FROM dettbanco d JOIN articoli a ON a.ID = "
                       "d.idarticolo WHERE d.idBanco = :IDBANCO AND COALESCE(a.vodafone_pack, 0) <> 0 "
                       "ORDER BY d.ID LIMIT 1"),
        {{QStringLiteral("IDBANCO"), m_sale.id()}});
    if (packs.isEmpty()) {
        m_packItem.reset();
        return;
    }
    m_packItem = PackItem{packs.value(0, u"Descrizione").toString(), packs.value(0, u"punti").toBool(),
                          packs.value(0, u"vincolo").toBool()};
    // Options the pack does not allow are not kept from a pack seen before.
    const bool pointsOption = m_pack.option == PackUnload::Option::FreeWithPoints ||
                              m_pack.option == PackUnload::Option::PointsAndContribution;
    if (!m_packItem->points && pointsOption)
        m_pack.option = PackUnload::Option::NormalSale;
    m_pack.royalty = m_pack.royalty && m_packItem->points;
    m_pack.commitment = m_pack.commitment && m_packItem->commitment;
}

ClosingInput PosClassic::closingInput() const
{
    ClosingInput input;
    input.fiscalCode = m_fiscalCode;
    const QString payment = m_sale.paymentType();
    if (payment == PaymentType::Assegno && !m_chequeImage.isEmpty())
        input.cheque = ChequeCapture{m_chequeImage, m_cheque};
    if (payment == PaymentType::VodafonePack && m_packItem)
        input.pack = m_pack;
    return input;
}

bool PosClassic::close(ClosingKind kind)
{
    const auto idle = pauseIdleLogout();
    const ClosingOutcome outcome = m_closing.close(m_sale, kind, m_operator.name(), closingInput());
    switch (outcome.result) {
    case ClosingResult::OperatorRequired:
        logIn();
        return false;
    case ClosingResult::Refused:
        emit changed();
        return false;
    case ClosingResult::Closed:
        break;
    }
    m_rows.clear(); // the next sale, just opened

    clearSaleInput();
    showSale();
    // The invoice the sale became opens for printing.
    if (outcome.invoiceId)
        m_context.navigator.open(invoiceWindow(), *outcome.invoiceId, windowName());
    return true;
}

bool PosClassic::suspend()
{
    const auto idle = pauseIdleLogout();
    if (!m_sale.suspend()) {
        emit scannerFocus();
        return false;
    }
    m_rows.clear(); // the next sale, just opened
    clearSaleInput();
    showSale();
    return true;
}

QList<SaleRow> PosClassic::suspendedRows(int saleId) const
{
    return SaleRows(m_context.db, saleId).all();
}

bool PosClassic::resume(int saleId)
{
    const auto idle = pauseIdleLogout();
    if (saleId <= 0 && !m_suspended.isEmpty()) {
        m_context.dialogs.beep();
        m_context.dialogs.warning(QStringLiteral("Selezionare la vendita sospesa da riprendere"));
        return false;
    }
    // The resumed sale is served by whoever is at the till now.
    const std::optional<QString> servedBy =
        m_settings.operatorRules.required ? std::optional<QString>(m_operator.name()) : std::nullopt;
    bool resumed = false;
    try {
        resumed = m_sale.resume(saleId, servedBy);
    } catch (...) {
        // Resumed by another workstation meanwhile: the list shows what is left.
        m_suspended = m_sale.suspendedSales();
        emit suspendedChanged();
        throw;
    }
    if (!resumed)
        return false;
    clearSaleInput();
    m_customerName = SaleCustomer(m_context.db).nameOf(m_sale.id());
    m_rows = m_sale.rows();
    showSale();
    return true;
}

void PosClassic::findCustomers(const QString& text)
{
    restartIdleTimer();
    m_customers.search(text.trimmed().isEmpty() ? registry::SearchMode::All : registry::SearchMode::Name,
                       text);
    emit customersChanged();
}

void PosClassic::allCustomers()
{
    findCustomers({});
}

void PosClassic::clearCustomers()
{
    restartIdleTimer();
    SaleCustomer(m_context.db).clear(m_sale.id());
    m_customerName.clear();
    m_customers.search(registry::SearchMode::All, {});
    emit customersChanged();
    emit changed();
}

bool PosClassic::chooseCustomer(int idCliente)
{
    restartIdleTimer();
    if (idCliente <= 0)
        return false;
    SaleCustomer customer(m_context.db);
    customer.set(m_sale.id(), idCliente);
    m_customerName = customer.nameOf(m_sale.id());
    showSale();
    return true;
}

void PosClassic::newCustomer()
{
    restartIdleTimer();
    const registry::RegistryKind& kind = registry::RegistryKind::customers();
    m_context.navigator.open(kind.cardWindow, QVariant(), windowName());
    m_customers.refresh();
    emit customersChanged();
}

void PosClassic::editCustomer(int idCliente)
{
    restartIdleTimer();
    if (idCliente <= 0)
        return;
    m_context.navigator.open(registry::RegistryKind::customers().cardWindow, idCliente, windowName());
    m_customers.refresh();
    emit customersChanged();
}

void PosClassic::customerHistory(int idCliente)
{
    restartIdleTimer();
    if (idCliente > 0)
        m_context.navigator.open(QStringLiteral("TStoricoCliente"), idCliente, windowName());
}

void PosClassic::findItems(const QString& description, const QString& code)
{
    restartIdleTimer();
    if (!description.trimmed().isEmpty())
        m_items.find(stock::ItemField::Descrizione, stock::MatchMode::StartsWith, description.trimmed());
    else if (!code.trimmed().isEmpty())
        m_items.find(stock::ItemField::Codice, stock::MatchMode::StartsWith, code.trimmed());
    else
        m_items.showAll();
}

bool PosClassic::confirmItem(int itemId, bool andClose)
{
    restartIdleTimer();
    if (itemId <= 0)
        return false;
    const bool added = m_sale.addItem(itemId);
    m_rows = m_sale.rows();
    if (andClose)
        showSale();
    else
        emit changed();
    return added;
}

void PosClassic::clearItems()
{
    restartIdleTimer();
    m_items.search().showNothing();
    emit itemsChanged();
}

int PosClassic::newItem()
{
    restartIdleTimer();
    return m_items.newItem();
}

void PosClassic::logInOrOut()
{
    if (m_operator.isLoggedIn())
        logOut();
    else
        logIn();
}

bool PosClassic::logIn()
{
    if (!m_operator.logIn(m_context.navigator)) {
        emit scannerFocus();
        return false;
    }
    m_sale.setOperator(m_operator.name());
    restartIdleTimer();
    emit changed();
    emit scannerFocus();
    return true;
}

void PosClassic::logOut()
{
    m_idle.stop();
    m_operator.logOut();
    emit changed();
    // The open sale no longer has anybody serving it.
    if (m_sale.id() > 0)
        m_sale.setOperator({});
}

// A command that may wait on the operator (a question, a warning) is not cut by the idle logout:
// the timer stops for its length and starts again when it ends.
auto PosClassic::pauseIdleLogout() -> IdlePause
{
    m_idle.stop();
    return IdlePause(std::function<void()>([this] { restartIdleTimer(); }));
}

void PosClassic::restartIdleTimer()
{
    const std::optional<int>& period = m_settings.operatorRules.logoutAfterMs;
    if (period && m_operator.isLoggedIn())
        m_idle.start(*period);
}

void PosClassic::closeWindow()
{
    m_idle.stop();
    if (m_sale.id() > 0)
        m_sale.discard();
}

void PosClassic::afterRowsChanged()
{
    m_rows = m_sale.rows();
    emit changed();
    emit scannerFocus();
}

void PosClassic::clearSaleInput()
{
    m_paymentLabel.clear();
    m_paymentIconFile.clear();
    m_paymentPage = PaymentPage::Home;
    m_fiscalCode.clear();
    m_cheque = {};
    m_chequeImage.clear();
    m_packItem.reset();
    m_pack = {};
    m_customerName.clear();
}

} // namespace carvendo::pos
