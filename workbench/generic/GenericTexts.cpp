#include "GenericTexts.h"

#include "dialogs/EntryRules.h"
#include "hart/HartDeviceIdentity.h"
#include "hart/HartManufacturers.h"
#include "hart/HartProtocol.h"
#include "hart/HartUnits.h"
#include "history/HistoryTexts.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <cmath>

namespace GenericTexts {

namespace {

using Action = GenericDevice::Action;
using Kind = HartMaster::Outcome::Kind;

enum : qint16
{
    IdentityLine = 7703,
    RevisionLine = 7704,
    LinkFailed = 7705,
    NoDeviceAnswers = 7706,
    Looking = 7707,
    Connected = 7708,
    Lost = 7709,
    WaitingForHost = 7710,
    Done = 7725,
    Refused = 7726,
    NoAnswer = 7727,
    Unreadable = 7728,
    ConnectionGone = 7729,
    Warning = 7734,
    ReadingCommand = 7735,
    RequestUnreadable = 7736,
    NotSent = 7737,
    CodeNumber = 7851,
    NotUsedUnit = 7790, // to 7793, one a code from 250 on
    UnknownUnit = 7794,
};

constexpr quint8 FirstNoUnit = 250;
constexpr quint8 LastNoUnit = 253;

qint16 actionName(Action action)
{
    switch (action) {
    case Action::Read:
        return 7713;
    case Action::WriteTag:
        return 7714;
    case Action::WriteMessage:
        return 7715;
    case Action::WriteLongTag:
        return 7716;
    case Action::WriteRange:
        return 7717;
    case Action::WriteDamping:
        return 7718;
    case Action::WriteUnit:
        return 7719;
    case Action::SetZero:
        return 7720;
    case Action::FixCurrent:
        return 7721;
    case Action::ReleaseCurrent:
        return 7722;
    case Action::TrimZero:
        return 7723;
    case Action::TrimGain:
        break;
    }
    return 7724;
}

QString hex(quint32 value, int digits)
{
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

struct Code
{
    quint8 code;
    qint16 textId;
};

// The special codes every table shares.
constexpr Code Specials[] = {{250, 7790}, {251, 7791}, {252, 7792}, {253, 7793}};

QString codeText(quint8 code, std::initializer_list<Code> table)
{
    for (const Code &c : table) {
        if (c.code == code)
            return GetResText(c.textId);
    }
    for (const Code &c : Specials) {
        if (c.code == code)
            return GetResText(c.textId);
    }
    return FormatResText(GetResText(CodeNumber), {QString::number(code)});
}

} // namespace

QString value(float value, const QString &unit)
{
    if (std::isnan(value))
        return QStringLiteral("\u2014");
    const QString text = EntryRules::singleText(value);
    return unit.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

QString unitValue(float v, quint8 code)
{
    return value(v, unit(code));
}

QString unit(quint8 code)
{
    // 250 not used, 251 none, 252 unknown, 253 special.
    if (code >= FirstNoUnit && code <= LastNoUnit)
        return GetResText(qint16(NotUsedUnit + code - FirstNoUnit));
    const QString symbol = HartUnits::symbol(code);
    return symbol.isEmpty() ? FormatResText(GetResText(UnknownUnit), {QString::number(code)})
                            : symbol;
}

QString identity(const HartDeviceIdentity &identity)
{
    // Named as the main window names it: from HART 7 on the maker is in its
    // own field and bytes 1 and 2 are one expanded device type.
    return FormatResText(GetResText(IdentityLine),
                         {HartManufacturers::describe(identity.manufacturerCode()),
                          identity.deviceTypeText(), hex(identity.deviceId, 6)});
}

QString revisions(const HartDeviceIdentity &identity)
{
    return FormatResText(GetResText(RevisionLine), {QString::number(identity.universalRevision),
                                                    QString::number(identity.deviceRevision),
                                                    QString::number(identity.softwareRevision),
                                                    QString::number(identity.hardwareRevision)});
}

QString state(const GenericDevice &device)
{
    switch (device.state()) {
    case GenericDevice::State::NotConnected:
        return device.linkProblem().isEmpty()
                   ? FormatResText(GetResText(NoDeviceAnswers),
                                   {QString::number(device.pollingAddress())})
                   : FormatResText(GetResText(LinkFailed), {device.linkProblem()});
    case GenericDevice::State::Connecting:
        return GetResText(device.isLookingItself() ? Looking : WaitingForHost);
    case GenericDevice::State::Ready:
        return GetResText(Connected);
    case GenericDevice::State::Lost:
        break;
    }
    return GetResText(Lost);
}

QString result(const GenericDevice::Result &result)
{
    const bool readProblem = result.action == Action::Read && !result.accepted();
    const QString action =
        readProblem ? FormatResText(GetResText(ReadingCommand), {QString::number(result.command)})
                    : GetResText(actionName(result.action));
    const QString code = QString::number(result.responseCode);
    if (!result.sent)
        return FormatResText(GetResText(NotSent), {action});
    switch (result.kind) {
    case Kind::Timeout:
        return FormatResText(GetResText(NoAnswer), {action});
    case Kind::CommunicationError:
        return FormatResText(GetResText(Unreadable), {action, hex(result.responseCode, 2)});
    case Kind::ConnectionLost:
        return FormatResText(GetResText(ConnectionGone), {action});
    case Kind::Response:
        break;
    }
    if (result.responseCode & hart::commerror::Flag)
        return FormatResText(GetResText(RequestUnreadable), {action, hex(result.responseCode, 2)});
    const QString meaning = HistoryTexts::responseText(result.command, result.responseCode);
    if (!result.accepted())
        return FormatResText(GetResText(Refused), {action, code, meaning});
    if (result.responseCode != hart::response::Success)
        return FormatResText(GetResText(Warning), {action, code, meaning});
    return FormatResText(GetResText(Done), {action});
}

QString transferFunction(quint8 code)
{
    return codeText(code, {{0, 7840}, {1, 7841}, {2, 7842}, {3, 7843}, {4, 7844}, {5, 7845}});
}

QString alarmSelection(quint8 code)
{
    return codeText(code, {{0, 7846}, {1, 7847}, {239, 7848}});
}

QString writeProtect(quint8 code)
{
    return codeText(code, {{0, 7849}, {1, 7850}});
}

} // namespace GenericTexts
