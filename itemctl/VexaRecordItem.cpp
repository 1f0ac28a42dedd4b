#include "VexaRecordItem.h"

#include "ItemctlLog.h"
#include "Module1.h"
#include "clsRecordItem.h"
#include "enmRegMask.h"

VexaRecordItem::VexaRecordItem(QWidget *parent)
    : VexaDesignControl(QStringLiteral("Record: "), parent),
      m_item(std::make_unique<clsRecordItem>())
{
    connect(m_item.get(), &clsRecordItem::ResponseCatched, this,
            [this](QByteArray &bytes) { Q_EMIT GotResponse(bytes); });
    connect(m_item.get(), &clsRecordItem::StatusChanged, this,
            [this](qint32 &status) { Q_EMIT StatusChanged(status); });
}

VexaRecordItem::~VexaRecordItem()
{
    UnRegister();
}

void VexaRecordItem::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    if (m_appItemName.isEmpty())
        return;
    UnRegister();
    const qint16 regMask = (m_registerState ? REGISTER_STATE : 0) |
                           (m_registerControl ? REGISTER_CONTROL : 0) |
                           (m_registerResponse ? REGISTER_RESPONSE : 0);
    try {
        m_item->Register(std::move(AppletItemManagerRef), m_appItemName, m_registerOnShadow, 0,
                         regMask);
        m_registered = true;
    } catch (...) {
        qCInfo(lcItemctl).noquote() << "Record" << m_appItemName
                                    << "not registered, reports no status:" << CurrentErrorText();
    }
}

void VexaRecordItem::UnRegister()
{
    if (!m_registered)
        return;
    try {
        m_item->UnRegister();
    } catch (...) {
        qCInfo(lcItemctl).noquote()
            << "Record" << m_appItemName << "not unregistered:" << CurrentErrorText();
    }
    m_registered = false;
}

void VexaRecordItem::DoAction(qint32 action)
{
    m_item->DoAction(action);
}

QByteArray VexaRecordItem::ResponseCode() const
{
    return m_item->ResponseCode();
}

void VexaRecordItem::setAppItemName(const QString &name)
{
    m_appItemName = name;
    setCaption(QStringLiteral("Record: ") + name);
}

void VexaRecordItem::setRegisterOnShadow(bool registerOnShadow)
{
    if (!DesignMode())
        raiseSetAtRunTime("RegisterOnShadow");
    m_registerOnShadow = registerOnShadow;
}
