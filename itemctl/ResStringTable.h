#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// A string table of the program or of one library: texts by 16-bit id in
// a neutral (English) and a German language. Stored as tab-separated lines
// "id<TAB>English<TAB>German"; blank lines and lines starting with '#' are
// skipped; "\n", "\t" and "\\" in a text stand for a line break, a tab and
// a backslash. An empty German cell leaves the id to the neutral table.
class ResStringTable
{
public:
    static constexpr qint32 Neutral = 0;
    static constexpr qint32 English = 1033;
    static constexpr qint32 German = 1031;
    // Number of the error raised for an id that is in no table.
    static constexpr qint32 ResourceNotFound = 326;

    ResStringTable() = default;
    static ResStringTable fromTsv(const QByteArray &tsv);
    // A file or a Qt resource path; a missing file gives an empty table.
    static ResStringTable fromFile(const QString &path);

    // One entry of exactly that language; false when the language or the id is missing.
    bool load(qint16 id, qint32 languageId, QString &text) const;
    // The user's language, then 1033, then neutral; VexException 326 when none has it.
    QString text(qint16 id) const;
    bool isEmpty() const { return m_languages.isEmpty(); }

    // 1031 for a German user (the default locale), 1033 for everyone else.
    static qint32 userLanguageId();

private:
    QHash<qint32, QHash<qint16, QString>> m_languages;
};
