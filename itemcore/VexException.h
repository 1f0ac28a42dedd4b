#pragma once

#include <QString>
#include <exception>

// The error numbers the item core raises.
enum enmExeption : qint32
{
    REGISTRATION_FAILED = qint32(0x80040064),
    INVALID_DATATYPE = qint32(0x80040065),
    UNKNOWN_SEQUENCE = qint32(0x80040066),
    SEQUENCE_BUSY = qint32(0x80040067),
};

// A numbered error with the member that raised it and a description. Raised
// by the item core and its users, caught where a user action or a host call
// enters the program.
class VexException : public std::exception
{
public:
    // Numbers of the runtime errors that the controls raise.
    static constexpr qint32 Overflow = 6;
    static constexpr qint32 ObjectRequired = 91;
    static constexpr qint32 SetNotPermittedAtRunTime = 382;
    static constexpr qint32 SetNotPermittedAtDesignTime = 387;

    VexException(qint32 number, QString source, QString description);

    qint32 number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    qint32 m_number;
    QString m_source;
    QString m_description;
    QByteArray m_what;
};
