#include "TestRegistry.h"

#include "DeviceInstance.h"
#include "ItemStore.h"
#include "ProgIdRegistry.h"
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
