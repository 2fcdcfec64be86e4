#include "display/frame_loop.h"

#include "display/cats.h"
#include "display/exit_watch.h"
#include "display/spot_path.h"

namespace gloam {
namespace {

DisplayState SettingsState(int32_t speed_index, int32_t size_index) {
    DisplayState state;
    state.lngStepsPerSweep = StepsPerSweepFor(speed_index);
    state.lngSpotSize = SpotSizeFor(size_index);
    return state;
}

}  // namespace

FrameLoop::FrameLoop(const DisplayServices& services, const DisplayPictures& pictures, double W,
                     double H, int32_t speed_index, int32_t size_index)
    : services_(services),
      pictures_(pictures),
      W_(W),
      H_(H),
      state_(SettingsState(speed_index, size_index)),
      compositor_(pictures.picSpot, state_.lngSpotSize) {}

void FrameLoop::Start(Point cursor) {
    state_.ptCursor = cursor;
    ResetSpot(state_, H_);
    state_.dtStart = services_.clock.Now();
}

FrameLoop::Tick FrameLoop::Timer1_Timer(Point cursor) {
    if (in_tick_) return Tick::Dropped;
    if (CursorMovedTooFar(state_.ptCursor, cursor)) return Tick::End;
    state_.ptCursor = cursor;
    if (!DrawsFrames(power_)) {
        CheckCats();
        return Tick::Skipped;
    }
    in_tick_ = true;
    struct Leave {
        bool& in_tick;
        ~Leave() { in_tick = false; }
    } leave{in_tick_};
    MoveSpot();
    return Tick::Drawn;
}

void FrameLoop::SetDisplayPower(DisplayPower power) {
    // What the screen showed while it was off is unknown: the next frame rewrites the whole disc.
    if (!DrawsFrames(power_) && DrawsFrames(power)) compositor_.Invalidate();
    power_ = power;
}

void FrameLoop::MoveSpot() {
    CheckCats();
    const Point at = AdvanceSpot(state_, W_, H_, services_.random);
    services_.presenter.BeforeCompose();
    services_.presenter.Present(compositor_.Compose(pictures_.picWork, pictures_.picDesktop, at));
}

void FrameLoop::CheckCats() {
    if (!CatsDue(state_, services_.clock.Now())) return;
    PlaceCats();
    state_.blnCatsShown = true;
    compositor_.Invalidate();
}

void FrameLoop::PlaceCats() {
    gloam::PlaceCats(pictures_.picDesktop, W_, H_, services_.random, services_.cats);
}

}  // namespace gloam
