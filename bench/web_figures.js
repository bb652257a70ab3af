// SPDX-License-Identifier: GPL-3.0-or-later
// The browser build's figures on headless Chromium with SwiftShader: time from navigation to
// the first drawn frame, bytes sent (gzip, as a web host sends them), and the game's own logged
// frame rate in the menu and in a chase at 640x480 and 1280x960 against an empty page that only
// clears a WebGL canvas of the same size at each animation frame, in the same run.
// Usage: node bench/web_figures.js PAGE_DIR   (bench/web_figures.sh builds and runs it)
'use strict';
const path = require('node:path');
const { serve, launch, openPage, logged } = require('../tests/web/browser.js');

const SIZES = [[640, 480], [1280, 960]];
const RATE_SECONDS = 5;  // the game logs its frame rate every five seconds

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The empty page: a WebGL 2 canvas cleared at every animation frame, frames counted.
const EMPTY_PAGE = (width, height) => `data:text/html,<canvas width=${width} height=${height}
  style="width:100vw;height:100vh"></canvas><script>
  const gl = document.querySelector('canvas').getContext('webgl2');
  window.frames = 0;
  (function frame() { gl.clearColor(0, 0.2, 1, 1); gl.clear(gl.COLOR_BUFFER_BIT);
    window.frames++; requestAnimationFrame(frame); })();
  </script>`;

async function emptyRate(browser, width, height) {
  const page = await browser.newPage();
  await page.setViewport({ width, height });
  await page.goto(EMPTY_PAGE(width, height));
  await pause(1000);
  const before = await page.evaluate(() => window.frames);
  await pause(RATE_SECONDS * 1000);
  const rate = (await page.evaluate(() => window.frames) - before) / RATE_SECONDS;
  await page.close();
  return rate;
}

// The next frame rate the game logs after the given line index.
async function nextRate(page, after) {
  await logged(page, 'Log info: FPS: ', 2 * RATE_SECONDS + 2, after);
  const line = page.lines.slice(after).find((l) => l.startsWith('Log info: FPS: '));
  return line ? Number(line.slice('Log info: FPS: '.length)) : NaN;
}

async function gameRates(browser, server, width, height) {
  const page = await browser.newPage();
  await page.setViewport({ width, height });
  await page.evaluateOnNewDocument(() => {
    const log = console.log;
    console.log = (line, ...rest) => {
      if (String(line).startsWith('First frame') && !window.firstFrameAt) {
        window.firstFrameAt = performance.now();
      }
      log(line, ...rest);
    };
  });
  page.lines = [];
  page.on('console', (message) => page.lines.push(message.text()));
  const sentBefore = server.bytesSent;
  await page.goto(`${server.url}?VIDEO_WIDTH=${width}&VIDEO_HEIGHT=${height}`);
  await logged(page, 'First frame', 30);
  const firstFrame = await page.evaluate(() => window.firstFrameAt);
  const bytes = server.bytesSent - sentBefore;
  await page.keyboard.press('Shift');
  await nextRate(page, 0);  // the first five seconds hold the start-up
  const menu = await nextRate(page, page.lines.length);
  await page.keyboard.down('Enter');
  await logged(page, 'Game started', 10);
  await page.keyboard.up('Enter');
  let held = false;
  const masher = setInterval(() => {
    held = !held;
    (held ? page.keyboard.down('Space') : page.keyboard.up('Space')).catch(() => {});
  }, 150);
  await pause(1500);  // the circle has opened
  const chase = await nextRate(page, page.lines.length);
  clearInterval(masher);
  await page.close();
  return { firstFrame, bytes, menu, chase };
}

async function main() {
  const server = await serve(path.resolve(process.argv[2] || 'build-web'));
  const browser = await launch();
  console.log('size       empty    menu   chase  menu/empty chase/empty  first frame  sent (gzip)');
  for (const [width, height] of SIZES) {
    const empty = await emptyRate(browser, width, height);
    const game = await gameRates(browser, server, width, height);
    console.log(`${width}x${height}`.padEnd(9),
                empty.toFixed(1).padStart(7), game.menu.toFixed(1).padStart(7),
                game.chase.toFixed(1).padStart(7), (game.menu / empty).toFixed(2).padStart(11),
                (game.chase / empty).toFixed(2).padStart(11),
                `${Math.round(game.firstFrame)} ms`.padStart(12),
                `${(game.bytes / 1e6).toFixed(2)} MB`.padStart(12));
  }
  await browser.close();
  server.close();
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
