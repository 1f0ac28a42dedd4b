#pragma once

#include "clsFunctionViewBase.h"

// Asks for the device report; the report factory does the rest.
class clsHTMLPrintOut final : public clsFunctionViewBase
{
protected:
    void run() override;
};
