#include "ui/registry/TFornitori.h"

namespace carvendo::ui {

TFornitori::TFornitori(WindowEnvironment& environment, QWidget* parent)
    : RegistryListWindow(registry::RegistryKind::suppliers(), QStringLiteral("Fornitori"), environment,
                         parent)
{
}

} // namespace carvendo::ui
