#ifndef ZENDRIK_CHART_TOOLS_PLOTEMFOPTIONS_H
#define ZENDRIK_CHART_TOOLS_PLOTEMFOPTIONS_H

#include "chart/tools/PlotExport.h"

#include <QWidget>
#include <memory>

class QCheckBox;

// The metafile format's options: enhanced (EMF) or plain (WMF).
class TEMFOptions : public QWidget {
    Q_OBJECT
public:
    explicit TEMFOptions(QWidget* parent = nullptr);

    bool Enhanced() const;

    QCheckBox* enhancedBox; // "&Enhanced"
};

// The chart as an enhanced or a plain metafile. The format takes two entries of a combined
// file-dialog filter, the enhanced one first.
class TEMFExportFormat : public TPlotExportFormat {
public:
    static const TPlotExportFormatClass& Class();

    TEMFExportFormat();
    ~TEMFExportFormat() override;

    const TPlotExportFormatClass& FormatClass() const override { return Class(); }
    bool CopyToClipboard(QString* error = nullptr) override;
    int32_t GetFilterIndex() const override;
    void SetFilterIndex(int32_t& index) override;
    bool WantsFilterIndex(int32_t index) override;
    QString Description() const override;
    QString FileExtension() const override;
    QString FileFilter() const override;
    TPlotGraphicClass GraphicClass() const override { return gcMetafile; }
    void SaveToStream(QIODevice& stream) override;
    QWidget* Options(bool check = true) override { return EMFOptions(check); }
    TEMFOptions* EMFOptions(bool check = true);

    // The options form's "&Enhanced", or true while there is no form.
    bool Enhanced() const;
    // The panel recorded Width x Height. Throws ChartException without a panel.
    gdi::Metafile BuildMetafile();
    // The picture as the bytes of its file: EMF when enhanced, else WMF with its placeable header.
    QByteArray BuildFile();

private:
    std::unique_ptr<TEMFOptions> options_;
};

#endif
