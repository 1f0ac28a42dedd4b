#include "clsEnumMgr.h"

#include "ResidentLog.h"
#include "clsAppItemCollection.h"
#include "clsDeviceInfo.h"

clsEnumMgr::clsEnumMgr() = default;
clsEnumMgr::~clsEnumMgr() = default;

void clsEnumMgr::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    m_deviceInfo = std::make_unique<clsDeviceInfo>();
    m_deviceInfo->Register(manager);
    m_items = std::make_unique<clsAppItemCollection>();
    m_SoftwareRevision = m_items->Add(QStringLiteral("softwareRevision"), true, 0);
    connect(m_SoftwareRevision.get(), &clsAppItem::ValueUpdate, this,
            &clsEnumMgr::m_SoftwareRevision_ValueUpdate);
    m_languageLimit = m_items->Add(QStringLiteral("&&ObjectLimit&&hmiLanguage"), false, 0);
    m_language = m_items->Add(QStringLiteral("hmiLanguage"), false, 0);
    m_items->Register(manager);
}

void clsEnumMgr::unregisterItems()
{
    m_items->UnRegister();
}

void clsEnumMgr::m_SoftwareRevision_ValueUpdate(QString &)
{
    evaluate();
}

// One flag per entry of the language enumeration: English, German, French.
void clsEnumMgr::evaluate()
{
    try {
        if (m_deviceInfo->SoftwareVersion() < FirstRevisionWithAllLanguages) {
            m_languageLimit->setStringValue(QStringLiteral("1, 1, 0"));
            if (m_language->UIntValue() == 7)
                m_language->setUIntValue(0);
        } else {
            m_languageLimit->setStringValue(QStringLiteral("1, 1, 1"));
        }
    } catch (const std::exception &error) {
        // A failed read leaves the choice as it is.
        qCInfo(lcResident) << "language choice not limited:" << error.what();
    }
}
