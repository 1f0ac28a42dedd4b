#pragma once

#include <QList>
#include <QString>

class QWidget;

// How the host asks the user for a dataset file name. A file dialog normally;
// tests install a scripted chooser.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // An empty name means the user cancelled.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &directory,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &suggestion,
                                 const QString &filter) = 0;

    static FileChooser &current();
    static void install(FileChooser *chooser); // not owned; null restores the dialog
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

    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return next();
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return next();
    }

private:
    QString next()
    {
        ++m_asked;
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }
    QList<QString> m_answers;
    int m_asked = 0;
};
