// SPDX-License-Identifier: GPL-3.0-or-later
// The browser build in a real headless Chromium, played as a person would: the menu over the
// ocean, a game started with Enter, climbs held with the mouse and with Space, a chomp, a high
// score that outlives a reload, a desktop's recording played to its end, and pages that cannot
// run saying why in words.
'use strict';
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { after, before, test } = require('node:test');
const { serve, launch, openPage, logged } = require('./browser.js');

const PAGE_DIR = process.env.TOBRIN_WEB_PAGE || path.join(__dirname, '../../build-web');
const ARTIFACTS = process.env.TOBRIN_ARTIFACT_DIR || path.join(__dirname, '../../build/test-artifacts');
const SMALL = '?VIDEO_WIDTH=640&VIDEO_HEIGHT=480';

let server;
let browser;
let page;
let points = -1;  // of the game played below

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Shares of sky and of sea in the picture, and the mean height of each (0 top, 1 bottom),
// counted in the page from a screenshot (the canvas itself keeps no frame once it is shown).
async function skyAndSea(name) {
  const png = await page.screenshot({ encoding: 'base64' });
  if (name) {
    fs.mkdirSync(ARTIFACTS, { recursive: true });
    fs.writeFileSync(path.join(ARTIFACTS, name), Buffer.from(png, 'base64'));
  }
  return page.evaluate(async (data) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + data;
    await image.decode();
    const canvas = document.createElement('canvas');
    canvas.width = image.width;
    canvas.height = image.height;
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const box = document.getElementById('canvas').getBoundingClientRect();
    const pixels = context.getImageData(box.left, box.top, box.width, box.height).data;
    const found = { sky: 0, sea: 0, skyY: 0, seaY: 0 };
    for (let i = 0; i < pixels.length; i += 4) {
      const [r, g, b] = [pixels[i], pixels[i + 1], pixels[i + 2]];
      const kind = r < 60 && b > 200 && g > 150 ? 'sky' : r < 60 && b > 120 && g < 90 ? 'sea' : '';
      if (kind) {
        found[kind] += 1;
        found[kind + 'Y'] += Math.floor(i / 4 / box.width) / box.height;
      }
    }
    const all = pixels.length / 4;
    return { sky: found.sky / all, sea: found.sea / all,
             skyY: found.skyY / found.sky, seaY: found.seaY / found.sea };
  }, png);
}

// Polls the picture until it shows sky at the top, or no longer does.
async function skyShows(wanted, seconds) {
  for (const deadline = Date.now() + seconds * 1000; Date.now() < deadline; await pause(200)) {
    if (((await skyAndSea()).sky > 0.05) === wanted) {
      return true;
    }
  }
  return false;
}

before(async () => {
  assert.ok(fs.existsSync(path.join(PAGE_DIR, 'tobrin.wasm')),
            `no browser build in ${PAGE_DIR}: run tools/web.sh`);
  server = await serve(PAGE_DIR);
  browser = await launch();
  page = await openPage(browser, server.url + SMALL + '&HIGH_SCORE=123');  // no link sets it
});

after(async () => {
  await browser?.close();
  server?.close();
});

test('the page loads without an error and shows the menu over the ocean', async () => {
  assert.ok(await logged(page, 'Menu: high score 0, last score 0', 30), page.lines.join('\n'));
  await page.keyboard.press('Shift');  // the cover goes with the first key
  await page.keyboard.press('F2');
  assert.ok(await logged(page, 'Sound effects off', 5), 'F2 switches the effects');
  await pause(2500);  // the title words settle
  const { sky, sea, skyY, seaY } = await skyAndSea('web_menu.png');
  // The camera follows the droning submarine: at its deepest, only a band of sky shows.
  assert.ok(sky > 0.02 && sea > 0.3 && skyY < seaY, `sky ${sky} at ${skyY}, sea ${sea} at ${seaY}`);
  assert.deepEqual(page.errors, []);
});

test('Enter starts a game', async () => {
  await page.keyboard.down('Enter');
  assert.ok(await logged(page, 'Game started', 10));
  await page.keyboard.up('Enter');
});

test('a held mouse button and Space held each make the submarine climb', async () => {
  const box = await (await page.$('#canvas')).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
  assert.ok(await skyShows(true, 8), 'the mouse held: the submarine climbs to the surface');
  await skyAndSea('web_chase.png');
  await page.mouse.up();
  assert.ok(await skyShows(false, 10), 'let go: it dives');
  await page.keyboard.down('Space');
  assert.ok(await skyShows(true, 8), 'Space held: it climbs again');
});

test('a game ends in a chomp', async () => {
  const started = page.lines.length;
  await page.keyboard.up('Space');
  for (let press = 0; press < 20; ++press) {  // mashed, it weaves through the schools
    await page.keyboard.down('Space');
    await pause(150);
    await page.keyboard.up('Space');
    await pause(250);
  }
  await page.keyboard.down('Space');  // then held at the surface, it is caught
  assert.ok(await logged(page, 'Game over with ', 60, started), 'the big fish never caught up');
  await page.keyboard.up('Space');
  const line = page.lines.slice(started).find((l) => l.startsWith('Game over with '));
  points = Number(/Game over with (\d+) points/.exec(line)[1]);
});

// The switch is kept at once, the best only if the mashing above ate a fishie.
test('a switched sound, a beaten high score and its game survive a reload', async () => {
  const best = points > 0 ? `Menu: high score ${points}, last score 0` : 'Menu: ';
  assert.ok(points <= 0 || (await logged(page, `New high score: ${points}`, 5)));
  await pause(1000);  // the copy into the browser's storage is under way
  const reloaded = await openPage(browser, server.url + SMALL);
  assert.ok(await logged(reloaded, best, 30), reloaded.lines.join('\n'));
  const kept = reloaded.lines.some((line) => line.startsWith(`Best game: ${points} points`));
  assert.ok(points <= 0 || kept, 'the best game is kept with it');
  await reloaded.keyboard.press('Shift');
  await reloaded.keyboard.press('F2');
  assert.ok(await logged(reloaded, 'Sound effects on', 5), 'the effects were kept off');
  await reloaded.close();
});

// A standard pad in the second slot, the first one empty, as the Gamepad API may report them.
function plugInPad() {
  const buttons = Array.from({ length: 17 }, () => ({ pressed: false, value: 0 }));
  const pad = { id: 'Test Pad', index: 1, connected: true, mapping: 'standard',
                axes: [0, 0, 0, 0], buttons, timestamp: 0 };
  window.pressPad = (button, held) => {
    buttons[button] = { pressed: held, value: held ? 1 : 0 };
    pad.timestamp += 1;
  };
  navigator.getGamepads = () => [null, pad];
}

test('a pad behind an empty slot starts a game, pauses it, Select quits nothing, pulled out pauses',
     async () => {
  const padded = await openPage(browser, server.url + SMALL,
                                (p) => p.evaluateOnNewDocument(plugInPad));
  assert.ok(await logged(padded, 'Pad buttons in the standard order', 30),
            padded.lines.join('\n'));
  const press = async (button, line) => {
    const before = padded.lines.length;
    await padded.evaluate((b) => window.pressPad(b, true), button);
    const seen = await logged(padded, line, 5, before);
    await padded.evaluate((b) => window.pressPad(b, false), button);
    await pause(200);  // a few frames see it let go
    return seen;
  };
  assert.ok(await press(0, 'Game started'), 'the bottom face button starts');
  await pause(1500);
  assert.ok(await press(9, 'Paused'), 'Start pauses');
  assert.ok(await press(9, 'Resumed'), 'and resumes');
  assert.ok(!(await press(8, 'Game quit')), 'Select quits nothing');
  const before = padded.lines.length;
  await padded.evaluate(() => { navigator.getGamepads = () => [null, null]; });
  assert.ok(await logged(padded, 'Paused', 5, before), 'pulled out mid-game');
  assert.deepEqual(padded.errors, []);
  await padded.close();
});

// A recording made by the desktop build, and how it ended there.
const RECORDING = fs.readFileSync(path.join(__dirname, '../replay/desktop_best.replay'));
const ENDED = fs.readFileSync(path.join(__dirname, '../replay/desktop_best.ended'), 'utf8').trim();

test('a recording made on the desktop, linked or dropped, plays to the same score and place',
     async () => {
  const watching = await openPage(browser, server.url + SMALL + '&watch=sent.replay', async (p) => {
    await p.setRequestInterception(true);
    p.on('request', (r) => (r.url().endsWith('/sent.replay')
      ? r.respond({ status: 200, contentType: 'application/octet-stream', body: RECORDING })
      : r.continue()));
  });
  assert.ok(await logged(watching, 'Replay ended', 60), watching.lines.join('\n'));
  assert.equal(watching.lines.find((line) => line.startsWith('Replay ended')), ENDED);
  const ended = watching.lines.findIndex((line) => line.startsWith('Replay ended'));
  assert.ok(await logged(watching, 'Menu: high score', 5, ended), 'the menu follows');
  assert.ok(!watching.lines.some((line) => /^(New high score|Best game of)/.test(line)),
            'a replay keeps nothing');

  const before = watching.lines.length;
  await watching.evaluate((data) => {
    const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
    const transfer = new DataTransfer();
    transfer.items.add(new File([bytes], 'best.replay'));
    document.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true,
                                                    cancelable: true }));
  }, RECORDING.toString('base64'));
  assert.ok(await logged(watching, 'Replay of a game of ', 10, before), 'dropped in the menu');
  await pause(1000);
  await watching.keyboard.press('KeyX');
  assert.ok(await logged(watching, 'Replay left with ', 5, before), 'any key leaves it');
  assert.deepEqual(watching.errors, []);
  await watching.close();
});

// Each page is kept from something it needs before its scripts run.
const HOSTILE = [
  { name: 'no WebGL', say: 'WebGL 2',
    prepare: (p) => p.evaluateOnNewDocument(() => {
      const real = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
        return /webgl/.test(kind) ? null : real.call(this, kind, ...rest);
      };
    }) },
  { name: 'storage refused', say: 'keeps no files',
    prepare: (p) => p.evaluateOnNewDocument(() => {
      Object.defineProperty(window, 'indexedDB', { get() { throw new Error('refused'); } });
    }) },
  { name: 'data missing', say: 'could not be loaded',
    prepare: async (p) => {
      await p.setRequestInterception(true);
      p.on('request', (r) => (r.url().includes('tobrin.data')
        ? r.respond({ status: 404, body: 'gone' }) : r.continue()));
    } },
];

for (const hostile of HOSTILE) {
  test(`a page with ${hostile.name} says so in words`, async () => {
    const blank = await browser.newPage();
    await hostile.prepare(blank);
    await blank.goto(server.url + SMALL);
    const shown = await blank.waitForFunction(
      () => !document.getElementById('message').hidden &&
            document.getElementById('message').textContent, { timeout: 20000 });
    assert.match(await shown.jsonValue(), new RegExp(hostile.say));
    await blank.close();
  });
}
