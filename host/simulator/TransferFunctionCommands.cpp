#include "simulator/TransferFunctionCommands.h"

#include "hart/HartCodec.h"
#include "simulator/TransferFunction.h"
#include "simulator/TransmitterModel.h"

using Access = CommandTable::Access;
namespace rc = hart::response;

namespace {
constexpr quint8 TableNotUsed = 0;
constexpr quint8 TableValid = 1;

// The first failing check of a value against its bounds, or success.
quint8 checkBounds(const std::optional<double> &value, double minimum, double maximum)
{
    if (!value)
        return rc::InvalidSelection;
    if (*value > maximum)
        return rc::TooLarge;
    if (*value < minimum)
        return rc::TooSmall;
    return rc::Success;
}
} // namespace

TransferFunctionCommands::TransferFunctionCommands(TransmitterModel &model) : m_model(model) {}

void TransferFunctionCommands::registerInto(CommandTable &table)
{
    table.add(152, 0, Access::Read, [this](QByteArrayView) { return readUserCurve(); });
    table.add(153, UserCurveBytes, Access::Write,
              [this](QByteArrayView r) { return writeUserCurve(r); });
    table.add(154, 0, Access::Read, [this](QByteArrayView) { return readSquareRootSettings(); });
    table.add(155, 8, Access::Write,
              [this](QByteArrayView r) { return writeSquareRootSettings(r); });
    table.add(156, 0, Access::Read, [this](QByteArrayView) { return readIntegrationTime(); });
    table.add(157, 4, Access::Write, [this](QByteArrayView r) { return writeIntegrationTime(r); });
}

hart::CommandReply TransferFunctionCommands::readUserCurve() const
{
    // A table is only ever stored when it is usable, so it is valid whenever in use.
    const bool used = TransferFunction::usesUserCurve(m_model.settings().transferFunction);
    return CommandTable::reply(CommandTable::byte(used ? TableValid : TableNotUsed) +
                               userCurveBytes());
}

hart::CommandReply TransferFunctionCommands::writeUserCurve(QByteArrayView request)
{
    const int points = quint8(request[0]);
    if (points > UserCurve::MaxPoints)
        return CommandTable::fail(rc::TooLarge);
    if (points < UserCurve::MinPoints)
        return CommandTable::fail(rc::TooSmall);
    UserCurve curve;
    curve.points = points;
    for (int i = 0; i < UserCurve::MaxPoints; ++i) {
        curve.x[i] = HartCodec::toFloat(request, 1 + 4 * i);
        curve.y[i] = HartCodec::toFloat(request, 1 + 4 * (UserCurve::MaxPoints + i));
    }
    if (!TransferFunction::isUsable(curve))
        return CommandTable::fail(rc::InvalidSelection);
    m_model.changeSettings().userCurve = curve;
    return CommandTable::reply(request.first(UserCurveBytes).toByteArray());
}

hart::CommandReply TransferFunctionCommands::readSquareRootSettings() const
{
    const TransmitterSettings &s = m_model.settings();
    return CommandTable::reply(HartCodec::fromReal(s.lowFlowCutOffPercent) +
                               HartCodec::fromReal(s.linearToSquareRootPercent));
}

hart::CommandReply TransferFunctionCommands::writeSquareRootSettings(QByteArrayView request)
{
    const std::optional<double> cutOff = CommandTable::finite(request, 0);
    const std::optional<double> linearEnd = CommandTable::finite(request, 4);
    for (const std::optional<double> &value : {cutOff, linearEnd}) {
        if (const quint8 code = checkBounds(value, 0.0, 100.0))
            return CommandTable::fail(code);
    }
    TransmitterSettings &s = m_model.changeSettings();
    s.lowFlowCutOffPercent = *cutOff;
    s.linearToSquareRootPercent = *linearEnd;
    return CommandTable::reply(request.first(8).toByteArray());
}

hart::CommandReply TransferFunctionCommands::readIntegrationTime() const
{
    return CommandTable::reply(HartCodec::fromReal(m_model.settings().integrationTimeMs));
}

hart::CommandReply TransferFunctionCommands::writeIntegrationTime(QByteArrayView request)
{
    const std::optional<double> ms = CommandTable::finite(request, 0);
    if (const quint8 code = checkBounds(ms, MinIntegrationMs, MaxIntegrationMs))
        return CommandTable::fail(code);
    m_model.changeSettings().integrationTimeMs = *ms;
    return CommandTable::reply(request.first(4).toByteArray());
}

QByteArray TransferFunctionCommands::userCurveBytes() const
{
    const UserCurve &curve = m_model.settings().userCurve;
    QByteArray data = CommandTable::byte(curve.points);
    for (const float x : curve.x)
        data += HartCodec::fromFloat(x);
    for (const float y : curve.y)
        data += HartCodec::fromFloat(y);
    return data;
}
