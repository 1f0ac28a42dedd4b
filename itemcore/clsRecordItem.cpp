#include "clsRecordItem.h"

#include "AppletItemManager.h"
#include "Module1.h"
#include "VexException.h"

clsRecordItem::clsRecordItem(QObject *parent) : clsPartItemBase(parent) {}

clsRecordItem::~clsRecordItem()
{
    UnRegister();
}

QString clsRecordItem::prefix(Part part) const
{
    switch (part) {
    case StatePart:
        return QStringLiteral("&&Record_State&&");
    case ControlPart:
        return QStringLiteral("&&Record_Response_Control&&");
    case ResponsePart:
        break;
    }
    return QStringLiteral("&&Record_Response&&");
}

QByteArray clsRecordItem::ResponseCode() const
{
    QByteArray bytes;
    qint32 rc = 0;
    managerOrRaise("ResponseCode").fncGetOctetsValue(handle(ResponsePart), bytes, rc);
    if (rc != 0)
        ReportError(INVALID_DATATYPE, QStringLiteral("clsRecordItem.ResponseCode"),
                    QStringLiteral("Falsche Zugriffsfunktion"));
    return bytes;
}
