#include "VexException.h"

VexException::VexException(qint32 number, QString source, QString description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description))
{
    m_what = QStringLiteral("%1 (0x%2) in %3")
                 .arg(m_description)
                 .arg(quint32(m_number), 8, 16, QLatin1Char('0'))
                 .arg(m_source)
                 .toUtf8();
}
