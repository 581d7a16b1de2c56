// Finding fields of the dictionary by caption and by name.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "session/FieldLookup.h"

namespace vantrep::session {
namespace {

FieldList threeFields() {
    FieldList fields;
    for (const auto& [desc, name] : {std::pair{"Media", "MEDIA"}, {"Month", "MONTH"}, {"Spend (EUR)", "SPEND"}}) {
        FieldDef field;
        field.FDesc = desc;
        field.FName = name;
        fields.append(field);
    }
    return fields;
}

// Captions and names match without regard to case, but whole: the first of
// two equal ones wins, and an absent one gives 0.
TEST(FieldLookup, FindsTheFirstWholeMatchInAnyCase) {
    FieldList fields = threeFields();
    FieldDef twin;
    twin.FDesc = "MEDIA";
    twin.FName = "weekday";
    fields.append(twin);
    const std::vector<std::pair<const char*, int>> byDesc = {
        {"Media", 1}, {"MONTH", 2}, {"spend (eur)", 3}, {"media", 1}, {"Spend", 0}, {"Media ", 0}, {"", 0}};
    for (const auto& [desc, index] : byDesc) EXPECT_EQ(FindFieldByDesc(fields, desc), index) << desc;
    const std::vector<std::pair<const char*, int>> byName = {
        {"MEDIA", 1}, {"month", 2}, {"Spend", 3}, {"WeekDay", 4}, {"Media (EUR)", 0}, {"MEDI", 0}, {"", 0}};
    for (const auto& [name, index] : byName) EXPECT_EQ(FindFieldByName(fields, name), index) << name;
    EXPECT_EQ(FindFieldByDesc(FieldList(), "Media"), 0);
    EXPECT_EQ(FindFieldByName(FieldList(), "MEDIA"), 0);
}

}  // namespace
}  // namespace vantrep::session
