#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace art {

Colour toColour(Rgb c) {
    return {double(c.r), double(c.g), double(c.b)};
}

Rgb toRgb(Colour c) {
    auto channel = [](double v) {
        return std::uint8_t(std::clamp(std::floor(v + 0.5), 0.0, 255.0));
    };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

Colour mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

double smoothstep(double edge0, double edge1, double v) {
    const double t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

namespace {

double latticeValue(int x, int y, unsigned seed) {
    std::uint32_t h =
        std::uint32_t(x) * 0x8da6b343u ^ std::uint32_t(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return double(h & 0xFFFFu) / 32767.5 - 1.0;
}

}  // namespace

double valueNoise(double x, double y, unsigned seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const double tx = smoothstep(0.0, 1.0, x - fx), ty = smoothstep(0.0, 1.0, y - fy);
    const double top = latticeValue(ix, iy, seed) +
                       (latticeValue(ix + 1, iy, seed) - latticeValue(ix, iy, seed)) * tx;
    const double bottom =
        latticeValue(ix, iy + 1, seed) +
        (latticeValue(ix + 1, iy + 1, seed) - latticeValue(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

Paint darken(Colour tint, double amount) {
    return [=](Vec, Colour under) { return mix(under, tint, amount); };
}

Paint shadow(Vec centre, double rx, double ry, Colour tint, double amount) {
    return [=](Vec p, Colour under) {
        const double r = std::hypot((p.x - centre.x) / rx, (p.y - centre.y) / ry);
        return mix(under, tint, amount * (1.0 - smoothstep(0.0, 1.0, r)));
    };
}

Path& Path::curveTo(Vec c1, Vec c2, Vec end) {
    segments.push_back({c1, c2, end});
    return *this;
}

Path& Path::lineTo(Vec end) {
    const Vec from = segments.empty() ? start : segments.back().end;
    return curveTo(from + (end - from) * (1.0 / 3.0), from + (end - from) * (2.0 / 3.0), end);
}

std::vector<Vec> Path::flatten(int stepsPerSegment) const {
    std::vector<Vec> points{start};
    Vec from = start;
    for (const Cubic& c : segments) {
        for (int i = 1; i <= stepsPerSegment; ++i) {
            const double t = double(i) / stepsPerSegment, u = 1.0 - t;
            points.push_back(from * (u * u * u) + c.c1 * (3 * u * u * t) + c.c2 * (3 * u * t * t) +
                             c.end * (t * t * t));
        }
        from = c.end;
    }
    return points;
}

Path Path::mirroredX(double axis) const {
    auto flip = [axis](Vec v) { return Vec{2 * axis - v.x, v.y}; };
    Path out{flip(start)};
    for (const Cubic& c : segments) out.segments.push_back({flip(c.c1), flip(c.c2), flip(c.end)});
    return out;
}

Path smoothThrough(const std::vector<Vec>& points, bool closed) {
    const std::size_t n = points.size();
    auto at = [&](std::ptrdiff_t i) {
        if (closed) return points[std::size_t((i + std::ptrdiff_t(n)) % std::ptrdiff_t(n))];
        return points[std::size_t(std::clamp<std::ptrdiff_t>(i, 0, std::ptrdiff_t(n) - 1))];
    };
    Path path{points[0]};
    const std::size_t count = closed ? n : n - 1;
    for (std::size_t k = 0; k < count; ++k) {
        const auto i = std::ptrdiff_t(k);
        const Vec p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        path.curveTo(p1 + (p2 - p0) * (1.0 / 6.0), p2 - (p3 - p1) * (1.0 / 6.0), p2);
    }
    return path;
}

Canvas::Canvas(int width, int height, int samplesPerAxis)
    : width_(width),
      height_(height),
      ss_(samplesPerAxis),
      samples_(std::size_t(width) * height * samplesPerAxis * samplesPerAxis) {}

Vec Canvas::samplePoint(int sx, int sy) const {
    return {(sx + 0.5) / ss_, (sy + 0.5) / ss_};
}

void Canvas::paintSample(int sx, int sy, const Paint& paint, Layer layer) {
    if (sx < 0 || sy < 0 || sx >= width_ * ss_ || sy >= height_ * ss_) return;
    Sample& s = samples_[std::size_t(sy) * width_ * ss_ + sx];
    if (layer == Layer::Marking && !s.covered) return;
    s.colour = paint(samplePoint(sx, sy), s.colour);
    if (layer == Layer::Silhouette) s.covered = true;
}

void Canvas::fillEllipse(Vec centre, double rx, double ry, double angleDeg, const Paint& paint,
                         Layer layer) {
    const double a = angleDeg * std::numbers::pi / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const double reach = std::max(rx, ry);
    const int x0 = int(std::floor((centre.x - reach) * ss_)),
              x1 = int(std::ceil((centre.x + reach) * ss_));
    const int y0 = int(std::floor((centre.y - reach) * ss_)),
              y1 = int(std::ceil((centre.y + reach) * ss_));
    for (int sy = y0; sy <= y1; ++sy)
        for (int sx = x0; sx <= x1; ++sx) {
            const Vec d = samplePoint(sx, sy) - centre;
            const double u = (d.x * c + d.y * s) / rx, v = (-d.x * s + d.y * c) / ry;
            if (u * u + v * v <= 1.0) paintSample(sx, sy, paint, layer);
        }
}

void Canvas::fillPath(const Path& path, const Paint& paint, Layer layer) {
    const std::vector<Vec> poly = path.flatten();
    double top = poly[0].y, bottom = poly[0].y;
    for (const Vec& p : poly) top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    const int y0 = int(std::floor(top * ss_)), y1 = int(std::ceil(bottom * ss_));
    std::vector<double> crossings;
    for (int sy = y0; sy <= y1; ++sy) {
        const double y = (sy + 0.5) / ss_;
        crossings.clear();
        for (std::size_t i = 0; i < poly.size(); ++i) {
            const Vec a = poly[i], b = poly[(i + 1) % poly.size()];
            if ((a.y <= y) != (b.y <= y))
                crossings.push_back(a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Samples whose centre lies inside the span [left, right).
            const int first = int(std::ceil(crossings[i] * ss_ - 0.5));
            const int last = int(std::ceil(crossings[i + 1] * ss_ - 0.5)) - 1;
            for (int sx = first; sx <= last; ++sx) paintSample(sx, sy, paint, layer);
        }
    }
}

void Canvas::stroke(const Path& path, double w0, double w1, const Paint& paint, Layer layer) {
    const std::vector<Vec> line = path.flatten(16);
    std::vector<double> along(line.size(), 0.0);
    for (std::size_t i = 1; i < line.size(); ++i) {
        const Vec d = line[i] - line[i - 1];
        along[i] = along[i - 1] + std::hypot(d.x, d.y);
    }
    const double total = std::max(along.back(), 1e-9);
    const double reach = std::max(w0, w1) / 2;
    double left = line[0].x, right = left, top = line[0].y, bottom = top;
    for (const Vec& p : line) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    const int x0 = int(std::floor((left - reach) * ss_)),
              x1 = int(std::ceil((right + reach) * ss_));
    const int y0 = int(std::floor((top - reach) * ss_)),
              y1 = int(std::ceil((bottom + reach) * ss_));
    for (int sy = y0; sy <= y1; ++sy)
        for (int sx = x0; sx <= x1; ++sx) {
            const Vec p = samplePoint(sx, sy);
            bool inside = false;
            for (std::size_t i = 0; i + 1 < line.size() && !inside; ++i) {
                const Vec a = line[i], d = line[i + 1] - a;
                const double len2 = d.x * d.x + d.y * d.y;
                double t = len2 > 0 ? ((p.x - a.x) * d.x + (p.y - a.y) * d.y) / len2 : 0.0;
                t = clamp01(t);
                const Vec q = a + d * t;
                const double at = (along[i] + (along[i + 1] - along[i]) * t) / total;
                const double half = (w0 + (w1 - w0) * at) / 2;
                inside = std::hypot(p.x - q.x, p.y - q.y) <= half;
            }
            if (inside) paintSample(sx, sy, paint, layer);
        }
}

bool Canvas::pixelInMask(int x, int y) const {
    int covered = 0;
    for (int sy = y * ss_; sy < (y + 1) * ss_; ++sy)
        for (int sx = x * ss_; sx < (x + 1) * ss_; ++sx)
            covered += samples_[std::size_t(sy) * width_ * ss_ + sx].covered ? 1 : 0;
    return 2 * covered >= ss_ * ss_;
}

Image Canvas::mask() const {
    Image out(width_, height_, kBlack);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (pixelInMask(x, y)) out.at(x, y) = kWhite;
    return out;
}

Image Canvas::picture() const {
    Image out(width_, height_, kWhite);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            if (!pixelInMask(x, y)) continue;
            Colour sum;
            int n = 0;
            for (int sy = y * ss_; sy < (y + 1) * ss_; ++sy)
                for (int sx = x * ss_; sx < (x + 1) * ss_; ++sx) {
                    const Sample& s = samples_[std::size_t(sy) * width_ * ss_ + sx];
                    if (!s.covered) continue;
                    sum = {sum.r + s.colour.r, sum.g + s.colour.g, sum.b + s.colour.b};
                    ++n;
                }
            out.at(x, y) = toRgb({sum.r / n, sum.g / n, sum.b / n});
        }
    return out;
}

}  // namespace art
