#include "simulator/SimulatorControl.h"

#include "simulator/SimulatedDevice.h"
#include "simulator/SimulatedFieldDevice.h"
#include "simulator/SimulatedTransmitter.h"
#include "simulator/TransmitterLoop.h"

#include <QRegularExpression>
#include <cmath>

namespace {

const QString Ok = QStringLiteral("ok");

QString error(const QString &text)
{
    return QStringLiteral("error: ") + text;
}

} // namespace

QString SimulatorControl::help()
{
    return QStringLiteral(
        "  pressure MBAR [ADDR]     applied pressure in mbar\n"
        "  temperature DEGC [ADDR]  sensor temperature in degC\n"
        "  pv VALUE|free [ADDR]     hold another maker's primary variable at VALUE\n"
        "                           (in its present unit); free lets it move again\n"
        "  busy N [ADDR]            answer the next N requests with busy (32)\n"
        "  noanswer N [ADDR]        stay silent for the next N requests\n"
        "  checksum N [ADDR]        send the next N answers with a wrong checksum\n"
        "  commerror BITS [ADDR]    report communication error bits (hex) once\n"
        "  writeprotect on|off [ADDR]\n"
        "  drop N                   lose the next N answers on the line\n"
        "  garble N                 hit one byte of each of the next N answers\n"
        "  clear [ADDR]             end every fault\n"
        "  devices                  list the devices on the loop\n"
        "ADDR is a polling address (all devices when left out; pressure and\n"
        "temperature reach this family's transmitters only, pv the devices of\n"
        "other makers); N = -1 lasts until clear.\n");
}

QString SimulatorControl::execute(const QString &line)
{
    const QStringList words =
        line.trimmed().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return error(QStringLiteral("empty command"));
    const QString verb = words.first().toLower();
    const QStringList args = words.mid(1);
    if (verb == QLatin1String("devices")) {
        QStringList rows;
        for (SimulatedDevice *d : m_loop.allDevices())
            rows << QStringLiteral("address %1 id %2 %3")
                        .arg(d->pollingAddress())
                        .arg(d->deviceId(), 6, 16, QLatin1Char('0'))
                        .arg(d->profileName());
        return rows.join(QLatin1Char('\n'));
    }
    if (verb == QLatin1String("drop") || verb == QLatin1String("garble")) {
        bool ok = false;
        const int n = args.value(0).toInt(&ok);
        if (!ok || args.size() != 1)
            return error(verb + QStringLiteral(" takes a count"));
        verb == QLatin1String("drop") ? m_loop.dropResponses(n) : m_loop.garbleResponses(n);
        return Ok;
    }
    return perDevice(verb, args);
}

QString SimulatorControl::perDevice(const QString &verb, const QStringList &args)
{
    static const QStringList Verbs{
        QStringLiteral("pressure"),     QStringLiteral("temperature"), QStringLiteral("busy"),
        QStringLiteral("noanswer"),     QStringLiteral("checksum"),    QStringLiteral("commerror"),
        QStringLiteral("writeprotect"), QStringLiteral("clear"),       QStringLiteral("pv")};
    if (!Verbs.contains(verb))
        return error(QStringLiteral("unknown command %1").arg(verb));
    const int valueCount = verb == QLatin1String("clear") ? 0 : 1;
    if (args.size() < valueCount || args.size() > valueCount + 1)
        return error(QStringLiteral("wrong number of arguments to %1").arg(verb));
    // The process values are a transmitter's or another maker's device's;
    // the faults any device's.
    const bool process = verb == QLatin1String("pressure") || verb == QLatin1String("temperature");
    const bool pv = verb == QLatin1String("pv");
    const auto serves = [process, pv](SimulatedDevice *d) {
        return (!process || qobject_cast<SimulatedTransmitter *>(d)) &&
               (!pv || qobject_cast<SimulatedFieldDevice *>(d));
    };
    QList<SimulatedDevice *> targets = m_loop.allDevices();
    if (args.size() == valueCount + 1) {
        bool ok = false;
        const int address = args.last().toInt(&ok);
        SimulatedDevice *d =
            ok && address >= 0 && address <= 63 ? m_loop.deviceAt(quint8(address)) : nullptr;
        if (!d)
            return error(QStringLiteral("no device at address %1").arg(args.last()));
        if (!serves(d))
            return error(QStringLiteral("%1 at address %2 has no %3")
                             .arg(d->profileName(), args.last(), verb));
        targets = {d};
    }
    const QString value = args.value(0);
    bool ok = true;
    const double number = valueCount ? value.toDouble(&ok) : 0.0;
    const uint bits = verb == QLatin1String("commerror") ? value.toUInt(&ok, 16) : 0;
    if (verb == QLatin1String("writeprotect"))
        ok = value == QLatin1String("on") || value == QLatin1String("off");
    const bool free = pv && value == QLatin1String("free");
    if (pv)
        ok = free || (ok && std::isfinite(number));
    if (!ok)
        return error(QStringLiteral("%1 cannot take %2").arg(verb, value));
    for (SimulatedDevice *d : targets) {
        if (!serves(d))
            continue;
        auto *transmitter = qobject_cast<SimulatedTransmitter *>(d);
        if (verb == QLatin1String("pressure"))
            transmitter->setAppliedPressure(number);
        else if (verb == QLatin1String("temperature"))
            transmitter->setSensorTemperature(number);
        else if (pv)
            qobject_cast<SimulatedFieldDevice *>(d)->holdPrimaryValue(
                free ? std::nullopt : std::optional<double>(number));
        else if (verb == QLatin1String("busy"))
            d->injectBusy(int(number));
        else if (verb == QLatin1String("noanswer"))
            d->injectNoAnswer(int(number));
        else if (verb == QLatin1String("checksum"))
            d->injectCorruptResponse(int(number));
        else if (verb == QLatin1String("commerror"))
            d->injectCommunicationError(quint8(bits & 0x7F));
        else if (verb == QLatin1String("writeprotect"))
            d->setWriteProtected(value == QLatin1String("on"));
        else {
            d->clearFaults();
            m_loop.clearFaults();
        }
    }
    return Ok;
}
