#pragma once

#include <QString>
#include <functional>

class Dictionary;

// Walks the host's sequences in dictionary order and hands each one's id and
// name to process. Stops at the first error the dictionary reports.
void walkSequences(Dictionary &dictionary,
                   const std::function<void(qint32 id, const QString &name)> &process);
