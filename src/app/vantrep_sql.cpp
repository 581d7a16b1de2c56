// vantrep-sql FOLDER "STATEMENT": runs one statement on a folder of tables
// through the same connection the program opens, and prints the result as
// tab-separated text: a line of field names, then one line per record. An
// UPDATE prints the number of records it changed instead.
//
// Exit status: 0 done, 1 the engine reported an error (its description is on
// standard error), 2 wrong usage.
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/TsvFormat.h"
#include "engine/Connection.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"

namespace {

using namespace vantrep::engine;
using vantrep::app::cellText;
using vantrep::app::escapeCell;

std::string connectionString(std::string folder) {
    if (folder.back() != '/') folder += '/';
    return "Driver=Microsoft Visual FoxPro Driver;UID=;PWD=;SourceDB=" + folder +
           ";SourceType=DBF;Exclusive=No;BackgroundFetch=No;Collate=Machine;";
}

// True when the statement's first word is UPDATE, in any case.
bool isUpdate(std::string_view statement) {
    size_t start = 0;
    while (start < statement.size() && std::isspace(static_cast<unsigned char>(statement[start]))) ++start;
    std::string_view word = statement.substr(start, 6);
    if (word.size() < 6) return false;
    for (size_t i = 0; i < 6; ++i)
        if (std::toupper(static_cast<unsigned char>(word[i])) != "UPDATE"[i]) return false;
    size_t after = start + 6;
    return after == statement.size() ||
           !(std::isalnum(static_cast<unsigned char>(statement[after])) || statement[after] == '_');
}

void writeLine(const std::string& line) { std::fwrite(line.data(), 1, line.size(), stdout); }

// Streams the rows of a SELECT to standard output.
void printQuery(Connection& connection, const std::string& statement) {
    Recordset rs;
    rs.Open(statement, connection, adOpenForwardOnly, adLockReadOnly);
    Fields fields = rs.fields();
    int count = fields.Count();
    std::vector<int> decimals;
    std::string line;
    for (int i = 0; i < count; ++i) {
        if (i > 0) line += '\t';
        line += escapeCell(fields[i].Name());
        decimals.push_back(fields[i].NumericScale());
    }
    writeLine(line += '\n');
    for (; !rs.Eof(); rs.MoveNext()) {
        line.clear();
        for (int i = 0; i < count; ++i) {
            if (i > 0) line += '\t';
            line += escapeCell(cellText(fields[i].value(), decimals[static_cast<size_t>(i)]));
        }
        writeLine(line += '\n');
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: vantrep-sql FOLDER \"STATEMENT\"\n");
        return 2;
    }
    std::string statement = argv[2];
    try {
        Connection connection;
        connection.Open(connectionString(argv[1]));
        if (isUpdate(statement)) std::printf("%lld\n", static_cast<long long>(connection.Execute(statement)));
        else printQuery(connection, statement);
    } catch (const EngineError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", e.description().c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "Cannot write the result to standard output.\n");
        return 1;
    }
    return 0;
}
