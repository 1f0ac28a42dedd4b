#include "Module1.h"

#include "ItemcoreLog.h"
#include "VexException.h"

#include <exception>

void ReportError(qint32 number, const QString &source, const QString &description)
{
    qCInfo(lcItemcore).noquote() << QStringLiteral("%1 (0x%2) in %3")
                                        .arg(description)
                                        .arg(quint32(number), 8, 16, QLatin1Char('0'))
                                        .arg(source);
}

QString CurrentErrorText()
{
    try {
        if (std::current_exception())
            throw;
    } catch (const std::exception &e) {
        // VexException::what() already reads "description (0xnumber) in source".
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("an error of unknown type");
    }
    return QStringLiteral("no error");
}
