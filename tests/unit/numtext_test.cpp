// Number texts: writing doubles with 15 significant digits, reading texts with
// the strict grammar, the numeric test, and their independence from the
// process locale.
#include "engine/numtext.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

using morvane::Conv;
using morvane::isNumeric;
using morvane::numberToText;
using morvane::textToNumber;

namespace {

constexpr char kSeps[] = {'.', ','};

// A text written with "." standing for the regional separator.
std::string withSep(std::string s, char sep) {
    for (char& c : s)
        if (c == '.') c = sep;
    return s;
}

struct Read {
    Conv conv;
    double value;
};

Read read(const std::string& t, char sep) {
    double v = -12345.678;  // a value no case below expects
    Conv c = textToNumber(t, sep, v);
    return {c, v};
}

// The C library's "%.15g" uses the same notation rule (exponent form below
// 1E-4 and from 1E+15 on, at least two exponent digits); with the C locale
// and an upper-case E it is an independent reference for number-to-text.
std::string reference15g(double v, char sep) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    std::string s(buf);
    for (char& c : s) {
        if (c == 'e') c = 'E';
        if (c == '.') c = sep;
    }
    return s;
}

// Doubles from every part of the range: random bit patterns (subnormals
// included), short decimals (which sit on rounding halves) and integers
// around 10^15.
std::vector<double> sampleDoubles(std::size_t count) {
    std::mt19937_64 g(20260102);
    std::vector<double> out;
    std::uniform_int_distribution<int> kind(0, 3);
    while (out.size() < count) {
        double v = 0;
        switch (kind(g)) {
            case 0: {
                std::uint64_t bits = g();
                std::memcpy(&v, &bits, sizeof v);
                break;
            }
            case 1: {
                const long long k = static_cast<long long>(g() % 2000001) - 1000000;
                const int m = static_cast<int>(g() % 9);
                v = static_cast<double>(k) / std::pow(10.0, m);
                break;
            }
            case 2:
                v = std::ldexp(static_cast<double>(g() >> 11), -static_cast<int>(g() % 80));
                break;
            default:
                v = 1e15 + static_cast<double>(static_cast<long long>(g() % 20001) - 10000) * 0.125;
                break;
        }
        if (std::isfinite(v) && v != 0) out.push_back(v);
    }
    return out;
}

}  // namespace

// ------------------------------------------------------------ number to text

TEST(NumberToText, ExamplesOfTheNotationTable) {
    struct Case {
        double v;
        const char* text;
    };
    const Case cases[] = {
        {5, "5"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {123456789012345.0, "123456789012345"},
        {std::pow(10.0, 15), "1E+15"},
        {1234567890123456.0, "1.23456789012346E+15"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {1.5 * std::pow(10.0, 20), "1.5E+20"},
        {-2 * std::pow(10.0, -7), "-2E-07"},
        {std::pow(10.0, 100), "1E+100"},
    };
    for (char sep : kSeps)
        for (const Case& c : cases) EXPECT_EQ(numberToText(c.v, sep), withSep(c.text, sep)) << c.text;
}

TEST(NumberToText, FixedNotationForExponentsMinus4To14) {
    struct Case {
        double v;
        const char* text;
    };
    const Case cases[] = {
        {0.1 + 0.2, "0.3"},  // 0.30000000000000004 has 15 digits "3"
        {-0.5, "-0.5"},
        {100, "100"},
        {1e14, "100000000000000"},
        {-99999999999999.9, "-99999999999999.9"},
        {0.00012, "0.00012"},
        {-0.000123456789012345, "-0.000123456789012345"},
        {123.456, "123.456"},
        {0.000987654321, "0.000987654321"},
        {7.0 / 8, "0.875"},
    };
    for (char sep : kSeps)
        for (const Case& c : cases) EXPECT_EQ(numberToText(c.v, sep), withSep(c.text, sep)) << c.text;
}

TEST(NumberToText, RoundsTo15DigitsAndCarriesIntoTheNotation) {
    struct Case {
        double v;
        const char* text;
    };
    const Case cases[] = {
        // The carry makes a sixteenth digit: 10^15 is exponent form.
        {9.99999999999999949e14, "1E+15"},
        {999999999999999.4, "999999999999999"},
        {-999999999999999.9, "-1E+15"},
        // ... and out of exponent form into fixed notation.
        {9.9999999999999999e-5, "0.0001"},
        {9.999999999999991e-5, "9.99999999999999E-05"},
        {99999999999999.99, "100000000000000"},
        {9.9999999999999999e-6, "1E-05"},
        {0.99999999999999999, "1"},
        {1.0000000000000002, "1"},
        {2.0000000000000049, "2"},
        {2.0000000000000056, "2.00000000000001"},
        {1.23456789012345678e-20, "1.23456789012346E-20"},
        {9.999999999999999e99, "1E+100"},
    };
    for (char sep : kSeps)
        for (const Case& c : cases) EXPECT_EQ(numberToText(c.v, sep), withSep(c.text, sep)) << c.text;
}

TEST(NumberToText, ZeroAndNegativeZeroAreZero) {
    for (char sep : kSeps) {
        EXPECT_EQ(numberToText(0.0, sep), "0");
        EXPECT_EQ(numberToText(-0.0, sep), "0");
        EXPECT_EQ(numberToText(-1e-300 * 1e-300, sep), "0");  // underflows to -0
    }
}

TEST(NumberToText, ExponentHasSignAndAtLeastTwoDigits) {
    struct Case {
        double v;
        const char* text;
    };
    const Case cases[] = {
        {1e15, "1E+15"},       {1e-5, "1E-05"},          {1e-9, "1E-09"},     {1e-10, "1E-10"},
        {-3.5e-7, "-3.5E-07"}, {2e99, "2E+99"},          {1e100, "1E+100"},   {1e-100, "1E-100"},
        {1e308, "1E+308"},     {-1.5e-200, "-1.5E-200"}, {4.5e16, "4.5E+16"},
    };
    for (char sep : kSeps)
        for (const Case& c : cases) EXPECT_EQ(numberToText(c.v, sep), withSep(c.text, sep)) << c.text;
}

TEST(NumberToText, SubnormalsAndTheEndsOfTheRange) {
    const double tiny = std::numeric_limits<double>::denorm_min();
    for (char sep : kSeps) {
        EXPECT_EQ(numberToText(tiny, sep), withSep("4.94065645841247E-324", sep));
        EXPECT_EQ(numberToText(-3 * tiny, sep), withSep("-1.48219693752374E-323", sep));
        EXPECT_EQ(numberToText(DBL_MIN, sep), withSep("2.2250738585072E-308", sep));
        EXPECT_EQ(numberToText(DBL_MIN / 2, sep), withSep("1.1125369292536E-308", sep));
        EXPECT_EQ(numberToText(DBL_MAX, sep), withSep("1.79769313486232E+308", sep));
        EXPECT_EQ(numberToText(-DBL_MAX, sep), withSep("-1.79769313486232E+308", sep));
    }
}

TEST(NumberToText, AgreesWithTheCLibraryOnSampledDoubles) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    for (double v : sampleDoubles(20000))
        for (char sep : kSeps) ASSERT_EQ(numberToText(v, sep), reference15g(v, sep)) << std::hexfloat << v;
}

// ------------------------------------------------------------ text to number

TEST(TextToNumber, ReadsTheGrammar) {
    struct Case {
        const char* text;  // "." stands for the separator
        double v;
    };
    const Case cases[] = {
        {"5", 5},           {"  5", 5},
        {"5  ", 5},         {"   -5   ", -5},
        {"+5", 5},          {"-5", -5},
        {"007", 7},         {"12.", 12},  // "12," with the comma is numeric
        {".5", 0.5},        {"-.5", -0.5},
        {"+.5", 0.5},       {"1.5", 1.5},
        {"1.5E3", 1500},    {"1.5e3", 1500},
        {"1.5E+3", 1500},   {"1.5E-3", 0.0015},
        {"12E-5", 0.00012}, {"1.E2", 100},
        {".5E1", 5},        {"-1.5E-003", -0.0015},
        {"1E0", 1},         {"0.333333333333333", 0.333333333333333},
        {"  1E+15 ", 1e15},
    };
    for (char sep : kSeps) {
        for (const Case& c : cases) {
            const std::string t = withSep(c.text, sep);
            const Read r = read(t, sep);
            EXPECT_EQ(r.conv, Conv::Ok) << t;
            EXPECT_EQ(r.value, c.v) << t;
        }
    }
}

TEST(TextToNumber, ZeroInEveryForm) {
    for (char sep : kSeps) {
        for (const char* t : {"0", "-0", "+0", "0.", ".0", "0.000", "000", "0E5", "0E99999", "-0.0E-400", "0.0E+400"}) {
            const Read r = read(withSep(t, sep), sep);
            EXPECT_EQ(r.conv, Conv::Ok) << t;
            EXPECT_EQ(r.value, 0.0) << t;
        }
    }
}

TEST(TextToNumber, RejectsEverythingOutsideTheGrammar) {
    const char* bad[] = {
        "",
        " ",
        "   ",
        "-",
        "+",
        ".",
        "+.",
        "-.",
        "E",
        "e",
        "E5",
        "e5",
        ".E5",
        "-E5",
        "12E",
        "12E-",
        "12E+",
        "12e",
        "1.5E",
        "E-5",
        "inf",
        "-inf",
        "INF",
        "infinity",
        "nan",
        "NaN",
        "0x10",
        "0X1A",
        "1p3",
        "0x1p3",
        "1..5",
        "1.5.",
        "..5",
        "1.5.3",
        "12..",
        "1 2",
        "1. 5",
        "- 5",
        "+ 5",
        "1 E5",
        "1E 5",
        "1E- 5",
        "1E5 5",
        "--5",
        "+-5",
        "-+5",
        "5-",
        "5+",
        "1E--5",
        "1E+-5",
        "1EE5",
        "1E5E5",
        "1E5.",
        "1E.5",
        "1E5.5",
        "abc",
        "5a",
        "a5",
        "1e5x",
        "$5",
        "5%",
        "1_000",
        "\xc2\xa0"
        "5",
    };
    for (char sep : kSeps) {
        for (const char* b : bad) {
            const std::string t = withSep(b, sep);
            EXPECT_EQ(read(t, sep).conv, Conv::NotNumber) << '"' << t << '"';
            EXPECT_FALSE(isNumeric(t, sep)) << '"' << t << '"';
        }
    }
}

TEST(TextToNumber, OnlyTheRegionalSeparatorIsASeparator) {
    // Under the comma, a point is just a foreign character, and the other way
    // round; no digit grouping is accepted either.
    EXPECT_EQ(read("1.5", ',').conv, Conv::NotNumber);
    EXPECT_EQ(read("1,5", '.').conv, Conv::NotNumber);
    EXPECT_EQ(read("12,", '.').conv, Conv::NotNumber);
    EXPECT_EQ(read(",5", '.').conv, Conv::NotNumber);
    EXPECT_EQ(read("1.000,5", ',').conv, Conv::NotNumber);
    EXPECT_EQ(read("1,000.5", '.').conv, Conv::NotNumber);
    EXPECT_EQ(read("1,5", ',').value, 1.5);
    EXPECT_EQ(read("12,", ',').value, 12);
    EXPECT_EQ(read(",", ',').conv, Conv::NotNumber);
    EXPECT_EQ(read(",,", ',').conv, Conv::NotNumber);
    EXPECT_EQ(read("1,,5", ',').conv, Conv::NotNumber);
    EXPECT_EQ(read("1,5,", ',').conv, Conv::NotNumber);
}

TEST(TextToNumber, OverflowIsNotUnderflow) {
    const double tiny = std::numeric_limits<double>::denorm_min();
    for (char sep : kSeps) {
        for (const char* t : {"1E309", "-1E309", "1.8E308", "-1.8E308", "1.79769313486232E+308", "10E308", "1E99999",
                              "1E99999999999999999999", "0.1E310"}) {
            EXPECT_EQ(read(withSep(t, sep), sep).conv, Conv::Overflow) << t;
            EXPECT_FALSE(isNumeric(withSep(t, sep), sep)) << t;
        }
        // The largest double itself, and texts that round down to it.
        EXPECT_EQ(read(withSep("1.7976931348623157E308", sep), sep).value, DBL_MAX);
        EXPECT_EQ(read(withSep("1.7976931348623158E308", sep), sep).value, DBL_MAX);
        EXPECT_EQ(read(withSep("-1.7976931348623157E+308", sep), sep).value, -DBL_MAX);
        EXPECT_EQ(read(withSep("0.1E309", sep), sep).value, 1e308);

        // Too small for a double: zero, not an overflow.
        for (const char* t : {"1E-400", "-1E-400", "2E-324", "1E-99999", "1E-99999999999999999999", "0.00001E-320"}) {
            const Read r = read(withSep(t, sep), sep);
            EXPECT_EQ(r.conv, Conv::Ok) << t;
            EXPECT_EQ(r.value, 0.0) << t;
            EXPECT_TRUE(isNumeric(withSep(t, sep), sep)) << t;
        }
        // Subnormals read as themselves.
        const Read s = read(withSep("4.9E-324", sep), sep);
        EXPECT_EQ(s.conv, Conv::Ok);
        EXPECT_EQ(s.value, tiny);
        EXPECT_EQ(read(withSep("3E-324", sep), sep).value, tiny);
        EXPECT_EQ(read(withSep("-4.94065645841247E-324", sep), sep).value, -tiny);
        EXPECT_EQ(read(withSep("1E-310", sep), sep).value, 1e-310);
        EXPECT_EQ(read(withSep("2.2250738585072014E-308", sep), sep).value, DBL_MIN);
    }
}

TEST(TextToNumber, LongDigitStrings) {
    for (char sep : kSeps) {
        const std::string s(1, sep);
        // 401 digits before the separator: beyond the range.
        EXPECT_EQ(read("1" + std::string(400, '0'), sep).conv, Conv::Overflow);
        EXPECT_EQ(read("-1" + std::string(400, '0') + s, sep).conv, Conv::Overflow);
        // ... but a long exponent can bring them back.
        EXPECT_EQ(read("1" + std::string(400, '0') + "E-400", sep).value, 1);
        EXPECT_EQ(read(std::string(400, '1') + "E-390", sep).value, 1111111111.111111111111111);
        // Leading zeros do not count towards the range.
        EXPECT_EQ(read(std::string(500, '0') + "25", sep).value, 25);
        EXPECT_EQ(read("0" + s + std::string(299, '0') + "1E300", sep).value, 1);
        // Many zeros after the separator: subnormal, then zero.
        EXPECT_EQ(read("0" + s + std::string(320, '0') + "5", sep).value, 5e-321);
        const Read z = read("0" + s + std::string(400, '0') + "1", sep);
        EXPECT_EQ(z.conv, Conv::Ok);
        EXPECT_EQ(z.value, 0.0);
        // More digits than a double holds: the nearest double.
        EXPECT_EQ(read("3" + s + "14159265358979323846264338327950288419716939937510", sep).value,
                  3.14159265358979323846);
        EXPECT_EQ(read("0" + s + std::string(1000, '3'), sep).value, 1.0 / 3);
        EXPECT_EQ(read("9007199254740993", sep).value, 9007199254740992.0);  // 2^53 + 1: a tie to even
        EXPECT_EQ(read("9007199254740993" + s + "0000000001", sep).value, 9007199254740994.0);
        // A long exponent.
        EXPECT_EQ(read("1E" + std::string(30, '0') + "5", sep).value, 1e5);
    }
}

// Random texts, mostly near the grammar, against a reference: a regular
// expression for the grammar and the C library's strtod (C locale) for the value.
TEST(TextToNumber, AgreesWithAReferenceOnRandomTexts) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    std::mt19937 g(7);
    auto pick = [&](int n) { return static_cast<int>(g() % static_cast<unsigned>(n)); };
    auto digits = [&](int maxLen) {
        std::string d;
        const int len = pick(maxLen + 1);
        for (int i = 0; i < len; ++i) d += static_cast<char>('0' + pick(10));
        return d;
    };
    const std::string noise = "0123456789.,eE+- x";
    for (char sep : kSeps) {
        const std::string q = sep == '.' ? "\\." : ",";
        const std::regex grammar("^ *[+-]?([0-9]+" + q + "?[0-9]*|" + q + "[0-9]+)([eE][+-]?[0-9]+)? *$");
        int valid = 0, overflow = 0;
        for (int n = 0; n < 8000; ++n) {
            std::string t;
            if (pick(4) == 0) t += std::string(static_cast<size_t>(pick(3)), ' ');
            if (pick(3) == 0) t += "+-"[pick(2)];
            t += digits(pick(10) == 0 ? 120 : 20);
            if (pick(2) == 0) t += sep;
            t += digits(pick(10) == 0 ? 120 : 20);
            if (pick(2) == 0) {
                t += "eE"[pick(2)];
                if (pick(2) == 0) t += "+-"[pick(2)];
                t += digits(4);
            }
            if (pick(4) == 0) t += std::string(static_cast<size_t>(pick(3)), ' ');
            for (int m = pick(4) == 0 ? 1 + pick(2) : 0; m > 0; --m) {
                const size_t at = t.empty() ? 0 : static_cast<size_t>(pick(static_cast<int>(t.size()) + 1));
                if (pick(2) == 0 && at < t.size())
                    t.erase(at, 1);
                else
                    t.insert(at, 1, noise[static_cast<size_t>(pick(static_cast<int>(noise.size())))]);
            }

            const Read r = read(t, sep);
            if (!std::regex_match(t, grammar)) {
                ASSERT_EQ(r.conv, Conv::NotNumber) << '"' << t << '"';
                continue;
            }
            std::string c = t;
            for (char& ch : c)
                if (ch == sep) ch = '.';
            errno = 0;
            const double want = std::strtod(c.c_str(), nullptr);
            if (std::isinf(want)) {
                ++overflow;
                ASSERT_EQ(r.conv, Conv::Overflow) << '"' << t << '"';
            } else {
                ++valid;
                ASSERT_EQ(r.conv, Conv::Ok) << '"' << t << '"';
                ASSERT_EQ(r.value, want) << '"' << t << '"';
            }
            ASSERT_EQ(isNumeric(t, sep), r.conv == Conv::Ok) << '"' << t << '"';
        }
        // The generator must reach every branch.
        EXPECT_GT(valid, 1500);
        EXPECT_GT(overflow, 20);
    }
}

TEST(IsNumeric, TheListedCases) {
    EXPECT_FALSE(isNumeric("", ','));
    EXPECT_TRUE(isNumeric("12,", ','));
    EXPECT_FALSE(isNumeric("12,", '.'));
    EXPECT_TRUE(isNumeric("12.", '.'));
    for (char sep : kSeps) {
        for (const char* t : {"12E", "12E-", "E5", "-", "."}) EXPECT_FALSE(isNumeric(withSep(t, sep), sep)) << t;
        for (const char* t : {"12", "-12.5", "12E-5", " 7 ", "1E-400"})
            EXPECT_TRUE(isNumeric(withSep(t, sep), sep)) << t;
    }
}

// ------------------------------------------------------------ round trips

TEST(RoundTrip, WrittenTextsReadBackAndStayStable) {
    int checked = 0;
    for (double v : sampleDoubles(20000)) {
        for (char sep : kSeps) {
            const std::string t = numberToText(v, sep);
            const Read r = read(t, sep);
            if (std::fabs(v) > 1.797693134862315e308) {
                // Rounded to 15 digits, the largest doubles lie beyond the
                // range: their text cannot be read back.
                EXPECT_EQ(r.conv, Conv::Overflow) << t;
                continue;
            }
            ASSERT_EQ(r.conv, Conv::Ok) << t;
            // Within half a unit of the fifteenth digit (or, for subnormals,
            // of the spacing of doubles there).
            const double tolerance = std::max(std::fabs(v) * 5.2e-15, std::numeric_limits<double>::denorm_min());
            ASSERT_LE(std::fabs(r.value - v), tolerance) << t;
            ASSERT_EQ(numberToText(r.value, sep), t) << std::hexfloat << v;
            ++checked;
        }
    }
    EXPECT_GT(checked, 39000);
}

TEST(RoundTrip, SubnormalsReadBackExactly) {
    const double tiny = std::numeric_limits<double>::denorm_min();
    for (char sep : kSeps)
        for (double k : {1.0, 2.0, 3.0, 1000.0, 123456789.0})
            EXPECT_EQ(read(numberToText(k * tiny, sep), sep).value, k * tiny) << k;
}

// ------------------------------------------------------------ the process locale

namespace {

// Checks the conversions with both separators; meant to run while the process
// locale says something else.
void checkConversionsAreLocaleFree() {
    for (char sep : kSeps) {
        EXPECT_EQ(numberToText(1.0 / 3, sep), withSep("0.333333333333333", sep));
        EXPECT_EQ(numberToText(-1234567.25, sep), withSep("-1234567.25", sep));
        EXPECT_EQ(numberToText(1234567890123456.0, sep), withSep("1.23456789012346E+15", sep));
        EXPECT_EQ(numberToText(-2e-7, sep), withSep("-2E-07", sep));
        EXPECT_EQ(read(withSep("1234.5", sep), sep).value, 1234.5);
        EXPECT_EQ(read(withSep("-1.5E-3", sep), sep).value, -0.0015);
        EXPECT_EQ(read(withSep("12.", sep), sep).value, 12);
        EXPECT_EQ(read("1E309", sep).conv, Conv::Overflow);
    }
    // The locale's own separator means nothing when the regional one differs.
    EXPECT_EQ(read("1,5", '.').conv, Conv::NotNumber);
    EXPECT_EQ(read("1.5", ',').conv, Conv::NotNumber);
    EXPECT_EQ(read("1.234,5", ',').conv, Conv::NotNumber);
}

// Makes the C locale's LC_NUMERIC use a decimal comma: an installed locale if
// there is one, else one compiled with localedef into a temporary folder.
// Returns the locale's name, or "" when neither works.
std::string commaCLocale(std::filesystem::path& made) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "es_ES.UTF-8", "es_ES.utf8", "fr_FR.UTF-8",
                             "fr_FR.utf8", "nl_NL.UTF-8", "it_IT.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) return name;
    }
    std::setlocale(LC_NUMERIC, "C");
    char dirTemplate[] = "/tmp/morvane-locale-XXXXXX";
    if (!mkdtemp(dirTemplate)) return "";
    made = dirTemplate;
    {
        std::ofstream src(made / "comma.src");
        src << "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\ngrouping 3;3\nEND LC_NUMERIC\n";
    }
    const std::string cmd =
        "localedef -c -i '" + (made / "comma.src").string() + "' '" + (made / "xx_XX").string() + "' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) == -1) return "";
    setenv("LOCPATH", made.c_str(), 1);
    const char* ok = std::setlocale(LC_NUMERIC, "xx_XX");
    unsetenv("LOCPATH");
    if (ok && std::strcmp(std::localeconv()->decimal_point, ",") == 0) return "xx_XX";
    std::setlocale(LC_NUMERIC, "C");
    return "";
}

struct CommaNumpunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

}  // namespace

TEST(Locale, TheCLocaleIsIgnored) {
    std::filesystem::path made;
    const std::string name = commaCLocale(made);
    if (name.empty()) {
        if (!made.empty()) std::filesystem::remove_all(made);
        GTEST_SKIP() << "no locale with a decimal comma could be set or made";
    }
    // The C library now writes and reads with a comma...
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", 1.5);
    EXPECT_STREQ(buf, "1,5") << name;
    EXPECT_EQ(std::strtod("2,5", nullptr), 2.5) << name;
    // ... and the conversions do not follow it.
    checkConversionsAreLocaleFree();
    std::setlocale(LC_NUMERIC, "C");
    if (!made.empty()) std::filesystem::remove_all(made);
}

TEST(Locale, TheGlobalCppLocaleIsIgnored) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaNumpunct));
    {
        std::ostringstream probe;
        probe << 1234.5;
        EXPECT_EQ(probe.str(), "1.234,5");  // the stream follows the global locale
    }
    checkConversionsAreLocaleFree();
    std::locale::global(previous);
}
