#pragma once

#include "IVexaForm.h"
#include "ResStringTable.h"

#include <QWidget>
#include <functional>
#include <memory>

class AppletItemManager;
class IBusyDeviceInfo;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class VexaAppItem;
class VexaControlItemHandler;
class VexaSequenceItem;
class ctlBusyWindow;

// The busy window: which sequence runs, its progress, device-busy answers,
// and Cancel. It follows the items the always-started components publish
// ("currentSequence", "currentResponseCode", ...) and never calls them.
class frmBusyWindow : public QWidget, public IVexaForm
{
    Q_OBJECT

public:
    static constexpr int TimerIntervalMs = 2000;
    static constexpr int DeviceBusyResponse = 32;
    static constexpr double SilentSequenceState = 128;

    using DeviceInfoFactory = std::function<std::shared_ptr<IBusyDeviceInfo>()>;
    // Where the program's device information plugs in; by default the busy
    // window reads tag and descriptor itself.
    static void setDeviceInfoFactory(DeviceInfoFactory factory);
    // This library's texts, looked up in the user's language.
    static QString ResText(qint16 id);

    frmBusyWindow(ctlBusyWindow *owner, std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    ~frmBusyWindow() override;

    void Load();
    void Unload();
    void Show();
    void Hide();
    bool isShown() const { return m_shown; }
    bool isRegistered() const { return m_registered; }

    IViewEx *viewRef() const override { return nullptr; }
    void setViewRef(IViewEx *) override {}
    QString GetTextFromResource(qint16 &) const override { return QString(); }
    void UpdateVexaControls() override {}

    VexaAppItem *const appCurrentSequence;
    VexaAppItem *const appCurrentRecord;
    VexaAppItem *const appCurrentResponseCode;
    VexaAppItem *const appConnectionStatus;
    VexaAppItem *const appAbortSequences;
    VexaAppItem *const appSequenceProgress;
    VexaSequenceItem *const sequenceItem;
    VexaControlItemHandler *const VexaControlItemHandler1;
    QProgressBar *const ProgressBar;
    QLabel *const lblDeviceStatus;
    QPushButton *const cmdCancel;
    QTimer *const Timer1;

protected:
    // The title bar's close button and Escape do what Cancel does, or
    // nothing while the sequence cannot be cancelled: the window never goes
    // while its host stays disabled.
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void fitStatusTexts();
    void centreOverHost();
    void appCurrentSequence_ValueChanged(const QString &sequenceName);
    void bindRunningSequence(const QString &sequenceName);
    void appSequenceProgress_ValueChanged(const QString &value);
    void appCurrentResponseCode_ValueChanged();
    void appConnectionStatus_ValueChanged();
    void cmdCancel_Click();
    void Timer1_Timer();

    std::shared_ptr<AppletItemManager> m_manager;
    ctlBusyWindow *m_owner;
    std::shared_ptr<IBusyDeviceInfo> m_deviceInfo;
    bool m_registered = false;
    bool m_shown = false;
    quint8 m_lastResponseCode = 0;
};
