#include "DialogRig.h"
#include "TestRegistry.h"

#include "dialogs/frmCalibrateCurrent.h"
#include "dialogs/frmCalibratePressure.h"
#include "dialogs/frmConfigPrimaryMeas.h"
#include "dialogs/frmSimulateCurrent.h"

#include <QLabel>

#include <QMdiSubWindow>
#include <QTest>

// Pictures of the four dialogs, online and offline, on request
// (VEX_GRAB_DIR names the folder): for looking, not for comparing.
class TstDialogGrabs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void grab_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("online");
        for (const char *language : {"en", "de"}) {
            for (bool online : {true, false}) {
                QTest::addRow("%s %s", language, online ? "online" : "offline")
                    << QString::fromLatin1(language) << online;
            }
        }
    }
    void grab()
    {
        QFETCH(QString, language);
        QFETCH(bool, online);
        const QString folder = qEnvironmentVariable("VEX_GRAB_DIR");
        if (folder.isEmpty())
            QSKIP("set VEX_GRAB_DIR to take the pictures");
        QLocale::setDefault(language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                             : QLocale(QLocale::English, QLocale::UnitedStates));
        DialogRig rig;
        if (online) {
            QVERIFY(rig.connect());
            rig.device.setAppliedPressure(123.4);
        }
        auto *config = rig.open<frmConfigPrimaryMeas>();
        const QList<QWidget *> dialogs{config, rig.open<frmCalibratePressure>(),
                                       rig.open<frmCalibrateCurrent>(),
                                       rig.open<frmSimulateCurrent>()};
        QTRY_VERIFY(rig.settled());
        if (online) // the live values have been read
            QTRY_VERIFY(config->lblPreviewPressure->text().startsWith("123"));
        for (QWidget *dialog : dialogs) {
            auto *frame = qobject_cast<QMdiSubWindow *>(dialog->parentWidget());
            frame->resize(frame->sizeHint());
            const QString name =
                QStringLiteral("%1/%2_%3_%4.png")
                    .arg(folder, dialog->objectName(), language, online ? "online" : "offline");
            QVERIFY(frame->grab().save(name));
        }
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
};

VEX_TEST(TstDialogGrabs)
#include "tst_DialogGrabs.moc"
