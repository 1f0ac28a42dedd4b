#pragma once

#include <QString>
#include <QStringList>

class QObject;

// Runs test classes so that a warning or critical message nobody expected
// fails them: inside a test function the function fails (a test that expects
// a message says so with QTest::ignoreMessage; a critical one counts as a
// warning there), outside one the whole run does. The offscreen platform's
// own notes are not warnings about our code and pass.
class StrictMessages
{
public:
    StrictMessages();
    ~StrictMessages();
    StrictMessages(const StrictMessages &) = delete;
    StrictMessages &operator=(const StrictMessages &) = delete;

    // QTest::qExec with the strict handler around the test functions.
    int exec(QObject *test, const QStringList &arguments);
    // Unexpected messages outside any test function so far.
    int strayMessages() const;
};
