#include "engine/exec/TableCache.h"

namespace vantrep::engine::exec {

std::shared_ptr<CachedTable> TableCache::get(const std::string& path) {
    auto found = tables_.find(path);
    if (found != tables_.end() && found->second->table().stamp() == dbf::stampOf(path)) return found->second;
    auto table = std::make_shared<CachedTable>(dbf::DbfTable::open(path));
    tables_[path] = table;
    return table;
}

}  // namespace vantrep::engine::exec
