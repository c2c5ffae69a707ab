// The replay driver's own reading and writing of scripts.
#include <gtest/gtest.h>

#include <sstream>

#include "replay/replay.h"

namespace morvane {
namespace {

std::string runScript(const std::string& script, int* failed = nullptr) {
    std::ostringstream out;
    Replay r(out);
    std::istringstream in(script);
    r.run(in);
    if (failed) *failed = r.failed();
    return out.str();
}

TEST(ReplayTokens, QuotedStringsAndEscapes) {
    std::vector<std::string> t;
    std::vector<bool> q;
    std::string why;
    ASSERT_TRUE(tokenize(R"(expect caption nivel2 0 "a\tb\n\"c\"\\")", t, q, why));
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[4], "a\tb\n\"c\"\\");
    EXPECT_TRUE(q[4]);
    EXPECT_FALSE(q[3]);
    EXPECT_EQ(quote(t[4]), R"("a\tb\n\"c\"\\")");
    ASSERT_TRUE(tokenize("  click\ttecla   3 ", t, q, why));
    EXPECT_EQ(t, (std::vector<std::string>{"click", "tecla", "3"}));
    ASSERT_TRUE(tokenize(R"(type "")", t, q, why));
    EXPECT_EQ(t[1], "");
    EXPECT_FALSE(tokenize(R"(type "abc)", t, q, why));
    EXPECT_FALSE(tokenize(R"(type "a\qb")", t, q, why));
    // \d is the decimal separator in force, when the driver gives one.
    EXPECT_FALSE(tokenize(R"(type "1\d5")", t, q, why));
    ASSERT_TRUE(tokenize(R"(type "1\d5")", t, q, why, ','));
    EXPECT_EQ(t[1], "1,5");
}

// No register text grows past 65536 characters: a paste at the bound is
// taken, one character more is refused with E-7 and the log kept; so are
// the keys that append to the log. Generated: the texts are long.
TEST(ReplayScripts, RegisterTextsStopAtTheBound) {
    const std::string full(65536, '9'), over(65537, '9'), zeros = std::string(65534, '9') + "00";
    const std::string script =
        "clipboard \"" + full + "\"\nclick tecla 48\nexpect nivel 0 \"" + full +
        "\"\n"
        "expect visible error \"false\"\n"
        "clipboard \"" +
        over +
        "\"\nclick tecla 48\nexpect caption numeroerror \"ERROR E-7\"\n"
        "expect caption descripcionerror \"El texto es demasiado largo: un registro admite como máximo 65536 "
        "caracteres.\"\nexpect caption estado 7 \"E 7\"\nexpect nivel 0 \"" +
        full +
        "\"\nclick orden 83\n"
        // Digit keys, "000", "00" and EEX stop at the bound; so does the keyboard, on its indicator only.
        "click numero 1\nexpect visible error \"true\"\nclick orden 83\nclick tecla 4\nclick tecla 4\n"
        "click tecla 16\nexpect visible error \"true\"\nclick orden 83\nclick tecla 45\n"
        "expect visible error \"false\"\nexpect nivel 0 \"" +
        zeros +
        "\"\nclick tecla 8\n"
        "expect caption numeroerror \"ERROR E-7\"\nclick orden 83\ntick Timer1\ntype \"5E\"\n"
        "expect backcolor estado 7 \"192,0,0\"\nexpect visible error \"false\"\n"
        "expect nivel 0 \"" +
        zeros + "\"\n";
    EXPECT_EQ(runScript(script), "14 passed, 0 failed\n");
}

TEST(ReplayScripts, TheFormatsExamplePasses) {
    int failed = -1;
    const std::string out = runScript(R"(separator ","
click numero 2
click tecla 12
click numero 3
click tecla 3
expect nivel 0 "0,666666666666667"
expect nivel 1 ""
tick Timer2
expect caption nivel2 0 "0,6666666667"
type "9/"
expect backcolor estado 7 "192,0,0"
)",
                                      &failed);
    EXPECT_EQ(out, "4 passed, 0 failed\n");
    EXPECT_EQ(failed, 0);
}

TEST(ReplayScripts, FailuresAndErrorsAreCountedAndNamed) {
    int failed = 0;
    const std::string out = runScript(R"(# a comment

click numero 7
expect nivel 0 "8"
print nivel 0
frobnicate
click nosuch 1
click listmemory 1 x
tick Timer7
expect nivel 0
expect nivel 21 "x"
expect window height "7530"
)",
                                      &failed);
    EXPECT_EQ(out,
              "FAIL line 4: nivel 0: got \"7\", expected \"8\"\n"
              "\"7\"\n"
              "ERROR line 6: unknown command frobnicate\n"
              "ERROR line 7: no control nosuch 1\n"
              "ERROR line 8: bad item x\n"
              "ERROR line 9: no timer Timer7\n"
              "ERROR line 10: expect needs a query and a quoted value\n"
              "ERROR line 11: nivel needs a register 0 to 20\n"
              "1 passed, 7 failed\n");
    EXPECT_EQ(failed, 7);
}

TEST(ReplayScripts, TypeSendsOneKeyPerCharacter) {
    // "ñ" is one character (one key press, ignored by the keyboard map).
    const std::string out = runScript("type \"12ñ3\"\nexpect nivel 0 \"123\"\nkey 8\nexpect nivel 0 \"12\"\n");
    EXPECT_EQ(out, "2 passed, 0 failed\n");
}

TEST(ReplayScripts, FakeServicesAnswerQueries) {
    const std::string out = runScript(R"(clipboard "4,5"
click tecla 48
expect nivel 0 "4,5"
click tecla 6
click numero 9
click tecla 47
expect clipboard "9"
now "2030-12-31 23:59:58"
tick Timer1
expect caption estado 4 "23:59:58"
now "2030-12-31"
expect tempcelsius "10"
expect printed "0"
)");
    EXPECT_EQ(out, "ERROR line 11: now needs \"YYYY-MM-DD HH:MM:SS\"\n5 passed, 1 failed\n");
}

}  // namespace
}  // namespace morvane
