#include "clsPartItemBase.h"

#include "AppletItemManager.h"
#include "ItemcoreLog.h"
#include "Module1.h"
#include "VexException.h"
#include "clsAppItemView.h"
#include "enmRegMask.h"

#include <cmath>

clsPartItemBase::clsPartItemBase(QObject *parent) : QObject(parent) {}

// Derived classes call UnRegister in their own destructor while their
// overrides still exist; this one only releases the view.
clsPartItemBase::~clsPartItemBase() = default;

void clsPartItemBase::Init(const QString &name, bool registerOnShadow, qint16 updateInterval,
                           qint16 regMask, QObject *eventHandler, const QString &methodName)
{
    m_name = name;
    m_registerOnShadow = registerOnShadow;
    m_updateInterval = updateInterval;
    m_regMask = regMask;
    m_eventHandler = eventHandler;
    m_methodName = methodName.toLatin1();
}

void clsPartItemBase::Register(std::shared_ptr<AppletItemManager> appletItemManagerRef,
                               const QString &name, bool registerOnShadow, qint16 updateInterval,
                               qint16 regMask, QObject *eventHandler, const QString &methodName)
{
    Init(name, registerOnShadow, updateInterval, regMask, eventHandler, methodName);
    Register1(std::move(appletItemManagerRef));
}

void clsPartItemBase::Register1(std::shared_ptr<AppletItemManager> appletItemManagerRef)
{
    UnRegister();
    m_manager = std::move(appletItemManagerRef);
    m_view = std::make_unique<clsAppItemView>();
    m_view->setItem(this);
    m_manager->fncRegisterView(m_view.get());

    struct Requested
    {
        Part part;
        qint16 bit;
    };
    static constexpr Requested order[] = {{StatePart, REGISTER_STATE},
                                          {ResponsePart, REGISTER_RESPONSE},
                                          {ControlPart, REGISTER_CONTROL}};
    for (const Requested &r : order) {
        if (!(m_regMask & r.bit) || (r.part == ResponsePart && !hasResponse()))
            continue;
        const QString itemName = prefix(r.part) + m_name;
        qint32 rc = 0;
        m_manager->fncRegisterItem(itemName, m_registerOnShadow, m_view->viewHandle(),
                                   m_handles[r.part], 0, 0, rc);
        if (rc != 0)
            ReportError(REGISTRATION_FAILED, registerSource(),
                        QStringLiteral("Registrierung von ") + itemName +
                            QStringLiteral("fehlgeschlagen"));
    }
    m_registered = true;
}

void clsPartItemBase::UnRegister()
{
    if (!m_registered)
        return;
    const QVariant viewHandle(m_view ? m_view->viewHandle() : 0);
    for (Part part : {StatePart, ResponsePart, ControlPart}) {
        if (part == ResponsePart && !hasResponse())
            continue;
        qint32 rc = 0;
        m_manager->fncUnregisterItem(viewHandle, m_handles[part], m_registerOnShadow, rc);
    }
    m_registered = false;
}

void clsPartItemBase::dropView()
{
    m_view.reset();
}

AppletItemManager &clsPartItemBase::managerOrRaise(const char *member) const
{
    if (!m_manager)
        throw VexException(VexException::ObjectRequired,
                           className() + QLatin1Char('.') + QLatin1String(member),
                           QStringLiteral("Objektvariable nicht festgelegt"));
    return *m_manager;
}

void clsPartItemBase::DoAction(qint32 &action)
{
    qint32 rc = 0;
    managerOrRaise("DoAction").fncPutUintValue(m_handles[ControlPart], double(action), rc);
    if (rc != 0)
        ReportError(INVALID_DATATYPE, className() + QStringLiteral(".DoAction"),
                    QStringLiteral("fncPutUintValue fehlgeschlagen"));
}

qint32 clsPartItemBase::roundStatus(double value)
{
    // lrint rounds in the current mode, which is to-nearest-even.
    return qint32(std::lrint(value));
}

void clsPartItemBase::OnNotifyChanged(qint32 &itemHandle, bool, qint32 lState, qint32)
{
    try {
        handleNotification(itemHandle, lState);
    } catch (...) {
        // A notification never fails towards the host.
        qCInfo(lcItemcore).noquote()
            << className() << m_name << "did not pass its change on:" << CurrentErrorText();
    }
}

void clsPartItemBase::handleNotification(qint32 itemHandle, qint32 lState)
{
    if ((lState & 0x04) || !m_manager)
        return;
    if (itemHandle == m_handles[StatePart]) {
        double value = 0;
        qint32 rc = 0;
        m_manager->fncGetUIntValue(m_handles[StatePart], value, rc);
        if (rc != 0)
            ReportError(INVALID_DATATYPE, stateChangeSource(),
                        QStringLiteral("fncGetUIntValue fehlgeschlagen"));
        qint32 status = roundStatus(value);
        emitStatusChanged(status);
        if (m_eventHandler && !m_methodName.isEmpty())
            QMetaObject::invokeMethod(m_eventHandler.data(), m_methodName.constData(),
                                      Qt::DirectConnection, Q_ARG(QString, m_name),
                                      Q_ARG(qint32, status));
    } else if (hasResponse() && itemHandle == m_handles[ResponsePart]) {
        QByteArray bytes;
        qint32 rc = 0;
        m_manager->fncGetOctetsValue(m_handles[ResponsePart], bytes, rc);
        if (rc != 0)
            ReportError(INVALID_DATATYPE, stateChangeSource(),
                        QStringLiteral("fncGetOctetsValue fehlgeschlagen"));
        emitResponse(bytes);
    }
}
