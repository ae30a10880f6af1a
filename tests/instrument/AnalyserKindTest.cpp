// The analyser kinds the identification can leave, each answering its own predicate and no other.
#include "instrument/AnalyserKind.h"

#include <functional>
#include <gtest/gtest.h>

TEST(AnalyserKind, EachKindHasItsOwnPredicate)
{
    using Predicate = bool (AnalyserKind::*)() const;
    const Predicate own[] = {&AnalyserKind::IsRigolDsa,   &AnalyserKind::IsRigolRsa, &AnalyserKind::IsSiglentSsa,
                             &AnalyserKind::IsSiglentSva, &AnalyserKind::IsHameg,    &AnalyserKind::IsRsFpc,
                             &AnalyserKind::IsRsFph};
    const AnalyserKind kinds[] = {{dfRigol, 815}, {dfRigol, AnalyserKind::kRigolRsaModel}, {dfSiglent, 0, ssSsa},
                                  {dfSiglent, 0, ssSva}, {dfHameg}, {dfRsFpc}, {dfRsFph}};
    for (size_t k = 0; k < std::size(kinds); ++k) {
        // Not (kinds[k].*own[p])(), which g++ 12 with -fsanitize=bounds checks with a wrong index.
        for (size_t p = 0; p < std::size(own); ++p)
            EXPECT_EQ(std::invoke(own[p], kinds[k]), k == p) << "kind " << k << ", predicate " << p;
        EXPECT_TRUE(kinds[k].IsKnown());
        EXPECT_EQ(kinds[k].IsRsReceiver(), k >= 5);
        // The swept analysers (Rigol, Siglent) have the generator, the VBW choice and the swept
        // runs; every family but the Hameg puts its marker on a frequency.
        EXPECT_EQ(kinds[k].HasTrackingGenerator(), k <= 3);
        EXPECT_EQ(kinds[k].HasVbwChoice(), k <= 3);
        EXPECT_EQ(kinds[k].HasSweptRuns(), k <= 3);
        EXPECT_EQ(kinds[k].PlacesMarkerAtFrequency(), k != 4);
    }
    const AnalyserKind none, siglentOfNoSeries{dfSiglent};
    EXPECT_FALSE(none.IsKnown() || none.IsRigolDsa() || none.IsRsReceiver() || none.HasTrackingGenerator() ||
                 none.HasVbwChoice() || none.HasSweptRuns() || none.PlacesMarkerAtFrequency());
    EXPECT_FALSE(siglentOfNoSeries.IsSiglentSsa() || siglentOfNoSeries.IsSiglentSva());
}
