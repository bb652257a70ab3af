// SPDX-License-Identifier: GPL-3.0-or-later
// The browser tests' and the benchmark's plumbing: the page served from 127.0.0.1 as a web host
// serves it (gzip where the browser asks for it), and Debian's Chromium started headless with
// WebGL on its software renderer, driven through puppeteer-core.
'use strict';
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const zlib = require('node:zlib');
const puppeteer = (() => {
  try {
    return require('puppeteer-core');
  } catch (e) {
    throw new Error('puppeteer-core is missing: npm ci in tests/web (tools/install_deps.sh does)');
  }
})();

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
};

// Serves the folder; counts the bytes sent, as they went over the wire.
async function serve(folder) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(folder, name === '/' ? 'index.html' : name);
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end('not found');
      return;
    }
    let body = fs.readFileSync(file);
    const headers = { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
                      'Cache-Control': 'no-store' };
    if (/\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
      body = zlib.gzipSync(body);
      headers['Content-Encoding'] = 'gzip';
    }
    server.bytesSent += body.length;
    response.writeHead(200, headers).end(body);
  });
  server.bytesSent = 0;
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  server.url = `http://127.0.0.1:${server.address().port}/`;
  return server;
}

// Chromium with WebGL drawn by SwiftShader, as on a machine without a graphics card.
function launch(extraArgs = []) {
  const executablePath = process.env.CHROMIUM || '/usr/bin/chromium';
  if (!fs.existsSync(executablePath)) {
    throw new Error(`no ${executablePath}: install Debian's package chromium`);
  }
  return puppeteer.launch({
    executablePath,
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--use-gl=angle', '--ignore-gpu-blocklist', '--autoplay-policy=no-user-gesture-required',
           ...extraArgs],
  });
}

// A page whose console lines are kept, errors apart; prepare runs before the page's scripts.
async function openPage(browser, url, prepare = async () => {}) {
  const page = await browser.newPage();
  await prepare(page);
  const viewport = { width: 800, height: 600 };
  await page.setViewport(viewport);
  page.lines = [];
  page.errors = [];
  page.on('console', (message) => {
    (message.type() === 'error' ? page.errors : page.lines).push(message.text());
  });
  page.on('pageerror', (error) => page.errors.push(String(error.stack || error)));
  await page.goto(url);
  return page;
}

// Waits for a console line that starts so, at most the seconds given; true when it came.
async function logged(page, start, seconds = 20, after = 0) {
  for (const deadline = Date.now() + seconds * 1000; Date.now() < deadline;) {
    if (page.lines.slice(after).some((line) => line.startsWith(start))) {
      return true;
    }
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  return false;
}

module.exports = { serve, launch, openPage, logged };
