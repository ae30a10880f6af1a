#include "mainwindow/MarkerStore.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"

namespace {

QString Label(int32_t number, const QString& frequency, double level, const char* unit)
{
    return QString::number(number) + QLatin1Char(' ') + frequency + QLatin1Char(' ') +
           FloatToStrF(level, FloatFormat::ffFixed, 10, 2) + QLatin1String(unit);
}

} // namespace

const QString& MarkerRecord::Label(LevelUnit unit) const
{
    switch (unit) {
    case LevelUnit::dBm:
        return LabelDbm;
    case LevelUnit::dBpW:
        return LabelDbpw;
    case LevelUnit::dBuV:
        break;
    }
    return LabelDbuv;
}

MarkerRecord MakeMarker(int32_t number, int32_t xKhz, double levelDbuv, int32_t row)
{
    MarkerRecord m;
    m.X = xKhz;
    m.Y = row;
    m.Level = levelDbuv;
    m.FrequencyText = QString::number(xKhz);
    const QString frequency = IntKhzToScaledText(m.FrequencyText);
    m.FreqLevelText = frequency + QLatin1Char(' ') + FloatToStrF(levelDbuv, FloatFormat::ffFixed, 10, 2);
    m.LabelDbm = ::Label(number, frequency, levelDbuv + LevelUnitOffsetOf(LevelUnit::dBm), " dBm");
    m.LabelDbuv = ::Label(number, frequency, levelDbuv + LevelUnitOffsetOf(LevelUnit::dBuV), " dBuV");
    m.LabelDbpw = ::Label(number, frequency, levelDbuv + LevelUnitOffsetOf(LevelUnit::dBpW), " dBpW");
    return m;
}
