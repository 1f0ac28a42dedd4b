#include "VexaLabelComboUnit.h"

#include "VexaEnumCombo.h"
#include "VexaItemBinding.h"

VexaLabelComboUnit::VexaLabelComboUnit(QWidget *parent)
    : VexaFieldControl(new VexaEnumCombo, parent), m_limit(new VexaItemBinding(this))
{
}

VexaEnumCombo *VexaLabelComboUnit::combo() const
{
    return static_cast<VexaEnumCombo *>(fieldPart());
}

void VexaLabelComboUnit::bindField(const std::shared_ptr<AppletItemManager> &manager)
{
    VexaFieldControl::bindField(manager);
    m_limit->bind(manager, QStringLiteral("&&ObjectLimit&&") + fieldItem());
    combo()->setSubject(subject());
    combo()->setBindings(&fieldBinding(), m_limit);
}

void VexaLabelComboUnit::unbindField()
{
    m_limit->unbind();
    combo()->setBindings(nullptr, nullptr);
}

void VexaLabelComboUnit::showField()
{
    combo()->showHostValue();
}
