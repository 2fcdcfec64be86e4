// gloam_art: writes the program's binary art.
//
//   gloam_art <outdir>                          every file that res/ holds
//   gloam_art sample-desktop <file.bmp> [w h]   a made-up desktop for demo runs (default 1024 x
//   768)
//   gloam_art sample-wallpaper <file.bmp> [w h]  its background alone, a wallpaper for the demo
//   on the screen saver's desktop (default 1600 x 900)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "cats.h"
#include "desktop.h"
#include "icons.h"
#include "image.h"
#include "preview.h"
#include "spot.h"

namespace {

constexpr std::int32_t kCatPixelsPerMetre = 2835;   // 72 dots per inch
constexpr std::int32_t kSpotPixelsPerMetre = 3780;  // 96 dots per inch

void writeAll(const std::string& dir) {
    using namespace art;
    std::filesystem::create_directories(dir);
    writeFile(dir + "/spot.bmp", encodeBmp24(makeSpotMask(), kSpotPixelsPerMetre));
    for (int i = 0; i < 2; ++i) {
        const CatArt cat = renderCat(catDesign(i));
        const std::string base = dir + "/cat" + std::to_string(i);
        writeFile(base + ".bmp", encodeBmp24(cat.picture, kCatPixelsPerMetre));
        writeFile(base + "_mask.bmp", encodeBmp24(cat.mask, kCatPixelsPerMetre));
    }
    writeFile(dir + "/preview.bmp", encodeBmp24(makePreview(), 0));
    writeFile(dir + "/invisible.cur", encodeInvisibleCursor());

    struct IconSet {
        const char* name;
        IconImage (*draw)(int);
        unsigned firstId;  // RT_ICON ids of the 32 and 16 pixel images
    };
    for (const IconSet& set :
         {IconSet{"app", appIcon, 30001}, IconSet{"config", configIcon, 30003}}) {
        const std::vector<IconImage> images = {set.draw(32), set.draw(16)};
        const std::string base = dir + "/" + set.name;
        writeFile(base + "_32.icoimg", encodeIconPayload(images[0]));
        writeFile(base + "_16.icoimg", encodeIconPayload(images[1]));
        writeFile(base + ".icogrp", encodeIconGroup(images, {set.firstId, set.firstId + 1}));
        writeFile(base + ".ico", encodeIcoFile(images));
    }
}

int usage() {
    std::fprintf(stderr,
                 "usage: gloam_art <outdir>\n"
                 "       gloam_art sample-desktop <file.bmp> [width height]\n"
                 "       gloam_art sample-wallpaper <file.bmp> [width height]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc >= 2 ? argv[1] : "";
        if (command == "sample-desktop" || command == "sample-wallpaper") {
            if (argc != 3 && argc != 5) return usage();
            const bool wallpaper = command == "sample-wallpaper";
            int width = wallpaper ? 1600 : 1024, height = wallpaper ? 900 : 768;
            if (argc == 5) width = std::stoi(argv[3]), height = std::stoi(argv[4]);
            if (width < 64 || height < 64 || width > 8192 || height > 8192) return usage();
            art::DesktopScene scene = art::sampleDesktop(width, height);
            if (wallpaper) {
                scene.icons.clear();
                scene.windows.clear();
                scene.taskbar = false;
            }
            art::writeFile(argv[2], art::encodeBmp24(art::drawDesktop(scene), kSpotPixelsPerMetre));
            return 0;
        }
        if (argc != 2) return usage();
        writeAll(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gloam_art: %s\n", e.what());
        return 1;
    }
    return 0;
}
