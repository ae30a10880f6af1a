#include "instrument/InstrumentStatus.h"

QString InstrumentStatus::Text(int panel) const
{
    if (panel < 0 || panel >= static_cast<int>(texts_.size()))
        return {};
    return texts_[static_cast<size_t>(panel)];
}

void InstrumentStatus::SetText(int panel, const QString& text)
{
    if (panel < 0 || panel >= static_cast<int>(texts_.size()))
        return;
    texts_[static_cast<size_t>(panel)] = text;
    emit TextChanged(panel, text);
}
