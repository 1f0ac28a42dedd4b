#include "GenericWrite.h"

#include "ChangeNames.h"
#include "GenericTexts.h"
#include "GenericValues.h"
#include "hart/HartProtocol.h"

namespace {

using A = GenericDevice::Action;
namespace universal = ChangeNames::universal;
namespace U = UniversalLayout;
namespace C = CommonPracticeLayout;
namespace cmd = hart::command;

QString number(double value)
{
    return GenericChangeLog::number(value);
}

std::optional<QString> known(bool isKnown, const QString &value)
{
    return isKnown ? std::optional<QString>(value) : std::nullopt;
}

const QString MilliAmpere = QStringLiteral("mA");

} // namespace

QList<quint8> GenericWrite::readAfter() const
{
    switch (action) {
    case A::WriteTag:
        return {cmd::ReadTagDescriptorDate};
    case A::WriteMessage:
        return {cmd::ReadMessage};
    case A::WriteLongTag:
        return {U::ReadLongTag};
    case A::WriteUnit:
        return {cmd::ReadOutputInformation, cmd::ReadSensorInformation, cmd::ReadDynamicVariables,
                cmd::ReadLoopCurrentAndPercent};
    case A::WriteRange:
    case A::WriteDamping:
        return {cmd::ReadOutputInformation, cmd::ReadDynamicVariables,
                cmd::ReadLoopCurrentAndPercent};
    case A::SetZero:
    case A::FixCurrent:
    case A::ReleaseCurrent:
    case A::TrimZero:
    case A::TrimGain:
        return {cmd::ReadDynamicVariables, cmd::ReadLoopCurrentAndPercent};
    case A::Read:
        break;
    }
    return {};
}

std::optional<GenericWrite>
GenericWrite::tagDescriptorDate(const UniversalLayout::TagDescriptorDate &values,
                                const GenericValues &old)
{
    U::TagDescriptorDate sent{values.tag.left(U::TagChars).toUpper(),
                              values.descriptor.left(U::DescriptorChars).toUpper(), values.date};
    const std::optional<QByteArray> request = U::tagDescriptorDateRequest(sent);
    if (!request)
        return std::nullopt;
    const auto &was = old.tagDescriptorDate;
    const bool read = was.has_value();
    return GenericWrite{
        A::WriteTag,
        cmd::WriteTagDescriptorDate,
        *request,
        {{universal::Tag, known(read, was ? was->tag : QString()), sent.tag},
         {universal::Descriptor, known(read, was ? was->descriptor : QString()), sent.descriptor},
         {universal::Date, known(read, was ? was->date.toString(Qt::ISODate) : QString()),
          sent.date.toString(Qt::ISODate)}}};
}

GenericWrite GenericWrite::message(const QString &message, const GenericValues &old)
{
    const QString sent = message.left(U::MessageChars).toUpper();
    return {A::WriteMessage,
            cmd::WriteMessage,
            U::messageRequest(sent),
            {{universal::Message, old.message, sent}}};
}

GenericWrite GenericWrite::longTag(const QString &tag, const GenericValues &old)
{
    const QString sent = tag.left(U::LongTagBytes);
    return {A::WriteLongTag,
            U::WriteLongTag,
            U::longTagRequest(sent),
            {{universal::LongTag, old.longTag, sent}}};
}

GenericWrite GenericWrite::range(const CommonPracticeLayout::RangeValues &range,
                                 const GenericValues &old)
{
    const auto &was = old.output;
    const QString unitBefore = was ? GenericTexts::unit(was->rangeUnit) : QString();
    const QString unitAfter = GenericTexts::unit(range.unit);
    return {
        A::WriteRange,
        cmd::WriteRangeValues,
        C::rangeRequest(range),
        {{universal::LowerRange, known(was.has_value(), was ? number(was->lowerRange) : QString()),
          number(range.lower), unitBefore, unitAfter},
         {universal::UpperRange, known(was.has_value(), was ? number(was->upperRange) : QString()),
          number(range.upper), unitBefore, unitAfter}}};
}

GenericWrite GenericWrite::damping(double seconds, const GenericValues &old)
{
    const auto &was = old.output;
    const QString unit = QStringLiteral("s");
    return {A::WriteDamping,
            cmd::WriteDamping,
            C::dampingRequest(seconds),
            {{universal::Damping, known(was.has_value(), was ? number(was->damping) : QString()),
              number(seconds), unit, unit}}};
}

GenericWrite GenericWrite::unit(quint8 unit, const GenericValues &old)
{
    const auto &was = old.output;
    return {A::WriteUnit,
            cmd::WritePrimaryVariableUnits,
            C::unitRequest(unit),
            {{universal::Unit,
              known(was.has_value(), was ? GenericTexts::unit(was->rangeUnit) : QString()),
              GenericTexts::unit(unit)}}};
}

GenericWrite GenericWrite::zero()
{
    return {A::SetZero, cmd::SetPrimaryVariableZero, {}, {{universal::Zero, std::nullopt, {}}}};
}

GenericWrite GenericWrite::fixCurrent(double milliamperes, std::optional<float> held,
                                      const GenericValues &old)
{
    // Not known otherwise.
    std::optional<QString> before;
    if (held)
        before = number(*held);
    else if (old.deviceStatus && !(*old.deviceStatus & hart::status::OutputFixed))
        before = number(0.0);
    return {A::FixCurrent,
            cmd::EnterExitFixedCurrent,
            C::fixedCurrentRequest(milliamperes),
            {{universal::FixedCurrent, before, number(milliamperes), MilliAmpere, MilliAmpere}}};
}

GenericWrite GenericWrite::releaseCurrent(std::optional<float> held)
{
    const std::optional<QString> before =
        held ? std::optional<QString>(number(*held)) : std::nullopt;
    return {A::ReleaseCurrent,
            cmd::EnterExitFixedCurrent,
            C::fixedCurrentRequest(0.0),
            {{universal::FixedCurrent, before, number(0.0), MilliAmpere, MilliAmpere}}};
}

GenericWrite GenericWrite::trim(bool gain, double measuredMilliamperes)
{
    return {gain ? A::TrimGain : A::TrimZero,
            gain ? cmd::TrimLoopCurrentGain : cmd::TrimLoopCurrentZero,
            C::trimRequest(measuredMilliamperes),
            {{gain ? universal::TrimGain : universal::TrimZero, std::nullopt,
              number(measuredMilliamperes), QString(), MilliAmpere}}};
}
