#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

// Laid-out texts kept between paints. Shaping a label costs more than
// drawing it; a plot repainted every second draws the same few tick labels
// again and again. Kept per font; a bounded number of entries.
class StaticTextCache
{
public:
    // The text laid out in this font (the cache forgets all on a new font).
    const QStaticText &text(const QString &text, const QFont &font);

private:
    static constexpr qsizetype MaxEntries = 256;

    QFont m_font;
    QHash<QString, QStaticText> m_texts;
};
