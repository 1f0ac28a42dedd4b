#pragma once

#include "hart/HartFrame.h"
#include "simulator/CommandTable.h"
#include "simulator/SimulatedDevice.h"
#include "simulator/TransmitterModel.h"

#include <functional>
#include <memory>
#include <optional>

class UniversalCommands;
class CommonPracticeCommands;
class DeviceSpecificCommands;
class TransferFunctionCommands;

// The default device: a HART 5 pressure transmitter of this family that answers request frames
// with response frames, byte for byte as a real one on the loop would. Besides
// the wire it offers a control side for tests and demonstrations: the process
// values, the write-protect switch and faults of the device and the line.
class SimulatedTransmitter : public SimulatedDevice
{
    Q_OBJECT

public:
    using SensorType = TransmitterModel::SensorType;

    explicit SimulatedTransmitter(SensorType type = SensorType::Differential, int rangeIndex = 1,
                                  QObject *parent = nullptr);
    ~SimulatedTransmitter() override;

    // The wire: the bytes of one request in, the bytes of the response out, or
    // nothing when the device stays silent (not addressed, restarting, broken line).
    std::optional<QByteArray> respond(QByteArrayView requestBytes) override;
    QList<quint8> supportedCommands() const { return m_table.commands(); }
    // The request data a command needs at least; nothing for an unknown command.
    std::optional<int> minimumRequestBytes(quint8 command) const;
    // Whether the request is meant for this device, answered or not.
    bool isAddressedToMe(const HartFrame &request) const override;

    quint8 pollingAddress() const override { return m_model.settings().pollingAddress; }
    quint8 manufacturerId() const { return TransmitterModel::ManufacturerId; }
    quint8 deviceType() const { return TransmitterModel::DeviceType; }
    quint32 deviceId() const override { return m_model.deviceId(); }
    QString profileName() const override { return QStringLiteral("transmitter"); }
    // Places the device on a loop shared with others: its polling address and a
    // unique id of its own (the offset is added to the id of its kind).
    void setLoopPosition(quint8 pollingAddress, quint32 serialOffset) override
    {
        m_model.setLoopPosition(pollingAddress, serialOffset);
    }

    // Process and device.
    void setAppliedPressure(double mbar);
    void setSensorTemperature(double celsius);
    void setStaticPressure(double mbar);
    void setWriteProtected(bool on) override;
    void setLocalOperationActive(bool active);
    void setDiagnosisFaults(TransmitterDiagnosis::Category category, quint8 bits);
    // The process moves slowly around the applied values (see TransmitterModel).
    void setProcessDrift(double pressureMbar, double temperatureCelsius, double periodSeconds);
    // The program's default process: a slow wave of 4 % of the range and
    // 1.5 degC every four minutes, so that the displays have something to show.
    void setLivelyProcess();
    // The calibration bench (see TransmitterModel): a pressure source on the
    // port and an ammeter in the loop, read at the device's present time.
    void attachPressureSource() { m_model.attachPressureSource(); }
    void setSourcePressure(double mbar) { m_model.setSourcePressure(mbar); }
    void detachPressureSource() { m_model.detachPressureSource(); }
    double measureLoopCurrent();
    void seedNoise(quint32 seed);
    void setNoiseLevel(double level);
    // Calibration errors as an ageing device collects them.
    void injectZeroError(double mbar) { m_model.driftZero(mbar); }
    void injectOutputError(double mA) { m_model.driftOutput(mA); }

    // Simulated time. At every request the device lives through the time its
    // clock (monotonic nanoseconds) moved on since the last one: the wall clock
    // by default, or one a test injects and moves itself. Without a clock
    // (setRealTimeClock(false)) time passes only by advanceTime.
    using Clock = std::function<qint64()>;
    void advanceTime(qint64 ms);
    void setClock(Clock nowNs);
    void setRealTimeClock(bool running);

    const TransmitterModel &model() const { return m_model; }
    double loopCurrent() const { return m_model.loopCurrent(); }
    double analogOutputCurrent() const { return m_model.analogOutputCurrent(); }
    bool isRestarting() const { return m_model.isRestarting(); }

private:
    std::optional<HartFrame> answer(const HartFrame &request);
    hart::CommandReply execute(quint8 command, QByteArrayView data);
    quint8 statusByte();
    void syncClock();

    TransmitterModel m_model;
    CommandTable m_table;
    std::unique_ptr<UniversalCommands> m_universal;
    std::unique_ptr<CommonPracticeCommands> m_commonPractice;
    std::unique_ptr<DeviceSpecificCommands> m_deviceSpecific;
    std::unique_ptr<TransferFunctionCommands> m_transferFunction;

    Clock m_clock;
    qint64 m_syncedNs = 0; // clock time already given to the model
};
