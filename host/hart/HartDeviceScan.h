#pragma once

#include "hart/HartDeviceIdentity.h"
#include "hart/HartLink.h"
#include "hart/HartMaster.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

// Finds the devices on a link. Without a tag it asks every polling address
// (0 to 15) with command 0 in a short frame and reads the tag of each device
// that answers with command 13. With a tag it asks for that tag with command
// 11 (broadcast) and then looks for the polling address of the device that
// answered. One request at a time, through a master of its own, so a
// half-duplex modem is never asked to talk over itself; cancel() stops at
// once and the answer still on its way is ignored. The link is opened when it
// is not open, and closed again at the end only then. A silent address costs
// the link's time-out; a HART-IP gateway says at once that nobody is there.
class HartDeviceScan : public QObject
{
    Q_OBJECT

public:
    static constexpr int PollingAddresses = 16;
    static constexpr int TagCharacters = 8; // six bytes of packed ASCII

    struct Device
    {
        int pollingAddress = -1; // -1: answered to its tag, at no polling address
        HartDeviceIdentity identity;
        QString tag;

        // What tells one device from another, whatever port or address it is on.
        QString uniqueId() const { return identity.key(); }
        bool operator==(const Device &other) const = default;
    };

    explicit HartDeviceScan(HartLink *link, QObject *parent = nullptr);
    ~HartDeviceScan() override;

    // Whether the tag fits the six bytes of packed ASCII: at most eight
    // characters from blank to underscore (lower case is sent upper case).
    static bool canSendTag(const QString &tag);
    // Starts the scan; false with the reason in errorString() when the link
    // cannot be opened, a scan runs already or the tag cannot be sent.
    bool start(const QString &tag = {});
    void cancel();
    bool isRunning() const { return m_running; }

    QList<Device> devices() const { return m_devices; }
    QString errorString() const { return m_error; }

Q_SIGNALS:
    void progress(int done, int total);
    void deviceFound(const HartDeviceScan::Device &device);
    // completed: every address asked; false when cancelled or the link was lost.
    void finished(bool completed);

private:
    enum class Step
    {
        Identify,  // command 0 at m_address
        ReadTag,   // command 13 to the device found
        FindByTag, // command 11, broadcast
    };

    void send(Step step, const HartFrame &frame);
    void outcome(const HartMaster::Outcome &outcome);
    void identified(const HartMaster::Outcome &outcome);
    void tagRead(const HartMaster::Outcome &outcome);
    void foundByTag(const HartMaster::Outcome &outcome);
    void nextAddress();
    void end(bool completed);
    void report();

    QPointer<HartLink> m_link;
    std::unique_ptr<HartMaster> m_master;
    QList<Device> m_devices;
    std::optional<Device> m_current; // identified, tag not yet read
    std::optional<Device> m_wanted;  // answered to the tag
    QString m_error;
    QByteArray m_wantedTag;
    quint64 m_run = 0; // outcomes of an earlier run are not heard
    Step m_step = Step::Identify;
    int m_address = 0;
    int m_done = 0;
    int m_total = PollingAddresses;
    bool m_running = false;
    bool m_openedLink = false;
};

Q_DECLARE_METATYPE(HartDeviceScan::Device)
