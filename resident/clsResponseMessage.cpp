#include "clsResponseMessage.h"

#include "Toolkit.h"

namespace {
constexpr quint8 CommunicationErrorFlag = 0x80;
constexpr quint8 NotImplemented = 64;
constexpr quint8 SetPrimaryVariableZero = 43;
constexpr quint8 WritePrimaryVariableUnit = 44;
constexpr quint8 WriteTemperatureUnit = 53;

// A calibration the device refused is told as what happened and what to do,
// not as a command number and a code: the user was trimming, not
// programming. The 4 mA and 20 mA sentence names the current held.
struct TrimRefusal
{
    quint8 command;
    quint8 code;
    int textId;
};
constexpr TrimRefusal TrimRefusals[] = {
    {45, 3, 7380},  {45, 4, 7381},  {45, 9, 7382},  {46, 3, 7380},  {46, 4, 7381},
    {46, 9, 7382},  {131, 3, 7384}, {131, 4, 7385}, {131, 6, 7386}, {132, 3, 7384},
    {132, 4, 7385}, {132, 6, 7386}, {133, 3, 7387}, {133, 4, 7388}};
constexpr quint8 TrimAt20mA = 46;

QString trimRefusal(quint8 command, quint8 code)
{
    for (const TrimRefusal &refusal : TrimRefusals) {
        if (refusal.command == command && refusal.code == code) {
            const QString held = command == TrimAt20mA ? QStringLiteral("20") : QStringLiteral("4");
            QString text = Toolkit_LoadResource(refusal.textId);
            return text.contains(QLatin1String("%1")) ? text.arg(held) : text;
        }
    }
    return QString();
}
} // namespace

clsResponseMessage::clsResponseMessage(const QByteArray &response)
{
    const quint8 command = response.size() > 0 ? quint8(response[0]) : quint8(0);
    const quint8 code = response.size() > 1 ? quint8(response[1]) : quint8(0);
    if (code == 0) {
        m_action = Accept;
        return;
    }
    if (code & CommunicationErrorFlag)
        communicationError(command, code);
    else
        commandResponse(command, code);
}

QString clsResponseMessage::communicationErrorText(quint8 code)
{
    static const char *const texts[] = {"Undefined ",      "RX buffer overflow ", "Reserved ",
                                        "Checksum error ", "Framing error ",      "Overrun error ",
                                        "Parity Error "};
    const quint8 bits = code & 0x7F;
    // Only a single error bit names its cause.
    if (bits == 0 || (bits & (bits - 1)) != 0)
        return QString();
    int bit = 0;
    while (!(bits & (1 << bit)))
        ++bit;
    return QLatin1String(texts[bit]);
}

void clsResponseMessage::communicationError(quint8 command, quint8 code)
{
    m_buttons = QMessageBox::Retry | QMessageBox::Cancel;
    m_message = QStringLiteral("Command %1: Communication Error, Response = ").arg(command) +
                communicationErrorText(code);
}

void clsResponseMessage::commandResponse(quint8 command, quint8 code)
{
    int textId = code;
    switch (code) {
    case 7:
        m_buttons = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        break;
    case 8:
    case 14:
        m_icon = QMessageBox::Warning;
        m_action = Accept;
        m_warning = true;
        break;
    case 9:
    case 10:
        // Setting the zero compares the applied pressure, not a range value.
        if (command == SetPrimaryVariableZero)
            textId = code + 100;
        break;
    case 12:
        // The unit commands use this code for a unit the device does not know.
        if (command == WritePrimaryVariableUnit || command == WriteTemperatureUnit)
            textId = code + 100;
        break;
    case 16:
        m_buttons = QMessageBox::Retry | QMessageBox::Cancel;
        break;
    case NotImplemented:
        m_action = Accept;
        return;
    default:
        break;
    }
    if (const QString sentence = trimRefusal(command, code); !sentence.isEmpty()) {
        m_icon = QMessageBox::Warning;
        m_message = sentence;
        return;
    }
    m_message = QStringLiteral("Command:%1, Responsecode:%2\r\n").arg(command).arg(code) +
                Toolkit_LoadResource(textId);
}

qint32 clsResponseMessage::actionFor(QMessageBox::StandardButton answer) const
{
    switch (answer) {
    case QMessageBox::Ok:
        // OK to a warning takes the value as the device set it.
        return m_warning ? m_action : GiveUp;
    case QMessageBox::Cancel:
        return GiveUp;
    case QMessageBox::Retry:
        return Retry;
    case QMessageBox::Ignore:
        return Accept;
    default:
        return m_action;
    }
}
