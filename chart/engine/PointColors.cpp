#include "chart/engine/PointColors.h"

#include <algorithm>

// Every point's colour is looked up here. Its short search loop ran a tenth slower whenever the
// code before it left the loop across a cache line; starting it on one keeps its speed whatever
// the library around it.
__attribute__((aligned(64))) int TPointColors::RunAt(int index) const
{
    if (index < 0 || index >= end_)
        return -1;
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), index);
    return static_cast<int>(it - starts_.begin()) - 1;
}

TColor TPointColors::At(int index) const
{
    const int run = RunAt(index);
    return run < 0 ? clDefault : colors_[static_cast<size_t>(run)];
}

// Adjacent runs of one colour become one and trailing clDefault runs go.
void TPointColors::Normalize()
{
    size_t out = 0;
    for (size_t i = 0; i < starts_.size(); ++i) {
        if (out > 0 && colors_[out - 1] == colors_[i])
            continue;
        starts_[out] = starts_[i];
        colors_[out] = colors_[i];
        ++out;
    }
    starts_.resize(out);
    colors_.resize(out);
    while (!colors_.empty() && colors_.back() == clDefault) {
        end_ = starts_.back();
        starts_.pop_back();
        colors_.pop_back();
    }
    if (starts_.empty())
        end_ = 0;
}

void TPointColors::Insert(int index, TColor color)
{
    if (index < 0)
        return;
    if (index >= end_) {
        // At or beyond the end: the points in between (if any) have no colour of their own.
        if (color == clDefault)
            return;
        if (index > end_) {
            starts_.push_back(end_);
            colors_.push_back(clDefault);
        }
        if (colors_.empty() || colors_.back() != color) {
            starts_.push_back(index);
            colors_.push_back(color);
        }
        end_ = index + 1;
        return;
    }
    const int run = RunAt(index);
    const auto r = static_cast<size_t>(run);
    if (colors_[r] == color) {
        for (size_t i = r + 1; i < starts_.size(); ++i)
            ++starts_[i];
    } else {
        for (size_t i = r + 1; i < starts_.size(); ++i)
            ++starts_[i];
        if (starts_[r] == index) {
            starts_.insert(starts_.begin() + run, index);
            colors_.insert(colors_.begin() + run, color);
            ++starts_[r + 1];
        } else {
            const TColor old = colors_[r];
            starts_.insert(starts_.begin() + run + 1, {index, index + 1});
            colors_.insert(colors_.begin() + run + 1, {color, old});
        }
    }
    ++end_;
    Normalize();
}

void TPointColors::Append(int index, int count, TColor color)
{
    if (count <= 0)
        return;
    if (index < end_) {
        for (int k = 0; k < count; ++k)
            Insert(index + k, color);
        return;
    }
    Insert(index, color);
    if (end_ == index + 1)
        end_ = index + count;
}

void TPointColors::Erase(int index, int count)
{
    if (index < 0 || count <= 0 || index >= end_)
        return;
    const int stop = std::min(end_, index + count);
    const int removed = stop - index;
    std::vector<int32_t> starts;
    std::vector<TColor> colors;
    for (size_t i = 0; i < starts_.size(); ++i) {
        const int begin = starts_[i];
        const int end = i + 1 < starts_.size() ? starts_[i + 1] : end_;
        // What is left of [begin, end) after cutting [index, stop), moved down.
        const int keepBefore = std::max(0, std::min(end, index) - begin);
        const int keepAfter = std::max(0, end - std::max(begin, stop));
        if (keepBefore + keepAfter == 0)
            continue;
        starts.push_back(keepBefore > 0 ? begin : std::max(begin, stop) - removed);
        colors.push_back(colors_[i]);
    }
    starts_ = std::move(starts);
    colors_ = std::move(colors);
    end_ -= removed;
    Normalize();
}

void TPointColors::Set(int index, TColor color)
{
    if (index < 0)
        return;
    if (index >= end_) {
        if (color == clDefault)
            return;
        Insert(index, color);
        return;
    }
    if (At(index) == color)
        return;
    const int run = RunAt(index);
    const auto r = static_cast<size_t>(run);
    const int runEnd = r + 1 < starts_.size() ? starts_[r + 1] : end_;
    const TColor old = colors_[r];
    if (starts_[r] == index && runEnd == index + 1) {
        colors_[r] = color;
    } else if (starts_[r] == index) {
        starts_.insert(starts_.begin() + run, index);
        colors_.insert(colors_.begin() + run, color);
        starts_[r + 1] = index + 1;
    } else if (runEnd == index + 1) {
        starts_.insert(starts_.begin() + run + 1, index);
        colors_.insert(colors_.begin() + run + 1, color);
    } else {
        starts_.insert(starts_.begin() + run + 1, {index, index + 1});
        colors_.insert(colors_.begin() + run + 1, {color, old});
    }
    Normalize();
}

void TPointColors::Swap(int a, int b)
{
    const TColor ca = At(a);
    const TColor cb = At(b);
    if (ca == cb)
        return;
    Set(a, cb);
    Set(b, ca);
}

void TPointColors::Clear()
{
    starts_.clear();
    colors_.clear();
    end_ = 0;
}
