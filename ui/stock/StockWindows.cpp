#include "ui/stock/StockWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/stock/TMagazzinoAnagrafica.h"

namespace carvendo::ui {

void registerStockWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TMagazzinoAnagrafica"),
                 [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
                     return new TMagazzinoAnagrafica(environment, request, parent);
                 });
}

} // namespace carvendo::ui
