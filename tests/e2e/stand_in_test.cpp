// What the display shows when the system starts it on the desktop of its own, "Screen-saver",
// where nothing of the user's desktop can be copied: through the spot, the desktop colour and the
// primary monitor's wallpaper as the user placed it, or the colour alone when the wallpaper cannot
// be shown. On the user's own desktop the screen is copied as before.
//
// The wallpapers are grids of 4 x 2 flat cells, 128 pixels square, each its own colour, written by
// the test with the system's encoders; the colour each cell shows is read back with the system's
// decoder (a JPEG shifts colours slightly). Where a placement scales the picture, the pixels near
// a border between two cells blend them and are not checked; every other lit pixel must be exactly
// its cell's colour or the desktop colour, and every part of the placement that lies on the
// primary monitor must show.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"
#include "pattern.h"
#include "wallpaper.h"

namespace e2e {
namespace {

constexpr COLORREF kDesktopColour = RGB(0x3A, 0x6E, 0xA5);
constexpr std::uint32_t kDesktopPixel = 0x3A6EA5;
constexpr int kCell = 128;
constexpr int kColumns = 4;
constexpr int kRows = 2;
constexpr std::uint32_t kCellColours[kColumns * kRows] = {
    0xE04030, 0x30C050, 0x4060E0, 0xE0D040, 0xC040C0, 0x40D0D0, 0xF0A0A0, 0x808040,
};

// The grid, its cells in reading order; `reversed` gives the last colour first.
Surface Grid(bool reversed = false) {
    Surface grid(kColumns * kCell, kRows * kCell);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const int cell = row * kColumns + column;
            gloam::Fill(
                grid.View(),
                gloam::Rect{column * kCell, row * kCell, (column + 1) * kCell, (row + 1) * kCell},
                kCellColours[reversed ? kColumns * kRows - 1 - cell : cell]);
        }
    }
    return grid;
}

Surface Flat(int width, int height, std::uint32_t colour) {
    return Surface(width, height, colour);
}

// What each pixel of the primary monitor must show where that is certain: a region (a cell of
// the picture, or the desktop colour) and its colour.
class ExpectedDesktop {
  public:
    static constexpr int kUncertain = -1;

    static ExpectedDesktop ColourOnly() {
        const ScreenSize screen = PrimaryScreen();
        ExpectedDesktop expected(screen.width, screen.height);
        expected.colours_ = {kDesktopPixel};
        std::fill(expected.regions_.begin(), expected.regions_.end(), 0);
        return expected;
    }

    // `picture`, as the system decodes it, a grid of kCell cells, over `place` of the primary
    // monitor (repeated from there when `tiled`), on the desktop colour.
    static ExpectedDesktop Placed(const Surface& picture, const gloam::Rect& place, bool tiled) {
        const ScreenSize screen = PrimaryScreen();
        ExpectedDesktop expected(screen.width, screen.height);
        const int columns = picture.Width() / kCell;
        const int rows = picture.Height() / kCell;
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                expected.colours_.push_back(
                    picture.At(column * kCell + kCell / 2, row * kCell + kCell / 2));
            }
        }
        const int background = static_cast<int>(expected.colours_.size());
        expected.colours_.push_back(kDesktopPixel);
        std::vector<int> column_of(static_cast<size_t>(screen.width));
        std::vector<int> row_of(static_cast<size_t>(screen.height));
        for (int x = 0; x < screen.width; ++x) {
            column_of[static_cast<size_t>(x)] =
                CellAlong(x, place.left, place.Width(), picture.Width(), tiled);
        }
        for (int y = 0; y < screen.height; ++y) {
            row_of[static_cast<size_t>(y)] =
                CellAlong(y, place.top, place.Height(), picture.Height(), tiled);
        }
        for (int y = 0; y < screen.height; ++y) {
            for (int x = 0; x < screen.width; ++x) {
                const int column = column_of[static_cast<size_t>(x)];
                const int row = row_of[static_cast<size_t>(y)];
                int region = kUncertain;
                if (column == kOutside || row == kOutside) {
                    region = background;
                } else if (column != kUncertain && row != kUncertain) {
                    region = row * columns + column;
                }
                expected.regions_[static_cast<size_t>(y) * screen.width + x] = region;
            }
        }
        return expected;
    }

    int Region(int x, int y) const { return regions_[static_cast<size_t>(y) * width_ + x]; }
    std::uint32_t Colour(int region) const { return colours_[static_cast<size_t>(region)]; }
    size_t Regions() const { return colours_.size(); }
    // The regions of which the primary monitor shows a fair part.
    std::vector<int> Visible() const {
        std::map<int, int> counts;
        for (int region : regions_) ++counts[region];
        std::vector<int> visible;
        for (const auto& [region, count] : counts) {
            if (region != kUncertain && count >= 2000) visible.push_back(region);
        }
        return visible;
    }

  private:
    static constexpr int kOutside = -2;

    ExpectedDesktop(int width, int height)
        : width_(width), regions_(static_cast<size_t>(width) * height, kUncertain) {}

    // The cell along one axis that screen coordinate `at` shows: kOutside beside the place,
    // kUncertain where the scaling may blend two cells (or a JPEG's colour planes do).
    static int CellAlong(int at, int place_start, int place_length, int source_length, bool tiled) {
        double source = 0;
        double margin = 3;
        if (tiled) {
            source = ((at - place_start) % source_length + source_length) % source_length + 0.5;
        } else {
            if (at < place_start || at >= place_start + place_length) return kOutside;
            source = (at - place_start + 0.5) * source_length / place_length;
            margin += static_cast<double>(source_length) / place_length;
        }
        const double border = std::round(source / kCell) * kCell;
        if (border > 0 && border < source_length && std::abs(source - border) < margin) {
            return kUncertain;
        }
        return static_cast<int>(source) / kCell;
    }

    int width_;
    std::vector<int> regions_;
    std::vector<std::uint32_t> colours_;
};

std::string Describe(const gloam::Rect& r) {
    std::ostringstream out;
    out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
    return out.str();
}

class StandInTest : public ScrTest {
  protected:
    void SetUp() override {
        ScrTest::SetUp();
        settings_.emplace();
        settings_->SetColour(kDesktopColour);
    }

    void TearDown() override {
        scr_.reset();
        settings_.reset();
        ScrTest::TearDown();
    }

    // "/S" on the Screen-saver desktop, fast and large, until its window has blacked out the
    // screen.
    void StartOnScreenSaverDesktop() {
        ASSERT_TRUE(desktop_.Made());
        WriteSettings(L"2", L"2");
        ASSERT_TRUE(desktop_.PointerShownAt(centre_));
        scr_ = std::make_unique<ScrProcess>(L"/S", ScrPath(), ScreenSaverDesktop::kPath);
        ASSERT_TRUE(WaitUntil(
            [this] { return !scr_->Running() || ShareOf(CaptureScreen(), 0x000000) > 0.5; },
            kStartLimit, 20ms))
            << "the display never blacked out the screen";
        ASSERT_TRUE(scr_->Running())
            << "the display ended on its own, exit code " << scr_->ExitCode().value_or(0);
    }

    // Watches the spot until it has shown a fair part of every region the primary monitor shows,
    // and checks every lit pixel that is certain.
    void ExpectSpotShows(const ExpectedDesktop& expected) {
        constexpr int kSeenEnough = 100;
        const std::vector<int> visible = expected.Visible();
        ASSERT_FALSE(visible.empty());
        std::vector<int> seen(expected.Regions(), 0);
        int mismatched = 0;
        std::ostringstream examples;
        const bool done = SampleFrames(
            [&](const TimedShot& frame) {
                const Surface& shot = frame.shot;
                for (int y = 0; y < shot.Height(); ++y) {
                    for (int x = 0; x < shot.Width(); ++x) {
                        const std::uint32_t pixel = shot.At(x, y);
                        const int region = expected.Region(x, y);
                        if (pixel == 0 || region == ExpectedDesktop::kUncertain) continue;
                        if (pixel == expected.Colour(region)) {
                            ++seen[static_cast<size_t>(region)];
                        } else if (++mismatched <= 5) {
                            examples << " (" << x << ", " << y << ") shows " << std::hex << pixel
                                     << " for " << expected.Colour(region) << std::dec << ";";
                        }
                    }
                }
                return std::all_of(visible.begin(), visible.end(), [&](int region) {
                    return seen[static_cast<size_t>(region)] >= kSeenEnough;
                });
            },
            20s);
        EXPECT_EQ(mismatched, 0) << "lit pixels of the wrong colour:" << examples.str();
        std::ostringstream unseen;
        for (int region : visible) {
            if (seen[static_cast<size_t>(region)] < kSeenEnough) {
                unseen << " " << std::hex << expected.Colour(region) << std::dec << " ("
                       << seen[static_cast<size_t>(region)] << " pixels)";
            }
        }
        EXPECT_TRUE(done) << "within 20 s the spot never showed enough of:" << unseen.str();
        EXPECT_TRUE(scr_->Running())
            << "the display ended on its own, exit code " << scr_->ExitCode().value_or(0);
    }

    // With the kept copy of an earlier wallpaper (the grid reversed) on disk and `wallpaper` chosen
    // to fill the screen: the spot shows the kept copy, or the colour alone when it must not.
    void ExpectWithKeptCopy(const std::wstring& wallpaper, bool kept_copy_shows) {
        const KeptWallpaperCopy kept(Grid(true));
        ASSERT_TRUE(kept.Written());
        settings_->SetWallpaper(wallpaper, L"10", L"0");
        ASSERT_NO_FATAL_FAILURE(StartOnScreenSaverDesktop());
        ExpectSpotShows(kept_copy_shows
                            ? ExpectedDesktop::Placed(Grid(true), {-256, 0, 1280, 768}, false)
                            : ExpectedDesktop::ColourOnly());
    }

    ScreenSaverDesktop desktop_;
    TempFolder folder_;
    std::optional<DesktopSettings> settings_;
    std::unique_ptr<ScrProcess> scr_;
};

// ---- the six placements -------------------------------------------------------------------------

struct StyleCase {
    const char* name;
    const wchar_t* style;  // WallpaperStyle
    const wchar_t* tile;   // TileWallpaper
    PictureFormat format;
    // Where the 512 x 256 grid lands on the 1024 x 768 primary; Span over two such monitors side
    // by side.
    gloam::Rect place;
    bool tiled;
    bool two_monitors;
};

void PrintTo(const StyleCase& c, std::ostream* out) {
    *out << c.name;
}

class WallpaperStyles : public StandInTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(WallpaperStyles, ShowThePicturePlacedOnThePrimary) {
    const StyleCase& c = GetParam();
    std::optional<MonitorLayout> layout;
    if (c.two_monitors) {
        layout.emplace(std::vector<Monitor>{{0, 0, 1024, 768}, {1024, 0, 1024, 768}});
        if (!layout->Applied()) GTEST_SKIP() << layout->Failure();
    }
    const ScreenSize screen = PrimaryScreen();
    ASSERT_EQ(screen.width, 1024);
    ASSERT_EQ(screen.height, 768);
    const std::wstring path =
        folder_.File(c.format == PictureFormat::Png ? L"grid.png" : L"grid.jpg");
    ASSERT_TRUE(WritePicture(path, c.format, Grid()));
    const std::optional<Surface> decoded = ReadPicture(path);
    ASSERT_TRUE(decoded.has_value());
    settings_->SetWallpaper(path, c.style, c.tile);
    ASSERT_NO_FATAL_FAILURE(StartOnScreenSaverDesktop());
    ExpectSpotShows(ExpectedDesktop::Placed(*decoded, c.place, c.tiled));
}

INSTANTIATE_TEST_SUITE_P(
    StandIn, WallpaperStyles,
    ::testing::Values(
        StyleCase{"Center", L"0", L"0", PictureFormat::Png, {256, 256, 768, 512}, false, false},
        StyleCase{"Tile", L"0", L"1", PictureFormat::Png, {0, 0, 512, 256}, true, false},
        StyleCase{"Stretch", L"2", L"0", PictureFormat::Png, {0, 0, 1024, 768}, false, false},
        StyleCase{"Fit", L"6", L"0", PictureFormat::Png, {0, 128, 1024, 640}, false, false},
        StyleCase{"Fill", L"10", L"0", PictureFormat::Png, {-256, 0, 1280, 768}, false, false},
        StyleCase{"Span", L"22", L"0", PictureFormat::Png, {0, -128, 2048, 896}, false, true},
        StyleCase{"JpegFit", L"6", L"0", PictureFormat::Jpeg, {0, 128, 1024, 640}, false, false}),
    ByName());

// ---- wallpapers that cannot be shown ------------------------------------------------------------

struct BadCase {
    const char* name;
    // Puts the wallpaper file in place (or not) and returns the path to set.
    std::wstring (*make)(const TempFolder& folder);
};

void PrintTo(const BadCase& c, std::ostream* out) {
    *out << c.name;
}

class BadWallpapers : public StandInTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadWallpapers, ShowTheDesktopColour) {
    const std::wstring path = GetParam().make(folder_);
    ASSERT_FALSE(HasFatalFailure());
    settings_->SetWallpaper(path, L"2", L"0");
    ASSERT_NO_FATAL_FAILURE(StartOnScreenSaverDesktop());
    ExpectSpotShows(ExpectedDesktop::ColourOnly());
}

std::wstring Missing(const TempFolder& folder) {
    return folder.File(L"gone.png");
}

// A PNG whose header is whole and whose image data is noise.
std::wstring Corrupt(const TempFolder& folder) {
    std::string bytes("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x02\0\0\0\x01\0\x08\x02\0\0\0", 29);
    bytes += std::string("\x12\x34\x56\x78\0\0\x10\0IDAT", 12);
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919) % 251);
    const std::wstring path = folder.File(L"corrupt.png");
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
}

// One pixel wider than any picture the display decodes (a flat PNG of a few hundred bytes).
std::wstring TooWide(const TempFolder& folder) {
    const std::wstring path = folder.File(L"wide.png");
    EXPECT_TRUE(WritePicture(path, PictureFormat::Png, Flat(16385, 1, kCellColours[0])));
    return path;
}

INSTANTIATE_TEST_SUITE_P(StandIn, BadWallpapers,
                         ::testing::Values(BadCase{"Missing", Missing}, BadCase{"Corrupt", Corrupt},
                                           BadCase{"Wider16385", TooWide}),
                         ByName());

// The widest picture decoded, stretched over the screen: every pixel its one colour.
TEST_F(StandInTest, PictureOf16384PixelsWideIsShown) {
    const std::wstring path = folder_.File(L"wide.png");
    ASSERT_TRUE(WritePicture(path, PictureFormat::Png, Flat(16384, 1, kCellColours[0])));
    settings_->SetWallpaper(path, L"2", L"0");
    ASSERT_NO_FATAL_FAILURE(StartOnScreenSaverDesktop());
    const ScreenSize screen = PrimaryScreen();
    ExpectSpotShows(ExpectedDesktop::Placed(Flat(kCell, kCell, kCellColours[0]),
                                            gloam::Rect{0, 0, screen.width, screen.height}, false));
}

// ---- the copy the system keeps ------------------------------------------------------------------

TEST_F(StandInTest, GoneWallpaperGivesWayToTheKeptCopy) {
    ExpectWithKeptCopy(folder_.File(L"gone.png"), true);
}

// No wallpaper chosen: the copy kept of an earlier one is not shown.
TEST_F(StandInTest, NoWallpaperShowsTheColourEvenWithAKeptCopy) {
    ExpectWithKeptCopy(L"", false);
}

// A wallpaper on a share is never read, even one that answers: the kept copy shows instead.
TEST_F(StandInTest, WallpaperOnAShareIsNotReadTheKeptCopyShows) {
    ASSERT_TRUE(WritePicture(folder_.File(L"grid.png"), PictureFormat::Png, Grid()));
    const LocalShare share(L"gloamwall", folder_.Path());
    if (!share.Ready()) GTEST_SKIP() << "no share can be made here (Wine only)";
    ASSERT_TRUE(ReadPicture(share.Path(L"grid.png")).has_value()) << "the share does not answer";
    ExpectWithKeptCopy(share.Path(L"grid.png"), true);
}

// ---- the user's own desktop ---------------------------------------------------------------------

// Started on the user's desktop, the display copies the screen, whatever the wallpaper.
TEST_F(StandInTest, OnTheUsersDesktopTheScreenIsCopied) {
    const std::wstring path = folder_.File(L"grid.png");
    ASSERT_TRUE(WritePicture(path, PictureFormat::Png, Grid()));
    settings_->SetWallpaper(path, L"10", L"0");
    const PatternWindow pattern;
    ASSERT_TRUE(pattern.WaitShown());
    WriteSettings(L"2", L"2");
    scr_ = std::make_unique<ScrProcess>(L"/S");
    ASSERT_TRUE(scr_->WaitForVisibleWindow(kDisplayClass, kDisplayTitle).has_value());
    int lit_frames = 0;
    const bool done = SampleFrames(
        [&](const TimedShot& frame) {
            const FrameScan scan = ScanFrame(frame.shot);
            EXPECT_EQ(scan.mismatched, 0)
                << "lit pixels that are not the screen's, in " << Describe(scan.bounds);
            lit_frames += scan.lit > 0 ? 1 : 0;
            return lit_frames >= 10 || HasFailure();
        },
        10s);
    EXPECT_TRUE(done) << "only " << lit_frames << " frames with a spot";
}

}  // namespace
}  // namespace e2e
