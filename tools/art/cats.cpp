#include "cats.h"

#include <cmath>
#include <numbers>

#include "fur.h"

namespace art {

namespace {

CatDesign greyTabbyAndWhite() {
    CatDesign d;
    d.width = 105, d.height = 170, d.midX = 52;
    d.head = {52, 37}, d.headRx = 31, d.headRy = 25;
    d.cheekDx = 17, d.cheekDy = 9, d.cheekRx = 19, d.cheekRy = 15;
    d.earTip = {18, 1.0}, d.earOuterBase = {17, 33}, d.earInnerBase = {43, 15};
    d.neckY = 52, d.neckHalf = 24, d.chestY = 90, d.chestHalf = 31;
    d.hipY = 130, d.hipHalf = 40, d.bottomY = 163, d.bottomHalf = 37;
    d.haunch = {25, 135}, d.haunchRx = 23, d.haunchRy = 28;
    d.legX = 42, d.legHalf = 7, d.legTopY = 80;
    d.paw = {41, 152}, d.pawRx = 9, d.pawRy = 6;
    d.tail = smoothThrough(
        {{88, 150}, {98, 157.5}, {84, 161.8}, {58, 162.3}, {37, 161}, {26, 156.5}, {23, 149}},
        false);
    d.tailWidth = 10, d.tailTipWidth = 7.5;
    d.eyeX = 39, d.eyeY = 36, d.eyeRx = 7, d.eyeRy = 5.6, d.eyeTilt = -12;
    d.noseY = 48, d.noseHalf = 3.8;

    d.fur = rgb(126, 124, 120), d.furLight = rgb(178, 175, 168), d.furDark = rgb(72, 70, 68);
    d.stripe = rgb(46, 44, 44), d.stripeStrength = 0.85;
    d.whiteMarkings = true;
    d.white = rgb(247, 246, 243), d.whiteShade = rgb(196, 196, 202);
    d.muzzle = d.white;
    d.innerEar = rgb(232, 168, 170), d.nose = rgb(222, 138, 148);
    d.irisInner = rgb(214, 222, 110), d.irisOuter = rgb(122, 150, 48);
    d.whisker = rgb(250, 250, 250);
    d.seed = 11;
    return d;
}

CatDesign darkGreyTabby() {
    CatDesign d;
    d.width = 100, d.height = 185, d.midX = 49;
    d.head = {49, 40}, d.headRx = 29, d.headRy = 25;
    d.cheekDx = 16, d.cheekDy = 9, d.cheekRx = 18, d.cheekRy = 15;
    d.earTip = {16, 1.0}, d.earOuterBase = {16, 36}, d.earInnerBase = {40, 18};
    d.neckY = 56, d.neckHalf = 23, d.chestY = 100, d.chestHalf = 30;
    d.hipY = 145, d.hipHalf = 38, d.bottomY = 179, d.bottomHalf = 36;
    d.haunch = {23, 150}, d.haunchRx = 22, d.haunchRy = 31;
    d.legX = 39, d.legHalf = 6.8, d.legTopY = 88;
    d.paw = {38.5, 168}, d.pawRx = 8.8, d.pawRy = 6;
    d.tail = smoothThrough(
        {{83, 166}, {90.5, 172.5}, {78, 177.8}, {55, 178.3}, {35, 177}, {24, 172.5}, {21, 165}},
        false);
    d.tailWidth = 10, d.tailTipWidth = 7.5;
    d.eyeX = 37, d.eyeY = 39, d.eyeRx = 6.8, d.eyeRy = 5.8, d.eyeTilt = -10;
    d.noseY = 51, d.noseHalf = 3.6;

    d.fur = rgb(86, 86, 88), d.furLight = rgb(132, 132, 134), d.furDark = rgb(42, 42, 44);
    d.stripe = rgb(28, 28, 30), d.stripeStrength = 0.8;
    d.whiteMarkings = false;
    d.white = rgb(230, 230, 228), d.whiteShade = rgb(170, 170, 172);
    d.muzzle = rgb(150, 148, 145);
    d.innerEar = rgb(190, 140, 142), d.nose = rgb(128, 86, 92);
    d.irisInner = rgb(236, 196, 82), d.irisOuter = rgb(172, 118, 32);
    d.whisker = rgb(236, 236, 236);
    d.seed = 23;
    return d;
}

// The right-hand twin of a left-hand point.
Vec mirror(const CatDesign& d, Vec v) {
    return {2 * d.midX - v.x, v.y};
}

Fur baseFur(const CatDesign& d, Vec centre, double rx, double ry, unsigned seedOffset) {
    Fur f;
    f.base = d.fur, f.light = d.furLight, f.dark = d.furDark;
    f.centre = centre, f.rx = rx, f.ry = ry;
    f.seed = d.seed + seedOffset;
    return f;
}

Fur whiteFur(const CatDesign& d, Vec centre, double rx, double ry, unsigned seedOffset) {
    Fur f;
    f.base = d.white, f.light = rgb(255, 255, 255), f.dark = d.whiteShade;
    f.centre = centre, f.rx = rx, f.ry = ry;
    f.rim = 0.6, f.grain = 0.04;
    f.seed = d.seed + seedOffset;
    return f;
}

Stripes bands(const CatDesign& d, Vec origin, double angleDeg, double period, double duty) {
    Stripes s;
    s.kind = Stripes::Kind::Bands;
    s.colour = d.stripe, s.strength = d.stripeStrength;
    s.origin = origin, s.angleDeg = angleDeg, s.period = period, s.duty = duty;
    return s;
}

void drawBody(Canvas& c, const CatDesign& d) {
    const double m = d.midX;
    std::vector<Vec> left = {{m - d.neckHalf, d.neckY},
                             {m - d.chestHalf, d.chestY},
                             {m - d.hipHalf, d.hipY},
                             {m - d.bottomHalf, d.bottomY}};
    std::vector<Vec> outline = {{m, d.neckY - 4}};
    outline.insert(outline.end(), left.begin(), left.end());
    outline.push_back({m, d.bottomY + 1});
    for (auto it = left.rbegin(); it != left.rend(); ++it) outline.push_back(mirror(d, *it));
    const Vec centre{m, (d.neckY + d.bottomY) / 2};
    Fur body = baseFur(d, centre, d.hipHalf + 4, (d.bottomY - d.neckY) / 2 + 4, 1);
    body.stripes = bands(d, {m, 0}, 0, 11, 0.34);
    body.stripes.wave = 0.8, body.stripes.waveLength = 30, body.stripes.fadeInside = 0.5;
    body.stripes.strength *= 0.75, body.stripes.broken = 0.55;
    c.fillPath(smoothThrough(outline, true), furPaint(body));

    for (Vec h : {d.haunch, mirror(d, d.haunch)}) {
        Fur haunch = baseFur(d, h, d.haunchRx, d.haunchRy, 2);
        haunch.rim = 0.65;
        haunch.stripes = bands(d, h, 0, 9, 0.3);
        haunch.stripes.kind = Stripes::Kind::Rings;
        haunch.stripes.origin = h + Vec{(h.x < m ? 6.0 : -6.0), 6}, haunch.stripes.fadeInside = 0.6;
        c.fillEllipse(h, d.haunchRx, d.haunchRy, 0, furPaint(haunch));
    }
}

void drawChestAndLegs(Canvas& c, const CatDesign& d) {
    const double m = d.midX;
    const double bottom = d.paw.y;
    if (d.whiteMarkings) {
        // The bib: from under the chin, widening down between the legs.
        const Path bib = smoothThrough({{m, d.neckY - 2},
                                        {m - 13, d.neckY + 6},
                                        {m - 20, d.chestY},
                                        {m - 18, bottom},
                                        {m + 18, bottom},
                                        {m + 20, d.chestY},
                                        {m + 13, d.neckY + 6}},
                                       true);
        c.fillPath(bib, furPaint(whiteFur(d, {m, d.chestY}, 22, 50, 3)), Layer::Marking);
    } else {
        // A paler chest crossed by the broken "necklace" bands of a tabby.
        Fur chest = baseFur(d, {m, d.chestY - 6}, 17, 36, 3);
        chest.base = mix(d.fur, d.furLight, 0.35), chest.rim = 0.7, chest.dark = d.fur;
        chest.stripes = bands(d, {m, d.neckY + 4}, 90, 11, 0.22);
        chest.stripes.wave = 2.5, chest.stripes.waveLength = 40, chest.stripes.strength *= 0.6;
        c.fillEllipse({m, d.chestY - 6}, 15, 32, 0, furPaint(chest), Layer::Marking);
    }
    for (double x : {d.legX, 2 * m - d.legX}) {
        const Path leg = smoothThrough({{x - d.legHalf, d.legTopY},
                                        {x - d.legHalf - 0.5, (d.legTopY + bottom) / 2},
                                        {x - d.legHalf + 0.5, bottom},
                                        {x + d.legHalf - 0.5, bottom},
                                        {x + d.legHalf + 0.5, (d.legTopY + bottom) / 2},
                                        {x + d.legHalf, d.legTopY}},
                                       true);
        const Vec legCentre{x, (d.legTopY + bottom) / 2};
        const double legLength = (bottom - d.legTopY) / 2 + 10;
        Fur legFur = d.whiteMarkings ? whiteFur(d, legCentre, d.legHalf + 1, legLength, 4)
                                     : baseFur(d, legCentre, d.legHalf + 1, legLength, 4);
        legFur.rim = 0.7;
        if (!d.whiteMarkings) {
            legFur.stripes = bands(d, {x, d.legTopY}, 92, 8, 0.3);
            legFur.stripes.strength *= 0.4, legFur.stripes.broken = 0.7;
        }
        c.fillPath(leg, furPaint(legFur));
        // The shadow line between the two legs.
        const double inner = x < m ? x + d.legHalf : x - d.legHalf;
        c.stroke(Path{{inner, d.legTopY + 16}}.lineTo({inner, bottom - 3}), 1.0, 0.7,
                 solid(mix(d.furDark, d.whiteShade, d.whiteMarkings ? 0.7 : 0.0)), Layer::Marking);
    }
    for (Vec p : {d.paw, mirror(d, d.paw)}) {
        const Fur pawFur = d.whiteMarkings ? whiteFur(d, p, d.pawRx, d.pawRy, 5)
                                           : baseFur(d, p, d.pawRx, d.pawRy, 5);
        c.fillEllipse(p, d.pawRx, d.pawRy, 0, furPaint(pawFur));
        // Toes.
        const Colour crease = d.whiteMarkings ? d.whiteShade : d.furDark;
        for (double dx : {-3.2, 0.0, 3.2})
            c.stroke(Path{{p.x + dx, p.y + d.pawRy - 0.5}}.lineTo({p.x + dx * 0.9, p.y + 1.0}), 0.7,
                     0.5, solid(crease), Layer::Marking);
    }
}

// Fur for a tail: rings across its length, lit along its top, dark at its edges and its tip.
Paint tailPaint(const CatDesign& d) {
    const std::vector<Vec> line = d.tail.flatten();
    std::vector<double> along(line.size(), 0.0);
    for (std::size_t i = 1; i < line.size(); ++i)
        along[i] = along[i - 1] + std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    return [=](Vec p, Colour) {
        double best = 1e9, at = 0, above = 0;
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            const Vec a = line[i], seg = line[i + 1] - a;
            const double len2 = seg.x * seg.x + seg.y * seg.y;
            const double t =
                len2 > 0 ? clamp01(((p.x - a.x) * seg.x + (p.y - a.y) * seg.y) / len2) : 0;
            const Vec q = a + seg * t;
            const double dist = std::hypot(p.x - q.x, p.y - q.y);
            if (dist < best)
                best = dist, at = along[i] + (along[i + 1] - along[i]) * t, above = q.y - p.y;
        }
        const double length = along.back();
        const double half = (d.tailWidth + (d.tailTipWidth - d.tailWidth) * at / length) / 2;
        const double across = clamp01(best / half);
        Colour c = mix(d.fur, d.furLight, 0.6 * (above > 0 ? 1.0 - across : 0.0));
        c = mix(c, d.furDark, 0.7 * smoothstep(0.45, 1.0, across));
        double phase = (length - at) / 7.0 + 0.15 * valueNoise(p.x * 0.4, p.y * 0.4, d.seed + 41);
        phase -= std::floor(phase);
        double fromBand = std::fabs(phase - 0.25);
        fromBand = std::min(fromBand, 1.0 - fromBand);
        const double band = 1.0 - smoothstep(0.13, 0.21, fromBand);
        c = mix(c, d.stripe, 0.65 * d.stripeStrength * band);
        c = mix(c, d.stripe, 0.85 * smoothstep(length - 9, length - 3, at));
        const double grain = 1.0 + 0.08 * valueNoise(at * 0.35, best * 2.5, d.seed + 43);
        return Colour{c.r * grain, c.g * grain, c.b * grain};
    };
}

void drawTail(Canvas& c, const CatDesign& d) {
    // The tail casts a shadow on what lies behind it, and a dark edge keeps it apart.
    Path shadowLine = d.tail;
    shadowLine.start.y -= 2;
    for (Path::Cubic& seg : shadowLine.segments) seg.c1.y -= 2, seg.c2.y -= 2, seg.end.y -= 2;
    c.stroke(shadowLine, d.tailWidth + 3, d.tailTipWidth + 2, darken(d.furDark, 0.5),
             Layer::Marking);
    c.stroke(d.tail, d.tailWidth + 1.6, d.tailTipWidth + 1.4, solid(mix(d.furDark, d.stripe, 0.6)));
    c.stroke(d.tail, d.tailWidth, d.tailTipWidth, tailPaint(d));
}

Path earPath(Vec outer, Vec tip, Vec inner, double bulge) {
    const Vec mid = (outer + inner) * 0.5;
    return Path{outer}
        .curveTo(outer + (tip - outer) * 0.45 + Vec{-bulge, 0}, tip + Vec{-0.8, 4}, tip)
        .curveTo(tip + Vec{3.5, 2.5}, inner + (tip - inner) * 0.45 + Vec{0, -bulge}, inner)
        .lineTo(mid + Vec{4, 10});
}

void drawEars(Canvas& c, const CatDesign& d) {
    const Path ear = earPath(d.earOuterBase, d.earTip, d.earInnerBase, 2.5);
    const Vec centroid = (d.earOuterBase + d.earTip + d.earInnerBase) * (1.0 / 3.0);
    auto shrink = [&](Vec v, double k) { return centroid + (v - centroid) * k + Vec{1.0, 2.5}; };
    const Path inner = earPath(shrink(d.earOuterBase, 0.62), shrink(d.earTip, 0.62),
                               shrink(d.earInnerBase, 0.62), 1.5);
    for (bool right : {false, true}) {
        Fur earFur = baseFur(d, centroid, 12, 16, 7);
        earFur.highlight = 0.3;
        const Paint pink =
            radialPaint(shrink(d.earTip, 0.2), 16, d.innerEar, mix(d.innerEar, d.furDark, 0.55));
        c.fillPath(right ? ear.mirroredX(d.midX) : ear, furPaint(earFur));
        if (right) {
            Paint mirrored = [pink, &d](Vec p, Colour under) {
                return pink({2 * d.midX - p.x, p.y}, under);
            };
            c.fillPath(inner.mirroredX(d.midX), mirrored, Layer::Marking);
        } else {
            c.fillPath(inner, pink, Layer::Marking);
        }
        // Tufts of pale fur inside the ear.
        for (int i = 0; i < 3; ++i) {
            Vec from = shrink(d.earOuterBase, 0.45) + Vec{1.5 * i, 2.0 * i};
            Vec to = from + Vec{5.0 - i, -7.0 + i};
            if (right) from = mirror(d, from), to = mirror(d, to);
            c.stroke(Path{from}.lineTo(to), 0.6, 0.3, solid(rgb(235, 228, 226)), Layer::Marking);
        }
    }
}

void drawHead(Canvas& c, const CatDesign& d) {
    const double m = d.midX;
    Fur headFur = baseFur(d, d.head + Vec{0, 5}, d.headRx + 3, d.headRy + 6, 8);
    headFur.rim = 0.45;
    const Paint headPaint = furPaint(headFur);
    c.fillEllipse(d.head, d.headRx, d.headRy, 0, headPaint);
    for (double side : {-1.0, 1.0}) {
        const Vec cheek{m + side * d.cheekDx, d.head.y + d.cheekDy};
        c.fillEllipse(cheek, d.cheekRx, d.cheekRy, 0, headPaint);
        // Tufts of the ruff along the lower outer cheek, swept down and out.
        for (double deg : {10.0, 35.0, 60.0}) {
            auto rim = [&](double a) {
                const double r = a * std::numbers::pi / 180.0;
                return Vec{cheek.x + side * d.cheekRx * std::cos(r),
                           cheek.y + d.cheekRy * std::sin(r)};
            };
            const double tipAngle = (deg + 16.0) * std::numbers::pi / 180.0;
            const Vec tip =
                rim(deg + 4.0) + Vec{side * 3.2 * std::cos(tipAngle), 3.2 * std::sin(tipAngle)};
            const Path tuft = Path{rim(deg - 10.0) - (rim(deg) - cheek) * 0.15}.lineTo(tip).lineTo(
                rim(deg + 12.0) - (rim(deg) - cheek) * 0.15);
            c.fillPath(tuft, headPaint);
        }
    }

    // Tabby marks: the "M" on the forehead, lines from the eyes over the cheeks.
    const Colour mark = mix(d.stripe, d.fur, 0.15);
    const Paint markPaint = solid(mark);
    const double browTop = d.head.y - d.headRy * 0.92;
    for (double k : {-1.5, -0.5, 0.5, 1.5}) {
        const double x = m + k * 4.2;
        c.stroke(
            Path{{x + k * 1.5, browTop}}.curveTo({x + k * 0.8, browTop + 5}, {x, browTop + 9},
                                                 {x - k * 0.2, browTop + 13 - std::fabs(k) * 2}),
            2.0, 0.7, markPaint, Layer::Marking);
    }
    for (double side : {-1.0, 1.0}) {
        auto at = [&](double dx, double dy) { return Vec{m + side * dx, d.eyeY + dy}; };
        const double outer =
            m - d.eyeX + d.eyeRx;  // distance of the outer eye corner from the middle
        c.stroke(Path{at(outer + 0.5, 0.5)}.curveTo(at(outer + 5, 1.5), at(outer + 9, 3),
                                                    at(outer + 13, 6)),
                 1.8, 0.6, markPaint, Layer::Marking);
        c.stroke(
            Path{at(outer - 2, 6)}.curveTo(at(outer + 3, 9), at(outer + 8, 10), at(outer + 12, 13)),
            1.6, 0.6, markPaint, Layer::Marking);
        // Brow lines over the eyes: the outer strokes of the "M".
        c.stroke(Path{at(4, -d.headRy * 0.55)}.curveTo(at(7, -d.eyeRy - 6), at(10, -d.eyeRy - 3.5),
                                                       at(outer - 2, -d.eyeRy - 1.5)),
                 1.5, 0.7, markPaint, Layer::Marking);
    }
}

void drawFace(Canvas& c, const CatDesign& d) {
    const double m = d.midX;
    const Colour muzzle = d.whiteMarkings ? d.white : d.muzzle;
    Fur muzzleFur = whiteFur(d, {m, d.noseY + 5}, 13, 9, 9);
    muzzleFur.base = muzzle, muzzleFur.dark = mix(muzzle, d.furDark, 0.35);
    muzzleFur.light = mix(muzzle, rgb(255, 255, 255), 0.5);
    const Paint muzzlePaint = furPaint(muzzleFur);
    if (d.whiteMarkings) {
        // A blaze running up between the eyes.
        const Path blaze = smoothThrough({{m, d.eyeY - 4},
                                          {m - 2.5, d.eyeY + 2},
                                          {m - 8, d.noseY + 1},
                                          {m + 8, d.noseY + 1},
                                          {m + 2.5, d.eyeY + 2}},
                                         true);
        c.fillPath(blaze, muzzlePaint, Layer::Marking);
    }
    for (double side : {-1.0, 1.0})
        c.fillEllipse({m + side * 5.2, d.noseY + 4.5}, 6.5, 5.0, 0, muzzlePaint, Layer::Marking);
    c.fillEllipse({m, d.noseY + 9}, 5.5, 3.5, 0, muzzlePaint, Layer::Marking);

    // Eyes: dark rim, iris, slit pupil and a glint.
    for (double side : {-1.0, 1.0}) {
        const Vec e{m + side * (m - d.eyeX), d.eyeY};
        const double tilt = side * d.eyeTilt;
        c.fillEllipse(e, d.eyeRx + 1.1, d.eyeRy + 0.9, tilt, solid(rgb(30, 28, 26)),
                      Layer::Marking);
        c.fillEllipse(e, d.eyeRx, d.eyeRy, tilt, radialPaint(e, d.eyeRx, d.irisInner, d.irisOuter),
                      Layer::Marking);
        c.fillEllipse(e, d.eyeRx * 0.26, d.eyeRy * 0.88, 0, solid(rgb(12, 12, 14)), Layer::Marking);
        c.fillEllipse(e + Vec{-1.7, -1.8}, 1.2, 1.1, 0, solid(rgb(255, 255, 255)), Layer::Marking);
    }

    // Nose and mouth.
    const double ny = d.noseY, nh = d.noseHalf;
    const Path nose =
        Path{{m - nh, ny - 2.4}}
            .curveTo({m - nh * 0.3, ny - 3.0}, {m + nh * 0.3, ny - 3.0}, {m + nh, ny - 2.4})
            .curveTo({m + nh * 0.6, ny - 0.5}, {m + 0.8, ny + 1.6}, {m, ny + 2.0})
            .curveTo({m - 0.8, ny + 1.6}, {m - nh * 0.6, ny - 0.5}, {m - nh, ny - 2.4});
    c.fillPath(nose,
               radialPaint({m, ny - 2}, nh * 1.4, mix(d.nose, rgb(255, 255, 255), 0.25), d.nose),
               Layer::Marking);
    const Paint mouth = solid(rgb(70, 58, 58));
    c.stroke(Path{{m, ny + 2}}.lineTo({m, ny + 4.2}), 0.8, 0.8, mouth, Layer::Marking);
    for (double side : {-1.0, 1.0})
        c.stroke(Path{{m, ny + 4.2}}.curveTo({m + side * 1.5, ny + 6}, {m + side * 3.5, ny + 6},
                                             {m + side * 5, ny + 4.6}),
                 0.8, 0.6, mouth, Layer::Marking);

    // Whiskers fan out from the whisker pads.
    for (double side : {-1.0, 1.0})
        for (int i = 0; i < 4; ++i) {
            const Vec from{m + side * 8, ny + 3.0 + i * 1.5};
            const Vec to{m + side * 44, ny - 6.0 + i * 6.5};
            const Vec bend{m + side * 26, ny - 1.0 + i * 3.0};
            c.stroke(Path{from}.curveTo(bend, bend, to), 0.7, 0.4, solid(d.whisker),
                     Layer::Marking);
        }
}

}  // namespace

const CatDesign& catDesign(int index) {
    static const CatDesign designs[2] = {greyTabbyAndWhite(), darkGreyTabby()};
    return designs[index];
}

CatArt renderCat(const CatDesign& d) {
    Canvas c(d.width, d.height, d.samplesPerAxis);
    drawBody(c, d);
    drawChestAndLegs(c, d);
    drawTail(c, d);
    c.fillEllipse({d.midX, d.head.y + d.headRy + 2}, d.headRx * 0.8, 9, 0,
                  shadow({d.midX, d.head.y + d.headRy + 2}, d.headRx * 0.8, 9, d.furDark, 0.45),
                  Layer::Marking);
    drawEars(c, d);
    drawHead(c, d);
    drawFace(c, d);
    return {c.picture(), c.mask()};
}

}  // namespace art
