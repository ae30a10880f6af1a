#ifndef ZENDRIK_CHART_TOOLS_PLOTBMPOPTIONS_H
#define ZENDRIK_CHART_TOOLS_PLOTBMPOPTIONS_H

#include "chart/canvas/PlotFilters.h"
#include "chart/tools/BmpWriter.h"
#include "chart/tools/PlotExport.h"

#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TBMPExportFormat;

// The bitmap format's options: monochrome, colour depth, filters and a preview of the result.
class TBMPOptions : public QWidget {
    Q_OBJECT
public:
    explicit TBMPOptions(TBMPExportFormat& format, QWidget* parent = nullptr);

    bool Monochrome() const;
    // The colour list's entry; the depth of a colour bitmap.
    TPixelFormat PixelFormat() const;
    // Shows the format's finished bitmap; empty without a panel or when it cannot be drawn.
    void RedrawPreview();
    // Follows whether the format has a filter editor.
    void UpdateFiltersButton();

    QCheckBox* monochromeBox; // "&Monochrome"
    QComboBox* colorsCombo; // "&Colors:"
    QPushButton* filtersButton; // "&Filters..."
    QLabel* previewImage; // "Preview:"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void MonochromeClicked();
    void EditFilters();

    TBMPExportFormat& format_;
};

class TBMPExportFormat : public TPlotExportFormat {
public:
    // The filter editor: the parent for its dialog, the bitmap as drawn and the list to edit;
    // true when the user confirmed the changes.
    using FilterEditor = std::function<bool(QWidget* parent, const QImage& bitmap, TFilterItems& filters)>;

    static const TPlotExportFormatClass& Class();

    TBMPExportFormat();
    ~TBMPExportFormat() override;

    const TPlotExportFormatClass& FormatClass() const override { return Class(); }
    bool CopyToClipboard(QString* error = nullptr) override;
    QString Description() const override;
    QString FileExtension() const override;
    QString FileFilter() const override;
    TPlotGraphicClass GraphicClass() const override { return gcBitmap; }
    void SaveToStream(QIODevice& stream) override;
    QWidget* Options(bool check = true) override { return BMPOptions(check); }
    TBMPOptions* BMPOptions(bool check = true);

    TFilterItems& Filters() { return filters_; }
    // Installed by the filter editor; "&Filters..." is disabled while there is none.
    FilterEditor EditFilters;

    // The panel drawn Width x Height on its back colour, before the filters.
    QImage DrawBitmap();
    // The finished bitmap as the bytes of its file: filters applied, monochrome or at the chosen
    // depth. Throws ChartException without a panel.
    QByteArray BuildBitmap();

private:
    TFilterItems filters_;
    std::unique_ptr<TBMPOptions> options_;
};

#endif
