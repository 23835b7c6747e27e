#include <clocale>
#include <optional>
#include <string>

#include "core/workspace/number_text.h"
#include "core/workspace/records.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::core {
namespace {

TEST(NumberText, WorkSpaceFormatIsSixSignificantDigits) {
    EXPECT_EQ(formatNumber(7058.8), "7058.8");
    EXPECT_EQ(formatNumber(0.305), "0.305");
    EXPECT_EQ(formatNumber(7.9e-9), "7.9e-09");
    EXPECT_EQ(formatNumber(7000.0), "7000");
    EXPECT_EQ(formatNumber(1.0 / 3.0), "0.333333");
    EXPECT_EQ(formatNumber(7058.83749), "7058.84");
    EXPECT_EQ(formatNumber(1234567.0), "1.23457e+06");
    EXPECT_EQ(formatNumber(1e-300), "1e-300");
    EXPECT_EQ(formatNumber(-0.5), "-0.5");
}

TEST(NumberText, BoxDigits) {
    EXPECT_EQ(formatDigits(7114.0, 5), "7114");
    EXPECT_EQ(formatDigits(7100.123, 5), "7100.1");
    EXPECT_EQ(formatDigits(1.25, 10), "1.25");
    EXPECT_EQ(formatDigits(7058.8, 10), "7058.8");
}

TEST(NumberText, TypedTextReadsLikeAtof) {
    EXPECT_EQ(parseTyped("7150"), 7150.0);
    EXPECT_EQ(parseTyped("  7150.5eV"), 7150.5);
    EXPECT_EQ(parseTyped("+2.5"), 2.5);
    EXPECT_EQ(parseTyped("-1e3x"), -1000.0);
    EXPECT_EQ(parseTyped(""), 0.0);
    EXPECT_EQ(parseTyped("abc"), 0.0);
    EXPECT_EQ(parseTyped("1e"), 1.0);
}

struct TypedCase {
    const char* text;
    std::optional<double> value;  // the leading number, as atof reads it
    bool whole = false;           // the trimmed text is one number (a box takes it)
};
// Printed readably in the test list, not as a byte dump.
inline void PrintTo(const TypedCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class TypedNumberTest : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedNumberTest, ReadsTheLeadingNumberOrNone) {
    const auto& c = GetParam();
    const auto value = parseTypedNumber(c.text);
    ASSERT_EQ(value.has_value(), c.value.has_value()) << c.text;
    if (!value) {
        EXPECT_EQ(parseTyped(c.text), 0.0) << c.text;
        return;
    }
    EXPECT_EQ(*value, *c.value);
    // The optional reading and the atof-like reading agree.
    EXPECT_EQ(*value, parseTyped(c.text));
}

// An edit box reads strictly: a whole number is taken, blank text keeps the
// caller's value, anything else is refused naming the box and quoting the text.
TEST_P(TypedNumberTest, BoxTakesOnlyAWholeNumber) {
    const auto& c = GetParam();
    constexpr double kKept = -12345.0;
    double out = kKept;
    const Status status = readBox("内殻エネルギー(eV)", c.text, out);
    const bool blank = std::string_view(c.text).find_first_not_of(" \t") == std::string_view::npos;
    EXPECT_EQ(status.ok(), c.whole || blank) << c.text;
    EXPECT_EQ(parseBoxNumber(c.text).has_value(), c.whole) << c.text;
    if (c.whole) {
        EXPECT_EQ(out, *c.value) << c.text;
    } else {
        EXPECT_EQ(out, kKept) << c.text;
    }
    if (!status) {
        EXPECT_NE(status.error().find("「内殻エネルギー(eV)」"), std::string::npos);
        EXPECT_NE(status.error().find(std::string("「") + c.text + "」"), std::string::npos);
        EXPECT_NE(status.error().find(kWorkspaceUnchanged), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedNumberTest,
    ::testing::Values(TypedCase{"7058.8", 7058.8, true}, TypedCase{"  12abc", 12.0},
                      TypedCase{"+5", 5.0, true}, TypedCase{"-0.5", -0.5, true},
                      TypedCase{".5", 0.5, true}, TypedCase{"1e3x", 1000.0},
                      TypedCase{"0", 0.0, true}, TypedCase{"2,5", 2.0}, TypedCase{"7l14", 7.0},
                      TypedCase{"1x2", 1.0}, TypedCase{" 7114 ", 7114.0, true},
                      TypedCase{"7114.", 7114.0, true}, TypedCase{"1e3", 1000.0, true},
                      TypedCase{"7 114", 7.0}, TypedCase{"", std::nullopt},
                      TypedCase{"   ", std::nullopt}, TypedCase{"abc", std::nullopt},
                      TypedCase{"-", std::nullopt}, TypedCase{"+-5", std::nullopt},
                      TypedCase{".", std::nullopt}, TypedCase{"inf", std::nullopt},
                      TypedCase{"nan", std::nullopt}, TypedCase{"1e999", std::nullopt}),
    [](const auto& c) {
        return "case" + std::to_string(c.index) + "_" + zephalo::test::caseName(c.param.text);
    });

TEST(NumberText, WholeTokens) {
    EXPECT_EQ(parseNumber("7.9e-09"), 7.9e-9);
    EXPECT_EQ(parseNumber("7.9e-009"), 7.9e-9);  // three exponent digits
    EXPECT_EQ(parseNumber("+1"), 1.0);
    EXPECT_FALSE(parseNumber("1,5"));
    EXPECT_FALSE(parseNumber("12abc"));
    EXPECT_FALSE(parseNumber(""));
    EXPECT_FALSE(parseNumber("+-1"));
    EXPECT_FALSE(parseNumber("1e999"));
}

// A comma-decimal desktop must still write and read 7058.8.
TEST(NumberText, IgnoresTheProcessLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    test::TempDir dir;
    Workspace workspace(dir.path());
    const PairSpectrum points{{7058.8, 0.5}, {7058.9, 1.25}};
    const auto written = workspace.write(files::kRixsExperiment, points);
    PairSpectrum back;
    const auto read = workspace.read(files::kRixsExperiment, back);
    const std::string text = test::readFile(workspace.path(files::kRixsExperiment));
    const double typed = parseTyped("7058.8");
    std::setlocale(LC_ALL, saved.c_str());

    ASSERT_TRUE(written.ok());
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(text, "7058.8\t0.5\n7058.9\t1.25\n");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].energy, 7058.8);
    EXPECT_EQ(typed, 7058.8);
}

}  // namespace
}  // namespace zephalo::core
