#include "SampleDialog.h"
#include "TestHost.h"
#include "TestRegistry.h"

#include "DeviceDescription.h"
#include "ResStringTable.h"
#include "VexAppletItemManager.h"
#include "VexaAppItem.h"
#include "ctlBusyWindow.h"
#include "frmBusyWindow.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QDir>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

// Pictures of a sample dialog and of the busy window over its host, in
// English and German, for a person to look at. Runs only when VEX_GRAB_DIR
// names the folder to write them to.
class TstFrameGrabs : public QObject
{
    Q_OBJECT

private:
    QString m_folder;

    void save(const QPixmap &picture, const QString &name)
    {
        QVERIFY(!picture.isNull());
        QVERIFY(picture.save(QDir(m_folder).filePath(name)));
    }

private Q_SLOTS:
    // Skipping per case, not in initTestCase: a class skipped there keeps the
    // classes after it in this executable from running.
    void init()
    {
        if (m_folder.isEmpty())
            QSKIP("VEX_GRAB_DIR not set");
    }
    void initTestCase()
    {
        m_folder = qEnvironmentVariable("VEX_GRAB_DIR");
        if (!m_folder.isEmpty())
            QDir().mkpath(m_folder);
        InstallProgramStringTable(std::make_shared<ResStringTable>(
            ResStringTable::fromTsv(QByteArray(SampleDialog::Strings))));
    }
    void cleanupTestCase()
    {
        InstallProgramStringTable(nullptr);
        QLocale::setDefault(QLocale::c());
    }

    void grabs_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << "en";
        QTest::newRow("de") << "de";
    }
    void grabs()
    {
        QFETCH(QString, language);
        QLocale::setDefault(language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                             : QLocale(QLocale::English, QLocale::UnitedStates));
        QString error;
        const auto description =
            DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), &error);
        QVERIFY2(description, qPrintable(error));
        TestHost host(*description);
        testhost::setDataset(*host.manager(), "scaleInLoLim", "-0.25");
        testhost::setDataset(*host.manager(), "deviceMessage", "LINE 2 PUMP");
        SampleView view(host.manager());

        QWidget hostWindow;
        hostWindow.setGeometry(50, 50, 640, 360);
        auto *layout = new QVBoxLayout(&hostWindow);
        auto *dialog = new SampleDialog(&hostWindow);
        dialog->setViewRef(&view);
        dialog->appMessage->setAppItemName("deviceMessage");
        layout->addWidget(dialog);
        auto *busyControl = new ctlBusyWindow(&hostWindow);
        busyControl->setDesignMode(false);
        connect(busyControl, &ctlBusyWindow::DisableWindow, &hostWindow,
                [&hostWindow] { hostWindow.setEnabled(false); });
        connect(busyControl, &ctlBusyWindow::EnableWindow, &hostWindow,
                [&hostWindow] { hostWindow.setEnabled(true); });
        hostWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&hostWindow));
        save(dialog->grab(), QString("sample-dialog-%1.png").arg(language));

        busyControl->Register(host.manager());
        testhost::setDataset(*host.manager(), "currentSequence", "UPLOAD");
        testhost::setDataset(*host.manager(), "&&Sequence_Progress&&UPLOAD", "40");
        frmBusyWindow &busy = *busyControl->busyWindow();
        QVERIFY(busy.isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&busy));

        // Offscreen windows have no desktop: lay the busy window over its host.
        QPixmap scene = hostWindow.grab();
        QPainter painter(&scene);
        const QPoint at = busy.geometry().topLeft() - hostWindow.geometry().topLeft();
        painter.drawPixmap(at, busy.grab());
        painter.setPen(Qt::darkGray);
        painter.drawRect(QRect(at, busy.size()).adjusted(0, 0, -1, -1));
        painter.end();
        save(scene, QString("busy-over-host-%1.png").arg(language));

        testhost::setDataset(*host.manager(), "currentResponseCode", "01 20 00");
        save(busy.grab(), QString("busy-device-busy-%1.png").arg(language));
    }
};

VEX_TEST(TstFrameGrabs)
#include "tst_FrameGrabs.moc"
