#include "TestHost.h"
#include "TestRegistry.h"

#include "DeviceInstance.h"
#include "ItemStore.h"
#include "VexAppletItemManager.h"
#include "VexException.h"
#include "VexaAppItem.h"
#include "VexaControlItemHandler.h"
#include "VexaSequenceItem.h"

#include <QTest>
#include <functional>

class TstVexaAppItem : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestHost> m_host;

    std::unique_ptr<VexaAppItem> boundTo(const QString &name)
    {
        auto control = std::make_unique<VexaAppItem>();
        control->setAppItemName(name);
        control->setDesignMode(false);
        control->Register(m_host->manager());
        return control;
    }

private Q_SLOTS:
    void init() { m_host = std::make_unique<TestHost>(); }
    void cleanup()
    {
        m_host.reset();
        QLocale::setDefault(QLocale::c());
    }

    void floatValueFormatted_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("hostValue");
        QTest::addColumn<int>("maxDigits");
        QTest::addColumn<int>("decimalPlaces");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two places") << "en"
                                    << "12.75" << 255 << 2 << "12.75";
        QTest::newRow("no places keeps one") << "en"
                                             << "12.75" << 255 << 0 << "13.0";
        QTest::newRow("integer part too long") << "en"
                                               << "20000" << 3 << 2 << "2.000E+04";
        QTest::newRow("room for the integer only") << "en"
                                                   << "1234.5" << 5 << 10 << "1234";
        QTest::newRow("cut to max digits") << "en"
                                           << "12.5" << 4 << 2 << "12.5";
        QTest::newRow("half to even up") << "en"
                                         << "3.5" << 255 << 0 << "4.0";
        QTest::newRow("negative half") << "en"
                                       << "-12.5" << 255 << 0 << "-12.0";
        QTest::newRow("German comma") << "de"
                                      << "12.75" << 255 << 2 << "12,75";
        QTest::newRow("German scientific") << "de"
                                           << "20000" << 3 << 2 << "2,000E+04";
        QTest::newRow("German no group separator") << "de"
                                                   << "1234.5" << 255 << 1 << "1234,5";
    }
    void floatValueFormatted()
    {
        QFETCH(QString, language);
        QFETCH(QString, hostValue);
        QFETCH(int, maxDigits);
        QFETCH(int, decimalPlaces);
        QFETCH(QString, expected);
        QLocale::setDefault(language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                             : QLocale(QLocale::English, QLocale::UnitedStates));
        testhost::setDataset(*m_host->manager(), "scaleInLoLim", hostValue);
        auto control = boundTo("scaleInLoLim");
        control->setMaxDigits(qint16(maxDigits));
        control->setDecimalPlaces(qint16(decimalPlaces));
        QCOMPARE(control->FloatValueFormatted(), expected);
    }

    void registerWithoutNameDoesNothing()
    {
        VexaAppItem control;
        control.setDesignMode(false);
        int raised = 0;
        connect(&control, &VexaAppItem::ValueChanged, this, [&](QString &) { ++raised; });
        connect(&control, &VexaAppItem::ValueChanged2, this, [&](QString &, bool &) { ++raised; });
        control.Register(m_host->manager());
        QVERIFY(!control.isRegistered());
        QCOMPARE(raised, 0);
        QCOMPARE(
            m_host->manager()->registrationCount(m_host->manager()->store().indexOf("message")), 0);
    }

    // Values are written only at run time; the registration switches only
    // while the dialog is designed.
    void designAndRunTimeSetters()
    {
        VexaAppItem item;
        item.setAppItemName("counter");
        VexaSequenceItem sequence;
        VexaControlItemHandler handler;
        const auto failsWith = [](qint32 number, const std::function<void()> &set) {
            try {
                set();
            } catch (const VexException &e) {
                return e.number() == number;
            }
            return false;
        };
        const std::function<void()> valueWrites[] = {
            [&] { item.setStringValue("1"); },
            [&] { item.setFloatValue(1); },
            [&] { item.setOctetValue(QByteArray("a")); },
        };
        for (const auto &write : valueWrites)
            QVERIFY(failsWith(VexException::SetNotPermittedAtDesignTime, write));
        item.setRegisterOnShadow(false);
        sequence.setRegisterOnShadow(true);
        handler.setStandAlone(true);

        for (VexaDesignControl *control :
             std::initializer_list<VexaDesignControl *>{&item, &sequence, &handler})
            control->setDesignMode(false);
        const std::function<void()> runTimeRefusals[] = {
            [&] { item.setRegisterOnShadow(true); },
            [&] { sequence.setRegisterOnShadow(false); },
            [&] { handler.setStandAlone(false); },
        };
        for (const auto &set : runTimeRefusals)
            QVERIFY(failsWith(VexException::SetNotPermittedAtRunTime, set));

        item.Register(m_host->manager());
        item.setIntValue(42);
        QCOMPARE(item.IntValue(), 42);
        QCOMPARE(item.StringValue(), QString("42"));
    }
};

VEX_TEST(TstVexaAppItem)
#include "tst_VexaAppItem.moc"
