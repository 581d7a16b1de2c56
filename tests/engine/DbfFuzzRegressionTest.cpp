// Inputs the fuzzer (fuzz/run.sh fuzz_dbf_reader) found to break the reader,
// kept under tests/data/fuzz/ and replayed the way the fuzz target reads them:
// the bytes before "@@MEMO@@" are the table, the bytes after it its memo file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/EngineError.h"
#include "engine/dbf/DbfTable.h"
#include "engine/support/TempDir.h"

using namespace vantrep::engine;
using namespace vantrep::engine::dbf;
using vantrep::tests::TempDir;

namespace {

const std::string findings = std::string(VANTREP_TEST_DATA) + "/fuzz";

std::string readFinding(const std::string& name) {
    std::ifstream in(findings + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_TRUE(in.good()) << name;
    return bytes.str();
}

// Opens the finding as the fuzz target does and reads every value; returns how
// many values were read, or -1 when opening failed with an EngineError.
int replay(const std::string& name) {
    TempDir dir;
    std::string input = readFinding(name);
    const std::string separator = "@@MEMO@@";
    size_t split = input.find(separator);
    dir.write("t.dbf", input.substr(0, split));
    if (split != std::string::npos) {
        dir.write("t.fpt", input.substr(split + separator.size()));
        dir.write("t.dbt", input.substr(split + separator.size()));
    }
    std::unique_ptr<DbfTable> table;
    try {
        table = DbfTable::open(dir.file("t.dbf"));
    } catch (const EngineError&) {
        return -1;
    }
    int values = 0;
    for (uint32_t r = 0; r < table->recordCount(); ++r) {
        for (int f = 0; f < int(table->fields().size()); ++f) {
            try {
                table->value(r, f).toText();
                ++values;
            } catch (const EngineError&) {
            }
        }
    }
    return values;
}

}  // namespace

TEST(DbfFuzzRegression, EveryKeptFindingReadsWithoutFault) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(findings)) {
        if (entry.path().extension() != ".dbf") continue;
        ++files;
        replay(entry.path().filename().string());  // the sanitizer build catches any fault
    }
    EXPECT_GE(files, 1);
}

TEST(DbfFuzzRegression, DateTimeDayBeyondTheCalendarReadsEmpty) {
    // A T field whose day number overflowed the calendar arithmetic.
    auto table = DbfTable::open(findings + "/datetime_day_overflow.dbf");
    ASSERT_EQ(table->fields()[0].type, 'T');
    for (uint32_t r = 0; r < table->recordCount(); ++r) {
        Value v = table->value(r, 0);
        int64_t day = v.asDateTime() / 86400000;
        EXPECT_TRUE(v.isEmptyDate() || (day >= 1721426 && day <= 5373484)) << r;
    }
    EXPECT_EQ(replay("datetime_day_overflow.dbf"), int(2 * table->recordCount()));
}
