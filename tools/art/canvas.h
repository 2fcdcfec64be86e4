// A supersampled drawing surface for the cat pictures and the preview.
//
// Coordinates are in output pixels (x right, y down, pixel (i, j) covers [i, i+1) x [j, j+1)); the
// canvas keeps `ss` x `ss` samples per pixel. Every sample holds a colour and whether any
// silhouette shape covers it. Shapes are painted in order, the later over the earlier. A shape on
// the Silhouette layer paints and marks its samples covered; a Marking paints only samples already
// covered and never widens the outline. The coverage therefore decides both outputs: a pixel
// belongs to the mask when at least half its samples are covered, and its picture colour is the
// mean of its covered samples; every other pixel is pure white in the picture.
#pragma once

#include <functional>
#include <vector>

#include "image.h"

namespace art {

struct Vec {
    double x = 0, y = 0;
};
inline Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(Vec a, double k) {
    return {a.x * k, a.y * k};
}

// Linear colour with channels in 0..255.
struct Colour {
    double r = 0, g = 0, b = 0;
};
Colour toColour(Rgb c);
Rgb toRgb(Colour c);
Colour mix(Colour a, Colour b, double t);
inline Colour rgb(int r, int g, int b) {
    return {double(r), double(g), double(b)};
}

double clamp01(double v);
double smoothstep(double edge0, double edge1, double v);
// Deterministic value noise in [-1, 1], smooth at the scale of one unit.
double valueNoise(double x, double y, unsigned seed);

// The colour a shape gives the sample at a point, knowing the colour already there (which lets a
// shadow darken what it falls on).
using Paint = std::function<Colour(Vec, Colour)>;
inline Paint solid(Colour c) {
    return [c](Vec, Colour) { return c; };
}
// Moves what is there toward `tint` by `amount`.
Paint darken(Colour tint, double amount);
// Darkens toward `tint` by `amount` at the centre of an ellipse, fading to nothing at its rim.
Paint shadow(Vec centre, double rx, double ry, Colour tint, double amount);

// A chain of cubic Bezier segments from `start`. Closed paths return to the start implicitly.
struct Path {
    struct Cubic {
        Vec c1, c2, end;
    };
    Vec start;
    std::vector<Cubic> segments;

    explicit Path(Vec from = {}) : start(from) {}

    Path& curveTo(Vec c1, Vec c2, Vec end);
    Path& lineTo(Vec end);
    std::vector<Vec> flatten(int stepsPerSegment = 24) const;
    Path mirroredX(double axis) const;
};

// A smooth closed (or open) curve through `points` (a Catmull-Rom spline as Bezier segments).
Path smoothThrough(const std::vector<Vec>& points, bool closed);

enum class Layer { Silhouette, Marking };

class Canvas {
  public:
    Canvas(int width, int height, int samplesPerAxis);

    void fillEllipse(Vec centre, double rx, double ry, double angleDeg, const Paint& paint,
                     Layer layer = Layer::Silhouette);
    void fillPath(const Path& path, const Paint& paint, Layer layer = Layer::Silhouette);
    // A round-capped line along an open path whose width runs from w0 to w1.
    void stroke(const Path& path, double w0, double w1, const Paint& paint,
                Layer layer = Layer::Silhouette);

    Image picture() const;
    Image mask() const;
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    struct Sample {
        Colour colour;
        bool covered = false;
    };
    void paintSample(int sx, int sy, const Paint& paint, Layer layer);
    Vec samplePoint(int sx, int sy) const;
    bool pixelInMask(int x, int y) const;

    int width_, height_, ss_;
    std::vector<Sample> samples_;
};

}  // namespace art
