#include "ui/common/Window.h"

namespace carvendo::ui {

core::NavigationResult Window::navigationResult() const
{
    core::NavigationResult result;
    result.accepted = this->result() == QDialog::Accepted;
    return result;
}

} // namespace carvendo::ui
