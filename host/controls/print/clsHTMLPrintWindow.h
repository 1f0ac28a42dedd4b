#pragma once

#include <QWidget>

class QPrinter;
class QPushButton;
class QTextBrowser;

// The window of the print view: the report, a Print, an Export PDF and a
// Close button.
class clsHTMLPrintWindow : public QWidget
{
    Q_OBJECT

public:
    explicit clsHTMLPrintWindow(QWidget *parent = nullptr);

    void setReport(const QString &html, const QString &folder);
    // The title of the report page (device tag, kind of report, date); the
    // window, the print job and the PDF file carry it.
    QString reportTitle() const;
    QTextBrowser *browser() const { return m_browser; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *exportButton() const { return m_export; }
    QPushButton *closeButton() const { return m_close; }

    void printTo(QPrinter &printer);
    // Asks for the file through the host's file chooser; false when the user
    // cancelled or the file could not be written.
    bool exportPdf();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void print();

    QTextBrowser *m_browser = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_close = nullptr;
    bool m_placed = false;
};
