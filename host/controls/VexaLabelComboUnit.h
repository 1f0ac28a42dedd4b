#pragma once

#include "VexaFieldControl.h"

class VexaEnumCombo;
class VexaItemBinding;

// Caption, a selection of the enumerated item "objectnamecombo" and a unit.
class VexaLabelComboUnit : public VexaFieldControl
{
    Q_OBJECT
    Q_PROPERTY(QString objectnamecombo READ objectNameCombo WRITE setObjectNameCombo)
    Q_PROPERTY(QString ObjectNameCombo READ objectNameCombo WRITE setObjectNameCombo)
    Q_PROPERTY(int leftcombo READ leftCombo WRITE setLeftCombo)
    Q_PROPERTY(int widthcombo READ widthCombo WRITE setWidthCombo)

public:
    explicit VexaLabelComboUnit(QWidget *parent = nullptr);

    const QString &objectNameCombo() const { return fieldItem(); }
    void setObjectNameCombo(const QString &name) { setFieldItem(name); }
    int leftCombo() const { return fieldLeft(); }
    void setLeftCombo(int pixels) { setFieldLeft(pixels); }
    int widthCombo() const { return fieldWidth(); }
    void setWidthCombo(int pixels) { setFieldWidth(pixels); }

    VexaEnumCombo *combo() const;

protected:
    void bindField(const std::shared_ptr<AppletItemManager> &manager) override;
    void unbindField() override;
    void showField() override;

private:
    // The host's selectable entries of the item, where it keeps them.
    VexaItemBinding *m_limit;
};
