#pragma once

#include "CalcheckRecord.h"

#include <QImage>
#include <QString>

class clsHTMLPrintWindow;
class QWidget;

// The certificate of a check in the program's language: the device, the
// reference instrument, both tables, the error plot and the result, shown in
// the print view, which previews, prints and exports it as PDF.
class CalcheckCertificate
{
public:
    static constexpr const char *PlotName = "calcheck-plot.png";

    static QString html(const CalcheckRecord &record);
    static QImage plot(const CalcheckRecord &record);
    // A print window of its own (deleted when closed), shown.
    static clsHTMLPrintWindow *show(const CalcheckRecord &record, QWidget *parent = nullptr);
    // The text of a reading's verdict, a direction, a number in the user's locale.
    static QString verdict(bool pass);
    static QString direction(bool rising);
    static QString number(double value, int decimals);
    static QString dateTime(const QDateTime &when);
    static QString notApplicable();
    // The cells of a reading in the tables' eight columns.
    static QStringList cells(const CalcheckReading &reading);
    // Why a multidrop run checks no current; empty for another run.
    static QString multidropNote(const CalcheckRun &run);
};
