// The converter's tables: the categories of its index, the units of each
// linear category with the factor of each unit (how many of the unit make
// one base unit of its category), and the temperature scales.
#pragma once

#include <string_view>
#include <vector>

namespace morvane::panels {

struct UnitRow {
    int index;     // unidad(index)
    int category;  // its table subconvert(category), 1 to 7
    std::string_view caption;
    double factor;
};

struct CategoryRow {
    int index;  // ctype(index); the unit table subconvert(index)
    std::string_view caption;
    std::string_view number;  // the decorative number beside it
    bool visible;
};

// Rows in display order: in each table the left column top to bottom, then
// the right column; the first row of a table is its base unit.
const std::vector<UnitRow>& unitTable();
const std::vector<CategoryRow>& categoryTable();
// The four scales, by index: fahrenheit, rankine, celsius, kelvin.
const std::vector<std::string_view>& temperatureScales();

}  // namespace morvane::panels
