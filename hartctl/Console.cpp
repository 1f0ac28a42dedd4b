#include "Console.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

Console::Console(bool json) : m_out(stdout), m_err(stderr), m_json(json) {}

bool Console::interactive() const
{
    return isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
}

void Console::line(const QString &text)
{
    if (m_json)
        return;
    endProgress();
    m_out << text << Qt::endl;
}

void Console::message(const QString &text)
{
    endProgress();
    m_err << "hartctl: " << text << Qt::endl;
}

void Console::finish()
{
    endProgress();
    if (m_json)
        m_out << QJsonDocument(m_document).toJson(QJsonDocument::Indented) << Qt::flush;
    m_out.flush();
}

void Console::progress(int done, int total, const QString &what)
{
    if (!isatty(STDERR_FILENO) || total <= 0)
        return;
    // Drawn again only when it changed: the waits ask many times a second.
    const QString shown = QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(what);
    if (m_progressShown && shown == m_lastProgress)
        return;
    m_lastProgress = shown;
    constexpr int Width = 30;
    const int filled = qBound(0, done * Width / total, Width);
    m_err << '\r' << '[' << QString(filled, QLatin1Char('#'))
          << QString(Width - filled, QLatin1Char(' ')) << "] " << done << '/' << total << ' '
          << what.left(40) << "\x1b[K" << Qt::flush;
    m_progressShown = true;
}

void Console::endProgress()
{
    if (!m_progressShown)
        return;
    m_err << "\r\x1b[K" << Qt::flush;
    m_progressShown = false;
}

bool Console::confirm(const QString &question)
{
    if (!interactive())
        return false;
    endProgress();
    m_err << question << ' ' << QCoreApplication::translate("Console", "[y/N]") << ' ' << Qt::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    const QString given = QString::fromLocal8Bit(answer).trimmed().toLower();
    // The language's own yes counts as well as the English one.
    return given == QLatin1String("y") || given == QLatin1String("yes") ||
           given == QCoreApplication::translate("Console", "y") ||
           given == QCoreApplication::translate("Console", "yes");
}

bool Console::waitForEnter(const QString &prompt)
{
    endProgress();
    m_err << prompt << Qt::flush;
    std::string answer;
    return bool(std::getline(std::cin, answer));
}

QString Console::number(double value, int precision)
{
    return QLocale().toString(value, 'g', precision);
}

QString Console::table(const QStringList &header, const QList<QStringList> &rows)
{
    QList<int> widths(header.size(), 0);
    const auto measure = [&widths](const QStringList &row) {
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = qMax(widths[i], int(row.at(i).size()));
    };
    measure(header);
    for (const QStringList &row : rows)
        measure(row);
    const auto format = [&widths](const QStringList &row) {
        QString text;
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i)
            text += (i ? QStringLiteral("  ") : QString()) +
                    (i + 1 < row.size() ? row.at(i).leftJustified(widths[i]) : row.at(i));
        return text;
    };
    QStringList lines{format(header)};
    for (const QStringList &row : rows)
        lines << format(row);
    return lines.join(QLatin1Char('\n'));
}
