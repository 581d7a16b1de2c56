// A temporary report folder for query tests: tables are written into it with
// the engine's writer, a connection is opened on it, and results are read
// back as text rows.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Connection.h"
#include "engine/Value.h"
#include "engine/dbf/DbfWriter.h"

namespace vantrep::tests {

using Row = std::vector<std::string>;

class QueryFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates folder/name with the given fields and records.
    std::string makeTable(const std::string& name, const std::vector<engine::dbf::FieldSpec>& fields,
                          const std::vector<std::vector<engine::Value>>& records,
                          engine::dbf::TableFormat format = engine::dbf::TableFormat::VisualFoxPro,
                          int codePage = 1252);
    // The program's connection string for the folder.
    std::string connectionString() const;
    // Runs a SELECT on the fixture's connection and returns every row as the
    // values' text (Value::toText), with the column names as the first row.
    std::vector<Row> query(const std::string& statement);

    std::string folder;  // ends in "/"
    engine::Connection connection;
};

engine::Value text(const std::string& s);
engine::Value number(const std::string& decimal);
engine::Value day(int year, int month, int dayOfMonth);

}  // namespace vantrep::tests
