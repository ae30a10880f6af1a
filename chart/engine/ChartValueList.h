#ifndef ZENDRIK_CHART_ENGINE_CHARTVALUELIST_H
#define ZENDRIK_CHART_ENGINE_CHARTVALUELIST_H

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class TChartSeries;

enum TChartListOrder { loNone, loAscending, loDescending };

// Lowest and highest of count values (count > 0), false when one is NaN (then low and high mean
// nothing).
bool ValueRange(const double* v, size_t count, double& low, double& high);

// One column of numbers of a series (X, Y or a further column). Values live in one contiguous
// vector; the "capacity" seen by callers follows the engine's rule of growing in steps of
// kValueListCapacityStep, while the vector itself grows geometrically so that appending stays
// amortised O(1) for traces of hundreds of thousands of points.
class TChartValueList {
public:
    static constexpr int kValueListCapacityStep = 1000;

    TChartValueList(TChartSeries* owner, const QString& name);
    virtual ~TChartValueList();
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;

    // Queries.
    int Count() const { return static_cast<int>(values_.size()); }
    int Capacity() const { return capacity_; }
    TChartSeries* Owner() const { return owner_; }
    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    TChartListOrder Order() const { return order_; }
    void SetOrder(TChartListOrder order) { order_ = order; }
    bool DateTime() const { return dateTime_; }
    bool DefaultDateTime() const { return defaultDateTime_; }
    const QString& ValueSource() const { return valueSource_; }
    // The cached figures are stale (the next query recomputes them).
    bool Modified() const { return minMaxStale_ || totalsStale_; }
    // Counts every change except appends at the end: while it stays, the values seen before are
    // unchanged and in place, so what was computed from them may be kept and extended.
    uint64_t Generation() const { return generation_; }

    double Value(int index) const;                 // checked: ChartException when out of range
    double operator[](int index) const { return Value(index); }
    std::span<const double> Values() const { return values_; }   // unchecked bulk reading
    // Bytes held for the values (what the list has reserved, not only what it holds).
    size_t MemoryBytes() const { return values_.capacity() * sizeof(double); }
    double First() const { return Value(0); }
    double Last() const { return Value(Count() - 1); }

    double MaxValue();
    double MinValue();
    double Total();
    double TotalABS();
    // Takes amount off the absolute total until the values next change: a series that adds a
    // point summing others (a pie's gathered slice) keeps percentages of the given values.
    void ReduceTotalABS(double amount);
    double Range() { return MaxValue() - MinValue(); }
    // Whether a NaN or an infinity is among the values: such a value is no point to draw.
    bool HasNonFinite() const { return nonFinite_ > 0; }

    int Locate(double value) const;
    int LocateRange(double value, int first, int last) const;
    int CompareValueIndex(int index1, int index2) const;

    // Changes.
    double TempValue = 0.0;

    // Makes room for count values at once, so a bulk fill of a known size never regrows.
    void Reserve(int count);
    // Appends at the end when that keeps the list's order; otherwise adds in order. Returns the
    // index the value went to.
    int AppendOrAdd(double value)
    {
        if (order_ == loNone || values_.empty() || (order_ == loAscending && value >= values_.back()) ||
            (order_ == loDescending && value <= values_.back())) {
            TempValue = value;
            StoreAt(Count(), value);
            return Count() - 1;
        }
        return AddChartValue(value);
    }
    // Appends values at the end for as long as they keep the list's order (all of them on a list
    // without order) and answers how many it took: the first value that would have to go before
    // the last one, and those after it, are left to the caller. The values land where
    // AddChartValue would put them one by one.
    size_t AppendInOrder(std::span<const double> values);
    // Appends every value at the end, whatever the order (the further columns of a series, which
    // follow the places the X column gives).
    void AppendAll(std::span<const double> values);
    // Gives back the memory held beyond the values, once the values appended since it was last
    // given back are at least as many as it holds: a list filled one value at a time then keeps
    // 8 bytes a value, while a list that grows by small blocks does not copy itself each time.
    void ReleaseGrowthSlack();
    virtual int AddChartValue(double value);
    int AddChartValue() { return AddChartValue(TempValue); }
    virtual void InsertChartValue(int index, double value);
    virtual void ClearValues();
    virtual void Delete(int index);
    void DeleteRange(int start, int quantity);
    void SetValue(int index, double value);
    // Writes without telling the owner (the series' own point setters use it).
    void SetValueQuiet(int index, double value);
    void Exchange(int index1, int index2);
    // Swaps without telling the owner (the series exchanges whole points with it).
    void ExchangeQuiet(int index1, int index2);
    void FillSequence();
    void Sort();
    void Scroll();
    void Assign(const TChartValueList& source);
    void InitDateTime(bool value);
    void SetDateTime(bool value);
    void SetValueSource(const QString& value);
    void MarkModified() { minMaxStale_ = totalsStale_ = true; }

    // Reading the obsolete "Multiplier" stream property: a message to show, or none for 1.0.
    static std::optional<QString> ReadMultiplier(double value);

private:
    enum class SortState { Ascending, NotAscending, Unknown };

    void CheckIndex(int index) const;
    void RecalcMinMax();
    void RecalcTotals();
    void GrowFor(int needed);
    void StoreAt(int index, double value);
    void NoteInsertedAt(int index);
    void NoteChangedAt(int index);
    void NoteRemoved(double old);
    void NoteAdded(double value);
    bool AscendingKnown() const;
    void ReserveForAppend(size_t count);
    // Appends at the end; ascending: the values are known to follow the last one in ascending
    // order.
    void AppendValues(std::span<const double> values, bool ascending);

    TChartSeries* owner_ = nullptr;
    QString name_;
    TChartListOrder order_ = loNone;
    bool dateTime_ = false;
    bool defaultDateTime_ = false;
    QString valueSource_;
    std::vector<double> values_;
    int capacity_ = 0;
    // Minimum and maximum do not depend on the order of the values, so many changes keep them
    // valid while the sums (order-dependent) are recomputed on their next query.
    bool minMaxStale_ = true;
    bool totalsStale_ = true;
    bool haveFinite_ = false;
    // How many values are NaN or infinite, kept as they come and go.
    int nonFinite_ = 0;
    double minValue_ = 0.0;
    double maxValue_ = 0.0;
    double total_ = 0.0;
    double totalAbs_ = 0.0;
    mutable SortState sortState_ = SortState::Ascending;
    uint64_t generation_ = 0;
    // Values appended since the growth slack was last given back (or the list cleared).
    size_t appendedSinceRelease_ = 0;
    // The count of the last Reserve: room made on purpose is no slack until the values fill it.
    size_t reserved_ = 0;
};

// The value lists of one series in creation order: 0 is X, 1 is Y, further columns follow.
class TChartValueLists {
public:
    TChartValueLists() = default;
    TChartValueLists(const TChartValueLists&) = delete;
    TChartValueLists& operator=(const TChartValueLists&) = delete;

    int Count() const { return static_cast<int>(lists_.size()); }
    TChartValueList* operator[](int index) const;
    TChartValueList* Add(std::unique_ptr<TChartValueList> list);
    void Clear() { lists_.clear(); }

private:
    std::vector<std::unique_ptr<TChartValueList>> lists_;
};

#endif
