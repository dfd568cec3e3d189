// The page around the game: embedded in another site's page, on phones and small windows, with
// keys and a pad the browser shows late, and a download that fails.
import assert from 'node:assert/strict';
import http from 'node:http';
import { after, before, test } from 'node:test';
import {
  Spot, frames, inScene, key, launch, needBrowser, open, play, pointers, restLoaded, savedGame, serve, shown,
  state, until,
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

// The picture's rectangle on the page, and the page's own button's.
function rectangles(page) {
  return page.evaluate(() => {
    const c = document.getElementById('canvas').getBoundingClientRect();
    const scale = Math.min(c.width / 1920, c.height / 1080);
    const w = 1920 * scale;
    const h = 1080 * scale;
    const picture = { left: c.left + (c.width - w) / 2, top: c.top + (c.height - h) / 2, w, h };
    const b = document.getElementById('fullscreen');
    const button = b.hidden ? null : b.getBoundingClientRect();
    const canvas = document.getElementById('canvas');
    return { picture, button: button && { left: button.left, top: button.top, w: button.width, h: button.height },
      view: [innerWidth, innerHeight], shape: [canvas.width / canvas.height, c.width / c.height] };
  });
}

function overlaps(a, b) {
  return a.left < b.left + b.w && b.left < a.left + a.w && a.top < b.top + b.h && b.top < a.top + a.h;
}

test('embedded in another site, a click on the game after one beside it plays on', async () => {
  // Another origin's page holding the game in a frame, with room around it to click.
  const outer = http.createServer((req, res) => res.writeHead(200, { 'Content-Type': 'text/html' }).end(
    `<body style="margin:0;background:#345"><iframe src="${server.url}" width="960" height="540"
     style="position:absolute;left:100px;top:100px;border:0" allow="fullscreen"></iframe></body>`));
  await new Promise((ok) => outer.listen(0, '127.0.0.1', ok));
  const page = await browser.newPage();
  try {
    await page.setViewport({ width: 1200, height: 800 });
    await page.goto(`http://localhost:${outer.address().port}/`);
    let frame;
    for (let i = 0; i < 600 && !frame; i++) {
      frame = page.frames().find((f) => f.url().startsWith(server.url));
      if (!frame) await new Promise((ok) => setTimeout(ok, 100));
    }
    assert.ok(frame, 'the game\'s frame');
    await shown(frame, '#play');
    await frame.click('#play');
    await frame.waitForFunction(() => window.Module && Module._dovi_state, { polling: 100 });
    await restLoaded(frame);
    const notes = () => frame.evaluate(() => JSON.parse(Module.UTF8ToString(Module._dovi_state())).notes);
    await frame.waitForFunction(() => JSON.parse(Module.UTF8ToString(Module._dovi_state())).scene === 'TitleScene',
      { polling: 100 });
    // A click on the page around the game: the game pauses.
    await page.mouse.click(30, 30);
    await frame.waitForFunction(() => JSON.parse(Module.UTF8ToString(Module._dovi_state())).notes.includes('Paused'),
      { polling: 100, timeout: 30000 });
    // A click on the game: it takes the focus back and plays on.
    await page.mouse.click(100 + 480, 100 + 270);
    try {
      await frame.waitForFunction(() => !JSON.parse(Module.UTF8ToString(Module._dovi_state())).notes.includes('Paused'),
        { polling: 100, timeout: 30000 });
    } catch {
      assert.fail('still paused after a click on the game: ' + JSON.stringify(await notes()));
    }
  } finally {
    await page.close();
    outer.close();
  }
});

test('the page\'s button lies beside the picture and the picture keeps its shape, at every size', async () => {
  // Windows, then phones held sideways at three pixels a point (16:9 and a longer one); a phone's
  // page is opened as one, since the browser reloads a page that becomes one.
  const kinds = [
    { phone: false, sizes: [[1280, 720], [1920, 1080], [960, 540], [800, 600], [420, 300], [400, 700]] },
    { phone: true, sizes: [[640, 360], [844, 390], [740, 360]] },
  ];
  for (const { phone, sizes } of kinds) {
    const page = await open(browser, server.url, { width: sizes[0][0], height: sizes[0][1], phone });
    try {
      await play(page);
      for (const [width, height] of sizes) {
        await page.setViewport({ width, height, hasTouch: phone, isMobile: phone, deviceScaleFactor: phone ? 3 : 1 });
        // The page and the game follow the new size within a few frames.
        let r;
        let fault = 'not looked';
        for (let tries = 0; tries < 300 && fault; tries++) {
          await frames(page, 1);
          r = await rectangles(page);
          fault = layoutFault(r, width, height);
        }
        assert.equal(fault, '', `${width}x${height}: ${JSON.stringify(r)}`);
      }
    } finally {
      await page.close();
    }
  }
});

// What is wrong with the page's layout, or nothing.
function layoutFault(r, width, height) {
  if (r.view[0] !== width || r.view[1] !== height) return 'the page has not its new size yet';
  if (!r.button) return 'no fullscreen button';
  if (overlaps(r.button, r.picture)) return 'the button over the picture';
  if (r.button.left < 0 || r.button.top < 0 || r.button.left + r.button.w > width || r.button.top + r.button.h > height)
    return 'the button off the page';
  if (Math.abs(r.shape[0] / r.shape[1] - 1) > 0.02) return 'the picture stretched';
  if (r.picture.w < 0.9 * Math.min(width, (height * 16) / 9)) return 'the picture shrunk too far';
  return '';
}

test('a phone turned upright stops the round until it is turned back', async () => {
  const sideways = { width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
  const page = await open(browser, server.url, { width: 844, height: 390, phone: true });
  try {
    await play(page, { store: savedGame({ coins: 0, timeLevels: 0 }) });
    await restLoaded(page);
    await until(page, inScene('TitleScene'));
    await pointers.touch(page, Spot.centre);
    await until(page, inScene('UpgradeScene'), quick);
    await pointers.touch(page, Spot.start);
    await until(page, inScene('EventScene'), quick);
    await pointers.touch(page, Spot.centre);
    const running = await until(page, (s) => s.scene === 'GameScene' && s.timer > 0 && !s.over, quick);
    await page.setViewport({ ...sideways, width: 390, height: 844 });
    await page.waitForFunction(() => getComputedStyle(document.getElementById('turn')).display !== 'none', { polling: 100 });
    await frames(page, 5 * 60);
    const upright = await state(page);
    assert.ok(upright.timer >= running.timer - 1 && !upright.over, `the round ran on: ${running.timer} -> ${upright.timer} s`);
    await page.setViewport(sideways);
    await page.waitForFunction(() => getComputedStyle(document.getElementById('turn')).display === 'none', { polling: 100 });
    await frames(page, 2 * 60);
    assert.equal((await state(page)).timer, upright.timer - 2, 'the round goes on once turned back');
  } finally {
    await page.close();
  }
});

test('keys shown are keys that work here, and a pad\'s first flick counts', async () => {
  const page = await open(browser, server.url);
  try {
    await play(page, { store: savedGame({ coins: 500, timeLevels: 3 }) });
    await restLoaded(page);
    await until(page, inScene('TitleScene'));
    await key(page, 'Space');
    let s = await until(page, inScene('UpgradeScene'), quick);
    await frames(page, 30);
    s = await state(page);
    assert.ok(s.badges.goTitle && s.badges.goTitle !== 'Esc', 'the shop\'s TITLE badge: ' + JSON.stringify(s.badges));
    await key(page, 'Enter');
    await until(page, inScene('EventScene'), quick);
    await key(page, 'Space');
    s = await until(page, (st) => st.scene === 'GameScene' && st.ring && new Set(st.ring).size === 6, quick);
    await frames(page, 30);
    s = await state(page);
    assert.ok(s.badges.pause && s.badges.pause !== 'Esc', 'the pause badge: ' + JSON.stringify(s.badges));

    // A pad the browser shows only once its stick is pushed: that push enters the ring button.
    const entered = s.entered;
    await page.evaluate(() => {
      window.doviPad.axis(0, 0.95);
      window.doviPad.plug();
    });
    await frames(page, 3);
    await page.evaluate(() => window.doviPad.axis(0, 0));
    await frames(page, 3);
    assert.equal((await state(page)).entered, entered + 1, 'the first flick entered a ring button');
  } finally {
    await page.close();
  }
});

test('a failed download says so on a backing of its own until Try again is pressed', async () => {
  const page = await browser.newPage();
  let refuse = true;
  await page.setRequestInterception(true);
  page.on('request', (r) => (refuse && r.url().endsWith('rest.data') ? r.abort() : r.continue()));
  await open(browser, server.url, { page });
  try {
    await play(page);
    await shown(page, '#retry');
    await frames(page, 5);
    await pointers.mouse(page, Spot.centre);
    const m = await page.$eval('#message', (e) => ({ hidden: e.hidden, text: e.textContent, back: getComputedStyle(e).backgroundColor }));
    assert.equal(m.hidden, false, 'the sentence stays after a tap');
    assert.match(m.text, /could not be downloaded/);
    assert.notEqual(m.back, 'rgba(0, 0, 0, 0)', 'the sentence has a backing');
    refuse = false;
    await page.click('#retry');
    await restLoaded(page);
  } finally {
    await page.close();
  }
});
