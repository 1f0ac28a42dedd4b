#pragma once

#include <QList>
#include <QString>

class QWidget;

// How the host asks the user for a file name. A file dialog normally; tests
// install a scripted chooser.
//
// Every dialog starts in the folder last used (kept from one run to the
// next), the first time in the user's documents folder. A name saved
// without an extension gets the extension of the filter's first pattern.
class FileChooser
{
public:
    virtual ~FileChooser() = default;

    // An empty name means the user cancelled.
    QString openFileName(QWidget *parent, const QString &title, const QString &filter);
    // name: the file name offered (its folder, if any, is not used).
    QString saveFileName(QWidget *parent, const QString &title, const QString &name,
                         const QString &filter);

    static FileChooser &current();
    static void install(FileChooser *chooser); // not owned; null restores the dialog

    // Where the next dialog starts.
    static QString startFolder();
    // "ext" for a filter whose first pattern is "*.ext"; empty otherwise.
    static QString defaultSuffix(const QString &filter);
    // The name with the suffix added when it has no extension.
    static QString withSuffix(const QString &path, const QString &suffix);

protected:
    virtual QString askOpen(QWidget *parent, const QString &title, const QString &directory,
                            const QString &filter) = 0;
    // suggestion: folder and name offered.
    virtual QString askSave(QWidget *parent, const QString &title, const QString &suggestion,
                            const QString &filter) = 0;

private:
    static void remember(const QString &chosen);
};

// A chooser for tests: answers from a queue (empty = cancel) and records the
// questions.
class ScriptedFileChooser final : public FileChooser
{
public:
    ScriptedFileChooser() { install(this); }
    ~ScriptedFileChooser() override { install(nullptr); }
    ScriptedFileChooser(const ScriptedFileChooser &) = delete;
    ScriptedFileChooser &operator=(const ScriptedFileChooser &) = delete;

    void enqueue(const QString &name) { m_answers.append(name); }
    int asked() const { return m_asked; }
    // The folder (open) or folder and name (save) the last question offered.
    QString offered() const { return m_offered; }

protected:
    QString askOpen(QWidget *, const QString &, const QString &directory, const QString &) override
    {
        return next(directory);
    }
    QString askSave(QWidget *, const QString &, const QString &suggestion, const QString &) override
    {
        return next(suggestion);
    }

private:
    QString next(const QString &offered)
    {
        ++m_asked;
        m_offered = offered;
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }
    QList<QString> m_answers;
    QString m_offered;
    int m_asked = 0;
};
