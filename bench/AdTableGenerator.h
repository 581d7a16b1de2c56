// Generates an advertising-monitoring table (each record: the spots of one
// brand on one channel on one day) as a Visual FoxPro table in code page 1252:
// the data of the benchmark and of the shipped sample. The same row count and seed give the
// same records on every machine.
//
// Fields: MEDIA C(10), CHANNEL C(25), BRAND C(30), ADVERTISER C(30),
// MONTH N(2), WEEKDAY N(1) (1 = Sunday .. 7 = Saturday), DATE D,
// DURATION N(4) (seconds, 5..120, mostly 30 and 15), SPOTS N(6),
// SPEND N(12,2). Values are skewed the way such data is: a few channels and
// brands carry most of the spots.
//
// To add a field: give AdSpot what it needs, draw it in next(), and add a
// column to the list in AdTableGenerator.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AdCatalog.h"
#include "Random.h"
#include "engine/Value.h"
#include "engine/dbf/DbfWriter.h"

namespace vantrep::bench {

// Bump when the generated content changes, so that tables kept from an older
// generator are not taken for current ones.
constexpr int adTableVersion = 1;

// The records' dates run from January 1 of the first year to December 31 of the last.
constexpr int adFirstYear = 2023, adLastYear = 2024;

// The shipped sample: samples/engine/DATA.DBF.
constexpr uint64_t sampleRows = 3000;
constexpr uint64_t sampleSeed = 1;

// One generated record, as indexes into the catalog and plain numbers.
struct AdSpot {
    int channel = 0;  // the medium is the channel's
    int brand = 0;    // the advertiser is the brand's
    int32_t date = 0;  // Julian Day Number
    int duration = 0;  // seconds
    int spots = 0;
    int64_t spendCents = 0;
};

class AdTableGenerator {
public:
    explicit AdTableGenerator(uint64_t seed);

    // The next record of the sequence the seed fixes.
    AdSpot next();

    const AdCatalog& catalog() const { return catalog_; }
    // The table's fields, in order.
    static std::vector<engine::dbf::FieldSpec> fields();
    // The field values of a record, in the order of fields().
    std::vector<engine::Value> record(const AdSpot& spot) const;

private:
    AdCatalog catalog_;
    Random random_;
    WeightedChoice media_, brands_, days_, durations_;
    std::vector<WeightedChoice> channelsOfMedia_;
};

// Writes `rows` generated records into a new table at `path` (replacing it).
// Throws EngineError when the table cannot be written.
void writeAdTable(const std::string& path, uint64_t rows, uint64_t seed);

}  // namespace vantrep::bench
