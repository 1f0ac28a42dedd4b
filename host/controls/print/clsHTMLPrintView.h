#pragma once

#include "View.h"

#include <QObject>
#include <QPointer>
#include <memory>

class clsHTMLPrintWindow;

// The host's print view "HTMLPrintViewSingle.clsHTMLPrintView": when attached
// to a device instance it shows "prt_.htm" from the instance's description
// folder with the placeholders filled from the dataset, in one window shared
// by every request. The window keeps what it shows after the view has left
// the host.
class clsHTMLPrintView : public QObject, public View
{
    Q_OBJECT

public:
    static constexpr const char *ProgId = "HTMLPrintViewSingle.clsHTMLPrintView";
    static constexpr const char *ReportFile = "prt_.htm";

    clsHTMLPrintView();
    ~clsHTMLPrintView() override;

    qint32 SetAppletItemManagRef(qint32 lViewHandle,
                                 std::shared_ptr<AppletItemManager> clsAppletItemManager) override;
    qint32 Show() override;
    qint32 Hide() override { return 0; }
    qint32 Destroy() override;
    qint32 NotifyChanged(qint32, bool, qint32, qint32) override { return 0; }

    // The one window of the print view, null while none is open.
    static clsHTMLPrintWindow *window();

private:
    QString reportHtml(const QString &folder) const;
    std::optional<QString> itemText(const QString &name) const;
    bool connected() const;
    void leaveHost();

    std::shared_ptr<AppletItemManager> m_manager;
    qint32 m_viewHandle = 0;
};

// Announces the print view to the host, as object and as view.
void registerHtmlPrintView();
