// Sums of a grouped query: exact at the column's scale, rounded half away from
// zero, NULL for a group without a value, and in the order asked for.
#include <gtest/gtest.h>

#include "support/QueryFixture.h"

namespace vantrep::tests {
namespace {

using engine::Value;

class GroupedSums : public QueryFixture {
protected:
    void SetUp() override {
        QueryFixture::SetUp();
        // Group A sums to 3.75, B has only NULLs, C sums to -2.35, D to 0.05.
        makeTable("DATA.DBF", {{"K", 'C', 1}, {"AMOUNT", 'N', 8, 2, true}, {"QTY", 'N', 4}},
                  {{text("C"), number("-3.45"), Value::integer(2)},
                   {text("A"), number("1.25"), Value::integer(1)},
                   {text("B"), Value::null(), Value::integer(7)},
                   {text("D"), number("0.05"), Value::integer(0)},
                   {text("A"), number("2.50"), Value::integer(3)},
                   {text("C"), number("1.10"), Value::integer(5)},
                   {text("B"), Value::null(), Value::integer(1)}});
        connection.Open(connectionString());
    }
};

TEST_F(GroupedSums, SumsAreExactAndNullWhereAGroupHasNoValue) {
    EXPECT_EQ(query("SELECT K, SUM(AMOUNT) AS S, COUNT(AMOUNT) AS N FROM DATA.DBF GROUP BY K ORDER BY 1"),
              (std::vector<Row>{{"K", "S", "N"}, {"A", "3.75", "2"}, {"B", ".NULL.", "0"}, {"C", "-2.35", "2"},
                                {"D", "0.05", "1"}}));
}

TEST_F(GroupedSums, RoundingKeepsTheAskedDecimalsAndRoundsHalfAwayFromZero) {
    EXPECT_EQ(query("SELECT K, ROUND(SUM(AMOUNT),1) AS S1, ROUND(SUM(AMOUNT),2) AS S2, ROUND(SUM(QTY),0) AS Q "
                    "FROM DATA.DBF GROUP BY K ORDER BY 1"),
              (std::vector<Row>{{"K", "S1", "S2", "Q"},
                                {"A", "3.8", "3.75", "4"},
                                {"B", ".NULL.", ".NULL.", "8"},
                                {"C", "-2.4", "-2.35", "7"},
                                {"D", "0.1", "0.05", "0"}}));
}

TEST_F(GroupedSums, OrderedBySumTheRowsCarryTheirOwnSums) {
    EXPECT_EQ(query("SELECT K, ROUND(SUM(AMOUNT),2) AS S, SUM(QTY) AS Q FROM DATA.DBF GROUP BY K ORDER BY 3 DESC"),
              (std::vector<Row>{{"K", "S", "Q"}, {"B", ".NULL.", "8"}, {"C", "-2.35", "7"}, {"A", "3.75", "4"},
                                {"D", "0.05", "0"}}));
    EXPECT_EQ(query("SELECT K, SUM(AMOUNT) AS S FROM DATA.DBF WHERE AMOUNT > 0 GROUP BY K ORDER BY 2"),
              (std::vector<Row>{{"K", "S"}, {"D", "0.05"}, {"C", "1.10"}, {"A", "3.75"}}));
}

TEST_F(GroupedSums, ASumInAnExpressionReadsTheGroupsSum) {
    EXPECT_EQ(query("SELECT K, SUM(AMOUNT) * 2 AS S FROM DATA.DBF WHERE K <> 'B' GROUP BY K ORDER BY 1"),
              (std::vector<Row>{{"K", "S"}, {"A", "7.50"}, {"C", "-4.70"}, {"D", "0.10"}}));
    EXPECT_EQ(query("SELECT K, SUM(QTY) AS Q, SUM(AMOUNT) AS S, SUM(QTY) + 1 AS Q1, SUM(AMOUNT) * 2 AS S2 "
                    "FROM DATA.DBF WHERE K <> 'B' GROUP BY K ORDER BY 1"),
              (std::vector<Row>{{"K", "Q", "S", "Q1", "S2"},
                                {"A", "4", "3.75", "5", "7.50"},
                                {"C", "7", "-2.35", "8", "-4.70"},
                                {"D", "0", "0.05", "1", "0.10"}}));
}

}  // namespace
}  // namespace vantrep::tests
