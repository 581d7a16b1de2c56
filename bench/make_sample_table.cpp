// make_sample_table OUTDIR [ROWS] [SEED]: writes the generated advertising
// table as OUTDIR/DATA.DBF (by default the shipped sample's rows and seed).
// The header's last-update date is set to the last day of the data, so that
// the same arguments give the same file byte for byte on any day.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "AdTableGenerator.h"
#include "engine/EngineError.h"

namespace {

bool parseCount(std::string_view text, uint64_t& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Bytes 1-3 of a Visual FoxPro header: year modulo 100, month, day.
void setLastUpdate(const std::string& path, int year, int month, int day) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    const char date[3] = {static_cast<char>(year % 100), static_cast<char>(month), static_cast<char>(day)};
    file.seekp(1);
    file.write(date, sizeof date);
    if (!file) throw std::runtime_error("Cannot set the date in the header of " + path + ".");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vantrep::bench;
    uint64_t rows = sampleRows, seed = sampleSeed;
    if (argc < 2 || argc > 4 || (argc > 2 && !parseCount(argv[2], rows)) ||
        (argc > 3 && !parseCount(argv[3], seed))) {
        std::fprintf(stderr, "usage: make_sample_table OUTDIR [ROWS] [SEED]\n");
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        std::string path = (std::filesystem::path(argv[1]) / "DATA.DBF").string();
        writeAdTable(path, rows, seed);
        setLastUpdate(path, adLastYear, 12, 31);
        std::printf("%s: %llu records, seed %llu\n", path.c_str(), static_cast<unsigned long long>(rows),
                    static_cast<unsigned long long>(seed));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
