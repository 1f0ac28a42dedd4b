#include "clsAppItem.h"

#include "AppletItemManager.h"
#include "ItemcoreLog.h"
#include "Module1.h"
#include "VexException.h"
#include "clsAppItemView.h"

#include <QMetaMethod>
#include <algorithm>
#include <cstring>

namespace {
const QString WrongAccess = QStringLiteral("Falsche Zugriffsfunktion");

[[noreturn]] void raiseInvalidType(const char *source)
{
    throw VexException(INVALID_DATATYPE, QString::fromLatin1(source), WrongAccess);
}

// The host refused an access of the item's type.
Q_DECL_COLD_FUNCTION void reportWrongAccess(const char *source)
{
    ReportError(INVALID_DATATYPE, QString::fromLatin1(source), WrongAccess);
}

// Where a host string's text ends: at its first NUL. Every notification of a
// string item reads its text, so four characters are looked at a step.
qsizetype textLength(const QString &text)
{
    const char16_t *characters = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype size = text.size();
    qsizetype i = 0;
    for (; i + 4 <= size; i += 4) {
        quint64 word;
        std::memcpy(&word, characters + i, sizeof word);
        // Set where one of the four 16-bit characters is zero.
        if ((word - 0x0001000100010001ULL) & ~word & 0x8000800080008000ULL)
            break;
    }
    for (; i < size; ++i) {
        if (characters[i] == 0)
            return i;
    }
    return size;
}
} // namespace

clsAppItem::clsAppItem(QObject *parent) : QObject(parent) {}

clsAppItem::~clsAppItem()
{
    UnRegister();
}

void clsAppItem::Init(const QString &name, bool registerOnShadow, qint16 updateInterval,
                      QObject *eventHandler, const QString &methodName)
{
    m_name = name;
    m_registerOnShadow = registerOnShadow;
    m_updateInterval = updateInterval;
    m_eventHandler = eventHandler;
    m_methodName = methodName.toLatin1();
}

void clsAppItem::Register(std::shared_ptr<AppletItemManager> appletItemManagerRef,
                          const QString &name, bool registerOnShadow, qint16 updateInterval,
                          QObject *eventHandler, const QString &methodName)
{
    Init(name, registerOnShadow, updateInterval, eventHandler, methodName);
    Register1(std::move(appletItemManagerRef));
}

void clsAppItem::Register1(std::shared_ptr<AppletItemManager> appletItemManagerRef)
{
    UnRegister();
    m_manager = std::move(appletItemManagerRef);
    // A new view per registration; the previous one leaves the host as it goes.
    m_view = std::make_unique<clsAppItemView>();
    m_view->setItem(this);
    m_manager->fncRegisterView(m_view.get());

    // Periodic reads fill the shadow copy, so an item read periodically is bound to it.
    if (m_updateInterval > 0)
        m_registerOnShadow = true;

    qint32 rc = 0;
    m_manager->fncRegisterItem(m_name, m_registerOnShadow, m_view->viewHandle(), m_itemHandle, 0,
                               m_updateInterval, rc);
    if (rc != 0)
        throw VexException(REGISTRATION_FAILED, QStringLiteral("clsAppItem.IAppItem_Register"),
                           QStringLiteral("Registrierung von ") + m_name +
                               QStringLiteral(" fehlgeschlagen"));
    loadEnumTable();
    m_registered = true;
}

void clsAppItem::loadEnumTable()
{
    qint32 rc = 0;
    qint32 objectId = 0;
    m_manager->fncGetDictionary()->fncFindObject(QStringLiteral("object"), m_name, objectId, rc);
    QString info, enumName;
    qint32 dataType = 0;
    QVariant low, high;
    m_manager->fncGetDictionary()->fncGetObjectInfo(objectId, info, dataType, low, high, enumName,
                                                    rc);
    qint32 enumId = 0;
    m_manager->fncGetDictionary()->fncFindObject(QStringLiteral("enumeration"), enumName, enumId,
                                                 rc);
    QString tableName;
    m_enumTable.clear();
    m_manager->fncGetDictionary()->fncGetEnumTable(enumId, tableName, m_enumTable, rc);
    m_hasEnumeration = (rc == 0);
}

void clsAppItem::UnRegister()
{
    if (!m_registered)
        return;
    qint32 rc = 0;
    m_manager->fncUnregisterItem(QVariant(m_view ? m_view->viewHandle() : 0), m_itemHandle,
                                 m_registerOnShadow, rc);
    m_registered = false;
}

// Inline: a notification reads the text on its way to the events.
inline void clsAppItem::readString(QString &value) const
{
    if (!readable()) {
        value = m_name;
        return;
    }
    qint32 rc = 0;
    m_manager->fncGetStringValueEx(m_itemHandle, value, m_registerOnShadow, rc);
    if (rc != 0)
        reportWrongAccess("clsAppItem.StringValue");
    // Host strings may carry a fixed-length buffer; the text ends at the first NUL.
    const qsizetype length = textLength(value);
    if (length < value.size())
        value.truncate(length);
}

QString clsAppItem::StringValue() const
{
    QString value;
    readString(value);
    return value;
}

void clsAppItem::setStringValue(const QString &value)
{
    if (!m_registered)
        return;
    qint32 rc = 0;
    m_manager->fncPutStringValue(m_itemHandle, value, rc);
    if (rc != 0)
        reportWrongAccess("clsAppItem.StringValue");
}

double clsAppItem::UIntValue() const
{
    if (!readable())
        return 0;
    double value = 0;
    qint32 rc = 0;
    m_manager->fncGetUIntValueEx(m_itemHandle, value, m_registerOnShadow, rc);
    if (rc != 0)
        reportWrongAccess("clsAppItem.UIntValue");
    return value;
}

void clsAppItem::setUIntValue(double value)
{
    if (!m_registered)
        return;
    qint32 rc = 0;
    m_manager->fncPutUintValue(m_itemHandle, value, rc);
    if (rc != 0)
        reportWrongAccess("clsAppItem.UIntValue");
}

qint32 clsAppItem::BCDValue() const
{
    return readUnchecked<qint32>(&AppletItemManager::fncGetBCDValueEx);
}

void clsAppItem::setBCDValue(qint32 value)
{
    writeUnchecked(&AppletItemManager::fncPutBCDValue, value);
}

float clsAppItem::FloatValue() const
{
    return readUnchecked<float>(&AppletItemManager::fncGetFloatValueEx);
}

void clsAppItem::setFloatValue(float value)
{
    writeUnchecked(&AppletItemManager::fncPutFloatValue, value);
}

qint32 clsAppItem::IntValue() const
{
    return readUnchecked<qint32>(&AppletItemManager::fncGetIntValueEx);
}

void clsAppItem::setIntValue(qint32 value)
{
    writeUnchecked(&AppletItemManager::fncPutIntValue, value);
}

QVariant clsAppItem::OctetValue() const
{
    if (!readable())
        return QVariant();
    QByteArray value;
    qint32 rc = 0;
    m_manager->fncGetOctetsValueEx(m_itemHandle, value, m_registerOnShadow, rc);
    if (rc != 0)
        raiseInvalidType("clsAppItem.OctetValue");
    return QVariant(value);
}

void clsAppItem::setOctetValue(const QVariant &value)
{
    if (!m_registered)
        return;
    // The item keeps its length: start from a zeroed copy of what it holds.
    QByteArray buffer = OctetValue().toByteArray();
    buffer.fill(0);

    QList<int> bytes;
    if (value.typeId() == QMetaType::QByteArray) {
        for (char c : value.toByteArray())
            bytes.append(quint8(c));
    } else if (value.typeId() == QMetaType::QVariantList) {
        for (const QVariant &element : value.toList()) {
            const int b = element.toInt();
            if (b < 0 || b > 255)
                throw VexException(VexException::Overflow, QStringLiteral("clsAppItem.OctetValue"),
                                   QStringLiteral("Überlauf"));
            bytes.append(b);
        }
    }
    const qsizetype n = std::min(bytes.size(), buffer.size());
    for (qsizetype i = 0; i < n; ++i)
        buffer[i] = char(bytes[i]);

    qint32 rc = 0;
    m_manager->fncPutOctetsValue(m_itemHandle, buffer, rc);
    if (rc != 0)
        raiseInvalidType("clsAppItem.OctetValue");
}

QByteArray clsAppItem::PCAValue() const
{
    return readUnchecked<QByteArray>(&AppletItemManager::fncGetPCAValueEx);
}

void clsAppItem::setPCAValue(const QByteArray &value)
{
    writeUnchecked(&AppletItemManager::fncPutPCAValue, value);
}

QByteArray clsAppItem::HartDateValue() const
{
    return readUnchecked<QByteArray>(&AppletItemManager::fncGetHartDateValueEx);
}

void clsAppItem::setHartDateValue(const QByteArray &value)
{
    writeUnchecked(&AppletItemManager::fncPutHartDateValue, value);
}

QString clsAppItem::EnumValue() const
{
    if (!readable() || !m_hasEnumeration)
        return QString();
    double value = 0;
    qint32 rc = 0;
    m_manager->fncGetUIntValueEx(m_itemHandle, value, m_registerOnShadow, rc);
    if (rc != 0)
        raiseInvalidType("clsAppItem.fncgetAsString");
    // 255 in the shadow copy means "not read yet": show the dataset's value instead.
    if (value == 255.0) {
        m_manager->fncGetUIntValueEx(m_itemHandle, value, false, rc);
        if (rc != 0)
            raiseInvalidType("clsAppItem.fncgetAsString");
    }
    for (const EnumTableEntry &entry : m_enumTable) {
        if (double(entry.value) == value)
            return entry.text;
    }
    return QString();
}

qint32 clsAppItem::DataType() const
{
    if (!m_manager)
        return 0;
    const auto dictionary = m_manager->fncGetDictionary();
    qint32 id = 0, rc = 0, dataType = 0;
    dictionary->fncFindObject(QStringLiteral("object"), m_name, id, rc);
    QString info, enumName;
    QVariant low, high;
    dictionary->fncGetObjectInfo(id, info, dataType, low, high, enumName, rc);
    return dataType;
}

void clsAppItem::Adjust()
{
    QVariant ignored;
    if (m_manager)
        m_manager->fncAdjustItem(m_name, ignored);
}

void clsAppItem::OnNotifyChanged(qint32 &, bool, qint32 lState, qint32)
{
    if (lState & 0x04)
        return;
    if (m_recountListened)
        countListened();
    const bool handler = !m_methodName.isEmpty() && !m_eventHandler.isNull();
    if (!m_listened && !handler)
        return;
    try {
        bool suppressRule = (lState & 0x10) != 0;
        QString value;
        readString(value);
        qint32 state = lState;
        if (m_listened & Update3)
            Q_EMIT ValueUpdate3(value, state);
        if (m_listened & Update)
            Q_EMIT ValueUpdate(value);
        if (m_listened & Update2)
            Q_EMIT ValueUpdate2(value, suppressRule);
        if (handler)
            callEventHandler(value, suppressRule);
    } catch (...) {
        // A notification never fails towards the host.
        qCInfo(lcItemcore).noquote()
            << "item" << m_name << "did not pass its change on:" << CurrentErrorText();
    }
}

void clsAppItem::callEventHandler(const QString &value, bool suppressRule)
{
    QMetaObject::invokeMethod(m_eventHandler.data(), m_methodName.constData(), Qt::DirectConnection,
                              Q_ARG(QString, value), Q_ARG(bool, suppressRule));
}

// Both may run with a lock of Qt's held, where asking Qt about connections
// would wait for ever: a connection sets its bit at once, a disconnection
// has the bits counted again before the next notification.
void clsAppItem::connectNotify(const QMetaMethod &signal)
{
    static const QMetaMethod update = QMetaMethod::fromSignal(&clsAppItem::ValueUpdate);
    static const QMetaMethod update2 = QMetaMethod::fromSignal(&clsAppItem::ValueUpdate2);
    static const QMetaMethod update3 = QMetaMethod::fromSignal(&clsAppItem::ValueUpdate3);
    if (signal == update)
        m_listened |= Update;
    else if (signal == update2)
        m_listened |= Update2;
    else if (signal == update3)
        m_listened |= Update3;
}

void clsAppItem::disconnectNotify(const QMetaMethod &)
{
    m_recountListened = true;
}

void clsAppItem::countListened()
{
    m_recountListened = false;
    m_listened = quint8(
        (isSignalConnected(QMetaMethod::fromSignal(&clsAppItem::ValueUpdate)) ? Update : 0) |
        (isSignalConnected(QMetaMethod::fromSignal(&clsAppItem::ValueUpdate2)) ? Update2 : 0) |
        (isSignalConnected(QMetaMethod::fromSignal(&clsAppItem::ValueUpdate3)) ? Update3 : 0));
}
