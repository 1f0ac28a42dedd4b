#include "simulator/FieldDeviceProfile.h"

#include "hart/HartProtocol.h"

namespace {

using Q = FieldDeviceProfile::Quantity;

// HART device variable classifications.
constexpr quint8 ClassTemperature = 64;
constexpr quint8 ClassPressure = 65;
constexpr quint8 ClassVolumeFlow = 66;
constexpr quint8 ClassVolume = 68;

// Unit codes beyond those of this family's transmitter.
constexpr quint8 CubicMetresPerHour = 19;
constexpr quint8 CubicMetres = 43;

FieldDeviceProfile pressureHart7()
{
    FieldDeviceProfile p;
    p.name = QStringLiteral("hart7-pressure");
    p.summary = QStringLiteral("HART 7 pressure transmitter of another maker (0x2A)");
    p.hartRevision = 7;
    p.manufacturerCode = 0x002A;
    p.deviceType = 0x2A71;
    p.deviceRevision = 4;
    p.softwareRevision = 2;
    p.hardwareRevision = 3;
    p.deviceIdBase = 0x3A0100;
    p.tag = QStringLiteral("PT-2041");
    p.longTag = QStringLiteral("Feed pump discharge pressure");
    p.descriptor = QStringLiteral("FEED PUMP OUT");
    p.message = QStringLiteral("CALIBRATED 2023-09");
    p.date = QDate(2023, 9, 12);
    p.finalAssemblyNumber = 410277;
    p.sensorSerialNumber = 0x0A41F3;
    p.variables = {{0, ClassPressure, Q::Pressure, hart::unit::Bar, 4.2, 0.3, 90},
                   {1, ClassTemperature, Q::Temperature, hart::unit::DegC, 24.0, 1.0, 300}};
    p.dynamic = {0, 1, 250, 250};
    p.lowerRange = 0;
    p.upperRange = 10;
    p.lowerSensorLimit = -1;
    p.upperSensorLimit = 40;
    p.minimumSpan = 0.4;
    p.dampingSeconds = 0.5;
    return p;
}

FieldDeviceProfile temperatureHart7()
{
    FieldDeviceProfile p;
    p.name = QStringLiteral("hart7-temperature");
    p.summary = QStringLiteral("HART 7 temperature transmitter of another maker (0x26)");
    p.hartRevision = 7;
    p.manufacturerCode = 0x0026;
    p.deviceType = 0x26A4;
    p.deviceRevision = 2;
    p.softwareRevision = 5;
    p.hardwareRevision = 1;
    p.flags = 0x01; // multi-sensor device
    p.deviceIdBase = 0x5C2200;
    p.tag = QStringLiteral("TT-118");
    p.longTag = QStringLiteral("Reactor 2 jacket outlet");
    p.descriptor = QStringLiteral("JACKET OUTLET");
    p.date = QDate(2022, 3, 1);
    p.finalAssemblyNumber = 7711;
    p.sensorSerialNumber = 0x00C0DE;
    p.variables = {{0, ClassTemperature, Q::Temperature, hart::unit::DegC, 81.5, 2.0, 120},
                   {1, ClassTemperature, Q::Temperature, hart::unit::DegC, 27.0, 0.5, 600}};
    p.dynamic = {0, 1, 250, 250};
    p.lowerRange = 0;
    p.upperRange = 150;
    p.lowerSensorLimit = -200;
    p.upperSensorLimit = 850;
    p.minimumSpan = 10;
    p.dampingSeconds = 2;
    return p;
}

FieldDeviceProfile flowHart5()
{
    FieldDeviceProfile p;
    p.name = QStringLiteral("hart5-flow");
    p.summary = QStringLiteral("HART 5 flow meter of another maker (0x11)");
    p.hartRevision = 5;
    p.manufacturerCode = 0x11;
    p.deviceType = 0x5C;
    p.deviceRevision = 1;
    p.softwareRevision = 12;
    p.hardwareRevision = 2;
    p.deviceIdBase = 0x071500;
    p.tag = QStringLiteral("FT-301");
    p.descriptor = QStringLiteral("COOLING WATER");
    p.message = QStringLiteral("LINE 3 COOLING WATER SUPPLY");
    p.date = QDate(2019, 6, 24);
    p.finalAssemblyNumber = 55012;
    p.sensorSerialNumber = 0x0003E9;
    p.variables = {{0, ClassVolumeFlow, Q::VolumeFlow, CubicMetresPerHour, 12.6, 1.5, 60},
                   {1, ClassVolume, Q::Volume, CubicMetres, 15234.0, 0.0, 60},
                   {2, ClassTemperature, Q::Temperature, hart::unit::DegC, 18.0, 0.4, 900}};
    p.dynamic = {0, 1, 2, 250};
    p.lowerRange = 0;
    p.upperRange = 25;
    p.lowerSensorLimit = 0;
    p.upperSensorLimit = 60;
    p.minimumSpan = 1;
    p.dampingSeconds = 1;
    return p;
}

} // namespace

const QList<FieldDeviceProfile> &FieldDeviceProfile::all()
{
    static const QList<FieldDeviceProfile> profiles{pressureHart7(), temperatureHart7(),
                                                    flowHart5()};
    return profiles;
}

const FieldDeviceProfile *FieldDeviceProfile::find(const QString &name)
{
    for (const FieldDeviceProfile &p : all()) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}
