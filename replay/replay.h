// morvane-replay: runs a script of events and checks against the window
// model with fake platform services.
#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fake.h"
#include "window/model.h"

namespace morvane {

class Replay {
public:
    // `separator`: the regional decimal separator at start (the fake's
    // default is '.').
    explicit Replay(std::ostream& out, char separator = '.');

    // Runs one script line (numbered for messages).
    void line(const std::string& text, int number);
    // Runs a whole script and writes the summary line.
    void run(std::istream& in);
    void summary();

    int passed() const { return passed_; }
    int failed() const { return failed_; }

    platform::FakeServices fakes;
    platform::FakeClipboard& clipboard = fakes.clipboard;
    platform::FakeRegional& regional = fakes.regional;
    platform::FakeBrowser& browser = fakes.browser;
    platform::FakePrinter& printer = fakes.printer;
    platform::FakeWindowSystem& window = fakes.window;
    std::unique_ptr<Calculadora> calc;

private:
    struct Line;
    struct Command {
        std::string_view name;
        std::string (Replay::*run)(const Line&);
    };
    static const Command kCommands[];

    // Reads one query; false with a reason when it cannot be answered.
    bool query(const std::vector<std::string>& tokens, size_t from, size_t to, std::string& value, std::string& why);
    std::string check(const Line& l);
    std::string clickOrMove(const Line& l);
    std::string wheel(const Line& l);
    std::string key(const Line& l);
    std::string type(const Line& l);
    std::string tick(const Line& l);
    std::string press(const Line& l);
    std::string drag(const Line& l);
    std::string setClipboard(const Line& l);
    std::string setPrinter(const Line& l);
    std::string now(const Line& l);
    std::string separator(const Line& l);
    void error(int number, const std::string& why);
    std::ostream& out_;
    int passed_ = 0, failed_ = 0;
};

// Splits a script line into tokens: bare words, or double-quoted strings
// with the escapes \t \n \" \\, and \d for the decimal separator in force
// when `decimal` is given (so that one script runs under either separator).
// False with a reason on a malformed line.
bool tokenize(const std::string& line, std::vector<std::string>& tokens, std::vector<bool>& quoted, std::string& why,
              char decimal = 0);

// Writes a value in double quotes with the same escapes.
std::string quote(const std::string& value);

}  // namespace morvane
