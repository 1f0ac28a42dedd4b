#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// The data of the universal commands the generic view reads and writes, laid
// out as the protocol publishes them (the data after the two status bytes).
// A reader answers nothing when the data is too short for the fields it must
// have; fields a device may leave off at the end are optional. Every device
// that answers command 0 speaks these, whoever made it.
namespace UniversalLayout {

// The long tag's commands (revision 6 on); the others are hart::command's.
constexpr quint8 ReadLongTag = 20;
constexpr quint8 WriteLongTag = 22;

// Field sizes in bytes and in characters.
constexpr int TagBytes = 6;
constexpr int TagChars = 8;
constexpr int DescriptorBytes = 12;
constexpr int DescriptorChars = 16;
constexpr int MessageBytes = 24;
constexpr int MessageChars = 32;
constexpr int LongTagBytes = 32;
// Long tags came with revision 6 of the universal commands.
constexpr quint8 LongTagRevision = 6;

// A variable with its engineering unit code. The value is NaN where the
// device has none to give.
struct Variable
{
    quint8 unit = 0;
    float value = 0.0f;
};

// Command 2.
struct CurrentAndPercent
{
    float current = 0.0f; // mA
    float percent = 0.0f; // of the range
};

// Command 3: the loop current and the dynamic variables (primary first).
// A device with fewer than four sends only those it has.
struct DynamicVariables
{
    float current = 0.0f;
    QList<Variable> variables;
};

// Command 13, and the request of command 18. Padding blanks are removed.
struct TagDescriptorDate
{
    QString tag;
    QString descriptor;
    QDate date; // invalid when the device holds none that is a date
};

// Command 14: the primary variable's sensor.
struct SensorInformation
{
    quint32 serialNumber = 0;
    quint8 unit = 0; // of the limits and the minimum span
    float upperLimit = 0.0f;
    float lowerLimit = 0.0f;
    float minimumSpan = 0.0f;
};

// Command 15: how the primary variable drives the loop.
struct OutputInformation
{
    quint8 alarmSelection = 0;
    quint8 transferFunction = 0;
    quint8 rangeUnit = 0;
    float upperRange = 0.0f;
    float lowerRange = 0.0f;
    float damping = 0.0f; // s
    quint8 writeProtect = 0;
};

std::optional<Variable> primaryVariable(const QByteArray &data);
std::optional<CurrentAndPercent> currentAndPercent(const QByteArray &data);
std::optional<DynamicVariables> dynamicVariables(const QByteArray &data);
std::optional<QString> message(const QByteArray &data);
std::optional<TagDescriptorDate> tagDescriptorDate(const QByteArray &data);
std::optional<SensorInformation> sensorInformation(const QByteArray &data);
std::optional<OutputInformation> outputInformation(const QByteArray &data);
std::optional<quint32> finalAssemblyNumber(const QByteArray &data);
// ISO Latin-1; the padding at the end (NUL or blank) is removed.
std::optional<QString> longTag(const QByteArray &data);

// Requests. Texts are cut to their field; packed fields are upper case and
// take only the characters of the 6-bit set (others become '?'). A date
// outside 1900..2155 cannot be written: nothing is answered then.
QByteArray messageRequest(const QString &message);
std::optional<QByteArray> tagDescriptorDateRequest(const TagDescriptorDate &values);
QByteArray longTagRequest(const QString &tag);

// Whether a text survives the packed 6-bit set unchanged but for its case.
bool fitsPackedAscii(const QString &text);

} // namespace UniversalLayout
