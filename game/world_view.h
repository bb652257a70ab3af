// SPDX-License-Identifier: GPL-3.0-or-later
// What an actor, a drawing helper or a pool callback may ask of the world it lives in, and
// nothing more: they see the world through this, never the world task itself.
#pragma once

#include <cstdint>

#include "game/assets.h"

class Sub;
class BigFish;
struct ImageCoverage;

class WorldView {
public:
    virtual std::uint32_t TextureOf(int image) const = 0;        // the OpenGL texture of an IMAGES
    virtual const ImageCoverage& Coverage(int image) const = 0;  // what of the picture shows
    // Whether any of a box of the world, in units, is in the view.
    virtual bool InView(double left, double bottom, double right, double top) const = 0;

    virtual bool EffectsOn() const = 0;  // effects are switched on (F2)
    // Both play only while effects are on; the variant is one of three, counting from first.
    virtual void PlaySoundEffect(SOUNDS sound) = 0;
    virtual void PlaySoundVariant(SOUNDS first) = 0;

    // Scores, except in the simulated past of a restock: false there, and nothing counts.
    virtual bool AddPoints(long points) = 0;
    virtual bool InGame() const = 0;  // a game is on: not the menu
    // The ocean's past is being simulated ahead of a scene: nothing there is heard or felt.
    virtual bool Restocking() const = 0;
    virtual Sub& Prey() = 0;  // the submarine
    virtual const BigFish& Hunter() const = 0;
    virtual double StepTime() const = 0;  // seconds: the step the pool callbacks take

protected:
    ~WorldView() = default;
};

// The world of the running game.
WorldView& TheWorld();
