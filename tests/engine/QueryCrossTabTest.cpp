// The cross-tab, value-list and listing statements the program sends, run on a
// generated table and compared with a naive reference computed here.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "engine/dbf/DbfWriter.h"
#include "support/QueryFixture.h"

namespace vantrep::tests {
namespace {

using engine::Decimal;
using engine::Value;
using engine::dbf::FieldSpec;

struct AdRow {
    std::string media;
    int month;
    int64_t spendCents;
    std::string brand;
    int32_t date;
    int spots;
    bool deleted;
};

std::string padded(const std::string& s, size_t width) { return s + std::string(width - s.size(), ' '); }

class CrossTab : public QueryFixture {
protected:
    void SetUp() override { fill(6000); }

    void fill(int count) {
        QueryFixture::SetUp();
        const char* media[] = {"TV", "RADIO", "PRESS", "TVR", "OUTDOOR"};
        uint64_t seed = 12345;
        auto next = [&seed](uint64_t range) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            return (seed >> 33) % range;
        };
        std::vector<std::vector<Value>> records;
        for (int i = 0; i < count; ++i) {
            AdRow r;
            r.media = media[next(5)];
            r.month = static_cast<int>(next(12)) + 1;
            r.spendCents = static_cast<int64_t>(next(10000000));
            r.brand = "BRAND" + std::to_string(next(40));
            r.date = engine::julianDay(2024, r.month, static_cast<int>(next(28)) + 1);
            r.spots = static_cast<int>(next(50));
            r.deleted = next(20) == 0;
            rows.push_back(r);
            records.push_back({text(r.media), Value::integer(r.month),
                               Value::decimal(Decimal{r.spendCents, 2}), text(r.brand), Value::date(r.date),
                               Value::integer(r.spots), text(i % 3 == 0 ? "clip" + std::to_string(i) + ".mpg" : "")});
        }
        makeTable("DATA.DBF",
                  {{"MEDIA", 'C', 10}, {"MONTH", 'N', 2}, {"SPEND", 'N', 12, 2}, {"BRAND", 'C', 20},
                   {"DATE", 'D'}, {"SPOTS", 'N', 6}, {"CLIPDET", 'C', 20}},
                  records);
        engine::dbf::DbfWriter writer(folder + "DATA.DBF");
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].deleted) writer.setDeleted(static_cast<uint32_t>(i), true);
    }

    std::vector<AdRow> rows;
};

std::string rounded(int64_t cents, int digits) { return Decimal{cents, 2}.rounded(digits).toString(); }

TEST_F(CrossTab, GroupedStatementMatchesReference) {
    auto result = query(
        "select MEDIA, MONTH,  ROUND(SUM(SPEND),0) AS SPEND from DATA.DBF WHERE 1=1  AND INLIST(MONTH,1,2) "
        "group by 1 ,2 order by 1 ,2");
    std::map<std::tuple<std::string, int>, int64_t> reference;
    for (const AdRow& r : rows)
        if (!r.deleted && (r.month == 1 || r.month == 2)) reference[{padded(r.media, 10), r.month}] += r.spendCents;
    ASSERT_EQ(result.size(), reference.size() + 1);
    EXPECT_EQ(result[0], (Row{"MEDIA", "MONTH", "SPEND"}));
    size_t i = 1;
    for (const auto& [key, cents] : reference) {
        EXPECT_EQ(result[i], (Row{std::get<0>(key), std::to_string(std::get<1>(key)), rounded(cents, 0)}));
        ++i;
    }
}

TEST_F(CrossTab, CharacterBucketFoldsOtherValuesIntoOthers) {
    auto result = query(
        "select IIF(INLIST(ALLTRIM(MEDIA),\"TV\",\"RADIO\"),MEDIA,\"Others    \") AS MEDIA,  ROUND(SUM(SPEND),2) "
        "AS SPEND from DATA.DBF WHERE 1=1  group by 1 order by 1");
    std::map<std::string, int64_t> reference;
    for (const AdRow& r : rows) {
        if (r.deleted) continue;
        // "TVR" starts with "TV" but is another value: it belongs in the bucket.
        std::string key = r.media == "TV" || r.media == "RADIO" ? padded(r.media, 10) : "Others    ";
        reference[key] += r.spendCents;
    }
    ASSERT_EQ(result.size(), 4u);
    size_t i = 1;
    for (const auto& [key, cents] : reference) EXPECT_EQ(result[i++], (Row{key, rounded(cents, 2)}));
}

TEST_F(CrossTab, NumericBucketIsZeroOfTheFieldWidth) {
    auto result = query(
        "select IIF(INLIST(MONTH,1,2),MONTH,00) AS MONTH,  ROUND(SUM(SPOTS),0) AS SPOTS from DATA.DBF WHERE 1=1  "
        "group by 1 order by 1");
    std::map<int, int64_t> reference;
    for (const AdRow& r : rows)
        if (!r.deleted) reference[r.month <= 2 ? r.month : 0] += r.spots;
    ASSERT_EQ(result.size(), 4u);
    EXPECT_EQ(result[1], (Row{"0", std::to_string(reference[0])}));
    EXPECT_EQ(result[2], (Row{"1", std::to_string(reference[1])}));
    EXPECT_EQ(result[3], (Row{"2", std::to_string(reference[2])}));
}

TEST_F(CrossTab, TrimmedFilterNeverMatchesAPrefix) {
    auto result = query(
        "select MEDIA,  ROUND(SUM(SPOTS),0) AS SPOTS from DATA.DBF WHERE 1=1  AND INLIST(ALLTRIM(MEDIA),\"TV\") "
        "group by 1 order by 1");
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[1][0], padded("TV", 10));
}

TEST_F(CrossTab, PageFilterAndRowFilterTogether) {
    auto result = query(
        "select BRAND, MONTH,  ROUND(SUM(SPEND),0) AS SPEND,  ROUND(SUM(SPOTS),0) AS SPOTS from DATA.DBF WHERE 1=1  "
        "AND  MEDIA in('TV','PRESS') AND MONTH in(3) AND INLIST(ALLTRIM(BRAND),\"BRAND1\",\"BRAND2\") "
        "group by 1 ,2 order by 1 ,2");
    std::map<std::string, std::pair<int64_t, int64_t>> reference;
    for (const AdRow& r : rows)
        if (!r.deleted && (r.media == "TV" || r.media == "PRESS") && r.month == 3 &&
            (r.brand == "BRAND1" || r.brand == "BRAND2")) {
            reference[padded(r.brand, 20)].first += r.spendCents;
            reference[padded(r.brand, 20)].second += r.spots;
        }
    ASSERT_EQ(result.size(), reference.size() + 1);
    size_t i = 1;
    for (const auto& [brand, sums] : reference)
        EXPECT_EQ(result[i++], (Row{brand, "3", rounded(sums.first, 0), std::to_string(sums.second)}));
}

TEST_F(CrossTab, DistinctValuesAreSortedAndSkipDeletedRecords) {
    auto result = query("SELECT DISTINCT BRAND FROM DATA.DBF ORDER BY 1");
    std::vector<std::string> reference;
    for (const AdRow& r : rows)
        if (!r.deleted) reference.push_back(padded(r.brand, 20));
    std::sort(reference.begin(), reference.end());
    reference.erase(std::unique(reference.begin(), reference.end()), reference.end());
    ASSERT_EQ(result.size(), reference.size() + 1);
    for (size_t i = 0; i < reference.size(); ++i) EXPECT_EQ(result[i + 1][0], reference[i]);
}

TEST_F(CrossTab, ListingIsFilteredAndSortedStably) {
    auto result = query(
        "SELECT DATE, MEDIA, SPOTS, CLIPDET from DATA.DBF WHERE 1=1  AND MEDIA IN('TV','RADIO') ORDER BY 1, 2, 3");
    std::vector<size_t> reference;
    for (size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].deleted && (rows[i].media == "TV" || rows[i].media == "RADIO")) reference.push_back(i);
    std::stable_sort(reference.begin(), reference.end(), [&](size_t a, size_t b) {
        return std::tie(rows[a].date, rows[a].media, rows[a].spots) < std::tie(rows[b].date, rows[b].media, rows[b].spots);
    });
    ASSERT_EQ(result.size(), reference.size() + 1);
    for (size_t i = 0; i < reference.size(); ++i) {
        const AdRow& r = rows[reference[i]];
        EXPECT_EQ(result[i + 1][0], Value::date(r.date).toText());
        EXPECT_EQ(result[i + 1][1], padded(r.media, 10));
        EXPECT_EQ(result[i + 1][2], std::to_string(r.spots));
        std::string clip = reference[i] % 3 == 0 ? "clip" + std::to_string(reference[i]) + ".mpg" : "";
        ASSERT_EQ(result[i + 1][3], padded(clip, 20)) << "row " << i;
    }
}

TEST_F(CrossTab, DescendingOrderAndOrderByName) {
    auto result = query("SELECT DISTINCT MONTH FROM DATA.DBF ORDER BY MONTH DESC");
    ASSERT_EQ(result.size(), 13u);
    EXPECT_EQ(result[1][0], "12");
    EXPECT_EQ(result[12][0], "1");
}

TEST_F(CrossTab, AggregateWithoutGroupByOverNoRowsGivesNoRow) {
    EXPECT_EQ(query("SELECT SUM(SPEND) AS S FROM DATA.DBF WHERE 1=0").size(), 1u);
    auto all = query("SELECT COUNT(*) AS N, SUM(SPOTS) AS S FROM DATA.DBF");
    int64_t count = 0, spots = 0;
    for (const AdRow& r : rows)
        if (!r.deleted) ++count, spots += r.spots;
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1], (Row{std::to_string(count), std::to_string(spots)}));
}

TEST_F(CrossTab, SecondRunOnTheSameConnectionSeesAChangedFile) {
    const std::string statement = "SELECT MEDIA FROM DATA.DBF WHERE MEDIA = 'CINEMA'";
    EXPECT_EQ(query(statement).size(), 1u);
    {
        engine::dbf::DbfWriter writer(folder + "DATA.DBF");
        writer.append({text("CINEMA"), Value::integer(1), number("5.00"), text("B"), day(2024, 1, 1),
                       Value::integer(1), text("")});
    }
    EXPECT_EQ(query(statement).size(), 2u);
    EXPECT_EQ(connection.Execute("UPDATE DATA.DBF SET MEDIA = 'TV' WHERE MEDIA = 'CINEMA'"), 1);
    EXPECT_EQ(query(statement).size(), 1u);
}

// A table large enough for the engine to decode, sort and aggregate on
// several cores at once.
class LargeCrossTab : public CrossTab {
protected:
    void SetUp() override { fill(220000); }
};

TEST_F(LargeCrossTab, GroupedSumsAndCountsMatchReference) {
    auto result = query(
        "select MEDIA, MONTH, SUM(SPEND) AS SPEND, SUM(SPOTS) AS SPOTS, COUNT(*) AS N from DATA.DBF "
        "group by 1 ,2 order by 1 ,2");
    std::map<std::tuple<std::string, int>, std::tuple<int64_t, int64_t, int64_t>> reference;
    for (const AdRow& r : rows) {
        if (r.deleted) continue;
        auto& [cents, spots, n] = reference[{padded(r.media, 10), r.month}];
        cents += r.spendCents;
        spots += r.spots;
        ++n;
    }
    ASSERT_EQ(result.size(), reference.size() + 1);
    size_t i = 1;
    for (const auto& [key, sums] : reference) {
        const auto& [cents, spots, n] = sums;
        EXPECT_EQ(result[i++], (Row{std::get<0>(key), std::to_string(std::get<1>(key)), Decimal{cents, 2}.toString(),
                                    std::to_string(spots), std::to_string(n)}));
    }
}

TEST_F(LargeCrossTab, ListingIsOrderedByItsColumns) {
    auto result = query("select BRAND, DATE, SPOTS from DATA.DBF order by 1, 2, 3");
    std::vector<std::tuple<std::string, int32_t, int>> reference;
    for (const AdRow& r : rows)
        if (!r.deleted) reference.emplace_back(padded(r.brand, 20), r.date, r.spots);
    std::sort(reference.begin(), reference.end());
    ASSERT_EQ(result.size(), reference.size() + 1);
    for (size_t i = 0; i < reference.size(); i += 997) {
        EXPECT_EQ(result[i + 1][0], std::get<0>(reference[i])) << "row " << i;
        EXPECT_EQ(result[i + 1][2], std::to_string(std::get<2>(reference[i]))) << "row " << i;
    }
}

}  // namespace
}  // namespace vantrep::tests
