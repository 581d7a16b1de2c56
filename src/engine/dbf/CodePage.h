// Code pages of dBASE / Visual FoxPro tables: the code page mark in byte 29 of
// the header, and the translation of single-byte code-page text to UTF-8 and
// back. Bytes 0x00-0x7F are ASCII in every supported code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrep::engine::dbf {

constexpr int defaultCodePage = 1252;

// The code page a mark stands for; 0 (no mark) and unknown marks give 1252.
int codePageFromMark(uint8_t mark);
// The mark that stands for a code page, or 0 when the code page has none.
uint8_t markFromCodePage(int codePage);
// True when bytes of the code page can be translated (a table exists for it).
bool isSupportedCodePage(int codePage);

// Code-page bytes to UTF-8. Bytes the code page leaves undefined become U+FFFD.
// An unsupported code page is read as 1252.
std::string decodeCodePage(std::string_view bytes, int codePage);

// UTF-8 to code-page bytes. Throws EngineError (errDataTypeMismatch) for text
// that is not UTF-8 or holds a character the code page lacks; `where` names
// the table or field the text is meant for.
std::string encodeCodePage(std::string_view utf8, int codePage, const std::string& where);

}  // namespace vantrep::engine::dbf
