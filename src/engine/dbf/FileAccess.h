// The operating-system side of table storage: read-only memory mappings,
// positioned reads and writes that report failures as EngineError, and
// finding a file beside another without regard to the case of its name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dbf/DbfTable.h"

namespace vantrep::engine::dbf {

// A whole file mapped read-only and shared, so that writes by others through
// the file are seen. `data` is null for an empty file.
struct Mapping {
    int fd = -1;
    const uint8_t* data = nullptr;
    size_t size = 0;
    FileStamp stamp;
};

// Throws EngineError: errFileNotFound when missing, errIo when it cannot be read.
Mapping mapFile(const std::string& path);
void unmapFile(const Mapping& mapping);  // unmaps and closes the descriptor
// Lets the pages of a mapping read so far leave the process's memory; a
// later read takes them from the file (or the system's cache of it) again.
void releasePages(const Mapping& mapping);

// A Mapping that is released with its owner.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) : mapping_(mapFile(path)) {}
    ~MappedFile() { unmapFile(mapping_); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const uint8_t* data() const { return mapping_.data; }
    size_t size() const { return mapping_.size; }
    int descriptor() const { return mapping_.fd; }

private:
    Mapping mapping_;
};

// The path of the file in the folder of `path` whose name is the stem of
// `path` followed by `extension` (".fpt"), matched without regard to case;
// empty when there is none. An exact match wins over others.
std::string findBeside(const std::string& path, std::string_view extension);

// `path` with its extension replaced by `extension`, in the case of the old
// extension ("DATA.DBF" + ".fpt" -> "DATA.FPT").
std::string replaceExtension(const std::string& path, std::string_view extension);

// Opens an existing file for reading and writing. Throws EngineError:
// errFileNotFound, errReadOnly when the file or its file system is read-only
// (also for the superuser), errIo otherwise.
int openForWriting(const std::string& path);
void closeFile(int fd);

// Writes `bytes` as the whole content of `path`, through a temporary file
// renamed into place, so that readers with the old file mapped keep it intact.
void replaceFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Positioned I/O of exactly `size` bytes; throws EngineError (errIo) naming `path`.
void readAt(int fd, void* buffer, size_t size, uint64_t offset, const std::string& path);
void writeAt(int fd, const void* buffer, size_t size, uint64_t offset, const std::string& path);
uint64_t fileSize(int fd, const std::string& path);

// Little- and big-endian integers in file bytes.
inline uint16_t readLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t readLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint32_t readBe32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
inline uint16_t readBe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
void writeLe16(uint8_t* p, uint16_t v);
void writeLe32(uint8_t* p, uint32_t v);
void writeBe16(uint8_t* p, uint16_t v);
void writeBe32(uint8_t* p, uint32_t v);

}  // namespace vantrep::engine::dbf
