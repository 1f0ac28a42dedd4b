#pragma once

#include "DatasetMatch.h"

#include <QWidget>
#include <memory>

class AppletItemManager;
class QTimer;
class VexAppletItemManager;

// Facts about the device the item values do not carry: its health, as the
// status byte of each periodic read reports it, which values were read from
// the device connected now, and whether the dataset matches those values.
// Placed on a window, its item handler registers it (Typ "VexaItem").
class ctlDeviceStatus : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Typ READ Typ)

public:
    enum class Health
    {
        Unknown, // nothing read yet
        Good,
        Maintenance, // the device flags a value or wants attention
        Failure,     // the device reports a malfunction
    };

    explicit ctlDeviceStatus(QWidget *parent = nullptr);
    ~ctlDeviceStatus() override;

    QString Typ() const { return QStringLiteral("VexaItem"); }
    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    Q_INVOKABLE void UnRegister();

    Health health() const { return m_health; }
    // The dataset against the device's values read since it connected.
    const DatasetMatch &datasetMatch() const { return m_match; }
    // Checks the dataset now (it is also checked every second).
    void checkDataset();
    // Whether the item's shadow value was read from the device connected now.
    bool readFromDevice(const QString &item) const;
    static bool readFromDevice(const AppletItemManager *manager, const QString &item);

    // The health a HART device status byte reports; at a multidrop address
    // the fixed loop current is no sign of anything.
    static Health healthOf(quint8 deviceStatus, bool multidrop = false);

Q_SIGNALS:
    void changed();

private:
    VexAppletItemManager *host() const;

    std::shared_ptr<AppletItemManager> m_manager;
    QTimer *m_poll;
    int m_listener = 0;
    Health m_health = Health::Unknown;
    DatasetMatch m_match;
};
