#pragma once

#include "clsFunctionViewBase.h"

// Loads the dataset from a file the host asks for.
class clsLoadFromFile final : public clsFileViewBase
{
protected:
    QString marker() const override { return QStringLiteral("ReadFile"); }
    void fileOperation(Applet &applet) override;
};
