#pragma once

#include <QDate>
#include <QDateTime>

namespace carvendo::core {

// The workstation's clock. Logic asks this instead of QDateTime::currentDateTime() so tests can
// fix "now". Where the server's date decides (document years), the SQL asks the server instead.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override;
};

} // namespace carvendo::core
