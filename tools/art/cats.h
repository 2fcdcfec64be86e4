// The two hidden cats: a seated cat facing the viewer, drawn from a description of its shapes.
//
// Every measure of a CatDesign is in output pixels of its picture (x right, y down). The left ear,
// eye, haunch, leg and paw are described; the right ones are their mirror images about `midX`.
#pragma once

#include "canvas.h"

namespace art {

struct CatDesign {
    int width = 0, height = 0;
    int samplesPerAxis = 4;
    double midX = 0;

    // Head: one ellipse and two cheek ellipses below its middle.
    Vec head;
    double headRx = 0, headRy = 0;
    double cheekDx = 0, cheekDy = 0, cheekRx = 0, cheekRy = 0;
    // Left ear: a rounded triangle.
    Vec earTip, earOuterBase, earInnerBase;
    // Body outline, left half: neck, chest, hip and bottom half-widths at their heights.
    double neckY = 0, neckHalf = 0, chestY = 0, chestHalf = 0, hipY = 0, hipHalf = 0;
    double bottomY = 0, bottomHalf = 0;
    Vec haunch;  // left haunch
    double haunchRx = 0, haunchRy = 0;
    // Left front leg and paw.
    double legX = 0, legHalf = 0, legTopY = 0;
    Vec paw;
    double pawRx = 0, pawRy = 0;
    // Tail centre line from its root at the right haunch, round the front of the paws.
    Path tail;
    double tailWidth = 0, tailTipWidth = 0;
    // Face.
    double eyeX = 0, eyeY = 0, eyeRx = 0, eyeRy = 0, eyeTilt = 0;  // left eye
    double noseY = 0, noseHalf = 0;

    // Colours.
    Colour fur, furLight, furDark, stripe;
    double stripeStrength = 0.8;
    bool whiteMarkings = false;  // white muzzle, blaze, bib, legs and paws
    Colour white, whiteShade;
    Colour muzzle;  // muzzle and chin when there are no white markings
    Colour innerEar, nose, irisInner, irisOuter, whisker;
    unsigned seed = 1;
};

const CatDesign& catDesign(int index);  // 0 or 1

struct CatArt {
    Image picture;
    Image mask;
};
CatArt renderCat(const CatDesign& design);

}  // namespace art
