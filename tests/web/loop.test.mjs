// The whole loop in the browser, once for each way to play: title, shop with a purchase,
// cut-scene, a round with a wrong entry taken back and a stage solved on the ring, the result,
// a retry, the shop again; then the purchase is still there after a reload.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import {
  Pad, Spot, copied, frames, inScene, key, launch, needBrowser, open, padPress, play, pointers, restLoaded, ringIndexOf,
  ringKeys, savedGame, serve, state, until,
} from '../../harness/web/web_fixture.mjs';

await needBrowser();

function pointerPlayer(press) {
  return {
    play: (page) => page.click('#play'),
    anywhere: (page) => press(page, Spot.centre),
    buyLife: (page) => press(page, Spot.lifeIcon),
    start: (page) => press(page, Spot.start),
    ring: (page, i) => press(page, Spot.ring[i]),
    back: (page) => press(page, Spot.back),
    retry: (page) => press(page, Spot.retry),
    goShop: (page) => press(page, Spot.goShop),
  };
}

// The D-pad toward ring button i: left and right, and the four diagonals (two arrows at once).
const dpadToward = [[Pad.dpleft, Pad.dpup], [Pad.dpright, Pad.dpup], [Pad.dpright], [Pad.dpright, Pad.dpdown],
  [Pad.dpleft, Pad.dpdown], [Pad.dpleft]];

const players = {
  mouse: pointerPlayer(pointers.mouse),
  touch: pointerPlayer(pointers.touch),
  keyboard: {
    // Play has the focus once it shows: Enter presses it.
    play: (page) => page.keyboard.press('Enter'),
    anywhere: (page) => key(page, 'Space'),
    buyLife: (page) => key(page, 'KeyL'),
    start: (page) => key(page, 'Enter'),
    ring: (page, i) => key(page, ringKeys[i]),
    back: (page) => key(page, 'Backspace'),
    retry: (page) => key(page, 'KeyR'),
    goShop: (page) => key(page, 'KeyS'),
  },
  gamepad: {
    // The page's own button is the browser's: a gamepad cannot press it.
    play: (page) => page.click('#play'),
    // Plugged in a moment before the first press, as a player would.
    async plug(page) {
      await page.evaluate(() => window.doviPad.plug());
      await frames(page, 5);
    },
    anywhere: (page) => padPress(page, Pad.a),
    buyLife: (page) => padPress(page, Pad.rightshoulder),
    start: (page) => padPress(page, Pad.start),
    ring: (page, i) => padPress(page, ...dpadToward[i]),
    back: (page) => padPress(page, Pad.b),
    retry: (page) => padPress(page, Pad.a),
    goShop: (page) => padPress(page, Pad.y),
  },
};

const quick = { hz: 20 };

// Waits out the round's timers; returns its score.
async function lose(page) {
  const s = await until(page, (st) => st.over, { ...quick, limit: 2400 });
  // The result panel's buttons are all shown 2.5 s after the loss.
  await frames(page, 3 * 20, 20);
  return s.score;
}

for (const [name, player] of Object.entries(players)) {
  test(`the whole loop by ${name}`, async () => {
    const server = await serve();
    const browser = await launch();
    try {
      const page = await open(browser, server.url, { touch: name === 'touch' });
      await play(page, { store: savedGame({ coins: 500 }), press: player.play });
      await restLoaded(page);
      if (player.plug) await player.plug(page);
      await until(page, inScene('TitleScene'));
      await player.anywhere(page);

      let s = await until(page, inScene('UpgradeScene'), quick);
      assert.deepEqual([s.coins, s.lifeLevel], [500, 0]);
      await player.buyLife(page);
      s = await state(page);
      assert.deepEqual([s.coins, s.lifeLevel], [400, 1], 'a life bought for 100 coins');

      await player.start(page);
      await until(page, inScene('EventScene'), quick);
      await player.anywhere(page);
      s = await until(page, (st) => st.scene === 'GameScene' && st.ring, quick);

      const wrong = await ringIndexOf(page, s.targets[0] === 1 ? 2 : 1);
      await player.ring(page, wrong);
      assert.equal((await state(page)).entered, 1);
      await player.back(page);
      assert.equal((await state(page)).entered, 0, 'the wrong entry taken back');
      for (const kind of s.targets) await player.ring(page, await ringIndexOf(page, kind));
      s = await until(page, (st) => st.stage === 2 || st.over, quick);
      assert.ok(s.stage === 2 && s.score >= 1, 'the stage solved: ' + JSON.stringify(s));

      const first = await lose(page);
      await player.retry(page);
      s = await until(page, (st) => st.scene === 'GameScene' && !st.over, quick);
      assert.deepEqual([s.stage, s.score], [1, 0], 'a new round');
      const second = await lose(page);
      await player.goShop(page);
      s = await until(page, inScene('UpgradeScene'), quick);
      const coins = 400 + first + second;
      assert.deepEqual([s.coins, s.lifeLevel], [coins, 1], 'both rounds banked their points');

      await copied(page);
      await page.reload();
      await play(page);
      s = await until(page, inScene('TitleScene'));
      assert.deepEqual([s.coins, s.lifeLevel], [coins, 1], 'the save kept across a reload');
    } finally {
      await browser.close();
      server.close();
    }
  });
}
