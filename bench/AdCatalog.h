// The made-up market behind the generated advertising tables: media, channels,
// brands and the advertisers that own them, each with a name and, for
// channels, the price of a spot. Fixed by the seed; a row generator draws from
// it (AdTableGenerator.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrep::bench {

struct Channel {
    std::string name;
    int media = 0;           // index into AdCatalog::media()
    int64_t rateCents = 0;   // price of one 30-second spot, in cents
};

struct Brand {
    std::string name;
    int advertiser = 0;      // index into AdCatalog::advertisers()
};

class AdCatalog {
public:
    static constexpr int channelCount = 150;
    static constexpr int brandCount = 3000;
    static constexpr int advertiserCount = 800;

    explicit AdCatalog(uint64_t seed);

    // "TV", "RADIO", "PRESS", "OUTDOOR", "CINEMA".
    const std::vector<std::string>& media() const { return media_; }
    // Channels grouped by medium; within a medium the most watched first.
    const std::vector<Channel>& channels() const { return channels_; }
    // The channels of one medium, as indexes into channels().
    const std::vector<int>& channelsOf(int media) const { return channelsByMedia_[media]; }
    // Brands, the most advertised first. Every advertiser owns at least one.
    const std::vector<Brand>& brands() const { return brands_; }
    const std::vector<std::string>& advertisers() const { return advertisers_; }

private:
    std::vector<std::string> media_;
    std::vector<Channel> channels_;
    std::vector<std::vector<int>> channelsByMedia_;
    std::vector<Brand> brands_;
    std::vector<std::string> advertisers_;
};

}  // namespace vantrep::bench
