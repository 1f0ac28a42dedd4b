#pragma once

#include "clsComponentBase.h"

#include <QList>
#include <QStringList>
#include <optional>

class clsAppItem;
class clsAppItemCollection;

// Makes the device report when "generateHTMLPrintOut" is set to 1: copies
// the country's template to the report files, with the rows of its tables
// from the program (IReportTables), and opens the host's print view.
class clsHtmlReportFactory final : public clsComponentBase
{
    Q_OBJECT

public:
    static constexpr const char *PrintViewProgId = "HTMLPrintViewSingle.clsHTMLPrintView";

    clsHtmlReportFactory();
    ~clsHtmlReportFactory() override;

    // "gv/gv049.htm" and the like, relative to the description folder.
    static QString templateName(quint32 countryCode);
    static QString reportName(quint32 countryCode);

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;

private:
    void m_GenerateHTMLPrintOut_ValueUpdate(QString &appItemValue);
    void CreateGeneralViewTemplate();
    void openPrintView();
    std::optional<QList<QStringList>> reportRows(const QString &name) const;

    std::unique_ptr<clsAppItemCollection> m_items;
    std::shared_ptr<clsAppItem> m_GenerateHTMLPrintOut;
};
