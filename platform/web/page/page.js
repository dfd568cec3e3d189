// The page around the game: checks the browser can run it, downloads the program and the
// title's files with a loading bar, shows Play (whose press lets the browser start sound),
// then loads the rest of the files behind the title. A press that would leave the title before
// the rest is in waits under the loading bar and is passed on once the files are there.
//
// For tests: Module._dovi_state() returns the game's state as JSON (see platform/web/README.md).
(function () {
  'use strict';

  var $ = function (id) { return document.getElementById(id); };
  var canvas = $('canvas');

  // The page's words in the player's language: the table words.js holds (made from the game's
  // .po files when the site is built), chosen as the game chooses, by "?lang=" or the
  // browser's languages; English where a language or a sentence is missing.
  var spoken = (function () {
    var table = window.doviWords || {};
    var asked = new URLSearchParams(location.search).get('lang');
    var wanted = (asked ? [asked] : []).concat(navigator.languages || [navigator.language || '']);
    for (var i = 0; i < wanted.length; i++) {
      var tag = String(wanted[i]).replace('-', '_');
      var language = tag.split('_')[0].toLowerCase();
      if (language === 'en') return 'en';
      var region = tag.split('_')[1];
      var exact = language + (region ? '_' + region.toUpperCase() : '');
      if (table[exact]) return exact;
      for (var code in table) if (code.split('_')[0] === language) return code;
    }
    return 'en';
  })();
  function tr(english) {
    var words = (window.doviWords || {})[spoken];
    return (words && words[english]) || english;
  }
  document.documentElement.lang = spoken.replace('_', '-');
  $('play').textContent = tr('Play');
  $('retry').textContent = tr('Try again');
  $('fullscreen').title = tr('Fullscreen');
  $('fullscreen').setAttribute('aria-label', tr('Fullscreen'));
  $('bar').setAttribute('aria-label', tr('Loading'));
  $('turn').firstElementChild.textContent = tr('Turn your phone sideways to play.');

  function say(text) {
    $('message').textContent = text;
    $('message').hidden = !text;
  }
  function plainSentence(text) {
    document.body.innerHTML = '';
    var p = document.createElement('p');
    p.className = 'plain';
    p.style.margin = '2em auto';
    p.textContent = text;
    document.body.appendChild(p);
  }

  // The browser must run WebAssembly and draw with WebGL; otherwise, a sentence, not a blank page.
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    plainSentence(tr('Doviveduzuz needs a browser that runs WebAssembly. Please open it in a current ' +
      'version of Chrome, Firefox, Safari or Edge.'));
    return;
  }
  var probe = document.createElement('canvas');
  if (!(probe.getContext('webgl2') || probe.getContext('webgl'))) {
    plainSentence(tr('Doviveduzuz needs WebGL to draw, and this browser has it turned off or does not ' +
      'support it. Please turn on hardware acceleration or open the game in another browser.'));
    return;
  }

  // No context menu on a long press or right click, nothing dragged out of the page.
  document.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  document.addEventListener('dragstart', function (e) { e.preventDefault(); });

  // Downloads, each with its share of the loading bar.
  var sizes = {};
  var received = {};
  var barOf = { fill: 0, total: 1 };
  function progress(name, bytes) {
    received[name] = bytes;
    var got = 0;
    var total = 0;
    barOf.names.forEach(function (n) {
      got += received[n] || 0;
      total += sizes[n] || 0;
    });
    var width = (total ? Math.min(100, (100 * got) / total) : 0) + '%';
    $('fill').style.width = width;
    $('behind-fill').style.width = width;
  }

  function download(name, onProgress) {
    return fetch(name, { cache: 'no-cache' }).then(function (response) {
      if (!response.ok) throw new Error(name + ': ' + response.status + ' ' + response.statusText);
      if (!response.body || !response.body.getReader) {
        return response.arrayBuffer().then(function (buffer) {
          onProgress(buffer.byteLength);
          return new Uint8Array(buffer);
        });
      }
      var reader = response.body.getReader();
      var chunks = [];
      var length = 0;
      function pump() {
        return reader.read().then(function (step) {
          if (step.done) {
            var bytes = new Uint8Array(length);
            var at = 0;
            chunks.forEach(function (c) { bytes.set(c, at); at += c.length; });
            return bytes;
          }
          chunks.push(step.value);
          length += step.value.length;
          onProgress(length);
          return pump();
        });
      }
      return pump();
    });
  }

  // A failed download says so and offers to try again (the same download, or the whole page).
  var failed = false;
  function failure(error, retry) {
    if (failed) return;
    failed = true;
    console.error(error);
    $('front').classList.remove('empty');
    say(tr('The game could not be downloaded (%s). Check the connection, then try again.')
      .replace('%s', error && error.message ? error.message : error));
    $('play').hidden = true;
    $('retry').hidden = false;
    $('retry').onclick = function () {
      failed = false;
      $('retry').hidden = true;
      say('');
      // The title's sounds fail while Play shows: Play stays what it was.
      $('play').hidden = !readyShown || started;
      retry();
    };
  }

  function withRetries(name, onProgress) {
    return new Promise(function (resolve) {
      function attempt() {
        download(name, onProgress).then(resolve, function (e) { failure(e, attempt); });
      }
      attempt();
    });
  }

  function pack(name) {
    return withRetries(name + '.json', function () {}).then(function (indexBytes) {
      var index = JSON.parse(new TextDecoder().decode(indexBytes));
      return withRetries(name + '.data', function (n) { progress(name + '.data', n); })
        .then(function (bytes) { return { files: index.files, bytes: bytes }; });
    });
  }

  // The title's sounds, once the page is ready to play: the title starts without them (its
  // music begins when they are in), and they do not slow what it needs first.
  var lateFiles = null;
  function loadLate() {
    lateFiles = lateFiles || pack('late').then(function (files) {
      Module.doviWriteFiles(files);
    });
    return lateFiles;
  }

  // The rest of the files: the scenes after the title.
  var restIn = false;
  var heldPress = false;
  function loadRest() {
    barOf.names = ['late.data', 'rest.data'];
    $('behind').hidden = false;
    loadLate().then(function () {
      return withRetries('rest.json', function () {});
    }).then(function (indexBytes) {
      var index = JSON.parse(new TextDecoder().decode(indexBytes));
      return withRetries('rest.data', function (n) { progress('rest.data', n); }).then(function (bytes) {
        Module.doviWriteFiles({ files: index.files, bytes: bytes });
      });
    }).then(function () {
      restIn = true;
      $('behind').hidden = true;
      hideGamepads(false);
      if (heldPress) {
        heldPress = false;
        $('bar').hidden = true;
        $('front').classList.add('empty');
        passOnTap();
      }
    });
  }

  // Until the rest is in, a press on the title (which would open the shop) waits here.
  var PRESSES = { mousedown: 1, touchstart: 1, pointerdown: 1, keydown: 1, gamepad: 1 };
  function holdPress(e) {
    if (restIn || !started) return;
    if (e.type.indexOf('key') === 0 && (e.key === 'F11' || e.key === 'Escape')) return;
    // The page's own buttons (fullscreen) are not presses for the game.
    if (e.target && e.target.closest && e.target.closest('button')) return;
    e.stopImmediatePropagation();
    if (e.cancelable) e.preventDefault();
    if (heldPress || !PRESSES[e.type]) return;
    heldPress = true;
    $('front').classList.remove('empty');
    // A failed download's sentence stays: it is what "Try again" answers.
    if (!failed) say('');
    $('bar').hidden = false;
  }
  // Embedded in another page, a press on the page around the game takes the focus, and the game
  // pauses. The game keeps its presses from the browser, so the browser would never give the
  // focus back: a press on the game takes it, and the game goes on.
  // (A finger's press lets the page take the focus only as it lifts.)
  function takeFocus(e) {
    if (e.target !== canvas || document.hasFocus()) return;
    window.focus();
    canvas.focus({ preventScroll: true });
  }
  window.addEventListener('pointerdown', takeFocus, { capture: true });
  window.addEventListener('pointerup', takeFocus, { capture: true });
  ['mousedown', 'mouseup', 'touchstart', 'touchend', 'pointerdown', 'keydown', 'keyup'].forEach(function (type) {
    window.addEventListener(type, holdPress, { capture: true, passive: false });
  });
  // The title takes a tap anywhere; the held press becomes one in the middle of the canvas.
  function passOnTap() {
    var r = canvas.getBoundingClientRect();
    var at = { clientX: r.left + r.width / 2, clientY: r.top + r.height / 2, bubbles: true, button: 0 };
    canvas.dispatchEvent(new MouseEvent('mousedown', at));
    canvas.dispatchEvent(new MouseEvent('mouseup', at));
  }
  // Gamepads stay out of sight until then: their presses cannot be held back.
  var realGamepads = navigator.getGamepads ? navigator.getGamepads.bind(navigator) : null;
  function hideGamepads(hide) {
    if (!realGamepads) return;
    navigator.getGamepads = hide ? function () { return []; } : realGamepads;
  }
  function watchGamepadsWhileLoading() {
    if (restIn || !realGamepads) return;
    var pads = realGamepads();
    for (var i = 0; pads && i < pads.length; i++) {
      var pad = pads[i];
      if (pad && pad.buttons.some(function (b) { return b.pressed; })) {
        holdPress({ type: 'gamepad', stopImmediatePropagation: function () {} });
      }
    }
    requestAnimationFrame(watchGamepadsWhileLoading);
  }

  // A browser shows a pad to the page only once it is used, and the press or stick flick that
  // woke it comes in the event that announces it, where the game would take it for the pad at
  // rest. Announced at rest, the pad's first use is seen as a press like any other.
  window.addEventListener('gamepadconnected', function (e) {
    var pad = e.gamepad;
    if (e.doviAtRest || !pad) return;
    e.stopImmediatePropagation();
    var rest = new Event('gamepadconnected');
    rest.doviAtRest = true;
    Object.defineProperty(rest, 'gamepad', { value: {
      id: pad.id, index: pad.index, connected: pad.connected, mapping: pad.mapping, timestamp: 0,
      axes: Array.prototype.map.call(pad.axes, function () { return 0; }),
      buttons: Array.prototype.map.call(pad.buttons, function () { return { pressed: false, touched: false, value: 0 }; }),
    } });
    window.dispatchEvent(rest);
  }, { capture: true });

  // The browser keeps Escape (leaving fullscreen) and F11 (fullscreen) for itself: neither
  // reaches the game.
  window.addEventListener('keydown', function (e) {
    if (e.key === 'Escape' || e.key === 'F11') e.stopImmediatePropagation();
  }, { capture: true });
  window.addEventListener('keyup', function (e) {
    if (e.key === 'Escape' || e.key === 'F11') e.stopImmediatePropagation();
  }, { capture: true });

  // Fullscreen through the page's own button.
  var root = document.documentElement;
  var fullscreenButton = $('fullscreen');
  function showFullscreenButton() {
    fullscreenButton.hidden = !started || !root.requestFullscreen || !!document.fullscreenElement;
    place();
  }

  // The page's button lies beside the game's picture, never over it: in the bars the picture
  // leaves where they are wide enough, otherwise in a strip the canvas leaves free (on the right
  // of a wide page, at the top of a tall one). The game letterboxes its 16:9 picture in the canvas.
  var STRIP = 56;
  var placed = '';
  function place() {
    var w = window.innerWidth;
    var h = window.innerHeight;
    var strip = fullscreenButton.hidden ? 0 : STRIP;
    var wide = w * 9 >= h * 16;
    var bar = wide ? (w - (h * 16) / 9) / 2 : (h - (w * 9) / 16) / 2;
    var room = bar >= strip ? 0 : strip;
    var box = wide ? [0, 0, w - room, h] : [0, room, w, h - room];
    var key = box.join(' ') + ' ' + wide;
    if (key === placed) return;
    placed = key;
    canvas.style.left = box[0] + 'px';
    canvas.style.top = box[1] + 'px';
    canvas.style.width = box[2] + 'px';
    canvas.style.height = box[3] + 'px';
    var gap = (STRIP - 44) / 2;
    fullscreenButton.style.top = (wide ? gap : Math.max(gap, (bar >= strip ? bar : strip) / 2 - 22)) + 'px';
    fullscreenButton.style.right = (wide ? Math.max(gap, (bar >= strip ? bar : strip) / 2 - 22) : gap) + 'px';
    // The game reads the canvas's size when the window's changes.
    if (started) window.dispatchEvent(new Event('resize'));
  }
  window.addEventListener('resize', place);
  place();

  // A phone held upright is asked to be turned; the game stands still behind the notice.
  var upright = window.matchMedia('(orientation: portrait) and (pointer: coarse)');
  function turnNotice() {
    $('turn').hidden = !upright.matches;
  }
  if (upright.addEventListener) upright.addEventListener('change', turnNotice);
  turnNotice();
  fullscreenButton.onclick = function () {
    if (root.requestFullscreen) root.requestFullscreen().catch(function () {});
    canvas.focus();
  };
  document.addEventListener('fullscreenchange', showFullscreenButton);

  var started = false;
  var readyShown = false;
  function play() {
    $('play').hidden = true;
    $('front').classList.add('empty');
    // Asked for on a press: some browsers ask the player, and only after one.
    if (navigator.storage && navigator.storage.persist) navigator.storage.persist().catch(function () {});
    started = true;
    showFullscreenButton();
    canvas.focus();
    hideGamepads(true);
    watchGamepadsWhileLoading();
    Module.doviPlay();
    loadRest();
  }
  $('play').onclick = play;

  var page = {
    titleFiles: null,
    // Asked by the game each frame: nothing of it can be seen.
    covered: function () {
      return upright.matches;
    },
    readyToPlay: function () {
      if (failed) return;
      $('bar').hidden = true;
      say('');
      $('play').hidden = false;
      readyShown = true;
      $('play').focus();
      // In a task of its own: nothing of it is begun before the page shows it is ready.
      setTimeout(loadLate);
    },
    otherTab: function (waiting) {
      say(waiting ? tr('Doviveduzuz is already open in another tab. Close that tab and the game ' +
        'carries on here, with the same progress.') : '');
      $('bar').hidden = waiting;
    },
  };

  window.Module = {
    canvas: canvas,
    doviPage: page,
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); },
    onAbort: function (what) {
      failure(new Error('the game stopped: ' + what), function () { location.reload(); });
    },
    // The program's download goes through the loading bar too.
    instantiateWasm: function (imports, receive) {
      withRetries('doviveduzuz.wasm', function (n) { progress('doviveduzuz.wasm', n); })
        .then(function (bytes) { return WebAssembly.instantiate(bytes, imports); })
        .then(function (result) { receive(result.instance, result.module); })
        .catch(function (e) { failure(e, function () { location.reload(); }); });
      return {};
    },
  };

  $('bar').hidden = false;
  download('site.json', function () {}).then(function (bytes) {
    sizes = JSON.parse(new TextDecoder().decode(bytes));
  }).catch(function () {}).then(function () {
    barOf.names = ['doviveduzuz.wasm', 'title.data'];
    page.titleFiles = pack('title');
    var script = document.createElement('script');
    script.src = 'doviveduzuz.js';
    script.onerror = function () {
      failure(new Error('doviveduzuz.js did not load'), function () { location.reload(); });
    };
    document.body.appendChild(script);
  });
})();
