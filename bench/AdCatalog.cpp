#include "AdCatalog.h"

#include <array>

#include "Random.h"

namespace vantrep::bench {

namespace {

// Name parts. A few letters outside ASCII (all in code page 1252) so that the
// tables exercise code-page decoding and byte-order collation.
const std::array<const char*, 24> syllables = {
    "BA", "KO", "LI", "MER", "DA", "VO", "TI", "NA", "RE", "SAN", "PO", "LU",
    "ZE", "MI", "KA", "TOR", "VI", "NO", "ŠO", "ŽA", "LÉ", "GRA", "FI", "DEL",
};
const std::array<const char*, 20> productWords = {
    "COLA", "SHAMPOO", "MOBILE", "BANK", "MOTORS", "COFFEE", "YOGURT",
    "TRAVEL", "INSURANCE", "PHARMA", "BEER", "CHOCOLATE", "DETERGENT", "TELECOM",
    "FURNITURE", "SNACKS", "COSMETICS", "ENERGY", "WATER", "PET FOOD",
};
const std::array<const char*, 8> companySuffixes = {
    "D.O.O.", "D.D.", "GROUP", "HOLDING", "INTERNATIONAL", "& CO", "TRADE", "INDUSTRIES",
};
const std::array<const char*, 4> pressKinds = {"DAILY", "WEEKLY", "MAGAZINE", "NEWS"};

struct MediaPlan {
    const char* name;
    int channels;
    int64_t lowRateCents, highRateCents;  // price of a 30-second spot, tail and head channel
};
const std::array<MediaPlan, 5> mediaPlans = {{
    {"TV", 40, 20'000, 400'000},
    {"RADIO", 45, 2'000, 30'000},
    {"PRESS", 45, 50'000, 500'000},
    {"OUTDOOR", 12, 10'000, 200'000},
    {"CINEMA", 8, 5'000, 50'000},
}};

// A pronounceable word of `count` syllables, different for every index below
// 24^count: the index is scrambled by a bijection (`multiplier` must share no
// factor with 24) and then written in base 24, so that neighbouring indexes do
// not sort together. Channels and brands use different multipliers so that
// their names do not echo each other.
std::string stem(int index, int count, int64_t multiplier) {
    int64_t combinations = 1;
    for (int i = 0; i < count; ++i) combinations *= static_cast<int64_t>(syllables.size());
    int64_t code = (static_cast<int64_t>(index) + 1) * multiplier % combinations;
    std::string word;
    for (int i = 0; i < count; ++i) {
        word += syllables[static_cast<size_t>(code % static_cast<int64_t>(syllables.size()))];
        code /= static_cast<int64_t>(syllables.size());
    }
    return word;
}

constexpr int64_t channelMultiplier = 389, companyMultiplier = 7919;

std::string channelName(const MediaPlan& plan, int index) {
    std::string word = stem(index, 2, channelMultiplier);
    std::string media = plan.name;
    if (media == "TV") return word + " TV";
    if (media == "RADIO") return "RADIO " + word;
    if (media == "PRESS") return word + " " + pressKinds[static_cast<size_t>(index) % pressKinds.size()];
    if (media == "OUTDOOR") return word + " BILLBOARDS";
    return "KINO " + word;
}

}  // namespace

AdCatalog::AdCatalog(uint64_t seed) {
    Random random(seed);

    for (const MediaPlan& plan : mediaPlans) {
        int media = static_cast<int>(media_.size());
        media_.push_back(plan.name);
        channelsByMedia_.emplace_back();
        for (int rank = 0; rank < plan.channels; ++rank) {
            // The head channels cost the most; every price varies by up to 20%.
            int64_t rate = plan.lowRateCents + (plan.highRateCents - plan.lowRateCents) * 3 / (rank + 3);
            rate = rate * random.between(80, 120) / 100;
            channelsByMedia_.back().push_back(static_cast<int>(channels_.size()));
            channels_.push_back({channelName(plan, static_cast<int>(channels_.size())), media, rate});
        }
    }

    for (int i = 0; i < advertiserCount; ++i)
        advertisers_.push_back(stem(brandCount + i, 3, companyMultiplier) + " " +
                               companySuffixes[random.below(companySuffixes.size())]);

    // Brands in a random order: the first advertiserCount of them give every
    // advertiser one brand, the rest go mostly to the big advertisers.
    std::vector<int> order(brandCount);
    for (int i = 0; i < brandCount; ++i) order[static_cast<size_t>(i)] = i;
    shuffle(order, random);
    brands_.resize(brandCount);
    WeightedChoice bigAdvertisers = WeightedChoice::zipf(advertiserCount, 3);
    for (int k = 0; k < brandCount; ++k) {
        int brand = order[static_cast<size_t>(k)];
        Brand& b = brands_[static_cast<size_t>(brand)];
        b.name = stem(brand, 3, companyMultiplier) + " " + productWords[random.below(productWords.size())];
        b.advertiser = k < advertiserCount ? k : bigAdvertisers.draw(random);
    }
}

}  // namespace vantrep::bench
