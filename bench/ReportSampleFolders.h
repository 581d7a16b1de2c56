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

namespace vantrep::bench {

// The shipped folders' rows and seeds.
constexpr uint64_t summarySampleRows = 3000, summarySampleSeed = 1;
constexpr uint64_t detailedSampleRows = 2000, detailedSampleSeed = 2;

// The structure files' names.
inline const char* const summaryStructureName = "Brand_Spends.str";
inline const char* const detailedStructureName = "Spot_Listing.dtr";

// Write one report folder into `folder` (created when missing; files of the
// same names are replaced). Throw EngineError when a file cannot be written.
void writeSummarySample(const std::string& folder, uint64_t rows, uint64_t seed);
void writeDetailedSample(const std::string& folder, uint64_t rows, uint64_t seed);

}  // namespace vantrep::bench
