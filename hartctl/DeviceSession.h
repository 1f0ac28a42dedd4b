#pragma once

#include "CommandLine.h"
#include "DatasetComparison.h"
#include "ExitCode.h"
#include "hart/HartDeviceIdentity.h"

#include <QObject>
#include <functional>
#include <memory>

class DeviceFrame;
class DeviceInstance;
class HistoryService;
class ProfiledHartLink;
class SimulatedTransmitter;

// One device instance of the host on the link the command line names, as
// the program opens it (the same history, the same checks before a write),
// with waits that a command-line program can take one after the other.
// Every wait ends early on Ctrl+C.
class DeviceSession : public QObject
{
    Q_OBJECT

public:
    // How long a read or write of the whole dataset may take on a slow loop.
    static constexpr int SequenceTimeoutMs = 120000;

    explicit DeviceSession(const CommandLine &line, QObject *parent = nullptr);
    ~DeviceSession() override;

    bool open(QString *error);
    ProfiledHartLink &link() const { return *m_link; }
    DeviceInstance &instance() const;
    HistoryService &history() const;

    // Connects at the polling address: Done, or LinkFailure with the reason.
    ExitCode connect(int address, QString *error);
    void disconnect();
    const HartDeviceIdentity &identity() const { return m_identity; }
    // Connected to a device of another maker or type.
    bool isForeign() const;
    // The tag as the device says it now (command 13); empty when it does not.
    QString readTag();
    // What the connection says about the device connected ("maker, type, tag").
    QString connectionMessage() const;

    // Reads the values a write is compared by; false with the reason.
    bool readDataset(QString *error);
    // Reads what a range is checked against, unless it was read on this connection.
    void readSensorLimits();
    // The device's values beside the target values (item -> host string form).
    QList<DatasetComparison::Row> compare(const DatasetComparison::Values &target) const;
    // Writes the values, as a sequence of the host, with a snapshot before
    // and one change-log entry each; false with the device's reason.
    bool write(const QHash<QString, QString> &values, const QString &reason, QString *error);

    // Told how far a read or write of the device is (0 to 100), and what it is.
    using Progress = std::function<void(int percent, const QString &what)>;
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // Runs the event loop until done() or the time is up; false then, or on
    // Ctrl+C unless the wait is one that must end (a release, a disconnect).
    static bool waitUntil(const std::function<bool()> &done, int timeoutMs,
                          bool interruptible = true);

private:
    QString lastResponseText() const;
    // done(), and the sequence's progress told on the way.
    std::function<bool()> reporting(const QString &sequence, const QString &what,
                                    std::function<bool()> done) const;

    CommandLine m_line;
    std::unique_ptr<SimulatedTransmitter> m_simulated;
    std::unique_ptr<ProfiledHartLink> m_link;
    std::unique_ptr<DeviceFrame> m_frame;
    HartDeviceIdentity m_identity;
    Progress m_progress;
};
