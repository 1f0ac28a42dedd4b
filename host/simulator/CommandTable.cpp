#include "simulator/CommandTable.h"

#include "hart/HartCodec.h"

#include <cmath>

void CommandTable::add(quint8 command, int minRequestBytes, Access access, Handler handler)
{
    m_entries[command] = Entry{minRequestBytes, access, std::move(handler)};
}

const CommandTable::Entry *CommandTable::find(quint8 command) const
{
    const auto it = m_entries.find(command);
    return it == m_entries.end() ? nullptr : &it->second;
}

QList<quint8> CommandTable::commands() const
{
    QList<quint8> numbers;
    for (const auto &entry : m_entries)
        numbers.append(entry.first);
    return numbers;
}

hart::CommandReply CommandTable::reply(const QByteArray &data, quint8 code)
{
    return {code, data};
}

hart::CommandReply CommandTable::fail(quint8 code)
{
    return {code, {}};
}

std::optional<double> CommandTable::finite(QByteArrayView request, qsizetype at)
{
    const float value = HartCodec::toFloat(request, at);
    if (!std::isfinite(value))
        return std::nullopt;
    return double(value);
}
