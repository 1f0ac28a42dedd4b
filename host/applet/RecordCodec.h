#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

struct FieldDefinition;
struct RecordDefinition;
class ItemStore;
class ItemValue;

// Turns item values into a record's request bytes and a response's bytes into
// the items' shadow values, by the field layout of the device description.
namespace RecordCodec {

// Values by store index that a request carries in place of the dataset values.
using ValueOverrides = QHash<int, ItemValue>;

// The request data of a record from the dataset values (or the overrides
// given for some items); nothing when a value does not fit its field (the
// reason goes to *error).
std::optional<QByteArray> encodeRequest(const RecordDefinition &record, const ItemStore &store,
                                        QString *error, const ValueOverrides *overrides = nullptr);

// Puts the response data (after response code and device status) into the
// shadow values of the record's response items. Fields whose bytes did not
// all arrive are left alone. Returns the store indexes of the items written.
QList<int> decodeResponse(const RecordDefinition &record, QByteArrayView data, ItemStore &store);

// Store indexes of the items a record's request carries.
QList<int> requestItems(const RecordDefinition &record, const ItemStore &store);
// Store indexes of the items a record's response carries.
QList<int> responseItems(const RecordDefinition &record, const ItemStore &store);

// Response codes after which the data of a response is valid: success and
// the two warnings.
inline bool dataValid(quint8 responseCode)
{
    return responseCode == 0 || responseCode == 8 || responseCode == 14;
}

} // namespace RecordCodec
