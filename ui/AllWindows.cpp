#include "ui/AllWindows.h"

#include "ui/accounts/PaymentWindows.h"
#include "ui/documents/InvoiceWindows.h"
#include "ui/documents/TFatture.h"
#include "ui/foundation/ClosingWindows.h"
#include "ui/foundation/MainWindows.h"
#include "ui/foundation/ServerWindows.h"
#include "ui/foundation/SettingsWindows.h"
#include "ui/foundation/TAziendaAnagrafica.h"
#include "ui/messaging/MessagingWindows.h"
#include "ui/pos/PosWindows.h"
#include "ui/registry/CardWindows.h"
#include "ui/registry/ListWindows.h"
#include "ui/stock/ItemCardWindows.h"
#include "ui/stock/ItemListWindows.h"
#include "ui/stock/LoadWindows.h"
#include "ui/stock/SerialWindows.h"
#include "ui/stock/SizeColourWindows.h"
#include "ui/stock/StockLevelWindows.h"
#include "ui/stock/StockMovementWindows.h"
#include "ui/stock/StockWindows.h"

namespace carvendo::ui {

void registerAllWindows(WindowRegistry& registry, core::EmbeddedServer& embedded)
{
    registerCompanyWindows(registry);
    registerServerWindows(registry, embedded);
    registerMainWindows(registry);
    registerStockWindows(registry);
    registerItemCardWindows(registry);
    registerItemListWindows(registry);
    registerStockLevelWindows(registry);
    registerSizeColourWindows(registry);
    registerStockMovementWindows(registry);
    registerLoadWindows(registry);
    registerSerialWindows(registry);
    registerSettingsWindows(registry);
    registerClosingWindows(registry);
    registerRegistryCardWindows(registry);
    registerRegistryListWindows(registry);
    registerPosWindows(registry);
    registerAccountsWindows(registry);
    registerMessagingWindows(registry);
    registerInvoiceWindows(registry);
    registerInvoiceListWindows(registry);
}

} // namespace carvendo::ui
