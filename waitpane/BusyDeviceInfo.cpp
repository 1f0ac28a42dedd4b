#include "BusyDeviceInfo.h"

#include "clsAppItem.h"

BusyDeviceInfo::BusyDeviceInfo()
    : m_tagName(std::make_unique<clsAppItem>()), m_descriptor(std::make_unique<clsAppItem>())
{
}

BusyDeviceInfo::~BusyDeviceInfo() = default;

void BusyDeviceInfo::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    m_tagName->Register(AppletItemManagerRef, QStringLiteral("&&private_PM&&TagName"));
    m_descriptor->Register(AppletItemManagerRef, QStringLiteral("&&private_PM&&Descriptor"));
}

QString BusyDeviceInfo::DeviceIdentName()
{
    return m_tagName->StringValue().trimmed() + QStringLiteral(": ") +
           m_descriptor->StringValue().trimmed();
}
