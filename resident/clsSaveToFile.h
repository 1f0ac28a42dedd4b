#pragma once

#include "clsFunctionViewBase.h"

// Saves the dataset to its file.
class clsSaveToFile final : public clsFileViewBase
{
protected:
    QString marker() const override { return QStringLiteral("WriteFile"); }
    void fileOperation(Applet &applet) override;
};
