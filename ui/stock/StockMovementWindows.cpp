#include "ui/stock/StockMovementWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/stock/TAnalisiMagazzino.h"
#include "ui/stock/TCausaleMagazzino.h"
#include "ui/stock/TMagazziniLista.h"
#include "ui/stock/TMovimentiMagazzino.h"

namespace carvendo::ui {

namespace {

template <typename View> void addWindow(WindowRegistry& registry, const QString& name)
{
    registry.add(name, [](WindowEnvironment& environment, const core::NavigationRequest& request,
                          QWidget* parent) { return new View(environment, request, parent); });
}

} // namespace

void registerStockMovementWindows(WindowRegistry& registry)
{
    addWindow<TMovimentiMagazzino>(registry, QStringLiteral("TMovimentiMagazzino"));
    addWindow<TAnalisiMagazzino>(registry, QStringLiteral("TAnalisiMagazzino"));
    addWindow<TMagazziniLista>(registry, QStringLiteral("TMagazziniLista"));
    addWindow<TCausaleMagazzino>(registry, QStringLiteral("TCausaleMagazzino"));
}

} // namespace carvendo::ui
