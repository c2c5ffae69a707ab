// In-memory platform services for the replay driver and the tests.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "services.h"

namespace morvane::platform {

class FakeClipboard : public Clipboard {
public:
    std::string content;
    std::string selection;
    bool failing = false;
    // A slow owner: reads wait in `waiting` (with their bounds) until answer().
    bool slow = false;
    std::vector<std::pair<size_t, TextReply>> waiting;
    bool setText(const std::string& t) override {
        if (failing) return false;
        content = t;
        return true;
    }
    void readText(size_t bound, TextReply reply) override {
        if (slow) {
            waiting.emplace_back(bound, std::move(reply));
            return;
        }
        give(bound, reply);
    }
    bool setSelection(const std::string& t) override {
        if (failing) return false;
        selection = t;
        return true;
    }
    // Answers the reads that wait, with what the clipboard holds now.
    void answer() {
        std::vector<std::pair<size_t, TextReply>> w;
        w.swap(waiting);
        for (auto& [bound, reply] : w) give(bound, reply);
    }

private:
    void give(size_t bound, const TextReply& reply) const {
        if (failing)
            reply(Read::Failed, {});
        else if (content.size() > bound)
            reply(Read::TooLong, {});
        else
            reply(Read::Text, content);
    }
};

// The fake regional settings write the time as HH:MM:SS and the short date
// as DD/MM/YYYY from a settable clock.
class FakeRegional : public Regional {
public:
    char separator = '.';
    int year = 2026, month = 1, day = 2, hour = 10, minute = 11, second = 12;
    char decimalSeparator() override { return separator; }
    std::string timeText() override { return two(hour) + ":" + two(minute) + ":" + two(second); }
    std::string shortDateText() override { return two(day) + "/" + two(month) + "/" + std::to_string(year); }
    long long clockMs() override {
        // Days from the civil date (proleptic Gregorian), then the time of day.
        const int y = month <= 2 ? year - 1 : year;
        const int era = (y >= 0 ? y : y - 399) / 400;
        const int yoe = y - era * 400;
        const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
        const long long days = static_cast<long long>(era) * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return ((days * 24 + hour) * 60 + minute) * 60000LL + second * 1000LL;
    }
    // "YYYY-MM-DD HH:MM:SS"; false when the text has another shape.
    bool set(const std::string& t);

private:
    static std::string two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }
};

class FakeBrowser : public Browser {
public:
    std::vector<std::string> opened;
    bool open(const std::string& address) override {
        opened.push_back(address);
        return true;
    }
};

// Records each page that reaches it; with ok false it refuses them. A slow
// printer holds its replies in `waiting` until answer().
class FakePrinter : public Printer {
public:
    bool ok = true;
    bool slow = false;
    std::vector<PrintPage> pages;
    std::vector<std::pair<PrintPage, Reply>> waiting;
    void print(const PrintPage& page, Reply reply) override {
        if (slow) {
            waiting.emplace_back(page, std::move(reply));
            return;
        }
        take(page, reply);
    }
    // Answers the pages that wait, as the printer is now.
    void answer() {
        std::vector<std::pair<PrintPage, Reply>> w;
        w.swap(waiting);
        for (auto& [page, reply] : w) take(page, reply);
    }

private:
    void take(const PrintPage& page, const Reply& reply) {
        if (ok) pages.push_back(page);
        reply(ok);
    }
};

class FakeWindowSystem : public WindowSystem {
public:
    int left = 0, top = 0, width = 0, height = 0;
    int regionW = 0, regionH = 0, regionR = 0;
    bool topmost = false, visible = true, minimized = false, ended = false;
    int repaints = 0;
    int cursorX = 0, cursorY = 0;
    bool cursorOk = true;
    // The screen's free part, when one is known.
    bool hasArea = false;
    ScreenArea area;
    int areaAskedX = 0, areaAskedY = 0;  // the point last asked about
    // A compositor that places the window itself and moves it on request.
    bool places = true, systemMoveOk = true, above = true;
    int systemMoves = 0;
    void setGeometry(int l, int t, int w, int h) override {
        left = l;
        top = t;
        width = w;
        height = h;
    }
    void setRoundRegion(int w, int h, int r) override {
        regionW = w;
        regionH = h;
        regionR = r;
    }
    void setTopmost(bool on) override { topmost = on; }
    void setVisible(bool on) override { visible = on; }
    void minimize() override { minimized = true; }
    void repaint() override { ++repaints; }
    void quit() override { ended = true; }
    bool cursorPos(int& x, int& y) override {
        x = cursorX;
        y = cursorY;
        return cursorOk;
    }
    bool availableArea(int x, int y, ScreenArea& a) override {
        areaAskedX = x;
        areaAskedY = y;
        if (hasArea) a = area;
        return hasArea;
    }
    bool placesWindow() override { return places; }
    bool startSystemMove() override {
        ++systemMoves;
        return systemMoveOk;
    }
    bool keepsAbove() override { return above; }
};

// One of each fake, and the services they make up.
struct FakeServices {
    FakeClipboard clipboard;
    FakeRegional regional;
    FakeBrowser browser;
    FakePrinter printer;
    FakeWindowSystem window;
    Services services() {
        Services s;
        s.clipboard = &clipboard;
        s.regional = &regional;
        s.browser = &browser;
        s.printer = &printer;
        s.window = &window;
        return s;
    }
};

inline bool FakeRegional::set(const std::string& t) {
    int y, mo, d, h, mi, s;
    char a, b, c, e, f;
    if (t.size() != 19) return false;
    if (std::sscanf(t.c_str(), "%4d%c%2d%c%2d%c%2d%c%2d%c%2d", &y, &a, &mo, &b, &d, &c, &h, &e, &mi, &f, &s) != 11)
        return false;
    if (a != '-' || b != '-' || c != ' ' || e != ':' || f != ':') return false;
    year = y;
    month = mo;
    day = d;
    hour = h;
    minute = mi;
    second = s;
    return true;
}

}  // namespace morvane::platform
