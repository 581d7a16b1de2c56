// The report folders the export benchmarks run on: a summary cross-tab over
// AdTableGenerator's table (MEDIA and BRAND down, MONTH across, three
// variables) and a detailed listing with clips over the report table (three
// group levels, eleven columns). Each is written once into a folder named
// after its rows, seed and version, and kept for later runs.
#pragma once

#include <cstdint>
#include <filesystem>

namespace vantrep::bench {

struct ExportBenchFolder {
    const char* name;  // "summary" or "detailed"
    uint64_t rows;
    const char* structureName;
    void (*write)(const std::filesystem::path& folder, uint64_t rows);
};

extern const ExportBenchFolder summaryBenchFolder;   // 1,000,000 records
extern const ExportBenchFolder detailedBenchFolder;  // 200,000 records

// The folder of `which` under `dir`, written when it is not there yet.
// Throws EngineError when a file cannot be written.
std::filesystem::path exportBenchFolder(const std::filesystem::path& dir, const ExportBenchFolder& which);

}  // namespace vantrep::bench
