#include "chart/engine/LabelsList.h"

#include <algorithm>

QString TLabelsList::Labels(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return labels_[static_cast<size_t>(index)];
}

void TLabelsList::SetLabel(int index, const QString& text)
{
    if (index < 0)
        return;
    if (index >= Count()) {
        if (text.isEmpty())
            return;
        labels_.resize(static_cast<size_t>(index) + 1);
    }
    labels_[static_cast<size_t>(index)] = text;
}

void TLabelsList::InsertLabel(int index, const QString& text)
{
    if (index < 0 || (text.isEmpty() && labels_.empty()))
        return;
    if (index > Count())
        labels_.resize(static_cast<size_t>(index));
    labels_.insert(labels_.begin() + index, text);
}

void TLabelsList::DeleteLabel(int index)
{
    if (index < 0 || index >= Count())
        return;
    labels_.erase(labels_.begin() + index);
}

void TLabelsList::DeleteRange(int start, int quantity)
{
    if (start < 0 || start >= Count() || quantity <= 0)
        return;
    quantity = std::min(quantity, Count() - start);
    labels_.erase(labels_.begin() + start, labels_.begin() + start + quantity);
}

void TLabelsList::Exchange(int index1, int index2)
{
    const int needed = std::max(index1, index2) + 1;
    if (index1 < 0 || index2 < 0 || labels_.empty())
        return;
    if (needed > Count())
        labels_.resize(static_cast<size_t>(needed));
    std::swap(labels_[static_cast<size_t>(index1)], labels_[static_cast<size_t>(index2)]);
}

void TLabelsList::Clear()
{
    std::vector<QString>().swap(labels_);
}

void TLabelsList::Assign(const TLabelsList& source)
{
    if (&source == this)
        return;
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        InsertLabel(i, source.labels_[static_cast<size_t>(i)]);
}
