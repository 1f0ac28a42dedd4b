#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <array>

// What a simulated HART device of another maker is: its identity, its
// device variables and the settings it starts with. Such a device answers
// the universal and common-practice commands and nothing of this family, so
// that the program can be tried against a field of mixed makers.
struct FieldDeviceProfile
{
    // What a variable measures, which decides the units it can be shown in.
    enum class Quantity
    {
        Pressure,
        Temperature,
        VolumeFlow,
        Volume,
    };

    struct Variable
    {
        quint8 code = 0;
        quint8 classification = 0; // HART device variable classification
        Quantity quantity = Quantity::Pressure;
        quint8 unit = 0; // the unit it starts in
        // The value, in that unit, moves by swing around base every period.
        double base = 0;
        double swing = 0;
        double periodSeconds = 60;
    };

    QString name;    // as hartsim --device names it
    QString summary; // one line for hartsim --help

    quint8 hartRevision = 7;
    quint16 manufacturerCode = 0;
    // HART 7: the expanded device type; HART 5: the device type code, its
    // upper byte ignored (bytes 1 and 2 are then the manufacturer and type).
    quint16 deviceType = 0;
    quint8 deviceRevision = 1;
    quint8 softwareRevision = 1;
    quint8 hardwareRevision = 1;
    quint8 flags = 0;
    quint32 deviceIdBase = 0;
    quint8 deviceProfile = 1; // HART 7: process automation device

    QString tag;
    QString longTag; // HART 7 only
    QString descriptor;
    QString message;
    QDate date;
    quint32 finalAssemblyNumber = 0;
    quint32 sensorSerialNumber = 0;

    QList<Variable> variables;
    // The variable codes mapped to PV, SV, TV and QV; 250 for none.
    std::array<quint8, 4> dynamic{250, 250, 250, 250};
    // The PV's range and sensor limits, in the PV's starting unit.
    double lowerRange = 0;
    double upperRange = 100;
    double lowerSensorLimit = 0;
    double upperSensorLimit = 100;
    double minimumSpan = 1;
    double dampingSeconds = 1;
    quint8 alarmSelection = 0;
    quint8 transferFunction = 0;

    bool isHart7() const { return hartRevision >= 7; }

    // The profiles of other makers, in the order hartsim --help lists them.
    static const QList<FieldDeviceProfile> &all();
    static const FieldDeviceProfile *find(const QString &name);
};
