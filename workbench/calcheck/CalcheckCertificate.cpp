#include "CalcheckCertificate.h"

#include "CalcheckPlot.h"
#include "clsHTMLPrintWindow.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QLocale>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

namespace {

QString text(int id)
{
    return GetResText(qint16(id)).toHtmlEscaped();
}

QString row(const QString &caption, const QString &value)
{
    return QStringLiteral("<tr><th align=left>%1</th><td>%2</td></tr>")
        .arg(caption, value.toHtmlEscaped());
}

QString runTable(const CalcheckRun &run)
{
    const QString unit = QStringLiteral(" [") + run.unitText.toHtmlEscaped() + QLatin1Char(']');
    QString html =
        QStringLiteral("<h3>%1</h3><p>%2: %3 %5 %4%6</p>")
            .arg(text(run.kind == CalcheckRun::Kind::AsFound ? 5718 : 5719), text(5768),
                 CalcheckCertificate::number(run.lowerRange, 3),
                 CalcheckCertificate::number(run.upperRange, 3), QStringLiteral("&ndash;"),
                 QLatin1Char(' ') + run.unitText.toHtmlEscaped());
    if (run.multidrop())
        html += QStringLiteral("<p>") + CalcheckCertificate::multidropNote(run).toHtmlEscaped() +
                QStringLiteral("</p>");
    html += QStringLiteral("<table border=1 cellspacing=0 cellpadding=3 width=100%><tr>");
    for (const QString &caption : {text(5728), text(5729), text(5730) + unit, text(5731) + unit,
                                   text(5732), text(5733), text(5734), text(5735)})
        html += QStringLiteral("<th>") + caption + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    for (const CalcheckReading &reading : run.readings) {
        html += QStringLiteral("<tr>");
        for (const QString &cell : CalcheckCertificate::cells(reading))
            html +=
                QStringLiteral("<td align=right>") + cell.toHtmlEscaped() + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    if (!run.complete)
        html += QStringLiteral("<tr><td colspan=8>") + text(5782) + QStringLiteral("</td></tr>");
    return html + QStringLiteral("</table>");
}

} // namespace

QString CalcheckCertificate::dateTime(const QDateTime &when)
{
    // ISO dates read the same in every language an auditor may use.
    return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString CalcheckCertificate::number(double value, int decimals)
{
    return QLocale().toString(value, 'f', decimals);
}

QString CalcheckCertificate::verdict(bool pass)
{
    return GetResText(pass ? 5736 : 5737);
}

QString CalcheckCertificate::direction(bool rising)
{
    return GetResText(rising ? 5721 : 5722);
}

QString CalcheckCertificate::notApplicable()
{
    return GetResText(7101);
}

QStringList CalcheckCertificate::cells(const CalcheckReading &reading)
{
    const bool current = reading.currentApplies();
    return {number(reading.point.percent, 1),
            direction(reading.point.rising),
            number(reading.reference, 3),
            number(reading.primaryValue, 3),
            current ? number(reading.current(), 3) : notApplicable(),
            number(reading.pvError, 3),
            current ? number(reading.currentError, 3) : notApplicable(),
            verdict(reading.pass)};
}

QString CalcheckCertificate::multidropNote(const CalcheckRun &run)
{
    return run.multidrop() ? FormatResText(GetResText(7100), {QString::number(run.pollingAddress)})
                           : QString();
}

QString CalcheckCertificate::html(const CalcheckRecord &record)
{
    const CalcheckIdentity &device = record.device;
    const CalcheckRun &range = record.asLeft.readings.isEmpty() ? record.asFound : record.asLeft;
    QString html = QStringLiteral("<html><body><h1>%1</h1>").arg(text(5760));
    html += QStringLiteral("<table width=100%><tr><td valign=top width=50%><h3>") + text(5761) +
            QStringLiteral("</h3><table cellpadding=2>");
    html += row(text(5762), device.tag) + row(text(5763), device.longTag) +
            row(text(5764), device.manufacturer) + row(text(5765), device.model) +
            row(text(5714), device.serialNumber) + row(text(5780), device.sensorSerialNumber) +
            row(text(5767), device.uniqueId) +
            row(text(5768), number(range.lowerRange, 3) + QStringLiteral(" ... ") +
                                number(range.upperRange, 3)) +
            row(text(5769), range.unitText);
    html += QStringLiteral("</table></td><td valign=top><h3>") + text(5713) +
            QStringLiteral("</h3><table cellpadding=2>");
    html += row(text(5713), record.referenceName) + row(text(5714), record.referenceSerial) +
            row(text(5715), record.referenceDue.toString(Qt::ISODate)) +
            row(text(5716), record.technician) + row(text(5773), dateTime(record.checkedAt)) +
            row(text(5712), number(record.tolerance, 3) + QStringLiteral(" %"));
    html += QStringLiteral("</table></td></tr></table>");
    const bool passed = record.passed();
    html += QStringLiteral("<h2 style=\"color:%1\">%2: %3</h2>")
                .arg(passed ? QStringLiteral("#1a7f1a") : QStringLiteral("#b00000"), text(5735),
                     record.complete() ? verdict(passed).toHtmlEscaped() : text(5782));
    html += runTable(record.asFound) + runTable(record.asLeft);
    html += QStringLiteral("<h3 style=\"page-break-before: always\">%1</h3>"
                           "<p><img src=\"%2\" width=680></p>")
                .arg(text(5776), QLatin1String(PlotName));
    html += QStringLiteral("<p><br>%1: ______________________________</p></body></html>")
                .arg(text(5781));
    return html;
}

QImage CalcheckCertificate::plot(const CalcheckRecord &record)
{
    return CalcheckPlot::render(record, {GetResText(5777), GetResText(5778), GetResText(5718),
                                         GetResText(5719), GetResText(5779), GetResText(5721),
                                         GetResText(5722)});
}

clsHTMLPrintWindow *CalcheckCertificate::show(const CalcheckRecord &record, QWidget *parent)
{
    auto *window = new clsHTMLPrintWindow(parent);
    window->setWindowFlag(Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(GetResText(5760));
    window->browser()->document()->addResource(QTextDocument::ImageResource,
                                               QUrl(QLatin1String(PlotName)), plot(record));
    window->setReport(html(record), QString());
    window->show();
    return window;
}
