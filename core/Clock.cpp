#include "core/Clock.h"

namespace carvendo::core {

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace carvendo::core
