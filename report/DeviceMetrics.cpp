#include "report/DeviceMetrics.h"

namespace carvendo::report {

DeviceMetrics::DeviceMetrics(const QPaintDevice& device) : m_type(device.devType())
{
    for (int each = PdmWidth; each < MetricCount; ++each) {
        const auto which = PaintDeviceMetric(each);
        switch (which) {
        case PdmWidth:
            m_metrics[std::size_t(each)] = device.width();
            break;
        case PdmHeight:
            m_metrics[std::size_t(each)] = device.height();
            break;
        case PdmWidthMM:
            m_metrics[std::size_t(each)] = device.widthMM();
            break;
        case PdmHeightMM:
            m_metrics[std::size_t(each)] = device.heightMM();
            break;
        case PdmNumColors:
            m_metrics[std::size_t(each)] = device.colorCount();
            break;
        case PdmDepth:
            m_metrics[std::size_t(each)] = device.depth();
            break;
        case PdmDpiX:
            m_metrics[std::size_t(each)] = device.logicalDpiX();
            break;
        case PdmDpiY:
            m_metrics[std::size_t(each)] = device.logicalDpiY();
            break;
        case PdmPhysicalDpiX:
            m_metrics[std::size_t(each)] = device.physicalDpiX();
            break;
        case PdmPhysicalDpiY:
            m_metrics[std::size_t(each)] = device.physicalDpiY();
            break;
        case PdmDevicePixelRatio:
            m_metrics[std::size_t(each)] = int(device.devicePixelRatio());
            break;
        case PdmDevicePixelRatioScaled:
            m_metrics[std::size_t(each)] = int(device.devicePixelRatio() * devicePixelRatioFScale());
            break;
        }
    }
}

int DeviceMetrics::metric(PaintDeviceMetric metric) const
{
    return metric >= PdmWidth && metric < MetricCount ? m_metrics[std::size_t(metric)] : 0;
}

} // namespace carvendo::report
