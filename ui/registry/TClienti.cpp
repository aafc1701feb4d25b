#include "ui/registry/TClienti.h"

namespace carvendo::ui {

TClienti::TClienti(WindowEnvironment& environment, QWidget* parent)
    : RegistryListWindow(registry::RegistryKind::customers(), QStringLiteral("Clienti"), environment, parent)
{
}

} // namespace carvendo::ui
