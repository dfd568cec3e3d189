// The save in the browser's storage when the storage fails under the game: site data cleared,
// the database deleted, no space, a private window; and a tab closed the moment after a purchase.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import {
  Spot, frames, inScene, launch, needBrowser, open, play, pointers, restLoaded, savedGame, serve, state,
  storageControl, until,
} from '../../harness/web/web_fixture.mjs';

await needBrowser();

const quick = { hz: 20 };
let browser;
let store;
before(async () => {
  browser = await launch();
  store = savedGame({ coins: 500 });
});
after(() => browser.close());

// Each test on an origin of its own: a fresh storage, whatever the last one did to its own.
async function inShop(url, { page } = {}) {
  page = await open(browser, url, { page });
  await play(page, { store });
  await restLoaded(page);
  await until(page, inScene('TitleScene'));
  await pointers.mouse(page, Spot.centre);
  await until(page, inScene('UpgradeScene'), quick);
  return page;
}

function copies(page) {
  return page.evaluate(() => Module.doviStore.copies);
}

// A write begun after `since` copies has landed and nothing is left on its way or failing.
async function landed(page, since) {
  try {
    await page.waitForFunction((n) => Module.doviStore.copies > n && !Module.doviStore.copying && !Module.doviStore.failing,
      { polling: 100, timeout: 60000 }, since);
  } catch {
    throw new Error('the save did not land: ' + JSON.stringify(await page.evaluate(() => Module.doviStore)));
  }
}

async function buyLife(page) {
  await pointers.mouse(page, Spot.lifeIcon);
  assert.deepEqual(await page.evaluate(() => {
    const s = JSON.parse(Module.UTF8ToString(Module._dovi_state()));
    return [s.coins, s.lifeLevel];
  }), [400, 1], 'a life bought for 100 coins');
}

async function keptAcrossReload(page) {
  await page.reload();
  await play(page);
  const s = await until(page, inScene('TitleScene'));
  assert.deepEqual([s.coins, s.lifeLevel], [400, 1], 'the purchase and the coins before it kept');
}

async function withServer(body) {
  const server = await serve();
  const page = await browser.newPage();
  try {
    await body(server.url, page, await storageControl(page, server.url));
  } finally {
    await page.close();
    server.close();
  }
}

test('site data cleared while playing: everything is written again', () => withServer(async (url, blank, control) => {
  const page = await inShop(url, { page: blank });
  await control.clear();
  const since = await copies(page);
  await buyLife(page);
  await landed(page, since);
  assert.ok(await page.evaluate(() => Module.doviStore.reopened) >= 1, 'the storage was opened again');
  await keptAcrossReload(page);
}));

test('the database deleted by a script while the game holds it', () => withServer(async (url, blank) => {
  const page = await inShop(url, { page: blank });
  await page.evaluate(() => { indexedDB.deleteDatabase('/home/web_user/.local/share'); });
  await page.waitForFunction(() => Module.doviStore.reopened >= 1, { polling: 100, timeout: 60000 });
  const since = await copies(page);
  await buyLife(page);
  await landed(page, since);
  await keptAcrossReload(page);
}));

test('no space: the note shows, and the save lands once there is room again', () => withServer(async (url, blank, control) => {
  const page = await inShop(url, { page: blank });
  try {
    await control.quota(1);
    await buyLife(page);
    let s = await until(page, (st) => st.notes.includes('Progress not saved'), { limit: 60 * 60, per: 30 });
    await control.quota();
    const since = await copies(page);
    await landed(page, since);
    s = await until(page, (st) => !st.notes.includes('Progress not saved'), { per: 5 });
    assert.deepEqual([s.coins, s.lifeLevel], [400, 1]);
  } finally {
    await control.quota();
  }
  await keptAcrossReload(page);
}));

test('a browser that keeps the save only for this window says so', () => withServer(async (url, blank) => {
  // A private window's figures as some browsers report them (Chromium reports the same as for
  // any window): no promise to keep the save, and little room.
  await blank.evaluateOnNewDocument(() => {
    navigator.storage.persisted = () => Promise.resolve(false);
    navigator.storage.estimate = () => Promise.resolve({ quota: 50 * 1024 * 1024, usage: 0 });
  });
  const page = await inShop(url, { page: blank });
  const s = await until(page, (st) => st.notes.includes('Progress not saved'), { per: 5 });
  assert.equal(s.scene, 'UpgradeScene');
}));

// Where a spot of the design area is on the first page's canvas, worked out inside the page.
function spotOnPage(page, [x, y]) {
  return page.evaluate((dx, dy) => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    const scale = Math.min(r.width / 1920, r.height / 1080);
    return { x: r.left + (r.width - 1920 * scale) / 2 + dx * scale, y: r.top + (r.height - 1080 * scale) / 2 + (1080 - dy) * scale };
  }, x, y);
}

// A purchase, the frames that take the press and commit it, and the tab closed at once; the
// second tab, waiting for the lock, takes over and must have the purchase.
async function closedRightAfterPurchase(url, round) {
  const context = await browser.createBrowserContext();
  try {
    const first = await inShop(url, { page: await context.newPage() });
    assert.deepEqual((await state(first)).notes, [], 'nothing to say while the save lands');
    const second = await open(context, url);
    await second.waitForFunction(() => !document.getElementById('message').hidden, { polling: 100 });
    await first.bringToFront();
    await frames(first, 5);
    // Every transaction the page begins, in order.
    await first.evaluate(() => {
      window.begun = [];
      const begin = IDBDatabase.prototype.transaction;
      IDBDatabase.prototype.transaction = function (...args) {
        window.begun.push(args[1] || 'readonly');
        return begin.apply(this, args);
      };
    });
    const p = await spotOnPage(first, Spot.lifeIcon);
    await first.mouse.click(p.x, p.y);
    const begun = await first.evaluate(() => {
      window.doviFrames(2, 1000 / 60);
      return window.begun;
    });
    await first.close();
    assert.deepEqual(begun, ['readwrite'], `round ${round}: one write begun within the frame of the commit`);
    await play(second);
    const s = await until(second, inScene('TitleScene'));
    assert.deepEqual([s.coins, s.lifeLevel], [400, 1], `round ${round}: the tab taking over has the purchase`);
  } finally {
    await context.close();
  }
}

test('the commit goes out in the frame that makes it; a tab closed right after keeps it, every time', () => withServer(async (url) => {
  for (let round = 1; round <= 10; round++) await closedRightAfterPurchase(url, round);
}));

test('a write landing late never takes the place of a newer one', () => withServer(async (url, blank) => {
  const page = await inShop(url, { page: blank });
  // The life's write is held back, as if still on its way from a tab closing, and lands only
  // after the write of the purchase that follows.
  await page.evaluate(() => {
    window.held = [];
    window.holding = true;
    const store = IDBObjectStore.prototype;
    for (const name of ['add', 'put', 'delete', 'getAllKeys']) {
      const real = store[name];
      store[name] = function (...args) {
        if (!window.holding) return real.apply(this, args);
        const request = {};
        window.held.push({ name, args, request });
        return request;
      };
      store[name].real = real;
    }
  });
  const sinceLife = await copies(page);
  await buyLife(page);
  await landed(page, sinceLife);
  await page.evaluate(() => { window.holding = false; });
  const since = await copies(page);
  const p = await spotOnPage(page, [418.56, 812.16]);
  await page.mouse.click(p.x, p.y);
  await frames(page, 2);
  const bought = await state(page);
  assert.equal(bought.timeLevel, 1, 'a longer timer bought');
  await landed(page, since);
  // Sent over a connection of its own, as another tab's would be.
  await page.evaluate(() => new Promise((done, failed) => {
    const request = indexedDB.open('/home/web_user/.local/share');
    request.onerror = () => failed(request.error);
    request.onsuccess = () => {
      const tx = request.result.transaction(['FILE_DATA'], 'readwrite');
      for (const { name, args } of window.held) IDBObjectStore.prototype[name].real.apply(tx.objectStore('FILE_DATA'), args);
      tx.onerror = (e) => e.preventDefault();
      tx.oncomplete = tx.onabort = () => {
        request.result.close();
        done();
      };
    };
  }));
  assert.ok(await page.evaluate(() => window.held.length) > 0, 'a write was held back');
  await page.reload();
  await play(page);
  const s = await until(page, inScene('TitleScene'));
  assert.deepEqual([s.coins, s.lifeLevel, s.timeLevel], [bought.coins, 1, 1], 'the newer purchase kept');
}));

test('a tab whose save was overtaken from elsewhere saves no more, and says so', () => withServer(async (url, blank) => {
  const page = await inShop(url, { page: blank });
  await buyLife(page);
  await landed(page, 0);
  // A newer generation lands from elsewhere, as a closing tab's late write would after this tab
  // read its copy: the newest record there, again, five generations on.
  await page.evaluate(() => new Promise((done, failed) => {
    const request = indexedDB.open('/home/web_user/.local/share');
    request.onerror = () => failed(request.error);
    request.onsuccess = () => {
      const tx = request.result.transaction(['FILE_DATA'], 'readwrite');
      const records = tx.objectStore('FILE_DATA');
      records.openCursor(null, 'prev').onsuccess = (e) => {
        const generation = e.target.result.value.generation + 5;
        records.add({ ...e.target.result.value, generation }, 'save:' + String(generation).padStart(16, '0'));
      };
      tx.oncomplete = () => {
        request.result.close();
        done();
      };
      tx.onabort = () => failed(tx.error);
    };
  }));
  const p = await spotOnPage(page, [418.56, 812.16]);
  await page.mouse.click(p.x, p.y);
  await until(page, (st) => st.timeLevel === 1 && st.notes.includes('Progress not saved'), { per: 5 });
  assert.equal(await page.evaluate(() => Module.doviStore.stale), true);
  await page.reload();
  await play(page);
  const s = await until(page, inScene('TitleScene'));
  assert.deepEqual([s.coins, s.lifeLevel, s.timeLevel], [400, 1, 0], 'the newer generation is the one read');
}));
