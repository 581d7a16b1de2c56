// Finding fields of the dictionary by caption and by name.
#include <gtest/gtest.h>

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

TEST(FindFieldByDesc, MatchesCaptionsWithoutRegardToCase) {
    const FieldList fields = threeFields();
    EXPECT_EQ(FindFieldByDesc(fields, "Media"), 1);
    EXPECT_EQ(FindFieldByDesc(fields, "MONTH"), 2);
    EXPECT_EQ(FindFieldByDesc(fields, "spend (eur)"), 3);
}

TEST(FindFieldByDesc, AbsentCaptionGivesZero) {
    const FieldList fields = threeFields();
    EXPECT_EQ(FindFieldByDesc(fields, "Spend"), 0);
    EXPECT_EQ(FindFieldByDesc(fields, "Media "), 0);
    EXPECT_EQ(FindFieldByDesc(fields, ""), 0);
    EXPECT_EQ(FindFieldByDesc(FieldList(), "Media"), 0);
}

TEST(FindFieldByDesc, FirstOfTwoEqualCaptionsWins) {
    FieldList fields = threeFields();
    FieldDef twin;
    twin.FDesc = "MEDIA";
    twin.FName = "MEDIA2";
    fields.append(twin);
    EXPECT_EQ(FindFieldByDesc(fields, "media"), 1);
}

TEST(FindFieldByName, MatchesNamesInAnyCase) {
    const FieldList fields = threeFields();
    EXPECT_EQ(FindFieldByName(fields, "MEDIA"), 1);
    EXPECT_EQ(FindFieldByName(fields, "month"), 2);
    EXPECT_EQ(FindFieldByName(fields, "Spend"), 3);
    // A name stored in lower case is still found.
    FieldList lower;
    FieldDef field;
    field.FName = "weekday";
    lower.append(field);
    EXPECT_EQ(FindFieldByName(lower, "WeekDay"), 1);
}

TEST(FindFieldByName, AbsentNameGivesZero) {
    const FieldList fields = threeFields();
    EXPECT_EQ(FindFieldByName(fields, "Media (EUR)"), 0);
    EXPECT_EQ(FindFieldByName(fields, "MEDI"), 0);
    EXPECT_EQ(FindFieldByName(fields, ""), 0);
    EXPECT_EQ(FindFieldByName(FieldList(), "MEDIA"), 0);
}

}  // namespace
}  // namespace vantrep::session
