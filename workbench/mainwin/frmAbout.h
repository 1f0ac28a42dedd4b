#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: picture, product, version, the copyright warning, and a
// button that starts the desktop's system-information program. Shown modal,
// owned by the main window.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    // The machine-wide settings key of the installed product.
    static constexpr const char *ProductOrganization = "Varnel Automation Products";
    static constexpr const char *ProductApplication = "Varnel DTMTARVIK-HART";
    static constexpr const char *VersionValue = "Version";
    // Where an installation names its system-information program.
    static constexpr const char *SystemInfoValue = "SystemInfoPath";

    explicit frmAbout(QWidget *parent = nullptr);

    // "Version " and the installed version, or "Version 01.01.00".
    static QString VersionText();
    // The configured system-information program, else one of the desktop's
    // own; empty when there is none.
    static QString SystemInfoProgram();
    // The fallback message when no program can be started.
    static QString SystemInfoMissingText();
    // The program, the system it runs on and where it keeps its files, in
    // the user's language: shown when no system information program is there.
    static QString SystemInformation();

    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QLabel *lblDisclaimer;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;

private:
    void StartSysInfo();
};
