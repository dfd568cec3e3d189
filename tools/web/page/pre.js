// Runs inside the program's script, before the engine starts. The engine starts only once
// this tab holds the save's lock, the save has been read from the browser's storage, the
// title's files are written, and the player has pressed Play (page.js shows the button).
/* global Module, FS, IDBFS, addRunDependency, removeRunDependency */

(function () {
  // The folder the engine keeps its store in ($HOME/.local/share/...), kept in IndexedDB.
  var SAVE_ROOT = '/home/web_user/.local/share';
  var page = Module.doviPage || {};

  // The store: copied out after each commit and when the page goes away. A copy asked for
  // while one is under way runs again when it ends, so the last commit is always copied.
  var store = {
    kept: false,
    copying: false,
    again: false,
    copies: 0,
    copy: function () {
      if (!store.kept) return;
      if (store.copying) {
        store.again = true;
        return;
      }
      store.copying = true;
      FS.syncfs(false, function (err) {
        store.copying = false;
        if (err) console.warn('could not copy the save into the browser:', err);
        else store.copies++;
        if (store.again) {
          store.again = false;
          store.copy();
        }
      });
    },
  };
  Module.doviStore = store;

  var waiting = {};
  function wait(name) {
    waiting[name] = true;
    addRunDependency('dovi-' + name);
  }
  function done(name) {
    if (!waiting[name]) return;
    delete waiting[name];
    removeRunDependency('dovi-' + name);
    var left = Object.keys(waiting);
    if (left.length === 1 && left[0] === 'play' && page.readyToPlay) page.readyToPlay();
  }
  Module.doviPlay = function () {
    done('play');
  };

  function readSave() {
    FS.mkdirTree(SAVE_ROOT);
    try {
      FS.mount(IDBFS, {}, SAVE_ROOT);
    } catch (e) {
      console.warn('no storage for the save:', e);
      done('store');
      return;
    }
    FS.syncfs(true, function (err) {
      // Refused (a private window, no space): the game plays on and says progress is not saved.
      store.kept = !err;
      if (err) console.warn('the browser keeps no save for this page:', err);
      done('store');
    });
  }

  // One tab plays on one save: a second one waits, touching nothing, until the first is closed.
  function takeLock() {
    var locks = navigator.locks;
    if (!locks) {
      done('lock');
      readSave();
      return;
    }
    var holding = function () {
      if (page.otherTab) page.otherTab(false);
      done('lock');
      readSave();
      // Held for as long as the page lives.
      return new Promise(function () {});
    };
    locks.request('doviveduzuz-save', { ifAvailable: true }, function (lock) {
      if (lock) return holding();
      if (page.otherTab) page.otherTab(true);
      locks.request('doviveduzuz-save', holding);
      return undefined;
    });
  }

  function writeTitleFiles() {
    page.titleFiles.then(function (pack) {
      writeFiles(pack);
      done('title');
    });
  }

  function writeFiles(pack) {
    pack.files.forEach(function (file) {
      FS.mkdirTree(file.path.substring(0, file.path.lastIndexOf('/')));
      FS.writeFile(file.path, pack.bytes.subarray(file.start, file.end), { canOwn: true });
    });
  }
  // The rest of the files, written whenever they arrive (the engine reads them later).
  Module.doviWriteFiles = writeFiles;

  Module.preRun = Module.preRun || [];
  Module.preRun.push(function () {
    wait('lock');
    wait('store');
    wait('title');
    wait('play');
    writeTitleFiles();
    takeLock();
  });

  function copyOnLeaving() {
    store.copy();
  }
  window.addEventListener('pagehide', copyOnLeaving);
  document.addEventListener('visibilitychange', function () {
    if (document.visibilityState === 'hidden') copyOnLeaving();
  });
})();
