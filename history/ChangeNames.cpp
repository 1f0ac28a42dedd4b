#include "ChangeNames.h"

#include "CompareItems.h"

namespace {

// Text ids of the dialogs' own captions, so that the log speaks as they do.
enum : qint16
{
    CalibratePressure = 2120,
    BalancePoints = 2133,
    LowerBalancePoint = 2134,
    UpperBalancePoint = 2135,
    SensorTemperature = 3513,
    CalibrateCurrent = 2596,
    Adjustment4mA = 2140,
    Adjustment20mA = 2141,
    MeasuredCurrent = 2142,
    StandardMode = 2139,
    SetLowerRangeValue = 2048,
    SetUpperRangeValue = 2049,
    ZeroShift = 2132,
    ParallelShift = 2046,
    LinSquareRootPoint = 2147,
    FactoryReset = 1102,
    SimulateStatus = 3500,
    TransferFunction = 4737,
    // Captions of their own where the dialogs have none that fits.
    FixedOutputCurrent = 7200,
    SimulatedMeasurement = 7201,
    SimulatedProcess = 7202,
    SimulatedElectronics = 7203,
    SimulatedExtension = 7204,
    SimulatedOperation = 7205,
    ResetPeakValues = 7206,
    LowFlowCutOff = 7207,
    UserCurvePoints = 7208,
    UserCurveX = 7209,
    UserCurveY = 7210,
    WarmStart = 7211,
    SelfTest = 7212,
    ResetOverRange = 7213,
    ResetOverStatic = 7214,
    ResetOverTemperature = 7215,
    ResetPartialHours = 7216,
    // The generic HART view's own.
    LongTag = 7800,
    PrimaryVariableUnit = 7801,
    SetPrimaryVariableZero = 7802,
    // The compared items' labels, for the same values of any device.
    TagLabel = 4730,
    DescriptorLabel = 4731,
    MessageLabel = 4732,
    DateLabel = 4733,
    LowerRangeLabel = 4735,
    UpperRangeLabel = 4736,
    DampingLabel = 4748,
};

struct WrittenItem
{
    const char *name;
    ChangeNames::Label label;
    const char *unitItem = "";
    const char *fixedUnit = "";
    bool hex = false;
    qint16 zeroTextId = 0;
};

// The values the dialogs write beside the dataset.
const WrittenItem Written[] = {
    {"calibrationCalLo", {0, LowerBalancePoint}, "primaryValueUnit"},
    {"calibrationCalHi", {0, UpperBalancePoint}, "primaryValueUnit"},
    {"sensorTemperatureCalibVal", {BalancePoints, SensorTemperature}, "sensorTemperatureUnit"},
    {"fixedOutputValue", {0, FixedOutputCurrent}, "", "mA", false, StandardMode},
    {"trimDacLowerEndpoint", {Adjustment4mA, MeasuredCurrent}, "", "mA"},
    {"trimDacUpperEndpoint", {Adjustment20mA, MeasuredCurrent}, "", "mA"},
    {"offsetShiftScaleIn", {0, ParallelShift}, "", "%"},
    {"operationMode", {0, SimulateStatus}},
    {"simulationMeasurement", {0, SimulatedMeasurement}, "", "", true},
    {"simulationProcess", {0, SimulatedProcess}, "", "", true},
    {"simulationElectronics", {0, SimulatedElectronics}, "", "", true},
    {"simulationExtension", {0, SimulatedExtension}, "", "", true},
    {"simulationOperation", {0, SimulatedOperation}, "", "", true},
    {"resetPeakValues", {0, ResetPeakValues}},
    {"ptrbLowFlowCutOff", {0, LowFlowCutOff}, "", "%"},
    {"ptrbFlowLinSqrtPoint", {0, LinSquareRootPoint}, "", "%"},
    {"UserCurveActualNumber", {0, UserCurvePoints}},
    {"UserCurveX", {0, UserCurveX}},
    {"UserCurveY", {0, UserCurveY}},
};

using Form = ChangeNames::Item::Form;

struct UniversalItem
{
    const char *name;
    ChangeNames::Label label;
    Form form = Form::Text;
    const char *fixedUnit = "";
    qint16 zeroTextId = 0;
    bool command = false;
};

// What the generic view writes to any device (units of their own go with
// each entry).
const UniversalItem Universal[] = {
    {ChangeNames::universal::Tag, {0, TagLabel}},
    {ChangeNames::universal::Descriptor, {0, DescriptorLabel}},
    {ChangeNames::universal::Date, {0, DateLabel}, Form::Date},
    {ChangeNames::universal::Message, {0, MessageLabel}},
    {ChangeNames::universal::LongTag, {0, LongTag}},
    {ChangeNames::universal::UpperRange, {0, UpperRangeLabel}, Form::Number},
    {ChangeNames::universal::LowerRange, {0, LowerRangeLabel}, Form::Number},
    {ChangeNames::universal::Damping, {0, DampingLabel}, Form::Number, "s"},
    {ChangeNames::universal::Unit, {0, PrimaryVariableUnit}},
    {ChangeNames::universal::Zero, {0, SetPrimaryVariableZero}, Form::Text, "", 0, true},
    {ChangeNames::universal::FixedCurrent,
     {0, FixedOutputCurrent},
     Form::Number,
     "mA",
     StandardMode},
    {ChangeNames::universal::TrimZero, {Adjustment4mA, MeasuredCurrent}, Form::Number, "mA"},
    {ChangeNames::universal::TrimGain, {Adjustment20mA, MeasuredCurrent}, Form::Number, "mA"},
};

struct Command
{
    const char *record;
    ChangeNames::Label label;
};

// The commands that carry no value, by record.
const Command Commands[] = {
    {"SetLowerRangeValue", {0, SetLowerRangeValue}},
    {"SetUpperRangeValue", {0, SetUpperRangeValue}},
    {"SetPrimaryVariableZero", {0, ZeroShift}},
    {"PerformDeviceReset", {0, WarmStart}},
    {"ResetToFactoryData", {0, FactoryReset}},
    {"PerformSelfTest", {0, SelfTest}},
    {"ResetOverRangeCounter", {0, ResetOverRange}},
    {"ResetOverStaticPressureCounter", {0, ResetOverStatic}},
    {"ResetOverTemperatureCounter", {0, ResetOverTemperature}},
    {"ResetPartialWorkingTime", {0, ResetPartialHours}},
};

struct Action
{
    const char *sequence;
    ChangeNames::Label label;
};

// The dialogs' sequences that write, named by the dialog and the choice made in it.
const Action Actions[] = {
    {"SetPvCurrentDacZero", {CalibrateCurrent, Adjustment4mA}},
    {"SetPvCurrentDacGain", {CalibrateCurrent, Adjustment20mA}},
    {"SetActualOutputValue", {0, FixedOutputCurrent}},
    {"SetCalPointLo", {CalibratePressure, LowerBalancePoint}},
    {"SetCalPointHi", {CalibratePressure, UpperBalancePoint}},
    {"SetSensorTempCalibration", {CalibratePressure, SensorTemperature}},
    {"SetPrimaryVariableLowerRange", {0, SetLowerRangeValue}},
    {"SetPrimaryVariableUpperRange", {0, SetUpperRangeValue}},
    {"SetPvZeroAlignment", {0, ZeroShift}},
    {"PerformOffsetShift", {0, ParallelShift}},
    {"PerformMasterReset", {0, WarmStart}},
    {"PerformResetToFactoryData", {0, FactoryReset}},
    {"SetDiagnosisSimulation", {0, SimulateStatus}},
    {"PerformTransmitterSelfTest", {0, SelfTest}},
    {"ResetOverRangeCount", {0, ResetOverRange}},
    {"ResetOverStatCount", {0, ResetOverStatic}},
    {"ResetOverTempCount", {0, ResetOverTemperature}},
    {"ResetPartialWorkingHours", {0, ResetPartialHours}},
    {"ResetMaxValues", {0, ResetPeakValues}},
    {"Write_TfrFnct_Linear", {0, TransferFunction}},
    {"Write_TfrFnct_Sqr", {0, TransferFunction}},
    {"Write_TfrFnct_Single_Poly", {0, TransferFunction}},
    {"Write_TfrFnct_Double_Poly", {0, TransferFunction}},
};

struct Fixed
{
    const char *record;
    ChangeNames::FixedWrite write;
};

const Fixed FixedWrites[] = {
    {"WriteTransferFunctionLinear", {"ptrbLinType", "0"}},
    {"WriteTransferFunctionSquareRoot", {"ptrbLinType", "1"}},
    {"WriteTransferFunctionSinglePoly", {"ptrbLinType", "240"}},
    {"WriteTransferFunctionDoublePoly", {"ptrbLinType", "241"}},
};

bool same(const QString &name, const char *other)
{
    return name.compare(QLatin1String(other), Qt::CaseInsensitive) == 0;
}

} // namespace

namespace ChangeNames {

std::optional<Item> item(const QString &name)
{
    if (const CompareItem *compared = CompareItems::find(name)) {
        return Item{{0, compared->labelId},
                    QLatin1String(compared->unitItem),
                    QLatin1String(compared->fixedUnit),
                    compared->hex};
    }
    for (const WrittenItem &w : Written) {
        if (same(name, w.name))
            return Item{w.label, QLatin1String(w.unitItem), QLatin1String(w.fixedUnit), w.hex,
                        w.zeroTextId};
    }
    for (const Command &c : Commands) {
        if (same(name, c.record))
            return Item{c.label, QString(), QString(), false, 0, true};
    }
    for (const UniversalItem &u : Universal) {
        if (same(name, u.name))
            return Item{u.label,   QString(), QLatin1String(u.fixedUnit), false, u.zeroTextId,
                        u.command, u.form};
    }
    return std::nullopt;
}

std::optional<Label> action(const QString &sequence)
{
    for (const Action &a : Actions) {
        if (same(sequence, a.sequence))
            return a.label;
    }
    return std::nullopt;
}

std::optional<FixedWrite> fixedWrite(const QString &record)
{
    for (const Fixed &f : FixedWrites) {
        if (same(record, f.record))
            return f.write;
    }
    return std::nullopt;
}

} // namespace ChangeNames
