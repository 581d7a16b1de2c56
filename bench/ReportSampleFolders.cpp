#include "ReportSampleFolders.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "ReportSampleGenerator.h"
#include "engine/EngineError.h"
#include "engine/dbf/DbfWriter.h"

namespace vantrep::bench {

using engine::Value;
using engine::dbf::FieldSpec;

namespace {

// The summary cross-tab: media and brand down the side, months and, as a
// second column group, weekdays across; channel and language as page
// filters; spend in thousands, spots, and airtime in minutes.
const std::vector<Placement> summaryPlacements = {
    {"MEDIA", "R", 1, -1, false, false, 0, "Brand spends by month and weekday"},
    {"BRAND", "R", 2},
    {"MONTH", "C", 1, 0},
    {"WEEKDAY", "C", 1, 2},
    {"CHANNEL", "P", 1},
    {"LANGUAGE", "P", 2},
    {"SPEND", "N", 1, -1, true, false, 1000},
    {"SPOTS", "N", 2, -1, true},
    {"DURATION", "N", 3, -1, false, false, 60},
};

// The detailed listing: grouped by media, then channel; the clip field is
// never a column, the ad type carries the clip button.
const std::vector<Placement> detailedPlacements = {
    {"MEDIA", "", 1, -1, false, true, 1, "Spot listing with clips"},
    {"CHANNEL", "", 2, -1, false, true, 2},
    {"DATE", "", 0, -1, false, true, 3},
    {"TIME", "", 0, -1, false, true, 4},
    {"BRAND", "", 0, -1, false, true, 5},
    {"AD_DESC", "", 0, -1, false, true, 6},
    {"AD_TYPE", "", 0, -1, false, true, 7},
    {"DURATION", "", 0, -1, false, true, 8},
    {"SPOTS", "", 0, -1, false, true, 9},
    {"SPEND", "", 0, -1, false, true, 10},
    {"LANGUAGE", "", 0, -1, false, true, 11},
    {"CLIPDET"},
};

const std::vector<FieldSpec> structureFields = {
    {"FNAME", 'C', 10},  {"FDESC", 'C', 30},   {"FTYPE", 'C', 1},     {"FLEN", 'N', 3},
    {"FDEC", 'N', 2},    {"LAYOUT", 'C', 1},   {"LEVEL", 'N', 2},     {"SHOWTOTAL", 'L'},
    {"DISPLAYED", 'L'},  {"DIVISOR", 'N', 5},  {"TITLE", 'C', 40},
};

// The width a field takes in a record.
int widthOf(const FieldSpec& spec) {
    switch (spec.type) {
    case 'D': return 8;
    case 'L': return 1;
    case 'M': return 4;
    default: return spec.length;
    }
}

Placement placementOf(const std::string& name, const std::vector<Placement>& placements) {
    for (const Placement& p : placements)
        if (name == p.name) return p;
    return Placement{""};
}

// A few bytes standing for an advertisement's video: an MPEG program stream
// pack header and end code around the clip's name.
std::string clipBytes(const std::string& name) {
    std::string bytes("\x00\x00\x01\xBA", 4);
    bytes += name;
    bytes += std::string("\x00\x00\x01\xB9", 4);
    return bytes;
}

void writeClips(const std::filesystem::path& folder, uint64_t rows, uint64_t seed) {
    int clipField = ReportSampleGenerator::fieldIndex("CLIPDET");
    std::set<std::string> clips;
    ReportSampleGenerator generator(seed);
    for (uint64_t row = 0; row < rows; ++row) {
        std::string clip = generator.next()[static_cast<size_t>(clipField)].asString();
        if (!clip.empty()) clips.insert(clip);
    }
    for (const std::string& clip : clips) {
        std::filesystem::path path = folder / clip;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << clipBytes(clip);
        if (!file) throw engine::EngineError(engine::errIo, "Cannot write the clip file \"" + path.string() + "\".");
    }
}

std::filesystem::path makeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw engine::EngineError(engine::errIo, "Cannot create the folder \"" + folder + "\".");
    return folder;
}

}  // namespace

void writeStructureFile(const std::string& path, const std::vector<ReportField>& fields,
                        const std::vector<Placement>& placements) {
    std::vector<std::vector<Value>> rows;
    for (const ReportField& field : fields) {
        const FieldSpec& spec = field.spec;
        Placement p = placementOf(spec.name, placements);
        rows.push_back({Value::string(spec.name), Value::string(field.caption), Value::string(std::string(1, spec.type)),
                        Value::integer(widthOf(spec)), Value::integer(p.group >= 0 ? p.group : spec.decimals),
                        Value::string(p.layout), Value::integer(p.level), Value::logical(p.showTotal),
                        Value::logical(p.displayed), Value::integer(p.divisor), Value::string(p.title)});
    }
    engine::dbf::DbfWriter::create(path, structureFields);
    engine::dbf::DbfWriter(path).appendMany(rows);
    setTableDate(path, adLastYear, 12, 31);
}

void writeReportFolder(const std::string& folder, uint64_t rows, uint64_t seed, const std::string& structureName,
                       const std::vector<Placement>& placements, bool withClips) {
    std::filesystem::path dir = makeFolder(folder);
    writeReportTable((dir / "DATA.DBF").string(), rows, seed);
    writeStructureFile((dir / structureName).string(), ReportSampleGenerator::fields(), placements);
    if (withClips) writeClips(dir, rows, seed);
}

void writeSummarySample(const std::string& folder, uint64_t rows, uint64_t seed) {
    writeReportFolder(folder, rows, seed, summaryStructureName, summaryPlacements, false);
}

void writeDetailedSample(const std::string& folder, uint64_t rows, uint64_t seed) {
    writeReportFolder(folder, rows, seed, detailedStructureName, detailedPlacements, true);
}

}  // namespace vantrep::bench
