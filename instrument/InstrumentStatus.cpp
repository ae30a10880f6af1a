#include "instrument/InstrumentStatus.h"

QString InstrumentStatus::Text(StatusBarPanel panel) const
{
    return texts_.at(PanelIndex(panel));
}

void InstrumentStatus::SetText(StatusBarPanel panel, const QString& text)
{
    texts_.at(PanelIndex(panel)) = text;
    emit TextChanged(panel, text);
}
