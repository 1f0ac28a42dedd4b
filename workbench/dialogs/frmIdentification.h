#pragma once

#include "mainwin/clsVexaForm.h"

class QLabel;
class QTabWidget;
class VexaAppItem;

// The device's identity (tag, descriptor, message, manufacturer, numbers) and
// its revisions. The framework controls bind their items; the dialog formats
// the revision numbers.
class frmIdentification : public clsVexaForm
{
    Q_OBJECT

public:
    explicit frmIdentification(QWidget *parent = nullptr);
    ~frmIdentification() override;

    QTabWidget *tbsOptions;
    QWidget *picOptions0;
    QLabel *lblCommType;
    QLabel *lblSoftwareRevisionHart;
    QLabel *lblHardwareRev;
    QLabel *lblSoftwareRevision;
    VexaAppItem *app_hardwareRev;
    VexaAppItem *app_softwareRevisionHART;
    VexaAppItem *appSoftwareRevision;
    VexaAppItem *appUnivCmdRev;

protected:
    void FormActivated() override;

private:
    void buildPage();
};
