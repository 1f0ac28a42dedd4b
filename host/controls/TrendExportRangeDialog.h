#pragma once

#include "TrendRecorder.h"

#include <QDialog>
#include <optional>

class QComboBox;

// Asks between which markers the recording is exported: from the start of
// the recording or a marker, to a marker or now.
class TrendExportRangeDialog : public QDialog
{
    Q_OBJECT

public:
    struct Range
    {
        qint64 fromMs = 0; // 0: the start of the recording
        qint64 toMs = 0;   // 0: now
    };

    TrendExportRangeDialog(const QList<TrendRecorder::Marker> &markers, QWidget *parent);

    // Nothing when the user cancels.
    static std::optional<Range> ask(const QList<TrendRecorder::Marker> &markers, QWidget *parent);

private:
    QComboBox *m_from;
    QComboBox *m_to;
};
