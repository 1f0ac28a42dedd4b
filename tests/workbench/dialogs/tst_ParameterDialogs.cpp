#include "DiagnosisRig.h"
#include "TestRegistry.h"

#include "VexaAppItem.h"
#include "VexaItemBinding.h"
#include "VexaLabelComboUnit.h"
#include "dialogs/frmBasicParameter.h"
#include "dialogs/frmIdentification.h"

#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

// Basic parameters and identification through the real host.
class TstParameterDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }

    // The installation angle comes with version 1.5.0 ("150"); a device
    // without remote seals has no remote-seal page.
    void pagesTheDeviceHas_data()
    {
        QTest::addColumn<QString>("revision");
        QTest::addColumn<QString>("remoteSeals");
        QTest::addColumn<bool>("anglePage");
        QTest::addColumn<bool>("sealPage");
        QTest::newRow("149, no seal") << "01 04 09"
                                      << "0" << false << false;
        QTest::newRow("150, one seal") << "01 05 00"
                                       << "1" << true << true;
        QTest::newRow("1.10.0, two seals") << "01 0A 00"
                                           << "2" << true << true;
        // Joined, 1.1.10 reads 1110 and passed for 150.
        QTest::newRow("1.1.10") << "01 01 0A"
                                << "1" << false << true;
    }
    void pagesTheDeviceHas()
    {
        QFETCH(QString, revision);
        QFETCH(QString, remoteSeals);
        QFETCH(bool, anglePage);
        QFETCH(bool, sealPage);
        DiagnosisRig rig;
        rig.setItem("softwareRevision", revision);
        rig.setItem("numberRemoteSeal", remoteSeals);
        auto *dialog = rig.open<frmBasicParameter>();
        QCOMPARE(dialog->isPageOffered(frmBasicParameter::InstallationAngle), anglePage);
        QCOMPARE(dialog->isPageOffered(frmBasicParameter::RemoteSeal), sealPage);
        QVERIFY(dialog->isPageOffered(frmBasicParameter::Sensor));
    }

    void anglePageFollowsTheVersion()
    {
        DiagnosisRig rig;
        rig.setItem("softwareRevision", "01 04 09");
        auto *dialog = rig.open<frmBasicParameter>();
        QVERIFY(!dialog->isPageOffered(frmBasicParameter::InstallationAngle));
        rig.setItem("softwareRevision", "01 05 00");
        QVERIFY(dialog->isPageOffered(frmBasicParameter::InstallationAngle));
    }

    void installationAngle()
    {
        DiagnosisRig rig;
        auto *dialog = rig.open<frmBasicParameter>();
        rig.setItem("installationAngle", "3");
        QVERIFY(dialog->Option1[3]->isChecked());
        QCOMPARE(dialog->Option1[3]->text(), QStringLiteral("135°"));
        QVERIFY(!dialog->lblDirty[0]->isVisible());

        dialog->tbsOptions->setCurrentIndex(frmBasicParameter::InstallationAngle);
        dialog->Option1[1]->click();
        QCOMPARE(rig.text("installationAngle"), QStringLiteral("1"));
        QVERIFY(rig.modified("installationAngle"));
        for (QLabel *dirty : dialog->lblDirty)
            QVERIFY(dirty->isVisible());

        rig.setItem("installationAngle", "7"); // no option for it
        for (QRadioButton *option : dialog->Option1)
            QVERIFY(!option->isChecked());
    }

    void settingsAreBoundAndWritten()
    {
        DiagnosisRig rig;
        auto *dialog = rig.open<frmBasicParameter>();
        auto *unit = dialog->findChild<VexaLabelComboUnit *>("cmbTemperatureValueUnit");
        QVERIFY(unit);
        QCOMPARE(unit->objectNameCombo(), QStringLiteral("sensorTemperatureUnit"));
        rig.setItem("sensorTemperatureUnit", "33");
        QCOMPARE(unit->fieldBinding().displayText(), QStringLiteral("°F"));
    }

    void revisions_data()
    {
        QTest::addColumn<QString>("hardware");
        QTest::addColumn<QString>("hart");
        QTest::addColumn<QString>("software");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("7, 12, 1.5.0") << "7"
                                      << "12"
                                      << "01 05 00" << QStringList{"07", "12", "1.5.0"};
        QTest::newRow("12, 3, 3.27.68") << "12"
                                        << "3"
                                        << "03 1B 44" << QStringList{"12", "03", "3.27.68"};
    }
    void revisions()
    {
        QFETCH(QString, hardware);
        QFETCH(QString, hart);
        QFETCH(QString, software);
        QFETCH(QStringList, shown);
        DiagnosisRig rig;
        auto *dialog = rig.open<frmIdentification>();
        rig.setItem("_hardwareRev", hardware);
        rig.setItem("_softwareRevisionHART", hart);
        rig.setItem("softwareRevision", software);
        QCOMPARE(
            QStringList({dialog->lblHardwareRev->text(), dialog->lblSoftwareRevisionHart->text(),
                         dialog->lblSoftwareRevision->text()}),
            shown);
        // The HART revision the device implements, as the report gives it.
        QCOMPARE(dialog->lblCommType->text(), QStringLiteral("HART 5"));
        rig.setItem("_univCmdRevHART", "7");
        QCOMPARE(dialog->lblCommType->text(), QStringLiteral("HART 7"));
    }
};

VEX_TEST(TstParameterDialogs)
#include "tst_ParameterDialogs.moc"
