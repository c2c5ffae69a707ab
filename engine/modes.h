// The modes that the keys read: the angle unit of the trigonometric keys
// and the display's decimals. The status line shows them.
#pragma once

#include <string>
#include <string_view>

namespace morvane {

enum class AngleUnit { Degrees, Grads, Radians };

// "DEG", "GRA", "RAD": the status line's caption.
std::string_view angleCaption(AngleUnit unit);
// A click on the angle label: degrees, grads, radians, degrees again.
AngleUnit nextAngle(AngleUnit unit);

// The display's decimals: every significant decimal, or a fixed count from
// 9 down to 0.
class Decimals {
public:
    static constexpr int kAll = -1;
    Decimals() = default;
    explicit Decimals(int count) : count_(count < 0 || count > 9 ? kAll : count) {}
    bool all() const { return count_ == kAll; }
    int count() const { return count_; }  // kAll for every decimal
    // A click on the decimals label: all, 9, 8, ... 0, all again.
    Decimals next() const { return all() ? Decimals(9) : count_ == 0 ? Decimals() : Decimals(count_ - 1); }
    // "X" for every decimal, else the count's digit.
    std::string caption() const { return all() ? "X" : std::string(1, static_cast<char>('0' + count_)); }
    bool operator==(const Decimals& o) const { return count_ == o.count_; }
    bool operator!=(const Decimals& o) const { return count_ != o.count_; }

private:
    int count_ = kAll;
};

}  // namespace morvane
