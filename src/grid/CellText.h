// A view of one cell's text as a grid row keeps it: one byte per character
// when every character of the row has a byte in the one-byte form below, else
// UTF-16. Valid until the row changes. Reading code takes either form through
// this view, so that a row is never widened just to be read.
//
// The one-byte form is Windows-1252, the code page of the program's tables:
// bytes 0x80-0x9F stand for its typographic characters (the euro sign, the
// curved quotes and dashes, Š, Ž, Œ, ...), and the five it leaves unassigned
// for the control characters of their own numbers; every other byte is the
// character of its own number (Latin-1). So the texts of a table whose code
// page is 1252 take one byte per character, whatever letters they use.
#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace vantrep::grid {

namespace onebyte {

// The characters of bytes 0x80-0x9F.
inline constexpr char16_t high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline char16_t toChar(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : byte; }

// The byte of character `c`, or -1 when it has none.
inline int toByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    const char16_t* found = std::find(std::begin(high), std::end(high), c);
    return found == std::end(high) ? -1 : static_cast<int>(0x80 + (found - std::begin(high)));
}

}  // namespace onebyte

class CellText {
public:
    CellText() = default;
    CellText(QStringView text) : utf16_(text.utf16()), size_(text.size()) {}
    // `size` characters in the one-byte form.
    static CellText oneByte(const char* bytes, qsizetype size) {
        CellText text;
        text.bytes_ = bytes;
        text.size_ = size;
        return text;
    }

    bool isEmpty() const { return size_ == 0; }
    qsizetype size() const { return size_; }
    bool isOneByte() const { return bytes_ != nullptr; }
    // The characters of the form held; the other gives null.
    const char* bytes() const { return bytes_; }
    const char16_t* utf16() const { return isOneByte() ? nullptr : utf16_; }
    char16_t at(qsizetype i) const { return isOneByte() ? onebyte::toChar(uchar(bytes_[i])) : utf16_[i]; }

    // Copies the characters as UTF-16 to `out`, which has room for size().
    void copyTo(char16_t* out) const {
        if (isOneByte()) std::transform(bytes_, bytes_ + size_, out, [](char b) { return onebyte::toChar(uchar(b)); });
        else std::copy_n(utf16_, size_, out);
    }
    QString toString() const {
        if (size_ == 0) return QString();
        QString text(size_, Qt::Uninitialized);
        copyTo(reinterpret_cast<char16_t*>(text.data()));
        return text;
    }
    void appendTo(QString& out) const {
        const qsizetype at = out.size();
        out.resize(at + size_);
        copyTo(reinterpret_cast<char16_t*>(out.data()) + at);
    }

    friend bool operator==(const CellText& a, const CellText& b) {
        if (a.size_ != b.size_) return false;
        if (a.isOneByte() && b.isOneByte()) return std::equal(a.bytes_, a.bytes_ + a.size_, b.bytes_);
        if (!a.isOneByte() && !b.isOneByte()) return std::equal(a.utf16_, a.utf16_ + a.size_, b.utf16_);
        for (qsizetype i = 0; i < a.size_; ++i)
            if (a.at(i) != b.at(i)) return false;
        return true;
    }

private:
    const char16_t* utf16_ = nullptr;
    const char* bytes_ = nullptr;  // set for a text in the one-byte form
    qsizetype size_ = 0;
};

}  // namespace vantrep::grid
