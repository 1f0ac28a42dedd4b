#include "StaticTextCache.h"

const QStaticText &StaticTextCache::text(const QString &text, const QFont &font)
{
    if (font != m_font) {
        m_texts.clear();
        m_font = font;
    }
    auto it = m_texts.find(text);
    if (it != m_texts.end())
        return *it;
    // Tick labels move with the view; old ones are not worth keeping.
    if (m_texts.size() >= MaxEntries)
        m_texts.clear();
    QStaticText laidOut(text);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
    laidOut.prepare(QTransform(), font);
    return *m_texts.insert(text, laidOut);
}
