// SPDX-License-Identifier: GPL-3.0-or-later
// The scene change: a black screen with a round opening that closes onto or opens from a point.
#pragma once

#include "game/entity.h"

class CircleZoom final : public Entity {
public:
    double* centreX = nullptr;  // the x the circle follows; not owned
    double* centreY = nullptr;
    double radius = 0.0;  // units
    double speed = 0.0;   // units per second
    int zoomingOut = 0;   // 0 closing, 1 opening
    bool active = false;  // zooming, or closed and holding the screen black

    CircleZoom() { Reset(); }

    // Full size, default speed, inactive; the centre stays.
    void Reset() override;
    void ZoomIn(double* followX, double* followY);
    void ZoomOut(double* followX, double* followY);
    void Update(double dT);
    void Draw();

private:
    void DrawClosed();
    void DrawOpening();
};
