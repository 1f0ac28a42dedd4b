#include "clsHtmlReportFactory.h"

#include "Applet.h"
#include "AppletItemManager.h"
#include "IReportTables.h"
#include "MessageBoxSeam.h"
#include "ReportTables.h"
#include "Toolkit.h"
#include "View.h"
#include "clsAppItemCollection.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cmath>

namespace {
constexpr int FileNotFound = 1001;
constexpr int CannotWriteReport = 1002;

QString number(quint32 countryCode)
{
    return QStringLiteral("%1").arg(countryCode, 3, 10, QLatin1Char('0'));
}
} // namespace

clsHtmlReportFactory::clsHtmlReportFactory() = default;
clsHtmlReportFactory::~clsHtmlReportFactory() = default;

QString clsHtmlReportFactory::templateName(quint32 countryCode)
{
    return QStringLiteral("gv/gv") + number(countryCode) + QStringLiteral(".htm");
}

QString clsHtmlReportFactory::reportName(quint32 countryCode)
{
    return QStringLiteral("prt_") + number(countryCode) + QStringLiteral(".htm");
}

void clsHtmlReportFactory::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    m_items = std::make_unique<clsAppItemCollection>();
    m_items->Add(QStringLiteral("&&private&&countrycode"), false, 0, nullptr, QString(),
                 QStringLiteral("CountryCode"));
    m_items->Add(QStringLiteral("&&private_PM&&VexDPath"), false, 0, nullptr, QString(),
                 QStringLiteral("VexdPath"));
    m_GenerateHTMLPrintOut = m_items->Add(QStringLiteral("generateHTMLPrintOut"), false, 0);
    connect(m_GenerateHTMLPrintOut.get(), &clsAppItem::ValueUpdate, this,
            &clsHtmlReportFactory::m_GenerateHTMLPrintOut_ValueUpdate);
    m_items->Register(manager);
}

void clsHtmlReportFactory::unregisterItems()
{
    m_items->UnRegister();
}

void clsHtmlReportFactory::m_GenerateHTMLPrintOut_ValueUpdate(QString &)
{
    if (!isRegistered() || m_GenerateHTMLPrintOut->UIntValue() != 1)
        return;
    // Reset first, so that the next request is heard as a change.
    m_GenerateHTMLPrintOut->setUIntValue(0);
    CreateGeneralViewTemplate();
    openPrintView();
}

void clsHtmlReportFactory::CreateGeneralViewTemplate()
{
    const QString folder = m_items->Item(QStringLiteral("VexdPath"))->StringValue();
    const auto countryCode =
        quint32(std::lrint(m_items->Item(QStringLiteral("CountryCode"))->UIntValue()));

    // Old reports go whatever comes next; one that cannot be removed is
    // overwritten below or stays unused.
    QDir dir(folder);
    for (const QString &old : dir.entryList({QStringLiteral("prt_*.htm")}, QDir::Files))
        dir.remove(old);

    const QString templatePath = folder + templateName(countryCode);
    int error = 0;
    QFile source(templatePath);
    if (folder.isEmpty() || !source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = FileNotFound;
    } else {
        // The report is UTF-8, as the print view reads it.
        const QByteArray text =
            ReportTables::fill(QString::fromUtf8(source.readAll()), [this](const QString &name) {
                return reportRows(name);
            }).toUtf8();
        QSaveFile report(folder + reportName(countryCode));
        const bool written = report.open(QIODevice::WriteOnly) &&
                             report.write(text) == text.size() && report.commit();
        if (!written ||
            !QFile::copy(folder + reportName(countryCode), folder + QStringLiteral("prt_.htm")))
            error = CannotWriteReport;
    }
    if (error != 0)
        MessageBoxSeam::show(nullptr, QMessageBox::NoIcon, QString(),
                             Toolkit_LoadResource(error) + QStringLiteral(": ") +
                                 QDir::toNativeSeparators(templatePath));
}

// The rows come from whoever the program registered for the report's tables;
// without one the tables are left out.
std::optional<QList<QStringList>> clsHtmlReportFactory::reportRows(const QString &name) const
{
    const auto manager = this->manager();
    const auto applet = manager ? manager->fncGetApplet() : nullptr;
    if (!applet)
        return std::nullopt;
    const std::shared_ptr<QObject> source =
        applet->fncCreateObject(QLatin1String(IReportTables::ProgId));
    auto *tables = dynamic_cast<IReportTables *>(source.get());
    return tables ? tables->ReportRows(name) : std::nullopt;
}

// The print view shows the report of this device instance: when the host
// hands out a view, it is attached to the instance's manager.
void clsHtmlReportFactory::openPrintView()
{
    const auto manager = this->manager();
    if (!manager)
        return;
    const auto applet = manager->fncGetApplet();
    if (!applet)
        return;
    std::shared_ptr<QObject> printView = applet->fncCreateObject(QLatin1String(PrintViewProgId));
    if (auto *view = dynamic_cast<View *>(printView.get()))
        manager->fncRegisterView(view);
}
