// SPDX-License-Identifier: GPL-3.0-or-later
// The menu's billboards: the title words flying apart, the cycling caption and the score
// labels; and the game's paused banner.
#include "engine/input_task.h"
#include "game/game_constants.h"
#include "game/world_task.h"
#include "platform/sdl_port.h"

namespace {

struct BillboardLayout {
    IMAGES image;
    double x, y;  // where it starts
    double destinationX, destinationY;
    double cornerX[4], cornerY[4];  // lower left, upper left, lower right, upper right
    double approachRate;            // 0 keeps the rate it was built with
};

const BillboardLayout MENU_LAYOUT[WORLD_MENU_BILLBOARDS] = {
    {IMG_TEXT_TOBRIN, 0.0, 0.4, -0.45, 1.05, {-1.0, -1.0, 0.9, 1.0}, {-0.9, 0.7, -0.2, 0.6}, 0},
    {IMG_TEXT_ANDTHE, 0.0, 0.4, 0.975, 1.05, {-0.7, -0.3, 0.5, 0.4}, {-0.5, 0.5, -0.5, 0.5}, 0},
    {IMG_TEXT_FISH, 0.0, 0.4, 0.6, 0.3, {-1.2, -1.0, 1.2, 1.0}, {-0.6, 0.6, -0.6, 0.6}, 0},
    {IMG_TEXT_NAME,
     -1.5,
     -1.125,
     -1.5,
     -1.125,
     {-0.4, -0.4, 0.4, 0.4},
     {-0.4, 0.4, -0.4, 0.4},
     2.0},
    {IMG_TEXT_SCORE, 0.23, -1.35, 0.23, -1.35, {-0.4, -0.4, 0.4, 0.4}, {-0.4, 0.4, -0.4, 0.4}, 0},
};

// Waits off screen to the left until the game is paused.
const BillboardLayout PAUSED_LAYOUT = {IMG_TEXT_PAUSED,
                                       -3.0,
                                       0.0,
                                       -3.0,
                                       0.0,
                                       {-0.667, -0.667, 0.667, 0.667},
                                       {-0.3335, 0.3335, -0.3335, 0.3335},
                                       8.0};

// Stays at the top while a recording plays.
const BillboardLayout REPLAY_LAYOUT = {
    IMG_TEXT_REPLAY, 0.0, 1.2, 0.0, 1.2, {-0.5, -0.5, 0.5, 0.5}, {-0.25, 0.25, -0.25, 0.25}, 8.0};

const IMAGES CAPTION_CYCLE[] = {IMG_TEXT_NAME,        IMG_TEXT_FISHIES,     IMG_TEXT_THEFISH,
                                IMG_TEXT_PRESS_SPACE, IMG_TEXT_MASH_SPACE,  IMG_TEXT_PRESS_ENTER,
                                IMG_TEXT_PRESS_R,     IMG_TEXT_PRESS_ESCAPE};

// The captions that name a control, in the words of each kind of control, by INPUT_DEVICE. The
// cycle holds the keyboard's.
struct ControlWords {
    IMAGES start, watch;
};
const ControlWords WORDS[] = {
    {IMG_TEXT_PRESS_ENTER, IMG_TEXT_PRESS_R},
    {IMG_TEXT_CLICK_START, IMG_TEXT_CLICK_WATCH},
    {IMG_TEXT_TAP_START, IMG_TEXT_TAP_WATCH},
    {IMG_TEXT_PAD_START, IMG_TEXT_PAD_WATCH},
};

int InKeyboardWords(int image) {
    for (const ControlWords& words : WORDS) {
        if (image == words.start) {
            return IMG_TEXT_PRESS_ENTER;
        }
        if (image == words.watch) {
            return IMG_TEXT_PRESS_R;
        }
    }
    return image;
}

int InWordsOf(int image, INPUT_DEVICE device) {
    image = InKeyboardWords(image);
    if (image == IMG_TEXT_PRESS_ENTER) {
        return WORDS[device].start;
    }
    return image == IMG_TEXT_PRESS_R ? WORDS[device].watch : image;
}

void Lay(Billboard& billboard, const BillboardLayout& layout) {
    billboard.image = layout.image;
    billboard.x = layout.x;
    billboard.y = layout.y;
    billboard.destinationX = layout.destinationX;
    billboard.destinationY = layout.destinationY;
    for (int i = 0; i < 4; ++i) {
        billboard.cornerX[i] = layout.cornerX[i];
        billboard.cornerY[i] = layout.cornerY[i];
    }
    if (layout.approachRate > 0) {
        billboard.approachRate = layout.approachRate;
    }
    billboard.visible = true;
}

// The caption after this one; a picture outside the cycle is followed by the first. Where
// Escape quits nothing, the last caption, which says it does, is left out, and so is the
// offer of the best game until there is one.
int NextCaption(int image, bool bestGameKept) {
    const int count = sizeof CAPTION_CYCLE / sizeof CAPTION_CYCLE[0] - (PLATFORM_QUITS ? 0 : 1);
    for (int i = 0; i < count; ++i) {
        if (CAPTION_CYCLE[i] == InKeyboardWords(image)) {
            int next = CAPTION_CYCLE[(i + 1) % count];
            return next == IMG_TEXT_PRESS_R && !bestGameKept ? NextCaption(next, false) : next;
        }
    }
    return CAPTION_CYCLE[0];
}

}  // namespace

// A new player is told first how to start, and one back from a new best how to watch it; then
// the captions cycle from their beginning.
void WorldTask::InitBillboards() {
    for (int i = 0; i < WORLD_MENU_BILLBOARDS; ++i) {
        Lay(my_menuBillboards[i], MENU_LAYOUT[i]);
    }
    my_greeting = !my_greeted;
    my_greeted = true;
    Billboard& caption = my_menuBillboards[MENU_CAPTION_BILLBOARD];
    if (my_greeting) {
        caption.image = InWordsOf(IMG_TEXT_PRESS_ENTER, InputTask::lastUsed);
    } else if (my_offerBestGame) {
        caption.image = InWordsOf(IMG_TEXT_PRESS_R, InputTask::lastUsed);
    }
    my_offerBestGame = false;
    my_menuTextTime = 0.0;
    my_menuTextShown = true;
}

void WorldTask::InitGameBillboards() {
    Lay(my_gameBillboards[0], PAUSED_LAYOUT);
    Lay(my_gameBillboards[1], REPLAY_LAYOUT);
    my_gameBillboards[1].visible = false;  // until a recording plays
}

void WorldTask::HideBillboards() {
    for (Billboard& billboard : my_menuBillboards) {
        billboard.visible = false;
    }
}

void WorldTask::HideGameBillboards() {
    for (Billboard& billboard : my_gameBillboards) {
        billboard.visible = false;
    }
}

// The caption shows for 7.5 seconds, glides down out of view, and 1.5 seconds later the next
// one glides back up. Relative steps bring it back to the same height after every cycle.
void WorldTask::UpdateMenuCaption(double dT) {
    Billboard& caption = my_menuBillboards[MENU_CAPTION_BILLBOARD];
    my_menuTextTime += dT;
    if (my_menuTextShown) {
        if (my_menuTextTime >= MENU_CAPTION_SHOWN_TIME) {
            my_menuTextTime = 0.0;
            my_menuTextShown = false;
            caption.destinationY -= MENU_CAPTION_TRAVEL;
        }
    } else if (my_menuTextTime >= MENU_CAPTION_HIDDEN_TIME) {
        caption.image = my_greeting ? CAPTION_CYCLE[0] : NextCaption(caption.image, my_hasBestGame);
        my_greeting = false;
        my_menuTextTime = 0.0;
        my_menuTextShown = true;
        caption.destinationY += MENU_CAPTION_TRAVEL;
    }
    caption.image = InWordsOf(caption.image, InputTask::lastUsed);  // a control taken up now
    for (Billboard& billboard : my_menuBillboards) {
        billboard.Update(dT);
    }
}

bool WorldTask::CaptionOffersBestGame() const {
    const Billboard& caption = my_menuBillboards[MENU_CAPTION_BILLBOARD];
    return caption.visible && InKeyboardWords(caption.image) == IMG_TEXT_PRESS_R;
}
