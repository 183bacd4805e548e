#include "format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "interp.h"
#include "test_support.h"

namespace {

std::string general(double v, int digits) {
    char out[FORMAT_BUFFER_SIZE];
    const int n = format_general(v, digits, out);
    EXPECT_EQ(static_cast<size_t>(n), std::strlen(out));
    return out;
}

std::string panel(double v) {
    char out[FORMAT_BUFFER_SIZE];
    format_value(v, out);
    return out;
}

TEST(Format, PrintUsesFifteenDigits) {
    EXPECT_EQ(general(0, 15), "0");
    EXPECT_EQ(general(-0.0, 15), "0");
    EXPECT_EQ(general(0.1 + 0.2, 15), "0.3");
    EXPECT_EQ(general(1.0 / 3, 15), "0.333333333333333");
    EXPECT_EQ(general(-2.0 / 3, 15), "-0.666666666666667");
    EXPECT_EQ(general(123.5, 15), "123.5");
    EXPECT_EQ(general(0.0001, 15), "0.0001");
    EXPECT_EQ(general(0.00001, 15), "1E-5");
    EXPECT_EQ(general(0.000015, 15), "1.5E-5");
    EXPECT_EQ(general(1e15, 15), "1E15");
    EXPECT_EQ(general(999999999999999, 15), "999999999999999");
    EXPECT_EQ(general(1e20, 15), "1E20");
    EXPECT_EQ(general(-1.25e-100, 15), "-1.25E-100");
    EXPECT_EQ(general(1e308 * 1.7, 15), "1.7E308");
    EXPECT_EQ(general(4.9406564584124654e-324, 15), "4.94065645841247E-324");
    EXPECT_EQ(general(100, 15), "100");
    EXPECT_EQ(general(2999998, 15), "2999998");
}

TEST(Format, RoundingCanCarryIntoAnotherDigit) {
    EXPECT_EQ(general(9.9999999999999999e14, 15), "1E15");
    EXPECT_EQ(general(999999.5, 6), "1E6");
    EXPECT_EQ(general(0.99999995, 6), "1");
    EXPECT_EQ(general(0.000099999995, 6), "0.0001");
}

TEST(Format, SpecialValues) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(general(inf, 15), "INF");
    EXPECT_EQ(general(-inf, 15), "-INF");
    EXPECT_EQ(general(std::numeric_limits<double>::quiet_NaN(), 15), "NAN");
}

TEST(Format, VariablePanelUsesSixDigits) {
    EXPECT_EQ(panel(1000000), "1E6");
    EXPECT_EQ(panel(999999), "999999");
    EXPECT_EQ(panel(1234567), "1.23457E6");
    EXPECT_EQ(panel(0.1234567), "0.123457");
    EXPECT_EQ(panel(-0.00012), "-0.00012");
    EXPECT_EQ(panel(0.00001), "1E-5");
    EXPECT_EQ(panel(0.0001234567), "0.000123457");
    EXPECT_EQ(panel(3.14159265), "3.14159");
}

}  // namespace

namespace {

// A user whose locale writes "0,5" still gets programs that read and print "0.5".
TEST(Format, LocaleDoesNotChangeNumbers) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "scripts/install-deps.sh generates this locale";
    TestMachine m;
    const std::vector<std::string> out = m.run("A=0.25+0.000015\nPRINT A\nPRINT 0.00001\n");
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(out, (std::vector<std::string>{"0.250015", "1E-5"}));
}

}  // namespace
