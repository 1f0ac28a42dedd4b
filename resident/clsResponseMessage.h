#pragma once

#include <QByteArray>
#include <QMessageBox>
#include <QString>

// What a HART response with a non-zero response code means for the user and
// for the record: the message (empty when nobody is asked), its style and the
// record action prepared for the case that nobody answers.
class clsResponseMessage
{
public:
    // Record actions of the host.
    static constexpr qint32 Retry = 1;
    static constexpr qint32 Accept = 2;
    static constexpr qint32 GiveUp = 4;

    // response: command number, response code, device status, data; at
    // least three bytes.
    explicit clsResponseMessage(const QByteArray &response);

    const QString &message() const { return m_message; }
    QMessageBox::Icon icon() const { return m_icon; }
    QMessageBox::StandardButtons buttons() const { return m_buttons; }
    qint32 action() const { return m_action; }
    bool isWarning() const { return m_warning; }

    // The record action for the user's answer.
    qint32 actionFor(QMessageBox::StandardButton answer) const;

    static QString communicationErrorText(quint8 code);

private:
    void communicationError(quint8 command, quint8 code);
    void commandResponse(quint8 command, quint8 code);

    QString m_message;
    QMessageBox::Icon m_icon = QMessageBox::Information;
    QMessageBox::StandardButtons m_buttons = QMessageBox::Ok | QMessageBox::Cancel;
    qint32 m_action = GiveUp;
    bool m_warning = false;
};
