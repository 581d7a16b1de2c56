#include "support/QueryFixture.h"

#include <cstdlib>
#include <filesystem>

#include "engine/Recordset.h"

namespace vantrep::tests {

void QueryFixture::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrep-query-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern + "/";
}

void QueryFixture::TearDown() {
    connection.Close();
    std::filesystem::remove_all(folder);
}

std::string QueryFixture::makeTable(const std::string& name, const std::vector<engine::dbf::FieldSpec>& fields,
                                    const std::vector<std::vector<engine::Value>>& records,
                                    engine::dbf::TableFormat format, int codePage) {
    std::string path = folder + name;
    engine::dbf::DbfWriter::create(path, fields, format, codePage);
    engine::dbf::DbfWriter writer(path);
    writer.appendMany(records);
    return path;
}

std::string QueryFixture::connectionString() const {
    return "Driver=Microsoft Visual FoxPro Driver;UID=;PWD=;SourceDB=" + folder +
           ";SourceType=DBF;Exclusive=No;BackgroundFetch=No;Collate=Machine;";
}

std::vector<Row> QueryFixture::query(const std::string& statement) {
    if (connection.State() != engine::adStateOpen) connection.Open(connectionString());
    engine::Recordset rs;
    rs.Open(statement, connection, engine::adOpenStatic, engine::adLockReadOnly);
    std::vector<Row> rows;
    Row names;
    for (int i = 0; i < rs.fields().Count(); ++i) names.push_back(rs.field(i).Name());
    rows.push_back(names);
    for (; !rs.Eof(); rs.MoveNext()) {
        Row row;
        for (int i = 0; i < rs.fields().Count(); ++i) row.push_back(rs.field(i).value().toText());
        rows.push_back(row);
    }
    return rows;
}

engine::Value text(const std::string& s) { return engine::Value::string(s); }

engine::Value number(const std::string& decimal) { return engine::Value::decimal(*engine::Decimal::parse(decimal)); }

engine::Value day(int year, int month, int dayOfMonth) {
    return engine::Value::date(engine::julianDay(year, month, dayOfMonth));
}

}  // namespace vantrep::tests
