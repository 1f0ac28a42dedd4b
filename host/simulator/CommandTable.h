#pragma once

#include "hart/HartProtocol.h"

#include <QByteArrayView>
#include <QList>
#include <functional>
#include <map>
#include <optional>

// The commands a device answers, each with the request length it needs and
// whether write protection guards it, plus the small helpers their handlers share.
class CommandTable
{
public:
    enum class Access
    {
        Read,
        Write
    };
    using Handler = std::function<hart::CommandReply(QByteArrayView request)>;

    struct Entry
    {
        int minRequestBytes = 0;
        Access access = Access::Read;
        Handler handler;
    };

    void add(quint8 command, int minRequestBytes, Access access, Handler handler);
    const Entry *find(quint8 command) const;
    QList<quint8> commands() const;

    static hart::CommandReply reply(const QByteArray &data, quint8 code = hart::response::Success);
    static hart::CommandReply fail(quint8 code);
    // A float from the request, or nothing when it is NaN or infinite: such a
    // value would poison every computation it enters.
    static std::optional<double> finite(QByteArrayView request, qsizetype at);
    static QByteArray byte(int value) { return QByteArray(1, char(value)); }

private:
    std::map<quint8, Entry> m_entries;
};
