#pragma once

#include "VexaCommandEvent.h"
#include "VexaDesignControl.h"

#include <QList>
#include <QPair>
#include <QPointer>
#include <memory>

class AppletItemManager;
class clsAppItem;
class clsSequenceItem;
class QTimer;

// A dialog's binding of one sequence. Its commands run either now (errors go
// to the caller) or deferred: posted to this control and run once the
// dialog's current event handling has returned, again and again for as long
// as the host answers that another sequence is running.
class VexaSequenceItem : public VexaDesignControl
{
    Q_OBJECT
    Q_PROPERTY(QString Typ READ Typ)
    Q_PROPERTY(QString AppItemName READ AppItemName WRITE setAppItemName)
    Q_PROPERTY(bool RegisterOnShadow READ RegisterOnShadow WRITE setRegisterOnShadow)
    Q_PROPERTY(bool RegisterStateItem READ RegisterStateItem WRITE setRegisterStateItem)
    Q_PROPERTY(bool RegisterControlItem READ RegisterControlItem WRITE setRegisterControlItem)
    Q_PROPERTY(double SequenceState READ SequenceState)

public:
    explicit VexaSequenceItem(QWidget *parent = nullptr);
    ~VexaSequenceItem() override;

    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    Q_INVOKABLE void UnRegister();
    Q_INVOKABLE void Adjust(bool immediate = false);
    Q_INVOKABLE void Force(bool immediate = false);
    Q_INVOKABLE void Start(bool immediate = false);
    Q_INVOKABLE void DoAction(qint32 action, bool immediate = false);

    QString Typ() const { return QStringLiteral("VexaItem"); }
    double SequenceState() const;
    QString AppItemName() const { return m_appItemName; }
    void setAppItemName(const QString &name);
    bool RegisterOnShadow() const { return m_registerOnShadow; }
    void setRegisterOnShadow(bool registerOnShadow);
    bool RegisterStateItem() const { return m_registerState; }
    void setRegisterStateItem(bool on) { m_registerState = on; }
    bool RegisterControlItem() const { return m_registerControl; }
    void setRegisterControlItem(bool on) { m_registerControl = on; }
    bool isRegistered() const { return m_registered; }

Q_SIGNALS:
    void StatusChanged(qint32 &sequenceStatus);

protected:
    bool event(QEvent *event) override;

private:
    void post(QObject *target, VexaCommandEvent::Code code, qint32 parameter);
    void runDeferred(VexaCommandEvent::Code code, qint32 parameter);
    // A command the host refused as busy: asked again when the running
    // sequence ends ("currentSequence" changes), or after a pause where the
    // host does not publish it, never at the loop's own speed.
    void retryLater(VexaCommandEvent::Code code, qint32 parameter);
    void retryNow();

    bool m_registered = false;
    bool m_registerState = true;
    bool m_registerControl = true;
    bool m_registerOnShadow = false;
    QString m_appItemName;
    // Where deferred DoAction goes; set by the first registration.
    QPointer<QObject> m_actionTarget;
    std::unique_ptr<clsSequenceItem> m_item;
    std::shared_ptr<AppletItemManager> m_manager;
    std::unique_ptr<clsAppItem> m_running; // "currentSequence", bound while a retry waits
    QList<QPair<VexaCommandEvent::Code, qint32>> m_waiting;
    QTimer *m_retry;
};
