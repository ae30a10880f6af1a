#include "chart/engine/ChartComponent.h"

#include <algorithm>

ChartComponent::~ChartComponent()
{
    destroying_ = true;
    // Work on a copy: a listener may drop other registrations while it is told.
    const std::vector<ChartComponent*> listeners = std::move(notifies_);
    notifies_.clear();
    for (ChartComponent* other : listeners) {
        auto& theirs = other->notifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this);
    }
}

void ChartComponent::FreeNotification(ChartComponent* other)
{
    if (!other || other == this)
        return;
    if (std::find(notifies_.begin(), notifies_.end(), other) == notifies_.end())
        notifies_.push_back(other);
    if (std::find(other->notifies_.begin(), other->notifies_.end(), this) == other->notifies_.end())
        other->notifies_.push_back(this);
}

void ChartComponent::RemoveFreeNotification(ChartComponent* other)
{
    if (!other)
        return;
    notifies_.erase(std::remove(notifies_.begin(), notifies_.end(), other), notifies_.end());
    auto& theirs = other->notifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}
