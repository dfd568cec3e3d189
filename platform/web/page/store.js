// Runs inside the program's script, before pre.js: the store's folder kept in IndexedDB. Each
// commit's files go out together as one record in one small transaction started in the same
// frame, so a tab closed a moment later has handed its last commit over, and a tab taking over
// reads it: IndexedDB runs a read after every write begun before it, and shows it a write whole
// or not at all.
//
// Every write carries a generation, one more than the newest this tab has read or written, as
// its key ("save:" and the number), and removes the older ones in the same transaction. A tab
// reads the newest generation, so a write that is not the newest (a late write from a closing
// tab, or one from a tab that took over from a copy older than what then landed) never takes
// the place of a newer one. It cannot be refused before it lands (the check would need an
// answer back in the page, which a closing tab cannot wait for), but the writer learns of it in
// the same transaction and writes no more: its progress is not saved, and it says so.
// Saves of earlier builds (a record per file under its path, as emscripten's IDBFS kept them)
// are read when there is no generation yet, and removed by the first write.
/* global Module, FS */

(function () {
  var ROOT = '/home/web_user/.local/share';
  var FILES = 'FILE_DATA';
  // The generations' keys: "save:" and the number, padded so that keys sort as numbers do.
  var SAVES = 'save:';
  var SAVES_END = 'save;';
  function saveKey(generation) {
    return SAVES + String(generation).padStart(16, '0');
  }
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
    // The generation this tab read or last wrote; a newer one from elsewhere makes it stale.
    generation: 0,
    stale: false,
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

  // Reads the folder in, the newest generation (or an earlier build's records); `done(kept)`.
  store.read = function (done) {
    FS.mkdirTree(ROOT);
    open(function (err, connection) {
      if (err) {
        console.warn('the browser keeps no save for this page:', err);
        done(false);
        return;
      }
      db = connection;
      var newest = null;
      var earlier = [];
      var tx = connection.transaction([FILES], 'readonly');
      tx.objectStore(FILES).openCursor().onsuccess = function (e) {
        var cursor = e.target.result;
        if (!cursor) return;
        var key = String(cursor.key);
        // In key order: the last generation seen is the newest.
        if (key.indexOf(SAVES) === 0) newest = cursor.value;
        else if (key === ROOT || key.indexOf(ROOT + '/') === 0) earlier.push({ path: key, mode: cursor.value.mode, contents: cursor.value.contents });
        cursor.continue();
      };
      tx.oncomplete = function () {
        (newest ? newest.files : earlier).forEach(function (file) {
          if (FS.isDir(file.mode)) {
            FS.mkdirTree(file.path);
            return;
          }
          FS.mkdirTree(file.path.substring(0, file.path.lastIndexOf('/')));
          FS.writeFile(file.path, file.contents, { canOwn: false });
          sent[file.path] = new Uint8Array(file.contents);
        });
        store.generation = newest ? newest.generation : 0;
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

  function turnedStale() {
    if (store.stale) return;
    console.warn('a newer save than this tab\'s is in the browser; this tab saves no more');
    store.stale = true;
  }

  // After each commit and when the page goes away: if anything changed since the last write,
  // the whole folder goes out now as the next generation, in one transaction; nothing waits for
  // an earlier one (IndexedDB keeps their order).
  store.copy = function () {
    if (!store.kept || !db || store.stale) return;
    var commitAt = performance.now();
    var files = localFiles();
    var paths = Object.keys(files);
    var changed = paths.some(function (p) { return !sameBytes(files[p].contents, sent[p]); }) ||
      Object.keys(sent).some(function (p) { return !files[p]; });
    if (!changed) return;
    var tx;
    try {
      tx = db.transaction([FILES], 'readwrite', { durability: 'strict' });
    } catch (e) {
      failed(e);
      return;
    }
    var records = tx.objectStore(FILES);
    var generation = ++store.generation;
    var key = saveKey(generation);
    // Added, never put: a generation already there (another tab's) refuses this write whole.
    records.add({
      timestamp: new Date(), generation: generation,
      files: paths.map(function (p) { return { path: p, mode: files[p].mode, contents: files[p].contents }; }),
    }, key).onerror = function (e) {
      if (e.target.error && e.target.error.name === 'ConstraintError') turnedStale();
    };
    records.delete(IDBKeyRange.bound(SAVES, key, false, true));
    records.delete(IDBKeyRange.bound(ROOT, ROOT + '/\uffff'));
    // A newer generation already there: this write will never be read, nor any later one.
    records.getAllKeys(IDBKeyRange.bound(key, SAVES_END, true, true), 1).onsuccess = function (e) {
      if (e.target.result.length) turnedStale();
    };
    sent = {};
    paths.forEach(function (p) { sent[p] = files[p].contents; });
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
      if (connection === db && !store.stale) failed(tx.error || new Error('the write was abandoned'));
    };
    // Sent now, not when this script's turn ends: the tab may be gone by then.
    if (tx.commit) tx.commit();
  };

  // What the engine asks each frame.
  store.trouble = function () {
    return store.failing || store.windowOnly || store.stale;
  };
})();
