#pragma once

#include "ui/registry/RegistryListWindow.h"

namespace carvendo::ui {

// The list of the fornitori.
class TFornitori : public RegistryListWindow
{
    Q_OBJECT

public:
    explicit TFornitori(WindowEnvironment& environment, QWidget* parent = nullptr);
};

} // namespace carvendo::ui
