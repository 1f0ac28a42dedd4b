#include "ReportCommand.h"

#include "CommandLine.h"
#include "CompareItems.h"
#include "Console.h"
#include "DeviceInstance.h"
#include "DeviceSession.h"
#include "HistoryService.h"
#include "ResidentViews.h"
#include "WriteCommand.h"
#include "clsHTMLPrintView.h"
#include "clsHTMLPrintWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>

void ReportCommand::prepare()
{
    registerResidentViews();
}

ExitCode ReportCommand::run(const CommandLine &line, DeviceSession &session, Console &console)
{
    if (line.pdfFile.isEmpty()) {
        console.error(tr("report needs --pdf FILE"));
        return ExitCode::BadInput;
    }
    const QFileInfo target(line.pdfFile);
    if (target.isDir() || !QFileInfo(target.absolutePath()).isWritable()) {
        console.error(tr("--pdf %1: cannot be written there").arg(line.pdfFile));
        return ExitCode::BadInput;
    }
    const ExitCode connected = WriteCommand::connectTransmitter(line.address, session, console);
    if (connected != ExitCode::Done)
        return connected;
    QString error;
    if (!session.readDataset(&error)) {
        console.error(error);
        return ExitCode::LinkFailure;
    }
    // The report shows the dataset: here the device's own values.
    QStringList all;
    for (const CompareItem &item : CompareItems::all())
        all << QLatin1String(item.item);
    session.history().takeIntoDataset(all);
    session.instance().setItemText(QStringLiteral("generateHTMLPrintOut"), QStringLiteral("1"));
    if (!DeviceSession::waitUntil([] { return clsHTMLPrintView::window() != nullptr; }, 10000)) {
        console.error(tr("the report cannot be made"));
        return ExitCode::BadInput;
    }
    const bool written = writePdf(line.pdfFile, &error);
    delete clsHTMLPrintView::window();
    if (!written) {
        console.error(error);
        return ExitCode::BadInput;
    }
    console.message(tr("report written to %1").arg(line.pdfFile));
    console.document().insert(QStringLiteral("file"), QFileInfo(line.pdfFile).absoluteFilePath());
    return ExitCode::Done;
}

// Printed beside the file and put in its place only once it is whole.
bool ReportCommand::writePdf(const QString &file, QString *error)
{
    const QString part = file + QStringLiteral(".part");
    QFile::remove(part);
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(part);
        clsHTMLPrintView::window()->printTo(printer);
    }
    if (QFileInfo(part).size() <= 0 || (QFile::exists(file) && !QFile::remove(file)) ||
        !QFile::rename(part, file)) {
        QFile::remove(part);
        *error = tr("%1: the PDF file cannot be written").arg(file);
        return false;
    }
    return true;
}
