// The page as a browser tab: what it downloads before the title is ready, one tab per save, a
// hidden tab pauses the round, and the game keeps its speed whatever the display's rate.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  Spot, copied, frames, site, inScene, launch, needBrowser, open, play, pointers, restLoaded, savedGame, serve, shown, state, until,
} from '../../harness/web/web_fixture.mjs';

await needBrowser();

const quick = { hz: 20 };
let server;
let browser;
before(async () => {
  server = await serve();
  browser = await launch();
});
after(async () => {
  await browser.close();
  server.close();
});

async function visible(page, shown) {
  await page.evaluate((on) => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => !on });
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => (on ? 'visible' : 'hidden') });
    document.dispatchEvent(new Event('visibilitychange'));
  }, shown);
}

test('the site players get carries no state hook; the tests\' copy does', () => {
  const script = (dir) => fs.readFileSync(path.join(dir, 'doviveduzuz.js'), 'utf8');
  assert.match(script(site), /_dovi_state/);
  assert.doesNotMatch(script(path.join(site, '..', 'site')), /dovi_state|dovi_seed/);
});

// Uncompressed, everything asked for before Play shows: the program, its script, the page and
// the title's pictures and font.
const READY_BYTES = 4000000;

// Everything the page fetched before Play showed, as [path, bytes].
function markReady(page) {
  return page.evaluateOnNewDocument(() => {
    document.addEventListener('DOMContentLoaded', () => {
      const button = document.getElementById('play');
      new MutationObserver(() => {
        if (!button.hidden && !window.readyAt) window.readyAt = performance.now();
      }).observe(button, { attributes: true });
    });
  });
}
function fetchedBeforeReady(page) {
  return page.evaluate(() => [...performance.getEntriesByType('navigation'),
    ...performance.getEntriesByType('resource')].filter((e) => e.startTime < window.readyAt)
    .map((e) => [new URL(e.name).pathname, e.decodedBodySize]));
}

test('the title is ready within 4,000,000 bytes, and its music starts when its file comes', async () => {
  // The budget is the players' site's: the tests' copy carries the state hook besides.
  const players = await serve(path.join(site, '..', 'site'));
  const context = await browser.createBrowserContext();
  try {
    const bare = await context.newPage();
    await markReady(bare);
    await bare.goto(players.url);
    await shown(bare, '#play');
    const fetched = await fetchedBeforeReady(bare);
    const names = fetched.map(([name]) => name);
    for (const needed of ['/doviveduzuz.wasm', '/doviveduzuz.js', '/title.data']) assert.ok(names.includes(needed), names.join(' '));
    const total = fetched.reduce((sum, [, bytes]) => sum + bytes, 0);
    assert.ok(total < READY_BYTES, `${total} bytes before the title is ready: ${JSON.stringify(fetched)}`);
    console.log(`bytes before the title is ready: ${total}`);
    await bare.close();
  } finally {
    await context.close();
    players.close();
  }

  // A storage of its own: the save this leaves is no other test's.
  const own = await browser.createBrowserContext();
  const page = await own.newPage();
  try {
    let letGo;
    const held = new Promise((ok) => { letGo = ok; });
    await page.setRequestInterception(true);
    page.on('request', (r) => (new URL(r.url()).pathname === '/late.data' ? held.then(() => r.continue()) : r.continue()));
    await open(browser, server.url, { page });
    await play(page);
    let s = await until(page, inScene('TitleScene'));
    await frames(page, 30);
    s = await state(page);
    assert.equal(s.music, '', 'no music before its file is in');
    // A page cannot end the game: the title offers no quit, only its version and the prompt.
    assert.ok(s.words.some((w) => /^v\d/.test(w)), `the version among the words: ${JSON.stringify(s.words)}`);
    assert.ok(!s.words.includes('Quit'), `words on the title: ${JSON.stringify(s.words)}`);

    letGo();
    s = await until(page, (st) => st.music === 'Music/8bit-Town01.mp3', { per: 5 });
    assert.equal(s.scene, 'TitleScene');
  } finally {
    await own.close();
  }
});

test('the title\'s music failing to download: Play stays, and Try again brings the music', async () => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  try {
    let refused = 0;
    await page.setRequestInterception(true);
    page.on('request', (r) => (new URL(r.url()).pathname === '/late.data' && !refused++
      ? r.respond({ status: 503, body: '' }) : r.continue()));
    await open(browser, server.url, { page });
    await shown(page, '#retry');
    assert.equal(await page.$eval('#play', (b) => b.hidden), true, 'Play waits while the sentence shows');
    await page.click('#retry');
    await play(page);
    const s = await until(page, (st) => st.scene === 'TitleScene' && st.music === 'Music/8bit-Town01.mp3', { per: 5 });
    assert.deepEqual(s.notes, []);
    assert.equal(refused, 2, 'asked for again');
  } finally {
    await context.close();
  }
});

test('a second tab waits, touching nothing, and carries on when the first closes', async () => {
  const context = await browser.createBrowserContext();
  try {
    const first = await open(context, server.url);
    await play(first, { store: savedGame({ coins: 500 }) });
    await restLoaded(first);
    await until(first, inScene('TitleScene'));
    await pointers.mouse(first, Spot.centre);
    await until(first, inScene('UpgradeScene'), quick);

    const second = await open(context, server.url);
    await shown(second, '#message');
    assert.match(await second.$eval('#message', (m) => m.textContent), /already open in another tab/);
    // Back to the first tab, which plays on: a purchase the second must not miss or overwrite.
    await first.bringToFront();
    await frames(first, 5);
    await pointers.mouse(first, Spot.lifeIcon);
    assert.equal((await state(first)).lifeLevel, 1);
    await copied(first);
    await frames(second, 30);
    assert.deepEqual(await second.evaluate(() => [Module.doviStore.kept, Module.doviStore.copies,
      document.getElementById('play').hidden]), [false, 0, true], 'the second tab has not started');

    await first.close({ runBeforeUnload: true });
    await second.bringToFront();
    await play(second);
    await restLoaded(second);
    const s = await until(second, inScene('TitleScene'));
    assert.deepEqual([s.coins, s.lifeLevel], [400, 1]);
    assert.equal(await second.$eval('#message', (m) => m.hidden), true);
  } finally {
    await context.close();
  }
});

describe('a round', () => {
  let page;
  before(async () => {
    page = await open(browser, server.url);
    // A long stage timer, so that the stage outlasts every test here.
    await play(page, { store: savedGame({ coins: 1000, timeLevels: 3 }) });
    await restLoaded(page);
    await until(page, inScene('TitleScene'));
    await pointers.mouse(page, Spot.centre);
    await until(page, inScene('UpgradeScene'), quick);
    await pointers.mouse(page, Spot.start);
    await until(page, inScene('EventScene'), quick);
    await pointers.mouse(page, Spot.centre);
    await until(page, (s) => s.scene === 'GameScene' && s.timer > 0, quick);
  });

  test('a hidden tab pauses the stage timer, and showing it again goes on', async () => {
    const hidden = await state(page);
    await visible(page, false);
    await frames(page, 5 * 60);
    const s = await state(page);
    assert.equal(s.timer, hidden.timer, 'the timer stood still');
    assert.ok(s.notes.includes('Paused'), JSON.stringify(s.notes));
    await visible(page, true);
    await frames(page, 2 * 60);
    assert.equal((await state(page)).timer, hidden.timer - 2);
  });

  test('the game takes 60 steps a second at 30, 120 and 144 frames a second', async () => {
    for (const hz of [30, 120, 144]) {
      const before = await state(page);
      await frames(page, 2 * hz, hz);
      const s = await state(page);
      assert.ok(Math.abs(s.frames - before.frames - 120) <= 1, `${hz} Hz: ${s.frames - before.frames} steps in 2 s`);
      assert.equal(before.timer - s.timer, 2, `${hz} Hz: the stage timer counted 2 s`);
    }
  });
});
