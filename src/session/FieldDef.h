// The field dictionary: one FieldDef per field of the report's structure
// file. `aDims` lists every report field in structure-file order and `aVars`
// the numeric variables in level order; both are 1-based in the program's
// terms, so index 0 of these vectors is never used and stays default.
#pragma once

#include <QString>
#include <vector>

namespace vantrep::session {

struct FieldDef {
    QString FDesc;          // trimmed caption
    QString FName;          // trimmed, upper-cased field name
    QString FType;          // upper-cased type letter ("N", "C", "D", "L"); empty in aVars
    int FLen = 0;
    int FDec = 0;           // decimals; for a level-1 column dimension its column group
    QString Layout;         // aDims: role code "R", "C", "P", "N" (upper-cased, untrimmed);
                            // aVars: the display format of the variable's numbers
    int Level = 0;          // position within the role; 0 = not placed
    bool ShowTotal = false;
    bool Displayed = false;
    bool ShowOthers = false;  // the filter dialog's "Show Others" choice
    int Divisor = 0;        // aVars: display divisor; detailed aDims: column order key
};

// 1-based list: element 0 is a placeholder, elements 1..size()-1 are the fields.
class FieldList {
public:
    FieldList() : items_(1) {}
    int upperBound() const { return static_cast<int>(items_.size()) - 1; }  // 0 when empty
    bool empty() const { return items_.size() == 1; }
    FieldDef& operator()(int i) { return items_.at(static_cast<size_t>(i)); }
    const FieldDef& operator()(int i) const { return items_.at(static_cast<size_t>(i)); }
    void append(FieldDef field) { items_.push_back(std::move(field)); }
    void clear() { items_.assign(1, FieldDef()); }

private:
    std::vector<FieldDef> items_;
};

}  // namespace vantrep::session
