// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/big_fish.h"

#include <GL/gl.h>

#include <cmath>

#include "game/drawing.h"
#include "game/game_constants.h"
#include "game/sub.h"
#include "game/world_view.h"

void BigFish::Reset() {
    targetSpeed = BIGFISH_STANDARD_VELOCITY;
    chaseSpeed = BIGFISH_STANDARD_VELOCITY;
    velocity = BIGFISH_STANDARD_VELOCITY;
    turnSpeed = BIGFISH_TURNING_SPEED;
    angle = 0;
    mode = BIGFISH_IDLE;
    x = 0;
    y = 0;
    tailFrame = 0;
    faceFrame = 0;
    flipperFrame = 0;
    flipperTimer = 0;
    tailTimer = 0;
}

Sub& BigFish::Prey() {
    return TheWorld().Prey();
}

double BigFish::ChompDistance() {
    double mouthAngle = (angle - BIGFISH_MOUTH_ANGLE) * BIGFISH_DEGREES_TO_RADIANS;
    double reach = BIGFISH_MOUTH_REACH * static_cast<double>(BIGFISH_SIZE);
    double dx = Prey().x - (x + std::cos(mouthAngle) * reach);
    double dy = Prey().y - (y + std::sin(mouthAngle) * reach);
    return std::sqrt(dx * dx + dy * dy);
}

void BigFish::Chomp() {
    if (chaseSpeed < BIGFISH_VICTORY_SPEED) {
        chaseSpeed = BIGFISH_VICTORY_SPEED;
        targetSpeed = BIGFISH_VICTORY_SPEED;
    }
}

void BigFish::Update(double dT) {
    int previousFace = faceFrame;
    bool ahead = x > Prey().x;
    double targetAngle = AimAtPrey(ahead);
    if (mode == BIGFISH_CHASE || mode == BIGFISH_ESCORT) {
        Steer(targetAngle, dT);
    }
    chaseSpeed += BIGFISH_GRADUAL_ACCELERATION * dT;
    turnSpeed += BIGFISH_ANGLE_GRADUAL_ACCELERATION * dT;
    ApproachTargetSpeed(dT);
    Move(dT);
    Animate(dT);
    if (mode == BIGFISH_ESCORT) {
        Escort();
    }
    // The bite is heard when an open mouth shuts on nothing or on the submarine, not when the
    // fish overtakes it.
    if (previousFace == 2 && faceFrame == 1 && TheWorld().InGame()) {
        TheWorld().PlaySoundEffect(SND_BITE);
    }
}

// Picks the heading, speed and face for this step. Once ahead of the submarine it levels out,
// slows and looks ahead; behind it, it aims straight at it and opens wide when near.
double BigFish::AimAtPrey(bool ahead) {
    const Sub& prey = Prey();
    double targetAngle = std::atan2(prey.y - y, prey.x - x) * BIGFISH_RADIANS_TO_DEGREES;
    if (ahead) {
        targetSpeed = BIGFISH_OVERSHOT_VELOCITY;
        targetAngle = 0;
        faceFrame = 0;
    } else {
        targetSpeed = chaseSpeed;
        faceFrame = ChompDistance() <= BIGFISH_OPENWIDE_DISTANCE ? 2 : 1;
    }
    if (prey.state == SUB_CHOMPED) {
        faceFrame = 1;
    }
    return targetAngle;
}

// Turns toward the target angle by at most turnSpeed * dT and stops exactly on it. The angle is
// never wrapped, so a difference below -180 degrees turns the fish the longer way round.
void BigFish::Steer(double targetAngle, double dT) {
    auto difference = [&] {
        return std::fmod(angle - targetAngle + DEGREES_PER_HALF_TURN, DEGREES_PER_TURN) -
               DEGREES_PER_HALF_TURN;
    };
    double diff = difference();
    if (diff > 0) {
        angle -= turnSpeed * dT;
        diff = difference();
        if (diff < 0) {
            angle = targetAngle;
        }
    }
    if (diff < 0) {
        angle += turnSpeed * dT;
        diff = difference();
        if (diff > 0) {
            angle = targetAngle;
        }
    }
}

void BigFish::ApproachTargetSpeed(double dT) {
    velocity = StepTowards(velocity, targetSpeed, BIGFISH_ACCELERATION * dT);
}

// At the surface the fish is held at y = 0 and its nose pushed down. Once ahead, it drifts to
// the submarine's depth.
void BigFish::Move(double dT) {
    double dy = RiseAlongHeading(*this, dT);
    if (y >= 0 && dy > 0) {
        dy = 0;
        y = 0;
        if (angle > 0) {
            angle -= BIGFISH_SURFACE_TURN * dT;
        }
    }
    y += dy;
    AdvanceAlongHeading(*this, dT);
    const Sub& prey = Prey();
    if (x > prey.x) {
        y += (prey.y - y) * BIGFISH_VERTICAL_DRIFT * dT;
    }
}

// Tail and flipper beat faster the faster the fish swims, at most one frame a step.
void BigFish::Animate(double dT) {
    flipperTimer += dT;
    double flipperTime = BIGFISH_FLIPPER_SPEED / (velocity + 1.0);
    if (flipperTimer > flipperTime) {
        flipperTimer -= flipperTime;
        flipperFrame = (flipperFrame + 1) % 4;
    }
    tailTimer += dT;
    double tailTime = BIGFISH_TAIL_SPEED / velocity;
    if (tailTimer > tailTime) {
        tailTimer -= tailTime;
        tailFrame = (tailFrame + 1) % 4;
    }
}

// Falls back when nearer than 1.5, catches up when farther than 2.25.
void BigFish::Escort() {
    double distance = ChompDistance();
    if (distance <= BIGFISH_ESCORT_NEAR) {
        chaseSpeed = targetSpeed = BIGFISH_ESCORT_SLOW;
    }
    if (distance >= BIGFISH_ESCORT_FAR) {
        chaseSpeed = targetSpeed = BIGFISH_ESCORT_FAST;
    }
}

void BigFish::Draw() {
    if (mode == BIGFISH_IDLE) {
        return;
    }
    static const int TAILS[4] = {IMG_FISH_TAIL1, IMG_FISH_TAIL2, IMG_FISH_TAIL1, IMG_FISH_TAIL3};
    static const int FLIPPERS[4] = {IMG_FISH_FLIPPER1, IMG_FISH_FLIPPER2, IMG_FISH_FLIPPER1,
                                    IMG_FISH_FLIPPER3};
    static const int FACES[3] = {IMG_FISH_FACE1, IMG_FISH_FACE2, IMG_FISH_FACE3};
    int flipper =
        flipperFrame >= 0 && flipperFrame < 4 ? FLIPPERS[flipperFrame] : IMG_FISH_FLIPPER3;
    double half = BIGFISH_SIZE;
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    glRotatef(static_cast<float>(angle), 0.0f, 0.0f, 1.0f);
    for (int layer : {static_cast<int>(IMG_FISH_BODY), TAILS[tailFrame & 3], flipper,
                      FACES[faceFrame >= 0 && faceFrame < 3 ? faceFrame : 1]}) {
        DrawImageQuad(layer, -half, half, half, -half);
    }
    glPopMatrix();
}
