#pragma once

#include <QList>
#include <QWidget>

class QJsonArray;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// The program's help: one window with a contents tree, a keyword index and
// the page, over the help pages compiled into the program in the user's
// language. Each language folder holds "contents.json" (the tree of page
// files); a page's <title> names it in the tree and its
// <meta name="keywords" content="a; b"> puts it into the index.
class HelpBrowser : public QWidget
{
    Q_OBJECT

public:
    // The commands of the Help menu: the one help window, on the contents or
    // on the index. A help set that cannot be read is reported in a message box.
    static void showContents(QWidget *parent);
    static void showIndex(QWidget *parent);
    // Closes the help window (the main window closes it when it goes).
    static void closeAll();
    static HelpBrowser *current();

    // "en" or "de"; the folder of the help set is ":/help/" + language.
    explicit HelpBrowser(const QString &language, QWidget *parent = nullptr);

    bool load(QString *error);
    QString language() const { return m_language; }
    void showPage(const QString &page);
    // The page of the first keyword that starts with text; empty when none.
    QString findKeyword(const QString &text) const;
    QStringList keywords() const;

    QTabWidget *tbsNavigation;
    QTreeWidget *treContents;
    QLineEdit *txtKeyword;
    QListWidget *lstIndex;
    QTextBrowser *txtPage;

private:
    static HelpBrowser *open(QWidget *parent);
    QString folder() const;
    bool addPages(const QJsonArray &pages, QTreeWidgetItem *parentItem, QString *error);
    bool readPage(const QString &page, QString *title, QString *error);
    void keywordEdited(const QString &text);

    QString m_language;
    struct IndexEntry
    {
        QString keyword;
        QString page;
    };
    QList<IndexEntry> m_index; // sorted by keyword, without regard to case
};
