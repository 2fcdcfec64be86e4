// Made-up desktops: the colourful one the demo run captures, and the classic one that the preview
// picture shows through its disc. A scene is plain data; drawDesktop paints it at one pixel per
// unit.
#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace art {

struct DesktopTheme {
    Rgb backgroundTop, backgroundBottom;
    bool landscape = false;  // sun and hills over the background
    Rgb frame, frameLight, frameDark;
    Rgb titleActive, titleActiveEnd, titleInactive, titleInactiveEnd, titleText;
    Rgb client, text;
    Rgb iconLabel;
};

struct DesktopIcon {
    std::string label;
    Rgb colour;
};

struct DesktopWindow {
    enum class Content { Text, Files, Picture };
    int x = 0, y = 0, w = 0, h = 0;
    std::string title;
    Content content = Content::Text;
    std::vector<std::string> lines;
    bool active = false;
};

struct DesktopScene {
    int width = 0, height = 0;
    DesktopTheme theme;
    std::vector<DesktopIcon> icons;  // in columns from the top left corner of the first one
    int iconLeft = 16, iconTop = 12;
    std::vector<DesktopWindow> windows;  // back to front
    bool taskbar = true;
};

Image drawDesktop(const DesktopScene& scene);
DesktopScene sampleDesktop(int width, int height);
DesktopScene classicDesktop(int width, int height);

}  // namespace art
