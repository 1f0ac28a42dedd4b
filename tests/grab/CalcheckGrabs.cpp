#include "CalcheckDemo.h"
#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "calcheck/frmCalcheck.h"
#include "clsHTMLPrintWindow.h"

#include <QApplication>
#include <QImage>
#include <QMdiSubWindow>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

// The certificate's pages as the PDF lays them out: A4 at 96 dpi.
QList<QPixmap> pages(QTextDocument *document)
{
    std::unique_ptr<QTextDocument> copy(document->clone());
    const QSizeF page = QPageSize(QPageSize::A4).sizePixels(96);
    copy->setPageSize(page);
    QList<QPixmap> pictures;
    for (int i = 0; i < copy->pageCount(); ++i) {
        QImage image(page.toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(0, -i * page.height());
        copy->drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height()));
        painter.end();
        pictures << QPixmap::fromImage(image);
    }
    return pictures;
}

void saveWizard(Grabber &grab, frmCalcheck &wizard, const QString &name)
{
    QWidget *frame = wizard.parentWidget();
    frame->resize(820, 600);
    grab.save(wizard, name);
}

// Opens the certificate of the finished check and saves its window and pages.
void saveCertificate(Grabber &grab, frmCalcheck &wizard, const QString &prefix)
{
    wizard.setFocus();
    QTest::mouseClick(wizard.cmdCertificate, Qt::LeftButton);
    clsHTMLPrintWindow *certificate = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *print = qobject_cast<clsHTMLPrintWindow *>(window); print && print->isVisible())
            certificate = print;
    }
    grab.require(certificate, QStringLiteral("no certificate"));
    certificate->resize(820, 700);
    grab.save(*certificate, prefix + QStringLiteral("-window"));
    const QList<QPixmap> pictures = pages(certificate->browser()->document());
    for (int i = 0; i < pictures.size(); ++i)
        grab.save(pictures.at(i), prefix + QStringLiteral("-page%1").arg(i + 1));
    certificate->close();
}

} // namespace

VEX_GRAB(grabCalcheck, "calcheck",
         "Calibrate > Calibration check: set-up, as found, adjust, result and the certificate")
{
    CalcheckDemo::registerViews();
    // The demo's checks go to a history of their own, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir history;
    MainWindowRig rig(
        {QStringLiteral("--history"), history.filePath(QStringLiteral("history.sqlite"))});
    const auto bench = CalcheckDemo::defaultSimulator(rig);
    rig.device.seedNoise(11);
    grab.require(rig.connect(), QStringLiteral("no connection"));
    frmCalcheck *wizard = CalcheckDemo::open(rig);
    grab.require(wizard, QStringLiteral("no wizard"));
    saveWizard(grab, *wizard, QStringLiteral("calcheck-setup"));
    grab.require(CalcheckDemo::runAsFound(rig, *wizard, 6), QStringLiteral("as found failed"));
    saveWizard(grab, *wizard, QStringLiteral("calcheck-run"));
    grab.require(CalcheckDemo::finishRun(rig, *wizard), QStringLiteral("as found failed"));
    saveWizard(grab, *wizard, QStringLiteral("calcheck-adjust"));
    grab.require(CalcheckDemo::adjustAndRunAsLeft(rig, *wizard), QStringLiteral("as left failed"));
    saveWizard(grab, *wizard, QStringLiteral("calcheck-result"));
    saveCertificate(grab, *wizard, QStringLiteral("calcheck-certificate"));
    // The set-up of the next check lists this one.
    QTest::mouseClick(wizard->cmdNewCheck, Qt::LeftButton);
    wizard->tblPastChecks->selectRow(0);
    saveWizard(grab, *wizard, QStringLiteral("calcheck-past"));
    QStandardPaths::setTestModeEnabled(false);
}

VEX_GRAB(grabCalcheckMultidrop, "calcheck-multidrop",
         "Calibration check of a device at polling address 3: no current checked, its certificate")
{
    CalcheckDemo::registerViews();
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir history;
    MainWindowRig rig({QStringLiteral("--history"),
                       history.filePath(QStringLiteral("history.sqlite")),
                       QStringLiteral("--address"), QStringLiteral("3")});
    rig.device.setLoopPosition(3, 0);
    const auto bench = CalcheckDemo::defaultSimulator(rig);
    rig.device.seedNoise(11);
    grab.require(rig.connect(), QStringLiteral("no connection"));
    frmCalcheck *wizard = CalcheckDemo::open(rig);
    grab.require(wizard, QStringLiteral("no wizard"));
    grab.require(CalcheckDemo::runAsFound(rig, *wizard, 3), QStringLiteral("as found failed"));
    saveWizard(grab, *wizard, QStringLiteral("calcheck-multidrop-run"));
    grab.require(CalcheckDemo::finishRun(rig, *wizard), QStringLiteral("as found failed"));
    saveWizard(grab, *wizard, QStringLiteral("calcheck-multidrop-adjust"));
    grab.require(CalcheckDemo::adjustAndRunAsLeft(rig, *wizard), QStringLiteral("as left failed"));
    saveWizard(grab, *wizard, QStringLiteral("calcheck-multidrop-result"));
    saveCertificate(grab, *wizard, QStringLiteral("calcheck-multidrop-certificate"));
    QStandardPaths::setTestModeEnabled(false);
}
