#pragma once

#include "simulator/CommandTable.h"
#include "simulator/FieldDeviceProfile.h"

#include <QHash>

// The inside of a simulated device of another maker: its settings, its
// variables as time moves them, and its answers to the universal and
// common-practice commands in the layout of its HART revision (5 or 7).
// Commands of this family's transmitters are not in its table.
class FieldDeviceModel
{
public:
    static constexpr qint64 RestartMs = 1500;
    static constexpr quint8 NoVariable = 250;

    explicit FieldDeviceModel(const FieldDeviceProfile &profile);

    void registerInto(CommandTable &table);

    const FieldDeviceProfile &profile() const { return m_profile; }
    quint8 pollingAddress() const { return m_pollingAddress; }
    quint32 deviceId() const { return m_deviceId; }
    void setLoopPosition(quint8 pollingAddress, quint32 serialOffset);
    // The tag as command 11 compares it: packed, six bytes.
    QByteArray packedTag() const;
    // The answer to command 0, also given to command 11.
    QByteArray identity() const;

    // The device's own time; a restart keeps it silent for RestartMs.
    void advanceTime(qint64 ms);
    bool isRestarting() const { return m_restartRemainingMs > 0; }
    // The second status byte of the next answer (the cold-start bit once).
    quint8 takeStatusByte();

    bool isWriteProtected() const { return m_writeProtected; }
    void setWriteProtected(bool on) { m_writeProtected = on; }
    // A write command changed the configuration.
    void configurationChanged();

    // The value of a device variable in its present unit; nothing for an
    // unknown code.
    std::optional<double> value(quint8 code) const;
    std::optional<quint8> unit(quint8 code) const;
    // The process holds the primary variable at a value in its present unit
    // (the zero set on the device still applies); nothing lets it move again.
    void holdPrimary(std::optional<double> value);
    double loopCurrent() const;
    double percentOfRange() const;

private:
    void registerHart7Commands(CommandTable &table);
    const FieldDeviceProfile::Variable *variable(quint8 code) const;
    const FieldDeviceProfile::Variable &primary() const;
    bool loopCurrentFixedAt4() const;
    // Between a variable's units; the same value for a unit it does not know.
    static double convert(double value, FieldDeviceProfile::Quantity quantity, quint8 from,
                          quint8 to);
    static bool isUnitOf(quint8 unit, FieldDeviceProfile::Quantity quantity);
    QByteArray pvRangeUnitAndValues(quint8 unit) const;

    hart::CommandReply readPrimaryVariable() const;
    hart::CommandReply readDynamicVariables() const;
    hart::CommandReply writePollingAddress(QByteArrayView request);
    hart::CommandReply readDeviceVariablesWithStatus(QByteArrayView request) const;
    hart::CommandReply readTagDescriptorDate() const;
    hart::CommandReply writeTagDescriptorDate(QByteArrayView request);
    hart::CommandReply readSensorInformation() const;
    hart::CommandReply readOutputInformation() const;
    hart::CommandReply readDeviceVariables(QByteArrayView request) const;
    hart::CommandReply writeDamping(QByteArrayView request);
    hart::CommandReply writeRangeValues(QByteArrayView request);
    hart::CommandReply resetConfigurationChanged(QByteArrayView request);
    hart::CommandReply setFixedCurrent(QByteArrayView request);
    hart::CommandReply writePrimaryUnit(QByteArrayView request);
    hart::CommandReply trimLoopCurrent(QByteArrayView request, double nominal);
    hart::CommandReply readAdditionalStatus() const;

    FieldDeviceProfile m_profile;
    quint8 m_pollingAddress = 0;
    bool m_loopCurrentEnabled = true; // HART 7 loop current mode
    quint32 m_deviceId = 0;
    QString m_tag;
    QString m_longTag;
    QString m_descriptor;
    QString m_message;
    QDate m_date;
    quint32 m_finalAssemblyNumber = 0;
    QHash<quint8, quint8> m_units; // by variable code, when changed from the profile's
    double m_lowerRange = 0;       // in the PV's starting unit
    double m_upperRange = 0;
    double m_damping = 0;
    double m_zeroOffset = 0;
    std::optional<double> m_heldPrimary; // the process, in the PV's starting unit
    double m_fixedCurrent = 0;           // 0: the current follows the PV
    double m_trimZero = 0;               // mA added at 4 mA, scaled along to 20 mA
    double m_trimGain = 1;
    quint16 m_configurationChanges = 0;
    bool m_configurationChanged = false;
    bool m_coldStart = true;
    bool m_writeProtected = false;
    qint64 m_timeMs = 0;
    qint64 m_restartRemainingMs = 0;
};
