#pragma once

#include "Module1.h"
#include "Toolkit_LoadResource.h"
#include "WorkbenchLog.h"

// Runs fn; an error must not take the main window down with it, so it is
// logged in the program's category with what was being done.
template <class Fn> void guarded(const char *what, Fn &&fn)
{
    try {
        fn();
    } catch (...) {
        qCInfo(lcWorkbench).noquote() << what << "did not happen:" << CurrentErrorText();
    }
}

// A text of the string table; a missing id is logged and reads empty.
inline QString resText(qint16 id)
{
    return GetResTextOr(id, QString());
}
