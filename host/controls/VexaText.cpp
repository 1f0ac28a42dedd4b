#include "VexaText.h"

#include "VexaItemBinding.h"
#include "VexaValueEdit.h"

VexaText::VexaText(QWidget *parent) : VexaFieldControl(new VexaValueEdit, parent)
{
    setVisibleUnit(false);
}

VexaValueEdit *VexaText::edit() const
{
    return static_cast<VexaValueEdit *>(fieldPart());
}

int VexaText::decimalPlaces() const
{
    return edit()->decimalPlaces();
}

void VexaText::setDecimalPlaces(int places)
{
    edit()->setDecimalPlaces(places);
}

void VexaText::bindField(const std::shared_ptr<AppletItemManager> &manager)
{
    VexaFieldControl::bindField(manager);
    edit()->setSubject(subject());
    edit()->setBinding(&fieldBinding());
}

void VexaText::unbindField()
{
    edit()->setBinding(nullptr);
}

void VexaText::showField()
{
    // The edit follows its binding itself; this covers binding and unbinding.
    edit()->showHostValue(!fieldBinding().isBound());
}

void VexaText::commitField()
{
    edit()->commit();
}
