#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "ResidentViews.h"
#include "clsHTMLPrintView.h"
#include "clsHTMLPrintWindow.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
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
    MainWindowRig rig; // no country given: the language picks the report
    grab.require(rig.connect(), QStringLiteral("no connection"));
    rig.form().runMenuCommand(QStringLiteral("mnuFilePrintPreview"));
    clsHTMLPrintWindow *window = clsHTMLPrintView::window();
    grab.require(window, QStringLiteral("no report window"));
    window->resize(760, 560);
    grab.save(*window, QStringLiteral("report-window"));
    grab.save(wholeReport(window->browser()->document(), 720), QStringLiteral("report-page"));
    delete window;
}
