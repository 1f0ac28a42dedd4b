#pragma once

#include <QString>
#include <functional>

// How framework controls turn a string-table id into a caption. The program
// installs its own lookup; without one (or when it has no text for the id)
// a control keeps its design caption.
class VexaTextLookup
{
public:
    using Function = std::function<QString(int)>;

    static void install(Function lookup);
    static const Function &installed();
    // The text of id, or fallback when there is no lookup, no id or no text.
    static QString text(int id, const QString &fallback);
};
