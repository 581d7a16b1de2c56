// Generates the data table of the shipped sample reports: one advertising
// spot (or press insertion, or poster) per record, with every field the
// cross-tab, the detailed listing and both fixed-format reports read. It
// builds on the advertising-table generator (AdTableGenerator.h) for the
// market, the dates, lengths and prices, and adds the broadcast schedule
// (programme, break, time), the creative (sub-brand, description, ad type,
// clip) and the press and outdoor details. Visual FoxPro, code page 1252,
// one memo field (NOTES). The same row count and seed give the same file on
// every machine.
//
// Every text the fixed-format reports compare or print is a character field:
// times are C(8) "hh:mm:ss" (blank where the medium has none), POSITION and
// TOTAL_ADS are character so that both branches of the report's IIF agree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AdTableGenerator.h"
#include "Random.h"
#include "engine/Value.h"
#include "engine/dbf/DbfWriter.h"

namespace vantrep::bench {

// One field of the report table: its layout and the caption the structure
// files give it.
struct ReportField {
    engine::dbf::FieldSpec spec;
    std::string caption;
};

class ReportSampleGenerator {
public:
    explicit ReportSampleGenerator(uint64_t seed);

    // The table's fields, in order.
    static const std::vector<ReportField>& fields();
    // The position of a field in fields(); -1 when there is none.
    static int fieldIndex(const std::string& name);

    // The values of the next record, in the order of fields().
    std::vector<engine::Value> next();

private:
    AdTableGenerator spots_;
    Random random_;
    WeightedChoice hours_, cinemaHours_, languages_, creatives_;
};

// Writes `rows` generated records into a new table at `path` (replacing it
// and its memo file). The header's last-update date is the last day of the
// data, so that the file does not depend on the day it is made. Throws
// EngineError when the table cannot be written.
void writeReportTable(const std::string& path, uint64_t rows, uint64_t seed);

// Bytes 1-3 of a DBF header: the last-update date. Throws EngineError when
// the file cannot be changed.
void setTableDate(const std::string& path, int year, int month, int day);

}  // namespace vantrep::bench
