#include "ui/stock/ItemCardWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/stock/TArticolo.h"

namespace carvendo::ui {

void registerItemCardWindows(WindowRegistry& registry)
{
    const auto card = [](stock::Articolo::Variant variant) {
        return [variant](WindowEnvironment& environment, const core::NavigationRequest& request,
                         QWidget* parent) { return new TArticolo(environment, request, variant, parent); };
    };
    registry.add(QStringLiteral("TArticolo"), card(stock::Articolo::Variant::Standard));
    registry.add(QStringLiteral("TAnagraficaArticolo"), card(stock::Articolo::Variant::Standard));
    registry.add(QStringLiteral("TAnagraficaArticoloLibr"), card(stock::Articolo::Variant::Book));
}

} // namespace carvendo::ui
