#include "RecordCodec.h"

#include "DeviceDescription.h"
#include "ItemStore.h"
#include "ItemValueCheck.h"
#include "hart/HartCodec.h"

#include <QDate>
#include <cmath>

namespace RecordCodec {

namespace {

using Wire = FieldDefinition::Wire;

bool isInteger(Wire wire)
{
    return wire == Wire::U8 || wire == Wire::U16 || wire == Wire::U24 || wire == Wire::U32 ||
           wire == Wire::I8 || wire == Wire::I16 || wire == Wire::I32;
}

bool isSigned(Wire wire)
{
    return wire == Wire::I8 || wire == Wire::I16 || wire == Wire::I32;
}

std::optional<QByteArray> encodeInteger(const FieldDefinition &field, double value)
{
    if (!ItemValueCheck::fitsInteger(field, value))
        return std::nullopt;
    const quint32 raw = quint32(qint64(value));
    QByteArray bytes;
    for (int i = field.size - 1; i >= 0; --i)
        bytes.append(char((raw >> (8 * i)) & 0xFF));
    return bytes;
}

double decodeInteger(const FieldDefinition &field, QByteArrayView data, qsizetype at)
{
    quint32 raw = 0;
    for (int i = 0; i < field.size; ++i)
        raw = (raw << 8) | quint8(data[at + i]);
    if (isSigned(field.wire)) {
        const int shift = 32 - field.size * 8;
        return double(qint32(raw << shift) >> shift);
    }
    return double(raw);
}

// The value a request carries: the one given for the item, else its dataset value.
const ItemValue &requestValue(const ItemStore &store, int index, const ValueOverrides *overrides)
{
    if (overrides) {
        const auto found = overrides->constFind(index);
        if (found != overrides->constEnd())
            return *found;
    }
    return store.value(index, false);
}

QString itemText(const ItemStore &store, int index, const ItemValue &v)
{
    const ItemDefinition &d = store.definition(index);
    return d.type == ItemType::String ? v.text() : QString::fromLatin1(v.bytes());
}

std::optional<QByteArray> encodeField(const FieldDefinition &field, const ItemStore &store,
                                      const ValueOverrides *overrides)
{
    if (field.wire == Wire::Skip)
        return QByteArray(field.size, '\0');
    if (field.isConstant)
        return field.wire == Wire::F32 ? HartCodec::fromFloat(float(field.constant))
                                       : encodeInteger(field, field.constant);
    const int index = store.indexOf(field.item);
    if (index < 0)
        return std::nullopt;
    const ItemValue &value = requestValue(store, index, overrides);
    switch (field.wire) {
    case Wire::F32:
        return HartCodec::fromFloat(float(value.number()));
    case Wire::PackedAscii:
        return HartCodec::packAscii(itemText(store, index, value), field.size);
    case Wire::Ascii:
        return itemText(store, index, value)
            .leftJustified(field.chars, QLatin1Char(' '), true)
            .toLatin1();
    case Wire::Date: {
        if (value.bytes().size() != 3)
            return std::nullopt;
        return value.bytes();
    }
    case Wire::Bytes:
        return value.bytes().leftJustified(field.size, '\0', true);
    default:
        return encodeInteger(field, value.number());
    }
}

// The value a field's bytes give for its item, or nothing when the item's
// type cannot hold it.
std::optional<ItemValue> decodeField(const FieldDefinition &field, QByteArrayView data,
                                     qsizetype at, const ItemDefinition &item, ItemValue value)
{
    const QByteArrayView bytes = data.sliced(at, field.size);
    if (isInteger(field.wire) || field.wire == Wire::F32) {
        const double number = field.wire == Wire::F32 ? double(HartCodec::toFloat(bytes))
                                                      : decodeInteger(field, data, at);
        if (!ItemValue::acceptNumber(item.type, number))
            return std::nullopt;
        value.setNumber(number);
        return value;
    }
    QByteArray raw;
    if (field.wire == Wire::PackedAscii)
        raw = HartCodec::unpackAscii(bytes).toLatin1();
    else
        raw = bytes.toByteArray();
    if (item.type == ItemType::String) {
        value.setText(QString::fromLatin1(raw));
        return value;
    }
    if (item.type == ItemType::PCA && item.length > 0)
        raw = raw.left(item.length);
    if (!ItemValue::acceptBytes(item, raw))
        return std::nullopt;
    value.setBytes(raw);
    return value;
}

} // namespace

std::optional<QByteArray> encodeRequest(const RecordDefinition &record, const ItemStore &store,
                                        QString *error, const ValueOverrides *overrides)
{
    QByteArray data;
    for (const FieldDefinition &field : record.request) {
        const auto bytes = encodeField(field, store, overrides);
        if (!bytes) {
            if (error)
                *error = QStringLiteral("%1: the value of \"%2\" does not fit the request")
                             .arg(record.name, field.item);
            return std::nullopt;
        }
        data.append(*bytes);
    }
    return data;
}

QList<int> decodeResponse(const RecordDefinition &record, QByteArrayView data, ItemStore &store)
{
    QList<int> written;
    qsizetype at = 0;
    for (const FieldDefinition &field : record.response) {
        const qsizetype next = at + field.size;
        if (next > data.size())
            break;
        if (!field.item.isEmpty() && !field.isConstant) {
            const int index = store.indexOf(field.item);
            if (index >= 0) {
                const auto value =
                    decodeField(field, data, at, store.definition(index), store.value(index, true));
                if (value) {
                    store.readFromDevice(index, *value);
                    written.append(index);
                }
            }
        }
        at = next;
    }
    return written;
}

namespace {

QList<int> itemsOf(const QList<FieldDefinition> &fields, const ItemStore &store)
{
    QList<int> items;
    for (const FieldDefinition &field : fields) {
        const int index = field.item.isEmpty() ? -1 : store.indexOf(field.item);
        if (index >= 0 && !items.contains(index))
            items.append(index);
    }
    return items;
}

} // namespace

QList<int> requestItems(const RecordDefinition &record, const ItemStore &store)
{
    return itemsOf(record.request, store);
}

QList<int> responseItems(const RecordDefinition &record, const ItemStore &store)
{
    return itemsOf(record.response, store);
}

} // namespace RecordCodec
