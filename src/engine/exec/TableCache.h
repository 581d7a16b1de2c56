// The tables a connection has opened, each with its decoded columns, reused
// for as long as the file on disk is unchanged.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "engine/exec/CachedTable.h"

namespace vantrep::engine::exec {

class TableCache {
public:
    // The table at `path`, opened anew when it was never opened or when its
    // file changed (size, modification time, inode) since. Throws EngineError.
    std::shared_ptr<CachedTable> get(const std::string& path);
    // Forgets the table at `path` (after the engine wrote to it).
    void invalidate(const std::string& path) { tables_.erase(path); }
    void clear() { tables_.clear(); }
    // CachedTable::releaseMemory of every table.
    void releaseMemory() {
        for (auto& entry : tables_) entry.second->releaseMemory();
    }

private:
    std::map<std::string, std::shared_ptr<CachedTable>> tables_;
};

}  // namespace vantrep::engine::exec
