#pragma once

#include "VexException.h"

#include <QLoggingCategory>
#include <exception>

// The main window's log: what a reaction or a toolbar command could not do
// is logged at info level (QT_LOGGING_RULES="vex.*.info=true" shows it).
Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)

// Runs fn; an error must not take the window down with it, so it is logged
// with what was being done.
template <class Fn> void guarded(const char *what, Fn &&fn)
{
    try {
        fn();
    } catch (const VexException &e) {
        qCInfo(lcMainWindow).noquote() << what << "failed:" << e.description();
    } catch (const std::exception &e) {
        qCInfo(lcMainWindow).noquote() << what << "failed:" << e.what();
    } catch (...) {
        qCInfo(lcMainWindow).noquote() << what << "failed with an unknown error";
    }
}
