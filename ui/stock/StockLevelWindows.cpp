#include "ui/stock/StockLevelWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/stock/TDisponibilita.h"
#include "ui/stock/TInventario.h"
#include "ui/stock/TSottoscorta.h"

namespace carvendo::ui {

void registerStockLevelWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TDisponibilita"), factory<TDisponibilita>());
    registry.add(QStringLiteral("TSottoscorta"), factory<TSottoscorta>());
    registry.add(QStringLiteral("TInventario"), factory<TInventario>());
}

} // namespace carvendo::ui
