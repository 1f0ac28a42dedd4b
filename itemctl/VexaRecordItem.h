#pragma once

#include "VexaDesignControl.h"

#include <QByteArray>
#include <memory>

class AppletItemManager;
class clsRecordItem;

// A dialog's binding of one record: which of its parts to register, its
// response bytes, its commands, and its state changes passed on to the dialog.
class VexaRecordItem : public VexaDesignControl
{
    Q_OBJECT
    Q_PROPERTY(QString Typ READ Typ)
    Q_PROPERTY(QString AppItemName READ AppItemName WRITE setAppItemName)
    Q_PROPERTY(bool RegisterOnShadow READ RegisterOnShadow WRITE setRegisterOnShadow)
    Q_PROPERTY(bool RegisterStateItem READ RegisterStateItem WRITE setRegisterStateItem)
    Q_PROPERTY(bool RegisterControlItem READ RegisterControlItem WRITE setRegisterControlItem)
    Q_PROPERTY(bool RegisterResponseItem READ RegisterResponseItem WRITE setRegisterResponseItem)
    Q_PROPERTY(QByteArray ResponseCode READ ResponseCode)

public:
    explicit VexaRecordItem(QWidget *parent = nullptr);
    ~VexaRecordItem() override;

    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    Q_INVOKABLE void UnRegister();
    Q_INVOKABLE void DoAction(qint32 action);

    QString Typ() const { return QStringLiteral("VexaItem"); }
    QByteArray ResponseCode() const;
    QString AppItemName() const { return m_appItemName; }
    void setAppItemName(const QString &name);
    bool RegisterOnShadow() const { return m_registerOnShadow; }
    void setRegisterOnShadow(bool registerOnShadow);
    bool RegisterStateItem() const { return m_registerState; }
    void setRegisterStateItem(bool on) { m_registerState = on; }
    bool RegisterControlItem() const { return m_registerControl; }
    void setRegisterControlItem(bool on) { m_registerControl = on; }
    bool RegisterResponseItem() const { return m_registerResponse; }
    void setRegisterResponseItem(bool on) { m_registerResponse = on; }
    bool isRegistered() const { return m_registered; }
    const clsRecordItem &item() const { return *m_item; }

Q_SIGNALS:
    void GotResponse(QByteArray &ResponseCode);
    void StatusChanged(qint32 &recordStatus);

private:
    bool m_registered = false;
    bool m_registerState = true;
    bool m_registerControl = true;
    bool m_registerResponse = true;
    bool m_registerOnShadow = false;
    QString m_appItemName;
    std::unique_ptr<clsRecordItem> m_item;
};
