#include "engine/exec/KeyOrder.h"

#include <algorithm>
#include <numeric>

namespace vantrep::engine::exec {

int bitsFor(size_t cardinality) {
    int bits = 0;
    while ((size_t(1) << bits) < cardinality) ++bits;
    return bits;
}

std::vector<uint32_t> sortPositions(const std::vector<CodedValues>& keys, const std::vector<bool>& descending,
                                    size_t count, const RecordList* records) {
    auto recordAt = [records](size_t i) { return records ? (*records)[i] : 0u; };
    int totalBits = 0;
    std::vector<int> bits;
    for (const CodedValues& k : keys) {
        bits.push_back(bitsFor(k.values.size()));
        totalBits += bits.back();
    }
    std::vector<uint32_t> order(count);
    if (totalBits <= 64) {
        std::vector<std::pair<uint64_t, uint32_t>> packed(count);
        for (size_t i = 0; i < count; ++i) {
            uint64_t key = 0;
            for (size_t k = 0; k < keys.size(); ++k) {
                if (bits[k] == 0) continue;
                uint64_t code = keys[k].at(i, recordAt(i));
                if (descending[k]) code = keys[k].values.size() - 1 - code;
                key = bits[k] == 64 ? code : (key << bits[k]) | code;
            }
            packed[i] = {key, static_cast<uint32_t>(i)};
        }
        std::sort(packed.begin(), packed.end());
        for (size_t i = 0; i < count; ++i) order[i] = packed[i].second;
        return order;
    }
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        for (size_t k = 0; k < keys.size(); ++k) {
            uint32_t x = keys[k].at(a, recordAt(a)), y = keys[k].at(b, recordAt(b));
            if (x != y) return descending[k] ? x > y : x < y;
        }
        return false;
    });
    return order;
}

}  // namespace vantrep::engine::exec
