#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "FileChooser.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// File Open and Save As through the main window's menu: the extension a
// name without one gets, the folder every dialog starts in, and the file
// name in the caption.
class TstDatasetFiles : public QObject
{
    Q_OBJECT

private:
    QString m_documents;

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
        m_documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(m_documents));
    }
    void init() { QSettings().clear(); }

    void saveAsAddsTheExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "ds1"
                                      << "ds1.vexds";
        QTest::newRow("the dataset extension") << "ds2.vexds"
                                               << "ds2.vexds";
        QTest::newRow("another extension kept") << "ds3.json"
                                                << "ds3.json";
    }
    void saveAsAddsTheExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QTemporaryDir dir;
        MainWindowRig rig;
        ScriptedFileChooser chooser;
        ScriptedMessageBox box;
        chooser.enqueue(dir.filePath(typed));
        rig.form().runMenuCommand(QStringLiteral("mnuFileSaveAs"));
        QCOMPARE(box.texts(), QStringList());
        QVERIFY(QFile::exists(dir.filePath(written)));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(rig.text("&&private_PM&&FileName"), dir.filePath(written));
        // The caption keeps the device identity and adds the file's name.
        QVERIFY2(rig.form().windowTitle().endsWith(QStringLiteral(" \u2013 ") + written),
                 qPrintable(rig.form().windowTitle()));
    }

    // A dataset without a file: Save asks for one, offered under the tag
    // (as a file name can hold it), and writes nothing before the answer.
    void saveWithoutAFileOffersTheTag()
    {
        QTemporaryDir dir;
        MainWindowRig rig;
        ScriptedFileChooser chooser;
        ScriptedMessageBox box;
        rig.set("&&private_PM&&TagName", "FT/7:A");
        rig.form().runMenuCommand(QStringLiteral("mnuFileSave")); // cancelled
        QCOMPARE(chooser.offered(), QDir(m_documents).filePath("FT_7_A.vexds"));
        QCOMPARE(rig.text("&&private_PM&&FileName"), QString());
        chooser.enqueue(dir.filePath("FT_7_A.vexds"));
        rig.form().runMenuCommand(QStringLiteral("mnuFileSave"));
        QVERIFY(QFile::exists(dir.filePath("FT_7_A.vexds")));
    }

    // The first dialog starts in the documents folder, every later one in
    // the folder last used, in this run and the next.
    void dialogsStartInTheFolderLastUsed()
    {
        QTemporaryDir dir;
        {
            MainWindowRig rig;
            ScriptedFileChooser chooser;
            ScriptedMessageBox box;
            rig.form().runMenuCommand(QStringLiteral("mnuFileOpen")); // cancelled
            QCOMPARE(chooser.offered(), m_documents);
            chooser.enqueue(dir.filePath("kept.vexds"));
            rig.form().runMenuCommand(QStringLiteral("mnuFileSaveAs"));
            QCOMPARE(chooser.offered(), QDir(m_documents).filePath("PT-1.vexds"));
            rig.form().runMenuCommand(QStringLiteral("mnuFileOpen")); // cancelled
            QCOMPARE(chooser.offered(), dir.path());
        }
        MainWindowRig next;
        ScriptedFileChooser chooser;
        next.form().runMenuCommand(QStringLiteral("mnuFileOpen")); // cancelled
        QCOMPARE(chooser.offered(), dir.path());
        // A folder that is gone: the documents folder again.
        QVERIFY(dir.remove());
        next.form().runMenuCommand(QStringLiteral("mnuFileOpen"));
        QCOMPARE(chooser.offered(), m_documents);
    }
};

VEX_TEST(TstDatasetFiles)
#include "tst_DatasetFiles.moc"
