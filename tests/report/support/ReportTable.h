// A small report table for the report tests: written with the engine's own
// writer into a temporary folder and opened as a recordset of all its rows.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "engine/dbf/DbfWriter.h"

namespace vantrep::testing {

class ReportTable {
public:
    ReportTable(const std::vector<engine::dbf::FieldSpec>& fields, const std::vector<std::vector<engine::Value>>& rows) {
        std::string folder = temp_.path().toStdString() + "/";
        engine::dbf::DbfWriter::create(folder + "data.dbf", fields);
        engine::dbf::DbfWriter writer(folder + "data.dbf");
        writer.appendMany(rows);
        connection_.Open("SourceDB=" + folder + ";SourceType=DBF;");
        recordset_.Open("SELECT * FROM data", connection_);
    }

    engine::Recordset& recordset() { return recordset_; }

private:
    QTemporaryDir temp_;
    engine::Connection connection_;
    engine::Recordset recordset_;
};

inline engine::Value text(const std::string& s) { return engine::Value::string(s); }
inline engine::Value number(int64_t n) { return engine::Value::integer(n); }
inline engine::Value decimal(const std::string& s) { return engine::Value::decimal(*engine::Decimal::parse(s)); }

}  // namespace vantrep::testing
