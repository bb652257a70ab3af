// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the browser build, put in front of the code Emscripten writes: the canvas
// and the game's arguments, the player's files kept in the browser's storage, the cover whose
// tap lets sound start, full screen, holds that always end, and what went wrong told in words.
'use strict';

var TOBRIN_PLAYER_FOLDER = '/save';     // the C++ side reads and writes the player's files here
var TOBRIN_LARGEST_PICTURE = [1600, 1200];  // a sharp picture costs fill rate: no larger
var TOBRIN_STORAGE_PATIENCE_MS = 4000;  // a browser that never answers is taken as a refusal
var TOBRIN_NOTICE_MS = 8000;            // how long a passing notice stays
var TOBRIN_LARGEST_RECORDING = 2200000;  // bytes: no recording the game keeps is larger
var TOBRIN_WATCHED_FILE = '/watched.replay';  // where a link's recording is put for the game
var TOBRIN_DROPPED_FILE = '/dropped.replay';  // where the game looks for a dropped one

var tobrinPage = {
  canvas: document.getElementById('canvas'),
  cover: document.getElementById('cover'),
  message: document.getElementById('message'),
  fullscreen: document.getElementById('fullscreen'),
  storageRefused: false,  // said once, at the start or at the first save
  lastingMessage: false,  // a failure stays; a notice passes
  saving: false,
  saveAgain: false,
  dropped: false,  // a recording was dropped and waits for the menu
  lastTouch: -Infinity,  // when a finger last came down on the picture, in milliseconds
};

// Text in the page over the picture. A lasting message (the game cannot go on) stays; a notice
// goes after a while, unless a lasting one took its place.
function tobrinShowMessage(text, lasting) {
  var box = tobrinPage.message;
  if (tobrinPage.lastingMessage && !lasting) {
    return;
  }
  tobrinPage.lastingMessage = tobrinPage.lastingMessage || !!lasting;
  box.textContent = text;
  box.hidden = false;
  (lasting ? console.error : console.warn)(text);
  if (!lasting) {
    setTimeout(function () {
      if (!tobrinPage.lastingMessage) {
        box.hidden = true;
      }
    }, TOBRIN_NOTICE_MS);
  }
}

function tobrinHasWebGL2() {
  try {
    return !!document.createElement('canvas').getContext('webgl2');
  } catch (e) {
    return false;
  }
}

// Settings come from the link (?VIDEO_WIDTH=1280&VIDEO_HEIGHT=960), the few a link may set: no
// link can touch the player's high score. By default the picture has as many pixels as its
// place on this screen, so that it is sharp on a dense one.
var TOBRIN_LINK_SETTINGS = /^(VIDEO_WIDTH|VIDEO_HEIGHT|SOUND_EFFECTS|SOUND_MUSIC|JOY_RAW|JOY_PAUSE_BUTTON)$/;

function tobrinArguments() {
  var given = [];
  new URLSearchParams(location.search).forEach(function (value, name) {
    if (TOBRIN_LINK_SETTINGS.test(name) && /^-?[0-9]{1,6}$/.test(value)) {
      given.push(name + '=' + value);
    }
  });
  // A browser goes full screen only at a person's gesture, so the page always starts in place.
  given.push('-VIDEO_FULLSCREEN');
  if (!given.some(function (a) { return /^VIDEO_(WIDTH|HEIGHT)/.test(a); })) {
    var box = tobrinPage.canvas.getBoundingClientRect();
    var scale = window.devicePixelRatio || 1;
    var width = Math.min(TOBRIN_LARGEST_PICTURE[0], Math.round(box.width * scale));
    width = Math.max(320, width - width % 4);
    given.push('VIDEO_WIDTH=' + width, 'VIDEO_HEIGHT=' + width * 3 / 4);
  }
  return given;
}

function tobrinSayStorageRefused(reason) {
  if (tobrinPage.storageRefused) {
    return;
  }
  tobrinPage.storageRefused = true;
  tobrinShowMessage('This browser keeps no files for this page (' + reason + '):\n' +
                    'your high score lasts only until the page is closed.', false);
}

// The game runs in the top folder, where its resources/ lie; the player's folder is read from
// the browser's storage before it starts.
function tobrinReadPlayerFiles() {
  FS.chdir('/');
  FS.mkdir(TOBRIN_PLAYER_FOLDER);
  FS.mount(IDBFS, {}, TOBRIN_PLAYER_FOLDER);
  addRunDependency('player-files');
  var done = false;
  function finish(error) {
    if (done) {
      return;
    }
    done = true;
    if (error) {
      tobrinSayStorageRefused(error.message || String(error));
    }
    removeRunDependency('player-files');
  }
  setTimeout(function () { finish(new Error('no answer from its storage')); },
             TOBRIN_STORAGE_PATIENCE_MS);
  try {
    FS.syncfs(true, finish);
  } catch (e) {
    finish(e);
  }
}

// A recording named by the link (?watch=best.replay, or a whole address that lets this page
// read it) plays as the game starts, as --watch plays one on the desktop. One that cannot be
// fetched is said, and the game starts as usual.
function tobrinFetchWatchedRecording() {
  var address = new URLSearchParams(location.search).get('watch');
  if (!address) {
    return;
  }
  addRunDependency('watched-recording');
  fetch(new URL(address, location.href))
    .then(function (response) {
      if (!response.ok) {
        throw new Error('status ' + response.status);
      }
      return response.arrayBuffer();
    })
    .then(function (bytes) {
      if (bytes.byteLength > TOBRIN_LARGEST_RECORDING) {
        throw new Error('too large for a recording');
      }
      FS.writeFile(TOBRIN_WATCHED_FILE, new Uint8Array(bytes));
      Module['arguments'].push('--watch', TOBRIN_WATCHED_FILE);
    })
    .catch(function (error) {
      tobrinShowMessage('The recording in the link could not be loaded (' + error.message +
                        ').', false);
    })
    .finally(function () { removeRunDependency('watched-recording'); });
}

// A recording dropped on the page waits here until the menu takes it.
function tobrinTakeDrop(event) {
  event.preventDefault();
  var file = event.dataTransfer && event.dataTransfer.files[0];
  if (!file) {
    return;
  }
  if (file.size > TOBRIN_LARGEST_RECORDING) {
    tobrinShowMessage(file.name + ' is too large for a recording.', false);
    return;
  }
  file.arrayBuffer().then(function (bytes) {
    FS.writeFile(TOBRIN_DROPPED_FILE, new Uint8Array(bytes));
    tobrinPage.dropped = true;
  });
}

// SDL hears a finger as the mouse: the game asks which it was, to name the control in use. A
// browser follows a touch with mouse events of its own, a moment later.
var TOBRIN_TOUCH_ECHO_MS = 1000;
Module['pointerIsTouch'] = function () {
  return performance.now() - tobrinPage.lastTouch < TOBRIN_TOUCH_ECHO_MS;
};

Module['takeDroppedReplay'] = function () {
  var dropped = tobrinPage.dropped;
  tobrinPage.dropped = false;
  return dropped ? 1 : 0;
};

// Emscripten's SDL knows no Pause key: it is given SDL's own symbol for it.
function tobrinMendKeys() {
  var DOM_PAUSE = 19, SDL_SCANCODE_PAUSE = 72, SDLK_SCANCODE_MASK = 1 << 10;
  SDL.keyCodes[DOM_PAUSE] = SDL_SCANCODE_PAUSE | SDLK_SCANCODE_MASK;
}

// Called by the game after it replaced one of the player's files: copied to the browser's
// storage, one copy at a time.
Module['keepPlayerFiles'] = function () {
  if (tobrinPage.storageRefused) {
    return;
  }
  if (tobrinPage.saving) {
    tobrinPage.saveAgain = true;
    return;
  }
  tobrinPage.saving = true;
  FS.syncfs(false, function (error) {
    tobrinPage.saving = false;
    if (error) {
      tobrinSayStorageRefused(error.message || String(error));
    } else if (tobrinPage.saveAgain) {
      tobrinPage.saveAgain = false;
      Module['keepPlayerFiles']();
    }
  });
};

Module['showMessage'] = tobrinShowMessage;

Module['toggleFullscreen'] = function () {
  var root = document.documentElement;
  var current = document.fullscreenElement || document.webkitFullscreenElement;
  var request = root.requestFullscreen || root.webkitRequestFullscreen;
  var exit = document.exitFullscreen || document.webkitExitFullscreen;
  try {
    if (current) {
      exit.call(document);
    } else if (request) {
      var asked = request.call(root);
      if (asked && asked.catch) {
        asked.catch(function () {});
      }
    }
  } catch (e) {
    console.warn('Full screen: ' + e);
  }
};

// Browsers start sound only after a person's gesture, and phones count a touch only when it
// ends: the cover is that gesture.
function tobrinUncover() {
  if (tobrinPage.cover.hidden) {
    return;
  }
  tobrinPage.cover.hidden = true;
  if (typeof SDL !== 'undefined' && SDL.audioContext && SDL.audioContext.resume) {
    SDL.audioContext.resume();
  }
  tobrinPage.canvas.focus();
}

// A hold on the picture always ends: when the touch is cancelled (a call, a swipe of the
// system's), when the pointer leaves the page and when the page is hidden or loses the focus.
// The game hears each as the button let go.
function tobrinEndHolds() {
  tobrinPage.canvas.dispatchEvent(new MouseEvent('mouseout'));
  if (typeof SDL !== 'undefined') {
    SDL.downFingers = {};
  }
}

function tobrinWatchThePage() {
  var page = tobrinPage;
  page.cover.addEventListener('click', tobrinUncover);
  page.cover.addEventListener('touchend', function (event) {
    event.preventDefault();
    tobrinUncover();
  });
  window.addEventListener('keydown', tobrinUncover, true);
  page.canvas.addEventListener('touchcancel', tobrinEndHolds);
  page.canvas.addEventListener('touchstart', function () { page.lastTouch = performance.now(); },
                               { capture: true, passive: true });
  document.addEventListener('mouseleave', tobrinEndHolds);
  document.addEventListener('visibilitychange', function () {
    if (document.hidden) {
      tobrinEndHolds();
    }
  });
  window.addEventListener('blur', tobrinEndHolds);
  document.addEventListener('dragover', function (event) { event.preventDefault(); });
  document.addEventListener('drop', tobrinTakeDrop);
  page.fullscreen.addEventListener('click', function () {
    Module['toggleFullscreen']();
    page.fullscreen.blur();
    page.canvas.focus();
  });
  window.addEventListener('error', function (event) {
    tobrinSayFailure(event.message || String(event.error));
  });
  window.addEventListener('unhandledrejection', function (event) {
    tobrinSayFailure(String(event.reason));
  });
}

function tobrinSayFailure(what) {
  if (/tobrin\.data|NetworkError|Not Found|status/i.test(what)) {
    tobrinShowMessage('The game\'s pictures and sounds could not be loaded (' + what + ').\n' +
                      'Check the connection and reload the page.', true);
  } else {
    tobrinShowMessage('The game stopped: ' + what + '\nReload the page to play again.', true);
  }
}

Module['canvas'] = tobrinPage.canvas;
Module['noAudioDecoding'] = true;  // sounds are decoded when the game loads them
Module['print'] = function (line) { console.log(line); };
Module['printErr'] = function (line) { console.warn(line); };
Module['onAbort'] = function (what) { tobrinSayFailure(String(what)); };
Module['arguments'] = tobrinArguments();
Module['preRun'] = (Module['preRun'] || []).concat([tobrinReadPlayerFiles, tobrinMendKeys,
                                                   tobrinFetchWatchedRecording]);  // after the data's
tobrinWatchThePage();
if (!tobrinHasWebGL2()) {
  Module['noInitialRun'] = true;
  tobrinShowMessage('This game draws with WebGL 2, which this browser does not offer or has ' +
                    'switched off.\nTry a current browser, or switch its hardware ' +
                    'acceleration on.', true);
}
