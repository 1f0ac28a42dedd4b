#pragma once

#include "VexaFieldControl.h"

class VexaValueEdit;

// An entry field bound to one item ("objectnametext"); the caption and the
// unit show only when they are given.
class VexaText : public VexaFieldControl
{
    Q_OBJECT
    Q_PROPERTY(QString objectnametext READ objectNameText WRITE setObjectNameText)
    Q_PROPERTY(QString ObjectNameText READ objectNameText WRITE setObjectNameText)
    Q_PROPERTY(int lefttext READ leftText WRITE setLeftText)
    Q_PROPERTY(int widthtext READ widthText WRITE setWidthText)
    Q_PROPERTY(int decimalplaces READ decimalPlaces WRITE setDecimalPlaces)

public:
    explicit VexaText(QWidget *parent = nullptr);

    const QString &objectNameText() const { return fieldItem(); }
    void setObjectNameText(const QString &name) { setFieldItem(name); }
    int leftText() const { return fieldLeft(); }
    void setLeftText(int pixels) { setFieldLeft(pixels); }
    int widthText() const { return fieldWidth(); }
    void setWidthText(int pixels) { setFieldWidth(pixels); }

    // Places of a float shown (-1: its shortest exact form).
    int decimalPlaces() const;
    void setDecimalPlaces(int places);

    VexaValueEdit *edit() const;

protected:
    void bindField(const std::shared_ptr<AppletItemManager> &manager) override;
    void unbindField() override;
    void showField() override;
    void commitField() override;
};
