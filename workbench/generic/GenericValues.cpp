#include "GenericValues.h"

#include "hart/HartProtocol.h"

#include <QtNumeric>

namespace U = UniversalLayout;
namespace C = CommonPracticeLayout;
namespace cmd = hart::command;

bool GenericValues::store(quint8 command, const QByteArray &data, quint8 universalRevision)
{
    const auto keep = [](auto &field, const auto &decoded) {
        if (decoded)
            field = decoded;
        return decoded.has_value();
    };
    switch (command) {
    case cmd::ReadPrimaryVariable: {
        // Only read when command 3 is not there: it stands in for its first variable.
        const auto pv = U::primaryVariable(data);
        if (!pv)
            return false;
        const float current = loop ? loop->current : qQNaN();
        dynamic = U::DynamicVariables{current, {*pv}};
        return true;
    }
    case cmd::ReadLoopCurrentAndPercent:
        return keep(loop, U::currentAndPercent(data));
    case cmd::ReadDynamicVariables:
        return keep(dynamic, U::dynamicVariables(data));
    case cmd::ReadMessage:
        return keep(message, U::message(data));
    case cmd::ReadTagDescriptorDate:
        return keep(tagDescriptorDate, U::tagDescriptorDate(data));
    case cmd::ReadSensorInformation:
        return keep(sensor, U::sensorInformation(data));
    case cmd::ReadOutputInformation:
        return keep(output, U::outputInformation(data));
    case cmd::ReadFinalAssemblyNumber:
        return keep(finalAssemblyNumber, U::finalAssemblyNumber(data));
    case U::ReadLongTag:
        return keep(longTag, U::longTag(data));
    case cmd::ReadAdditionalStatus:
        return keep(additional, C::additionalStatus(data, universalRevision));
    default:
        return false;
    }
}
