#pragma once

#include <QObject>
#include <QString>

class VexaAppItem;
class QWidget;

// Tells how the dataset transfers ended: read from or written to the device,
// cancelled (Cancel in the busy window) or failed. A transfer that did not
// finish leaves the dataset as it was: the host takes the values it read
// over only at the end.
class TransferReport : public QObject
{
    Q_OBJECT

public:
    enum class Outcome
    {
        Completed,
        Cancelled,
        Failed
    };

    // The item controls go on the window, beside its others, so that its
    // item handler binds them with the rest. abortSequences: "1" while the
    // host aborts what runs; connection: "&&private&&Connect".
    TransferReport(QWidget *window, VexaAppItem *abortSequences, VexaAppItem *connection);

    // The status line text of an ended transfer (upload: read from the device).
    static QString text(bool upload, Outcome outcome);

Q_SIGNALS:
    void ended(const QString &text);

private:
    struct Watch
    {
        bool upload;
        VexaAppItem *state;
        VexaAppItem *progress;
        bool running = false;
        bool cancelled = false;
    };

    void watch(Watch &transfer);
    void stateChanged(Watch &transfer, const QString &state);
    Outcome outcome(const Watch &transfer) const;

    VexaAppItem *m_abort;
    VexaAppItem *m_connection;
    Watch m_upload;
    Watch m_download;
};
