#include "ui/foundation/ServerWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/foundation/TImpostazioniServer.h"

namespace carvendo::ui {

void registerServerWindows(WindowRegistry& registry, core::EmbeddedServer& embedded)
{
    registry.add(
        QStringLiteral("TImpostazioniServer"),
        [&embedded](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) {
            return new TImpostazioniServer(environment, embedded, parent);
        });
}

} // namespace carvendo::ui
