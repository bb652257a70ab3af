// SPDX-License-Identifier: GPL-3.0-or-later
// The world's rules for each element of its pools, handed to Pool<T>::Iterate: the submarine
// swallows fishies and strikes weeds, the big fish knocks weeds aside, and each is drawn.
#pragma once

#include "game/fishie.h"
#include "game/seed_weed.h"

void UpdateFishie(Fishie* fishie);
void UpdateSeedWeed(SeedWeed* weed);
// A fishie already on its way into the submarine is eaten at once.
void FinishSwallowing(Fishie* fishie);
void DrawFishie(Fishie* fishie);
void DrawSeedWeedUnder(SeedWeed* weed);
void DrawSeedWeedOver(SeedWeed* weed);
