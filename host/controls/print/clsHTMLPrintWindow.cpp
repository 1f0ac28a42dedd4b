#include "clsHTMLPrintWindow.h"

#include "FileChooser.h"
#include "MessageBoxSeam.h"
#include "ScreenFit.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

clsHTMLPrintWindow::clsHTMLPrintWindow(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(tr("Device report"));
    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(false);
    m_print = new QPushButton(tr("Print..."), this);
    m_export = new QPushButton(tr("Export PDF..."), this);
    m_close = new QPushButton(tr("Close"), this);
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

void clsHTMLPrintWindow::setReport(const QString &html, const QString &folder)
{
    // Pictures of the report lie beside it.
    m_browser->setSearchPaths({folder});
    m_browser->setHtml(html);
    const QString title = reportTitle();
    setWindowTitle(title.isEmpty() ? tr("Device report") : title);
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
        this, tr("Export PDF"), QStringLiteral("report.pdf"), tr("PDF files (*.pdf)"));
    if (name.isEmpty())
        return false;
    QFile::remove(name); // the user chose to replace it
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(name);
    printTo(printer);
    if (QFileInfo(name).size() > 0)
        return true;
    MessageBoxSeam::show(this, QMessageBox::Warning, windowTitle(),
                         tr("The PDF file cannot be written: %1").arg(name));
    return false;
}
