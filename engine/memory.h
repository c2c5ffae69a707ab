// The list of stored values that ">MEM" fills and the memory panel shows.
// Its version changes with every change, so that a view redraws only then.
#pragma once

#include <string>
#include <vector>

namespace morvane {

class StoredValues {
public:
    const std::vector<std::string>& items() const { return items_; }
    const unsigned& version() const { return version_; }
    size_t size() const { return items_.size(); }

    void push(std::string value) {
        items_.push_back(std::move(value));
        ++version_;
    }
    void erase(size_t i) {
        if (i >= items_.size()) return;
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
        ++version_;
    }
    void clear() {
        items_.clear();
        ++version_;
    }

private:
    std::vector<std::string> items_;
    unsigned version_ = 0;
};

}  // namespace morvane
