#pragma once

#include "AppletItemManager.h"
#include "Dictionary.h"
#include "IAppItem.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <memory>

class clsAppItemView;

// One named host item bound for the code that owns it: registration through a
// private view, typed reads and writes, and three events per host
// notification (plus an optional call of a named method on an owner object).
class clsAppItem : public QObject, public IAppItem
{
    Q_OBJECT

public:
    explicit clsAppItem(QObject *parent = nullptr);
    ~clsAppItem() override;

    void Init(const QString &name, bool registerOnShadow = false, qint16 updateInterval = 0,
              QObject *eventHandler = nullptr, const QString &methodName = QString());
    void Register(std::shared_ptr<AppletItemManager> appletItemManagerRef, const QString &name,
                  bool registerOnShadow = false, qint16 updateInterval = 0,
                  QObject *eventHandler = nullptr, const QString &methodName = QString());
    void Register1(std::shared_ptr<AppletItemManager> appletItemManagerRef);
    void UnRegister();

    QString StringValue() const;
    void setStringValue(const QString &value);
    double UIntValue() const;
    void setUIntValue(double value);
    qint32 BCDValue() const;
    void setBCDValue(qint32 value);
    float FloatValue() const;
    void setFloatValue(float value);
    qint32 IntValue() const;
    void setIntValue(qint32 value);
    QVariant OctetValue() const;
    // Accepts a QByteArray or a QVariantList of numbers 0..255; the item keeps
    // its length (longer input is cut, shorter is padded with zero bytes).
    void setOctetValue(const QVariant &value);
    QByteArray PCAValue() const;
    void setPCAValue(const QByteArray &value);
    QByteArray HartDateValue() const;
    void setHartDateValue(const QByteArray &value);
    QString EnumValue() const;
    qint32 DataType() const;
    void Adjust();

    const QString &name() const { return m_name; }
    bool isRegistered() const { return m_registered; }
    qint32 itemHandle() const { return m_itemHandle; }
    bool RegisterOnShadow() const { return m_registerOnShadow; }
    qint16 UpdateInterval() const { return m_updateInterval; }
    bool hasEnumeration() const { return m_hasEnumeration; }
    const QList<EnumTableEntry> &enumTable() const { return m_enumTable; }
    const std::shared_ptr<AppletItemManager> &manager() const { return m_manager; }

    void OnNotifyChanged(qint32 &itemHandle, bool bShadow, qint32 lState,
                         qint32 lUserLong) override;

Q_SIGNALS:
    void ValueUpdate3(QString &appItemValue, qint32 &itemState);
    void ValueUpdate2(QString &appItemValue, bool &suppressRule);
    void ValueUpdate(QString &appItemValue);

protected:
    // Which of the events have receivers: a notification nobody hears is
    // not read from the host, and an event without receivers is not raised.
    void connectNotify(const QMetaMethod &signal) override;
    void disconnectNotify(const QMetaMethod &signal) override;

private:
    enum Event : quint8
    {
        Update = 1,
        Update2 = 2,
        Update3 = 4
    };
    void countListened();
    bool readable() const { return m_manager && m_itemHandle > 0; }
    void readString(QString &value) const;

    // The typed accesses whose return code the item does not look at.
    template <class T>
    T readUnchecked(void (AppletItemManager::*get)(qint32, T &, bool, qint32 &)) const
    {
        T value{};
        qint32 rc = 0;
        if (readable())
            (m_manager.get()->*get)(m_itemHandle, value, m_registerOnShadow, rc);
        return value;
    }
    template <class T, class V>
    void writeUnchecked(void (AppletItemManager::*put)(qint32, T, qint32 &), const V &value)
    {
        qint32 rc = 0;
        if (m_registered)
            (m_manager.get()->*put)(m_itemHandle, value, rc);
    }
    void loadEnumTable();
    // The named method of the owner object, kept out of the events' path.
    Q_DECL_COLD_FUNCTION void callEventHandler(const QString &value, bool suppressRule);

    std::unique_ptr<clsAppItemView> m_view;
    std::shared_ptr<AppletItemManager> m_manager;
    bool m_registered = false;
    qint32 m_itemHandle = 0;
    QList<EnumTableEntry> m_enumTable;
    bool m_hasEnumeration = false;
    QString m_name;
    qint16 m_updateInterval = 0;
    bool m_registerOnShadow = false;
    QPointer<QObject> m_eventHandler;
    QByteArray m_methodName;
    quint8 m_listened = 0; // Event bits
    bool m_recountListened = false;
};
