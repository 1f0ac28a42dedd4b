#include "hart/HartLinkProfile.h"

#include "hart/HartProtocol.h"

#include <QRegularExpression>
#include <QSettings>

namespace {

const QString Group = QStringLiteral("Connection");

bool parseHartIp(QString rest, HartLinkProfile &p, QString *error)
{
    if (rest.endsWith(QLatin1String("/udp"), Qt::CaseInsensitive)) {
        p.udp = true;
        rest.chop(4);
    } else if (rest.endsWith(QLatin1String("/tcp"), Qt::CaseInsensitive)) {
        rest.chop(4);
    }
    // [v6]:port, host:port, host
    static const QRegularExpression Pattern(
        QStringLiteral("^(?:\\[([^\\]]+)\\]|([^:\\[\\]/]+))(?::(\\d{1,5}))?$"));
    const QRegularExpressionMatch m = Pattern.match(rest);
    if (!m.hasMatch()) {
        *error = QStringLiteral("hartip: takes HOST[:PORT][/udp], an IPv6 address in brackets");
        return false;
    }
    p.host = m.captured(1).isEmpty() ? m.captured(2) : m.captured(1);
    if (!m.captured(3).isEmpty()) {
        const uint port = m.captured(3).toUInt();
        if (port == 0 || port > 65535) {
            *error = QStringLiteral("hartip: port %1 is not 1 to 65535").arg(m.captured(3));
            return false;
        }
        p.port = quint16(port);
    }
    return true;
}

} // namespace

std::optional<HartLinkProfile> HartLinkProfile::parse(const QString &text, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    HartLinkProfile p;
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("sim"), Qt::CaseInsensitive) == 0)
        return p;
    const qsizetype colon = t.indexOf(QLatin1Char(':'));
    const QString kind = t.left(colon).toLower();
    const QString rest = colon < 0 ? QString() : t.mid(colon + 1);
    if (kind == QLatin1String("serial") && !rest.isEmpty()) {
        p.kind = Kind::Serial;
        p.serialPort = rest;
        return p;
    }
    if (kind == QLatin1String("hartip")) {
        p.kind = Kind::HartIp;
        if (!parseHartIp(rest, p, error))
            return std::nullopt;
        return p;
    }
    *error =
        QStringLiteral("--link takes sim, serial:DEVICE or hartip:HOST[:PORT][/udp], not \"%1\"")
            .arg(text);
    return std::nullopt;
}

QString HartLinkProfile::toString() const
{
    switch (kind) {
    case Kind::Simulator:
        return QStringLiteral("sim");
    case Kind::Serial:
        return QStringLiteral("serial:") + serialPort;
    case Kind::HartIp: {
        const QString h =
            host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
        return QStringLiteral("hartip:%1:%2%3")
            .arg(h)
            .arg(port)
            .arg(udp ? QStringLiteral("/udp") : QString());
    }
    }
    return {};
}

void HartLinkProfile::save(QSettings &settings) const
{
    settings.beginGroup(Group);
    settings.setValue(QStringLiteral("Link"), toString());
    settings.setValue(QStringLiteral("Preambles"), preambles);
    settings.setValue(QStringLiteral("Retries"), retries);
    settings.setValue(QStringLiteral("RtsKeying"), rtsKeying);
    settings.setValue(QStringLiteral("PollingAddress"), pollingAddress);
    settings.setValue(QStringLiteral("SearchPorts"), searchPorts);
    settings.endGroup();
}

HartLinkProfile HartLinkProfile::load(QSettings &settings)
{
    settings.beginGroup(Group);
    QString error;
    // Whatever the file holds, a value out of bounds falls back to the default.
    HartLinkProfile p =
        parse(settings.value(QStringLiteral("Link"), QStringLiteral("sim")).toString(), &error)
            .value_or(HartLinkProfile{});
    const int preambles = settings.value(QStringLiteral("Preambles"), p.preambles).toInt();
    if (preambles >= hart::DefaultPreambles && preambles <= hart::MaxPreambles)
        p.preambles = preambles;
    const int retries = settings.value(QStringLiteral("Retries"), p.retries).toInt();
    if (retries >= 0 && retries <= MaxRetries)
        p.retries = retries;
    p.rtsKeying = settings.value(QStringLiteral("RtsKeying"), p.rtsKeying).toBool();
    const int address = settings.value(QStringLiteral("PollingAddress"), 0).toInt();
    if (address >= 0 && address <= 15)
        p.pollingAddress = address;
    p.searchPorts = settings.value(QStringLiteral("SearchPorts")).toStringList();
    settings.endGroup();
    return p;
}
