// The display's frame loop without a window: what frmMain does when it loads and at every tick of
// Timer1, in the program's order, against a clock, a random source and a presenter.
//
// A tick (Timer1_Timer) first runs the exit watch: a cursor more than 10 pixels from where the
// previous tick saw it ends the program. Then MoveSpot draws the next frame:
//   1. the cats check: once, three clock minutes into the run, PlaceCats stamps the cats into
//      picDesktop, and the compositor learns that the desktop changed under the spot;
//   2. the spot advances one step;
//   3. the compositor writes the frame into picWork;
//   4. the presenter shows what changed and lets waiting events run.
//
// picWork is the compositor's back buffer. Nothing but the compositor writes it (the window only
// reads it, to present and to repaint), so it always holds the previous frame, as the compositor
// needs. The events run in step 4 may hold the next tick of Timer1: that tick is dropped, not
// nested, since the frame under way has not been finished.
#pragma once

#include <cstdint>
#include <optional>

#include "display/display_state.h"
#include "display/frame_composer.h"
#include "platform/bitmap_loader.h"
#include "platform/local_time.h"
#include "platform/random.h"
#include "platform/surface.h"

namespace gloam {

// How frames reach the screen.
class Presenter {
  public:
    virtual ~Presenter() = default;
    // The compositor is about to write picWork: whatever still reads it has to finish first.
    virtual void BeforeCompose() = 0;
    // Shows the rectangles of picWork that `change` names, then lets waiting events run.
    virtual void Present(const FrameChange& change) = 0;
};

// frmMain's pictures; their pixels belong to the form and outlive the loop.
struct DisplayPictures {
    PixelView picDesktop;  // the desktop copy (with the cats, once stamped), screen-sized
    PixelView picWork;     // the frame on the screen, screen-sized, all black at load
    PixelView picSpot;     // the spot's mask, a white disc on black
};

// What the loop draws on besides the pictures; all of it outlives the loop.
struct DisplayServices {
    Clock& clock;
    RandomSource& random;
    BitmapLoader& cats;  // the cats' pictures and masks
    Presenter& presenter;
};

class FrameLoop {
  public:
    enum class Tick { Drawn, Dropped, End };

    // The steps per sweep and the spot's size from the two settings (an index that names no
    // choice raises a RuntimeError), for a screen of W x H pixels.
    FrameLoop(const DisplayServices& services, const DisplayPictures& pictures, double W, double H,
              int32_t speed_index, int32_t size_index);

    // The end of Form_Load, once picDesktop holds the desktop: the spot waits at its start corner,
    // the exit watch starts from `cursor` and the cats' minutes from the clock's time now.
    void Start(Point cursor);

    // One tick of Timer1, with the cursor where it is now. End: the cursor moved more than 10
    // pixels since the previous tick and the caller ends the program; nothing was drawn. Dropped:
    // the tick came while the presenter let events run.
    Tick Timer1_Timer(Point cursor);

    const DisplayState& State() const { return state_; }

  private:
    void MoveSpot();
    void PlaceCats();

    DisplayServices services_;
    DisplayPictures pictures_;
    double W_;
    double H_;
    DisplayState state_;
    SpotCompositor compositor_;
    bool in_tick_ = false;
};

}  // namespace gloam
