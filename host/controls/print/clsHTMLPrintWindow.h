#pragma once

#include <QWidget>

class QPrinter;
class QPushButton;
class QTextBrowser;

// The window of the print view: the report, a Print and an Export PDF button.
class clsHTMLPrintWindow : public QWidget
{
    Q_OBJECT

public:
    explicit clsHTMLPrintWindow(QWidget *parent = nullptr);

    void setReport(const QString &html, const QString &folder);
    QTextBrowser *browser() const { return m_browser; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *exportButton() const { return m_export; }

    void printTo(QPrinter &printer);
    // Asks for the file through the host's file chooser; false when the user
    // cancelled or the file could not be written.
    bool exportPdf();

    // English, or German when the user's language is German.
    static QString text(const char *english, const char *german);

private:
    void print();

    QTextBrowser *m_browser = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_export = nullptr;
};
