#include "AllWindows.h"

#include "MainWindows.h"
#include "ServerWindows.h"
#include "StockWindows.h"
#include "TAziendaAnagrafica.h"

namespace carvendo::ui {

void registerAllWindows(WindowRegistry& registry, core::EmbeddedServer& embedded)
{
    registerCompanyWindows(registry);
    registerServerWindows(registry, embedded);
    registerMainWindows(registry);
    registerStockWindows(registry);
}

} // namespace carvendo::ui
