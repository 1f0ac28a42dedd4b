#include "SampleDialog.h"
#include "TestHost.h"
#include "TestRegistry.h"

#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "ScratchFileSystem.h"
#include "ScriptedMessageBox.h"
#include "VexAppletItemManager.h"
#include "clsAppItem.h"
#include "mainwin/DefaultDatasetDatabase.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmSelectDefaultDataset.h"
#include "mainwin/global.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

// File New through the real host: the database built from the script into
// the device description folder, the lists, and the values written by OK.
class TstSelectDefaultDataset : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestHost> m_host;
    std::unique_ptr<SampleView> m_view;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QWidget> m_main;

    QString databasePath() const
    {
        return m_folder->filePath(QLatin1String(DefaultDatasetDatabase::FileName));
    }
    QString value(const char *item) const
    {
        const ItemStore &store = m_host->manager()->store();
        return store.text(store.indexOf(QLatin1String(item)), false);
    }
    void setItem(const char *item, const QString &text)
    {
        QVERIFY(m_host->instance().setItemText(QLatin1String(item), text));
    }
    // Changes the built database as an installation might have.
    void changeDatabase(const QStringList &statements)
    {
        QString error;
        QVERIFY2(DefaultDatasetDatabase::ensureBuilt(
                     databasePath(), QLatin1String(DefaultDatasetDatabase::ScriptPath), &error),
                 qPrintable(error));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "change");
            db.setDatabaseName(databasePath());
            QVERIFY(db.open());
            for (const QString &statement : statements) {
                QSqlQuery query(db);
                QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
            }
        }
        QSqlDatabase::removeDatabase("change");
    }
    static bool writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }
    // Damages the built database; it stays newer than its script.
    void damageDatabase(const QString &how)
    {
        QString error;
        QVERIFY2(DefaultDatasetDatabase::ensureBuilt(
                     databasePath(), QLatin1String(DefaultDatasetDatabase::ScriptPath), &error),
                 qPrintable(error));
        QFile file(databasePath());
        if (how == "garbage") {
            QVERIFY(writeFile(databasePath(), QByteArray(8192, '\x5a')));
        } else if (how == "empty") {
            QVERIFY(writeFile(databasePath(), QByteArray()));
        } else if (how == "cut short") {
            QVERIFY(file.resize(file.size() / 2));
        } else {
            changeDatabase({"DROP TABLE PRanges"});
        }
    }
    std::unique_ptr<frmSelectDefaultDataset> openDialog()
    {
        auto dialog = std::make_unique<frmSelectDefaultDataset>();
        dialog->setViewRef(m_view.get());
        dialog->show();
        return dialog;
    }
    static QStringList texts(const QListWidget *list)
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result << list->item(i)->text();
        return result;
    }
    static void select(QListWidget *list, const QString &text)
    {
        const auto found = list->findItems(text, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(text));
        list->setCurrentItem(found.first());
    }

private Q_SLOTS:
    void init()
    {
        m_host = std::make_unique<TestHost>(testhost::builtInDescription());
        m_view = std::make_unique<SampleView>(m_host->manager());
        m_folder = std::make_unique<QTemporaryDir>();
        setItem("&&private_PM&&VexDPath", m_folder->path() + QDir::separator());
        m_main = std::make_unique<QWidget>();
        SetMainWindow(m_main.get());
    }
    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
        EnableMainWindow(true);
        SetMainWindow(nullptr);
        m_main.reset();
        m_view.reset();
        m_host.reset();
        m_folder.reset();
    }

    void deviceTypesOfTheCountry_data()
    {
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("description");
        QTest::newRow("Germany") << "49"
                                 << "Absolutdruck-Messumformer, 4 bis 20 mA mit HART";
        QTest::newRow("none for 7: those of 1")
            << "7"
            << "Absolute pressure transmitter, 4 to 20 mA with HART";
    }
    void deviceTypesOfTheCountry()
    {
        QFETCH(QString, country);
        QFETCH(QString, description);
        setItem("&&private&&countrycode", country);
        ScriptedMessageBox box;
        auto dialog = openDialog();

        QVERIFY(QFile::exists(databasePath()));
        QCOMPARE(texts(dialog->lstDeviceID), (QStringList{"K9P2-A", "K9P2-D"}));
        QCOMPARE(dialog->lblDeviceDescription->text(), description);
        QCOMPARE(dialog->lstPRanges->count(), 5);
        QCOMPARE(dialog->lstPRanges->currentItem()->text(), QStringLiteral("0 ... 1300 mbar"));
        dialog->lstDeviceID->setCurrentRow(1);
        QCOMPARE(texts(dialog->lstPRanges).first(), QStringLiteral("-60 ... 60 mbar"));

        // Cancel writes nothing.
        const QString before = value("scaleInHiLim");
        dialog->cmdCancel->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(value("scaleInHiLim"), before);
        QVERIFY(box.asked().isEmpty());
    }

    void okWritesTheDefaults_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("German") << "de";
    }
    void okWritesTheDefaults()
    {
        QFETCH(QString, language);
        QLocale::setDefault(language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                             : QLocale(QLocale::English, QLocale::UnitedStates));
        changeDatabase({"UPDATE GeneralDevicedata SET ObjectValue = ' 12.5 ' "
                        "WHERE ObjectName = 'filterTime'",
                        "UPDATE GeneralDevicedata SET ObjectValue = ' 12.5 ' "
                        "WHERE ObjectName = 'freeUnitText'"});
        setItem("InCompatibleDataset", "3");
        setItem("&&private&&CurrentSource", "2");
        setItem("&&private_PM&&FileName", "/tmp/the-file-that-was-open.vexds");
        clsAppItem currentSequence;
        currentSequence.Register(m_host->manager(), QStringLiteral("currentSequence"));
        QStringList sequences;
        QList<bool> mainEnabled;
        connect(&currentSequence, &clsAppItem::ValueUpdate, this, [&](QString &v) {
            sequences << v;
            mainEnabled << m_main->isEnabled();
        });
        auto dialog = openDialog();
        select(dialog->lstDeviceID, "K9P2-D");
        select(dialog->lstPRanges, "-400 ... 400 mbar");

        dialog->cmdOK->click();

        QVERIFY(!dialog->isVisible());
        QCOMPARE(sequences, (QStringList{"ReadDefaultdataset", ""}));
        QCOMPARE(mainEnabled.first(), false);
        QVERIFY(m_main->isEnabled());
        QCOMPARE(value("filterTime"), QStringLiteral("12.5"));
        QCOMPARE(value("freeUnitText"), QStringLiteral("12.5"));
        QCOMPARE(value("primaryValueUnit"), QStringLiteral("8"));
        QCOMPARE(value("scaleInHiLim"), QStringLiteral("400"));
        // Large numbers keep every digit in the user's format (no group separator).
        QCOMPARE(value("staticPressureHiLim"), QStringLiteral("160000"));
        QCOMPARE(value("InCompatibleDataset"), QStringLiteral("0"));
        QCOMPARE(value("&&private&&CurrentSource"), QStringLiteral("0"));
        // A new dataset has no file: Save asks for one rather than overwrite the old.
        QCOMPARE(value("&&private_PM&&FileName"), QString());
    }

    void hostValue_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("dataType");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("float, comma user") << " 12.5 " << 4 << "de"
                                           << "12,5";
        QTest::newRow("float, point user") << " 12.5 " << 4 << "en"
                                           << "12.5";
        QTest::newRow("string keeps the point") << " 12.5 " << 1 << "de"
                                                << "12.5";
        QTest::newRow("PCA keeps the point") << " 12.5 " << 7 << "de"
                                             << "12.5";
        QTest::newRow("thousands without separator") << "160000" << 4 << "de"
                                                     << "160000";
        QTest::newRow("small fraction") << "0.025" << 4 << "de"
                                        << "0,025";
        QTest::newRow("not a number is left to the host") << "abc" << 4 << "de"
                                                          << "abc";
    }
    void hostValue()
    {
        QFETCH(QString, stored);
        QFETCH(int, dataType);
        QFETCH(QString, language);
        QFETCH(QString, expected);
        const QLocale locale = language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                                : QLocale(QLocale::English, QLocale::UnitedStates);
        QCOMPARE(frmSelectDefaultDataset::HostValue(stored, dataType, locale), expected);
    }

    void missingDatabaseWritesNothing()
    {
        setItem("&&private_PM&&VexDPath", m_folder->filePath("gone") + QDir::separator());
        const QString before = value("scaleInHiLim");
        ScriptedMessageBox box;
        auto dialog = openDialog();

        QTRY_VERIFY(!dialog->isVisible());
        QCOMPARE(box.asked().size(), 1);
        QVERIFY(box.asked().first().text.startsWith(GetResText(2576) + QLatin1Char('\n')));
        QCOMPARE(box.asked().first().icon, QMessageBox::Warning);
        QCOMPARE(value("scaleInHiLim"), before);
        QCOMPARE(value("currentSequence"), QString());
        QVERIFY(m_main->isEnabled());
    }

    void labelWithAQuote()
    {
        changeDatabase({"INSERT INTO DeviceTypes VALUES ('K9P2-D ''HP''', 1, "
                        "'Differential pressure transmitter for high static pressure')",
                        "INSERT INTO PRanges VALUES ('K9P2-D ''HP''', 'O''Neill 16 bar')",
                        "INSERT INTO PRangeData VALUES ('K9P2-D ''HP''', 'O''Neill 16 bar', "
                        "'scaleInHiLim', '16')"});
        auto dialog = openDialog();
        select(dialog->lstDeviceID, "K9P2-D 'HP'");
        QCOMPARE(texts(dialog->lstPRanges), QStringList{"O'Neill 16 bar"});

        dialog->cmdOK->click();

        QCOMPARE(value("scaleInHiLim"), QStringLiteral("16"));
    }

    void rebuiltWhenOlderThanTheScript_data()
    {
        QTest::addColumn<bool>("stale");
        QTest::newRow("older: built anew") << true;
        QTest::newRow("newer: kept") << false;
    }
    void rebuiltWhenOlderThanTheScript()
    {
        QFETCH(bool, stale);
        changeDatabase({"DELETE FROM DeviceTypes WHERE label = 'K9P2-A'"});
        if (stale) {
            QFile file(databasePath());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0)),
                                     QFileDevice::FileModificationTime));
        }
        auto dialog = openDialog();
        QCOMPARE(dialog->lstDeviceID->count(), stale ? 2 : 1);
    }

    // A database newer than its script but damaged is found on opening and
    // built anew, instead of a dialog without device types and no word why.
    void damagedDatabaseIsRebuilt_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("garbage") << "garbage";
        QTest::newRow("empty") << "empty";
        QTest::newRow("cut short") << "cut short";
        QTest::newRow("a table missing") << "a table missing";
    }
    void damagedDatabaseIsRebuilt()
    {
        QFETCH(QString, damage);
        damageDatabase(damage);
        ScriptedMessageBox box;

        auto dialog = openDialog();

        QVERIFY(box.asked().isEmpty());
        QCOMPARE(texts(dialog->lstDeviceID), (QStringList{"K9P2-A", "K9P2-D"}));
        QVERIFY(dialog->cmdOK->isEnabled());
        QCOMPARE(DefaultDatasetDatabase::Damage(databasePath()), QString());
    }

    void damagedDatabaseInAReadOnlyFolder()
    {
        ScratchFileSystem disk;
        QTemporaryDir plain;
        QString folder = disk.path();
        if (!disk.isMounted() && geteuid() == 0)
            QSKIP(qPrintable(disk.reason()));
        if (!disk.isMounted())
            folder = plain.path(); // without root a plain folder can be read-only
        const QString file = QDir(folder).filePath(DefaultDatasetDatabase::FileName);
        QVERIFY(writeFile(file, "not a database at all"));
        if (disk.isMounted())
            QVERIFY(disk.makeReadOnly());
        else
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        setItem("&&private_PM&&VexDPath", folder + QDir::separator());
        const QString before = value("scaleInHiLim");
        ScriptedMessageBox box;

        auto dialog = openDialog();

        QTRY_VERIFY(!dialog->isVisible());
        QCOMPARE(box.asked().size(), 1);
        const QString text = box.asked().first().text;
        QVERIFY2(text.startsWith(
                     FormatResText(GetResText(3902), {QDir::toNativeSeparators(folder + "/")})),
                 qPrintable(text));
        QVERIFY(!text.contains(GetResText(2576)));
        QCOMPARE(value("scaleInHiLim"), before);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A query that fails on OK leaves the dataset as it was: nothing is
    // written before everything was read.
    void failedQueryChangesNothing()
    {
        auto dialog = openDialog();
        select(dialog->lstDeviceID, "K9P2-D");
        const QStringList items{"filterTime", "scaleInHiLim", "primaryValueUnit",
                                "staticPressureHiLim", "InCompatibleDataset"};
        setItem("filterTime", "42");
        setItem("InCompatibleDataset", "3");
        QStringList before;
        for (const QString &item : items)
            before << value(item.toLatin1().constData());
        changeDatabase({"DROP TABLE PRangeData"});
        ScriptedMessageBox box;

        dialog->cmdOK->click();

        QCOMPARE(box.asked().size(), 1);
        QVERIFY(box.asked().first().text.startsWith(GetResText(2576) + QLatin1Char('\n')));
        QStringList after;
        for (const QString &item : items)
            after << value(item.toLatin1().constData());
        QCOMPARE(after, before);
        QCOMPARE(value("currentSequence"), QString());
        QVERIFY(m_main->isEnabled());
    }
};

VEX_TEST(TstSelectDefaultDataset)
#include "tst_SelectDefaultDataset.moc"
