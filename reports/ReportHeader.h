#ifndef ZENDRIK_REPORTS_REPORTHEADER_H
#define ZENDRIK_REPORTS_REPORTHEADER_H

#include <QChar>
#include <QObject>
#include <QString>
#include <array>

struct DataFileContext;

// The eleven caption/text pairs that open the printed report (device, manufacturer, standard,
// conditions, site, operator, comment). The report header editor shows and edits them; the
// printed report and the project loader use the same store. Items are numbered 1 to 11.
class ReportHeaderItems : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 11;
    struct Item {
        QString Caption;
        QString Text;
        bool operator==(const Item&) const = default;
    };

    // The editor's start-up captions and texts.
    ReportHeaderItems();

    const Item& At(int number) const { return items_.at(static_cast<size_t>(number - 1)); }
    const std::array<Item, kCount>& Items() const { return items_; }

    void SetText(int number, const QString& text);
    void SetItem(int number, const QString& caption, const QString& text);
    void SetItems(const std::array<Item, kCount>& items);
    // The default captions with every text empty ("Clear").
    void SetDefaultReportItems();

    static const std::array<Item, kCount>& StartupItems();

signals:
    // Any caption or text changed.
    void Changed();

private:
    std::array<Item, kCount> items_;
};

// Writes the eleven pairs to a ".rep" file: the data-file header, then section "Data" with Cap1,
// Text1 ... Cap11, Text11. The old file is replaced only by a complete new one; on failure an
// error box and the message log say why and the result is false.
bool SaveReportFile(const ReportHeaderItems& items, const QString& chosenPath, const DataFileContext& context);

// Reads a ".rep" file. With ask 'y' the operator is asked first ("Load Report File \"path\"",
// "Load"/"Abort"); "Abort" leaves the items as they are. A missing file resets them to the default
// captions with empty texts (result false). A file that cannot be read, has no caption "Cap1"
// in "Data" (empty, random bytes, another kind of file), or lacks a caption before a later "Cap"
// or "Text" key of the eleven, is refused with one "Error: " line in the message log and the items
// stay (result false). Otherwise the items are reset and then filled from Cap1/Text1 on, up to the
// first missing or empty caption; the debug log gets "report
// items caption found " and the number of the first item not read. Relative paths are taken
// below the working folder.
bool LoadReportFile(ReportHeaderItems& items, const QString& path, QChar ask, const DataFileContext& context);

#endif
