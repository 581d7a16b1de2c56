#include "engine/Connection.h"

#include <sys/stat.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <variant>

#include "engine/EngineError.h"
#include "engine/exec/Executor.h"
#include "engine/exec/TableCache.h"
#include "engine/sql/Parser.h"

namespace vantrep::engine {

namespace {

std::string trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// "Key=Value;Key=Value;" into upper-case keys and trimmed values.
std::map<std::string, std::string> parseConnectionString(const std::string& text) {
    std::map<std::string, std::string> keys;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        std::string part = text.substr(start, end - start);
        size_t eq = part.find('=');
        if (eq != std::string::npos) keys[upper(trimmed(part.substr(0, eq)))] = trimmed(part.substr(eq + 1));
        start = end + 1;
    }
    return keys;
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool sameIgnoringCase(const std::string& a, const std::string& b) { return upper(a) == upper(b); }

// A file in `folder` whose name equals `name` without regard to case ("" if none).
std::string findIgnoringCase(const std::string& folder, const std::string& name) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string candidate = entry.path().filename().string();
        if (sameIgnoringCase(candidate, name) && entry.is_regular_file(error)) return entry.path().string();
    }
    return "";
}

// A query on a large table allocates arrays of megabytes (codes, groups, sort
// keys) and frees them at its end. Left to its defaults, glibc hands such
// memory back to the system each time, and the next query pays a page fault
// for every 4 KB of it again: that tripled the time of a repeated cross-tab.
// Keeping freed memory in the process (up to what a query used) avoids it.
void keepWorkingMemory() {
#ifdef __GLIBC__
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, 256 << 20);
        mallopt(M_TRIM_THRESHOLD, 512 << 20);
        return true;
    }();
    (void)done;
#endif
}

}  // namespace

Connection::Connection() : cache_(std::make_unique<exec::TableCache>()) { keepWorkingMemory(); }
Connection::~Connection() = default;

void Connection::Open(const std::string& connectionString, const std::string&, const std::string&, int) {
    if (open_) throw EngineError(errConnection, "The connection is already open.");
    if (!connectionString.empty()) ConnectionString = connectionString;
    std::map<std::string, std::string> keys = parseConnectionString(ConnectionString);
    auto source = keys.find("SOURCEDB");
    if (source == keys.end() || source->second.empty())
        throw EngineError(errConnection, "The connection string names no folder (SourceDB).");
    auto type = keys.find("SOURCETYPE");
    if (type != keys.end() && upper(type->second) != "DBF")
        throw EngineError(errConnection, "Source type '" + type->second + "' is not supported; use DBF.");
    auto collate = keys.find("COLLATE");
    if (collate != keys.end() && upper(collate->second) != "MACHINE")
        throw EngineError(errConnection, "Collating sequence '" + collate->second + "' is not supported.");
    std::string folder = source->second;
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        throw EngineError(errConnection, "The folder '" + folder + "' does not exist.");
    if (folder.back() != '/') folder += '/';
    folder_ = folder;
    cache_->clear();
    open_ = true;
}

void Connection::Close() {
    open_ = false;
    cache_->clear();
}

std::string Connection::resolveTable(const std::string& written) const {
    std::string name = trimmed(written);
    std::filesystem::path path = !name.empty() && name[0] == '/' ? std::filesystem::path(name)
                                                                  : std::filesystem::path(folder_) / name;
    if (isRegularFile(path.string())) return path.string();
    std::string folder = path.parent_path().string();
    std::string file = path.filename().string();
    std::string found = findIgnoringCase(folder, file);
    if (found.empty() && file.find('.') == std::string::npos) found = findIgnoringCase(folder, file + ".dbf");
    if (found.empty()) throw EngineError(errFileNotFound, "File '" + name + "' does not exist.");
    return found;
}

void Connection::prepareFields(const std::string& table, const std::vector<std::string>& keyFields,
                               const std::vector<std::string>& sumFields) {
    if (!open_) return;
    std::shared_ptr<exec::CachedTable> cached;
    try {
        cached = cache_->get(resolveTable(table));
    } catch (const EngineError&) {
        return;
    }
    const dbf::DbfTable& t = cached->table();
    std::vector<int> keys, sums;
    for (const std::string& name : keyFields) {
        int field = t.fieldIndex(name);
        if (field >= 0 && exec::CachedTable::codable(t.fields()[static_cast<size_t>(field)])) keys.push_back(field);
    }
    for (const std::string& name : sumFields) {
        int field = t.fieldIndex(name);
        if (field >= 0) sums.push_back(field);
    }
    cached->prepare(keys, sums);
}

std::shared_ptr<exec::QueryResult> Connection::query(const std::string& statement) {
    if (!open_) throw EngineError(errConnection, "The connection is not open.");
    sql::Statement parsed = sql::parseStatement(statement);
    auto* select = std::get_if<sql::SelectStatement>(&parsed);
    if (!select) throw EngineError(errNotSupported, "Only a SELECT statement returns records.");
    std::string path = resolveTable(select->table.name);
    return exec::runSelect(*select, cache_->get(path));
}

int64_t Connection::Execute(const std::string& statement) {
    if (!open_) throw EngineError(errConnection, "The connection is not open.");
    sql::Statement parsed = sql::parseStatement(statement);
    if (auto* select = std::get_if<sql::SelectStatement>(&parsed)) {
        exec::runSelect(*select, cache_->get(resolveTable(select->table.name)));
        return -1;
    }
    auto& update = std::get<sql::UpdateStatement>(parsed);
    std::string path = resolveTable(update.table.name);
    std::shared_ptr<exec::CachedTable> table = cache_->get(path);
    int64_t changed = 0;
    try {
        changed = exec::runUpdate(update, *table, path);
    } catch (...) {
        cache_->invalidate(path);  // some records may already be written
        throw;
    }
    cache_->invalidate(path);
    return changed;
}

void Connection::invalidate(const std::string& path) { cache_->invalidate(path); }

void Connection::releaseMemory() {
    cache_->releaseMemory();
#ifdef __GLIBC__
    malloc_trim(0);  // what keepWorkingMemory keeps, and the columns just dropped
#endif
}

}  // namespace vantrep::engine
