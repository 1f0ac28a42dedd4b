#pragma once

#include "CommonPracticeLayout.h"
#include "UniversalLayout.h"

#include <QDateTime>
#include <QSet>
#include <optional>

// What the generic view last heard from its device, command by command.
// Nothing where the device has not answered (yet); the commands it answered
// "not implemented" are kept apart, so that the window can say so.
struct GenericValues
{
    std::optional<UniversalLayout::TagDescriptorDate> tagDescriptorDate; // 13
    std::optional<QString> message;                                      // 12
    std::optional<QString> longTag;                                      // 20
    std::optional<quint32> finalAssemblyNumber;                          // 16
    std::optional<UniversalLayout::SensorInformation> sensor;            // 14
    std::optional<UniversalLayout::OutputInformation> output;            // 15
    std::optional<UniversalLayout::CurrentAndPercent> loop;              // 2
    std::optional<UniversalLayout::DynamicVariables> dynamic;            // 3
    std::optional<CommonPracticeLayout::AdditionalStatus> additional;    // 48
    // The device status byte of the latest response.
    std::optional<quint8> deviceStatus;
    QSet<quint8> notImplemented;
    // When the live values came last.
    QDateTime liveTime;

    bool answersNot(quint8 command) const { return notImplemented.contains(command); }
    // Keeps a read command's answer, laid out as the device's revision of
    // the universal commands has it; false when it carried nothing to keep.
    bool store(quint8 command, const QByteArray &data, quint8 universalRevision);
};
