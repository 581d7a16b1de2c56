// Code pages: the marks, and code-page bytes to UTF-8 and back, checked
// against known characters and against Python's own codecs.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/EngineError.h"
#include "engine/dbf/CodePage.h"
#include "engine/support/RunProgram.h"

using namespace vantrep::engine;
using namespace vantrep::engine::dbf;

namespace {

const int tableCodePages[] = {437, 850, 852, 866, 1250, 1251, 1252, 1253, 1254, 1255, 1256};

std::string allBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    return bytes;
}

std::string hex(const std::string& bytes) {
    std::string out;
    char buffer[3];
    for (char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02x", static_cast<unsigned char>(c));
        out += buffer;
    }
    return out;
}

}  // namespace

TEST(DbfCodePage, KnownCharactersOfEachCodePage) {
    struct Case {
        int codePage;
        const char* bytes;
        const char* utf8;
    };
    const Case cases[] = {
        {437, "\x81\x9B\xE1\xC9", "ü¢ß╔"},   {850, "\x82\xA5\x9D\xD1", "éÑØÐ"},
        {852, "\xA5\xE7\x9F\xAC", "ąščČ"},  {866, "\x80\xAF\xE0\xF1", "Апрё"},
        {1250, "\x8A\xB9\xF8\xE6", "Šąřć"},  {1251, "\xC0\xDF\xE0\xFF\xA8", "АЯаяЁ"},
        {1252, "\x80\xE9\x9F\xFF", "€éŸÿ"},  {1253, "\xC1\xD9\xE1\xF9", "ΑΩαω"},
        {1254, "\xD0\xDD\xFE\xF0", "Ğİşğ"},  {1255, "\xE0\xFA\xA4", "את₪"},
        {1256, "\xC7\xE1\xE5\x81", "الهپ"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeCodePage(c.bytes, c.codePage), c.utf8) << c.codePage;
        EXPECT_EQ(encodeCodePage(c.utf8, c.codePage, "test"), c.bytes) << c.codePage;
    }
    EXPECT_EQ(decodeCodePage("plain ASCII ~\x7F", 866), "plain ASCII ~\x7F");
    EXPECT_EQ(decodeCodePage("\x81", 1252), "\xEF\xBF\xBD");  // undefined in 1252
}

TEST(DbfCodePage, TablesAgreeWithPythonCodecs) {
    std::string script = R"(
import sys
for cp in sys.argv[1:]:
    out = []
    for b in range(256):
        try:
            out.append(bytes([b]).decode('cp' + cp))
        except UnicodeDecodeError:
            out.append('\ufffd')
    print(cp, ''.join(out).encode('utf-8').hex())
)";
    std::vector<std::string> args;
    for (int cp : tableCodePages) args.push_back(std::to_string(cp));
    vantrep::tests::ProgramResult python = vantrep::tests::runPython(script, args);
    ASSERT_EQ(python.exitStatus, 0) << python.err;
    std::string expected;
    for (int cp : tableCodePages) expected += std::to_string(cp) + " " + hex(decodeCodePage(allBytes(), cp)) + "\n";
    EXPECT_EQ(python.out, expected);
}

TEST(DbfCodePage, EveryDefinedByteRoundTrips) {
    for (int cp : tableCodePages) {
        for (int b = 0; b < 256; ++b) {
            std::string byte(1, static_cast<char>(b));
            std::string utf8 = decodeCodePage(byte, cp);
            if (utf8 == "\xEF\xBF\xBD") continue;
            EXPECT_EQ(encodeCodePage(utf8, cp, "test"), byte) << cp << " byte " << b;
        }
    }
}

TEST(DbfCodePage, EncodeRefusesWhatTheCodePageLacks) {
    struct Case {
        const char* text;
        int codePage;
        const char* mentions;
    };
    const Case cases[] = {
        {"abc Жук", 1252, "\"Ж\" (U+0416)"},
        {"€", 437, "U+20AC"},
        {"😀", 1251, "U+1F600"},
        {"ok \xC3", 1252, "not valid UTF-8 (byte 4)"},
        {"\xED\xA0\x80", 1252, "not valid UTF-8"},  // a surrogate
        {"\xC0\xAF", 1252, "not valid UTF-8"},      // an overlong form
        {"\xEF\xBF\xBD", 1252, "U+FFFD"},
    };
    for (const Case& c : cases) {
        try {
            encodeCodePage(c.text, c.codePage, "field NAME");
            ADD_FAILURE() << "encoded " << c.text;
        } catch (const EngineError& e) {
            EXPECT_EQ(e.number(), errDataTypeMismatch);
            EXPECT_NE(e.description().find(c.mentions), std::string::npos) << e.description();
            EXPECT_NE(e.description().find("field NAME"), std::string::npos) << e.description();
        }
    }
}

TEST(DbfCodePage, MarksAndCodePages) {
    EXPECT_EQ(markFromCodePage(1252), 0x03);
    EXPECT_EQ(markFromCodePage(437), 0x01);
    EXPECT_EQ(markFromCodePage(850), 0x02);
    EXPECT_EQ(markFromCodePage(1251), 0xC9);
    EXPECT_EQ(markFromCodePage(1256), 0x7E);
    EXPECT_EQ(markFromCodePage(932), 0);
    for (int cp : tableCodePages) {
        EXPECT_TRUE(isSupportedCodePage(cp)) << cp;
        EXPECT_EQ(codePageFromMark(markFromCodePage(cp)), cp) << cp;
    }
    EXPECT_EQ(codePageFromMark(0x00), 1252);
    EXPECT_EQ(codePageFromMark(0x7B), 1252);  // a double-byte code page: not read
    EXPECT_FALSE(isSupportedCodePage(932));
}
