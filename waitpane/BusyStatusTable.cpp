#include "BusyStatusTable.h"

#include <QHash>

namespace {

const QHash<QString, BusyStatus> &byName()
{
    static const QHash<QString, BusyStatus> table{
        {QStringLiteral("GetDeviceInfo"), {106, false}},
        {QStringLiteral("PerformResetToFactoryData"), {117, false}},
        {QStringLiteral("Read_TfrFnct"), {109, true}},
        {QStringLiteral("Write_TfrFnct_Linear"), {108, true}},
        {QStringLiteral("Write_TfrFnct_Sqr"), {108, true}},
        {QStringLiteral("Write_TfrFnct_Single_Poly"), {108, true}},
        {QStringLiteral("Write_TfrFnct_Double_Poly"), {108, true}},
        {QStringLiteral("GetRangeValues"), {110, false}},
        {QStringLiteral("SetCalPointLo"), {112, false}},
        {QStringLiteral("SetCalPointHi"), {112, false}},
        {QStringLiteral("ReadAdditionalTransmitterStatus"), {114, false}},
        {QStringLiteral("PerformTransmitterSelfTest"), {122, false}},
        {QStringLiteral("GetPressureCalPoints"), {120, false}},
        {QStringLiteral("SetPvZeroAlignment"), {115, false}},
        {QStringLiteral("SetPvCurrentDacZero"), {119, false}},
        {QStringLiteral("SetPvCurrentDacGain"), {119, false}},
        {QStringLiteral("PerformOffsetShift"), {118, false}},
        {QStringLiteral("SetActualOutputValue"), {121, false}},
        {QStringLiteral("ResetMaxValues"), {123, false}},
        {QStringLiteral("SetDiagnosisSimulation"), {124, false}},
    };
    return table;
}

} // namespace

BusyStatus BusyStatusTable::lookup(const QString &sequenceName)
{
    const auto found = byName().constFind(sequenceName);
    if (found != byName().constEnd())
        return *found;
    // The dataset transfers go by their prefix (the host may add a suffix).
    if (sequenceName.startsWith(QLatin1String("UPLOAD")))
        return {103, true};
    if (sequenceName.startsWith(QLatin1String("DOWNLOAD")))
        return {104, true};
    return {};
}
