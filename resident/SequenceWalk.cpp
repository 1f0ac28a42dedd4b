#include "SequenceWalk.h"

#include "Dictionary.h"
#include "ResidentLog.h"

void walkSequences(Dictionary &dictionary,
                   const std::function<void(qint32 id, const QString &name)> &process)
{
    const QString kind = QStringLiteral("Sequence");
    qint32 count = 0;
    qint32 rc = 0;
    dictionary.fncGetObjectCount(kind, count, rc);
    if (rc != 0) {
        qCInfo(lcResident) << "sequences of the dictionary not counted, code" << rc;
        return;
    }
    if (count < 1)
        return;
    qint32 id = 0;
    dictionary.fncGetFirstObject(kind, id, rc);
    while (rc == 0) {
        QString name;
        dictionary.fncGetObjectName(id, name, rc);
        if (rc != 0) {
            qCInfo(lcResident) << "walk of the sequences stops at id" << id << "code" << rc;
            return;
        }
        process(id, name);
        if (--count <= 0)
            return;
        dictionary.fncGetNextObject(id, rc);
    }
}
