#include "reports/ReportHeader.h"

#include "app/Log.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFilePaths.h"
#include "datafiles/TableFiles.h"
#include "platform/inifile/IniFile.h"

#include <QFileInfo>

namespace {

const QString kDataSection = QStringLiteral("Data");
const QString kCaptionPrefix = QStringLiteral("Cap");
const QString kTextPrefix = QStringLiteral("Text");

using ItemArray = std::array<ReportHeaderItems::Item, ReportHeaderItems::kCount>;

ItemArray MakeStartupItems()
{
    const char* const table[ReportHeaderItems::kCount][2] = {
        {"Operating Voltage", "12V"},
        {"Temperature", "25C"},
        {"Air Humidity", "78%"},
        {"EMC Standard", "CISPRxx"},
        {"Operating Condition", "Phase or Neutral"},
        {"DUT", "Device under Test"},
        {"Manufacturer", "my Company"},
        {"spare", "spare"},
        {"Test Site", ""},
        {"Operator", "your name"},
        {"Comment", ""},
    };
    ItemArray items;
    for (size_t i = 0; i < items.size(); ++i)
        items[i] = {QString::fromLatin1(table[i][0]), QString::fromLatin1(table[i][1])};
    return items;
}

ItemArray DefaultItems()
{
    ItemArray items = ReportHeaderItems::StartupItems();
    for (auto& item : items)
        item.Text.clear();
    return items;
}

} // namespace

ReportHeaderItems::ReportHeaderItems() : items_(StartupItems()) {}

const ItemArray& ReportHeaderItems::StartupItems()
{
    static const ItemArray items = MakeStartupItems();
    return items;
}

void ReportHeaderItems::SetText(int number, const QString& text)
{
    Item& item = items_.at(static_cast<size_t>(number - 1));
    if (item.Text == text)
        return;
    item.Text = text;
    emit Changed();
}

void ReportHeaderItems::SetItem(int number, const QString& caption, const QString& text)
{
    Item& item = items_.at(static_cast<size_t>(number - 1));
    if (item.Caption == caption && item.Text == text)
        return;
    item = {caption, text};
    emit Changed();
}

void ReportHeaderItems::SetItems(const ItemArray& items)
{
    if (items_ == items)
        return;
    items_ = items;
    emit Changed();
}

void ReportHeaderItems::SetDefaultReportItems()
{
    SetItems(DefaultItems());
}

bool SaveReportFile(const ReportHeaderItems& items, const QString& chosenPath, const DataFileContext& context)
{
    const QString file = datafiles::AbsoluteSavePath(context.WorkingFolder, chosenPath);
    // Built from nothing, so no key of an older file survives.
    IniFile ini(file);
    ini.Clear();
    datafiles::WriteDataFileHeader(ini);
    for (int i = 1; i <= ReportHeaderItems::kCount; ++i) {
        ini.WriteString(kDataSection, kCaptionPrefix + QString::number(i), items.At(i).Caption);
        ini.WriteString(kDataSection, kTextPrefix + QString::number(i), items.At(i).Text);
    }
    return datafiles::CommitDataFile(ini, file, context);
}

bool LoadReportFile(ReportHeaderItems& items, const QString& path, QChar ask, const DataFileContext& context)
{
    if (ask == QLatin1Char('y') &&
        !context.Confirm(QStringLiteral("Load Report File \"") + path + QLatin1Char('"')))
        return false;
    const QString file = datafiles::ResolveDataPath(context.WorkingFolder, path);
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        items.SetDefaultReportItems();
        return false;
    }
    const IniFile ini(file);
    if (!ini.Loaded()) {
        datafiles::ReportUnreadDataFile(ini, context);
        return false;
    }
    const auto refuse = [&](const QString& why) {
        if (context.Messages != nullptr)
            context.Messages->Append(QStringLiteral("Error: Report File not usable: ") +
                                     datafiles::QuoteInMessage(path) + QStringLiteral(" (") + why +
                                     QStringLiteral("); the report texts stay"));
        return false;
    };
    const auto key = [&ini](const QString& prefix, int n) {
        return ini.ReadString(kDataSection, prefix + QString::number(n), QString());
    };
    // A file without a first caption gives nothing to read: taking it would blank every text the
    // operator typed for a file that is empty, cut, of another kind or no text at all.
    if (key(kCaptionPrefix, 1).isEmpty())
        return refuse(QStringLiteral("it holds no report caption \"Cap1\""));
    // The items end where their numbered keys end: a caption missing before a later item would drop
    // that item and every one after it without a word.
    int last = ReportHeaderItems::kCount;
    while (last > 0 && key(kCaptionPrefix, last).isEmpty() && key(kTextPrefix, last).isEmpty())
        --last;
    ItemArray read = DefaultItems();
    int n = 1;
    for (; n <= ReportHeaderItems::kCount; ++n) {
        const QString caption = key(kCaptionPrefix, n);
        if (caption.isEmpty() && n <= last)
            return refuse(QStringLiteral("item ") + QString::number(n) +
                          QStringLiteral(": the caption is empty"));
        if (caption.isEmpty())
            break;
        read[static_cast<size_t>(n - 1)] = {caption, key(kTextPrefix, n)};
    }
    items.SetItems(read);
    context.LogDebug(QStringLiteral("report items caption found ") + QString::number(n));
    return true;
}
