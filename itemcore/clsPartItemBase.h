#pragma once

#include "IAppItem.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class AppletItemManager;
class clsAppItemView;

// What records and sequences share: a name whose state, control and (for
// records) response items the host keeps under fixed prefixes, registered
// through one private view, with state changes turned into a status.
class clsPartItemBase : public QObject, public IAppItem
{
    Q_OBJECT

public:
    enum Part
    {
        StatePart = 0,
        ResponsePart = 1,
        ControlPart = 2
    };

    ~clsPartItemBase() override;

    void Init(const QString &name, bool registerOnShadow = false, qint16 updateInterval = 0,
              qint16 regMask = 0, QObject *eventHandler = nullptr,
              const QString &methodName = QString());
    void Register(std::shared_ptr<AppletItemManager> appletItemManagerRef, const QString &name,
                  bool registerOnShadow = false, qint16 updateInterval = 0, qint16 regMask = 0,
                  QObject *eventHandler = nullptr, const QString &methodName = QString());
    void Register1(std::shared_ptr<AppletItemManager> appletItemManagerRef);
    virtual void UnRegister();
    void DoAction(qint32 &action);

    const QString &name() const { return m_name; }
    bool isRegistered() const { return m_registered; }
    bool RegisterOnShadow() const { return m_registerOnShadow; }
    qint16 UpdateInterval() const { return m_updateInterval; }
    qint16 regMask() const { return m_regMask; }
    qint32 handle(Part part) const { return m_handles[part]; }
    const std::shared_ptr<AppletItemManager> &manager() const { return m_manager; }

    void OnNotifyChanged(qint32 &itemHandle, bool bShadow, qint32 lState,
                         qint32 lUserLong) override;

    // Host status values are unsigned numbers; they reach the program as 32-bit
    // integers, rounded half to even.
    static qint32 roundStatus(double value);

protected:
    explicit clsPartItemBase(QObject *parent);

    virtual QString className() const = 0;
    virtual QString prefix(Part part) const = 0;
    virtual bool hasResponse() const = 0;
    virtual QString registerSource() const = 0;
    virtual QString stateChangeSource() const = 0;
    virtual void emitStatusChanged(qint32 &status) = 0;
    virtual void emitResponse(QByteArray &) {}

    AppletItemManager &managerOrRaise(const char *member) const;
    void dropView();

private:
    void handleNotification(qint32 itemHandle, qint32 lState);

    std::unique_ptr<clsAppItemView> m_view;
    std::shared_ptr<AppletItemManager> m_manager;
    qint32 m_handles[3] = {0, 0, 0};
    QString m_name;
    qint16 m_updateInterval = 0;
    qint16 m_regMask = 0;
    bool m_registerOnShadow = false;
    QPointer<QObject> m_eventHandler;
    QByteArray m_methodName;
    bool m_registered = false;
};
