#pragma once

#include "core/Clock.h"

namespace carvendo::testing {

// A clock that shows the time the test sets, and moves only when told.
class FixedClock final : public core::Clock
{
public:
    explicit FixedClock(QDateTime now = QDateTime(QDate(2024, 3, 15), QTime(10, 30))) : m_now(std::move(now))
    {
    }

    QDateTime now() const override { return m_now; }
    void setNow(const QDateTime& now) { m_now = now; }

private:
    QDateTime m_now;
};

} // namespace carvendo::testing
