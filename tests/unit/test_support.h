// Fakes and pictures shared by the unit tests: a scripted random source and clock, a settings
// store in memory, a bitmap loader that behaves like the one picture box the cats go through, a
// presenter with a screen of its own, a spot mask, and a desktop with a pattern that no transfer
// can reproduce by accident. And the
// pieces of their tables and checks: rows of input and expected output named by their input, the
// check of a reported error, the first pixel where two pictures differ.
#pragma once

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "display/cats.h"
#include "display/frame_loop.h"
#include "platform/error.h"
#include "platform/local_time.h"
#include "platform/random.h"
#include "platform/settings.h"
#include "platform/surface.h"
#include "tests/case_name.h"

namespace gloam {

// Rectangles in failure messages as {left, top, right, bottom}.
inline void PrintTo(const Rect& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

}  // namespace gloam

namespace gloam::testing_support {

// The largest float below 1: the closest a draw of the generator comes to 1.
inline const float kAlmostOne = std::nextafter(1.0f, 0.0f);

// Hands out the given numbers in order; running out is a test failure.
class ScriptedRandom final : public RandomSource {
  public:
    explicit ScriptedRandom(std::vector<float> values) : values_(std::move(values)) {}
    float Next() override {
        if (next_ >= values_.size()) {
            ADD_FAILURE() << "more random draws than scripted (" << values_.size() << ")";
            return 0.0f;
        }
        return values_[next_++];
    }
    size_t Draws() const { return next_; }

  private:
    std::vector<float> values_;
    size_t next_ = 0;
};

// A clock the test sets by hand.
class ScriptedClock final : public Clock {
  public:
    explicit ScriptedClock(LocalDateTime now) : now_(now) {}
    LocalDateTime Now() override { return now_; }
    void Set(LocalDateTime now) { now_ = now; }

  private:
    LocalDateTime now_;
};

inline LocalDateTime At(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                        int32_t second) {
    return LocalDateTime{year, month, day, hour, minute, second};
}

// Like the picture box that holds one bitmap at a time: every Load replaces the content of the
// same buffer, so a view kept across two loads shows the later bitmap. Records the ids loaded.
class FakeBitmapLoader final : public BitmapLoader {
  public:
    void Add(int32_t id, Surface bitmap) { bitmaps_[id] = std::move(bitmap); }
    PixelView Load(int32_t id) override {
        loads_.push_back(id);
        const auto found = bitmaps_.find(id);
        if (found == bitmaps_.end()) {
            ADD_FAILURE() << "no bitmap " << id;
            box_ = Surface();
        } else {
            box_ = found->second;
        }
        return box_.View();
    }
    const std::vector<int32_t>& Loads() const { return loads_; }

  private:
    std::map<int32_t, Surface> bitmaps_;
    Surface box_;
    std::vector<int32_t> loads_;
};

// The per-user store in memory. Records every read and write in order ("R app/section/key",
// "W app/section/key=text"); writes fail with a RuntimeError once `fail_writes` is set.
class MemorySettingsStore final : public SettingsStore {
  public:
    std::wstring Read(std::wstring_view app, std::wstring_view section, std::wstring_view key,
                      std::wstring_view fallback) override {
        log_.push_back(L"R " + Path(app, section, key));
        const auto found = entries_.find(Path(app, section, key));
        return found == entries_.end() ? std::wstring(fallback) : found->second;
    }
    void Write(std::wstring_view app, std::wstring_view section, std::wstring_view key,
               std::wstring_view text) override {
        log_.push_back(L"W " + Path(app, section, key) + L"=" + std::wstring(text));
        if (fail_writes) throw RuntimeError("the settings store refused a write");
        entries_[Path(app, section, key)] = std::wstring(text);
    }
    void Put(std::wstring_view app, std::wstring_view section, std::wstring_view key,
             std::wstring_view text) {
        entries_[Path(app, section, key)] = std::wstring(text);
    }
    const std::vector<std::wstring>& Log() const { return log_; }
    const std::map<std::wstring, std::wstring>& Entries() const { return entries_; }
    bool fail_writes = false;

  private:
    static std::wstring Path(std::wstring_view app, std::wstring_view section,
                             std::wstring_view key) {
        return std::wstring(app) + L"/" + std::wstring(section) + L"/" + std::wstring(key);
    }
    std::map<std::wstring, std::wstring> entries_;
    std::vector<std::wstring> log_;
};

// White filled ellipse of the bounding box [left, right) x [top, bottom) on black.
inline Surface EllipseMask(int32_t width, int32_t height, Rect box) {
    Surface mask(width, height, kBlack);
    const double cx = (box.left + box.right) / 2.0;
    const double cy = (box.top + box.bottom) / 2.0;
    const double rx = box.Width() / 2.0;
    const double ry = box.Height() / 2.0;
    PixelView view = mask.View();
    for (int32_t y = box.top; y < box.bottom; ++y) {
        for (int32_t x = box.left; x < box.right; ++x) {
            const double u = (x + 0.5 - cx) / rx;
            const double v = (y + 0.5 - cy) / ry;
            if (u * u + v * v <= 1.0) view.At(x, y) = kWhite;
        }
    }
    return mask;
}

// The 300 x 300 spot mask: a hard-edged white disc in the box (6, 6) - (293, 294).
inline Surface SpotMask() {
    return EllipseMask(300, 300, Rect{6, 6, 293, 294});
}

// Every pixel different from its neighbours and no channel constant: a transfer that reads the
// wrong place or mixes up channels shows.
inline uint32_t PatternPixel(int32_t x, int32_t y) {
    const uint32_t r = static_cast<uint32_t>(x * 7 + y * 3) & 0xFF;
    const uint32_t g = static_cast<uint32_t>(x * 5 + y * 11 + 40) & 0xFF;
    const uint32_t b = static_cast<uint32_t>((x ^ y) * 13 + 91) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

inline Surface PatternSurface(int32_t width, int32_t height) {
    Surface surface(width, height);
    PixelView view = surface.View();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) view.At(x, y) = PatternPixel(x, y);
    }
    return surface;
}

// A cat and its mask: the silhouette is an ellipse; inside it the picture has fur colours (never
// pure white), outside it is pure white, as the mask rule asks.
struct CatBitmaps {
    Surface picture;
    Surface mask;
};

inline CatBitmaps MakeCat(int32_t width, int32_t height, uint32_t seed) {
    CatBitmaps cat{Surface(width, height, kWhite),
                   EllipseMask(width, height, Rect{1, 0, width - 1, height})};
    PixelView picture = cat.picture.View();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (cat.mask.At(x, y) != kWhite) continue;
            const uint32_t stripe = ((static_cast<uint32_t>(y) + seed) / 6) % 2 ? 0x303030 : 0x0;
            picture.At(x, y) = (0x404850 + seed * 0x010203 + stripe) & 0xFEFEFE;
        }
    }
    return cat;
}

// A loader holding both cats at their real sizes: 105 x 170 and 100 x 185.
inline FakeBitmapLoader CatLoader() {
    FakeBitmapLoader loader;
    CatBitmaps cat0 = MakeCat(105, 170, 1);
    CatBitmaps cat1 = MakeCat(100, 185, 2);
    loader.Add(kCatPictureId, std::move(cat0.picture));
    loader.Add(kCatMaskId, std::move(cat0.mask));
    loader.Add(kCatPictureId + 1, std::move(cat1.picture));
    loader.Add(kCatMaskId + 1, std::move(cat1.mask));
    return loader;
}

// ---- tables and checks --------------------------------------------------------------------------

using gloam_tests::ByName;

// A row of a table-driven test: what goes in and what must come out.
template <typename Input, typename Output>
struct Example {
    Input input;
    Output expected;
};

template <typename Input, typename Output>
void PrintTo(const Example<Input, Output>& example, std::ostream* out) {
    *out << ::testing::PrintToString(example.input) << " gives "
         << ::testing::PrintToString(example.expected);
}

// Parameterised tests over a table of such rows (its ParamType).
template <typename Input, typename Output>
using ExampleTest = ::testing::TestWithParam<Example<Input, Output>>;

// A text input as a case name (tests/case_name.h); a number in its shortest exact decimal form.
inline std::string InputName(const char* text) {
    return gloam_tests::CaseName(text);
}
inline std::string InputName(const wchar_t* text) {
    return gloam_tests::CaseName(text);
}
inline std::string InputName(double value) {
    char text[32] = {};
    std::to_chars(text, text + sizeof text - 1, value);
    return gloam_tests::CaseName(text);
}

// Names rows by their input.
struct ByInput {
    template <typename Input, typename Output>
    std::string operator()(const ::testing::TestParamInfo<Example<Input, Output>>& info) const {
        return InputName(info.param.input);
    }
};

// Expects `call` to throw a RuntimeError whose message holds each of `mentions`; `what` names the
// call in a failure.
template <typename Call>
void ExpectErrorNaming(const std::string& what, Call&& call,
                       std::initializer_list<std::string> mentions) {
    try {
        call();
        ADD_FAILURE() << "no error for " << what;
    } catch (const RuntimeError& error) {
        const std::string message = error.what();
        for (const std::string& mention : mentions) {
            EXPECT_NE(message.find(mention), std::string::npos)
                << what << ": no \"" << mention << "\" in: " << message;
        }
    }
}

// Where two pictures of the same size first differ, "" when they do not. Rows are compared whole
// first: the largest screens have tens of millions of pixels.
inline std::string FirstDifference(PixelView got, PixelView want) {
    const size_t row_bytes = static_cast<size_t>(want.width) * sizeof(uint32_t);
    for (int32_t y = 0; y < want.height; ++y) {
        if (std::memcmp(got.Row(y), want.Row(y), row_bytes) == 0) continue;
        for (int32_t x = 0; x < want.width; ++x) {
            if (got.At(x, y) != want.At(x, y)) {
                std::ostringstream out;
                out << "first difference at " << x << "," << y << ": " << std::hex << got.At(x, y)
                    << ", expected " << want.At(x, y);
                return out.str();
            }
        }
    }
    return "";
}

// ---- the frame loop
// ------------------------------------------------------------------------------

// Presents as the window does, onto a screen of its own: each changed rectangle of picWork is
// copied there. Checks the loop's side of the bargain as it goes: when the compositor is about to
// write picWork, picWork is still what was presented last, and after a present the screen shows
// all of picWork. `while_shown` runs as the events that the window lets run after a present.
class ScreenPresenter final : public Presenter {
  public:
    ScreenPresenter(PixelView work, PixelView screen) : work_(work), screen_(screen) {}
    void BeforeCompose() override {
        ++compose_calls_;
        if (std::exchange(lost_picture_, false)) return;
        EXPECT_EQ(FirstDifference(work_, screen_), "") << "picWork written before BeforeCompose";
    }
    void Present(const FrameChange& change) override {
        ++presents_;
        EXPECT_EQ(presents_, compose_calls_) << "a present without BeforeCompose";
        for (const Rect& r : change) {
            BitBlt(screen_, r.left, r.top, r.Width(), r.Height(), work_, r.left, r.top, Rop::Copy);
        }
        EXPECT_EQ(FirstDifference(screen_, work_), "") << "a change left out of the present";
        if (while_shown) while_shown();
    }
    int Presents() const { return presents_; }
    // The screen turns black, as a display that was off may come back: the next present has to
    // bring back all of picWork that is not black.
    void LosePicture() {
        Fill(screen_, screen_.Bounds(), kBlack);
        lost_picture_ = true;
    }
    std::function<void()> while_shown;

  private:
    PixelView work_;
    PixelView screen_;
    int compose_calls_ = 0;
    int presents_ = 0;
    bool lost_picture_ = false;
};

}  // namespace gloam::testing_support
