#include "color/CopyTexts.h"

#include <gtest/gtest.h>

namespace
{

const CopyBoxTexts blueish{"10,0,255", "#0A00FF", "0A", "00", "FF"};

TEST(CopyTexts, EveryFormOfOneColorByteForByte)
{
    const char* const expected[copyFormCount] = {
        "RGB(10,0,255)", "10,0,255",       "#0A00FF",     "\"#0A00FF\"", "0A00FF",
        "\"0A00FF\"",    "Hex={0A,00,FF}", "&H00FF000A&", "$00FF000A",   "0xFF000A"};
    for (int i = 0; i < copyFormCount; ++i)
        EXPECT_EQ(CopyText(static_cast<CopyForm>(i), blueish), expected[i]) << i;
}

TEST(CopyTexts, CaptionsCarryTheLanguageLabelOfTheLastThree)
{
    EXPECT_EQ(CopyCaption(CopyForm::Hex5, blueish), "Hex={0A,00,FF}");
    EXPECT_EQ(CopyCaption(CopyForm::VB, blueish), "VB:&H00FF000A&");
    EXPECT_EQ(CopyCaption(CopyForm::Delphi, blueish), "Delphi:$00FF000A");
    EXPECT_EQ(CopyCaption(CopyForm::Cplus, blueish), "C++:0xFF000A");
}

TEST(CopyTexts, PendingEditsAreCopiedAsTheyStandWithoutReadingPastShortTexts)
{
    const CopyBoxTexts pending{"1,", "#A", "a", "", "F"};
    EXPECT_EQ(CopyText(CopyForm::Dec1, pending), "RGB(1,)");
    EXPECT_EQ(CopyText(CopyForm::Hex4, pending), "\"A\"");
    EXPECT_EQ(CopyText(CopyForm::Hex5, pending), "Hex={A,,}");
    EXPECT_EQ(CopyText(CopyForm::VB, pending), "&H00Fa&");
    EXPECT_EQ(CopyText(CopyForm::Hex3, CopyBoxTexts{}), "");
}

} // namespace
