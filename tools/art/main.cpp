// gloam_art: writes the program's binary art.
//
//   gloam_art <outdir>                          every file that res/ holds
//   gloam_art sample-desktop <file.bmp> [w h]   a made-up desktop for demo runs (default 1024 x
//   768)
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
                 "       gloam_art sample-desktop <file.bmp> [width height]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc >= 2 && std::string(argv[1]) == "sample-desktop") {
            if (argc != 3 && argc != 5) return usage();
            int width = 1024, height = 768;
            if (argc == 5) width = std::stoi(argv[3]), height = std::stoi(argv[4]);
            if (width < 64 || height < 64 || width > 8192 || height > 8192) return usage();
            art::writeFile(argv[2],
                           art::encodeBmp24(art::drawDesktop(art::sampleDesktop(width, height)),
                                            kSpotPixelsPerMetre));
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
