#include "reports/ReportPrinter.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

PrintDialogPrinter::PrintDialogPrinter(QWidget* parent)
    // The default mode prints at screen resolution, about 96 dpi.
    : parent_(parent)
    , printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
}

PrintDialogPrinter::~PrintDialogPrinter() = default;

QPrinter* PrintDialogPrinter::ChoosePrinter()
{
    QPrintDialog dialog(printer_.get(), parent_);
    // The report always prints whole: no page range, selection or current page to offer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize
        | QAbstractPrintDialog::PrintCollateCopies);
    printer_->setPrintRange(QPrinter::AllPages);
    return dialog.exec() == QDialog::Accepted ? printer_.get() : nullptr;
}

PdfFilePrinter::PdfFilePrinter(const QString& fileName, int dpi)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(fileName);
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setResolution(dpi);
    printer_->setFullPage(true);
}

PdfFilePrinter::~PdfFilePrinter() = default;
