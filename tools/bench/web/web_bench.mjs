// The browser version against its fill floor, in the same run, in Debian's headless chromium
// (SwiftShader WebGL), both pages served from 127.0.0.1 at 1280 x 720:
// - animation frames a second: the floor page, and the game in a round;
// - the floor's first frame, and the game's page ready to play (Play shown, the title's files
//   in), with the bytes fetched before that, uncompressed and as served (gzip where it helps);
// - the size of the game's wasm.
// Prints the machine, every run and the medians with the goals.
//   tools/bench/web/run.sh [RUNS]   (builds what it needs, then runs this)
//   node tools/bench/web/web_bench.mjs SITE_DIR FLOOR_DIR [RUNS]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { Spot, at, launch, needBrowser, serve, state } from '../../../harness/web/web_fixture.mjs';

const [siteDir, floorDir, runsArg] = process.argv.slice(2);
const runs = Number(runsArg || 3);
await needBrowser();

// Before the page's scripts: notes every animation frame's time, and when Play shows.
function watch() {
  window.doviFrameTimes = [];
  const raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (cb) => raf((t) => {
    const times = window.doviFrameTimes;
    if (times[times.length - 1] !== t) times.push(t);
    cb(t);
  });
  document.addEventListener('DOMContentLoaded', () => {
    const play = document.getElementById('play');
    if (!play) return;
    new MutationObserver(() => {
      if (!play.hidden && !window.doviReady) window.doviReady = performance.now();
    }).observe(play, { attributes: true });
  });
}

async function openAt(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 720 });
  await page.evaluateOnNewDocument(watch);
  await page.goto(url);
  return page;
}

// Animation frames a second over `seconds` of the page's own clock.
async function frameRate(page, seconds) {
  const from = await page.evaluate(() => performance.now());
  await new Promise((ok) => setTimeout(ok, seconds * 1000));
  return page.evaluate((start) => {
    const times = window.doviFrameTimes.filter((t) => t >= start);
    return (times.length - 1) / ((times[times.length - 1] - times[0]) / 1000);
  }, from);
}

async function floorRun(url) {
  const browser = await launch();
  try {
    const page = await openAt(browser, url);
    await page.waitForFunction(() => window.doviFirstFrame, { timeout: 120000, polling: 100 });
    const firstFrame = await page.evaluate(() => window.doviFirstFrame);
    return { firstFrame, fps: await frameRate(page, 5) };
  } finally {
    await browser.close();
  }
}

async function gameRun(url) {
  const browser = await launch();
  try {
    const page = await openAt(browser, url);
    await page.waitForFunction(() => window.doviReady, { timeout: 120000, polling: 100 });
    const loaded = await page.evaluate(() => {
      const ready = window.doviReady;
      const entries = [...performance.getEntriesByType('navigation'), ...performance.getEntriesByType('resource')];
      // Everything asked for before Play showed (the title's music is asked for only after).
      const before = entries.filter((e) => e.startTime < ready);
      return { ready, served: before.reduce((sum, e) => sum + e.encodedBodySize, 0),
        bytes: before.reduce((sum, e) => sum + e.decodedBodySize, 0),
        files: before.map((e) => new URL(e.name).pathname).join(' ') };
    });
    await page.click('#play');
    await page.waitForFunction(() => document.getElementById('behind').hidden, { timeout: 120000, polling: 100 });
    const press = async (spot, scene) => {
      const p = await at(page, spot);
      await page.mouse.click(p.x, p.y);
      await page.waitForFunction((name) => JSON.parse(Module.UTF8ToString(Module._dovi_state())).scene === name,
        { timeout: 60000, polling: 100 }, scene);
    };
    await page.waitForFunction(() => Module._dovi_state && JSON.parse(Module.UTF8ToString(Module._dovi_state()))
      .scene === 'TitleScene', { timeout: 60000, polling: 100 });
    await press(Spot.centre, 'UpgradeScene');
    await press(Spot.start, 'EventScene');
    await press(Spot.centre, 'GameScene');
    await new Promise((ok) => setTimeout(ok, 1000));
    const steps = (await state(page)).frames;
    const fps = await frameRate(page, 5);
    const stepsPerSecond = ((await state(page)).frames - steps) / 5;
    return { ...loaded, fps, stepsPerSecond };
  } finally {
    await browser.close();
  }
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
// Both compressed as ./run.sh --web and static hosts send them.
const site = await serve(path.resolve(siteDir), { gzip: true });
const floor = await serve(path.resolve(floorDir), { gzip: true });
const load = () => os.loadavg().map((l) => l.toFixed(2)).join(' ');
console.log(`machine: ${os.cpus().length} cores, ${os.cpus()[0].model}, ${(os.totalmem() / 2 ** 30).toFixed(1)} GiB`);
console.log(`load average at start: ${load()}`);
const floors = [];
const games = [];
try {
  for (let i = 0; i < runs; i++) {
    const f = await floorRun(floor.url);
    console.log(`floor run ${i + 1}: first frame ${f.firstFrame.toFixed(0)} ms, ${f.fps.toFixed(1)} frames/s`);
    floors.push(f);
    const g = await gameRun(site.url);
    console.log(`game run ${i + 1}: ready ${g.ready.toFixed(0)} ms after ${g.bytes} bytes, ${g.served} served (${g.files}), ` +
      `round ${g.fps.toFixed(1)} frames/s, ${g.stepsPerSecond.toFixed(1)} steps/s`);
    games.push(g);
  }
} finally {
  site.close();
  floor.close();
}
console.log(`load average at end: ${load()}`);

const floorFirst = median(floors.map((f) => f.firstFrame));
const floorFps = median(floors.map((f) => f.fps));
const ready = median(games.map((g) => g.ready));
const bytes = Math.max(...games.map((g) => g.bytes));
const roundFps = median(games.map((g) => g.fps));
const wasm = fs.statSync(path.join(siteDir, 'doviveduzuz.wasm')).size;
const verdict = (ok) => (ok ? 'met' : 'NOT met');
console.log(`round at 1280x720: ${roundFps.toFixed(1)} frames/s, floor ${floorFps.toFixed(1)}: ` +
  verdict(roundFps >= floorFps * 0.95));
console.log(`page ready: ${ready.toFixed(0)} ms, floor's first frame ${floorFirst.toFixed(0)} ms ` +
  `(${(ready / floorFirst).toFixed(2)}x, at most 2x): ${verdict(ready <= 2 * floorFirst)}`);
console.log(`bytes before ready: ${bytes} uncompressed (at most 4,000,000), ` +
  `${Math.max(...games.map((g) => g.served))} served: ${verdict(bytes <= 4e6)}`);
console.log(`wasm: ${(wasm / 1e6).toFixed(2)} MB (at most 3 MB): ${verdict(wasm <= 3e6)}`);
