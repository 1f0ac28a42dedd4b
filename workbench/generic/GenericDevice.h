#pragma once

#include "GenericChangeLog.h"
#include "GenericValues.h"
#include "hart/HartMaster.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>

struct GenericWrite;

// Any HART device, through the universal and common-practice commands alone:
// the generic view's controller. Talks to the device the host's master has
// identified (or, while the host is not connected, finds it at the polling
// address itself), holds what the device answered, keeps the live values
// fresh while started, and sends the user's writes one at a time, each
// logged in the change log under the device's unique identity.
//
// The loop current this view fixes (loop test, trim) is its to release: on
// stop, and, when the device could not be reached then, as soon as the same
// device answers again.
class GenericDevice : public QObject
{
    Q_OBJECT

public:
    static constexpr int LiveIntervalMs = 1000;

    enum class State
    {
        NotConnected, // nobody found the device (linkProblem() says why)
        Connecting,
        Ready,
        Lost, // it was there, the connection is gone
    };

    enum class Action
    {
        Read,
        WriteTag, // tag, descriptor and date
        WriteMessage,
        WriteLongTag,
        WriteRange,
        WriteDamping,
        WriteUnit,
        SetZero,
        FixCurrent,
        ReleaseCurrent,
        TrimZero,
        TrimGain,
    };

    // How an action ended: the answer to its command (for a read of
    // everything, to the first command that went wrong).
    struct Result
    {
        Action action = Action::Read;
        quint8 command = 0;
        HartMaster::Outcome::Kind kind = HartMaster::Outcome::Kind::Response;
        quint8 responseCode = 0;
        // False: kept back, for the history could not record it and the user said no.
        bool sent = true;

        // A response with success or a warning: the device took it.
        bool accepted() const;
    };

    explicit GenericDevice(HartMaster *master, QObject *parent = nullptr);
    ~GenericDevice() override;

    void setPollingAddress(quint8 address) { m_address = address; }
    quint8 pollingAddress() const { return m_address; }
    // The host's connection status ("&&private&&Connect": 0 not connected).
    // The view opens the link and identifies the device itself only while
    // the host leaves the link alone; without a probe it never does.
    void setHostStatus(std::function<int()> status) { m_hostStatus = std::move(status); }
    GenericChangeLog &changeLog() { return m_log; }

    // The window is shown: connects when needed, reads everything, and keeps
    // the live values fresh from then on.
    void start();
    // The window leaves: live reads end, a loop current this view holds is
    // released, and a link it opened itself is closed again. done gets the
    // release's result, or nothing when there was none to send now.
    void stop(std::function<void(const std::optional<Result> &)> done);
    bool isStarted() const { return m_started; }

    State state() const { return m_state; }
    // Connecting: the view asks for the device itself (not waiting for the host).
    bool isLookingItself() const { return m_identifying; }
    // Why the link could not be opened; empty when it opened and no device
    // answered.
    QString linkProblem() const { return m_linkProblem; }
    const std::optional<HartDeviceIdentity> &identity() const { return m_identity; }
    const GenericValues &values() const { return m_values; }
    // The tag the change log files entries under: the short one, else the long one.
    QString tag() const;
    // An action of the user runs: no other can start.
    bool isBusy() const { return m_busy; }
    // The current this view fixed the loop at; nothing while the loop is
    // under automatic control (as far as this view is concerned).
    std::optional<float> heldCurrent() const { return m_held; }
    // The loop is held and the device cannot be reached: it is released when
    // the same device answers again.
    bool releaseWhenBack() const { return m_releaseWhenBack; }

    // Each of these answers false and sends nothing while another action
    // runs or the device is not ready.
    bool readAll();
    bool readStatus();
    bool writeTagDescriptorDate(const UniversalLayout::TagDescriptorDate &values);
    bool writeMessage(const QString &message);
    bool writeLongTag(const QString &tag);
    bool writeRange(const CommonPracticeLayout::RangeValues &range);
    bool writeDamping(double seconds);
    bool writeUnit(quint8 unit);
    bool setZero();
    // A loop test, or the end point a trim needs. 0 mA is a release.
    bool fixCurrent(double milliamperes);
    bool releaseCurrent();
    // The current the reference meter shows at 4 mA (zero) or 20 mA (gain).
    bool trim(bool gain, double measuredMilliamperes);

Q_SIGNALS:
    void stateChanged();
    void valuesChanged();
    void busyChanged(bool busy);
    void finished(const GenericDevice::Result &result);
    // Another device answers where this view's was: its values are gone and
    // a current it held there is no longer this view's to release.
    void deviceReplaced(const HartDeviceIdentity &previous);

private:
    using Outcome = HartMaster::Outcome;
    using Handler = std::function<void(const Outcome &)>;

    void setState(State state);
    void setBusy(bool busy);
    void connectDevice();
    void identified(const Outcome &outcome);
    void becomeReady();
    void linkGone();
    void checkResumed();
    void closeOwnLink();

    void actionEnded(const std::optional<Result> &last);
    void finishStop(const std::optional<Result> &result);

    void send(quint8 command, const QByteArray &data, Handler handler);
    void heard(const Outcome &outcome);
    // Sends the reads at once; done gets the first that went wrong, if any,
    // once every one has its outcome.
    void readSeveral(const QList<quint8> &commands,
                     std::function<void(const std::optional<Result> &problem)> done);
    void readAction(Action action, const QList<quint8> &commands);
    void readLive();
    // Sends it, logged; accepted runs on the device's acceptance.
    bool write(const GenericWrite &w, Handler accepted);
    // Whether a write the history cannot record goes out all the same.
    static bool goOnWithout(const QString &problem);

    QPointer<HartMaster> m_master;
    quint8 m_address = 0;
    std::function<int()> m_hostStatus;
    GenericChangeLog m_log;
    QTimer m_live;

    State m_state = State::NotConnected;
    QString m_linkProblem;
    std::optional<HartDeviceIdentity> m_identity;
    GenericValues m_values;
    bool m_started = false;
    bool m_busy = false;
    bool m_openedLink = false;  // the view opened the link, not the host
    bool m_identifying = false; // the view's own command 0 is out
    bool m_liveInFlight = false;
    bool m_statusWanted = false;
    bool m_readWanted = false; // found (again): everything is read once no action runs
    std::optional<float> m_held;
    bool m_releaseWhenBack = false;
    std::function<void(const std::optional<Result> &)> m_stopDone;
};
