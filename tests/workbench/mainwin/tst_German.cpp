#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "frame/ProgramLanguage.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmSelectDefaultDataset.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

// The program run in German: Qt's own texts too, numbers with a decimal
// comma, and File New answering Enter.
class TstGerman : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }
    void init() { QVERIFY(ProgramLanguage::apply(QStringLiteral("de"))); }
    void cleanup() { ProgramLanguage::apply(QStringLiteral("en")); }

    void standardButtonsInGerman()
    {
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Abbrechen"));
        ProgramLanguage::apply(QStringLiteral("en"));
        QDialogButtonBox english(QDialogButtonBox::Cancel);
        QCOMPARE(english.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Cancel"));
    }

    void newDatasetWithDecimalCommaAndEnter()
    {
        MainWindowRig rig; // no country given: the German datasets
        ScriptedMessageBox box;
        auto *dialog = new frmSelectDefaultDataset(&rig.form());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setViewRef(rig.form().viewRef());
        dialog->show();
        QTRY_COMPARE(dialog->lstDeviceID->count(), 2);
        QCOMPARE(dialog->lblDeviceDescription->text(),
                 QStringLiteral("Absolutdruck-Messumformer, 4 bis 20 mA mit HART"));
        dialog->lstDeviceID->setCurrentRow(1);
        const auto found =
            dialog->lstPRanges->findItems(QStringLiteral("-2,5 ... 2,5 bar"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        dialog->lstPRanges->setCurrentItem(found.first());
        QPointer<frmSelectDefaultDataset> open(dialog);
        QTest::keyClick(dialog->lstPRanges, Qt::Key_Return);
        QTRY_VERIFY(!open);
        QCOMPARE(rig.text("scaleInHiLim"), QStringLiteral("2.5"));
        QCOMPARE(rig.text("primaryValueUnit"), QStringLiteral("7"));
        QCOMPARE(box.texts(), QStringList());
    }
};

VEX_TEST(TstGerman)
#include "tst_German.moc"
