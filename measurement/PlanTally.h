#ifndef ZENDRIK_MEASUREMENT_PLANTALLY_H
#define ZENDRIK_MEASUREMENT_PLANTALLY_H

#include <QString>
#include <map>

// How much of its plan (the checked segments of the set) a run measured, segment by segment over
// all its passes, and why a segment brought less than planned, in the words of its own line. A
// run that measured less than its plan says so at its end, in its end notice and in the report.
class PlanTally {
public:
    enum class Measured { None, InPart, Whole };

    // A checked segment of the plan: not measured until a pass records it.
    void Plan(int segment);
    // What a pass brought of a segment, and why not all of it. A max-hold run keeps the best of
    // its passes, as its held trace does.
    void Record(int segment, Measured measured, const QString& reason);
    // Why the planned segments that no pass reached were not measured.
    void EndedBy(const QString& reason) { endReason_ = reason; }

    int Planned() const { return static_cast<int>(segments_.size()); }
    int Count(Measured measured) const;
    bool Complete() const { return Count(Measured::Whole) == Planned(); }
    // "Warning: Set1: 1 of 10 segments measured whole; not measured: seg 2-10 (beyond the
    // analyser's range)", segments in part before those not measured, each kind grouped by
    // reason; empty when the whole plan was measured.
    QString Summary(int setNumber) const;

private:
    struct Outcome {
        Measured measured = Measured::None;
        QString reason;
        bool recorded = false;
    };
    std::map<int, Outcome> segments_;
    QString endReason_;
};

#endif
