#pragma once

#include "DialogDeviceInfo.h"
#include "mainwin/clsVexaForm.h"

#include <array>

class QButtonGroup;
class QLabel;
class QRadioButton;
class QTabWidget;
class VexaAppItem;

// General settings, current output limits and alarm current, sensor data,
// remote seals and the installation angle, on five pages. The framework
// controls bind their items themselves; the dialog decides which pages the
// device has and shows the installation angle.
class frmBasicParameter : public clsVexaForm
{
    Q_OBJECT

public:
    enum Page
    {
        General = 0,
        Current = 1,
        Sensor = 2,
        RemoteSeal = 3,
        InstallationAngle = 4,
        Pages = 5
    };
    static constexpr int Angles = 5;
    // The installation angle exists from this software version on.
    static constexpr std::array<quint8, 3> InstallationAngleFrom{1, 5, 0};

    explicit frmBasicParameter(QWidget *parent = nullptr);
    ~frmBasicParameter() override;

    QTabWidget *tbsOptions;
    std::array<QWidget *, Pages> picOptions{};
    std::array<QRadioButton *, Angles> Option1{};
    std::array<QLabel *, Angles> lblDirty{};
    std::array<QLabel *, Angles> Image1{};
    VexaAppItem *appInstallationAngle;
    VexaAppItem *appSoftwareRevision;
    VexaAppItem *appNumberRemoteSeal;
    VexaAppItem *appConnectionStatus;

    bool isPageOffered(Page page) const;

protected:
    void FormActivated() override;
    void FormUnload() override;

private:
    void buildPages();
    QWidget *buildAnglePage();
    void offerAnglePage();
    void offerRemoteSealPage();
    void showAngle();
    void chooseAngle(int angle);

    DialogDeviceInfo m_deviceInfo;
    QButtonGroup *m_angles = nullptr;
};
