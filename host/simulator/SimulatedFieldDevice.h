#pragma once

#include "hart/HartFrame.h"
#include "simulator/CommandTable.h"
#include "simulator/FieldDeviceModel.h"
#include "simulator/SimulatedDevice.h"

#include <functional>

// A HART device of another maker on the simulated loop, as one of the
// profiles describes it: it answers the universal and common-practice
// commands with its own identity and values, and every command of this
// family's transmitters with "command not implemented". HART 5 devices
// answer short frames for command 0 alone; HART 7 devices every command.
class SimulatedFieldDevice : public SimulatedDevice
{
    Q_OBJECT

public:
    explicit SimulatedFieldDevice(const FieldDeviceProfile &profile, QObject *parent = nullptr);
    ~SimulatedFieldDevice() override;

    std::optional<QByteArray> respond(QByteArrayView requestBytes) override;
    quint8 pollingAddress() const override { return m_model.pollingAddress(); }
    quint32 deviceId() const override { return m_model.deviceId(); }
    void setLoopPosition(quint8 pollingAddress, quint32 serialOffset) override
    {
        m_model.setLoopPosition(pollingAddress, serialOffset);
    }
    QString profileName() const override { return m_model.profile().name; }

    void setWriteProtected(bool on) override { m_model.setWriteProtected(on); }

    const FieldDeviceModel &model() const { return m_model; }
    // The process at the primary variable, in its present unit; nothing
    // lets it move by itself again.
    void holdPrimaryValue(std::optional<double> value) { m_model.holdPrimary(value); }
    QList<quint8> supportedCommands() const { return m_table.commands(); }
    // The device's time in milliseconds; the wall clock unless a test sets
    // its own (a null clock: time passes only by advanceTime).
    using Clock = std::function<qint64()>;
    void setClock(Clock nowMs);
    void advanceTime(qint64 ms) { m_model.advanceTime(ms); }

private:
    bool isAddressedToMe(const HartFrame &request) const override;
    HartFrame answer(const HartFrame &request);
    hart::CommandReply execute(quint8 command, QByteArrayView data);
    void syncClock();

    FieldDeviceModel m_model;
    CommandTable m_table;
    Clock m_clock;
    qint64 m_syncedMs = 0;
};
