#include "fur.h"

#include <cmath>
#include <numbers>

namespace art {

namespace {

double stripeAmount(const Stripes& s, Vec p, unsigned seed) {
    const Vec d = p - s.origin;
    double across = 0, along = 0;
    if (s.kind == Stripes::Kind::Bands) {
        const double a = s.angleDeg * std::numbers::pi / 180.0;
        across = d.x * std::cos(a) + d.y * std::sin(a);
        along = -d.x * std::sin(a) + d.y * std::cos(a);
    } else {
        across = std::hypot(d.x, d.y);
        along = std::atan2(d.y, d.x) * across;
    }
    across += s.wave * std::sin(2 * std::numbers::pi * along / s.waveLength);
    across += s.irregular * s.period * valueNoise(p.x * 0.18, p.y * 0.18, seed + 17);
    double phase = across / s.period;
    phase -= std::floor(phase);
    // Distance from the middle of the dark band, in periods; soft edges a tenth of a period wide.
    double fromMiddle = std::fabs(phase - s.duty / 2);
    if (fromMiddle > 0.5) fromMiddle = 1.0 - fromMiddle;
    const double patch =
        1.0 - s.broken * clamp01(0.5 + valueNoise(p.x * 0.3, p.y * 0.3, seed + 29));
    return patch * (1.0 - smoothstep(s.duty / 2 - 0.08, s.duty / 2 + 0.08, fromMiddle));
}

}  // namespace

Paint furPaint(const Fur& fur) {
    return [fur](Vec p, Colour) {
        const double dx = (p.x - fur.centre.x) / fur.rx, dy = (p.y - fur.centre.y) / fur.ry;
        const double r = std::hypot(dx, dy);
        Colour c = fur.base;
        const double lit = clamp01(1.0 - std::hypot(dx + 0.35, dy + 0.45) / 1.1);
        c = mix(c, fur.light, fur.highlight * lit);
        c = mix(c, fur.dark, fur.rim * smoothstep(0.55, 1.1, r));
        if (fur.stripes.kind != Stripes::Kind::None) {
            const double fade =
                fur.stripes.fadeInside > 0
                    ? smoothstep(fur.stripes.fadeInside * 0.6, fur.stripes.fadeInside, r)
                    : 1.0;
            c = mix(c, fur.stripes.colour,
                    fur.stripes.strength * fade * stripeAmount(fur.stripes, p, fur.seed));
        }
        // Strands: fine across the fur direction, long along it.
        const double a = fur.strandAngle * std::numbers::pi / 180.0;
        const double along = p.x * std::cos(a) + p.y * std::sin(a);
        const double across = -p.x * std::sin(a) + p.y * std::cos(a);
        const double n = 0.65 * valueNoise(across * 1.6, along * 0.35, fur.seed) +
                         0.35 * valueNoise(across * 3.1, along * 0.7, fur.seed + 5);
        const double k = 1.0 + fur.grain * n;
        return Colour{c.r * k, c.g * k, c.b * k};
    };
}

Paint radialPaint(Vec centre, double radius, Colour inner, Colour outer) {
    return [=](Vec p, Colour) {
        return mix(inner, outer, clamp01(std::hypot(p.x - centre.x, p.y - centre.y) / radius));
    };
}

}  // namespace art
