// The shipped sample report folders, written from the report table generator
// (ReportSampleGenerator.h): a summary cross-tab (samples/summary: DATA.DBF,
// its memo file and "Brand_Spends.str") and a detailed listing
// (samples/detailed: DATA.DBF, its memo file, "Spot_Listing.dtr" and the clip
// files its CLIPDET field names, under clips/). Every file's header carries
// the last day of the data as its date, so that the same rows and seed give
// the same bytes on any day.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ReportSampleGenerator.h"

namespace vantrep::bench {

// The shipped folders' rows and seeds.
constexpr uint64_t summarySampleRows = 3000, summarySampleSeed = 1;
constexpr uint64_t detailedSampleRows = 2000, detailedSampleSeed = 2;

// The structure files' names.
inline const char* const summaryStructureName = "Brand_Spends.str";
inline const char* const detailedStructureName = "Spot_Listing.dtr";

// How a structure file places one field of the data table; fields not
// listed get a blank Layout, Level 0 and nothing set.
struct Placement {
    const char* name;
    const char* layout = "";
    int level = 0;
    int group = -1;  // a level-1 column dimension's group, kept in FDec; -1: FDec is the decimals
    bool showTotal = false;
    bool displayed = false;
    int divisor = 0;
    const char* title = "";
};

// Writes a structure file with one row per field of `fields`, in their
// order, placed as `placements` say.
void writeStructureFile(const std::string& path, const std::vector<ReportField>& fields,
                        const std::vector<Placement>& placements);

// Writes a report folder into `folder` (created when missing): the
// generator's table as DATA.DBF with its memo file, a structure file named
// `structureName` placing the fields as `placements` say, and with
// `withClips` the clip files the table's CLIPDET field names.
void writeReportFolder(const std::string& folder, uint64_t rows, uint64_t seed, const std::string& structureName,
                       const std::vector<Placement>& placements, bool withClips);

// Write one report folder into `folder` (created when missing; files of the
// same names are replaced). Throw EngineError when a file cannot be written.
void writeSummarySample(const std::string& folder, uint64_t rows, uint64_t seed);
void writeDetailedSample(const std::string& folder, uint64_t rows, uint64_t seed);

}  // namespace vantrep::bench
