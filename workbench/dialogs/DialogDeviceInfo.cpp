#include "DialogDeviceInfo.h"

#include "IViewEx.h"
#include "clsDeviceInfo.h"

DialogDeviceInfo::DialogDeviceInfo() = default;

DialogDeviceInfo::~DialogDeviceInfo() = default;

std::array<quint8, 3> DialogDeviceInfo::softwareRevision(IViewEx *view)
{
    if (!m_info) {
        const auto manager = view ? view->appletItemManagerRef() : nullptr;
        if (!manager)
            return {};
        m_info = std::make_shared<clsDeviceInfo>();
        m_info->Register(manager);
    }
    return m_info->SoftwareRevision();
}

bool DialogDeviceInfo::atLeast(IViewEx *view, const std::array<quint8, 3> &version)
{
    return softwareRevision(view) >= version;
}

void DialogDeviceInfo::release()
{
    m_info.reset();
}
