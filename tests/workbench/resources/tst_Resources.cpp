#include "TestRegistry.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QSvgRenderer>
#include <QTest>

namespace {

// Ids the dialogs, menus and messages look up; each must be in the table.
const int NamedIds[] = {
    1000, 1001, 1002, 1004, 1005, 1008, 1011, 1012, 1015, 1016, 1021, 1022, 1023, 1024, 1025, 1026,
    1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1042, 1045, 1046, 1048, 1050,
    1055, 1056, 1064, 1065, 1066, 1067, 1068, 1069, 1070, 1071, 1072, 1073, 1094, 1095, 1096, 1100,
    1101, 1102, 1103, 2000, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2011, 2015, 2017, 2018,
    2019, 2020, 2021, 2022, 2023, 2025, 2026, 2027, 2030, 2031, 2032, 2033, 2035, 2036, 2037, 2038,
    2039, 2040, 2041, 2042, 2043, 2044, 2045, 2046, 2047, 2048, 2049, 2051, 2052, 2053, 2063, 2066,
    2069, 2078, 2079, 2083, 2087, 2090, 2091, 2092, 2093, 2094, 2095, 2096, 2098, 2100, 2101, 2102,
    2103, 2104, 2105, 2106, 2108, 2109, 2112, 2120, 2122, 2123, 2124, 2130, 2131, 2132, 2133, 2134,
    2135, 2136, 2137, 2139, 2140, 2141, 2142, 2144, 2145, 2146, 2147, 2148, 2149, 2152, 2153, 2154,
    2155, 2169, 2184, 2206, 2212, 2213, 2219, 2227, 2235, 2236, 2250, 2251, 2253, 2254, 2259, 2260,
    2262, 2263, 2269, 2270, 2271, 2272, 2273, 2281, 2283, 2284, 2286, 2534, 2537, 2543, 2561, 2562,
    2563, 2566, 2576, 2596, 2604, 2609, 2627, 3000, 3001, 3002, 3003, 3010, 3011, 3012, 3020, 3021,
    3022, 3024, 3025, 3026, 3030, 3040, 3041, 3042, 3043, 3044, 3045, 3500, 3501, 3502, 3503, 3505,
    3511, 3512, 3513, 3514, 3515, 3516, 3518, 3519, 3520, 3521, 3522, 3523, 3600, 3920, 3921, 3922,
    3923, 3924};

// Ids the table deliberately lacks: their elements keep their design texts.
const int AbsentIds[] = {1003, 2303, 2304, 2305, 2306, 2307, 2308, 2309, 2577, 2578, 2579, 2603};

struct Table
{
    QHash<int, QStringList> texts;
    QStringList problems;
};

Table readTable()
{
    Table table;
    QFile file(QStringLiteral(":/strings/strings.tsv"));
    if (!file.open(QIODevice::ReadOnly)) {
        table.problems << QStringLiteral("the table is not in the resources");
        return table;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString content = utf8(file.readAll());
    if (utf8.hasError())
        table.problems << QStringLiteral("not UTF-8");
    const QStringList lines = content.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString &line = lines[n];
        if (line.isEmpty() && n == lines.size() - 1)
            break; // the newline that ends the last line
        const QStringList fields = line.split(QLatin1Char('\t'));
        bool ok = false;
        const int id = fields.value(0).toInt(&ok);
        const QString where = QStringLiteral("line %1: ").arg(n + 1);
        if (fields.size() != 3 || !ok || id < 1 || id > 65535)
            table.problems << where + QStringLiteral("not id<TAB>English<TAB>German");
        else if (fields[1].isEmpty() || fields[2].isEmpty())
            table.problems << where + QStringLiteral("a language is missing");
        else if (table.texts.contains(id))
            table.problems << where + QStringLiteral("id %1 twice").arg(id);
        else if (line.contains(QLatin1Char('\r')))
            table.problems << where + QStringLiteral("carriage return");
        else
            table.texts.insert(id, fields.mid(1));
    }
    return table;
}

} // namespace

// The program's string table and pictures as the resources hold them.
class tst_Resources : public QObject
{
    Q_OBJECT

private:
    Table m_table;

private Q_SLOTS:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        m_table = readTable();
    }

    void tableIsWellFormed()
    {
        QVERIFY2(m_table.problems.isEmpty(), qPrintable(m_table.problems.join(u'\n')));
    }

    void namedIdsArePresentAndAbsentOnesAbsent()
    {
        QStringList missing, unexpected;
        for (int id : NamedIds) {
            if (!m_table.texts.contains(id))
                missing << QString::number(id);
        }
        for (int id : AbsentIds) {
            if (m_table.texts.contains(id))
                unexpected << QString::number(id);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("missing: ") + missing.join(u' ')));
        QVERIFY2(unexpected.isEmpty(),
                 qPrintable(QStringLiteral("present: ") + unexpected.join(u' ')));
    }

    void texts()
    {
        QCOMPARE(m_table.texts.value(2123), QStringList({"%1 Close", "%1 schließen"}));
        // A line break stays the two characters \n, as the dialogs expect it.
        QVERIFY(m_table.texts.value(2534).value(0).contains(QLatin1String("process.\\nStart")));
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"ICON",
                                 "SPLASH_SCREEN",
                                 "ABOUT",
                                 "BACKGROUND640",
                                 "BACKGROUND800",
                                 "BACKGROUND1024",
                                 "BACKGROUND1280",
                                 "BACKGROUND1600",
                                 "TOOLBAR_FILE_NEW",
                                 "TOOLBAR_FILE_OPEN",
                                 "TOOLBAR_FILE_SAVE",
                                 "TOOLBAR_PRINT_PREVIEW",
                                 "TOOLBAR_COPY",
                                 "TOOLBAR_PASTE",
                                 "TOOLBAR_CONNECT",
                                 "TOOLBAR_DISCONNECT",
                                 "TOOLBAR_READ_FROM_DEVICE",
                                 "TOOLBAR_WRITE_TO_DEVICE",
                                 "TOOLBAR_DIAGNOSTICS",
                                 "TOOLBAR_HELP",
                                 "OK",
                                 "ACHTUNG"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void pictures()
    {
        QFETCH(QString, name);
        QSvgRenderer picture(QStringLiteral(":/pictures/%1.svg").arg(name));
        QVERIFY(picture.isValid());
        QVERIFY(!picture.defaultSize().isEmpty());
    }
};

VEX_TEST(tst_Resources)
#include "tst_Resources.moc"
