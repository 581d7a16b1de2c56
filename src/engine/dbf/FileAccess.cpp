#include "engine/dbf/FileAccess.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/EngineError.h"

namespace vantrep::engine::dbf {

namespace {

FileStamp stampFrom(const struct stat& st) {
    FileStamp stamp;
    stamp.device = static_cast<uint64_t>(st.st_dev);
    stamp.inode = static_cast<uint64_t>(st.st_ino);
    stamp.size = static_cast<uint64_t>(st.st_size);
    stamp.modifiedNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

std::string systemReason() { return std::strerror(errno); }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

// Folder part (with its trailing '/', or empty) and the name without its extension.
void splitPath(const std::string& path, std::string& folder, std::string& stem) {
    size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    stem = dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

FileStamp stampOf(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return FileStamp{};
    return stampFrom(st);
}

Mapping mapFile(const std::string& path) {
    Mapping m;
    m.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m.fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw EngineError(errFileNotFound, "File \"" + path + "\" does not exist.");
        throw EngineError(errIo, "Cannot open \"" + path + "\": " + systemReason() + ".");
    }
    struct stat st;
    if (::fstat(m.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(m.fd);
        throw EngineError(errIo, "Cannot read \"" + path + "\": it is not a regular file.");
    }
    m.stamp = stampFrom(st);
    m.size = static_cast<size_t>(st.st_size);
    if (m.size == 0) return m;
    void* data = ::mmap(nullptr, m.size, PROT_READ, MAP_SHARED, m.fd, 0);
    if (data == MAP_FAILED) {
        std::string reason = systemReason();
        ::close(m.fd);
        throw EngineError(errIo, "Cannot map \"" + path + "\" into memory: " + reason + ".");
    }
    m.data = static_cast<const uint8_t*>(data);
    return m;
}

void releasePages(const Mapping& mapping) {
    // The mapping is read-only and shared: its pages hold nothing the file
    // does not, so dropping them loses nothing.
    if (mapping.data) ::madvise(const_cast<uint8_t*>(mapping.data), mapping.size, MADV_DONTNEED);
}

void unmapFile(const Mapping& mapping) {
    if (mapping.data) ::munmap(const_cast<uint8_t*>(mapping.data), mapping.size);
    if (mapping.fd >= 0) ::close(mapping.fd);
}

std::string findBeside(const std::string& path, std::string_view extension) {
    std::string folder, stem;
    splitPath(path, folder, stem);
    std::string exact = folder + stem + std::string(extension);
    struct stat st;
    if (::stat(exact.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return exact;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return "";
    std::string wanted = stem + std::string(extension);
    std::string found;
    while (struct dirent* entry = ::readdir(dir)) {
        if (!equalIgnoringCase(entry->d_name, wanted)) continue;
        std::string candidate = folder + entry->d_name;
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            found = candidate;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

std::string replaceExtension(const std::string& path, std::string_view extension) {
    std::string folder, stem;
    splitPath(path, folder, stem);
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    bool upper = false;
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        for (size_t i = dot + 1; i < path.size(); ++i)
            if (path[i] >= 'A' && path[i] <= 'Z') upper = true;
    }
    std::string result = folder + stem;
    for (char c : extension) result += upper && c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    return result;
}

int openForWriting(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw EngineError(errFileNotFound, "File \"" + path + "\" does not exist.");
        throw EngineError(errIo, "Cannot open \"" + path + "\": " + systemReason() + ".");
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        throw EngineError(errReadOnly, "File \"" + path + "\" is read-only.");
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES || errno == EROFS || errno == EPERM)
            throw EngineError(errReadOnly, "File \"" + path + "\" is read-only: " + systemReason() + ".");
        throw EngineError(errIo, "Cannot open \"" + path + "\" for writing: " + systemReason() + ".");
    }
    return fd;
}

void closeFile(int fd) {
    if (fd >= 0) ::close(fd);
}

void replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string temporary = path + ".tmp" + std::to_string(::getpid());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw EngineError(errIo, "Cannot create \"" + path + "\": " + systemReason() + ".");
    try {
        writeAt(fd, bytes.data(), bytes.size(), 0, path);
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    ::close(fd);
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        std::string reason = systemReason();
        ::unlink(temporary.c_str());
        throw EngineError(errIo, "Cannot create \"" + path + "\": " + reason + ".");
    }
}

void readAt(int fd, void* buffer, size_t size, uint64_t offset, const std::string& path) {
    auto* p = static_cast<char*>(buffer);
    while (size > 0) {
        ssize_t n = ::pread(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            throw EngineError(errIo, "Cannot read \"" + path + "\" at byte " + std::to_string(offset) + ": " +
                                         (n == 0 ? std::string("unexpected end of file") : systemReason()) + ".");
        p += n;
        size -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
}

void writeAt(int fd, const void* buffer, size_t size, uint64_t offset, const std::string& path) {
    const auto* p = static_cast<const char*>(buffer);
    while (size > 0) {
        ssize_t n = ::pwrite(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            throw EngineError(errIo, "Cannot write \"" + path + "\" at byte " + std::to_string(offset) + ": " +
                                         systemReason() + ".");
        p += n;
        size -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
}

uint64_t fileSize(int fd, const std::string& path) {
    struct stat st;
    if (::fstat(fd, &st) != 0)
        throw EngineError(errIo, "Cannot read the size of \"" + path + "\": " + systemReason() + ".");
    return static_cast<uint64_t>(st.st_size);
}

void writeLe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void writeLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void writeBe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

void writeBe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

}  // namespace vantrep::engine::dbf
