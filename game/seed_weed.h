// SPDX-License-Identifier: GPL-3.0-or-later
// A floating seed with two strands of weed: knocked aside when struck, twitching at rest.
#pragma once

#include "game/entity.h"

class SeedWeed final : public Entity {
public:
    int strandOver = 0;        // front strand picture, 0 to 7
    int strandUnder = 0;       // back strand picture, 0 to 7
    double wiggleTimer = 0.0;  // seconds at rest since it last moved; kept across reuse
    double wiggleTime = 0.0;   // seconds of rest after which it twitches
    double soundDelay = 0.0;   // seconds before it may sound a collision again

    SeedWeed() { Reset(); }

    // At rest with a fresh twitch time; place, strands and rest timer stay.
    void Reset() override;
    void SetWiggleTime();
    void Update(double dT);
    void DrawUnder();  // the seed and the back strand, behind the actors
    void DrawOver();   // the front strand, over them

private:
    void DrawStrand(int strand, float shade) const;
    void Drift(double dT);
    void Twitch(double dT);
};
