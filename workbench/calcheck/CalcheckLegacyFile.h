#pragma once

#include "CalibrationStore.h"

#include <QList>
#include <QString>
#include <optional>

// The file in which earlier versions kept the calibration checks. It is
// read from a copy, so that the user's file stays exactly as it is (opening
// it would let SQLite touch its journal).
namespace CalcheckLegacyFile {

constexpr int ApplicationId = 0x56454343;
constexpr int SchemaVersion = 1;

// Every check in the file; nothing, with the reason, when the file is not
// such a file or cannot be read whole.
std::optional<QList<CalibrationEntry>> read(const QString &path, QString *error);

} // namespace CalcheckLegacyFile
