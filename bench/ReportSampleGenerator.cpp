#include "ReportSampleGenerator.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iterator>

#include "engine/EngineError.h"

namespace vantrep::bench {

using engine::Decimal;
using engine::Value;

namespace {

// Everything one record holds, before it is turned into field values.
struct SampleRecord {
    std::string media, mediaLevel, channel, manufacturer, brand, subBrand, product, group;
    int32_t date = 0;
    int month = 0, weekday = 0;
    std::string time, color, position, totalAds, pageBreak, adType, adDesc;
    std::string typology, programme, sizeDuration, language, languageCode;
    std::string programmeStart, programmeEnd, programmeLength, breakTime, breakName;
    int duration = 0, spots = 1, space = 0;
    int64_t spendCents = 0;
    std::string clip, notes;
};

// The product group of each product word of the catalog's brand names.
struct ProductGroup {
    const char* word;
    const char* group;
};
const std::array<ProductGroup, 20> productGroups = {{
    {"COLA", "BEVERAGES"},     {"SHAMPOO", "PERSONAL CARE"}, {"MOBILE", "TELECOM"},
    {"BANK", "FINANCE"},       {"MOTORS", "AUTOMOTIVE"},     {"COFFEE", "BEVERAGES"},
    {"YOGURT", "FOOD"},        {"TRAVEL", "TRAVEL"},         {"INSURANCE", "FINANCE"},
    {"PHARMA", "HEALTH"},      {"BEER", "BEVERAGES"},        {"CHOCOLATE", "FOOD"},
    {"DETERGENT", "HOUSEHOLD"}, {"TELECOM", "TELECOM"},      {"FURNITURE", "HOUSEHOLD"},
    {"SNACKS", "FOOD"},        {"COSMETICS", "PERSONAL CARE"}, {"ENERGY", "UTILITIES"},
    {"WATER", "BEVERAGES"},    {"PET FOOD", "FOOD"},
}};

const std::array<const char*, 5> mediaLevels = {"Television", "Radio", "Press", "Outdoor", "Cinema"};
enum MediaIndex { tv = 0, radio = 1, press = 2, outdoor = 3, cinema = 4 };

const std::array<const char*, 10> variants = {"CLASSIC", "LIGHT", "ZERO", "GOLD", "PLUS",
                                              "MAX", "KIDS", "PREMIUM", "FRESH", "ORIGINAL"};
const std::array<const char*, 8> themes = {"SUMMER OFFER", "NEW LOOK", "BACK TO SCHOOL", "FESTIVE",
                                           "LAUNCH", "PRICE CUT", "TASTE TEST", "FAMILY"};

struct Programme {
    const char* name;
    const char* typology;
};
const std::array<Programme, 16> tvProgrammes = {{
    {"MORNING NEWS", "NEWS"},       {"WORLD TONIGHT", "NEWS"},       {"FRIDAY MOVIE", "MOVIE"},
    {"CINEMA CLASSICS", "MOVIE"},   {"HARBOUR LIGHTS", "SERIES"},    {"CITY DOCTORS", "SERIES"},
    {"THE VINEYARD", "SERIES"},     {"MATCH DAY", "SPORT"},          {"SPORTS DESK", "SPORT"},
    {"LATE TALK", "TALK SHOW"},     {"MORNING COFFEE", "TALK SHOW"}, {"CARTOON HOUR", "KIDS"},
    {"WILD COAST", "DOCUMENTARY"},  {"QUIZ NIGHT", "QUIZ"},          {"TOP OF THE POPS", "MUSIC"},
    {"WEATHER AND TRAFFIC", "NEWS"},
}};
const std::array<Programme, 8> radioProgrammes = {{
    {"BREAKFAST SHOW", "MUSIC"}, {"TOP 40", "MUSIC"},          {"NIGHT GROOVE", "MUSIC"},
    {"NEWS ON THE HOUR", "NEWS"}, {"DRIVE TIME", "TALK SHOW"}, {"PHONE IN", "TALK SHOW"},
    {"SPORTS HOUR", "SPORT"},    {"JAZZ LOUNGE", "MUSIC"},
}};
const std::array<Programme, 6> films = {{
    {"THE LONG ROAD", "MOVIE"},  {"STARFALL", "MOVIE"},     {"LITTLE GIANTS", "MOVIE"},
    {"NIGHT TRAIN", "MOVIE"},    {"THE LAST SUMMER", "MOVIE"}, {"DEEP BLUE", "MOVIE"},
}};
const std::array<const char*, 7> pressSections = {"FRONT PAGE", "NEWS", "BUSINESS", "SPORTS",
                                                  "LIFESTYLE", "TV GUIDE", "CLASSIFIEDS"};
const std::array<const char*, 5> outdoorSites = {"CITY CENTRE", "MOTORWAY", "AIRPORT", "SHOPPING MALL",
                                                 "RAILWAY STATION"};

// Press sizes: height in centimetres by columns.
struct PressSize {
    int height, columns;
};
const std::array<PressSize, 6> pressSizes = {{{25, 4}, {12, 2}, {50, 8}, {30, 5}, {8, 1}, {18, 3}}};
const std::vector<uint64_t> pressSizeWeights = {20, 30, 5, 10, 25, 10};
const std::array<int, 3> posterSheets = {6, 48, 96};

struct Language {
    const char* name;
    const char* code;
};
const std::array<Language, 4> languages = {{
    {"CROATIAN", "HRV"}, {"ENGLISH", "ENG"}, {"GERMAN", "DEU"}, {"ITALIAN", "ITA"}}};
const std::vector<uint64_t> languageWeights = {55, 30, 10, 5};

// Ad types by medium, with their shares; "" is an untyped ad.
struct AdTypes {
    std::vector<std::string> names;
    std::vector<uint64_t> weights;
};
const AdTypes broadcastTypes = {{"SPOT", "SPONSOR", "PROMO", "TELESHOP", ""}, {60, 12, 10, 5, 13}};
const AdTypes pressTypes = {{"DISPLAY", "INSERT", "ADVERTORIAL", ""}, {65, 10, 10, 15}};
const AdTypes outdoorTypes = {{"POSTER", "DIGITAL", ""}, {60, 25, 15}};

// Spots by hour of the day: prime time carries most; cinemas play from noon.
const std::vector<uint64_t> hourWeights = {2, 1, 1, 1, 1, 2, 4, 8, 9, 6, 5, 5,
                                           6, 6, 5, 5, 6, 8, 12, 16, 18, 15, 9, 4};
const std::vector<uint64_t> cinemaHourWeights = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                 2, 2, 3, 4, 6, 8, 10, 12, 12, 10, 6, 2};

// The brands most advertised, up to this rank, have their TV and cinema
// spots filed as clips.
constexpr int clippedBrands = 60;

// A number fixed by a few others: the same programme hour or break gets the
// same draws in every record that falls into it.
uint64_t mix(std::initializer_list<int64_t> keys) {
    Random random(0x5A17E5EEDull);
    uint64_t h = 0;
    for (int64_t key : keys) h = Random(h ^ static_cast<uint64_t>(key) ^ random.next()).next();
    return h;
}

std::string clock(int seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
    return text;
}

template <size_t N>
const char* pick(const std::array<const char*, N>& items, uint64_t n) {
    return items[n % N];
}

int monthOf(int32_t jdn) {
    int year, month, day;
    engine::civilFromJulianDay(jdn, year, month, day);
    return month;
}

std::string dateText(int32_t jdn) {
    int year, month, day;
    engine::civilFromJulianDay(jdn, year, month, day);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", day, month, year);
    return text;
}

// The product word of a catalog brand name: what follows its stem.
std::string productWordOf(const std::string& brand) { return brand.substr(brand.find(' ') + 1); }

std::string groupOf(const std::string& productWord) {
    for (const ProductGroup& g : productGroups)
        if (productWord == g.word) return g.group;
    return "OTHER";
}

std::string drawAdType(const AdTypes& types, Random& random) {
    return types.names[static_cast<size_t>(WeightedChoice(types.weights).draw(random))];
}

// Programme, break and time of a broadcast spot (TV, radio, cinema). The day
// is cut into programme hours; each hour has four breaks, each break a fixed
// time and number of spots, and the spot takes one position in its break.
void scheduleBroadcast(SampleRecord& r, int channel, int hour, int media, Random& random) {
    uint64_t programmeDraw = mix({channel, hour, r.weekday});
    const Programme& p = media == tv      ? tvProgrammes[programmeDraw % tvProgrammes.size()]
                         : media == radio ? radioProgrammes[programmeDraw % radioProgrammes.size()]
                                          : films[programmeDraw % films.size()];
    r.programme = p.name;
    r.typology = p.typology;
    r.programmeStart = clock(hour * 3600);
    r.programmeEnd = clock(hour * 3600 + 3599);
    r.programmeLength = clock(3600);

    int breakNumber = static_cast<int>(random.between(1, 4));
    uint64_t breakDraw = mix({channel, r.date, hour, breakNumber});
    int breakStart = hour * 3600 + (breakNumber - 1) * 900 + static_cast<int>(breakDraw % 300);
    int breakSpots = 3 + static_cast<int>(breakDraw / 300 % 8);
    int position = static_cast<int>(random.between(1, breakSpots));
    r.breakName = "BREAK " + std::to_string(breakNumber);
    r.breakTime = clock(breakStart);
    r.time = clock(breakStart + (position - 1) * 30);
    r.position = std::to_string(position);
    r.totalAds = std::to_string(breakSpots);
    r.pageBreak = std::to_string(breakNumber);
    r.sizeDuration = std::to_string(r.duration);
    r.space = r.duration;
}

// A press insertion: section, page, size in column-centimetres, colour; no
// time and no length.
void placeInPress(SampleRecord& r, Random& random) {
    const PressSize& size = pressSizes[static_cast<size_t>(WeightedChoice(pressSizeWeights).draw(random))];
    r.color = random.below(5) < 2 ? "COLOUR" : "B/W";
    r.programme = pick(pressSections, random.next());
    r.pageBreak = std::string("P").append(std::to_string(random.between(1, 48)));
    r.sizeDuration = std::to_string(size.height) + "x" + std::to_string(size.columns);
    r.space = size.height * size.columns;
    r.duration = 0;
    r.adType = drawAdType(pressTypes, random);
}

// A poster: its site, its face among the site's faces and its size in sheets.
void placeOnPoster(SampleRecord& r, Random& random) {
    int sheets = posterSheets[random.below(posterSheets.size())];
    r.programme = pick(outdoorSites, random.next());
    int faces = static_cast<int>(random.between(1, 4));
    r.position = std::to_string(random.between(1, faces));
    r.totalAds = std::to_string(faces);
    r.sizeDuration = std::to_string(sheets) + " SHEET";
    r.space = sheets;
    r.duration = 0;
    r.adType = drawAdType(outdoorTypes, random);
}

std::string noteFor(const SampleRecord& r, Random& random) {
    switch (random.below(3)) {
    case 0:
        return "Makegood for an ad missed on " + dateText(r.date - static_cast<int32_t>(random.between(1, 14))) +
               ".";
    case 1:
        return "Booked by " + r.manufacturer + " through a media agency.\r\nPrice includes a " +
               std::to_string(random.between(5, 25)) + "% volume discount.";
    default:
        return "Material changed on request; see the traffic sheet of " + dateText(r.date) + ".";
    }
}

SampleRecord draw(const AdSpot& spot, const AdCatalog& catalog, Random& random, const WeightedChoice& hours,
                  const WeightedChoice& cinemaHours, const WeightedChoice& languageChoice,
                  const WeightedChoice& creatives) {
    SampleRecord r;
    const Channel& channel = catalog.channels()[static_cast<size_t>(spot.channel)];
    const Brand& brand = catalog.brands()[static_cast<size_t>(spot.brand)];
    int media = channel.media;
    r.media = catalog.media()[static_cast<size_t>(media)];
    r.mediaLevel = mediaLevels[static_cast<size_t>(media)];
    r.channel = channel.name;
    r.manufacturer = catalog.advertisers()[static_cast<size_t>(brand.advertiser)];
    r.brand = brand.name;
    std::string word = productWordOf(brand.name);
    std::string variant = variants[(static_cast<size_t>(spot.brand) * 7 + random.below(3)) % variants.size()];
    r.subBrand = brand.name + " " + variant;
    r.product = word + " " + variant;
    r.group = groupOf(word);
    r.date = spot.date;
    r.month = monthOf(spot.date);
    r.weekday = (spot.date + 1) % 7 + 1;  // 1 = Sunday; Julian Day 0 was a Monday

    int creative = creatives.draw(random);
    r.adDesc = r.subBrand + " " + themes[(static_cast<size_t>(spot.brand) + static_cast<size_t>(creative) * 3) %
                                         themes.size()];
    const Language& language = languages[static_cast<size_t>(languageChoice.draw(random))];
    r.language = language.name;
    r.languageCode = language.code;
    // One record is one airing; the price is the catalog's for one spot.
    r.spendCents = spot.spendCents / spot.spots;
    r.duration = spot.duration;

    if (media == press) {
        placeInPress(r, random);
    } else if (media == outdoor) {
        placeOnPoster(r, random);
    } else {
        int hour = (media == cinema ? cinemaHours : hours).draw(random);
        scheduleBroadcast(r, spot.channel, hour, media, random);
        r.adType = drawAdType(broadcastTypes, random);
        if ((media == tv || media == cinema) && spot.brand < clippedBrands) {
            char name[32];
            std::snprintf(name, sizeof name, "clips/AD%04d.mpg", spot.brand * 4 + creative);
            r.clip = name;
        }
    }
    if (random.below(10) == 0) r.notes = noteFor(r, random);
    return r;
}

using Getter = Value (*)(const SampleRecord&);

// Plain constants (no strings) so that the list is built at compile time.
struct Column {
    const char* name;
    char type;
    int length, decimals;
    const char* caption;
    Getter value;
};

Value text(const std::string& s) { return Value::string(s); }
Value cents(int64_t c) { return Value::decimal(Decimal{c, 2}); }

constexpr Column columns[] = {
    {"MEDIA", 'C', 10, 0, "Media", [](const SampleRecord& r) { return text(r.media); }},
    {"MEDIALEVEL", 'C', 10, 0, "Media level", [](const SampleRecord& r) { return text(r.mediaLevel); }},
    {"CHANNEL", 'C', 25, 0, "Channel", [](const SampleRecord& r) { return text(r.channel); }},
    {"MEDIANAME", 'C', 25, 0, "Media name", [](const SampleRecord& r) { return text(r.channel); }},
    {"MEDIA_NAME", 'C', 25, 0, "Station", [](const SampleRecord& r) { return text(r.channel); }},
    {"MANUFACT", 'C', 30, 0, "Manufacturer", [](const SampleRecord& r) { return text(r.manufacturer); }},
    {"BRAND", 'C', 30, 0, "Brand", [](const SampleRecord& r) { return text(r.brand); }},
    {"SUBBRAND", 'C', 40, 0, "Sub-brand", [](const SampleRecord& r) { return text(r.subBrand); }},
    {"PRODUCT", 'C', 25, 0, "Product", [](const SampleRecord& r) { return text(r.product); }},
    {"GROUP", 'C', 15, 0, "Product group", [](const SampleRecord& r) { return text(r.group); }},
    {"DATE", 'D', 0, 0, "Date", [](const SampleRecord& r) { return Value::date(r.date); }},
    {"MONTH", 'N', 2, 0, "Month", [](const SampleRecord& r) { return Value::integer(r.month); }},
    {"WEEKDAY", 'N', 1, 0, "Weekday", [](const SampleRecord& r) { return Value::integer(r.weekday); }},
    {"TIME", 'C', 8, 0, "Time", [](const SampleRecord& r) { return text(r.time); }},
    {"COLOR", 'C', 8, 0, "Colour", [](const SampleRecord& r) { return text(r.color); }},
    {"POSITION", 'C', 3, 0, "Position in break", [](const SampleRecord& r) { return text(r.position); }},
    {"TOTAL_ADS", 'C', 3, 0, "Ads in break", [](const SampleRecord& r) { return text(r.totalAds); }},
    {"PAGE_BREAK", 'C', 5, 0, "Page or break", [](const SampleRecord& r) { return text(r.pageBreak); }},
    {"AD_TYPE", 'C', 11, 0, "Ad type", [](const SampleRecord& r) { return text(r.adType); }},
    {"AD_DESC", 'C', 55, 0, "Ad description", [](const SampleRecord& r) { return text(r.adDesc); }},
    {"MAIN_TYPO", 'C', 12, 0, "Programme type", [](const SampleRecord& r) { return text(r.typology); }},
    {"PROG_NAME", 'C', 20, 0, "Programme", [](const SampleRecord& r) { return text(r.programme); }},
    {"SIZE_DURN", 'C', 8, 0, "Size or length", [](const SampleRecord& r) { return text(r.sizeDuration); }},
    {"LANGUAGE", 'C', 10, 0, "Language", [](const SampleRecord& r) { return text(r.language); }},
    {"LANG", 'C', 3, 0, "Language code", [](const SampleRecord& r) { return text(r.languageCode); }},
    {"TIMEST", 'C', 8, 0, "Programme time", [](const SampleRecord& r) { return text(r.programmeStart); }},
    {"TIMESTART", 'C', 8, 0, "Programme start", [](const SampleRecord& r) { return text(r.programmeStart); }},
    {"TIMEEND", 'C', 8, 0, "Programme end", [](const SampleRecord& r) { return text(r.programmeEnd); }},
    {"TIME_DURN", 'C', 8, 0, "Programme length", [](const SampleRecord& r) { return text(r.programmeLength); }},
    {"TIMEBRK", 'C', 8, 0, "Break time", [](const SampleRecord& r) { return text(r.breakTime); }},
    {"TYPOLOGY", 'C', 12, 0, "Typology", [](const SampleRecord& r) { return text(r.typology); }},
    {"BREAK", 'C', 10, 0, "Break", [](const SampleRecord& r) { return text(r.breakName); }},
    {"ADDESC", 'C', 55, 0, "Description", [](const SampleRecord& r) { return text(r.adDesc); }},
    {"ADTP", 'C', 11, 0, "Type", [](const SampleRecord& r) { return text(r.adType); }},
    {"DURATION", 'N', 4, 0, "Duration", [](const SampleRecord& r) { return Value::integer(r.duration); }},
    {"REEL_DURN", 'N', 4, 0, "Reel length", [](const SampleRecord& r) { return Value::integer(r.duration); }},
    {"SPOTS", 'N', 3, 0, "Spots", [](const SampleRecord& r) { return Value::integer(r.spots); }},
    {"SPACE", 'N', 5, 0, "Space units", [](const SampleRecord& r) { return Value::integer(r.space); }},
    {"SPEND", 'N', 12, 2, "Spend (USD)", [](const SampleRecord& r) { return cents(r.spendCents); }},
    {"AMT_USD", 'N', 12, 2, "Amount (USD)", [](const SampleRecord& r) { return cents(r.spendCents); }},
    {"PRICEDOLL", 'N', 12, 2, "Price (USD)", [](const SampleRecord& r) { return cents(r.spendCents); }},
    {"CLIPDET", 'C', 20, 0, "Clip", [](const SampleRecord& r) { return text(r.clip); }},
    {"NOTES", 'M', 0, 0, "Notes", [](const SampleRecord& r) { return text(r.notes); }},
};

}  // namespace

ReportSampleGenerator::ReportSampleGenerator(uint64_t seed)
    : spots_(seed),
      random_(Random(seed ^ 0x5EED5A3B1Eull).next()),
      hours_(hourWeights),
      cinemaHours_(cinemaHourWeights),
      languages_(languageWeights),
      creatives_(std::vector<uint64_t>{5, 3, 2, 1}) {}

const std::vector<ReportField>& ReportSampleGenerator::fields() {
    static const std::vector<ReportField> list = [] {
        std::vector<ReportField> fields;
        for (const Column& c : columns) {
            ReportField field;
            field.spec.name = c.name;
            field.spec.type = c.type;
            field.spec.length = c.length;
            field.spec.decimals = c.decimals;
            field.caption = c.caption;
            fields.push_back(field);
        }
        return fields;
    }();
    return list;
}

int ReportSampleGenerator::fieldIndex(const std::string& name) {
    for (size_t i = 0; i < fields().size(); ++i)
        if (fields()[i].spec.name == name) return static_cast<int>(i);
    return -1;
}

std::vector<Value> ReportSampleGenerator::next() {
    SampleRecord record =
        draw(spots_.next(), spots_.catalog(), random_, hours_, cinemaHours_, languages_, creatives_);
    std::vector<Value> values;
    values.reserve(std::size(columns));
    for (const Column& column : columns) values.push_back(column.value(record));
    return values;
}

void writeReportTable(const std::string& path, uint64_t rows, uint64_t seed) {
    std::vector<engine::dbf::FieldSpec> specs;
    for (const ReportField& field : ReportSampleGenerator::fields()) specs.push_back(field.spec);
    engine::dbf::DbfWriter::create(path, specs);
    {
        engine::dbf::DbfWriter writer(path);
        ReportSampleGenerator generator(seed);
        std::vector<std::vector<Value>> records;
        for (uint64_t row = 0; row < rows; ++row) records.push_back(generator.next());
        writer.appendMany(records);
    }
    setTableDate(path, adLastYear, 12, 31);
}

void setTableDate(const std::string& path, int year, int month, int day) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    const char date[3] = {static_cast<char>(year % 100), static_cast<char>(month), static_cast<char>(day)};
    file.seekp(1);
    file.write(date, sizeof date);
    if (!file) throw engine::EngineError(engine::errIo, "Cannot set the date in the header of \"" + path + "\".");
}

}  // namespace vantrep::bench
