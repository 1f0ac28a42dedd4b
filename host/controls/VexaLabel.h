#pragma once

#include "VexaFieldControl.h"

// Shows an item's value read-only beside its caption (and its unit).
class VexaLabel : public VexaFieldControl
{
    Q_OBJECT
    Q_PROPERTY(QString objectnamelabel READ objectNameLabel WRITE setObjectNameLabel)
    Q_PROPERTY(QString ObjectNameLabel READ objectNameLabel WRITE setObjectNameLabel)
    Q_PROPERTY(int lefttext READ leftText WRITE setLeftText)
    Q_PROPERTY(int widthtext READ widthText WRITE setWidthText)

public:
    explicit VexaLabel(QWidget *parent = nullptr);

    const QString &objectNameLabel() const { return fieldItem(); }
    void setObjectNameLabel(const QString &name) { setFieldItem(name); }
    int leftText() const { return fieldLeft(); }
    void setLeftText(int pixels) { setFieldLeft(pixels); }
    int widthText() const { return fieldWidth(); }
    void setWidthText(int pixels) { setFieldWidth(pixels); }

    QString valueText() const;

protected:
    void showField() override;
};
