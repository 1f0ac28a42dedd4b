#include "DiagnosisTree.h"

#include <algorithm>

std::optional<QList<DiagnosisTree::Category>> DiagnosisTree::refresh(const QByteArray &value)
{
    const int examined = int(std::clamp<qsizetype>(value.size() - 1, 0, Categories));
    bool changed = false;
    for (int i = 0; i < examined; ++i) {
        const quint8 byte = quint8(value[i]);
        changed |= byte != m_last[i];
        m_last[i] = byte;
    }
    if (!changed)
        return std::nullopt;
    const quint8 electronics = value.size() > 2 ? quint8(value[2]) : 0;
    QList<Category> shown;
    for (int i = 0; i < examined; ++i) {
        const quint8 byte = quint8(value[i]);
        Category category;
        category.index = i;
        if (byte & MessageBits) {
            if (electronics & ModuleDisconnected) {
                shown << category;
                break;
            }
            category.attention = true;
            for (int bit = 0; bit < 8; ++bit) {
                if (byte & (1u << bit))
                    category.bits << bit;
            }
        }
        shown << category;
    }
    return shown;
}

std::optional<quint8> DiagnosisTree::selfTestResult(const QByteArray &value)
{
    if (value.size() <= Categories)
        return std::nullopt;
    return quint8(value[Categories]);
}
