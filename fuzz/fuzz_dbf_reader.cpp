// libFuzzer target for the table reader. The input is a table file, optionally
// followed by the separator "@@MEMO@@" and the bytes of its memo file (written
// as both .fpt and .dbt). Every value and memo of every record is read; a
// damaged table may only end in an EngineError.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/EngineError.h"
#include "engine/dbf/DbfTable.h"

using namespace vantrep::engine;
using namespace vantrep::engine::dbf;

namespace {

constexpr std::string_view memoSeparator = "@@MEMO@@";

std::string workFolder() {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/fuzz-dbf-XXXXXX";
    if (!mkdtemp(pattern.data())) abort();
    return pattern;
}

void writeFile(const std::string& path, std::string_view bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) abort();
    std::fclose(f);
}

void readEverything(const DbfTable& table) {
    for (uint32_t r = 0; r < table.recordCount(); ++r) {
        table.isDeleted(r);
        for (int f = 0; f < static_cast<int>(table.fields().size()); ++f) {
            const DbfField& field = table.fields()[f];
            std::string_view raw = table.rawBytes(r, f);
            table.isNull(r, f);
            if (field.type == 'N' || field.type == 'F') {
                int64_t units;
                bool blank;
                parseNumericField(raw.data(), raw.size(), field.decimals, units, blank);
            }
            try {
                Value v = table.value(r, f);
                if (v.kind() == ValueKind::String) table.decode(v.asString());
                v.toText();
            } catch (const EngineError&) {
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = workFolder();
    static const std::string tablePath = folder + "/t.dbf";
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find(memoSeparator);
    writeFile(tablePath, input.substr(0, split));
    if (split == std::string_view::npos) {
        unlink((folder + "/t.fpt").c_str());
        unlink((folder + "/t.dbt").c_str());
    } else {
        std::string_view memo = input.substr(split + memoSeparator.size());
        writeFile(folder + "/t.fpt", memo);
        writeFile(folder + "/t.dbt", memo);
    }
    try {
        auto table = DbfTable::open(tablePath);
        readEverything(*table);
    } catch (const EngineError&) {
    }
    return 0;
}
