// Tests of the integer and floating text conversions and their error texts.
#include <gtest/gtest.h>

#include "gameplay/NumberText.h"

namespace {

int32_t Int(const char* text) {
    int32_t v = -7;
    std::string error;
    EXPECT_TRUE(ParseInt32(text, v, error)) << text;
    return v;
}

std::string IntError(const char* text) {
    int32_t v = 0;
    std::string error;
    EXPECT_FALSE(ParseInt32(text, v, error)) << text;
    return error;
}

float Float(const char* text) {
    float v = -7;
    std::string error;
    EXPECT_TRUE(ParseFloat(text, v, error)) << text;
    return v;
}

std::string FloatError(const char* text) {
    float v = 0;
    std::string error;
    EXPECT_FALSE(ParseFloat(text, v, error)) << text;
    return error;
}

TEST(NumberText, IntegerStopsAtFirstOtherCharacter) {
    EXPECT_EQ(Int("150 beats"), 150);
    EXPECT_EQ(Int(" \t+12abc"), 12);
    EXPECT_EQ(Int("-2147483648"), INT32_MIN);
    EXPECT_EQ(Int("2147483647"), INT32_MAX);
    EXPECT_EQ(Int("0000000000000000000042"), 42);
    EXPECT_EQ(Int("1.9"), 1);
}

TEST(NumberText, IntegerFailures) {
    EXPECT_EQ(IntError(""), "invalid stoi argument");
    EXPECT_EQ(IntError("+"), "invalid stoi argument");
    EXPECT_EQ(IntError("- 5"), "invalid stoi argument");
    EXPECT_EQ(IntError("x1"), "invalid stoi argument");
    EXPECT_EQ(IntError("2147483648"), "stoi argument out of range");
    EXPECT_EQ(IntError("-2147483649"), "stoi argument out of range");
    EXPECT_EQ(IntError("99999999999999999999999"), "stoi argument out of range");
}

TEST(NumberText, FloatForms) {
    EXPECT_EQ(Float("2.5"), 2.5f);
    EXPECT_EQ(Float(" .5"), 0.5f);
    EXPECT_EQ(Float("5."), 5.0f);
    EXPECT_EQ(Float("-0.25xyz"), -0.25f);
    EXPECT_EQ(Float("1e"), 1.0f);
    EXPECT_EQ(Float("1e+2x"), 100.0f);
    EXPECT_EQ(Float("7.3"), 7.3f);  // correctly rounded
    EXPECT_EQ(Float("3.4028235e38"), 3.4028235e38f);
}

TEST(NumberText, FloatFailures) {
    EXPECT_EQ(FloatError(""), "invalid stof argument");
    EXPECT_EQ(FloatError("."), "invalid stof argument");
    EXPECT_EQ(FloatError("inf"), "invalid stof argument");
    EXPECT_EQ(FloatError("e5"), "invalid stof argument");
    EXPECT_EQ(FloatError("1e39"), "stof argument out of range");
    EXPECT_EQ(FloatError("-1e39"), "stof argument out of range");
    EXPECT_EQ(FloatError("1e-40"), "stof argument out of range");
    EXPECT_EQ(Float("0e-99"), 0.0f);
}

}  // namespace
