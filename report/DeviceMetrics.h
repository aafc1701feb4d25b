#pragma once

#include <QPaintDevice>

#include <array>

namespace carvendo::report {

// The measures of a paint device (size, resolution, depth) without the device: documents are laid
// out for it, in any thread, exactly as for the device itself, while only the device is painted on.
class DeviceMetrics : public QPaintDevice
{
public:
    explicit DeviceMetrics(const QPaintDevice& device);

    int devType() const override { return m_type; }
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    static constexpr int MetricCount = PdmDevicePixelRatioScaled + 1;
    std::array<int, MetricCount> m_metrics{};
    int m_type;
};

} // namespace carvendo::report
