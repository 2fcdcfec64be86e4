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
    in_tick_ = true;
    struct Leave {
        bool& in_tick;
        ~Leave() { in_tick = false; }
    } leave{in_tick_};
    MoveSpot();
    return Tick::Drawn;
}

void FrameLoop::MoveSpot() {
    if (CatsDue(state_, services_.clock.Now())) {
        PlaceCats();
        state_.blnCatsShown = true;
        compositor_.Invalidate();
    }
    const Point at = AdvanceSpot(state_, W_, H_, services_.random);
    services_.presenter.BeforeCompose();
    services_.presenter.Present(compositor_.Compose(pictures_.picWork, pictures_.picDesktop, at));
}

void FrameLoop::PlaceCats() {
    gloam::PlaceCats(pictures_.picDesktop, W_, H_, services_.random, services_.cats);
}

}  // namespace gloam
