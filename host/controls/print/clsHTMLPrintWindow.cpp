#include "clsHTMLPrintWindow.h"

#include "FileChooser.h"
#include "MessageBoxSeam.h"
#include "ScreenFit.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

clsHTMLPrintWindow::clsHTMLPrintWindow(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(text("Device report", "Gerätebericht"));
    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(false);
    m_print = new QPushButton(text("Print...", "Drucken..."), this);
    m_export = new QPushButton(text("Export PDF...", "PDF exportieren..."), this);
    m_close = new QPushButton(text("Close", "Schließen"), this);
    connect(m_print, &QPushButton::clicked, this, &clsHTMLPrintWindow::print);
    connect(m_export, &QPushButton::clicked, this, [this] { exportPdf(); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_print);
    buttons->addWidget(m_export);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addLayout(buttons);
    resize(800, 900);
}

void clsHTMLPrintWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The first time it shows: whole on the screen, centred.
    if (!m_placed)
        ScreenFit::fitOnScreen(this, true);
    m_placed = true;
}

QString clsHTMLPrintWindow::text(const char *english, const char *german)
{
    return QString::fromUtf8(QLocale().language() == QLocale::German ? german : english);
}

void clsHTMLPrintWindow::setReport(const QString &html, const QString &folder)
{
    // Pictures of the report lie beside it.
    m_browser->setSearchPaths({folder});
    m_browser->setHtml(html);
    const QString title = reportTitle();
    setWindowTitle(title.isEmpty() ? text("Device report", "Gerätebericht") : title);
}

QString clsHTMLPrintWindow::reportTitle() const
{
    return m_browser->documentTitle().simplified();
}

// The report's title names the print job and is the PDF file's title.
void clsHTMLPrintWindow::printTo(QPrinter &printer)
{
    printer.setDocName(reportTitle());
    m_browser->document()->print(&printer);
}

void clsHTMLPrintWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

bool clsHTMLPrintWindow::exportPdf()
{
    const QString name = FileChooser::current().saveFileName(
        this, text("Export PDF", "PDF exportieren"), QStringLiteral("report.pdf"),
        text("PDF files (*.pdf)", "PDF-Dateien (*.pdf)"));
    if (name.isEmpty())
        return false;
    QFile::remove(name); // the user chose to replace it
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(name);
    printTo(printer);
    if (QFileInfo(name).size() > 0)
        return true;
    MessageBoxSeam::show(
        this, QMessageBox::Warning, windowTitle(),
        text("The PDF file cannot be written: ", "Die PDF-Datei kann nicht geschrieben werden: ") +
            name);
    return false;
}
