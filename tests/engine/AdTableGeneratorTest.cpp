// The advertising-table generator behind the benchmark and the shipped
// sample: determinism, the shape of its made-up market, the written table as
// an outside reader sees it, and the sample being current.
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bench/AdTableGenerator.h"
#include "engine/support/RunProgram.h"
#include "engine/support/TempDir.h"

namespace vantrep::tests {
namespace {

using bench::AdCatalog;
using bench::AdTableGenerator;

// Characters of a UTF-8 text: its width in a single-byte code page.
size_t characters(const std::string& utf8) {
    size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

TEST(AdTableGeneratorTest, SameSeedGivesTheSameRecordsAndAnotherSeedOthers) {
    AdTableGenerator a(7), b(7), c(8);
    int differentFromOtherSeed = 0;
    for (int i = 0; i < 2000; ++i) {
        std::vector<engine::Value> ra = a.record(a.next()), rb = b.record(b.next()), rc = c.record(c.next());
        ASSERT_EQ(ra, rb) << "record " << i;
        differentFromOtherSeed += ra != rc;
    }
    EXPECT_GT(differentFromOtherSeed, 1900);
}

TEST(AdTableGeneratorTest, CatalogHasUniqueNamesThatFitTheirFields) {
    AdCatalog catalog(1);
    EXPECT_EQ(catalog.media(), (std::vector<std::string>{"TV", "RADIO", "PRESS", "OUTDOOR", "CINEMA"}));

    std::set<std::string> channelNames;
    ASSERT_EQ(catalog.channels().size(), size_t(AdCatalog::channelCount));
    for (size_t media = 0; media < catalog.media().size(); ++media)
        for (int index : catalog.channelsOf(static_cast<int>(media)))
            EXPECT_EQ(catalog.channels()[static_cast<size_t>(index)].media, static_cast<int>(media));
    for (const bench::Channel& channel : catalog.channels()) {
        EXPECT_LE(characters(channel.name), 25u) << channel.name;
        EXPECT_GT(channel.rateCents, 0) << channel.name;
        channelNames.insert(channel.name);
    }
    EXPECT_EQ(channelNames.size(), catalog.channels().size());

    std::set<std::string> brandNames;
    std::set<int> owners;
    ASSERT_EQ(catalog.brands().size(), size_t(AdCatalog::brandCount));
    for (const bench::Brand& brand : catalog.brands()) {
        EXPECT_LE(characters(brand.name), 30u) << brand.name;
        brandNames.insert(brand.name);
        owners.insert(brand.advertiser);
    }
    EXPECT_EQ(brandNames.size(), catalog.brands().size());
    EXPECT_EQ(owners.size(), size_t(AdCatalog::advertiserCount)) << "every advertiser owns a brand";

    std::set<std::string> advertiserNames(catalog.advertisers().begin(), catalog.advertisers().end());
    EXPECT_EQ(advertiserNames.size(), size_t(AdCatalog::advertiserCount));
    for (const std::string& name : catalog.advertisers()) EXPECT_LE(characters(name), 30u) << name;
}

// dbfread reads the written table; the checks are computed in Python from
// the records, independently of the generator's own arithmetic.
TEST(AdTableGeneratorTest, WrittenTableHasConsistentSkewedRecords) {
    TempDir folder;
    std::string path = folder.file("ADS.DBF");
    bench::writeAdTable(path, 20000, 3);
    ProgramResult r = runPython(R"(
import sys, datetime, collections, dbfread
path, rows = sys.argv[1], int(sys.argv[2])
problems = []
header = open(path, 'rb').read(32)
if header[0] != 0x30: problems.append('version byte %#x, expected 0x30 (Visual FoxPro)' % header[0])
if header[29] != 0x03: problems.append('code page mark %#x, expected 0x03 (1252)' % header[29])
table = dbfread.DBF(path, encoding='cp1252', char_decode_errors='strict')
layout = [(f.name, f.type, f.length, f.decimal_count) for f in table.fields]
expected = [('MEDIA', 'C', 10, 0), ('CHANNEL', 'C', 25, 0), ('BRAND', 'C', 30, 0), ('ADVERTISER', 'C', 30, 0),
            ('MONTH', 'N', 2, 0), ('WEEKDAY', 'N', 1, 0), ('DATE', 'D', 8, 0), ('DURATION', 'N', 4, 0),
            ('SPOTS', 'N', 6, 0), ('SPEND', 'N', 12, 2)]
if layout != expected: problems.append('fields %r' % layout)
records = list(table)
if len(records) != rows: problems.append('%d records, expected %d' % (len(records), rows))
media_of_channel = collections.defaultdict(set)
owners = collections.defaultdict(set)
brands = collections.Counter()
durations = collections.Counter()
for n, r in enumerate(records):
    d = r['DATE']
    if not datetime.date(2023, 1, 1) <= d <= datetime.date(2024, 12, 31):
        problems.append('record %d: date %s' % (n, d))
    if r['MONTH'] != d.month: problems.append('record %d: MONTH %r for %s' % (n, r['MONTH'], d))
    if r['WEEKDAY'] != d.isoweekday() % 7 + 1:  # 1 = Sunday .. 7 = Saturday
        problems.append('record %d: WEEKDAY %r for %s' % (n, r['WEEKDAY'], d))
    if not 5 <= r['DURATION'] <= 120: problems.append('record %d: DURATION %r' % (n, r['DURATION']))
    if r['SPOTS'] < 1: problems.append('record %d: SPOTS %r' % (n, r['SPOTS']))
    if r['SPEND'] <= 0 or abs(r['SPEND'] * 100 - round(r['SPEND'] * 100)) > 1e-6:
        problems.append('record %d: SPEND %r' % (n, r['SPEND']))
    media_of_channel[r['CHANNEL']].add(r['MEDIA'])
    owners[r['BRAND']].add(r['ADVERTISER'])
    brands[r['BRAND']] += 1
    durations[r['DURATION']] += 1
media = set().union(*media_of_channel.values())
if media != {'TV', 'RADIO', 'PRESS', 'OUTDOOR', 'CINEMA'}: problems.append('media %r' % media)
if len(media_of_channel) != 150: problems.append('%d channels aired, expected all 150' % len(media_of_channel))
problems += ['channel %s in media %r' % (c, m) for c, m in media_of_channel.items() if len(m) != 1]
problems += ['brand %s of advertisers %r' % (b, a) for b, a in owners.items() if len(a) != 1]
if not 1500 <= len(brands) <= 3000: problems.append('%d brands' % len(brands))
advertisers = set().union(*owners.values())
if not 500 <= len(advertisers) <= 800: problems.append('%d advertisers' % len(advertisers))
if [d for d, _ in durations.most_common(2)] != [30, 15]: problems.append('durations %r' % durations.most_common(3))
counts = sorted(brands.values(), reverse=True)
top, median = counts[0], counts[len(counts) // 2]
if top < 10 * median: problems.append('brand counts not skewed: top %d, median %d' % (top, median))
sys.exit('\n'.join(problems[:20]) if problems else 0)
)",
                                {path, "20000"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
}

TEST(AdTableGeneratorTest, ShippedSampleIsWhatTheGeneratorMakes) {
    TempDir folder;
    std::string path = folder.file("DATA.DBF");
    bench::writeAdTable(path, bench::sampleRows, bench::sampleSeed);
    std::ifstream sample(VANTREP_SAMPLE_TABLE, std::ios::binary);
    std::string made = folder.read("DATA.DBF"), shipped(std::istreambuf_iterator<char>(sample), {});
    ASSERT_GE(made.size(), 4u);
    ASSERT_GE(shipped.size(), 4u);
    // Bytes 1-3 hold the date the table was written.
    made.replace(1, 3, "...");
    shipped.replace(1, 3, "...");
    EXPECT_TRUE(made == shipped) << VANTREP_SAMPLE_TABLE
                                 << " differs from the generator's output; rebuild it with "
                                    "make_sample_table samples/engine";
}

}  // namespace
}  // namespace vantrep::tests
