#ifndef ZENDRIK_DATAFILES_AXISBOUNDS_H
#define ZENDRIK_DATAFILES_AXISBOUNDS_H

class TChartAxis;

// The range of a chart axis as the grid and the project set it. The setters keep the chart
// library's rule: a minimum above the maximum, or a maximum below the minimum, is refused with
// an AxisException and the old value stays.
class AxisBounds {
public:
    virtual ~AxisBounds() = default;
    virtual double Minimum() const = 0;
    virtual double Maximum() const = 0;
    virtual void SetMinimum(double value) = 0;
    virtual void SetMaximum(double value) = 0;
};

// A chart axis of the chart library.
class ChartAxisBounds final : public AxisBounds {
public:
    explicit ChartAxisBounds(TChartAxis& axis) : axis_(axis) {}
    double Minimum() const override;
    double Maximum() const override;
    void SetMinimum(double value) override;
    void SetMaximum(double value) override;

private:
    TChartAxis& axis_;
};

namespace datafiles {
// Sets both ends of an axis as one pair, in the order the library's check allows (a new maximum
// below the old minimum is set after the new minimum). Nothing changes and the result is false
// when minimum > maximum or either is not a finite number.
bool SetAxisPair(AxisBounds& axis, double minimum, double maximum);
} // namespace datafiles

#endif
