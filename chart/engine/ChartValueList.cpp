#include "chart/engine/ChartValueList.h"

#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesTexts.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

TChartValueList::TChartValueList(TChartSeries* owner, const QString& name)
    : owner_(owner), name_(name)
{
    ClearValues();
}

TChartValueList::~TChartValueList() = default;

void TChartValueList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
}

double TChartValueList::Value(int index) const
{
    CheckIndex(index);
    return values_[static_cast<size_t>(index)];
}

// The visible capacity grows by the fixed step, as the stored files and callers expect; the
// vector's own reserve is left to grow geometrically underneath it.
void TChartValueList::GrowFor(int needed)
{
    if (capacity_ < needed)
        capacity_ += (needed - capacity_ + kValueListCapacityStep - 1) / kValueListCapacityStep * kValueListCapacityStep;
}

// Keeps the "known ascending" state exact while it holds, so that lookups may use binary search.
// Once the order is broken only a full scan can restore it, which AscendingKnown does lazily.
void TChartValueList::NoteInsertedAt(int index)
{
    if (sortState_ != SortState::Ascending)
        return;
    const size_t i = static_cast<size_t>(index);
    const bool leftOk = i == 0 || values_[i - 1] <= values_[i];
    const bool rightOk = i + 1 >= values_.size() || values_[i] <= values_[i + 1];
    if (!leftOk || !rightOk)
        sortState_ = SortState::NotAscending;
}

void TChartValueList::NoteChangedAt(int index)
{
    if (sortState_ == SortState::Ascending)
        NoteInsertedAt(index);
    else
        sortState_ = SortState::Unknown;
}

bool TChartValueList::AscendingKnown() const
{
    if (sortState_ == SortState::Unknown) {
        bool ascending = true;
        for (size_t i = 1; i < values_.size() && ascending; ++i)
            ascending = values_[i - 1] <= values_[i];
        sortState_ = ascending ? SortState::Ascending : SortState::NotAscending;
    }
    return sortState_ == SortState::Ascending;
}

int TChartValueList::AddChartValue(double value)
{
    TempValue = value;
    const int n = Count();
    int index = n;
    if (n > 0 && order_ == loAscending && !(value >= values_.back())) {
        if (AscendingKnown()) {
            // Same place as the backward scan below: after every value not greater than v.
            index = static_cast<int>(std::upper_bound(values_.begin(), values_.end(), value) - values_.begin());
        } else {
            int i = n - 1;
            while (i >= 0 && values_[static_cast<size_t>(i)] > value)
                --i;
            index = i + 1;
        }
    } else if (n > 0 && order_ == loDescending && !(value <= values_.back())) {
        int i = n - 1;
        while (i >= 0 && values_[static_cast<size_t>(i)] < value)
            --i;
        index = i + 1;
    }

    StoreAt(index, value);
    return index;
}

namespace {

// Whether a follows b in the order: at or above it ascending, at or below it descending. NaN
// follows nothing.
bool Follows(double a, double b, TChartListOrder order)
{
    return order == loDescending ? a <= b : a >= b;
}

// How many values from the first keep the order, the first one after 'last' when there is one.
// Two pairs at a time while they all do; the exact place of a break is found one by one.
size_t OrderedPrefix(const double* v, size_t n, const double* last, TChartListOrder order)
{
    if (n == 0 || order == loNone)
        return n;
    if (last && !Follows(v[0], *last, order))
        return 0;
    size_t k = 1;
#ifdef __SSE2__
    if (order == loAscending) {
        for (; k + 4 <= n; k += 4) {
            const __m128d a = _mm_cmpge_pd(_mm_loadu_pd(v + k), _mm_loadu_pd(v + k - 1));
            const __m128d b = _mm_cmpge_pd(_mm_loadu_pd(v + k + 2), _mm_loadu_pd(v + k + 1));
            if (_mm_movemask_pd(_mm_and_pd(a, b)) != 3)
                break;
        }
    } else {
        for (; k + 4 <= n; k += 4) {
            const __m128d a = _mm_cmple_pd(_mm_loadu_pd(v + k), _mm_loadu_pd(v + k - 1));
            const __m128d b = _mm_cmple_pd(_mm_loadu_pd(v + k + 2), _mm_loadu_pd(v + k + 1));
            if (_mm_movemask_pd(_mm_and_pd(a, b)) != 3)
                break;
        }
    }
#endif
    while (k < n && Follows(v[k], v[k - 1], order))
        ++k;
    return k;
}

} // namespace

// Two values at a time in two lanes each, so the pass runs at the speed of memory.
bool ValueRange(const double* v, size_t count, double& low, double& high)
{
    size_t k = 0;
#ifdef __SSE2__
    __m128d lo0 = _mm_set1_pd(v[0]), lo1 = lo0, hi0 = lo0, hi1 = lo0;
    __m128d unordered = _mm_setzero_pd();
    for (; k + 4 <= count; k += 4) {
        const __m128d a = _mm_loadu_pd(v + k);
        const __m128d b = _mm_loadu_pd(v + k + 2);
        unordered = _mm_or_pd(unordered, _mm_or_pd(_mm_cmpunord_pd(a, a), _mm_cmpunord_pd(b, b)));
        lo0 = _mm_min_pd(lo0, a);
        lo1 = _mm_min_pd(lo1, b);
        hi0 = _mm_max_pd(hi0, a);
        hi1 = _mm_max_pd(hi1, b);
    }
    if (_mm_movemask_pd(unordered) != 0)
        return false;
    double lanes[4];
    _mm_storeu_pd(lanes, _mm_min_pd(lo0, lo1));
    _mm_storeu_pd(lanes + 2, _mm_max_pd(hi0, hi1));
    double lo = std::min(lanes[0], lanes[1]);
    double hi = std::max(lanes[2], lanes[3]);
#else
    double lo = v[0], hi = v[0];
#endif
    bool nan = v[0] != v[0];
    for (; k < count; ++k) {
        const double x = v[k];
        nan = nan || x != x;
        lo = x < lo ? x : lo;
        hi = x > hi ? x : hi;
    }
    low = lo;
    high = hi;
    return !nan;
}

namespace {

// Whether every one of count values is a finite number: x - x is 0 for those and NaN for NaN and
// the infinities. Every block appended is looked at, four values to an instruction where the
// processor can.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) size_t FiniteAvx(const double* v, size_t count, bool& finite)
{
    size_t k = 0;
    __m256d unordered = _mm256_setzero_pd();
    for (; k + 8 <= count; k += 8) {
        const __m256d a = _mm256_loadu_pd(v + k);
        const __m256d b = _mm256_loadu_pd(v + k + 4);
        const __m256d da = _mm256_sub_pd(a, a);
        const __m256d db = _mm256_sub_pd(b, b);
        unordered = _mm256_or_pd(unordered, _mm256_or_pd(_mm256_cmp_pd(da, da, _CMP_UNORD_Q),
                                                         _mm256_cmp_pd(db, db, _CMP_UNORD_Q)));
    }
    finite = _mm256_movemask_pd(unordered) == 0;
    return k;
}
#endif

bool AllFinite(const double* v, size_t count)
{
    size_t k = 0;
#if defined(__x86_64__) || defined(__i386__)
    static const bool hasAvx = (__builtin_cpu_init(), __builtin_cpu_supports("avx"));
    if (hasAvx) {
        bool finite = true;
        k = FiniteAvx(v, count, finite);
        if (!finite)
            return false;
    }
#endif
#ifdef __SSE2__
    __m128d unordered = _mm_setzero_pd();
    for (; k + 4 <= count; k += 4) {
        const __m128d a = _mm_loadu_pd(v + k);
        const __m128d b = _mm_loadu_pd(v + k + 2);
        const __m128d da = _mm_sub_pd(a, a);
        const __m128d db = _mm_sub_pd(b, b);
        unordered = _mm_or_pd(unordered, _mm_or_pd(_mm_cmpunord_pd(da, da), _mm_cmpunord_pd(db, db)));
    }
    if (_mm_movemask_pd(unordered) != 0)
        return false;
#endif
    for (; k < count; ++k)
        if (!std::isfinite(v[k]))
            return false;
    return true;
}

int CountNonFinite(const double* v, size_t count)
{
    if (AllFinite(v, count))
        return 0;
    return static_cast<int>(std::count_if(v, v + count, [](double x) { return !std::isfinite(x); }));
}

} // namespace

// Room for count more values: a first fill takes exactly what it needs, later appends double the
// room, so that a list growing by blocks copies itself only now and then.
void TChartValueList::ReserveForAppend(size_t count)
{
    const size_t needed = values_.size() + count;
    if (needed > values_.capacity())
        values_.reserve(values_.empty() ? needed : std::max(needed, 2 * values_.capacity()));
}

size_t TChartValueList::AppendInOrder(std::span<const double> values)
{
    // In pieces that stay in the cache between the check and the copy.
    constexpr size_t kPiece = 4096;
    size_t taken = 0;
    while (taken < values.size()) {
        const size_t piece = std::min(kPiece, values.size() - taken);
        const double* last = values_.empty() ? nullptr : &values_.back();
        const size_t ordered = OrderedPrefix(values.data() + taken, piece, last, order_);
        AppendValues(values.subspan(taken, ordered), order_ == loAscending);
        taken += ordered;
        if (ordered < piece)
            break;
    }
    return taken;
}

void TChartValueList::AppendAll(std::span<const double> values)
{
    AppendValues(values, false);
}

void TChartValueList::AppendValues(std::span<const double> values, bool ascending)
{
    if (values.empty())
        return;
    const size_t n = values.size();
    if (!ascending && sortState_ == SortState::Ascending &&
        OrderedPrefix(values.data(), n, values_.empty() ? nullptr : &values_.back(), loAscending) < n)
        sortState_ = SortState::NotAscending;
    ReserveForAppend(n);
    // Values that are no number are counted on the way in. Between two finite values in order
    // there are only finite ones (a NaN breaks the order), so only the ends of ascending values
    // are looked at; others are counted piece by piece just after each is copied, while it is
    // still in the cache.
    if (ascending) {
        size_t first = 0, end = n;
        while (first < end && !std::isfinite(values[first]))
            ++first;
        while (end > first && !std::isfinite(values[end - 1]))
            --end;
        nonFinite_ += static_cast<int>(first + (n - end));
        values_.insert(values_.end(), values.begin(), values.end());
    }
    constexpr size_t kPiece = 2048;
    for (size_t at = 0; !ascending && at < n; at += kPiece) {
        const std::span<const double> piece = values.subspan(at, std::min(kPiece, n - at));
        values_.insert(values_.end(), piece.begin(), piece.end());
        nonFinite_ += CountNonFinite(values_.data() + values_.size() - piece.size(), piece.size());
    }
    GrowFor(Count());
    appendedSinceRelease_ += n;
    // The sums are taken again when next asked for; the extremes follow the new values.
    totalsStale_ = true;
    if (minMaxStale_)
        return;
    // With a NaN or an infinity among them (then one of the extremes is not finite), the values
    // go one by one.
    double low = 0, high = 0;
    if (!ValueRange(values.data(), n, low, high) || !std::isfinite(low) || !std::isfinite(high)) {
        for (const double v : values)
            NoteAdded(v);
    } else if (!haveFinite_) {
        minValue_ = low;
        maxValue_ = high;
        haveFinite_ = true;
    } else {
        minValue_ = std::min(minValue_, low);
        maxValue_ = std::max(maxValue_, high);
    }
}

void TChartValueList::ReleaseGrowthSlack()
{
    const size_t slack = values_.capacity() - values_.size();
    if (slack == 0 || appendedSinceRelease_ < slack || values_.size() < reserved_)
        return;
    values_.shrink_to_fit();
    appendedSinceRelease_ = 0;
}

// The one place values enter the list. An append at the end extends the cached figures exactly
// as a full pass would (same order of summation), so a long in-order load never pays a rescan.
void TChartValueList::StoreAt(int index, double value)
{
    const bool appendAtEnd = index == Count();
    GrowFor(Count() + 1);
    ++appendedSinceRelease_;
    if (appendAtEnd) {
        values_.push_back(value);
    } else {
        values_.insert(values_.begin() + index, value);
        ++generation_;
    }
    NoteInsertedAt(index);
    nonFinite_ += std::isfinite(value) ? 0 : 1;

    // An append at the end extends the sums exactly as a full pass would (same order of
    // summation), so a long in-order load never pays for a rescan.
    NoteAdded(value);
    if (!appendAtEnd)
        totalsStale_ = true;
    else if (!totalsStale_ && std::isfinite(value)) {
        total_ += value;
        totalAbs_ += std::fabs(value);
    }
}

// Keeps minimum and maximum valid when a value leaves that was not one of them.
void TChartValueList::NoteRemoved(double old)
{
    if (minMaxStale_ || !std::isfinite(old))
        return;
    if (!(old > minValue_ && old < maxValue_))
        minMaxStale_ = true;
}

void TChartValueList::NoteAdded(double value)
{
    if (minMaxStale_ || !std::isfinite(value))
        return;
    if (!haveFinite_) {
        minValue_ = maxValue_ = value;
        haveFinite_ = true;
    } else if (value < minValue_) {
        minValue_ = value;
    } else if (value > maxValue_) {
        maxValue_ = value;
    }
}

void TChartValueList::InsertChartValue(int index, double value)
{
    if (index < 0 || index > Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
    StoreAt(index, value);
}

void TChartValueList::ClearValues()
{
    ++generation_;
    // The memory is kept: a trace is usually cleared to be filled again at the same length, and
    // touching fresh pages costs more than the fill itself.
    values_.clear();
    nonFinite_ = 0;
    capacity_ = 0;
    appendedSinceRelease_ = 0;
    reserved_ = 0;
    sortState_ = SortState::Ascending;
    MarkModified();
}

void TChartValueList::Delete(int index)
{
    ++generation_;
    CheckIndex(index);
    NoteRemoved(values_[static_cast<size_t>(index)]);
    nonFinite_ -= std::isfinite(values_[static_cast<size_t>(index)]) ? 0 : 1;
    values_.erase(values_.begin() + index);
    if (sortState_ == SortState::NotAscending)
        sortState_ = SortState::Unknown;
    totalsStale_ = true;
}

// A negative start is ignored and the quantity is cut to the values that exist, so that a wrong
// range can never move memory outside the list.
void TChartValueList::DeleteRange(int start, int quantity)
{
    ++generation_;
    if (start < 0 || start >= Count() || quantity <= 0)
        return;
    quantity = std::min(quantity, Count() - start);
    if (nonFinite_ > 0)
        nonFinite_ -= CountNonFinite(values_.data() + start, static_cast<size_t>(quantity));
    for (int i = start; i < start + quantity && !minMaxStale_; ++i)
        NoteRemoved(values_[static_cast<size_t>(i)]);
    values_.erase(values_.begin() + start, values_.begin() + start + quantity);
    if (sortState_ == SortState::NotAscending)
        sortState_ = SortState::Unknown;
    totalsStale_ = true;
}

void TChartValueList::SetValueQuiet(int index, double value)
{
    ++generation_;
    CheckIndex(index);
    double& slot = values_[static_cast<size_t>(index)];
    NoteRemoved(slot);
    nonFinite_ += (std::isfinite(value) ? 0 : 1) - (std::isfinite(slot) ? 0 : 1);
    slot = value;
    NoteAdded(value);
    NoteChangedAt(index);
    totalsStale_ = true;
}

void TChartValueList::SetValue(int index, double value)
{
    SetValueQuiet(index, value);
    if (owner_)
        owner_->NotifyValue(veModify, index);
}

void TChartValueList::ExchangeQuiet(int index1, int index2)
{
    ++generation_;
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(values_[static_cast<size_t>(index1)], values_[static_cast<size_t>(index2)]);
    NoteChangedAt(index1);
    NoteChangedAt(index2);
    totalsStale_ = true;
}

void TChartValueList::Exchange(int index1, int index2)
{
    ExchangeQuiet(index1, index2);
    if (owner_)
        owner_->NotifyValue(veModify, index1);
}

int TChartValueList::CompareValueIndex(int index1, int index2) const
{
    const double a = Value(index1);
    const double b = Value(index2);
    int result = a < b ? -1 : (a == b ? 0 : 1);
    if (order_ == loDescending)
        result = -result;
    return result;
}

void TChartValueList::FillSequence()
{
    ++generation_;
    for (size_t i = 0; i < values_.size(); ++i)
        values_[i] = static_cast<double>(i);
    nonFinite_ = 0;
    sortState_ = SortState::Ascending;
    MarkModified();
    if (owner_)
        owner_->NotifyValue(veModify, 0);
}

namespace {

// Quicksort over an index range with the middle element as pivot; the pivot is followed by index
// when it is swapped. Recursing into the smaller part only keeps the stack shallow on any input.
template <typename Compare, typename Swap>
void QuickSortRange(int l, int r, const Compare& compare, const Swap& swap)
{
    while (l < r) {
        int i = l;
        int j = r;
        int pivot = l + (r - l) / 2;
        while (i <= j) {
            while (compare(i, pivot) < 0)
                ++i;
            while (compare(pivot, j) < 0)
                --j;
            if (i <= j) {
                if (i != j) {
                    swap(i, j);
                    if (pivot == i)
                        pivot = j;
                    else if (pivot == j)
                        pivot = i;
                }
                ++i;
                --j;
            }
        }
        if (j - l < r - i) {
            if (l < j)
                QuickSortRange(l, j, compare, swap);
            l = i;
        } else {
            if (i < r)
                QuickSortRange(i, r, compare, swap);
            r = j;
        }
    }
}

} // namespace

void TChartValueList::Sort()
{
    ++generation_;
    if (order_ == loNone || Count() < 2)
        return;
    auto compare = [this](int a, int b) {
        const double x = values_[static_cast<size_t>(a)];
        const double y = values_[static_cast<size_t>(b)];
        const int r = x < y ? -1 : (x == y ? 0 : 1);
        return order_ == loDescending ? -r : r;
    };
    auto swap = [this](int a, int b) {
        if (owner_)
            owner_->SwapValueIndex(a, b);
        else
            std::swap(values_[static_cast<size_t>(a)], values_[static_cast<size_t>(b)]);
    };
    QuickSortRange(0, Count() - 1, compare, swap);
    sortState_ = SortState::Unknown;
    totalsStale_ = true;
}

void TChartValueList::Scroll()
{
    ++generation_;
    if (values_.empty())
        return;
    std::rotate(values_.begin(), values_.begin() + 1, values_.end());
    sortState_ = SortState::Unknown;
    totalsStale_ = true;
}

void TChartValueList::Assign(const TChartValueList& source)
{
    ++generation_;
    order_ = source.order_;
    dateTime_ = source.dateTime_;
    valueSource_ = source.valueSource_;
}

void TChartValueList::InitDateTime(bool value)
{
    dateTime_ = value;
    defaultDateTime_ = value;
}

void TChartValueList::SetDateTime(bool value)
{
    if (dateTime_ == value)
        return;
    dateTime_ = value;
    if (owner_)
        owner_->Repaint();
}

void TChartValueList::SetValueSource(const QString& value)
{
    if (valueSource_ == value)
        return;
    valueSource_ = value;
    if (owner_)
        owner_->CheckDataSource();
}

std::optional<QString> TChartValueList::ReadMultiplier(double value)
{
    if (value == 1.0)
        return std::nullopt;
    return seriestexts::MultiplierObsolete();
}

// Non-finite values (gaps, failed conversions) are left out of all four figures: one NaN would
// otherwise make the minimum, maximum and so every automatic axis range meaningless. The two
// pairs are computed apart, as axes ask only for the extremes.
void TChartValueList::RecalcMinMax()
{
    const double* v = values_.data();
    const size_t n = values_.size();
    size_t i = 0;
    while (i < n && !std::isfinite(v[i]))
        ++i;
    haveFinite_ = i < n;
    double mn = haveFinite_ ? v[i] : 0.0;
    double mx = mn;
    for (; i < n; ++i) {
        const double x = v[i];
        // A non-finite value stands in as the current minimum, which changes nothing.
        const double y = std::isfinite(x) ? x : mn;
        mn = y < mn ? y : mn;
        mx = y > mx ? y : mx;
    }
    minValue_ = mn;
    maxValue_ = mx;
    minMaxStale_ = false;
}

void TChartValueList::RecalcTotals()
{
    double total = 0.0;
    double totalAbs = 0.0;
    for (const double x : values_) {
        if (std::isfinite(x)) {
            total += x;
            totalAbs += std::fabs(x);
        }
    }
    total_ = total;
    totalAbs_ = totalAbs;
    totalsStale_ = false;
}

double TChartValueList::MaxValue()
{
    if (minMaxStale_)
        RecalcMinMax();
    return maxValue_;
}

double TChartValueList::MinValue()
{
    if (minMaxStale_)
        RecalcMinMax();
    return minValue_;
}

double TChartValueList::Total()
{
    if (totalsStale_)
        RecalcTotals();
    return total_;
}

double TChartValueList::TotalABS()
{
    if (totalsStale_)
        RecalcTotals();
    return totalAbs_;
}

void TChartValueList::ReduceTotalABS(double amount)
{
    if (totalsStale_)
        RecalcTotals();
    totalAbs_ -= amount;
}

int TChartValueList::Locate(double value) const
{
    return LocateRange(value, 0, Count() - 1);
}

int TChartValueList::LocateRange(double value, int first, int last) const
{
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    if (last < first)
        return -1;
    const auto begin = values_.begin() + first;
    const auto end = values_.begin() + last + 1;
    if (AscendingKnown()) {
        const auto it = std::lower_bound(begin, end, value);
        return it != end && *it == value ? static_cast<int>(it - values_.begin()) : -1;
    }
    const auto it = std::find(begin, end, value);
    return it != end ? static_cast<int>(it - values_.begin()) : -1;
}

TChartValueList* TChartValueLists::operator[](int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
    return lists_[static_cast<size_t>(index)].get();
}

TChartValueList* TChartValueLists::Add(std::unique_ptr<TChartValueList> list)
{
    lists_.push_back(std::move(list));
    return lists_.back().get();
}

void TChartValueList::Reserve(int count)
{
    reserved_ = static_cast<size_t>(std::max(count, 0));
    if (reserved_ > values_.capacity())
        values_.reserve(reserved_);
}
