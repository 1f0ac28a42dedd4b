#pragma once

#include "GenericDevice.h"
#include "IVexaForm.h"

#include <QWidget>

class GenericConfigurationPage;
class GenericIdentificationPage;
class GenericLoopPage;
class GenericStatusPage;
class GenericTrendPage;
class GenericValuesPage;
class HartMaster;
class QLabel;
class QPushButton;
class QTabWidget;

// The generic HART view: any device that answers command 0, through the
// universal and common-practice commands (also offered for this family's
// transmitters, which answer them too). Shows what its controller holds in
// six pages; leaving it returns a loop current it fixed to normal.
class frmGenericView : public QWidget, public IVexaForm
{
    Q_OBJECT

public:
    explicit frmGenericView(HartMaster *master, QWidget *parent = nullptr);
    ~frmGenericView() override;

    IViewEx *viewRef() const override { return m_view; }
    void setViewRef(IViewEx *view) override;
    QString GetTextFromResource(qint16 &iTextID) const override;
    void UpdateVexaControls() override {}

    GenericDevice *device() const { return m_device; }

    QLabel *lblIdentity;
    QLabel *lblRevisions;
    QLabel *lblState;
    QLabel *lblResult;
    QTabWidget *tbsGeneric;
    GenericIdentificationPage *pageIdentification;
    GenericValuesPage *pageValues;
    GenericTrendPage *pageTrend;
    GenericConfigurationPage *pageConfiguration;
    GenericLoopPage *pageLoop;
    GenericStatusPage *pageStatus;
    QPushButton *cmdRead;
    QPushButton *cmdClose;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void fitTabs();
    void refreshHeader();
    void refreshButtons();
    void actionFinished(const GenericDevice::Result &result);
    void deviceReplaced(const HartDeviceIdentity &previous);
    void stopped(const std::optional<GenericDevice::Result> &release);
    void closeFrame();

    IViewEx *m_view = nullptr;
    GenericDevice *m_device;
    bool m_placed = false;
    // Closing waits for the loop current's release.
    bool m_stopping = false;
    bool m_insideStop = false;
    bool m_stoppedAtOnce = false;
    bool m_closeAllowed = false;
};
