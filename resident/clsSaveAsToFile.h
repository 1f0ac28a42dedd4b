#pragma once

#include "clsFunctionViewBase.h"

// Saves the dataset to a new file the host asks for.
class clsSaveAsToFile final : public clsFileViewBase
{
protected:
    QString marker() const override { return QStringLiteral("WriteFile"); }
    void fileOperation(Applet &applet) override;
};
