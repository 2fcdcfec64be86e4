// Paints for the cats: shaded fur with grain and optional tabby stripes.
#pragma once

#include "canvas.h"

namespace art {

struct Stripes {
    enum class Kind { None, Bands, Rings };
    Kind kind = Kind::None;
    Colour colour;
    Vec origin;               // Bands: a point on a band edge; Rings: the centre
    double angleDeg = 90;     // Bands: direction across the bands (90 = horizontal bands)
    double period = 6;        // distance from one band to the next
    double duty = 0.4;        // fraction of the period that is dark
    double wave = 0;          // sideways wobble of the bands
    double waveLength = 20;   // and its length
    double strength = 0.8;    // 0 = invisible, 1 = full stripe colour
    double fadeInside = 0;    // bands fade out inside this normalised radius of the fur volume
    double irregular = 0.35;  // how far the bands wander, in periods
    double broken = 0.4;      // how much the bands break up into patches
};

struct Fur {
    Colour base, light, dark;
    Vec centre;  // the volume used for shading: lit toward the upper left, darker at the rim
    double rx = 10, ry = 10;
    double highlight = 0.5;
    double rim = 0.5;
    double grain = 0.08;      // strength of the strand texture
    double strandAngle = 90;  // fur direction in degrees (90 = hanging down)
    unsigned seed = 1;
    Stripes stripes;
};

Paint furPaint(const Fur& fur);

// A disc of colour running from `inner` at the centre to `outer` at the radius.
Paint radialPaint(Vec centre, double radius, Colour inner, Colour outer);

}  // namespace art
