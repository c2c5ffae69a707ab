// The trigonometric keys, their hyperbolic counterparts, the polar and
// rectangular conversions, and the angle conversion `transformar` between
// the current angle unit and radians.
#include <cmath>

#include "checked.h"
#include "engine.h"

namespace morvane {

void Engine::transformar(int mode) {
    if (angle == AngleUnit::Radians || (mode != 1 && mode != 2)) return;
    const double turn = angle == AngleUnit::Degrees ? 180 : 200;  // a half turn in the unit
    const double factor = mode == 1 ? kPi / turn : turn / kPi;
    regs.log() = text(value(regs.log()) * factor);
}

// SIN, COS, TAN: the angle in the current unit; with the hyperbolic prefix,
// the hyperbolic function of the log, which clears the prefix.
void Engine::circular(const Operands& o, double (*f)(double), double (*hyperbolicF)(double)) {
    if (hyperbolic) {
        regs.log() = text(hyperbolicF(value(o.x)));
        hyperbolic = false;
        return;
    }
    transformar(1);
    regs.log() = text(f(value(regs.log())));
}

// asin, acos, atan: the angle in the current unit; with the hyperbolic
// prefix, the inverse hyperbolic function, which clears the prefix.
void Engine::inverse(const Operands& o, Key key) {
    const double v = value(o.x);
    if (hyperbolic) {
        double r;
        if (key == Key::Asin) {
            r = std::asinh(v);
        } else if (key == Key::Acos) {
            if (v < 1) throw Failure{kInvalidArgument};
            r = std::acosh(v);
        } else {
            if (v == 1) throw Failure{kDivisionByZero};
            if (v <= -1 || v > 1) throw Failure{kInvalidArgument};
            r = std::atanh(v);
        }
        regs.log() = text(r);
        hyperbolic = false;
        return;
    }
    const double halfPi = 2 * std::atan(1.0);
    double r;
    if (key == Key::Atan) {
        r = std::atan(v);
    } else {
        if (v > 1 || v < -1) throw Failure{kInvalidArgument};
        if (key == Key::Asin)
            r = v == 1 ? halfPi : v == -1 ? -halfPi : std::atan(v / std::sqrt(1 - v * v));
        else
            r = v == 1 ? 0 : v == -1 ? 2 * halfPi : std::atan(-v / std::sqrt(1 - v * v)) + halfPi;
    }
    regs.log() = text(r);
    transformar(2);
}

// x,y: the log is the angle, level 1 the radius; level 1 receives x and the
// log y.
void Engine::toRectangular(const Operands& o) {
    transformar(1);
    const double a = value(regs.log());
    const double r = value(o.y);
    const std::string lv1 = text(std::cos(a) * r);
    const std::string lv0 = text(std::sin(a) * r);
    regs.cur[1] = lv1;
    regs.log() = lv0;
}

// r,a: level 1 is x, the log y; level 1 receives the radius and the log
// the angle.
void Engine::toPolar(const Operands& o) {
    // Adding zero turns a negative zero into zero, so the origin has the
    // angle 0 and the negative half axis the half turn.
    const double yv = value(o.y) + 0.0, xv = value(o.x) + 0.0;
    const double radius = std::sqrt(chk(chk(std::pow(yv, 2)) + chk(std::pow(xv, 2))));
    regs.cur[1] = text(radius);
    regs.log() = text(std::atan2(xv, yv));
    transformar(2);
}

}  // namespace morvane
