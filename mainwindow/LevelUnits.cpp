#include "mainwindow/LevelUnits.h"

#include "mainwindow/MainWindowState.h"

namespace {

const QChar kMicro(0x00B5);

} // namespace

int32_t LevelUnitOffsetOf(LevelUnit unit)
{
    switch (unit) {
    case LevelUnit::dBm:
        return -107;
    case LevelUnit::dBpW:
        return -17;
    case LevelUnit::dBuV:
        break;
    }
    return 0;
}

QString LevelUnitNameOf(LevelUnit unit)
{
    switch (unit) {
    case LevelUnit::dBm:
        return QStringLiteral("dBm");
    case LevelUnit::dBpW:
        return QStringLiteral("dBpW");
    case LevelUnit::dBuV:
        break;
    }
    return QStringLiteral("dB") + kMicro + QStringLiteral("V");
}

QString LevelAxisTitleOf(LevelUnit unit)
{
    if (unit != LevelUnit::dBuV)
        return LevelUnitNameOf(unit);
    const QString v = LevelUnitNameOf(unit);
    return v + QStringLiteral("  (") + v + QStringLiteral("/m, dB") + kMicro + QStringLiteral("A)");
}

LevelUnit LevelUnitOfOffset(int32_t offset)
{
    for (LevelUnit unit : {LevelUnit::dBm, LevelUnit::dBpW})
        if (LevelUnitOffsetOf(unit) == offset)
            return unit;
    return LevelUnit::dBuV;
}

LevelUnit UnitAfterBoxClick(LevelUnit current, LevelUnit clicked, bool checkedNow)
{
    return checkedNow ? clicked : current;
}

QString ApplyLevelUnit(MainWindowState& state, LevelUnit unit)
{
    state.LevelUnitOffset = LevelUnitOffsetOf(unit);
    state.LevelUnitName = LevelUnitNameOf(unit);
    return LevelAxisTitleOf(unit);
}
