// Display formatting: what a stack line shows for a register text under each
// setting of the decimals indicator, and the "0." pattern of the decimal
// point key.
#include "engine/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "engine/numtext.h"

using morvane::displayText;
using morvane::formatDecimals;

namespace {

constexpr char kSeps[] = {'.', ','};
const char* const kModes[] = {"X", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"};

// The decimals that the status line's caption shows.
morvane::Decimals dec(const char* caption) {
    return caption[0] == 'X' ? morvane::Decimals() : morvane::Decimals(caption[0] - '0');
}

std::string withSep(std::string s, char sep) {
    for (char& c : s)
        if (c == '.') c = sep;
    return s;
}

struct Row {
    const char* text;  // register text, "." standing for the separator
    const char* mode;  // nullptr: every mode
    const char* shown;
};

void checkRows(const Row* rows, std::size_t n) {
    for (char sep : kSeps) {
        for (std::size_t i = 0; i < n; ++i) {
            const Row& r = rows[i];
            const std::string t = withSep(r.text, sep), want = withSep(r.shown, sep);
            if (r.mode) {
                EXPECT_EQ(displayText(t, dec(r.mode), sep), want) << '"' << t << "\" in mode " << r.mode;
            } else {
                for (const char* m : kModes)
                    EXPECT_EQ(displayText(t, dec(m), sep), want) << '"' << t << "\" in mode " << m;
            }
        }
    }
}

}  // namespace

TEST(DisplayText, TheTableOfTheStackView) {
    const Row rows[] = {
        {"", nullptr, ""},
        {"1.5E+20", nullptr, "1.5E+20"},
        {"-2E-07", nullptr, "-2E-07"},
        {"E5", nullptr, "E5"},
        {"3", "X", "3."},
        {"0.333333333333333", "X", "0.3333333333"},
        {"0.1234567890123", "X", "0.123456789"},
        {"2.675", "2", "2.68"},
        {"-1.005", "2", "-1.01"},
        {"12", "2", "12."},
        {"2.5", "0", "3."},
        {"-2.5", "0", "-3."},
        {"41.5", "0", "42."},
        {"1.50", "X", "1.5"},
        {"0.4", "0", "0."},
    };
    checkRows(rows, std::size(rows));
}

TEST(DisplayText, EveryModeBoundsTheDecimals) {
    const char* const pi[] = {"3.1415926536", "3.141592654", "3.14159265", "3.1415927", "3.141593", "3.14159",
                              "3.1416",       "3.142",       "3.14",       "3.1",       "3."};
    const char* const third[] = {"-0.3333333333", "-0.333333333", "-0.33333333", "-0.3333333", "-0.333333", "-0.33333",
                                 "-0.3333",       "-0.333",       "-0.33",       "-0.3",       "0."};
    const char* const seven[] = {"7.", "7.", "7.", "7.", "7.", "7.", "7.", "7.", "7.", "7.", "7."};
    const char* const quarter[] = {"0.25", "0.25", "0.25", "0.25", "0.25", "0.25", "0.25", "0.25", "0.25", "0.3", "0."};
    for (char sep : kSeps) {
        for (int m = 0; m < 11; ++m) {
            const char* mode = kModes[m];
            EXPECT_EQ(displayText(withSep("3.14159265358979", sep), dec(mode), sep), withSep(pi[m], sep)) << mode;
            EXPECT_EQ(displayText(withSep("-0.333333333333333", sep), dec(mode), sep), withSep(third[m], sep)) << mode;
            EXPECT_EQ(displayText("7", dec(mode), sep), withSep(seven[m], sep)) << mode;
            EXPECT_EQ(displayText(withSep("0.25", sep), dec(mode), sep), withSep(quarter[m], sep)) << mode;
            // The free mode and mode 9 differ only beyond nine decimals.
            EXPECT_EQ(displayText(withSep("123.5", sep), dec(mode), sep), withSep(m == 10 ? "124." : "123.5", sep))
                << mode;
        }
    }
}

TEST(DisplayText, HalvesRoundAwayFromZeroOnTheDecimalForm) {
    const Row rows[] = {
        // The nearest doubles lie below these halves; the 15-digit form does not.
        {"2.675", "2", "2.68"},
        {"1.005", "2", "1.01"},
        {"-1.005", "2", "-1.01"},
        {"1.45", "1", "1.5"},
        {"8.345", "2", "8.35"},
        {"0.285", "2", "0.29"},
        {"1.0000000005", "9", "1.000000001"},
        {"0.00000000005", "X", "0.0000000001"},
        {"-0.00000000005", "X", "-0.0000000001"},
        // Exact binary halves go away from zero too, not to even.
        {"0.125", "2", "0.13"},
        {"-0.125", "2", "-0.13"},
        {"0.375", "2", "0.38"},
        {"0.5", "0", "1."},
        {"1.5", "0", "2."},
        {"-0.5", "0", "-1."},
        {"3.5", "0", "4."},
        // Just below a half stays down.
        {"2.67499999999999", "2", "2.67"},
        {"0.4999999", "0", "0."},
        {"0.00000000004", "X", "0."},
        // A sixteenth digit counts only through the 15-digit form.
        {"2.6749999999999999", "2", "2.68"},
    };
    checkRows(rows, std::size(rows));
}

TEST(DisplayText, CarriesRunThroughTheIntegerDigits) {
    const Row rows[] = {
        {"9.995", "2", "10."},
        {"-9.995", "2", "-10."},
        {"99.95", "1", "100."},
        {"0.995", "2", "1."},
        {"0.9999999999999", "X", "1."},
        {"9.5", "0", "10."},
        {"999.9995", "3", "1000."},
        {"1.995", "2", "2."},
        {"1.0995", "3", "1.1"},
        {"19.96", "1", "20."},
        {"99999999999999.5", "0", "100000000000000."},
        {"99999999999999.4", "0", "99999999999999."},
        {"0.0005", "3", "0.001"},
        {"0.00049", "3", "0."},
        {"-0.0005", "3", "-0.001"},
    };
    checkRows(rows, std::size(rows));
}

TEST(DisplayText, AllIntegerDigitsWithoutGrouping) {
    const Row rows[] = {
        {"123456789012345", "2", "123456789012345."},
        {"-123456789012345", "X", "-123456789012345."},
        {"1234567.125", "2", "1234567.13"},
        // Typed beyond fifteen digits: the 15-digit form, in fixed notation.
        {"1234567890123456789", "X", "1234567890123460000."},
        {"999999999999999.5", "X", "1000000000000000."},
        {"0.0000123", "X", "0.0000123"},
        {"0.00001234567891", "X", "0.0000123457"},
        {"100", "X", "100."},
        {"0", "5", "0."},
        {"-0", "X", "0."},
    };
    checkRows(rows, std::size(rows));
}

TEST(DisplayText, TextsWithAnExponentStandAsTheyAre) {
    const Row rows[] = {
        {"1E5", nullptr, "1E5"},
        {"1E+15", nullptr, "1E+15"},
        {"1.23456789012346E+15", nullptr, "1.23456789012346E+15"},
        {"4.94065645841247E-324", nullptr, "4.94065645841247E-324"},
        {"12E", nullptr, "12E"},
        {"12E-", nullptr, "12E-"},
        {"12E-5", nullptr, "12E-5"},
        {"1.2345678901e3", nullptr, "1.2345678901e3"},
        {"-E", nullptr, "-E"},
        {"  1E5", nullptr, "  1E5"},
        {"1E400", nullptr, "1E400"},
        // A letter first is not an exponent: the text is formatted, and as it
        // is not a number it stays as it is.
        {"e5", nullptr, "e5"},
        {"E", nullptr, "E"},
    };
    checkRows(rows, std::size(rows));
}

TEST(DisplayText, NonNumbersAreUnchanged) {
    const Row rows[] = {
        {"-", nullptr, "-"},
        {".", nullptr, "."},
        {"abc", nullptr, "abc"},
        {"1 2", nullptr, "1 2"},
        {"--5", nullptr, "--5"},
        {"0x10", nullptr, "0x10"},
        {"inf", nullptr, "inf"},
        {"nan", nullptr, "nan"},
        {"1"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000",
         nullptr,
         "1"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"},
    };
    checkRows(rows, std::size(rows));
    // Only the regional separator makes a number.
    EXPECT_EQ(displayText("1,5", dec("2"), '.'), "1,5");
    EXPECT_EQ(displayText("1.5", dec("2"), ','), "1.5");
    EXPECT_EQ(displayText("12,", dec("X"), ','), "12,");
    EXPECT_EQ(displayText("12,", dec("X"), '.'), "12,");
}

TEST(DisplayText, TypedTextsAndBlanks) {
    const Row rows[] = {
        {"12.", "X", "12."}, {"1.50", "X", "1.5"}, {".5", "X", "0.5"}, {"-.5", "X", "-0.5"},      {"+5", "X", "5."},
        {"  5 ", "X", "5."}, {"007", "X", "7."},   {"0.", "0", "0."},  {"1.230000", "4", "1.23"},
    };
    checkRows(rows, std::size(rows));
}

TEST(DisplayText, NegativeValuesRoundingToZeroDropTheSign) {
    const Row rows[] = {
        {"-0.001", "2", "0."},
        {"-0.4", "0", "0."},
        {"-0.00000000001", "X", "0."},
    };
    checkRows(rows, std::size(rows));
}

// The decimal point key writes the log with the pattern "0.".
TEST(DecimalPointPattern, RoundsToAWholeNumberAndAddsTheSeparator) {
    const Row rows[] = {
        {"12", nullptr, "12."},
        {"-5", nullptr, "-5."},
        {"12.5", nullptr, "13."},
        {"-12.5", nullptr, "-13."},
        {"2.5", nullptr, "3."},
        {"0", nullptr, "0."},
        {"0.4", nullptr, "0."},
        {"0.5", nullptr, "1."},
        {"12.", nullptr, "12."},
        {"1E5", nullptr, "100000."},
        {"1.5E2", nullptr, "150."},
        {"-2.5E-1", nullptr, "0."},
        {"1E20", nullptr, "100000000000000000000."},
        {"", nullptr, ""},
        {"12E", nullptr, "12E"},
        {"-", nullptr, "-"},
        {"12E-", nullptr, "12E-"},
    };
    for (char sep : kSeps) {
        for (const Row& r : rows) {
            const std::string t = withSep(r.text, sep);
            const std::string once = formatDecimals(t, 0, sep);
            EXPECT_EQ(once, withSep(r.shown, sep)) << '"' << t << '"';
            EXPECT_EQ(formatDecimals(once, 0, sep), once) << "twice: \"" << t << '"';
        }
    }
}

// Sampled values in every mode against the rule written out with the C
// library: the 15-digit decimal form ("%.14e") rounded by hand on its digits.
TEST(DisplayText, SampledValuesFollowTheRule) {
    std::mt19937_64 g(11);
    for (int n = 0; n < 4000; ++n) {
        const long long k = static_cast<long long>(g() % 20000001) - 10000000;
        const double v = static_cast<double>(k) / std::pow(10.0, static_cast<int>(g() % 12));
        const int decimals = static_cast<int>(g() % 11);
        // Exact decimal of the 15-digit form: digits d and exponent e.
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
        // "d.dddddddddddddde+XX": fifteen digits and the exponent.
        const std::string digits = std::string(buf, 1) + std::string(buf + 2, 14);
        const int e = std::atoi(std::strchr(buf, 'e') + 1);
        // Scale to an integer count of units of 10^-decimals, with a half-up
        // decision on the next digit.
        const int point = e + 1;  // digits before the point
        std::string all = digits;
        int intLen = point;
        if (point <= 0) {
            all = std::string(static_cast<size_t>(-point + 1), '0') + all;
            intLen = 1;
        }
        all.append(static_cast<size_t>(std::max(0, intLen + decimals + 1 - static_cast<int>(all.size()))), '0');
        std::string kept = all.substr(0, static_cast<size_t>(intLen + decimals));
        const bool up = all[static_cast<size_t>(intLen + decimals)] >= '5';
        if (up) {
            int i = static_cast<int>(kept.size()) - 1;
            while (i >= 0 && kept[static_cast<size_t>(i)] == '9') kept[static_cast<size_t>(i--)] = '0';
            if (i < 0) {
                kept.insert(kept.begin(), '1');
                ++intLen;
            } else {
                ++kept[static_cast<size_t>(i)];
            }
        }
        std::string ip = kept.substr(0, static_cast<size_t>(intLen));
        std::string fp = kept.substr(static_cast<size_t>(intLen));
        while (ip.size() > 1 && ip[0] == '0') ip.erase(0, 1);
        while (!fp.empty() && fp.back() == '0') fp.pop_back();
        const bool zero = ip == "0" && fp.empty();
        for (char sep : kSeps) {
            const std::string want = std::string(v < 0 && !zero ? "-" : "") + ip + sep + fp;
            const std::string t = morvane::numberToText(v, sep);
            if (t.find('E') != std::string::npos) continue;
            const char mode[2] = {decimals == 10 ? 'X' : static_cast<char>('0' + decimals), 0};
            ASSERT_EQ(displayText(t, dec(mode), sep), want) << t << " mode " << mode;
        }
    }
}
