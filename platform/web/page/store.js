// Runs inside the program's script, before pre.js: the store's folder kept in IndexedDB, one
// record per file under its path, as emscripten's IDBFS keeps it (saves of earlier builds read
// as before). Each commit's files go out in one small transaction started in the same frame, so
// a tab closed a moment later has handed its last commit over, and a tab taking over reads it:
// IndexedDB runs a read after every write begun before it.
/* global Module, FS */

(function () {
  var ROOT = '/home/web_user/.local/share';
  var FILES = 'FILE_DATA';
  // Soon enough that space freed is used within moments, seldom enough to cost nothing meanwhile.
  var RETRY_MS = 2000;
  // A browser that neither promises to keep the save nor gives it room is keeping it for this
  // window only (private windows say so this way where the browser lets the page know).
  var PRIVATE_QUOTA = 128 * 1024 * 1024;

  var db = null;
  // What each path last went out as (landed or on its way); cleared when a write fails or the
  // storage is opened afresh, so that everything is written again.
  var sent = {};
  var inFlight = 0;
  var retry = 0;

  var store = {
    // The browser keeps a save for this page at all.
    kept: false,
    // A write failed and nothing has landed since: the engine shows "Progress not saved".
    failing: false,
    // Kept only as long as this window (a private window).
    windowOnly: false,
    // Writes landed, and whether one is still on its way (for tests).
    copies: 0,
    copying: false,
    // Times the storage was opened again after it closed under the game.
    reopened: 0,
    // Milliseconds from a commit to its transaction's start and to its landing, the last ones.
    timings: [],
  };
  Module.doviStore = store;

  function sameBytes(a, b) {
    if (!a || !b || a.length !== b.length) return false;
    for (var i = 0; i < a.length; i++) if (a[i] !== b[i]) return false;
    return true;
  }

  // The folder's files as they are now. The WAL's index is rebuilt from the WAL on opening.
  function localFiles() {
    var files = {};
    (function walk(dir) {
      FS.readdir(dir).forEach(function (name) {
        if (name === '.' || name === '..') return;
        var path = dir + '/' + name;
        var mode = FS.stat(path).mode;
        if (FS.isDir(mode)) walk(path);
        else if (!/-shm$/.test(name)) files[path] = { mode: mode, contents: FS.readFile(path) };
      });
    })(ROOT);
    return files;
  }

  function open(done) {
    var request;
    try {
      request = indexedDB.open(ROOT, 21);
    } catch (e) {
      done(e);
      return;
    }
    request.onupgradeneeded = function () {
      var files = request.result.objectStoreNames.contains(FILES)
        ? request.transaction.objectStore(FILES) : request.result.createObjectStore(FILES);
      if (!files.indexNames.contains('timestamp')) files.createIndex('timestamp', 'timestamp', { unique: false });
    };
    request.onsuccess = function () {
      var connection = request.result;
      // Site data cleared, or the database deleted or upgraded elsewhere: let go, open it
      // afresh and write everything the game holds into it.
      connection.onversionchange = function () { lost(connection, 'the storage is being replaced'); };
      connection.onclose = function () { lost(connection, 'the storage was closed'); };
      done(null, connection);
    };
    request.onerror = function (e) {
      e.preventDefault();
      done(request.error);
    };
  }

  function lost(connection, why) {
    if (connection !== db) return;
    console.warn(why + '; saving everything again');
    connection.close();
    db = null;
    reopen(0);
  }

  function reopen(delay) {
    clearTimeout(retry);
    retry = setTimeout(function () {
      open(function (err, connection) {
        if (err) {
          failed(err);
          return;
        }
        db = connection;
        store.reopened++;
        sent = {};
        store.copy();
      });
    }, delay);
  }

  function failed(err) {
    console.warn('could not copy the save into the browser; trying again:', err);
    store.failing = true;
    sent = {};
    if (db) db.close();
    db = null;
    reopen(RETRY_MS);
  }

  // Reads the folder in; `done(kept)`.
  store.read = function (done) {
    FS.mkdirTree(ROOT);
    open(function (err, connection) {
      if (err) {
        console.warn('the browser keeps no save for this page:', err);
        done(false);
        return;
      }
      db = connection;
      var tx = connection.transaction([FILES], 'readonly');
      tx.objectStore(FILES).openCursor().onsuccess = function (e) {
        var cursor = e.target.result;
        if (!cursor) return;
        var path = String(cursor.key);
        var entry = cursor.value;
        if (FS.isDir(entry.mode)) {
          FS.mkdirTree(path);
        } else if (path.indexOf(ROOT + '/') === 0) {
          FS.mkdirTree(path.substring(0, path.lastIndexOf('/')));
          FS.writeFile(path, entry.contents, { canOwn: false });
          sent[path] = new Uint8Array(entry.contents);
        }
        cursor.continue();
      };
      tx.oncomplete = function () {
        store.kept = true;
        watchPrivacy();
        done(true);
      };
      tx.onabort = function () {
        console.warn('could not read the save from the browser:', tx.error);
        done(false);
      };
    });
  };

  function watchPrivacy() {
    var s = navigator.storage;
    if (!s || !s.persisted || !s.estimate) return;
    Promise.all([s.persisted(), s.estimate()]).then(function (r) {
      store.windowOnly = !r[0] && typeof r[1].quota === 'number' && r[1].quota < PRIVATE_QUOTA;
    }).catch(function () {});
  }

  // After each commit and when the page goes away: what changed since the last write goes out
  // now, in one transaction; nothing waits for an earlier one (IndexedDB keeps their order).
  store.copy = function () {
    if (!store.kept || !db) return;
    var commitAt = performance.now();
    var files = localFiles();
    var changed = Object.keys(files).filter(function (p) { return !sameBytes(files[p].contents, sent[p]); });
    var gone = Object.keys(sent).filter(function (p) { return !files[p]; });
    if (!changed.length && !gone.length) return;
    var tx;
    try {
      tx = db.transaction([FILES], 'readwrite', { durability: 'strict' });
    } catch (e) {
      failed(e);
      return;
    }
    var records = tx.objectStore(FILES);
    var now = new Date();
    changed.forEach(function (p) {
      records.put({ timestamp: now, mode: files[p].mode, contents: files[p].contents }, p);
      sent[p] = files[p].contents;
    });
    gone.forEach(function (p) {
      records.delete(p);
      delete sent[p];
    });
    var timing = { started: performance.now() - commitAt, landed: -1 };
    inFlight++;
    store.copying = true;
    var connection = db;
    tx.oncomplete = function () {
      inFlight--;
      store.copying = inFlight > 0;
      store.copies++;
      if (connection === db) store.failing = false;
      timing.landed = performance.now() - commitAt;
      store.timings = store.timings.concat([timing]).slice(-20);
    };
    tx.onabort = function () {
      inFlight--;
      store.copying = inFlight > 0;
      if (connection === db) failed(tx.error || new Error('the write was abandoned'));
    };
    // Sent now, not when this script's turn ends: the tab may be gone by then.
    if (tx.commit) tx.commit();
  };

  // What the engine asks each frame.
  store.trouble = function () {
    return store.failing || store.windowOnly;
  };
})();
