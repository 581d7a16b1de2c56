#include "engine/support/TempDir.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vantrep::tests {

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "TempDir: %s\n", what.c_str());
    std::abort();
}

}  // namespace

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vantrep-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) fail("cannot create a folder from " + pattern);
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(std::string_view name) const { return path_ + "/" + std::string(name); }

void TempDir::write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) fail("cannot write " + file(name));
}

std::string TempDir::read(std::string_view name) const {
    std::ifstream in(file(name), std::ios::binary);
    if (!in) fail("cannot read " + file(name));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void TempDir::patch(std::string_view name, uint64_t offset, std::string_view bytes) const {
    std::fstream io(file(name), std::ios::binary | std::ios::in | std::ios::out);
    io.seekp(static_cast<std::streamoff>(offset));
    io.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!io) fail("cannot patch " + file(name));
}

void TempDir::truncate(std::string_view name, uint64_t size) const {
    std::error_code error;
    std::filesystem::resize_file(file(name), size, error);
    if (error) fail("cannot truncate " + file(name) + ": " + error.message());
}

}  // namespace vantrep::tests
