#pragma once

#include <QJsonObject>
#include <QLocale>
#include <QString>
#include <QTextStream>

// The terminal or the pipe the program talks to: results on standard
// output (text, or one JSON document with --json), messages and the
// progress bar on standard error, questions only on a terminal.
class Console
{
public:
    explicit Console(bool json);

    bool json() const { return m_json; }
    // Whether a person can answer (standard input and error are terminals).
    bool interactive() const;

    // A line of the result (text mode only).
    void line(const QString &text);
    // A message for the person or the script's log, on standard error.
    void message(const QString &text);
    void error(const QString &text) { message(text); }
    // The result document of --json, written once at the end.
    void setDocument(const QJsonObject &document) { m_document = document; }
    QJsonObject &document() { return m_document; }
    void finish();

    // A bar on standard error, redrawn in place; nothing when it is no terminal.
    void progress(int done, int total, const QString &what);
    void endProgress();

    // Asks on the terminal; false without one or for anything but yes.
    bool confirm(const QString &question);
    // Waits for Enter; false when the input ended.
    bool waitForEnter(const QString &prompt);

    // A number as the user reads it: in the language's format.
    static QString number(double value, int precision = 7);
    // A text table with columns padded to their widest cell.
    static QString table(const QStringList &header, const QList<QStringList> &rows);

private:
    QTextStream m_out;
    QTextStream m_err;
    QJsonObject m_document;
    bool m_json;
    bool m_progressShown = false;
    QString m_lastProgress;
};
