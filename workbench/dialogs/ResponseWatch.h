#pragma once

#include <QObject>
#include <QPointer>

class VexaAppItem;

// Hears every HART response the host reports, once each. A response shows
// as a change of "currentResponseCode"; when it carries the same bytes as the
// one before, the host reports no change, so the end of the record
// ("currentRecordState" back to 0) stands in for it.
class ResponseWatch : public QObject
{
    Q_OBJECT

public:
    ResponseWatch(VexaAppItem *responseCode, VexaAppItem *recordState, QObject *parent = nullptr);

Q_SIGNALS:
    void ResponseArrived();

private:
    void onResponseCode();
    void onRecordState(const QString &value);

    bool m_inRecord = false;
    bool m_heard = false;
};
