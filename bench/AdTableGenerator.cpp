#include "AdTableGenerator.h"

#include <array>

namespace vantrep::bench {

using engine::Decimal;
using engine::Value;
using engine::dbf::FieldSpec;

namespace {

// Shares of the spots by medium, in the catalog's order (TV first).
const std::vector<uint64_t> mediaWeights = {45, 22, 18, 10, 5};

// Seasonality of the spots by month (January first) and by weekday (Sunday first).
const std::array<uint64_t, 12> monthWeights = {6, 7, 9, 9, 9, 8, 5, 5, 9, 10, 10, 9};
const std::array<uint64_t, 7> weekdayWeights = {5, 9, 10, 10, 10, 9, 7};

// Spot lengths: the usual ones with their shares; the last entry (0) stands for
// any length from 5 to 120 seconds.
const std::vector<int> durationChoices = {5, 10, 15, 20, 30, 45, 60, 0};
const std::vector<uint64_t> durationWeights = {4, 7, 25, 10, 35, 7, 5, 7};

int monthOf(int32_t jdn) {
    int year, month, day;
    engine::civilFromJulianDay(jdn, year, month, day);
    return month;
}

// 1 = Sunday .. 7 = Saturday. Julian Day 0 was a Monday.
int weekdayOf(int32_t jdn) { return (jdn + 1) % 7 + 1; }

int32_t firstDay() { return engine::julianDay(adFirstYear, 1, 1); }

std::vector<uint64_t> dayWeights() {
    std::vector<uint64_t> weights;
    for (int32_t day = firstDay(); day <= engine::julianDay(adLastYear, 12, 31); ++day)
        weights.push_back(monthWeights[static_cast<size_t>(monthOf(day) - 1)] *
                          weekdayWeights[static_cast<size_t>(weekdayOf(day) - 1)]);
    return weights;
}

// The seeds of the catalog and of the rows, both fixed by the table's seed.
uint64_t derivedSeed(uint64_t seed, int stream) {
    Random random(seed);
    for (int i = 0; i < stream; ++i) random.next();
    return random.next();
}

const Channel& channelOf(const AdSpot& s, const AdCatalog& c) {
    return c.channels()[static_cast<size_t>(s.channel)];
}

const Brand& brandOf(const AdSpot& s, const AdCatalog& c) { return c.brands()[static_cast<size_t>(s.brand)]; }

struct Column {
    FieldSpec spec;
    Value (*value)(const AdSpot&, const AdCatalog&);
};

const std::vector<Column>& columns() {
    static const std::vector<Column> list = {
        {{"MEDIA", 'C', 10},
         [](const AdSpot& s, const AdCatalog& c) {
             return Value::string(c.media()[static_cast<size_t>(channelOf(s, c).media)]);
         }},
        {{"CHANNEL", 'C', 25},
         [](const AdSpot& s, const AdCatalog& c) { return Value::string(channelOf(s, c).name); }},
        {{"BRAND", 'C', 30},
         [](const AdSpot& s, const AdCatalog& c) { return Value::string(brandOf(s, c).name); }},
        {{"ADVERTISER", 'C', 30},
         [](const AdSpot& s, const AdCatalog& c) {
             return Value::string(c.advertisers()[static_cast<size_t>(brandOf(s, c).advertiser)]);
         }},
        {{"MONTH", 'N', 2},
         [](const AdSpot& s, const AdCatalog&) { return Value::integer(monthOf(s.date)); }},
        {{"WEEKDAY", 'N', 1},
         [](const AdSpot& s, const AdCatalog&) { return Value::integer(weekdayOf(s.date)); }},
        {{"DATE", 'D'},
         [](const AdSpot& s, const AdCatalog&) { return Value::date(s.date); }},
        {{"DURATION", 'N', 4},
         [](const AdSpot& s, const AdCatalog&) { return Value::integer(s.duration); }},
        {{"SPOTS", 'N', 6},
         [](const AdSpot& s, const AdCatalog&) { return Value::integer(s.spots); }},
        {{"SPEND", 'N', 12, 2},
         [](const AdSpot& s, const AdCatalog&) { return Value::decimal(Decimal{s.spendCents, 2}); }},
    };
    return list;
}

}  // namespace

AdTableGenerator::AdTableGenerator(uint64_t seed)
    : catalog_(derivedSeed(seed, 0)),
      random_(derivedSeed(seed, 1)),
      media_(mediaWeights),
      brands_(WeightedChoice::zipf(AdCatalog::brandCount, 20)),
      days_(dayWeights()),
      durations_(durationWeights) {
    for (size_t media = 0; media < catalog_.media().size(); ++media)
        channelsOfMedia_.push_back(
            WeightedChoice::zipf(static_cast<int>(catalog_.channelsOf(static_cast<int>(media)).size()), 3));
}

AdSpot AdTableGenerator::next() {
    AdSpot spot;
    int media = media_.draw(random_);
    int rank = channelsOfMedia_[static_cast<size_t>(media)].draw(random_);
    spot.channel = catalog_.channelsOf(media)[static_cast<size_t>(rank)];
    spot.brand = brands_.draw(random_);
    spot.date = firstDay() + days_.draw(random_);

    spot.duration = durationChoices[static_cast<size_t>(durations_.draw(random_))];
    if (spot.duration == 0) spot.duration = static_cast<int>(random_.between(5, 120));

    int spread = static_cast<int>(random_.below(100));
    if (spread < 70) spot.spots = 1;
    else if (spread < 85) spot.spots = 2;
    else if (spread < 95) spot.spots = static_cast<int>(random_.between(3, 10));
    else spot.spots = static_cast<int>(random_.between(11, 50));

    // The channel's price scaled by length and count, give or take 30% for
    // discounts and surcharges.
    int64_t rate = catalog_.channels()[static_cast<size_t>(spot.channel)].rateCents;
    spot.spendCents = rate * spot.duration * spot.spots * random_.between(700, 1300) / (30 * 1000);
    return spot;
}

std::vector<FieldSpec> AdTableGenerator::fields() {
    std::vector<FieldSpec> specs;
    for (const Column& column : columns()) specs.push_back(column.spec);
    return specs;
}

std::vector<Value> AdTableGenerator::record(const AdSpot& spot) const {
    std::vector<Value> values;
    values.reserve(columns().size());
    for (const Column& column : columns()) values.push_back(column.value(spot, catalog_));
    return values;
}

void writeAdTable(const std::string& path, uint64_t rows, uint64_t seed) {
    constexpr uint64_t batchSize = 10'000;
    engine::dbf::DbfWriter::create(path, AdTableGenerator::fields());
    engine::dbf::DbfWriter writer(path);
    AdTableGenerator generator(seed);
    std::vector<std::vector<Value>> batch;
    batch.reserve(batchSize);
    for (uint64_t row = 0; row < rows; ++row) {
        batch.push_back(generator.record(generator.next()));
        if (batch.size() == batchSize || row + 1 == rows) {
            writer.appendMany(batch);
            batch.clear();
        }
    }
}

}  // namespace vantrep::bench
