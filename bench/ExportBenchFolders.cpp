#include "bench/ExportBenchFolders.h"

#include <cstdio>
#include <string>
#include <vector>

#include "bench/AdTableGenerator.h"
#include "bench/ReportSampleFolders.h"

namespace vantrep::bench {

namespace {

namespace fs = std::filesystem;

constexpr uint64_t benchSeed = 1;

// Two row dimensions, months across, three variables, spend with percentages.
const std::vector<Placement> summaryPlacements = {
    {"MEDIA", "R", 1, -1, false, false, 0, "Spend by media, brand and month"},
    {"BRAND", "R", 2},
    {"MONTH", "C", 1, 0},
    {"SPEND", "N", 1, -1, true, false, 1000},
    {"SPOTS", "N", 2},
    {"DURATION", "N", 3, -1, false, false, 60},
};

// Three group levels: media, channel, brand.
const std::vector<Placement> detailedPlacements = {
    {"MEDIA", "", 1, -1, false, true, 1, "Spots by media, channel and brand"},
    {"CHANNEL", "", 2, -1, false, true, 2},
    {"BRAND", "", 3, -1, false, true, 3},
    {"DATE", "", 0, -1, false, true, 4},
    {"TIME", "", 0, -1, false, true, 5},
    {"AD_DESC", "", 0, -1, false, true, 6},
    {"AD_TYPE", "", 0, -1, false, true, 7},
    {"DURATION", "", 0, -1, false, true, 8},
    {"SPOTS", "", 0, -1, false, true, 9},
    {"SPEND", "", 0, -1, false, true, 10},
    {"LANGUAGE", "", 0, -1, false, true, 11},
    {"CLIPDET"},
};

// The summary runs on the engine benchmark's table (ten fields, 123 MB for a
// million records), the listing on the wide table of the fixed reports.
void writeSummaryFolder(const fs::path& folder, uint64_t rows) {
    fs::create_directories(folder);
    writeAdTable((folder / "DATA.DBF").string(), rows, benchSeed);
    std::vector<ReportField> fields;
    for (const engine::dbf::FieldSpec& spec : AdTableGenerator::fields()) fields.push_back({spec, spec.name});
    writeStructureFile((folder / "Spends.str").string(), fields, summaryPlacements);
}

void writeDetailedFolder(const fs::path& folder, uint64_t rows) {
    writeReportFolder(folder.string(), rows, benchSeed, "Spots.dtr", detailedPlacements, true);
}

}  // namespace

const ExportBenchFolder summaryBenchFolder = {"summary", 1000000, "Spends.str", writeSummaryFolder};
const ExportBenchFolder detailedBenchFolder = {"detailed", 200000, "Spots.dtr", writeDetailedFolder};

fs::path exportBenchFolder(const fs::path& dir, const ExportBenchFolder& which) {
    fs::path folder = dir / (std::string(which.name) + "_" + std::to_string(which.rows) + "_" +
                             std::to_string(benchSeed) + "_V1");
    if (!fs::exists(folder / which.structureName)) {
        std::printf("writing %s ...\n", folder.c_str());
        std::fflush(stdout);
        fs::remove_all(folder);
        which.write(folder, which.rows);
    }
    return folder;
}

}  // namespace vantrep::bench
