#include "clsDeviceIdentNameMgr.h"

#include "ResidentLog.h"
#include "clsAppItemCollection.h"
#include "clsStartAlwaysView.h"

namespace {
// Sets the flag for the scope of one write so that its echo is not taken for
// a change, and clears it however the write ends.
class BusyScope
{
public:
    explicit BusyScope(bool &busy) : m_busy(busy) { m_busy = true; }
    ~BusyScope() { m_busy = false; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_busy;
};
} // namespace

clsDeviceIdentNameMgr::clsDeviceIdentNameMgr() = default;
clsDeviceIdentNameMgr::~clsDeviceIdentNameMgr() = default;

void clsDeviceIdentNameMgr::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    connect(myView(), &clsStartAlwaysView::UploadCompleted, this,
            &clsDeviceIdentNameMgr::m_MyView_UploadCompleted);
    m_items = std::make_unique<clsAppItemCollection>();
    m_currentSequence = m_items->Add(QStringLiteral("currentSequence"), false, 0);
    m_ProjectItemTag = m_items->Add(QStringLiteral("&&private_PM&&TagName"), false, 0);
    m_ProjectItemDescriptor = m_items->Add(QStringLiteral("&&private_PM&&Descriptor"), false, 0);
    m_TagHart = m_items->Add(QStringLiteral("_tagHART"), false, 0);
    m_Descriptor = m_items->Add(QStringLiteral("descriptor"), false, 0);
    connect(m_TagHart.get(), &clsAppItem::ValueUpdate2, this,
            &clsDeviceIdentNameMgr::m_TagHart_ValueUpdate);
    connect(m_Descriptor.get(), &clsAppItem::ValueUpdate2, this,
            &clsDeviceIdentNameMgr::m_Descriptor_ValueUpdate);
    connect(m_ProjectItemTag.get(), &clsAppItem::ValueUpdate, this,
            &clsDeviceIdentNameMgr::m_ProjectItemTag_ValueUpdate);
    connect(m_ProjectItemDescriptor.get(), &clsAppItem::ValueUpdate, this,
            &clsDeviceIdentNameMgr::m_ProjectItemDescriptor_ValueUpdate);
    m_items->Register(manager);
}

void clsDeviceIdentNameMgr::unregisterItems()
{
    disconnect(myView(), &clsStartAlwaysView::UploadCompleted, this,
               &clsDeviceIdentNameMgr::m_MyView_UploadCompleted);
    m_items->UnRegister();
}

// The device's values reach the project only while no sequence is current
// and not when the host takes data over: an upload ends with the project's
// names written over the device's, which the take-over must not replace first.
void clsDeviceIdentNameMgr::toProject(clsAppItem &target, const QString &value, bool suppressRule)
{
    try {
        if (suppressRule || !m_currentSequence->StringValue().isEmpty() || m_busy)
            return;
        BusyScope busy(m_busy);
        target.setStringValue(value.trimmed());
    } catch (const std::exception &error) {
        qCInfo(lcResident) << "device name not copied to the project:" << error.what();
    }
}

void clsDeviceIdentNameMgr::toDevice(clsAppItem &target, const QString &value, int length)
{
    if (m_busy)
        return;
    BusyScope busy(m_busy);
    try {
        target.setStringValue(value.left(length).toUpper());
    } catch (const std::exception &error) {
        qCInfo(lcResident) << "project name not copied to the device:" << error.what();
    }
}

void clsDeviceIdentNameMgr::m_TagHart_ValueUpdate(QString &appItemValue, bool &suppressRule)
{
    toProject(*m_ProjectItemTag, appItemValue, suppressRule);
}

void clsDeviceIdentNameMgr::m_Descriptor_ValueUpdate(QString &appItemValue, bool &suppressRule)
{
    toProject(*m_ProjectItemDescriptor, appItemValue, suppressRule);
}

void clsDeviceIdentNameMgr::m_ProjectItemTag_ValueUpdate(QString &appItemValue)
{
    toDevice(*m_TagHart, appItemValue, TagLength);
}

void clsDeviceIdentNameMgr::m_ProjectItemDescriptor_ValueUpdate(QString &appItemValue)
{
    toDevice(*m_Descriptor, appItemValue, DescriptorLength);
}

void clsDeviceIdentNameMgr::m_MyView_UploadCompleted()
{
    QString tag = m_ProjectItemTag->StringValue();
    m_ProjectItemTag_ValueUpdate(tag);
    QString descriptor = m_ProjectItemDescriptor->StringValue();
    m_ProjectItemDescriptor_ValueUpdate(descriptor);
}
