// SPDX-License-Identifier: GPL-3.0-or-later
// The browser build in a real headless Chromium, played as a person would: the menu over the
// ocean, a game started with Enter, climbs held with the mouse and with Space, a chomp, a high
// score that outlives a reload, and pages that cannot run saying why in words.
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

// Shares of sky in the top quarter of the picture and of sea in its bottom half, counted in
// the page from a screenshot (the canvas itself keeps no frame once it is shown).
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
    const share = (top, bottom, kind) => {
      const pixels = context.getImageData(box.left, box.top + box.height * top, box.width,
                                          box.height * (bottom - top)).data;
      let count = 0;
      for (let i = 0; i < pixels.length; i += 4) {
        const [r, g, b] = [pixels[i], pixels[i + 1], pixels[i + 2]];
        count += kind === 'sky' ? (r < 60 && g > 150 && b > 200) : (r < 60 && g < 90 && b > 120);
      }
      return count / (pixels.length / 4);
    };
    return { sky: share(0, 0.25, 'sky'), sea: share(0.5, 1, 'sea') };
  }, png);
}

// Polls the picture until it shows sky at the top, or no longer does.
async function skyShows(wanted, seconds) {
  for (const deadline = Date.now() + seconds * 1000; Date.now() < deadline; await pause(200)) {
    if (((await skyAndSea()).sky > 0.1) === wanted) {
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
  page = await openPage(browser, server.url + SMALL);
});

after(async () => {
  await browser?.close();
  server?.close();
});

test('the page loads without an error and shows the menu over the ocean', async () => {
  assert.ok(await logged(page, 'Menu: high score 0, last score 0', 30), page.lines.join('\n'));
  await page.keyboard.press('Shift');  // the cover goes with the first key
  await pause(2500);                   // the title words settle
  const { sky, sea } = await skyAndSea('web_menu.png');
  assert.ok(sky > 0.3 && sea > 0.3, `sky ${sky} over sea ${sea}`);
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
  assert.ok(await logged(page, 'Game over with ', 60, started), 'the big fish never caught up');
  await page.keyboard.up('Space');
  const line = page.lines.slice(started).find((l) => l.startsWith('Game over with '));
  points = Number(/Game over with (\d+) points/.exec(line)[1]);
});

test('a beaten high score survives a reload', async (t) => {
  if (points <= 0) {
    t.skip('the game ate no fishie, so it beat no high score');
    return;
  }
  assert.ok(await logged(page, `New high score: ${points}`, 5));
  await pause(1000);  // the copy into the browser's storage is under way
  const reloaded = await openPage(browser, server.url + SMALL);
  assert.ok(await logged(reloaded, `Menu: high score ${points}, last score 0`, 30),
            reloaded.lines.join('\n'));
  await reloaded.close();
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
