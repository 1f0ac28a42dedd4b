#pragma once

#include "CalcheckIdentity.h"
#include "CalcheckPoint.h"

#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <optional>

// One calibration check as the certificate shows it and the records keep it.
struct CalcheckRecord
{
    CalcheckRecord() { asLeft.kind = CalcheckRun::Kind::AsLeft; }

    CalcheckIdentity device;
    QString referenceName;
    QString referenceSerial;
    QDate referenceDue;
    QString technician;
    QDateTime checkedAt; // UTC
    double tolerance = 0.25;
    CalcheckRun asFound;
    CalcheckRun asLeft;

    // Complete when both runs are; passed when every as-left point is.
    bool complete() const { return asFound.complete && asLeft.complete; }
    bool passed() const { return complete() && asLeft.passed(); }

    QJsonObject toJson() const;
    static std::optional<CalcheckRecord> fromJson(const QJsonObject &json);
};
