#pragma once

#include "ui/registry/RegistryListWindow.h"

namespace carvendo::ui {

// The list of the clienti.
class TClienti : public RegistryListWindow
{
    Q_OBJECT

public:
    explicit TClienti(WindowEnvironment& environment, QWidget* parent = nullptr);
};

} // namespace carvendo::ui
