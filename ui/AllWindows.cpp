#include "AllWindows.h"

#include "CardWindows.h"
#include "ClosingWindows.h"
#include "ItemCardWindows.h"
#include "ItemListWindows.h"
#include "ListWindows.h"
#include "MainWindows.h"
#include "ServerWindows.h"
#include "SettingsWindows.h"
#include "StockLevelWindows.h"
#include "StockMovementWindows.h"
#include "StockWindows.h"
#include "TAziendaAnagrafica.h"

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
    registerStockMovementWindows(registry);
    registerSettingsWindows(registry);
    registerClosingWindows(registry);
    registerRegistryCardWindows(registry);
    registerRegistryListWindows(registry);
}

} // namespace carvendo::ui
