#ifndef ZENDRIK_CHART_ENGINE_ENGINESTARTUP_H
#define ZENDRIK_CHART_ENGINE_ENGINESTARTUP_H

#include <QString>
#include <QStringList>
#include <cstdint>

// What the engine unit sets up when the program starts: the classes the form reader looks up by
// name, the class groups that put chart parts beside controls, and the pixel coordinate limit
// that the axes clamp to. The application owns one and passes it on.
struct EngineUnitState {
    int StartCount = 0;
    int32_t PixelCoordinateLimit = 32767;
    QStringList ClassGroups;        // activated groups, first the control group
    QStringList GroupedClasses;     // base classes grouped with the controls
    QStringList RegisteredClasses;  // classes registered for streaming
};

// Runs once however many units start it; platformIsNT selects the large coordinate limit.
void StartEngineUnit(EngineUnitState& state, bool platformIsNT);
// Undoes the start when the last user stops it.
void StopEngineUnit(EngineUnitState& state);

#endif
