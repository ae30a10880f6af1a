#ifndef ZENDRIK_REPORTS_REPORTPRINTER_H
#define ZENDRIK_REPORTS_REPORTPRINTER_H

#include <QString>
#include <memory>

class QPrinter;
class QWidget;

// Where a report is printed. The report asks once per print; the provider owns the printer.
class ReportPrinterProvider {
public:
    virtual ~ReportPrinterProvider() = default;
    // The printer to print on, in high resolution; none when the operator cancelled the choice.
    virtual QPrinter* ChoosePrinter() = 0;
};

// The standard print dialog. The printer and the operator's settings are kept from one report to
// the next, as the program's printer is.
class PrintDialogPrinter final : public ReportPrinterProvider {
public:
    explicit PrintDialogPrinter(QWidget* parent = nullptr);
    ~PrintDialogPrinter() override;
    QPrinter* ChoosePrinter() override;

private:
    QWidget* parent_;
    std::unique_ptr<QPrinter> printer_;
};

// A PDF file on A4 paper over the full page, without a dialog.
class PdfFilePrinter final : public ReportPrinterProvider {
public:
    explicit PdfFilePrinter(const QString& fileName, int dpi = 600);
    ~PdfFilePrinter() override;
    QPrinter* ChoosePrinter() override { return printer_.get(); }
    QPrinter& Printer() { return *printer_; }

private:
    std::unique_ptr<QPrinter> printer_;
};

#endif
