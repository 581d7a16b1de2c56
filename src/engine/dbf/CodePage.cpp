#include "engine/dbf/CodePage.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "engine/EngineError.h"
#include "engine/dbf/CodePageTables.h"

namespace vantrep::engine::dbf {

namespace {

struct MarkEntry {
    uint8_t mark;
    int codePage;
};

// The first entry for a code page is the mark the writer uses for it.
constexpr MarkEntry marks[] = {
    {0x03, 1252}, {0x01, 437},  {0x02, 850},  {0x04, 10000}, {0x57, 1252}, {0x58, 1252},
    {0x59, 1252}, {0x64, 852},  {0x65, 866},  {0x66, 865},   {0x67, 861},  {0x6A, 737},
    {0x6B, 857},  {0x7C, 874},  {0x7D, 1255}, {0x7E, 1256},  {0xC8, 1250}, {0xC9, 1251},
    {0xCA, 1254}, {0xCB, 1253},
};

const CodePageTable* findTable(int codePage) {
    for (const CodePageTable& table : codePageTables())
        if (table.codePage == codePage) return &table;
    return nullptr;
}

const CodePageTable& tableOrDefault(int codePage) {
    const CodePageTable* table = findTable(codePage);
    return table ? *table : *findTable(defaultCodePage);
}

// Code point -> byte for the upper half of one code page, sorted by code point.
using ReverseTable = std::vector<std::pair<uint32_t, uint8_t>>;

const ReverseTable& reverseTable(const CodePageTable& table) {
    static const std::vector<ReverseTable> all = [] {
        std::vector<ReverseTable> result;
        for (const CodePageTable& t : codePageTables()) {
            ReverseTable reverse;
            for (int b = 0x80; b < 0x100; ++b)
                if (t.codePoints[b] != 0xFFFD) reverse.emplace_back(t.codePoints[b], static_cast<uint8_t>(b));
            std::sort(reverse.begin(), reverse.end());
            result.push_back(std::move(reverse));
        }
        return result;
    }();
    return all[static_cast<size_t>(&table - codePageTables().data())];
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Reads one UTF-8 sequence at `pos`; returns false for a malformed one.
bool nextCodePoint(std::string_view text, size_t& pos, uint32_t& cp) {
    auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    uint8_t lead = byte(pos);
    int extra;
    if (lead < 0x80) { cp = lead; extra = 0; }
    else if (lead >= 0xC2 && lead < 0xE0) { cp = lead & 0x1F; extra = 1; }
    else if (lead >= 0xE0 && lead < 0xF0) { cp = lead & 0x0F; extra = 2; }
    else if (lead >= 0xF0 && lead < 0xF5) { cp = lead & 0x07; extra = 3; }
    else return false;
    if (pos + 1 + extra > text.size()) return false;
    for (int i = 1; i <= extra; ++i) {
        uint8_t b = byte(pos + i);
        if ((b & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (b & 0x3F);
    }
    static const uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < smallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    pos += 1 + extra;
    return true;
}

std::string codePointName(uint32_t cp) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", cp);
    return buffer;
}

}  // namespace

int codePageFromMark(uint8_t mark) {
    for (const MarkEntry& entry : marks)
        if (entry.mark == mark) return entry.codePage;
    return defaultCodePage;
}

uint8_t markFromCodePage(int codePage) {
    for (const MarkEntry& entry : marks)
        if (entry.codePage == codePage) return entry.mark;
    return 0;
}

bool isSupportedCodePage(int codePage) { return findTable(codePage) != nullptr; }

std::string decodeCodePage(std::string_view bytes, int codePage) {
    const CodePageTable& table = tableOrDefault(codePage);
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        uint8_t b = static_cast<uint8_t>(c);
        if (b < 0x80) out += c;
        else appendUtf8(out, table.codePoints[b]);
    }
    return out;
}

std::string encodeCodePage(std::string_view utf8, int codePage, const std::string& where) {
    const CodePageTable& table = tableOrDefault(codePage);
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        if (static_cast<uint8_t>(utf8[pos]) < 0x80) {
            out += utf8[pos++];
            continue;
        }
        size_t start = pos;
        uint32_t cp = 0;
        if (!nextCodePoint(utf8, pos, cp))
            throw EngineError(errDataTypeMismatch,
                              "The text for " + where + " is not valid UTF-8 (byte " + std::to_string(start + 1) + ").");
        const ReverseTable& reverse = reverseTable(table);
        auto it = std::lower_bound(reverse.begin(), reverse.end(), std::make_pair(cp, uint8_t(0)));
        if (it == reverse.end() || it->first != cp)
            throw EngineError(errDataTypeMismatch, "The character \"" + std::string(utf8.substr(start, pos - start)) +
                                                       "\" (" + codePointName(cp) + ") for " + where +
                                                       " does not exist in code page " +
                                                       std::to_string(table.codePage) + ".");
        out += static_cast<char>(it->second);
    }
    return out;
}

}  // namespace vantrep::engine::dbf
