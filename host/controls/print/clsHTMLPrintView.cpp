#include "clsHTMLPrintView.h"

#include "AppletItemManager.h"
#include "DescriptionTexts.h"
#include "HostLog.h"
#include "HtmlReportFiller.h"
#include "ProgIdRegistry.h"
#include "clsAppItem.h"
#include "clsHTMLPrintWindow.h"

#include <QDate>
#include <QFile>
#include <QLocale>

namespace {
QPointer<clsHTMLPrintWindow> &theWindow()
{
    static QPointer<clsHTMLPrintWindow> window;
    return window;
}

const QString PrintDate = QStringLiteral("@printDate");
// True while a device is connected: what is checked against the device
// means nothing without one.
const QString Connected = QStringLiteral("@connected");
constexpr qint32 FloatType = 4;
constexpr qint32 DateType = 8;
constexpr double ConnectedStatus = 2;

// The view is known to the host as soon as the library is loaded.
const bool registered = (registerHtmlPrintView(), true);
} // namespace

void registerHtmlPrintView()
{
    const QString progId = QLatin1String(clsHTMLPrintView::ProgId);
    ProgIdRegistry::instance().registerObject(progId,
                                              [] { return std::make_shared<clsHTMLPrintView>(); });
    ProgIdRegistry::instance().registerView(progId,
                                            [] { return std::make_shared<clsHTMLPrintView>(); });
}

clsHTMLPrintView::clsHTMLPrintView() = default;

clsHTMLPrintView::~clsHTMLPrintView()
{
    leaveHost();
}

clsHTMLPrintWindow *clsHTMLPrintView::window()
{
    return theWindow().data();
}

qint32
clsHTMLPrintView::SetAppletItemManagRef(qint32 lViewHandle,
                                        std::shared_ptr<AppletItemManager> clsAppletItemManager)
{
    m_manager = std::move(clsAppletItemManager);
    m_viewHandle = lViewHandle;
    clsAppItem folderItem;
    folderItem.Register(m_manager, QStringLiteral("&&private_PM&&VexDPath"));
    const QString folder = folderItem.StringValue();
    const QString html = reportHtml(folder);

    if (!theWindow()) {
        theWindow() = new clsHTMLPrintWindow;
        theWindow()->setAttribute(Qt::WA_DeleteOnClose);
    }
    theWindow()->setReport(html, folder);
    Show();
    // Everything is read: the window needs the host no longer.
    leaveHost();
    return 0;
}

qint32 clsHTMLPrintView::Show()
{
    if (clsHTMLPrintWindow *w = window()) {
        w->show();
        w->raise();
        w->activateWindow();
    }
    return 0;
}

qint32 clsHTMLPrintView::Destroy()
{
    leaveHost();
    return 0;
}

void clsHTMLPrintView::leaveHost()
{
    if (!m_manager)
        return;
    const auto manager = std::move(m_manager);
    m_manager.reset();
    manager->fncUnregisterView(this);
}

QString clsHTMLPrintView::reportHtml(const QString &folder) const
{
    QFile file(folder + QLatin1String(ReportFile));
    if (folder.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("<p>") +
               tr("There is no report file: %1").arg(file.fileName()).toHtmlEscaped() +
               QStringLiteral("</p>");
    }
    return HtmlReportFiller::fill(QString::fromUtf8(file.readAll()),
                                  [this](const QString &name) { return itemText(name); });
}

bool clsHTMLPrintView::connected() const
{
    clsAppItem status;
    try {
        status.Register(m_manager, QStringLiteral("&&private&&Connect"));
        return status.UIntValue() == ConnectedStatus;
    } catch (const std::exception &error) {
        qCInfo(lcHost).noquote() << "report taken as not connected:" << error.what();
        return false;
    }
}

// An enumerated item shows its text in the user's language, every other
// item its string form.
std::optional<QString> clsHTMLPrintView::itemText(const QString &name) const
{
    if (name == PrintDate)
        return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    if (name == Connected)
        return connected() ? QStringLiteral("1") : QStringLiteral("0");
    // "{{item:version}}": octets as the dialogs show a version, "1.5.2".
    const QString VersionFormat = QStringLiteral(":version");
    if (name.endsWith(VersionFormat)) {
        clsAppItem version;
        try {
            version.Register(m_manager, name.chopped(VersionFormat.size()));
            QStringList parts;
            for (char byte : version.OctetValue().toByteArray())
                parts << QString::number(quint8(byte));
            return parts.join(QLatin1Char('.'));
        } catch (const std::exception &error) {
            qCInfo(lcHost).noquote()
                << "report field" << name << "stays as written:" << error.what();
            return std::nullopt;
        }
    }
    clsAppItem item;
    try {
        item.Register(m_manager, name);
    } catch (const std::exception &error) {
        qCInfo(lcHost).noquote() << "report field" << name << "stays as written:" << error.what();
        return std::nullopt;
    }
    const QString text = item.hasEnumeration() ? item.EnumValue() : QString();
    if (!text.isEmpty())
        return DescriptionTexts::translated(text);
    // The host writes numbers with '.'; the reader expects the separator of
    // the language the report is shown in.
    if (item.DataType() == FloatType)
        return item.StringValue().replace(QLatin1Char('.'), QLocale().decimalPoint());
    if (item.DataType() == DateType) {
        const QDate date = QDate::fromString(item.StringValue(), Qt::ISODate);
        if (date.isValid())
            return QLocale().toString(date, QLocale::ShortFormat);
    }
    return item.StringValue();
}
