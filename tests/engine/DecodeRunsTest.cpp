// A large table is decoded in runs of records, one per core, each run finding
// the values of its own records: groups, sums and value lists must come out as
// one pass over the whole table would give them, whichever run met a value
// first, with NULLs and deleted records only in some runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/QueryFixture.h"

namespace vantrep::tests {
namespace {

using engine::Value;

constexpr int recordCount = 160000;  // runs of at least 50,000 records: one per core on any machine here

std::string padded(std::string s, size_t width) { return s + std::string(width - s.size(), ' '); }

std::string cents(int64_t units) {
    std::string digits = std::to_string(units / 100);
    const int64_t rest = units % 100;
    return digits + (rest < 10 ? ".0" : ".") + std::to_string(rest);
}

// Record i of the table; values met only late in the table, in an order
// that is not their value order.
std::string brandOf(int i) { return "brand number " + std::to_string(i < 100000 ? i % 37 : 900 - i % 53); }
std::string mediaOf(int i) { return i < 120000 ? (i % 3 == 0 ? "TV" : "RADIO") : "CINEMA"; }
int monthOf(int i) { return i < 90000 ? 1 + i % 6 : 7 + i % 6; }
bool amountIsNull(int i) { return i >= 110000 && i % 97 == 0; }
int64_t amountOf(int i) { return (i * 37) % 100000; }  // cents
bool deleted(int i) { return i % 1013 == 5 && i > 80000; }

class DecodeRuns : public QueryFixture {
protected:
    void SetUp() override {
        QueryFixture::SetUp();
        std::vector<std::vector<Value>> records;
        records.reserve(recordCount);
        for (int i = 0; i < recordCount; ++i)
            records.push_back({text(brandOf(i)), text(mediaOf(i)), Value::integer(monthOf(i)),
                               amountIsNull(i) ? Value::null() : number(cents(amountOf(i)))});
        const std::string path = makeTable("DATA.DBF",
                                           {{"BRAND", 'C', 20}, {"MEDIA", 'C', 10}, {"MONTH", 'N', 2},
                                            {"AMOUNT", 'N', 10, 2, true}},
                                           records);
        markDeleted(path);
    }

    // Sets the deletion flag of the records `deleted` picks, in the file.
    static void markDeleted(const std::string& path) {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        unsigned char header[12];
        file.read(reinterpret_cast<char*>(header), sizeof header);
        const uint32_t headerLength = header[8] | header[9] << 8;
        const uint32_t recordLength = header[10] | header[11] << 8;
        for (int i = 0; i < recordCount; ++i) {
            if (!deleted(i)) continue;
            file.seekp(headerLength + static_cast<std::streamoff>(i) * recordLength);
            file.put('*');
        }
    }

    struct Group {
        int64_t count = 0;
        int64_t sum = 0;
        bool hasAmount = false;
    };
    // The expected rows of SELECT BRAND, MONTH, COUNT(*), SUM(AMOUNT) ... GROUP BY 1, 2.
    static std::vector<Row> expectedGroups() {
        std::map<std::pair<std::string, int>, Group> groups;
        for (int i = 0; i < recordCount; ++i) {
            if (deleted(i)) continue;
            Group& g = groups[{brandOf(i), monthOf(i)}];
            ++g.count;
            if (amountIsNull(i)) continue;
            g.sum += amountOf(i);
            g.hasAmount = true;
        }
        std::vector<Row> rows{{"BRAND", "MONTH", "N", "S"}};
        for (const auto& [key, g] : groups)
            rows.push_back({padded(key.first, 20), std::to_string(key.second), std::to_string(g.count),
                            g.hasAmount ? cents(g.sum) : ".NULL."});
        return rows;
    }
    static std::vector<Row> expectedMedia() {
        std::set<std::string> media;
        for (int i = 0; i < recordCount; ++i)
            if (!deleted(i)) media.insert(mediaOf(i));
        std::vector<Row> rows{{"MEDIA"}};
        for (const std::string& m : media) rows.push_back({padded(m, 10)});
        return rows;
    }
};

TEST_F(DecodeRuns, GroupsAndSumsMatchOnePassOverTheWholeTable) {
    EXPECT_EQ(query("SELECT BRAND, MONTH, COUNT(*) AS N, SUM(AMOUNT) AS S FROM DATA.DBF GROUP BY 1, 2 ORDER BY 1, 2"),
              expectedGroups());
    // A later statement decodes another field over the records already known visible.
    EXPECT_EQ(query("SELECT DISTINCT MEDIA FROM DATA.DBF ORDER BY 1"), expectedMedia());
}

TEST_F(DecodeRuns, FieldsPreparedTogetherGiveTheSameAnswers) {
    connection.Open(connectionString());
    connection.prepareFields("DATA.DBF", {"MEDIA", "BRAND", "MONTH"}, {"AMOUNT"});
    EXPECT_EQ(query("SELECT DISTINCT MEDIA FROM DATA.DBF ORDER BY 1"), expectedMedia());
    EXPECT_EQ(query("SELECT BRAND, MONTH, COUNT(*) AS N, SUM(AMOUNT) AS S FROM DATA.DBF GROUP BY 1, 2 ORDER BY 1, 2"),
              expectedGroups());
}

// Texts of every width up to a long title's are told apart by each of their
// bytes: a value differing from another in one position only is a value of
// its own.
TEST_F(QueryFixture, TextsDifferingInOneByteAreDistinctValuesAtEveryWidth) {
    for (int width : {7, 8, 9, 16, 17, 24, 25, 32, 33, 40}) {
        std::vector<std::vector<Value>> records;
        std::set<std::string> expected;
        for (int position = 0; position < width; ++position) {
            std::string value(static_cast<size_t>(width), 'a');
            value[static_cast<size_t>(position)] = 'b';
            records.push_back({text(value)});
            records.push_back({text(value)});
            expected.insert(value);
        }
        records.push_back({text(std::string(static_cast<size_t>(width), 'a'))});
        expected.insert(std::string(static_cast<size_t>(width), 'a'));
        const std::string table = "W" + std::to_string(width) + ".DBF";
        makeTable(table, {{"T", 'C', width}}, records);
        std::vector<Row> rows{{"T"}};
        for (const std::string& v : expected) rows.push_back({v});
        EXPECT_EQ(query("SELECT DISTINCT T FROM " + table + " ORDER BY 1"), rows) << width;
        EXPECT_EQ(query("SELECT T, COUNT(*) AS N FROM " + table + " GROUP BY 1 ORDER BY 2, 1").size(), rows.size()) << width;
    }
}

// Nullable texts and two-byte codes are decoded run by run too: each value
// is read from the bytes of the record where a run first met it.
TEST_F(QueryFixture, NullableTextsAndShortCodesMatchOnePassOverTheWholeTable) {
    auto nameOf = [](int i) { return i < 100000 ? "early " + std::to_string(i % 5) : "late " + std::to_string(i % 7); };
    auto nameIsNull = [](int i) { return i >= 130000 && i % 11 == 0; };
    auto codeOf = [](int i) { return std::string(1, char('a' + i % 3)) + char(i < 120000 ? 'x' : 'y'); };
    std::vector<std::vector<Value>> records;
    std::map<std::string, int> names, codes;
    int nulls = 0;
    for (int i = 0; i < recordCount; ++i) {
        records.push_back({nameIsNull(i) ? Value::null() : text(nameOf(i)), text(codeOf(i))});
        if (nameIsNull(i)) ++nulls;
        else ++names[padded(nameOf(i), 12)];
        ++codes[codeOf(i)];
    }
    makeTable("T.DBF", {{"NAME", 'C', 12, 0, true}, {"CODE", 'C', 2}}, records);

    std::vector<Row> byName{{"NAME", "N"}, {".NULL.", std::to_string(nulls)}};
    for (const auto& [name, count] : names) byName.push_back({name, std::to_string(count)});
    EXPECT_EQ(query("SELECT NAME, COUNT(*) AS N FROM T.DBF GROUP BY 1 ORDER BY 1"), byName);

    std::vector<Row> byCode{{"CODE", "N"}};
    for (const auto& [code, count] : codes) byCode.push_back({code, std::to_string(count)});
    EXPECT_EQ(query("SELECT CODE, COUNT(*) AS N FROM T.DBF GROUP BY 1 ORDER BY 1"), byCode);
}

}  // namespace
}  // namespace vantrep::tests
