// bench_engine [--rows N] [--runs K] [--dir D]: times the report program's
// typical statements on a generated advertising table and prints the figures
// beside their targets. See bench/README.md for what each figure means.
//
// "First run" figures come from fresh processes: the benchmark starts itself
// again with the hidden arguments --child Q --dir D --table T, and the child
// prints its times on standard output as "OPEN_US READ_US ROWS".
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "bench/AdTableGenerator.h"
#include "engine/Connection.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/dbf/DbfTable.h"

namespace {

namespace fs = std::filesystem;
using namespace vantrep::engine;
using Clock = std::chrono::steady_clock;

constexpr uint64_t benchSeed = 1;
constexpr double memoryAllowanceMb = 150;

struct Query {
    const char* name;
    const char* sql;             // "%T" stands for the table name
    double firstTargetMs;
    double againTargetMs;        // 0: no target
};

const std::vector<Query> queries = {
    {"Q1", "SELECT MEDIA, MONTH, ROUND(SUM(SPEND),0) AS SPEND FROM %T WHERE 1=1 GROUP BY 1 ,2 ORDER BY 1 ,2",
     50, 12},
    {"Q2",
     "select BRAND, MONTH,  ROUND(SUM(SPEND),0) AS SPEND, ROUND(SUM(SPOTS),0) AS SPOTS from %T WHERE 1=1  "
     "AND INLIST(ALLTRIM(MEDIA),\"TV\",\"RADIO\") group by 1 ,2 order by 1 ,2",
     100, 25},
    {"Q3", "SELECT DISTINCT BRAND FROM %T ORDER BY 1", 45, 10},
    {"Q4", "SELECT DATE, MEDIA, CHANNEL, BRAND, SPOTS FROM %T WHERE 1=1  ORDER BY 1, 2, 3", 700, 0},
};

std::string statementFor(const Query& query, const std::string& table) {
    std::string sql = query.sql;
    sql.replace(sql.find("%T"), 2, table);
    return sql;
}

std::string connectionString(const std::string& folder) {
    return "Driver=Microsoft Visual FoxPro Driver;UID=;PWD=;SourceDB=" + folder +
           "/;SourceType=DBF;Exclusive=No;BackgroundFetch=No;Collate=Machine;";
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double mb(double bytes) { return bytes / (1024.0 * 1024.0); }

struct Timing {
    double openMs = 0;  // Recordset::Open (the query), plus Connection::Open in a child
    double readMs = 0;  // reading every value of every row
    int64_t rows = 0;
    double peakMb = 0;  // peak resident memory of the child
};

// Reads every field of every row, as a grid fill would; returns how many
// values were not null so that the reads cannot be optimised away.
int64_t readAll(Recordset& rs) {
    int64_t present = 0;
    Fields fields = rs.fields();
    int count = fields.Count();
    for (; !rs.Eof(); rs.MoveNext())
        for (int i = 0; i < count; ++i) present += fields[i].value().isNull() ? 0 : 1;
    return present;
}

Timing runQuery(Connection& connection, const std::string& sql, Clock::time_point start) {
    Timing timing;
    Recordset rs;
    rs.Open(sql, connection, adOpenStatic, adLockReadOnly);
    timing.openMs = msSince(start);
    timing.rows = rs.RecordCount();
    Clock::time_point readStart = Clock::now();
    readAll(rs);
    timing.readMs = msSince(readStart);
    return timing;
}

// The child: one query, once, in a fresh process.
int runChild(int queryIndex, const std::string& folder, const std::string& table) {
    Clock::time_point start = Clock::now();
    Connection connection;
    connection.Open(connectionString(folder));
    Timing timing = runQuery(connection, statementFor(queries[static_cast<size_t>(queryIndex)], table), start);
    std::printf("%lld %lld %lld\n", static_cast<long long>(timing.openMs * 1000),
                static_cast<long long>(timing.readMs * 1000), static_cast<long long>(timing.rows));
    return 0;
}

Timing spawnChild(int queryIndex, const std::string& folder, const std::string& table) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("Cannot create a pipe for the child run.");
    std::string index = std::to_string(queryIndex);
    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("Cannot start the child run.");
    if (pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execl("/proc/self/exe", "bench_engine", "--child", index.c_str(), "--dir", folder.c_str(), "--table",
              table.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);

    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    long long openUs = 0, readUs = 0, rows = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(output.c_str(), "%lld %lld %lld", &openUs, &readUs, &rows) != 3)
        throw std::runtime_error(std::string("The child run of ") + queries[static_cast<size_t>(queryIndex)].name +
                                 " failed.");
    return {openUs / 1000.0, readUs / 1000.0, rows, usage.ru_maxrss / 1024.0};
}

bool holdsRows(const std::string& path, uint64_t rows) {
    try {
        return dbf::DbfTable::open(path)->recordCount() == rows;
    } catch (const EngineError&) {
        return false;
    }
}

// The table for this row count and seed in `folder`, written unless a complete
// one is already there. The name carries rows, seed and generator version.
std::string prepareTable(const std::string& folder, uint64_t rows) {
    std::string name = "ADS_" + std::to_string(rows) + "_" + std::to_string(benchSeed) + "_V" +
                       std::to_string(vantrep::bench::adTableVersion) + ".DBF";
    std::string path = folder + "/" + name;
    if (holdsRows(path, rows)) {
        std::printf("table   %s (kept from an earlier run)\n", path.c_str());
        return name;
    }
    std::printf("table   %s: writing %llu records ...\n", path.c_str(), static_cast<unsigned long long>(rows));
    std::fflush(stdout);
    Clock::time_point start = Clock::now();
    std::string partial = path + ".part";
    vantrep::bench::writeAdTable(partial, rows, benchSeed);
    fs::rename(partial, path);
    std::printf("        written in %.1f s\n", msSince(start) / 1000);
    return name;
}

const char* verdict(double value, double target) { return value <= target ? "PASS" : "MISS"; }

std::string targetText(double target) { return target > 0 ? std::to_string(static_cast<int>(target)) : "-"; }

struct Options {
    uint64_t rows = 1'000'000;
    int runs = 5;
    std::string folder = (fs::temp_directory_path() / "vantrep-bench").string();
    int childQuery = -1;  // the hidden child mode
    std::string childTable;
};

bool parseNumber(std::string_view text, uint64_t& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; i += 2) {
        std::string_view key = argv[i];
        if (i + 1 >= argc) return false;
        std::string_view value = argv[i + 1];
        uint64_t number = 0;
        if (key == "--rows" && parseNumber(value, number) && number > 0) options.rows = number;
        else if (key == "--runs" && parseNumber(value, number) && number > 0 && number < 1000)
            options.runs = static_cast<int>(number);
        else if (key == "--dir") options.folder = value;
        else if (key == "--child" && parseNumber(value, number) && number < queries.size())
            options.childQuery = static_cast<int>(number);
        else if (key == "--table") options.childTable = value;
        else return false;
    }
    return true;
}

int runBenchmark(const Options& options) {
#ifndef NDEBUG
    std::printf("warning: built without NDEBUG (not a Release build); the figures mean little\n");
#endif
    fs::create_directories(options.folder);
    std::string folder = fs::canonical(options.folder).string();
    std::string table = prepareTable(folder, options.rows);
    double fileMb = mb(static_cast<double>(fs::file_size(folder + "/" + table)));
    double memoryLimitMb = fileMb + memoryAllowanceMb;
    std::printf("        %llu records, %.1f MB\n", static_cast<unsigned long long>(options.rows), fileMb);
    std::printf("runs    %d per figure, median; times in ms; PASS/MISS compares the open time\n\n",
                options.runs);
    std::printf("%17s%-49s%s\n", "", "first run in a fresh process", "again on the same connection");
    std::printf("%-5s %9s  %9s %9s %7s %-4s %9s %-4s  %9s %9s %7s\n", "query", "rows", "open ms", "read ms",
                "target", "", "peak MB", "", "open ms", "read ms", "target");
    Connection connection;
    connection.Open(connectionString(folder));
    double childPeakMb = 0;
    for (size_t q = 0; q < queries.size(); ++q) {
        const Query& query = queries[q];
        std::vector<double> firstOpen, firstRead;
        double peakMb = 0;
        int64_t rows = 0;
        for (int run = 0; run < options.runs; ++run) {
            Timing t = spawnChild(static_cast<int>(q), folder, table);
            firstOpen.push_back(t.openMs);
            firstRead.push_back(t.readMs);
            peakMb = std::max(peakMb, t.peakMb);
            rows = t.rows;
        }
        childPeakMb = std::max(childPeakMb, peakMb);

        std::vector<double> againOpen, againRead;
        std::string sql = statementFor(query, table);
        for (int run = 0; run <= options.runs; ++run) {
            Timing t = runQuery(connection, sql, Clock::now());
            if (run == 0) continue;  // the first run fills the connection's cache
            againOpen.push_back(t.openMs);
            againRead.push_back(t.readMs);
        }

        double first = median(firstOpen), again = median(againOpen);
        std::printf("%-5s %9lld  %9.1f %9.1f %7s %-4s %9.1f %-4s  %9.1f %9.1f %7s %-4s\n", query.name,
                    static_cast<long long>(rows), first, median(firstRead),
                    targetText(query.firstTargetMs).c_str(),
                    verdict(first, query.firstTargetMs), peakMb, verdict(peakMb, memoryLimitMb), again,
                    median(againRead), targetText(query.againTargetMs).c_str(),
                    query.againTargetMs > 0 ? verdict(again, query.againTargetMs) : "");
        std::fflush(stdout);
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    double mainPeakMb = usage.ru_maxrss / 1024.0;
    std::printf("\nmemory  peak resident: children %.1f MB %s, this process (all queries on one connection) "
                "%.1f MB %s; limit %.1f MB (file + %.0f MB)\n",
                childPeakMb, verdict(childPeakMb, memoryLimitMb), mainPeakMb, verdict(mainPeakMb, memoryLimitMb),
                memoryLimitMb, memoryAllowanceMb);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: bench_engine [--rows N] [--runs K] [--dir D]\n");
        return 2;
    }
    try {
        if (options.childQuery >= 0) return runChild(options.childQuery, options.folder, options.childTable);
        return runBenchmark(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_engine: %s\n", e.what());
        return 1;
    }
}
