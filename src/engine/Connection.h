// The data connection: a folder of free tables, opened with the connection
// string the program builds ("...;SourceDB=<folder>/;SourceType=DBF;...").
//
// A connection keeps what it decoded of each table (dictionary-coded columns,
// parsed numbers) so that running a statement again is cheap. Any write through
// the engine, or a change of the file on disk, drops that table's cache.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantrep::engine {

namespace exec { class TableCache; class QueryResult; }

enum ObjectState { adStateClosed = 0, adStateOpen = 1 };

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    std::string ConnectionString;
    // Settings the engine does not read: they hold the values a client of the
    // data engine expects to find (every query result is complete before its
    // first row is read, wherever the cursor is said to be).
    int CursorLocation = 3;  // adUseClient
    int Mode = 3;            // adModeReadWrite

    // Opens with `connectionString`, or ConnectionString when empty. Keys are
    // matched without regard to case: SourceDB (required, a folder), SourceType
    // (DBF only), Exclusive, BackgroundFetch, Collate (Machine only).
    // Throws EngineError(errConnection) for a missing folder or bad keys.
    void Open(const std::string& connectionString = "", const std::string& user = "",
              const std::string& password = "", int options = -1);
    void Close();
    int State() const { return open_ ? adStateOpen : adStateClosed; }

    // Runs a statement that returns no rows (UPDATE) and returns the number of
    // records it changed. A SELECT runs and returns -1.
    int64_t Execute(const std::string& statement);

    // The folder of SourceDB, ending in "/".
    const std::string& folder() const { return folder_; }

    // Decodes fields of `table` ahead of the statements that will read them,
    // in one pass over the records on all cores: `keyFields` as value lists
    // (what DISTINCT, GROUP BY, ORDER BY and filters read), `sumFields` as
    // numbers (what SUM reads). Names the table does not have are passed
    // over, and a table that cannot be opened is left for the statements to
    // report.
    void prepareFields(const std::string& table, const std::vector<std::string>& keyFields,
                       const std::vector<std::string>& sumFields);

    // Runs a SELECT into a result (used by Recordset).
    std::shared_ptr<exec::QueryResult> query(const std::string& statement);
    // Resolves a table name as SQL writes it (a path, a file name, a name
    // without ".dbf"; any case) to the path of an existing file.
    std::string resolveTable(const std::string& name) const;
    // Drops what the connection keeps of the table at `path` (after a write).
    void invalidate(const std::string& path);
    // Hands back the memory the connection keeps to run statements fast:
    // the decoded columns of its tables go (a later statement decodes what
    // it needs again), the pages of the table files read so far leave memory,
    // and freed memory goes back to the system. Open results stay readable.
    // For a caller about to build something large from a result.
    void releaseMemory();

private:
    bool open_ = false;
    std::string folder_;
    std::unique_ptr<exec::TableCache> cache_;
};

}  // namespace vantrep::engine
