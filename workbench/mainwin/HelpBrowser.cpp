#include "HelpBrowser.h"

#include "MessageBoxSeam.h"
#include "ResStringTable.h"
#include "global.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int PageRole = Qt::UserRole;

QPointer<HelpBrowser> &openBrowser()
{
    static QPointer<HelpBrowser> browser;
    return browser;
}

QString userHelpLanguage()
{
    return ResStringTable::userLanguageId() == ResStringTable::German ? QStringLiteral("de")
                                                                      : QStringLiteral("en");
}

QString htmlText(const QString &html)
{
    QString text = html;
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text.trimmed();
}

} // namespace

HelpBrowser::HelpBrowser(const QString &language, QWidget *parent)
    : QWidget(parent, Qt::Window), m_language(language)
{
    setObjectName(QStringLiteral("HelpBrowser"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Help"));

    tbsNavigation = new QTabWidget(this);
    treContents = new QTreeWidget(tbsNavigation);
    treContents->setHeaderHidden(true);
    // Long titles scroll rather than being cut off.
    treContents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    treContents->header()->setStretchLastSection(false);
    tbsNavigation->addTab(treContents, tr("Contents"));

    auto *indexPage = new QWidget(tbsNavigation);
    txtKeyword = new QLineEdit(indexPage);
    txtKeyword->setPlaceholderText(tr("Type a keyword"));
    lstIndex = new QListWidget(indexPage);
    auto *indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(txtKeyword);
    indexLayout->addWidget(lstIndex);
    tbsNavigation->addTab(indexPage, tr("Index"));

    txtPage = new QTextBrowser(this);
    txtPage->setOpenExternalLinks(true);

    auto *splitter = new QSplitter(this);
    splitter->addWidget(tbsNavigation);
    splitter->addWidget(txtPage);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({290, 570});
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    resize(860, 560);

    connect(treContents, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            showPage(item->data(0, PageRole).toString());
    });
    connect(txtKeyword, &QLineEdit::textEdited, this, &HelpBrowser::keywordEdited);
    connect(txtKeyword, &QLineEdit::returnPressed, this, [this] {
        if (QListWidgetItem *item = lstIndex->currentItem())
            showPage(item->data(PageRole).toString());
    });
    connect(lstIndex, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showPage(item->data(PageRole).toString()); });
    connect(lstIndex, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { showPage(item->data(PageRole).toString()); });
}

QString HelpBrowser::folder() const
{
    return QStringLiteral(":/help/") + m_language + QLatin1Char('/');
}

bool HelpBrowser::load(QString *error)
{
    treContents->clear();
    lstIndex->clear();
    m_index.clear();
    QFile file(folder() + QStringLiteral("contents.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.fileName() + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument contents = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!contents.isArray()) {
        *error = file.fileName() + QStringLiteral(": ") + parseError.errorString();
        return false;
    }
    if (!addPages(contents.array(), nullptr, error))
        return false;
    std::sort(m_index.begin(), m_index.end(), [](const IndexEntry &a, const IndexEntry &b) {
        return a.keyword.compare(b.keyword, Qt::CaseInsensitive) < 0;
    });
    for (const IndexEntry &entry : std::as_const(m_index)) {
        auto *item = new QListWidgetItem(entry.keyword, lstIndex);
        item->setData(PageRole, entry.page);
    }
    treContents->expandAll();
    if (treContents->topLevelItemCount() > 0)
        treContents->setCurrentItem(treContents->topLevelItem(0));
    return true;
}

bool HelpBrowser::addPages(const QJsonArray &pages, QTreeWidgetItem *parentItem, QString *error)
{
    for (const QJsonValue &value : pages) {
        const QJsonObject entry = value.toObject();
        const QString page = entry.value(QLatin1String("page")).toString();
        QString title;
        if (!readPage(page, &title, error))
            return false;
        auto *item =
            parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(treContents);
        item->setText(0, title);
        item->setData(0, PageRole, page);
        if (!addPages(entry.value(QLatin1String("children")).toArray(), item, error))
            return false;
    }
    return true;
}

bool HelpBrowser::readPage(const QString &page, QString *title, QString *error)
{
    QFile file(folder() + page);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.fileName() + QStringLiteral(": ") + file.errorString();
        return false;
    }
    const QString html = QString::fromUtf8(file.readAll());
    static const QRegularExpression titleTag(QStringLiteral("<title>(.*?)</title>"),
                                             QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression keywordsTag(
        QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""));
    *title = htmlText(titleTag.match(html).captured(1));
    if (title->isEmpty())
        *title = page;
    const QStringList keywords = keywordsTag.match(html).captured(1).split(QLatin1Char(';'));
    for (const QString &keyword : keywords) {
        if (!keyword.trimmed().isEmpty())
            m_index.append({htmlText(keyword), page});
    }
    return true;
}

void HelpBrowser::showPage(const QString &page)
{
    if (page.isEmpty())
        return;
    txtPage->setSource(QUrl(QStringLiteral("qrc") + folder() + page));
}

QStringList HelpBrowser::keywords() const
{
    QStringList list;
    for (const IndexEntry &entry : m_index)
        list.append(entry.keyword);
    return list;
}

QString HelpBrowser::findKeyword(const QString &text) const
{
    for (const IndexEntry &entry : m_index) {
        if (entry.keyword.startsWith(text.trimmed(), Qt::CaseInsensitive))
            return entry.page;
    }
    return QString();
}

void HelpBrowser::keywordEdited(const QString &text)
{
    for (int row = 0; row < lstIndex->count(); ++row) {
        if (lstIndex->item(row)->text().startsWith(text.trimmed(), Qt::CaseInsensitive)) {
            lstIndex->setCurrentRow(row);
            lstIndex->scrollToItem(lstIndex->item(row), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

HelpBrowser *HelpBrowser::current()
{
    return openBrowser();
}

HelpBrowser *HelpBrowser::open(QWidget *parent)
{
    QPointer<HelpBrowser> &browser = openBrowser();
    // A help window in another language (the user switched) is made anew.
    if (browser && browser->language() != userHelpLanguage())
        delete browser.data();
    if (!browser) {
        auto *created = new HelpBrowser(userHelpLanguage(), parent ? parent->window() : nullptr);
        QString error;
        if (!created->load(&error)) {
            delete created;
            MessageBoxSeam::show(parent, QMessageBox::Warning, tr("Help"), error);
            return nullptr;
        }
        browser = created;
        PlaceOnScreen(browser);
    }
    browser->show();
    browser->raise();
    browser->activateWindow();
    return browser;
}

void HelpBrowser::showContents(QWidget *parent)
{
    if (HelpBrowser *browser = open(parent)) {
        browser->tbsNavigation->setCurrentIndex(0);
        browser->treContents->setFocus();
    }
}

void HelpBrowser::showIndex(QWidget *parent)
{
    if (HelpBrowser *browser = open(parent)) {
        browser->tbsNavigation->setCurrentIndex(1);
        browser->txtKeyword->setFocus();
    }
}

void HelpBrowser::closeAll()
{
    if (HelpBrowser *browser = openBrowser())
        browser->close();
}
