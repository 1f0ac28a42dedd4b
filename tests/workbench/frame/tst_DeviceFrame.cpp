#include "TestRegistry.h"

#include "DatasetFileService.h"
#include "DeviceInstance.h"
#include "HostTexts.h"
#include "ItemStore.h"
#include "ProgIdRegistry.h"
#include "ScriptedMessageBox.h"
#include "VexAppletItemManager.h"
#include "View.h"
#include "frame/DeviceFrame.h"
#include "frame/FrameOptions.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
int g_started = 0;
int g_destroyed = 0;

class CountingView : public View
{
public:
    qint32 SetAppletItemManagRef(qint32, std::shared_ptr<AppletItemManager>) override
    {
        ++g_started;
        return 0;
    }
    qint32 Show() override { return 0; }
    qint32 Hide() override { return 0; }
    qint32 Destroy() override
    {
        ++g_destroyed;
        return 0;
    }
    qint32 NotifyChanged(qint32, bool, qint32, qint32) override { return 0; }
};

QString text(DeviceInstance &instance, const QString &item)
{
    const ItemStore &store = instance.manager()->store();
    return store.text(store.indexOf(item), false);
}
} // namespace

class TstDeviceFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("ok");
        QTest::newRow("none") << QStringList{} << true;
        QTest::newRow("all") << QStringList{"--lang",    "de",      "--address",    "5",
                                            "--context", "53",      "--link-speed", "0",
                                            "--file",    "a.vexds", "--country",    "49"}
                             << true;
        QTest::newRow("address too high") << QStringList{"--address", "16"} << false;
        QTest::newRow("address not a number") << QStringList{"--address", "x"} << false;
        QTest::newRow("language") << QStringList{"--lang", "fr"} << false;
        QTest::newRow("unknown option") << QStringList{"--bogus"} << false;
    }

    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, ok);
        QString error;
        const auto options = FrameOptions::parse(QStringList{"workbench"} + arguments, &error);
        QCOMPARE(options.has_value(), ok);
        QCOMPARE(error.isEmpty(), ok);
    }

    void openStartsTheAlwaysStartedViewAndAppliesOptions()
    {
        ProgIdRegistry::instance().registerView(QLatin1String(DeviceFrame::StartAlwaysView),
                                                [] { return std::make_shared<CountingView>(); });
        SimulatedTransmitter device;
        InProcessHartLink link(&device);
        QString error;
        auto options = FrameOptions::parse(
            {"workbench", "--address", "5", "--context", "53", "--country", "49"}, &error);
        QVERIFY(options);
        DeviceFrame frame(*options, &link);
        QVERIFY2(frame.open(&error), qPrintable(error));
        QCOMPARE(g_started, 1);
        DeviceInstance &instance = *frame.instance();
        QCOMPARE(text(instance, "&&private_PM&&Address"), "5");
        QCOMPARE(text(instance, "&&private_FDT&&EngineeringContext"), "53");
        QCOMPARE(text(instance, "&&private&&countrycode"), "49");
        // The description's files were laid out where the program may write.
        const QString folder = text(instance, "&&private_PM&&VexDPath");
        QVERIFY(QFile::exists(QDir(folder).filePath("transmitter.json")));
        frame.close();
        QCOMPARE(g_destroyed, 1);
        QVERIFY(!frame.instance());
    }

    // The options and nothing else: no application window, and no display
    // needed (the platform asked for cannot start here).
    void helpPrintsTheOptionsWithoutAWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("--help") << QStringList{"--help"};
        QTest::newRow("-h") << QStringList{"-h"};
        QTest::newRow("after other options") << QStringList{"--lang", "de", "--help"};
    }
    void helpPrintsTheOptionsWithoutAWindow()
    {
        QFETCH(QStringList, arguments);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(WORKBENCH_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(20000));
        const QString printed = QString::fromUtf8(program.readAllStandardOutput());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        for (const char *option :
             {"--lang", "--file", "--address", "--context", "--link-speed", "--country", "--help"})
            QVERIFY2(printed.contains(QLatin1String(option)), qPrintable(printed));
        QCOMPARE(QString::fromUtf8(program.readAllStandardError()), QString());
    }

    // --file opens the dataset as File > Open does; a file it cannot load is
    // reported with File > Open's message and the device's data stay.
    void fileOpensTheDatasetAtStart_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("a dataset") << "good.vexds" << true;
        QTest::newRow("missing") << "missing.vexds" << false;
        QTest::newRow("not a dataset") << "notes.txt" << false;
    }
    void fileOpensTheDatasetAtStart()
    {
        QFETCH(QString, file);
        QFETCH(bool, loaded);
        QTemporaryDir dir;
        SimulatedTransmitter device;
        InProcessHartLink link(&device);
        QString error;
        const QString tag = QStringLiteral("FROMFILE");
        {
            DeviceFrame writer(*FrameOptions::parse({"workbench"}, &error), &link);
            QVERIFY2(writer.open(&error), qPrintable(error));
            QVERIFY(writer.instance()->setItemText("_tagHART", tag));
            QCOMPARE(writer.instance()->files().saveFile(dir.filePath("good.vexds")), 0);
        }
        QFile notes(dir.filePath("notes.txt"));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        QVERIFY(notes.write("a line of notes\n") > 0);
        notes.close();

        ScriptedMessageBox box;
        const auto options =
            FrameOptions::parse({"workbench", "--file", dir.filePath(file)}, &error);
        QVERIFY(options);
        DeviceFrame frame(*options, &link);
        QVERIFY2(frame.open(&error), qPrintable(error));
        DeviceInstance &instance = *frame.instance();
        QCOMPARE(text(instance, "_tagHART").trimmed() == tag, loaded);
        QCOMPARE(text(instance, "&&private_PM&&FileName"), loaded ? dir.filePath(file) : QString());
        QCOMPARE(text(instance, "&&private&&CurrentSource"), loaded ? "1" : "0");
        QCOMPARE(box.asked().size(), loaded ? 0 : 1);
        if (!loaded) {
            QCOMPARE(box.asked().first().title, HostTexts::text(HostTexts::OpenDatasetTitle));
            const QString opening = HostTexts::text(HostTexts::NotLoaded).section('\n', 0, 0);
            QVERIFY2(box.texts().first().startsWith(opening), qPrintable(box.texts().first()));
        }
    }

    // The description's copy is written only when it differs from the
    // program's own: an unchanged copy is left as it is.
    void descriptionCopyRefreshedWhenItDiffers_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("unchanged") << "";
        QTest::newRow("missing") << "missing";
        QTest::newRow("changed") << "changed";
        QTest::newRow("cut off") << "cut off";
    }
    void descriptionCopyRefreshedWhenItDiffers()
    {
        QFETCH(QString, damage);
        SimulatedTransmitter device;
        InProcessHartLink link(&device);
        QString error;
        const auto options = FrameOptions::parse({"workbench"}, &error);
        QString copy;
        {
            DeviceFrame frame(*options, &link);
            QVERIFY2(frame.open(&error), qPrintable(error));
            copy = QDir(text(*frame.instance(), "&&private_PM&&VexDPath"))
                       .filePath("transmitter.json");
        }
        QFile original(":/device/transmitter.json");
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray content = original.readAll();
        if (damage == "missing")
            QVERIFY(QFile::remove(copy));
        if (damage == "changed" || damage == "cut off") {
            QFile file(copy);
            QVERIFY(file.open(QIODevice::ReadWrite));
            if (damage == "changed")
                QCOMPARE(file.write("x"), 1);
            QVERIFY(file.resize(damage == "changed" ? content.size() : content.size() / 2));
        }
        // Dated back, so that a rewrite shows.
        const QDateTime longAgo(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
        if (damage != "missing") {
            QFile file(copy);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }

        DeviceFrame frame(*options, &link);
        QVERIFY2(frame.open(&error), qPrintable(error));
        QFile refreshed(copy);
        QVERIFY(refreshed.open(QIODevice::ReadOnly));
        QCOMPARE(refreshed.readAll(), content);
        QCOMPARE(QFileInfo(copy).lastModified().toUTC() == longAgo, damage.isEmpty());
    }
};

VEX_TEST(TstDeviceFrame)
#include "tst_DeviceFrame.moc"
