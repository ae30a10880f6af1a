#ifndef ZENDRIK_CHART_CANVAS_PLOTFILTERS_H
#define ZENDRIK_CHART_CANVAS_PLOTFILTERS_H

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Bitmap filters that chart pictures run before they are drawn. A filter works on the 32-bit
// pixels of a QImage (Format_RGB32: the three colour bytes blue, green, red plus an unused byte)
// inside a rectangle whose Right and Bottom are inclusive: the whole bitmap is (0, 0, w-1, h-1).
// QRect keeps exactly those four edges, so it is the rectangle type here.

class TPlotFilter;
class TFilterItems;

// The editor dialog's control factory. The filter names a property and the kind of control; the
// dialog writes changed values back through TPlotFilter::SetProperty and then calls
// TPlotFilter::EditorChanged.
class TFormCreator {
public:
    virtual ~TFormCreator() = default;
    virtual void AddInteger(const QString& property, int minimum, int maximum) = 0;
    virtual void AddCheckBox(const QString& property) = 0;
    virtual void AddColor(const QString& property) = 0;
    virtual void AddChoice(const QString& property, const QStringList& choices) = 0;
    // Changes the range of an integer control made earlier.
    virtual void SetIntegerRange(const QString& property, int minimum, int maximum) = 0;
};

// One published property of a filter, as the editor and the stream see it.
struct FilterProperty {
    QString name;
    QVariant value;
};

// What a filter class is: its registered name and a factory. Compared by address.
struct TPlotFilterClass {
    const char* name;
    std::unique_ptr<TPlotFilter> (*create)();
};

class TFilterRegion {
public:
    int32_t Height = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;

    void Assign(const TFilterRegion& source) { *this = source; }
};

class TPlotFilter {
public:
    TPlotFilter();
    virtual ~TPlotFilter();
    TPlotFilter(const TPlotFilter&) = delete;
    TPlotFilter& operator=(const TPlotFilter&) = delete;

    virtual const TPlotFilterClass& FilterClass() const = 0;
    // The caption of the filter in the editor: one of the library's message texts.
    virtual QString Description() const = 0;

    // Runs the filter on the rectangle of the bitmap. Every override calls the base first and
    // returns when it reports no rows (an empty bitmap).
    virtual void Apply(QImage& bitmap, const QRect& rect);
    virtual void CreateEditor(TFormCreator& creator, std::function<void()> onChange);
    // Called by the editor after it stored a new value of a property.
    virtual void EditorChanged(const QString& property);
    // The editor took this filter's option controls down: the creator and the change event
    // given to CreateEditor are no longer called.
    void DetachEditor();

    // Published properties in stream order, Enabled first; SetProperty answers false for an
    // unknown name or a value of the wrong kind.
    virtual std::vector<FilterProperty> Properties() const;
    virtual bool SetProperty(const QString& name, const QVariant& value);
    // Identifier names of an enumerated property, in ordinal order; empty for other properties.
    virtual QStringList EnumNames(const QString& property) const;
    // Copies Enabled, Region and the published properties of a filter of the same class.
    virtual void Assign(const TPlotFilter& source);

    void ApplyToBitmap(QImage& bitmap);
    static void ApplyToBitmapClass(const TPlotFilterClass& filterClass, QImage& bitmap);

    bool Enabled = true;
    TFilterRegion& Region();             // created on first use
    bool HasRegion() const { return region_ != nullptr; }

protected:
    // Rows of the bitmap being filtered; empty when it has no pixels.
    std::vector<uint32_t*>& Rows() { return rows_; }
    // Keeps the rows of the last Apply for further passes over the same bitmap.
    void SetRowsPrepared(bool prepared) { rowsPrepared_ = prepared; }
    // The rectangle limited to the bitmap (a rectangle reaching outside it would write outside
    // the pixel rows); empty when nothing of it lies on the bitmap.
    static QRect ClippedRect(const QImage& bitmap, const QRect& rect);

    std::function<void()> editorChange_;
    TFormCreator* editor_ = nullptr; // the dialog's creator while it shows this filter

private:
    std::unique_ptr<TFilterRegion> region_;
    bool rowsPrepared_ = false;
    std::vector<uint32_t*> rows_;
};

class TFilterItems {
public:
    TFilterItems() = default;
    TFilterItems(const TFilterItems&) = delete;
    TFilterItems& operator=(const TFilterItems&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    TPlotFilter* GetItem(int index) const { return items_[static_cast<size_t>(index)].get(); }
    TPlotFilter& Add(const TPlotFilterClass& filterClass);
    void Delete(int index);
    // Swaps two items; nothing when either index is outside the list.
    void Exchange(int index1, int index2);
    void Clear() { items_.clear(); }
    void ApplyToBitmap(QImage& bitmap) const;
    void Assign(const TFilterItems& source);

private:
    std::vector<std::unique_ptr<TPlotFilter>> items_;
};

// A picture with filters: the graphic stays as it was loaded, the filters run on a copy.
class TPlotPicture {
public:
    explicit TPlotPicture(std::function<void()> onChange = {});

    const QImage& Graphic() const { return graphic_; }
    void SetGraphic(const QImage& graphic);
    bool HasGraphic() const { return !graphic_.isNull(); }

    TFilterItems& Filters();             // created on first use
    bool HasFilters() const { return filters_ && filters_->Count() > 0; }
    // Drawn without the pixels of the bottom-left pixel's colour, so that what lies below shows.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    // The filtered copy when there is a graphic and at least one filter, else the graphic.
    QImage FilteredGraphic();
    void Assign(const TPlotPicture& source);

    std::function<void()> OnChange;

private:
    QImage graphic_;
    std::unique_ptr<TFilterItems> filters_;
    QImage work_;
    bool transparent_ = false;
};

// Repaints the owner of a picture after an editor changed one of its filters.
void NotifyGraphicChanged(TPlotPicture& picture);

// Registered filter classes in registration order; each class appears once.
const std::vector<const TPlotFilterClass*>& RegisteredFilterClasses();
const TPlotFilterClass* FindFilterClass(const QString& name);

// Makes sure a bitmap is in the pixel format the filters work on.
void EnsureFilterFormat(QImage& bitmap);

#endif
