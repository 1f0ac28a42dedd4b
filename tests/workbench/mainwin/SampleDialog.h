#pragma once

#include "IViewEx.h"
#include "mainwin/clsVexaForm.h"

#include <memory>

class QLineEdit;
class QPushButton;
class VexaAppItem;
class VexaSequenceItem;

// The view that opened a dialog: here only the host's manager.
class SampleView : public IViewEx
{
public:
    explicit SampleView(std::shared_ptr<AppletItemManager> manager) : m_manager(std::move(manager))
    {
    }
    std::shared_ptr<AppletItemManager> appletItemManagerRef() const override { return m_manager; }
    void UnRegisterView() override { m_manager.reset(); }

private:
    std::shared_ptr<AppletItemManager> m_manager;
};

// A dialog built only from its design data and its reactions: the texts
// come from the string table by id, the values from its item controls.
class SampleDialog : public clsVexaForm
{
    Q_OBJECT

public:
    // The string table the sample's ids refer to.
    static const char *const Strings;

    explicit SampleDialog(QWidget *parent = nullptr);

    VexaAppItem *appLowerRange;
    VexaAppItem *appMessage;
    VexaSequenceItem *seqSetLowerRange;
    QLineEdit *txtLowerRange;
    QLineEdit *txtMessage;
    QPushButton *cmdSetLowerRange;
    QPushButton *cmdSaveToDevice;
    int activations = 0;

protected:
    void FormActivated() override { ++activations; }
};
