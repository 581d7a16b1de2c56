// A temporary folder for one test, removed with everything in it when the
// object goes away, with small helpers to read, write and damage files in it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrep::tests {

class TempDir {
public:
    TempDir();  // a new, empty folder under $TMPDIR (or /tmp)
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const;  // path of `name` inside the folder

    // Whole-file access; `name` is relative to the folder. Failures end the test
    // program with a message, as they mean the machine, not the code, is broken.
    void write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;
    // Overwrites bytes at `offset`, or cuts the file to `size` bytes.
    void patch(std::string_view name, uint64_t offset, std::string_view bytes) const;
    void truncate(std::string_view name, uint64_t size) const;

private:
    std::string path_;
};

}  // namespace vantrep::tests
