// The analyser kinds the identification can leave, each answering its own predicate and no other,
// and what each offers, by name.
#include "instrument/AnalyserKind.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

using A = AnalyserKind;
using R = SweptRun;
using O = OptionsQuery;
// A kind, its predicate, whether it is a receiver, has the generator, the VBW choice, a marker
// on a frequency and marker levels in dBm, then its swept run and its options query.
const struct Kind {
    const char* name;
    AnalyserKind kind;
    bool (AnalyserKind::*own)() const;
    bool receiver, generator, vbw, markerAtFrequency, markerInDbm;
    SweptRun run;
    OptionsQuery options;
} kKinds[] = {
    {"DSA", {dfRigol, 815}, &A::IsRigolDsa, 0, 1, 1, 1, 0, R::RigolDsa, O::RigolOptions},
    {"RSA", {dfRigol, 5000}, &A::IsRigolRsa, 0, 1, 1, 1, 1, R::RigolRsa, O::RigolOptions},
    {"SSA", {dfSiglent, 0, ssSsa}, &A::IsSiglentSsa, 0, 1, 1, 1, 1, R::SiglentSsa, O::SiglentConfiguration},
    {"SVA", {dfSiglent, 0, ssSva}, &A::IsSiglentSva, 0, 1, 1, 1, 1, R::SiglentSva, O::None},
    {"Hameg", {dfHameg}, &A::IsHameg, 0, 0, 0, 0, 0, R::None, O::None},
    {"FPC", {dfRsFpc}, &A::IsRsFpc, 1, 0, 0, 1, 0, R::None, O::RsOptions},
    {"FPH", {dfRsFph}, &A::IsRsFph, 1, 0, 0, 1, 0, R::None, O::RsOptions},
};

} // namespace

TEST(AnalyserKind, EachKindHasItsOwnPredicateAndCapabilities)
{
    for (const Kind& k : kKinds) {
        const AnalyserKind& a = k.kind;
        // std::invoke, not (a.*p)(), which g++ 12 with -fsanitize=bounds checks with a wrong index.
        for (const Kind& other : kKinds)
            EXPECT_EQ(std::invoke(other.own, a), &other == &k) << k.name << " answers " << other.name;
        EXPECT_TRUE(a.IsKnown() && a.IsRsReceiver() == k.receiver && a.HasTrackingGenerator() == k.generator
                    && a.HasVbwChoice() == k.vbw && a.PlacesMarkerAtFrequency() == k.markerAtFrequency
                    && a.MarkerAnswersInDbm() == k.markerInDbm && a.HasSweptRuns() == (k.run != R::None)
                    && a.SweptRunKind() == k.run && a.InfoOptionsQuery() == k.options)
            << k.name;
    }
    // A family with no kind here would be checked by nothing above.
    for (const DeviceFamilyCode family : kDeviceFamilies)
        EXPECT_TRUE(std::ranges::any_of(kKinds, [&](const Kind& k) { return k.kind.DeviceFamily == family; }))
            << "no kind of family " << family;
    // A Siglent of no series stands for a family joined to another's case that none of its tests
    // serves: no swept run, which makes Play refuse it with a line, and no options query.
    const AnalyserKind none, siglentOfNoSeries{dfSiglent};
    EXPECT_FALSE(none.IsKnown() || none.IsRigolDsa() || none.IsRsReceiver() || none.HasTrackingGenerator() ||
                 none.HasVbwChoice() || none.HasSweptRuns() || none.PlacesMarkerAtFrequency());
    EXPECT_FALSE(siglentOfNoSeries.IsSiglentSsa() || siglentOfNoSeries.IsSiglentSva() || siglentOfNoSeries.HasSweptRuns()
                 || siglentOfNoSeries.InfoOptionsQuery() != O::None);
}
