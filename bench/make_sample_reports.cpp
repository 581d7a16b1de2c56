// make_sample_reports OUTDIR [ROWS] [SEED]: writes the sample report folders
// OUTDIR/summary and OUTDIR/detailed (ReportSampleFolders.h). Without ROWS
// and SEED it makes the shipped samples; with them both folders get ROWS
// records, the summary seed SEED and the detailed listing SEED + 1.
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string_view>

#include "ReportSampleFolders.h"

namespace {

bool parseCount(std::string_view text, uint64_t& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vantrep::bench;
    uint64_t summaryRows = summarySampleRows, detailedRows = detailedSampleRows;
    uint64_t summarySeed = summarySampleSeed, detailedSeed = detailedSampleSeed;
    uint64_t rows = 0, seed = 0;
    if (argc < 2 || argc > 4 || (argc > 2 && !parseCount(argv[2], rows)) ||
        (argc > 3 && !parseCount(argv[3], seed))) {
        std::fprintf(stderr, "usage: make_sample_reports OUTDIR [ROWS] [SEED]\n");
        return 2;
    }
    if (argc > 2) summaryRows = detailedRows = rows;
    if (argc > 3) summarySeed = seed, detailedSeed = seed + 1;
    try {
        std::filesystem::path out(argv[1]);
        writeSummarySample((out / "summary").string(), summaryRows, summarySeed);
        writeDetailedSample((out / "detailed").string(), detailedRows, detailedSeed);
        std::printf("%s: %llu records, seed %llu\n%s: %llu records, seed %llu\n", (out / "summary").c_str(),
                    static_cast<unsigned long long>(summaryRows), static_cast<unsigned long long>(summarySeed),
                    (out / "detailed").c_str(), static_cast<unsigned long long>(detailedRows),
                    static_cast<unsigned long long>(detailedSeed));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
