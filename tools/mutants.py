#!/usr/bin/env python3
"""Mutation testing by hand: how many planted faults does the test suite catch?

Each mutant below is one small fault a player or a caller would notice: a flipped
comparison, a changed constant, a dropped call, a swapped order, an off-by-one. The tool
exports the tree at a revision into a scratch folder, builds it once, checks that the
unmutated suite passes, then for each mutant: plants the fault, rebuilds incrementally,
runs the whole suite, the unit tests first, then those with a window, then the real game
(stopping at the first failure), and puts the file back.

    tools/mutants.py [--rev REV] [--tests-from REV2] [--only ID,ID] [--list] [--keep DIR]
                     [--matrix FILE] [--stages LABEL,LABEL]

--tests-from puts the tests/ folder of another revision in place of REV's own, so one
product revision can be measured with two suites. --keep builds in DIR and leaves it
there afterwards. It takes about 45 minutes on two cores; it is not part of CI.

--matrix runs every test of the chosen stages for each mutant, with no early stop, and writes
one line a mutant to FILE: its id, then every test that failed. A test whose mutants all
have other tests failing too adds no power the list can show.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# (id, file, original snippet, replacement, the fault in a few words). The snippet must
# occur exactly once in the file at the measured revision.
MUTANTS = [
    # ---- engine/ ----
    ("timer-order", "engine/global_timer.cpp",
     "    lastFrameIndex = thisFrameIndex;\n    thisFrameIndex = tickSource();\n",
     "    thisFrameIndex = tickSource();\n    lastFrameIndex = thisFrameIndex;\n",
     "swapped order: every frame measures 0 ms, the world stands still"),
    ("input-no-pump", "engine/input_task.cpp",
     "    while (SDL_PollEvent(&event)) {\n        TakeEvent(event);\n    }\n",
     "",
     "dropped loop: no event is taken, so no tap between two frames is shown"),
    ("input-pointer-ignored", "engine/input_task.cpp",
     "                unshown[unshownCount++] = {POINTER_SLOT, event.type == SDL_MOUSEBUTTONDOWN};\n",
     "",
     "dropped call: the mouse button and a finger on the screen no longer climb"),
    ("input-any-button", "engine/input_task.cpp",
     "if (event.button.button == SDL_BUTTON_LEFT &&", "if (event.button.button != 0 &&",
     "lost test: the right button and the wheel climb too"),
    ("pad-order-ignores-raw", "platform/sdl_port.cpp",
     'setenv("SDL12COMPAT_USE_GAME_CONTROLLERS", raw ? "0" : "1", raw ? 1 : 0);',
     'setenv("SDL12COMPAT_USE_GAME_CONTROLLERS", "1", 0);',
     "lost setting: JOY_RAW no longer gives an unknown pad its own order"),
    ("pad-release-missed", "engine/gamepads.cpp",
     "        pad.held = 0;\n", "",
     "dropped reset: a pad button once pressed stays held"),
    ("pad-unfocused-read", "engine/gamepads.cpp",
     "for (int button = 0; focused && button < pad.buttons; ++button) {",
     "for (int button = 0; button < pad.buttons; ++button) {",
     "lost test: pads steer the game from behind another window"),
    ("pad-controller-start-swapped", "game/controls.cpp",
     "Bits({0, 1, 2, 3, 9, 10, 11}), Bits({0, 6}), Bits({4}), 6,",
     "Bits({0, 1, 2, 3, 9, 10, 11}), Bits({0, 4}), Bits({4}), 4,",
     "wrong button order: Back, not Start, pauses and starts"),
    ("pad-standard-order-wrong", "game/controls.cpp",
     "Bits({0, 1, 2, 3, 4, 5, 6, 7, 12}), Bits({0, 9}), Bits({8}), 9,",
     "Bits({0, 1, 2, 3, 4, 5, 6, 7, 12}), Bits({0, 8}), Bits({8}), 8,",
     "wrong button order: in a browser Select, not Start, pauses"),
    ("pad-loss-unheard", "engine/input_task.cpp",
     "    focusLost = focusLost || pads.lost;", "",
     "dropped call: a pad pulled out mid-game no longer pauses it"),
    ("pad-back-quits", "engine/input_task.cpp",
     "    pads.Read(WindowHasFocus());\n",
     "    pads.Read(WindowHasFocus());\n"
     "    quitRequested = quitRequested || (!pads.pads.empty() && (pads.pads[0].held & 0x10));\n",
     "added path: a pad's Back quits the game, as Escape does"),
    ("pad-never-picked-up", "engine/gamepads.cpp",
     "bool look = now < 0 ? sinceLook >= PAD_LOOK_INTERVAL : now > pluggedIn;",
     "bool look = now < 0 && sinceLook >= PAD_LOOK_INTERVAL;",
     "lost test: a pad plugged in while the menu shows is never picked up"),
    ("controls-pointer-no-climb", "game/controls.cpp",
     "controls.climb = keys[SDLK_SPACE] || InputTask::pointerHeld;",
     "controls.climb = keys[SDLK_SPACE];",
     "dropped device: the mouse and a finger no longer climb"),
    ("kernel-priority-flipped", "engine/kernel.cpp",
     "other->priority > task->priority", "other->priority < task->priority",
     "flipped comparison: tasks no longer run lowest priority first"),
    ("kernel-equal-ahead", "engine/kernel.cpp",
     "other->priority > task->priority", "other->priority >= task->priority",
     "off-by-one: a task joins ahead of running tasks of equal priority"),
    ("kernel-resume-at-end", "engine/kernel.cpp",
     "runningTasks.splice(PlaceFor(task), suspendedTasks, it);",
     "runningTasks.splice(runningTasks.end(), suspendedTasks, it);",
     "a resumed task goes to the end of the frame, not to its priority's place"),
    ("kernel-suspend-unheard", "engine/kernel.cpp",
     "    task->Suspend();\n    // Move the node", "    // Move the node",
     "dropped call: a suspended task is never told, and runs on whatever it was doing"),
    ("kernel-reap-no-stop", "engine/kernel.cpp",
     "            task->Stop();\n", "",
     "dropped call: a killed task is reaped without being stopped"),
    ("kernel-killed-updated", "engine/kernel.cpp",
     "if (!task->killFlag) {\n            task->Update();",
     "if (task) {\n            task->Update();",
     "dropped condition: a killed task still runs its update before the reap"),
    ("log-box-mask", "engine/log.cpp",
     "if (target & LOG_BOX) {", "if (target == LOG_BOX) {",
     "changed test: errors (log and box) no longer show the box"),
    ("settings-sign-swapped", "engine/settings.cpp",
     "bias = text[0] == '+' ? 1 : -1;", "bias = text[0] == '-' ? 1 : -1;",
     "flipped: +NAME turns a switch off and -NAME on"),
    ("settings-value-offset", "engine/settings.cpp",
     "value = TrimBlanks(text.substr(equals + 1));", "value = TrimBlanks(text.substr(equals));",
     "off-by-one: the value keeps the '=', so no NAME=VALUE is taken"),
    ("file-mode-from-umask-alone", "platform/file_access.cpp",
     "    return (0666 & ~mask) | S_IRUSR | S_IWUSR;", "    return 0666 & ~mask;",
     "lost bits: under a umask of 0777 (a browser's) the high score is written unreadable"),
    ("settings-write-in-place", "platform/file_access.cpp",
     '    std::string temporary = path + ".XXXXXX";\n',
     '    if (exists) {\n        return WriteInPlace(path, text, problem);\n    }\n'
     '    std::string temporary = path + ".XXXXXX";\n',
     "no temporary file: the settings file is truncated and written in place"),
    ("settings-no-rename", "platform/file_access.cpp",
     "if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {", "if (!written) {",
     "dropped rename: the written temporary never replaces the settings file"),
    ("settings-best-not-merged", "engine/settings.cpp",
     "            theirs > ours) {", "            theirs > ours && false) {",
     "dropped merge: a copy of the game writes its lower high score over the file's higher one"),
    ("settings-link-replaced", "engine/settings.cpp",
     "    std::string path = FollowLinks(fileName);", "    std::string path = fileName;",
     "link not followed: a settings file linked from elsewhere is replaced by a plain file"),
    ("settings-unlocked", "engine/settings.cpp",
     "    FolderLock lock(path);", "",
     "dropped lock: copies of the game writing at once lose the best high score"),
    ("settings-unread-overwritten", "engine/settings.cpp",
     "    if (unread != unreadFiles.end()) {", "    if (false) {",
     "dropped check: a settings file the game could not read is overwritten, its score lost"),
    ("settings-read-only-replaced", "platform/file_access.cpp",
     "    if (exists && !IsWritable(path, old)) {", "    if (false) {",
     "dropped check: a settings file the player made read-only is replaced"),
    ("settings-mode-not-kept", "platform/file_access.cpp",
     "    fchmod(descriptor, exists ? old.st_mode & 07777 : NewFileMode());",
     "    fchmod(descriptor, NewFileMode());",
     "lost mode: a settings file's permissions are reset at every write"),
    ("settings-shut-folder-fails", "platform/file_access.cpp",
     "        if (exists && (errno == EACCES || errno == EPERM)) {", "        if (false) {",
     "dropped fallback: in a folder that takes no new files, the settings are never saved"),
    ("dator-no-check", "engine/dator.h",
     "return !stream.fail() && !(value < lowest) && !(highest < value);",
     "return !(value < lowest) && !(highest < value);",
     "dropped check: text that is no number overwrites the variable"),
    ("pool-reuse-order", "engine/pool.h",
     "freeList.splice(freeList.begin(), liveList, current);",
     "freeList.splice(freeList.end(), liveList, current);",
     "reuse order: the last element pruned is handed out last, not next"),
    ("pool-no-reset", "engine/pool.h",
     "        element->Reset();\n", "",
     "dropped call: a reused element keeps its old state"),
    # ---- platform/ ----
    ("random-constant", "platform/random.cpp",
     "next * 1103515245 + 12345", "next * 1103515245 + 12347",
     "changed constant: a different random sequence for the same seed"),
    ("quit-no-sigterm", "platform/quit_signal.cpp",
     "    std::signal(SIGTERM, OnQuitSignal);\n", "",
     "dropped call: SIGTERM kills the game instead of quitting it"),
    ("display-no-driver", "platform/display.cpp",
     '    setenv("SDL_VIDEODRIVER", "x11", 1);\n', "",
     "dropped call: with no display the game runs unseen instead of failing"),
    ("box-no-stderr", "platform/message_box.cpp",
     "        WriteToStandardError(title, text);\n    }\n}\n\n#endif",
     "    }\n}\n\n#endif",
     "dropped call: with no box the message is lost instead of going to stderr"),
    ("fmod-cut-newest", "platform/fmod.cpp",
     "system->channels[i].startOrder < system->channels[oldest].startOrder",
     "system->channels[i].startOrder > system->channels[oldest].startOrder",
     "flipped comparison: with every channel busy the newest effect is cut"),
    ("fmod-paused-effect-plays", "platform/fmod.cpp",
     "    if (started && paused) {\n        PauseMixerChannel(mixerChannel);\n    }\n", "",
     "dropped call: an effect started paused is heard at once"),
    ("fmod-module-sample-swapped", "platform/fmod.cpp",
     "    if (PlaysAsMusic(playable)) {\n        made->music",
     "    if (!PlaysAsMusic(playable)) {\n        made->music",
     "flipped test: modules are loaded as samples and samples as music"),
    ("fmod-init-zero-channels", "platform/fmod.cpp",
     "if (maxChannels < 1) {", "if (maxChannels < 0) {",
     "off-by-one: Init accepts zero channels"),
    ("fmod-close-stays-initialised", "platform/fmod.cpp",
     "    system->channels.clear();\n    system->initialised = false;\n",
     "    system->channels.clear();\n",
     "dropped assignment: a closed system cannot be initialised again"),
    ("fullscreen-mode-reset", "platform/display.cpp",
     "    return window && SDL_WM_ToggleFullScreen(window);",
     "    return window &&\n"
     "           SDL_SetVideoMode(window->w, window->h, 0, window->flags ^ SDL_FULLSCREEN);",
     "changed call: full screen sets a new video mode, which may drop the pictures"),
    # ---- game/ ----
    ("options-unknown-start", "game/command_line.cpp",
     '        if (std::strncmp(argv[i], "--", 2) == 0) {',
     '        if (std::strcmp(argv[i], "--watch") == 0) {',
     "changed test: a mistyped option starts the game instead of telling the usage"),
    ("watch-file-ignored", "game/game.cpp",
     '    watchFile = watched ? watched : "";', '    watchFile = "";',
     "dropped copy: --watch FILE starts the game in the menu instead of playing the file"),
    ("away-pauses-chomped", "game/world_task.cpp",
     "    if (my_controls.away && !my_paused && my_sub.state != SUB_CHOMPED) {",
     "    if (my_controls.away && !my_paused) {",
     "dropped condition: going away while the fish chomps pauses the game over"),
    ("weed-spawn-per-frame", "game/world_population.cpp",
     "    seedWeedSpawnTimer += seconds;", "    seedWeedSpawnTimer += 1.0 / 60;",
     "frames for time: weed grows as if every frame were a sixtieth of a second"),
    ("game-highscore-not-loaded", "game/game.cpp",
     "    worldTask->my_highScore = highScore;\n", "",
     "dropped copy: the saved high score never reaches the world"),
    ("game-first-argument-skipped", "game/game.cpp",
     "for (int i = 1; i < argc; ++i) {", "for (int i = 2; i < argc; ++i) {",
     "off-by-one: the first command-line setting is ignored"),
    ("game-file-after-arguments", "game/game.cpp",
     "    settings->ParseFile(PlayerFilePath(GAME_SETTINGS_FILENAME));\n"
     "    const char* watched = WatchedFile(argc, argv);\n"
     "    watchFile = watched ? watched : \"\";\n"
     "    for (int i = 1; i < argc; ++i) {\n"
     "        if (IsWatchArgument(argc, argv, i)) {\n"
     "            continue;\n"
     "        }\n"
     "        ReportUnknownSetting(settings, argv[i]);\n"
     "        settings->ParseSetting(argv[i]);\n"
     "    }\n",
     "    const char* watched = WatchedFile(argc, argv);\n"
     "    watchFile = watched ? watched : \"\";\n"
     "    for (int i = 1; i < argc; ++i) {\n"
     "        if (IsWatchArgument(argc, argv, i)) {\n"
     "            continue;\n"
     "        }\n"
     "        ReportUnknownSetting(settings, argv[i]);\n"
     "        settings->ParseSetting(argv[i]);\n"
     "    }\n"
     "    settings->ParseFile(PlayerFilePath(GAME_SETTINGS_FILENAME));\n",
     "swapped order: the settings file overrides the command line"),
    ("game-writes-after-failure", "game/game.cpp",
     "    if (started) {\n        settings->WriteFile(PlayerFilePath(GAME_SETTINGS_FILENAME));\n    }\n",
     "    settings->WriteFile(PlayerFilePath(GAME_SETTINGS_FILENAME));\n",
     "dropped condition: settings are written back after a failed start-up"),
    ("keys-held-repeats", "game/test_task.h",
     "        released = !held;\n", "        released = true;\n",
     "lost edge: holding F2 or F3 switches on every frame"),
    ("keys-escape-ignored", "game/test_task.cpp",
     "        PLATFORM_QUITS && InputTask::pressedKeys[SDLK_ESCAPE] && !(world && world->my_escapeTaken);",
     "        false;",
     "dropped test: Escape no longer quits"),
    ("replay-escape-quits", "game/test_task.cpp",
     " && !(world && world->my_escapeTaken);", ";",
     "dropped condition: the Escape that leaves a replay quits the game too"),
    ("keys-close-ignored", "game/test_task.cpp",
     "if (InputTask::quitRequested || QuitSignalled()",
     "if (QuitSignalled()",
     "dropped call: closing the window does not quit"),
    ("world-chomp-distance", "game/world_task.cpp",
     "my_bigFish.ChompDistance() < BIGFISH_CHOMP_DISTANCE",
     "my_bigFish.ChompDistance() < BIGFISH_CHOMP_DISTANCE / 2",
     "changed constant: the fish must come twice as close to chomp"),
    ("world-highscore-flipped", "game/world_task.cpp",
     "my_lastScore = my_score;\n    if (my_score > my_highScore) {",
     "my_lastScore = my_score;\n    if (my_score < my_highScore) {",
     "flipped comparison: a lower score overwrites the best"),
    ("world-last-score-lost", "game/world_task.cpp",
     "    my_lastScore = my_score;\n", "",
     "dropped assignment: the menu never shows the last game's score"),
    ("world-highscore-not-written", "game/world_task.cpp",
     "    settings->WriteFile(PlayerFilePath(GAME_SETTINGS_FILENAME));\n", "",
     "dropped call: a new best is saved only at exit, not when the game ends"),
    ("world-highscore-not-bound", "game/world_task.cpp",
     "    settings->RegisterVariable(stringHighScore, my_highScoreDator);\n", "",
     "dropped call: the file keeps the old best after a new one"),
    ("world-start-key", "game/controls.cpp",
     "controls.start = keys[SDLK_RETURN] ||",
     "controls.start = keys[SDLK_SPACE] ||",
     "wrong key: Space, not Enter, starts a game"),
    ("world-release-no-boost", "game/world_task.cpp",
     "            subGoingUp = false;\n            my_sub.SpeedBoost();\n",
     "            subGoingUp = false;\n",
     "dropped call: releasing Space gives no burst of speed"),
    ("world-pause-repeats", "game/world_task.cpp",
     "    }\n    my_pausedPress = true;\n", "    }\n",
     "lost edge: holding Pause pauses and resumes on every frame"),
    ("world-pause-runs", "game/world_task.cpp",
     "    if (!my_paused) {\n        Simulate(dT);", "    if (true) {\n        Simulate(dT);",
     "dropped condition: the ocean moves on while paused"),
    ("world-chomp-never-ends", "game/world_task.cpp",
     "    if (my_circleZoom.radius <= 0.0) {\n        EndGame();",
     "    if (my_circleZoom.radius < 0.0) {\n        EndGame();",
     "off-by-one: a chomped game never returns to the menu"),
    ("world-no-eaten-tune", "game/world_task.cpp",
     "        MusicMode(MODE_CHOMPED);\n", "",
     "dropped call: no tune when the submarine is chomped"),
    ("population-heading-ignored", "game/pool_callbacks.cpp",
     "std::fabs(bearing - sub.angle) <= SUB_SWALLOW_ANGLE",
     "std::fabs(bearing) <= SUB_SWALLOW_ANGLE",
     "dropped term: the mouth's cone ignores the submarine's heading"),
    ("population-reach-halved", "game/pool_callbacks.cpp",
     "if (distance > SUB_SWALLOW_SIZE ||", "if (distance > SUB_SWALLOW_SIZE / 2 ||",
     "changed constant: the mouth reaches half as far"),
    ("population-knock-direction", "game/pool_callbacks.cpp",
     "if (strikerY > weed->y) {", "if (strikerY < weed->y) {",
     "flipped comparison: a weed struck from above flies up"),
    ("population-menu-no-swallow", "game/pool_callbacks.cpp",
     "sub.state == SUB_SWIMMING || sub.state == SUB_DRONING",
     "sub.state == SUB_SWIMMING",
     "dropped state: the menu's submarine swallows and strikes nothing"),
    ("population-no-restock", "game/world_population.cpp",
     "    my_sub.x -= WORLD_RESTOCK_DISTANCE;\n", "",
     "dropped step: a new scene starts with an empty ocean"),
    ("population-menu-collision", "game/pool_callbacks.cpp",
     "        if (world.InGame() && !world.Restocking()) {\n            sub.Collision();\n",
     "        if (!world.Restocking()) {\n            sub.Collision();\n",
     "dropped condition: weed stops the menu's submarine"),
    ("sound-weed-droning", "game/pool_callbacks.cpp",
     "if (sub.state == SUB_SWIMMING && ready && world.EffectsOn()) {",
     "if (ready && world.EffectsOn()) {",
     "sound rule: weed struck by the menu's submarine is heard"),
    ("sound-weed-no-delay", "game/pool_callbacks.cpp",
     "if (fish.mode != BIGFISH_ESCORT && ready && world.EffectsOn()) {",
     "if (fish.mode != BIGFISH_ESCORT && world.EffectsOn()) {",
     "sound rule: a weed the fish strikes sounds again within its delay"),
    ("sound-fishie-in-menu", "game/fishie.cpp",
     "if (world.AddPoints(value) && world.InGame()) {",
     "if (world.AddPoints(value)) {",
     "sound rule: fishies swallowed in the menu are heard"),
    ("sound-bite-in-menu", "game/big_fish.cpp",
     "faceFrame == 1 && TheWorld().InGame()) {", "faceFrame == 1) {",
     "sound rule: the escorting fish's bite is heard in the menu"),
    ("sound-music-switch-inverted", "game/world_assets.cpp",
     "music.isPaused = mode == MODE_MUSIC_STOP;", "music.isPaused = mode == MODE_MUSIC_START;",
     "flipped test: switching the music on pauses it"),
    ("sound-tune-restarts", "game/world_assets.cpp",
     "    if (tune == music.tune) {\n        return;", "    if (false) {\n        return;",
     "dropped test: the tune starts over at every change of mode"),
    ("surface-climb-kept", "game/entity.h",
     "        dy = 0;\n        turnDown(2 * dT);\n", "        turnDown(2 * dT);\n",
     "surface rule: the submarine and fishies climb out of the sea"),
    ("surface-fish-no-turn", "game/big_fish.cpp",
     "            angle -= BIGFISH_SURFACE_TURN * dT;\n", "",
     "surface rule: the big fish's nose is not pushed down at the surface"),
    ("surface-weed-not-held", "game/seed_weed.cpp",
     "        dy = 0;\n        y = 0;\n", "        dy = 0;\n",
     "surface rule: a drifting weed is not put onto the surface"),
    ("fish-mouth-above", "game/big_fish.cpp",
     "(angle - BIGFISH_MOUTH_ANGLE)", "(angle + BIGFISH_MOUTH_ANGLE)",
     "flipped sign: the mouth is above the heading, not below"),
    ("fish-no-speed-up", "game/big_fish.cpp",
     "    chaseSpeed += BIGFISH_GRADUAL_ACCELERATION * dT;\n", "",
     "dropped step: the fish never hunts faster"),
    ("fish-mouth-wide-far", "game/big_fish.cpp",
     "ChompDistance() <= BIGFISH_OPENWIDE_DISTANCE ? 2 : 1",
     "ChompDistance() >= BIGFISH_OPENWIDE_DISTANCE ? 2 : 1",
     "flipped comparison: the mouth opens wide when far, not near"),
    ("sub-boost-constant", "game/sub.cpp",
     "(targetSpeed + SUB_SPEED_BOOST) / 2", "(targetSpeed + SUB_SPEED_BOOST) / 3",
     "changed constant: a burst closes a third of the gap, not half"),
    ("sub-collision-target", "game/sub.cpp",
     "    velocity = SUB_COLLISION_SPEED;\n", "    targetSpeed = SUB_COLLISION_SPEED;\n",
     "wrong field: weed takes the target speed, not the speed"),
    ("sub-drawn-when-chomped", "game/sub.cpp",
     "    if (state == SUB_CHOMPED) {\n        return;  // inside the big fish\n    }\n", "",
     "dropped test: the chomped submarine is drawn over the fish"),
    ("fishie-wander-stuck", "game/fishie.cpp",
     "            angle = FISHIE_MAX_ANGLE;\n            rising = false;\n",
     "            angle = FISHIE_MAX_ANGLE;\n",
     "dropped assignment: a fishie climbs and never turns down"),
    ("fishie-passed-not-eaten", "game/fishie.cpp",
     "d < FISHIE_SWALLOW_EPSILON || dx > 0", "d < FISHIE_SWALLOW_EPSILON",
     "dropped test: a fishie the submarine has passed is never eaten"),
    ("camera-no-cap", "game/camera.cpp",
     "    if (fraction > CAMERA_MAX_ERROR) {\n        fraction = 1.0;\n    }\n", "",
     "dropped clamp: after a long frame the camera overshoots"),
    ("zoom-stays-active", "game/circle_zoom.cpp",
     "            radius = CIRCLEZOOM_MAXIMUM;\n            active = false;\n",
     "            radius = CIRCLEZOOM_MAXIMUM;\n",
     "dropped assignment: an opened circle never ends, so no chomp closes it"),
    ("zoom-right-band", "game/circle_zoom.cpp",
     "    BlackQuad(r, h, w, -h);                        // right\n", "",
     "dropped call: the closing circle leaves the right side uncovered"),
    ("infotext-not-reset", "game/info_text_task.cpp",
     "        elapsedTime = 0.0;\n", "",
     "dropped reset: the frame rate is logged every frame after five seconds"),
    ("draw-menu-best-is-last", "game/world_drawing.cpp",
     "    DrawScore(my_highScore);\n", "    DrawScore(my_lastScore);\n",
     "wrong field: the menu shows the last score where the best belongs"),
    ("draw-stretched", "game/world_drawing.cpp",
     "return {(width - viewWidth) / 2, (height - viewHeight) / 2, viewWidth, viewHeight};",
     "return {0, 0, width, height};",
     "dropped bars: the view is stretched over a window of another shape"),
    ("draw-pictures-upside-down", "game/drawing.cpp",
     "    quad.mirrored = mirrored;\n", "    quad.mirrored = !mirrored;\n",
     "flipped: every picture is drawn upside down"),
    ("draw-skewed-wrong-diagonal", "game/drawing.cpp",
     "    SkewedQuad quad(corner, *c, !WhollyIn(box, window.viewport));\n",
     "    SkewedQuad quad(corner, *c, true);\n",
     "one diagonal: a skewed word wholly in view is mapped by triangles the renderer never drew"),
    ("draw-skewed-drop-diagonal-corners", "game/drawing.cpp",
     "            if (dp >= 0) {\n",
     "            if (dp > 0) {\n",
     "strict side: block corners on a skewed quad's diagonal are lost, leaving slivers out"),
    ("sky-cleared-over-bars", "game/world_drawing.cpp",
     "    return view.width == width && view.height == height && my_camera.y > DRAW_SKY_LOWEST_CAMERA &&\n",
     "    return my_camera.y > DRAW_SKY_LOWEST_CAMERA &&\n",
     "sky clear everywhere: the bars beside a wide window's view turn sky blue"),
    ("window-frames-copied", "platform/display.cpp",
     "    setenv(\"SDL12COMPAT_OPENGL_SCALING\", \"0\", 0);\n",
     "    setenv(\"SDL12COMPAT_OPENGL_SCALING\", \"1\", 0);\n",
     "sdl12-compat's framebuffer back between the game and its window: a copy every frame"),
    ("sky-cleared-above-sky", "game/world_drawing.cpp",
     "           my_camera.y + WORLD_ZOOM_VALUE <= DRAW_SKY_HEIGHT;\n",
     "           true;\n",
     "sky clear too high: the black above the sky turns sky blue"),
    ("draw-blocks-lose-last-column", "game/drawing.cpp",
     "    grid.columns = (c.columns + columns - 1) / columns;\n",
     "    grid.columns = c.columns / columns;\n",
     "rounded down: a picture cut into blocks loses its last, narrower column"),
    ("textures-one-level-room", "game/world_assets.cpp",
     "                    MipmapLevels(coverage.cropWidth, coverage.cropHeight) - 1);\n",
     "                    0);\n",
     "short chain: textures hold their full-size level only, smaller ones are never read"),
    # ---- the installed launcher ----
    ("launcher-watch-relative", "packaging/tobrin.in",
     '            *) argument="$PWD/$argument" ;;\n', "",
     "lost path: --watch with a file named from the current folder looks in the game's folder"),
    ("launcher-stale-resources", "packaging/tobrin.in",
     '    if [ "$(readlink "$folder/resources" 2>/dev/null)" != "$resources" ]; then',
     '    if [ ! -L "$folder/resources" ]; then',
     "kept link: a game moved to another prefix still reads the old one's pictures"),
    # ---- recordings ----
    ("replay-sound-draws-ocean", "game/world_assets.cpp",
     "first + my_soundDice.Next() % ASSET_SOUND_VARIANTS",
     "first + tobrin::rand() % ASSET_SOUND_VARIANTS",
     "shared sequence: a sound heard in play moves the ocean, so no replay repeats the game"),
    ("replay-weeds-keep-rest", "game/world_task.cpp",
     "        weed->wiggleTimer = 0.0;\n", "",
     "dropped reset: the menu's weeds carry their rest into the game, which no replay repeats"),
    ("replay-seed-unused", "game/world_task.cpp",
     "    tobrin::srand(start.seed);\n", "",
     "dropped call: a game does not start from its seed"),
    ("replay-heading-lost", "game/world_task.cpp",
     "    my_sub.angle = start.subAngle;\n", "",
     "dropped assignment: a replay starts with the heading the menu left"),
    ("replay-spawn-clock-lost", "game/world_task.cpp",
     "    fishieSpawnTimer = start.fishieTimer;\n", "",
     "dropped assignment: a replay's schools come at other moments"),
    ("replay-pause-unrecorded", "game/watching.cpp",
     "(controls.pause ? REPLAY_PAUSE : 0)", "0",
     "lost control: a paused stretch of a game replays unpaused"),
    ("replay-long-step-boundary", "game/replay.cpp",
     "bool longStep = milliseconds >= REPLAY_LONG_STEP;",
     "bool longStep = milliseconds > REPLAY_LONG_STEP;",
     "off-by-one: a frame of exactly 8191 ms reads back as a long step's marker"),
    ("replay-long-step-high-word", "game/replay.cpp",
     "steps.push_back(static_cast<std::uint16_t>(milliseconds >> 16));",
     "steps.push_back(static_cast<std::uint16_t>(milliseconds >> 15));",
     "wrong shift: a frame of a minute or more comes back another length"),
    ("replay-trailing-words", "game/replay.cpp",
     "if (counted != read.frames || cursor != read.steps.size()) {",
     "if (counted != read.frames) {",
     "lost test: words after the last frame are taken"),
    ("replay-format-unchecked", "game/replay.cpp",
     "if (in.Unsigned(2) != REPLAY_FORMAT) {", "if (in.Unsigned(2) == 0) {",
     "lost test: a recording of another format is read as this one"),
    ("replay-best-through-link", "game/watching.cpp",
     "my_hasBestGame = ReadReplayFile(path, false, my_bestGame, exists, problem);",
     "my_hasBestGame = ReadReplayFile(path, true, my_bestGame, exists, problem);",
     "link followed: best.replay is read from wherever a link points"),
    ("replay-written-over-link", "game/replay_file.cpp",
     "if (lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {",
     "if (false) {",
     "lost test: a link in best.replay's place is replaced"),
    ("replay-unchecked", "game/watching.cpp",
     "    return whole && my_score == replay.score;\n", "    return whole;\n",
     "lost test: a recording that claims another score is shown"),
    ("replay-best-not-kept", "game/world_task.cpp",
     "        SaveHighScore();\n        KeepBestGame();\n    }\n    OpenMenu();",
     "        SaveHighScore();\n    }\n    OpenMenu();",
     "dropped call: a game that beats the best is not kept"),
    ("replay-keys-never-leave", "game/watching.cpp",
     "pressed = pressed || (keys[key] && !my_keysBefore[key] && LeavesReplay(key, keys));",
     "pressed = pressed || (keys[key] && !my_keysBefore[key] && !LeavesReplay(key, keys));",
     "flipped test: the pause key leaves a replay and other keys do not"),
    ("replay-leaving-press-starts", "game/watching.cpp",
     "    enterWithAlt = true;\n    OpenMenu();", "    OpenMenu();",
     "dropped block: the press that leaves a replay starts a game"),
    ("replay-no-pace", "game/watching.cpp",
     "frame.milliseconds / 1000.0 <= my_playback.owed) {", "true) {",
     "lost pace: a replay plays through in a frame"),
    ("replay-pad-watch-button", "game/controls.cpp",
     "Bits({0, 6}), Bits({4}), 6,", "Bits({0, 6}), Bits({5}), 6,",
     "wrong button: Guide, not Back, shows the best game"),
    ("replay-offer-without-best", "game/menu_screen.cpp",
     "return next == IMG_TEXT_PRESS_R && !bestGameKept ? NextCaption(next, false) : next;",
     "return next;",
     "lost test: the menu offers a best game there is none of"),
    ("replay-room-not-taken", "game/replay.cpp",
     "    steps.reserve(REPLAY_MAX_STEPS);\n", "",
     "dropped call: recording a frame allocates as the recording grows"),
    ("restock-strike-stops-sub", "game/pool_callbacks.cpp",
     "        if (world.InGame() && !world.Restocking()) {", "        if (world.InGame()) {",
     "lost test: a weed struck before the game began leaves the submarine stopped"),
    ("log-folder-stops-start", "platform/file_access.cpp",
     "special = stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);",
     "special = false;",
     "lost test: a folder in log.txt's place stops the start"),
    ("box-outlives-kill", "platform/message_box.cpp",
     "        DieWithTheGame(game);\n", "",
     "dropped call: the message box stays when its game is killed outright"),
    ("strands-in-the-air", "game/seed_weed.cpp",
     "bool reachesAir = SEEDWEED_DRAW_HEIGHT > surface;", "bool reachesAir = false;",
     "lost cut: weed strands stand above the waves"),
    ("pad-named-as-keys", "game/menu_screen.cpp",
     "    {IMG_TEXT_PAD_START, IMG_TEXT_PAD_WATCH},\n",
     "    {IMG_TEXT_PRESS_ENTER, IMG_TEXT_PRESS_R},\n",
     "wrong words: a pad's player is told to press Enter and R"),
    ("mouse-named-as-keys", "engine/input_task.cpp",
     "                    InputTask::lastUsed = PointerIsTouch() ? INPUT_TOUCH : INPUT_MOUSE;\n",
     "",
     "dropped call: a click leaves the captions naming keys"),
    ("replay-viewer-pause-ignored", "game/watching.cpp",
     "    if (pause || (viewer.away && !my_playback.paused)) {",
     "    if (viewer.away && !my_playback.paused) {",
     "lost control: the viewer cannot pause a replay"),
    ("draw-flushed-early", "game/world_drawing.cpp",
     "    my_seedWeeds.Iterate(DrawSeedWeedUnder);\n",
     "    glFlush();\n    my_seedWeeds.Iterate(DrawSeedWeedUnder);\n    glFlush();\n",
     "added calls: frames flushed early let the software renderer free a fence still held"),
    # ---- the browser build: tried in the page only (ids starting "web-") ----
    ("web-link-sets-high-score", "platform/web/page.js",
     "var TOBRIN_LINK_SETTINGS = /^(VIDEO_WIDTH|",
     "var TOBRIN_LINK_SETTINGS = /^(HIGH_SCORE|VIDEO_WIDTH|",
     "widened filter: a link sets the player's high score"),
    ("web-storage-read-skipped", "platform/web/page.js",
     "    FS.syncfs(true, finish);\n", "    finish();\n",
     "dropped call: the kept high score is never read back after a reload"),
    ("web-saves-never-kept", "platform/file_access.cpp",
     "    SyncFolder(path);\n    KeepPlayerFiles();\n", "",
     "dropped calls: a replaced file is neither synced nor copied into the browser's storage"),
    ("web-watch-link-ignored", "platform/web/page.js",
     "      Module['arguments'].push('--watch', TOBRIN_WATCHED_FILE);\n", "",
     "dropped call: a ?watch= link shows the menu, not the recording"),
    ("web-drop-ignored", "platform/web/page.js",
     "    tobrinPage.dropped = true;\n", "",
     "dropped flag: a recording dropped on the page never plays"),
    ("web-webgl-assumed", "platform/web/page.js",
     "    return !!document.createElement('canvas').getContext('webgl2');",
     "    return true;",
     "lost test: a browser without WebGL 2 gets a blank page, not words"),
    ("web-storage-refusal-unsaid", "platform/web/page.js",
     "    if (error) {\n      tobrinSayStorageRefused(error.message || String(error));\n    }\n"
     "    removeRunDependency('player-files');",
     "    removeRunDependency('player-files');",
     "dropped message: a browser that keeps no files lets the player believe it does"),
    ("web-pad-order-raw", "platform/sdl_port.cpp",
     "    return standard && !raw ? PORT_PAD_STANDARD : PORT_PAD_RAW;",
     "    return PORT_PAD_RAW;",
     "lost mapping: a standard pad in the browser is read in its raw order"),
    ("replay-watch-key-stuck", "game/watching.cpp",
     "    my_watchHeld = viewer.watch || InputTask::pointerHeld;\n", "",
     "dropped update: R pressed as the menu comes back after a replay is never seen"),
]

XVFB = ["xvfb-run", "-a", "--server-args=-screen 0 1280x1024x24 -noreset"]
CTEST = ["ctest", "-j2", "--timeout", "120"]
# The cheap tests first: a mutant most of them catch is done with in seconds. The browser tests
# run only for the browser build's own mutants, on a page built from the scratch tree.
STAGES = ["unit", "window", "process"]
# The test's name runs up to ctest's dots; a parameterised one may hold blanks: "/(640, 480)".
RESULT_LINE = re.compile(r"Test\s+#\d+:\s+(.+?)\s+\.{2,}\s*(\S.*)$")


def export(repo, rev, dest, path=None):
    archive = subprocess.Popen(["git", "-C", repo, "archive", rev] + ([path] if path else []),
                               stdout=subprocess.PIPE)
    subprocess.run(["tar", "-x", "-C", dest], stdin=archive.stdout, check=True)
    archive.stdout.close()
    if archive.wait() != 0:
        sys.exit(f"git archive {rev} failed")


def read_at(repo, rev, path):
    shown = subprocess.run(["git", "-C", repo, "show", f"{rev}:{path}"],
                           capture_output=True, text=True)
    return shown.stdout if shown.returncode == 0 else None


def run(cmd, cwd, log):
    with open(log, "w") as out:
        return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def build(tree, log, web=False):
    built = run(["cmake", "--build", "build", "-j2"], tree, log) == 0
    # Debian's Emscripten finds its JavaScript modules through Node's own search path.
    emscripten = ["env", "NODE_PATH=/usr/share/nodejs", "cmake", "--build", "build-emscripten",
                  "-j2"]
    return built and (not web or run(emscripten, tree, log + ".web") == 0)


def is_web(mutant):
    return mutant[0].startswith("web-")


def build_page(repo, tree, log):
    """The browser build of the tree, and the browser tests' driver from the working copy."""
    modules = os.path.join(repo, "tests", "web", "node_modules")
    if not os.path.isdir(modules):
        sys.exit("no tests/web/node_modules: run tools/install_deps.sh")
    os.symlink(modules, os.path.join(tree, "tests", "web", "node_modules"))
    if run(["tools/web.sh"], tree, log) != 0:
        sys.exit(f"the web page does not build: see {log}")


def stop(process):
    """Ends ctest with everything it started: its tests, their games, the X server."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(process.pid, sig)
            process.wait(timeout=10)
            return
        except ProcessLookupError:
            return
        except subprocess.TimeoutExpired:
            continue


def suite(tree, log, stop_early, stages=STAGES):
    """Runs the suite, a label at a time; returns ctest's exit code and the failing tests, in
    the order they failed. With stop_early the suite ends at the first failure, without waiting for the
    tests in flight."""
    worst, failures = 0, []
    for stage in stages:
        code, failed = stage_of_suite(tree, f"{log}.{stage}", stage, stop_early)
        worst, failures = worst or code, failures + failed
        if (worst != 0 or failures) and stop_early:
            break
    return worst, failures


def stage_of_suite(tree, log, label, stop_early):
    cmd = XVFB + CTEST + ["-L", f"^{label}$"] + (["--stop-on-failure"] if stop_early else [])
    process = subprocess.Popen(cmd, cwd=os.path.join(tree, "build"), stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, text=True, errors="replace",
                               start_new_session=True)
    failed = []
    try:
        with open(log, "w") as out:
            for line in process.stdout:
                out.write(line)
                found = RESULT_LINE.search(line)
                if found and not found.group(2).startswith("Passed"):
                    failed.append(found.group(1))
                    if stop_early:
                        out.write("[mutants] stopped at the first failure\n")
                        break
        if failed and stop_early:
            stop(process)
        return process.wait(), failed
    finally:
        if process.poll() is None:
            stop(process)
        process.stdout.close()


def select(only):
    if not only:
        return list(MUTANTS)
    wanted = only.split(",")
    known = {m[0] for m in MUTANTS}
    unknown = [w for w in wanted if w not in known]
    if unknown:
        sys.exit("unknown mutants: " + ", ".join(unknown))
    return [m for m in MUTANTS if m[0] in wanted]


def list_mutants(repo, rev, mutants):
    for ident, path, original, _, what in mutants:
        text = read_at(repo, rev, path)
        count = text.count(original) if text is not None else 0
        state = "" if count == 1 else f"  [found {count} times at {rev}]"
        print(f"{ident:32} {path:28} {what}{state}")
    print(f"{len(mutants)} mutants")


def measure(tree, mutants, logs, matrix=None, stages=STAGES):
    """With a matrix file, every stage runs to its end and each mutant's line there names every
    test that failed: the tests whose faults others catch too show there."""
    caught, survivors, unbuildable, inapplicable = [], [], [], []
    restore = {}  # the file being mutated and its original text, to put back on any exit

    def put_back():
        for path, text in restore.items():
            with open(path, "w") as out:
                out.write(text)
        restore.clear()

    # Mutants of one file run one after the other, so its restored text is rebuilt once; the
    # headers, which rebuild most of the tree, come first and together.
    ordered = sorted(mutants, key=lambda m: (not m[1].endswith(".h"), m[1]))
    try:
        for ident, path, original, replacement, what in ordered:
            started = time.monotonic()
            full = os.path.join(tree, path)
            with open(full) as source:
                text = source.read()
            if text.count(original) != 1:
                inapplicable.append(ident)
                print(f"{ident:32} not applicable", flush=True)
                continue
            restore[full] = text
            with open(full, "w") as out:
                out.write(text.replace(original, replacement))
            log = os.path.join(logs, ident + ".log")
            web = is_web((ident,))
            if not build(tree, os.path.join(logs, ident + ".build.log"), web):
                unbuildable.append(ident)
                verdict = "does not build"
            else:
                # A mutant of the browser build changes nothing the desktop's tests run.
                code, failed = suite(tree, log, not matrix, ["web"] if web else stages)
                if matrix:
                    with open(matrix, "a") as out:
                        out.write("\t".join([ident] + failed) + "\n")
                if code != 0 or failed:
                    caught.append(ident)
                    named = f"{failed[0]}" + (f" and {len(failed) - 1} more" if matrix else "")
                    verdict = f"caught    {named if failed else '(ctest failed)'}"
                else:
                    survivors.append((ident, path, what))
                    verdict = "SURVIVED"
            put_back()
            seconds = time.monotonic() - started
            print(f"{ident:32} {verdict:70} {seconds:5.0f} s", flush=True)
    finally:
        put_back()
    return caught, survivors, unbuildable, inapplicable


def report_matrix(matrix):
    """Each test that failed for some fault, with how many it caught and which only it caught."""
    caught_by, alone = {}, {}
    with open(matrix) as lines:
        for line in lines:
            ident, *failed = line.rstrip("\n").split("\t")
            for test in failed:
                caught_by.setdefault(test, []).append(ident)
            if len(failed) == 1:
                alone.setdefault(failed[0], []).append(ident)
    print("\nTests by the faults they alone catch (none: what they catch, others catch too):")
    for test in sorted(caught_by, key=lambda t: (len(alone.get(t, [])), t)):
        only = alone.get(test, [])
        print(f"  {len(caught_by[test]):3} caught, {len(only):2} alone  {test}  {' '.join(only)}")


def interrupt(signum, frame):
    raise KeyboardInterrupt


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--rev", default="HEAD", help="the revision to measure (default HEAD)")
    parser.add_argument("--tests-from", metavar="REV2", help="take tests/ from this revision")
    parser.add_argument("--only", metavar="ID,ID", help="run only these mutants")
    parser.add_argument("--list", action="store_true", help="list the mutants and stop")
    parser.add_argument("--keep", metavar="DIR", help="work in DIR and keep it afterwards")
    parser.add_argument("--matrix", metavar="FILE",
                        help="run every test for each mutant; write the failing ones to FILE")
    parser.add_argument("--stages", metavar="LABEL,LABEL", default=",".join(STAGES),
                        help=f"the labels to run (default {','.join(STAGES)})")
    args = parser.parse_args()
    stages = args.stages.split(",")
    matrix = os.path.abspath(args.matrix) if args.matrix else None

    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    mutants = select(args.only)
    if args.list:
        list_mutants(repo, args.rev, mutants)
        return 0
    if matrix:
        open(matrix, "w").close()  # the lines of this run only

    # The machine is shared: everything below runs at a lower priority.
    niceness = os.nice(0)
    if niceness < 10:
        os.nice(10 - niceness)
    # A kill is handled like Ctrl-C, so the mutated file is always put back.
    signal.signal(signal.SIGTERM, interrupt)

    if args.keep:
        os.makedirs(args.keep, exist_ok=True)
        tree = os.path.abspath(args.keep)
        if os.listdir(tree):
            sys.exit(f"{tree} is not empty")
    else:
        tree = tempfile.mkdtemp(prefix="tobrin-mutants-", dir="/tmp")
    logs = os.path.join(tree, "mutant-logs")
    begun = time.monotonic()
    try:
        export(repo, args.rev, tree)
        described = f"product {args.rev}"
        if args.tests_from:
            shutil.rmtree(os.path.join(tree, "tests"))
            export(repo, args.tests_from, tree, "tests")
            described += f", tests {args.tests_from}"
        os.makedirs(logs)
        print(f"Measuring {described} in {tree}: {len(mutants)} mutants", flush=True)

        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        if run(["cmake", "-S", ".", "-B", "build", "-DTOBRIN_BENCHMARKS=OFF"] + generator,
               tree, os.path.join(logs, "configure.log")) != 0:
            sys.exit(f"configure failed: see {logs}/configure.log")
        if not build(tree, os.path.join(logs, "build.log")):
            sys.exit(f"the unmutated tree does not build: see {logs}/build.log")
        web = any(is_web(m) for m in mutants)
        if web:
            build_page(repo, tree, os.path.join(logs, "web.log"))
        code, failed = suite(tree, os.path.join(logs, "unmutated.log"), False,
                             stages + (["web"] if web else []))
        if code != 0:
            sys.exit(f"the unmutated suite fails ({', '.join(failed)}): see {logs}/unmutated.log")
        print(f"Unmutated suite passes ({time.monotonic() - begun:.0f} s to here)", flush=True)

        caught, survivors, unbuildable, inapplicable = measure(tree, mutants, logs, matrix,
                                                               stages)

        if matrix:
            report_matrix(matrix)
        total = len(caught) + len(survivors)
        print(f"\ncaught {len(caught)} / total {total}"
              f" ({len(unbuildable)} do not build, {len(inapplicable)} not applicable)"
              f" in {(time.monotonic() - begun) / 60:.0f} min")
        if survivors:
            print("Survivors:")
            for ident, path, what in survivors:
                print(f"  {ident:32} {path:28} {what}")
        return 0
    except KeyboardInterrupt:
        print("\ninterrupted; the mutated file was put back", file=sys.stderr)
        return 130
    finally:
        if not args.keep:
            shutil.rmtree(tree, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
