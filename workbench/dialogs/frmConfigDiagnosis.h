#pragma once

#include "mainwin/clsVexaForm.h"

#include <array>

class DiagnosisCheckGrid;
class QLabel;
class VexaAppItem;

// Which diagnosis bits make the device signal "Failure": one box per bit the
// device lets the user choose (its configuration mask). The values go to the
// device with the dataset; the markers show what is not yet sent.
class frmConfigDiagnosis : public clsVexaForm
{
    Q_OBJECT

public:
    static constexpr int Categories = 4;

    explicit frmConfigDiagnosis(QWidget *parent = nullptr);
    ~frmConfigDiagnosis() override;

    std::array<VexaAppItem *, Categories> appStatus{};
    VexaAppItem *appConfigurationMask;
    VexaAppItem *appConnectionStatus;
    QLabel *lblHint;
    DiagnosisCheckGrid *checks;

protected:
    void FormActivated() override;

private:
    void showCategory(int category);
    void showAllCategories();
    void showSelectable();
    void boxClicked(int box, bool checked);

    bool m_updatingChecks = false;
};
