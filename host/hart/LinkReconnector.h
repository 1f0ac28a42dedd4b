#pragma once

#include "hart/HartDeviceIdentity.h"
#include "hart/HartLinkProfile.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class HartLink;
class HartMaster;
class ProfiledHartLink;

// The program's one way of coming back after a lost link: attempts after a
// pause that doubles each time up to a cap, until one succeeds or the user
// disconnects. Before each attempt over a serial modem it looks for the
// transmitter: on the profile's port first, then on every other candidate
// port, each asked with command 0 at the polling address; a modem that came
// back under another name is taken by the identity of the transmitter that
// answers there, never by its name. Whoever started it opens the link and
// identifies the device when deviceFound() comes, and reports a failed
// attempt back.
class LinkReconnector : public QObject
{
    Q_OBJECT

public:
    struct Policy
    {
        int firstPauseMs = 1000;
        int maxPauseMs = 30000;
    };

    // The pause before an attempt; tests put one in place that they fire.
    class Timer
    {
    public:
        virtual ~Timer() = default;
        // Calls fire once after ms; a second start replaces the first.
        virtual void start(int ms, std::function<void()> fire) = 0;
        virtual void stop() = 0;
    };

    // Serial ports worth asking besides the profile's own.
    using PortCandidates = std::function<QStringList()>;

    explicit LinkReconnector(ProfiledHartLink &link, QObject *parent = nullptr);
    ~LinkReconnector() override;

    void setPolicy(const Policy &policy) { m_policy = policy; }
    const Policy &policy() const { return m_policy; }
    void setTimer(std::unique_ptr<Timer> timer);
    void setPortCandidates(PortCandidates candidates) { m_candidates = std::move(candidates); }
    // The ports of the system and those the profile's search patterns name.
    static QStringList systemPorts(const HartLinkProfile &profile);
    // The files that paths with wildcards in their last part name.
    static QStringList matchingPorts(const QStringList &patterns);
    // The pause before attempt n (1 for the first).
    int pauseBefore(int attempt) const;

    // The link was lost while talking to this device: attempts begin after
    // the first pause.
    void start(const HartDeviceIdentity &device, quint8 pollingAddress);
    // The attempt begun by deviceFound() did not get the device back.
    void attemptFailed();
    void cancel();
    bool isActive() const { return m_active; }
    // The attempt running or coming next, from 1.
    int attempt() const { return m_attempt; }
    const HartDeviceIdentity &device() const { return m_device; }

Q_SIGNALS:
    // Before each pause: the attempt it leads to and how long it is.
    void waiting(int attempt, int pauseMs);
    // The profile now points where a device answers: connect now. Another
    // device than the one lost may answer on the profile's own port.
    void deviceFound();
    // Nobody answered this time; the next pause follows.
    void notFound(const QString &reason);

private:
    void scheduleNext();
    void search();
    void probeNext();
    void dropProbe();
    void probed(const QString &port, const std::optional<HartDeviceIdentity> &identity);
    void found(const QString &port);
    QStringList candidatePorts() const;

    ProfiledHartLink &m_link;
    Policy m_policy;
    std::unique_ptr<Timer> m_timer;
    PortCandidates m_candidates;
    HartDeviceIdentity m_device;
    quint8 m_pollingAddress = 0;
    bool m_active = false;
    bool m_attempting = false; // between deviceFound() and the attempt's end
    int m_attempt = 0;
    // The search under way.
    QStringList m_toProbe;
    QStringList m_tried;
    QString m_otherDeviceOnOwnPort;
    QString m_otherDeviceText;
    std::unique_ptr<HartLink> m_probe; // the link asking one candidate
    std::unique_ptr<HartMaster> m_probeMaster;
    quint64 m_generation = 0; // outcomes of a cancelled search are not ours
};
