// What every browser test shares: the built page served from 127.0.0.1, Debian's chromium
// headless with a fresh profile, animation frames handed out by the test at the display rate
// it chooses, the game's state, and a player's pointer, finger, keys and gamepad placed by the
// game's own design units.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

export const SKIPPED = 77;
const here = path.dirname(new URL(import.meta.url).pathname);
export const root = path.resolve(here, '../..');
export const site = process.env.DOVI_SITE || path.join(root, 'build-web/test-site');
export const playtest = process.env.DOVI_PLAYTEST || path.join(root, 'build/playtest');
export const chromium = process.env.DOVI_CHROMIUM || '/usr/bin/chromium';

// Design units, as in harness/playtest/Spots.h (origin at the bottom left of 1920 x 1080).
export const Spot = {
  centre: [960, 540],
  ring: [[758.4, 772.2], [1200, 772.2], [1392, 534.6], [1200, 307.8], [758.4, 307.8], [585.6, 534.6]],
  back: [384, 108],
  retry: [672, 324],
  goShop: [1248, 324],
  lifeIcon: [1040.64, 812.16],
  start: [1584, 135],
};
// The game's keys for the ring, clockwise from the top left.
export const ringKeys = ['KeyW', 'KeyE', 'KeyD', 'KeyX', 'KeyZ', 'KeyA'];

let puppeteer;
// Exits with "skipped" only where the browser, the driver or the built page is missing.
export async function needBrowser() {
  const missing = [chromium, path.join(site, 'index.html')].filter((f) => !fs.existsSync(f));
  try {
    puppeteer = (await import('puppeteer-core')).default;
  } catch {
    missing.push('node_modules/puppeteer-core (./setup.sh installs it)');
  }
  if (missing.length) {
    console.log('skipped: missing ' + missing.join(', '));
    process.exit(SKIPPED);
  }
}

// A static server for the site on a free port of 127.0.0.1. With `gzip`, what compresses goes
// out compressed, as static hosts (and ./run.sh --web) send it.
export async function serve(dir = site, { gzip = false } = {}) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
    '.json': 'application/json', '.data': 'application/octet-stream' };
  const packed = new Map();
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(dir, name === '/' ? 'index.html' : name);
    if (!file.startsWith(dir) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404).end();
      return;
    }
    const ext = path.extname(file);
    const headers = { 'Content-Type': types[ext] || 'application/octet-stream', 'Cache-Control': 'no-store' };
    let body = fs.readFileSync(file);
    if (gzip && ext !== '.data' && /gzip/.test(req.headers['accept-encoding'] || '')) {
      if (!packed.has(file)) packed.set(file, zlib.gzipSync(body, { level: 9 }));
      body = packed.get(file);
      headers['Content-Encoding'] = 'gzip';
    }
    res.writeHead(200, headers).end(body);
  });
  await new Promise((ok) => server.listen(0, '127.0.0.1', ok));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// Chromium with a profile of its own, quiet on the network, drawing WebGL with SwiftShader.
export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'dovi-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--mute-audio',
      '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
      '--disable-quic', '--disable-renderer-backgrounding', '--disable-background-timer-throttling'],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// Runs in the page before its own scripts: animation frames wait for the test, which hands
// them out with the timestamps of the display rate it plays; a gamepad the test can press.
function pageHooks(driven) {
  if (driven) {
    let queue = [];
    let now = 1000;
    let id = 0;
    window.requestAnimationFrame = (cb) => {
      queue.push({ cb, id: ++id });
      return id;
    };
    window.cancelAnimationFrame = (gone) => {
      queue = queue.filter((f) => f.id !== gone);
    };
    window.doviFrames = (count, ms) => {
      for (let i = 0; i < count; i++) {
        now += ms;
        const due = queue;
        queue = [];
        due.forEach((f) => f.cb(now));
      }
    };
  }
  const buttons = Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 }));
  const pad = { id: 'Test pad (STANDARD GAMEPAD)', index: 0, connected: false, mapping: 'standard',
    timestamp: 1, buttons, axes: [0, 0, 0, 0] };
  window.doviPad = {
    plug() {
      pad.connected = true;
      const e = new Event('gamepadconnected');
      Object.defineProperty(e, 'gamepad', { value: pad });
      window.dispatchEvent(e);
    },
    set(button, down) {
      buttons[button].pressed = buttons[button].touched = down;
      buttons[button].value = down ? 1 : 0;
      pad.timestamp++;
    },
    axis(index, value) {
      pad.axes[index] = value;
      pad.timestamp++;
    },
  };
  navigator.getGamepads = () => [pad.connected ? pad : null, null, null, null];
}

// Opens the page. `driven`: frames only when the test calls frames(); otherwise the browser's.
// `phone`: a touch screen at three device pixels to a CSS pixel, as a phone's browser.
export async function open(browser, url, { driven = true, width = 960, height = 540, touch = false, phone = false, page } = {}) {
  page = page || (await browser.newPage());
  page.on('pageerror', (e) => console.log('page error:', e.message));
  // Two busy cores shared with builds: loads and reloads take their time.
  page.setDefaultTimeout(120000);
  page.setDefaultNavigationTimeout(120000);
  await page.setViewport({ width, height, hasTouch: touch || phone, isMobile: phone, deviceScaleFactor: phone ? 3 : 1 });
  await page.evaluateOnNewDocument(pageHooks, driven);
  await page.goto(url);
  return page;
}

// Frames at `hz` (one per 1/hz s of the page's clock).
export function frames(page, count, hz = 60) {
  return page.evaluate((n, ms) => window.doviFrames(n, ms), count, 1000 / hz);
}

export async function state(page) {
  return page.evaluate(() => (window.Module && Module._dovi_state
    ? JSON.parse(Module.UTF8ToString(Module._dovi_state())) : null));
}

// Frames until `done(state)` holds, at most `limit` of them; returns the state.
export async function until(page, done, { limit = 3600, hz = 60, per = 10 } = {}) {
  for (let n = 0; n <= limit; n += per) {
    const s = await state(page);
    if (s && done(s)) return s;
    await frames(page, per, hz);
  }
  throw new Error('still waiting after ' + limit + ' frames: ' + JSON.stringify(await state(page)));
}

export function inScene(name) {
  return (s) => s.scene === name;
}

// Waits until the page's element shows. Polled by time: animation frames wait for the test.
export function shown(page, selector) {
  return page.waitForFunction((sel) => !document.querySelector(sel).hidden, { polling: 100 }, selector);
}

// Waits for the Play button (the title's files are in, the save is read), then presses it.
export async function play(page, { seed, store, press = (p) => p.click('#play') } = {}) {
  await shown(page, '#play');
  await page.evaluate((seedValue, bytes) => {
    if (bytes) Module.FS.mkdirTree('/home/web_user/.local/share/doviveduzuz');
    if (bytes) Module.FS.writeFile('/home/web_user/.local/share/doviveduzuz/UserDefault.db', new Uint8Array(bytes));
    if (seedValue !== undefined) Module.onRuntimeInitialized = () => Module._dovi_seed(seedValue);
  }, seed, store ? [...store] : null);
  await press(page);
  await page.waitForFunction(() => window.Module && Module._dovi_state, { polling: 100 });
}

// Chromium's own controls over the page's storage, for the origin of `url`.
export async function storageControl(page, url) {
  const cdp = await page.createCDPSession();
  const origin = new URL(url).origin;
  return {
    clear: () => cdp.send('Storage.clearDataForOrigin', { origin, storageTypes: 'indexeddb' }),
    // Bytes the origin may keep; none given, the browser's own figure again.
    quota: (quotaSize) => cdp.send('Storage.overrideQuotaForOrigin', quotaSize === undefined ? { origin } : { origin, quotaSize }),
  };
}

// Waits until the save's last copy into the browser's storage has finished.
export async function copied(page) {
  try {
    await page.waitForFunction(() => Module.doviStore.copies > 0 && !Module.doviStore.copying, { polling: 100, timeout: 20000 });
  } catch (e) {
    throw new Error('the save was not copied: ' + JSON.stringify(await page.evaluate(() => Module.doviStore)) +
      ' ' + JSON.stringify(await state(page)));
  }
}

// The rest of the files are in when the bar behind the title has gone.
export async function restLoaded(page) {
  await page.waitForFunction(() => document.getElementById('behind').hidden, { polling: 100 });
}

// Where a point of the design area is on the page (the picture is letterboxed in the canvas).
export function at(page, [x, y]) {
  return page.evaluate((dx, dy) => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    const scale = Math.min(r.width / 1920, r.height / 1080);
    const left = r.left + (r.width - 1920 * scale) / 2;
    const top = r.top + (r.height - 1080 * scale) / 2;
    return { x: left + dx * scale, y: top + (1080 - dy) * scale };
  }, x, y);
}

// A player's ways to press a spot: the mouse, a finger, each followed by a frame to see it.
export const pointers = {
  async mouse(page, spot) {
    const p = await at(page, spot);
    await page.mouse.click(p.x, p.y);
    await frames(page, 2);
  },
  async touch(page, spot) {
    const p = await at(page, spot);
    await page.touchscreen.tap(p.x, p.y);
    await frames(page, 2);
  },
};

export async function key(page, code) {
  await page.keyboard.press(code);
  await frames(page, 2);
}

// Standard gamepad buttons.
export const Pad = { a: 0, b: 1, x: 2, y: 3, leftshoulder: 4, rightshoulder: 5, back: 8, start: 9,
  dpup: 12, dpdown: 13, dpleft: 14, dpright: 15 };
export async function padPress(page, ...buttons) {
  await page.evaluate((b) => b.forEach((i) => window.doviPad.set(i, true)), buttons);
  await frames(page, 2);
  await page.evaluate((b) => b.forEach((i) => window.doviPad.set(i, false)), buttons);
  await frames(page, 2);
}

// The ring button showing element `kind`, once the ring shows six different elements.
export async function ringIndexOf(page, kind) {
  const s = await until(page, (st) => st.ring && new Set(st.ring).size === 6, { per: 1 });
  return s.ring.indexOf(kind);
}

// A save as the desktop game writes it: `coins` in the shop, after buying `timeLevels` levels
// of the longer stage timer there.
export function savedGame({ coins, timeLevels = 0 }) {
  const buys = 'tap 418.56 812.16\nstep 30\n'.repeat(timeLevels);
  return harness(`open shop ${coins}\nstep 2\n${buys}`, 'doviveduzuz/UserDefault.db');
}

// Runs the desktop harness with a folder of its own (@HOME in the script) for the save, and
// returns the file it leaves at `keep` there.
function harness(script, keep) {
  const home = fs.mkdtempSync(path.join(os.tmpdir(), 'dovi-harness-'));
  try {
    const run = spawnSync(playtest, [], { input: `${script.replaceAll('@HOME', home)}\nquit\n`, encoding: 'utf8', env: { ...process.env,
      XDG_DATA_HOME: home, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy' } });
    const file = path.join(home, keep);
    if (run.status !== 0 || !fs.existsSync(file)) throw new Error('playtest failed: ' + run.stdout + run.stderr);
    return fs.readFileSync(file);
  } finally {
    fs.rmSync(home, { recursive: true, force: true });
  }
}

// The desktop harness's picture after `script` (playtest commands), as PNG bytes.
export function desktopShot(script) {
  return harness(`${script}\nshot @HOME/shot.png`, 'shot.png');
}
