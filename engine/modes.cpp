#include "modes.h"

namespace morvane {

std::string_view angleCaption(AngleUnit unit) {
    switch (unit) {
        case AngleUnit::Grads:
            return "GRA";
        case AngleUnit::Radians:
            return "RAD";
        case AngleUnit::Degrees:
            break;
    }
    return "DEG";
}

AngleUnit nextAngle(AngleUnit unit) {
    switch (unit) {
        case AngleUnit::Degrees:
            return AngleUnit::Grads;
        case AngleUnit::Grads:
            return AngleUnit::Radians;
        case AngleUnit::Radians:
            break;
    }
    return AngleUnit::Degrees;
}

}  // namespace morvane
