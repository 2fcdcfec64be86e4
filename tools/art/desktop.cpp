#include "desktop.h"

#include <algorithm>
#include <cmath>

#include "font.h"

namespace art {

namespace {

Rgb blend(Rgb a, Rgb b, double t) {
    auto ch = [t](int x, int y) { return std::uint8_t(std::lround(x + (y - x) * t)); };
    return {ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

void fillDisc(Image& img, double cx, double cy, double r, Rgb c) {
    for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; ++y)
        for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; ++x)
            if (img.contains(x, y) && std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r) img.at(x, y) = c;
}

void bevel(Image& img, int x, int y, int w, int h, Rgb light, Rgb dark) {
    img.fillRect(x, y, w, 1, light);
    img.fillRect(x, y, 1, h, light);
    img.fillRect(x, y + h - 1, w, 1, dark);
    img.fillRect(x + w - 1, y, 1, h, dark);
}

void drawBackground(Image& img, const DesktopTheme& t) {
    for (int y = 0; y < img.height; ++y)
        img.fillRect(
            0, y, img.width, 1,
            blend(t.backgroundTop, t.backgroundBottom, double(y) / std::max(1, img.height - 1)));
    if (!t.landscape) return;
    const double w = img.width, h = img.height;
    fillDisc(img, w * 0.78, h * 0.28, h * 0.09, {255, 214, 102});
    struct Hill {
        double base, amp, waves, phase;
        Rgb colour;
    };
    const Hill hills[] = {{0.70, 0.06, 1.6, 0.4, {86, 150, 120}},
                          {0.80, 0.05, 2.3, 1.9, {54, 118, 96}}};
    for (const Hill& hill : hills)
        for (int x = 0; x < img.width; ++x) {
            const int top = int(
                h * (hill.base - hill.amp * std::sin(x / w * hill.waves * 6.2832 + hill.phase)));
            img.fillRect(x, top, 1, img.height - top, hill.colour);
        }
}

void drawIcon(Image& img, int x, int y, const DesktopIcon& icon, const DesktopTheme& t) {
    // A sheet with a folded corner in the icon's colour.
    img.fillRect(x + 4, y, 20, 28, {250, 250, 250});
    img.fillRect(x + 4, y + 14, 24, 14, icon.colour);
    img.fillRect(x + 24, y + 4, 4, 10, {250, 250, 250});
    bevel(img, x + 4, y, 24, 28, {255, 255, 255}, {60, 60, 60});
    for (int i = 0; i < 3; ++i)
        img.fillRect(x + 8, y + 4 + 3 * i, 12, 1, blend(icon.colour, {0, 0, 0}, 0.3));
    const int labelX = x + 16 - textWidth(icon.label) / 2;
    drawText(img, labelX + 1, y + 35, icon.label, {0, 0, 0});
    drawText(img, labelX, y + 34, icon.label, t.iconLabel);
}

void drawContent(Image& img, const DesktopWindow& win, int x, int y, int w, int h,
                 const DesktopTheme& t) {
    using Content = DesktopWindow::Content;
    if (win.content == Content::Text) {
        int row = y + 6;
        for (const std::string& line : win.lines) {
            if (row + kGlyphHeight > y + h) break;
            drawText(img, x + 6, row,
                     line.substr(0, std::size_t(std::max(0, (w - 12) / kGlyphAdvance))), t.text);
            row += 11;
        }
    } else if (win.content == Content::Files) {
        const Rgb colours[] = {
            {235, 190, 60}, {80, 140, 220}, {220, 90, 80}, {90, 180, 110}, {160, 100, 200}};
        int i = 0;
        for (int fy = y + 8; fy + 40 <= y + h; fy += 48)
            for (int fx = x + 10; fx + 40 <= x + w; fx += 56, ++i) {
                const Rgb c = colours[i % 5];
                img.fillRect(fx + 6, fy, 24, 18, c);
                img.fillRect(fx + 6, fy - 3, 10, 3, c);
                bevel(img, fx + 6, fy, 24, 18, blend(c, {255, 255, 255}, 0.5),
                      blend(c, {0, 0, 0}, 0.4));
                const std::string label =
                    i < int(win.lines.size()) ? win.lines[std::size_t(i)] : "FILE";
                drawText(img, fx + 18 - textWidth(label) / 2, fy + 23, label, t.text);
            }
    } else {
        for (int py = y; py < y + h; ++py)
            img.fillRect(x, py, w, 1, blend({120, 180, 235}, {235, 200, 170}, double(py - y) / h));
        fillDisc(img, x + w * 0.7, y + h * 0.3, h * 0.12, {255, 240, 150});
        for (int px = x; px < x + w; ++px) {
            const int top = y + int(h * (0.62 - 0.12 * std::sin((px - x) * 0.035)));
            img.fillRect(px, top, 1, y + h - top, {70, 140, 80});
        }
    }
}

void drawWindow(Image& img, const DesktopWindow& win, const DesktopTheme& t) {
    img.fillRect(win.x, win.y, win.w, win.h, t.frame);
    bevel(img, win.x, win.y, win.w, win.h, t.frameLight, t.frameDark);
    const int titleH = 18;
    const Rgb from = win.active ? t.titleActive : t.titleInactive;
    const Rgb to = win.active ? t.titleActiveEnd : t.titleInactiveEnd;
    for (int x = 0; x < win.w - 8; ++x)
        img.fillRect(win.x + 4 + x, win.y + 4, 1, titleH, blend(from, to, double(x) / (win.w - 8)));
    drawText(img, win.x + 9, win.y + 9, win.title, t.titleText);
    for (int b = 0; b < 3; ++b) {
        const int bx = win.x + win.w - 4 - 18 * (b + 1), by = win.y + 6;
        img.fillRect(bx, by, 16, 14, t.frame);
        bevel(img, bx, by, 16, 14, t.frameLight, t.frameDark);
        img.fillRect(bx + 4, by + (b == 2 ? 9 : 4), 8, b == 2 ? 2 : (b == 1 ? 6 : 2), {0, 0, 0});
        if (b == 0) drawText(img, bx + 5, by + 3, "X", {0, 0, 0});
    }
    const int cx = win.x + 4, cy = win.y + 4 + titleH + 2, cw = win.w - 8,
              ch = win.h - 8 - titleH - 2;
    img.fillRect(cx, cy, cw, ch, t.client);
    bevel(img, cx, cy, cw, ch, t.frameDark, t.frameLight);
    drawContent(img, win, cx + 2, cy + 2, cw - 4, ch - 4, t);
}

void drawTaskbar(Image& img, const DesktopScene& scene) {
    const DesktopTheme& t = scene.theme;
    const int h = 28, y = img.height - h;
    img.fillRect(0, y, img.width, h, t.frame);
    img.fillRect(0, y + 1, img.width, 1, t.frameLight);
    img.fillRect(2, y + 4, 60, h - 7, t.frame);
    bevel(img, 2, y + 4, 60, h - 7, t.frameLight, t.frameDark);
    fillDisc(img, 12, y + 14, 5, {220, 70, 60});
    drawText(img, 22, y + 11, "START", {0, 0, 0});
    int bx = 68;
    for (const DesktopWindow& win : scene.windows) {
        const int bw = 130;
        if (bx + bw > img.width - 70) break;
        img.fillRect(bx, y + 4, bw, h - 7, win.active ? t.frameLight : t.frame);
        bevel(img, bx, y + 4, bw, h - 7, win.active ? t.frameDark : t.frameLight,
              win.active ? t.frameLight : t.frameDark);
        drawText(img, bx + 6, y + 11, win.title.substr(0, 20), {0, 0, 0});
        bx += bw + 4;
    }
    const int clockW = 52;
    bevel(img, img.width - clockW - 4, y + 4, clockW, h - 7, t.frameDark, t.frameLight);
    drawText(img, img.width - clockW + 8, y + 11, "12:34", {0, 0, 0});
}

DesktopTheme classicTheme() {
    DesktopTheme t;
    t.frame = {192, 192, 192}, t.frameLight = {255, 255, 255}, t.frameDark = {96, 96, 96};
    t.titleActive = {0, 0, 128}, t.titleActiveEnd = {24, 120, 208};
    t.titleInactive = {128, 128, 128}, t.titleInactiveEnd = {180, 180, 180};
    t.titleText = {255, 255, 255};
    t.client = {255, 255, 255}, t.text = {32, 32, 32};
    t.iconLabel = {255, 255, 255};
    return t;
}

}  // namespace

Image drawDesktop(const DesktopScene& scene) {
    Image img(scene.width, scene.height);
    drawBackground(img, scene.theme);
    const int iconRows =
        std::max(1, (scene.height - scene.iconTop - (scene.taskbar ? 28 : 0)) / 64);
    for (std::size_t i = 0; i < scene.icons.size(); ++i) {
        const int col = int(i) / iconRows, row = int(i) % iconRows;
        drawIcon(img, scene.iconLeft + col * 80, scene.iconTop + row * 64, scene.icons[i],
                 scene.theme);
    }
    for (const DesktopWindow& win : scene.windows) drawWindow(img, win, scene.theme);
    if (scene.taskbar) drawTaskbar(img, scene);
    return img;
}

DesktopScene sampleDesktop(int width, int height) {
    DesktopScene s;
    s.width = width, s.height = height;
    s.theme = classicTheme();
    s.theme.backgroundTop = {64, 96, 196}, s.theme.backgroundBottom = {196, 120, 170};
    s.theme.landscape = true;
    s.icons = {{"My Files", {235, 190, 60}}, {"Pictures", {80, 170, 90}},
               {"Music", {200, 90, 160}},    {"Notes", {90, 150, 230}},
               {"Games", {230, 110, 60}},    {"Recycle", {150, 150, 150}}};
    auto px = [width](double f) { return int(f * width); };
    auto py = [height](double f) { return int(f * height); };
    s.windows = {
        {px(0.46),
         py(0.06),
         px(0.48),
         py(0.42),
         "Holiday Photos",
         DesktopWindow::Content::Picture,
         {},
         false},
        {px(0.16),
         py(0.40),
         px(0.42),
         py(0.40),
         "Project Files",
         DesktopWindow::Content::Files,
         {"PLANS", "BUDGET", "MAPS", "SONGS", "PHOTOS", "LETTERS", "CATS", "NOTES", "TRIPS",
          "DRAFTS"},
         false},
        {px(0.50),
         py(0.46),
         px(0.44),
         py(0.40),
         "Letter.txt - Notepad",
         DesktopWindow::Content::Text,
         {"Dear friend,", "", "The evenings are long now and the lamps come on early.",
          "Last night a light went searching over the dark garden",
          "and for a moment two cats sat in it,", "quite still, then were gone again.", "",
          "Write soon!", "", "1234567890 +-=/ ()!?"},
         true},
    };
    return s;
}

DesktopScene classicDesktop(int width, int height) {
    DesktopScene s;
    s.width = width, s.height = height;
    s.theme = classicTheme();
    s.theme.backgroundTop = {0, 84, 170}, s.theme.backgroundBottom = {0, 64, 150};
    s.icons = {{"Files", {235, 190, 60}},
               {"Net", {80, 170, 90}},
               {"Mail", {200, 90, 160}},
               {"Bin", {160, 160, 160}}};
    s.iconLeft = 30, s.iconTop = 44;
    s.windows = {
        {150,
         150,
         190,
         130,
         "Notes",
         DesktopWindow::Content::Text,
         {"A list of things", "to do today", "and tomorrow"},
         false},
        {112,
         58,
         210,
         140,
         "Letter - Notepad",
         DesktopWindow::Content::Text,
         {"Dear friend,", "", "the evenings are", "long now and the", "lamps come on", "early."},
         true},
    };
    s.taskbar = false;
    return s;
}

}  // namespace art
