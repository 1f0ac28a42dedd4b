#include "hart/HartUnits.h"

#include <algorithm>
#include <array>

namespace {

using Q = HartUnits::Quantity;

// One arithmetic step of a conversion: ((x - before) op1 c1) op2 c2 + after.
struct Step
{
    enum Op
    {
        Times,
        Over,
        TimesReciprocal, // x × (1 ÷ c), as the table writes it
    };
    Op op1 = Times;
    double c1 = 1;
    Op op2 = Times;
    double c2 = 1;
    double before = 0;
    double after = 0;

    double apply(double x) const { return combine(combine(x - before, op1, c1), op2, c2) + after; }
    static double combine(double x, Op op, double c)
    {
        switch (op) {
        case Over:
            return x / c;
        case TimesReciprocal:
            return x * (1 / c);
        case Times:
            break;
        }
        return x * c;
    }
};

struct Unit
{
    int code;
    Q quantity;
    Step toBase;
    Step fromBase;
    const char *symbol; // UTF-8
    // False: named and grouped only; the configuration program gave no
    // constants to convert it.
    bool converts = true;
};

constexpr Step same{};
constexpr Step times(double c)
{
    return {Step::Times, c};
}
constexpr Step over(double c)
{
    return {Step::Over, c};
}
constexpr Step reciprocal(double c)
{
    return {Step::TimesReciprocal, c};
}

// The table in code order. One line a unit keeps it readable.
// clang-format off
constexpr std::array Units{
    Unit{1, Q::Pressure, times(2.49089), reciprocal(2.49089), "inH2O (68 °F)"},
    Unit{2, Q::Pressure, times(33.8639), reciprocal(33.8639), "inHg (0 °C)"},
    Unit{3, Q::Pressure, times(29.8907), reciprocal(29.8907), "ftH2O (68 °F)"},
    Unit{4, Q::Pressure, times(0.0980665), reciprocal(0.0980665), "mmH2O (68 °F)"},
    Unit{5, Q::Pressure, times(1.33322), reciprocal(1.33322), "mmHg (0 °C)"},
    Unit{6, Q::Pressure, times(68.9476), reciprocal(68.9476), "psi"},
    Unit{7, Q::Pressure, times(1000), times(0.001), "bar"},
    Unit{8, Q::Pressure, same, same, "mbar"},
    Unit{9, Q::Pressure, times(0.980665), reciprocal(0.980665), "g/cm²"},
    Unit{10, Q::Pressure, times(980.665), reciprocal(980.665), "kg/cm²"},
    Unit{11, Q::Pressure, times(0.01), times(100), "Pa"},
    Unit{12, Q::Pressure, times(10), times(0.1), "kPa"},
    Unit{13, Q::Pressure, times(1.33322), reciprocal(1.33322), "torr"},
    Unit{14, Q::Pressure, times(1013.25), reciprocal(1013.25), "atm"},
    Unit{15, Q::VolumeFlow, over(2118.879), times(2118.879), "ft³/min"},
    Unit{16, Q::VolumeFlow, over(15850.32), times(15850.32), "US gal/min"},
    Unit{17, Q::VolumeFlow, over(60000), times(60000), "l/min"},
    Unit{18, Q::VolumeFlow, over(13198.16), times(13198.16), "Imp gal/min"},
    Unit{19, Q::VolumeFlow, over(3600), times(3600), "m³/h"},
    Unit{20, Q::Velocity, same, same, "ft/s", false},
    Unit{21, Q::Velocity, same, same, "m/s", false},
    Unit{22, Q::VolumeFlow, over(264.172), times(264.172), "US gal/s"},
    Unit{23, Q::VolumeFlow, over(22.82446), times(22.82446), "million US gal/d"},
    Unit{24, Q::VolumeFlow, over(1000), times(1000), "l/s"},
    Unit{25, Q::VolumeFlow, over(86.4), times(86.4), "million l/d"},
    Unit{26, Q::VolumeFlow, over(35.31466), times(35.31466), "ft³/s"},
    Unit{27, Q::VolumeFlow, over(3051187), times(3051187), "ft³/d"},
    Unit{28, Q::VolumeFlow, same, same, "m³/s"},
    Unit{29, Q::VolumeFlow, over(86400), times(86400), "m³/d"},
    Unit{30, Q::VolumeFlow, over(791889.5), times(791889.5), "Imp gal/h"},
    Unit{31, Q::VolumeFlow, over(19005350), times(19005350), "Imp gal/d"},
    Unit{32, Q::Temperature, same, same, "°C"},
    Unit{33, Q::Temperature, {Step::Over, 1.8, Step::Times, 1, 32, 0},
                             {Step::Times, 1.8, Step::Times, 1, 0, 32}, "°F"},
    Unit{34, Q::Temperature, {Step::Over, 1.8, Step::Times, 1, 491.67, 0},
                             {Step::Times, 1.8, Step::Times, 1, 0, 491.67}, "°R"},
    Unit{35, Q::Temperature, {Step::Times, 1, Step::Times, 1, 273.15, 0},
                             {Step::Times, 1, Step::Times, 1, 0, 273.15}, "K"},
    Unit{36, Q::Electrical, same, same, "mV", false},
    Unit{37, Q::Electrical, same, same, "Ω", false},
    Unit{38, Q::Electrical, same, same, "Hz", false},
    Unit{39, Q::Electrical, same, same, "mA", false},
    Unit{40, Q::Volume, same, same, "US gal", false},
    Unit{41, Q::Volume, same, same, "l", false},
    Unit{42, Q::Volume, same, same, "Imp gal", false},
    Unit{43, Q::Volume, same, same, "m³", false},
    Unit{44, Q::Length, same, same, "ft", false},
    Unit{45, Q::Length, same, same, "m", false},
    Unit{46, Q::Volume, same, same, "bbl", false},
    Unit{47, Q::Length, times(25.4), reciprocal(25.4), "in"},
    Unit{48, Q::Length, same, same, "cm", false},
    Unit{49, Q::Length, same, same, "mm"},
    Unit{50, Q::Time, same, same, "min", false},
    Unit{51, Q::Time, same, same, "s", false},
    Unit{52, Q::Time, same, same, "h", false},
    Unit{53, Q::Time, same, same, "d", false},
    Unit{57, Q::Ratio, same, same, "%", false},
    Unit{58, Q::Electrical, same, same, "V", false},
    Unit{59, Q::Ratio, same, same, "pH", false},
    Unit{60, Q::Mass, same, same, "g", false},
    Unit{61, Q::Mass, same, same, "kg", false},
    Unit{62, Q::Mass, same, same, "t", false},
    Unit{63, Q::Mass, same, same, "lb", false},
    Unit{70, Q::MassFlow, times(0.001), over(0.001), "g/s"},
    Unit{71, Q::MassFlow, times(0.00001666667), over(0.00001666667), "g/min"},
    Unit{72, Q::MassFlow, times(2.777778E-07), over(2.777778E-07), "g/h"},
    Unit{73, Q::MassFlow, same, same, "kg/s"},
    Unit{74, Q::MassFlow, times(0.01666667), over(0.01666667), "kg/min"},
    Unit{75, Q::MassFlow, times(0.0002777778), over(0.0002777778), "kg/h"},
    Unit{76, Q::MassFlow, times(0.00001157407), over(0.00001157407), "kg/d"},
    Unit{77, Q::MassFlow, times(16.66667), over(16.66667), "t/min"},
    Unit{78, Q::MassFlow, times(0.2777778), over(0.2777778), "t/h"},
    Unit{79, Q::MassFlow, times(0.01157407), over(0.01157407), "t/d"},
    Unit{80, Q::MassFlow, times(0.4535924), over(0.4535924), "lb/s"},
    Unit{81, Q::MassFlow, times(0.007559873), over(0.007559873), "lb/min"},
    Unit{82, Q::MassFlow, times(0.0001259979), over(0.0001259979), "lb/h"},
    Unit{83, Q::MassFlow, times(0.000005249912), over(0.000005249912), "lb/d"},
    Unit{84, Q::MassFlow, times(15.11975), over(15.11975), "short ton/min"},
    Unit{85, Q::MassFlow, times(0.2519958), over(0.2519958), "short ton/h"},
    Unit{86, Q::MassFlow, times(0.01049982), over(0.01049982), "short ton/d"},
    Unit{87, Q::MassFlow, times(0.2822353), over(0.2822353), "long ton/h"},
    Unit{88, Q::MassFlow, times(0.0117598), over(0.0117598), "long ton/d"},
    Unit{90, Q::Density, times(1000), over(1000), "SGU"},
    Unit{91, Q::Density, times(1000), over(1000), "g/cm³"},
    Unit{92, Q::Density, same, same, "kg/m³"},
    Unit{93, Q::Density, times(119.8264), over(119.8264), "lb/gal"},
    Unit{94, Q::Density, times(16.01846), over(16.01846), "lb/ft³"},
    Unit{95, Q::Density, times(1000), over(1000), "g/ml"},
    Unit{96, Q::Density, times(1000), over(1000), "kg/l"},
    Unit{97, Q::Density, same, over(1), "g/l"},
    Unit{98, Q::Density, times(27679.9), over(27679.9), "lb/in³"},
    Unit{99, Q::Density, times(1186.553), over(1186.553), "short ton/yd³"},
    Unit{112, Q::Volume, same, same, "ft³", false},
    Unit{113, Q::Volume, same, same, "in³", false},
    Unit{114, Q::Velocity, same, same, "in/s", false},
    Unit{115, Q::Velocity, same, same, "in/min", false},
    Unit{116, Q::Velocity, same, same, "ft/min", false},
    Unit{120, Q::Velocity, same, same, "m/h", false},
    Unit{130, Q::VolumeFlow, over(127132.8), times(127132.8), "ft³/h"},
    Unit{131, Q::VolumeFlow, over(60), times(60), "m³/min"},
    Unit{132, Q::VolumeFlow, over(6.289811), times(6.289811), "bbl/s"},
    Unit{133, Q::VolumeFlow, over(377.3887), times(377.3887), "bbl/min"},
    Unit{134, Q::VolumeFlow, over(22643.32), times(22643.32), "bbl/h"},
    Unit{135, Q::VolumeFlow, over(543439.7), times(543439.7), "bbl/d"},
    Unit{136, Q::VolumeFlow, over(951019.2), times(951019.2), "US gal/h"},
    Unit{137, Q::VolumeFlow, over(219.9693), times(219.9693), "Imp gal/s"},
    Unit{138, Q::VolumeFlow, over(3600000), times(3600000), "l/h"},
    Unit{139, Q::Ratio, same, same, "ppm", false},
    Unit{145, Q::Pressure, times(2.48865), reciprocal(2.48865), "inH2O (60 °F)"},
    Unit{235, Q::VolumeFlow, over(22824460), times(22824460), "US gal/d"},
    Unit{237, Q::Pressure, times(10000), over(10000), "MPa"},
    Unit{238, Q::Pressure, times(2.49089), reciprocal(2.49089), "inH2O (4 °C)"},
    Unit{239, Q::Pressure, times(0.0980665), reciprocal(0.0980665), "mmH2O (4 °C)"},
    Unit{242, Q::VolumeFlow, {Step::Over, 3051187, Step::Times, 1000000},
                             {Step::Times, 3051187, Step::Over, 1000000}, "million ft³/d"},
};
// clang-format on

const Unit *find(int code)
{
    const auto it = std::lower_bound(Units.begin(), Units.end(), code,
                                     [](const Unit &u, int c) { return u.code < c; });
    return it != Units.end() && it->code == code ? &*it : nullptr;
}

const Unit *convertible(int code)
{
    const Unit *unit = find(code);
    return unit && unit->converts ? unit : nullptr;
}

} // namespace

std::optional<HartUnits::Quantity> HartUnits::quantity(int code)
{
    const Unit *unit = convertible(code);
    return unit ? std::optional<Quantity>(unit->quantity) : std::nullopt;
}

std::optional<double> HartUnits::toBase(int code, double value)
{
    const Unit *unit = convertible(code);
    return unit ? std::optional<double>(unit->toBase.apply(value)) : std::nullopt;
}

std::optional<double> HartUnits::fromBase(int code, double base)
{
    const Unit *unit = convertible(code);
    return unit ? std::optional<double>(unit->fromBase.apply(base)) : std::nullopt;
}

QString HartUnits::symbol(int code)
{
    const Unit *unit = find(code);
    return unit ? QString::fromUtf8(unit->symbol) : QString();
}

QList<quint8> HartUnits::sameQuantity(quint8 code)
{
    const Unit *unit = find(code);
    if (!unit)
        return {code};
    QList<quint8> codes;
    for (const Unit &other : Units) {
        if (other.quantity == unit->quantity)
            codes.append(quint8(other.code));
    }
    return codes;
}

bool HartUnits::isPressureUnit(quint8 code)
{
    return quantity(code) == Quantity::Pressure;
}

double HartUnits::pressureToMbar(double value, quint8 code)
{
    return isPressureUnit(code) ? *toBase(code, value) : value;
}

double HartUnits::pressureFromMbar(double mbar, quint8 code)
{
    return isPressureUnit(code) ? *fromBase(code, mbar) : mbar;
}

bool HartUnits::isTemperatureUnit(quint8 code)
{
    return quantity(code) == Quantity::Temperature;
}

double HartUnits::temperatureToCelsius(double value, quint8 code)
{
    return isTemperatureUnit(code) ? *toBase(code, value) : value;
}

double HartUnits::temperatureFromCelsius(double celsius, quint8 code)
{
    return isTemperatureUnit(code) ? *fromBase(code, celsius) : celsius;
}
