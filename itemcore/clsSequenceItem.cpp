#include "clsSequenceItem.h"

#include "Applet.h"
#include "AppletItemManager.h"
#include "Module1.h"
#include "VexException.h"

clsSequenceItem::clsSequenceItem(QObject *parent) : clsPartItemBase(parent) {}

clsSequenceItem::~clsSequenceItem()
{
    clsSequenceItem::UnRegister();
}

QString clsSequenceItem::prefix(Part part) const
{
    return part == StatePart ? QStringLiteral("&&Sequence_State&&")
                             : QStringLiteral("&&Sequence_Control&&");
}

void clsSequenceItem::UnRegister()
{
    if (!isRegistered())
        return;
    clsPartItemBase::UnRegister();
    dropView();
}

void clsSequenceItem::raiseStartResult(qint32 rc) const
{
    if (rc == 0)
        return;
    const QString source =
        QStringLiteral("clsSequenceItem.StartSequence(\"") + name() + QStringLiteral("\")");
    throw VexException(rc == HOST_SEQUENCE_BUSY ? SEQUENCE_BUSY : UNKNOWN_SEQUENCE, source,
                       QStringLiteral("Sequenz konnte nicht gestartet werden"));
}

std::shared_ptr<Applet> clsSequenceItem::appletOrRaise(const char *member) const
{
    auto applet = managerOrRaise(member).fncGetApplet();
    if (!applet)
        throw VexException(VexException::ObjectRequired,
                           QStringLiteral("clsSequenceItem.") + QLatin1String(member),
                           QStringLiteral("Objektvariable nicht festgelegt"));
    return applet;
}

void clsSequenceItem::Start()
{
    raiseStartResult(appletOrRaise("Start")->fncStartSequence(name()));
}

void clsSequenceItem::Force()
{
    raiseStartResult(appletOrRaise("Force")->fncForceSequence(name()));
}

void clsSequenceItem::Adjust()
{
    const qint32 rc = appletOrRaise("Adjust")->fncStartAdjust(name());
    if (rc != 0)
        throw VexException(UNKNOWN_SEQUENCE,
                           QStringLiteral("clsSequenceItem.fncStartAdjust(\"") + name() +
                               QStringLiteral("\")"),
                           QStringLiteral("Sequenz unbekannt"));
}

double clsSequenceItem::SequenceState() const
{
    double value = 0;
    qint32 rc = 0;
    managerOrRaise("SequenceState")
        .fncGetUIntValueEx(handle(StatePart), value, RegisterOnShadow(), rc);
    if (rc != 0)
        ReportError(INVALID_DATATYPE, QStringLiteral("clsAppItem.SequenceState"),
                    QStringLiteral("Falsche Zugriffsfunktion"));
    return value;
}
