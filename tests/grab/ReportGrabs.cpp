#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "DeviceInstance.h"
#include "HistoryService.h"
#include "ResidentViews.h"
#include "clsHTMLPrintView.h"
#include "clsHTMLPrintWindow.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

// The whole report as a page shows it, not only what the window shows.
QPixmap wholeReport(QTextDocument *document, int width)
{
    std::unique_ptr<QTextDocument> page(document->clone());
    page->setTextWidth(width);
    QImage image(width, int(page->size().height()) + 1, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    page->drawContents(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

VEX_GRAB(grabReport, "report",
         "File > Print Preview while connected: the report window and the whole report page")
{
    registerResidentViews();
    registerWorkbenchViews();
    QTemporaryDir dir;
    // No country given: the language picks the report.
    MainWindowRig rig(
        {QStringLiteral("--history"), dir.filePath(QStringLiteral("history.sqlite"))});
    grab.require(rig.connect(), QStringLiteral("no connection"));
    // Two changes for the report's last table: the tag and the damping.
    auto *history = qobject_cast<HistoryService *>(
        rig.instance().object(QLatin1String(HistoryService::ProgId)).get());
    grab.require(history, QStringLiteral("no history"));
    QSignalSpy read(history, &HistoryService::deviceRead);
    grab.require(history->readDevice() == 0 && read.wait(5000), QStringLiteral("no device read"));
    for (const auto &[item, value] : {std::pair{"filterTime", "2.5"}, {"_tagHART", "PT-101"}}) {
        QSignalSpy written(history, &HistoryService::writeFinished);
        grab.require(history->writeValues({{QLatin1String(item), QLatin1String(value)}},
                                          QStringLiteral("grab")) == 0 &&
                         written.wait(5000),
                     QStringLiteral("no write"));
    }
    rig.form().runMenuCommand(QStringLiteral("mnuFilePrintPreview"));
    clsHTMLPrintWindow *window = clsHTMLPrintView::window();
    grab.require(window, QStringLiteral("no report window"));
    window->resize(760, 560);
    grab.save(*window, QStringLiteral("report-window"));
    grab.save(wholeReport(window->browser()->document(), 720), QStringLiteral("report-page"));
    delete window;
}
