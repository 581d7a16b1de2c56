// The criteria text in its four combinations.
#include <gtest/gtest.h>

#include "session/Criteria.h"

namespace vantrep::session {
namespace {

TEST(Criteria, JoinsThePageFilterAndTheTitle) {
    EXPECT_EQ(getCriteria("", ""), "");
    EXPECT_EQ(getCriteria(" Media in('TV','RADIO')", ""), "Media in('TV','RADIO')\r");
    EXPECT_EQ(getCriteria("", "Spends 2024"), "Spends 2024");
    EXPECT_EQ(getCriteria(" Media in('TV') AND Month in('Feb')", "Spends 2024"),
              "Media in('TV') AND Month in('Feb')\rSpends 2024");
}

}  // namespace
}  // namespace vantrep::session
