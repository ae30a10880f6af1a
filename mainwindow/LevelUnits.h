#ifndef ZENDRIK_MAINWINDOW_LEVELUNITS_H
#define ZENDRIK_MAINWINDOW_LEVELUNITS_H

#include <QString>
#include <cstdint>

struct MainWindowState;

// The unit of every level the main window shows (axis labels, read-outs, marker labels). Levels
// are stored in dBuV; the unit only adds its offset to what is displayed.
enum class LevelUnit { dBuV, dBpW, dBm };

int32_t LevelUnitOffsetOf(LevelUnit unit); // 0, -17, -107
QString LevelUnitNameOf(LevelUnit unit);   // "dBµV" (U+00B5), "dBpW", "dBm"
QString LevelAxisTitleOf(LevelUnit unit);  // the left axis title
// The unit an offset stands for; dBuV for an offset no unit has.
LevelUnit LevelUnitOfOffset(int32_t offset);

// The three unit boxes behave as one radio group: ticking a box chooses its unit, unticking the
// chosen one ticks it again, so one unit is always chosen.
LevelUnit UnitAfterBoxClick(LevelUnit current, LevelUnit clicked, bool checkedNow);

// Makes unit the main window's level unit (LevelUnitOffset, LevelUnitName) and returns the
// left axis title that goes with it.
QString ApplyLevelUnit(MainWindowState& state, LevelUnit unit);

#endif
