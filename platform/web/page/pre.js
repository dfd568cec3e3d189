// Runs inside the program's script, before the engine starts. The engine starts only once
// this tab holds the save's lock, the save has been read from the browser's storage, the
// title's files are written, and the player has pressed Play (page.js shows the button).
/* global Module, FS, addRunDependency, removeRunDependency, runtimeInitialized */

(function () {
  var page = Module.doviPage || {};
  var store = Module.doviStore;

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
    // Refused (a private window, no space): the game plays on and says progress is not saved.
    store.read(function () {
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
      // Held for as long as the page lives: the browser lets it go once the page is gone, and a
      // page going away cannot wait for its writes. Each was sent whole in the frame of its
      // commit, so all have begun by then; IndexedDB runs the next tab's read after them and
      // shows it only writes that completed. Should one land after that read all the same, its
      // generation keeps it from replacing what the next tab writes (store.js).
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
  // The later files, written whenever they arrive; a game already running is told, so that
  // music it asked for meanwhile starts.
  Module.doviWriteFiles = function (pack) {
    writeFiles(pack);
    if (runtimeInitialized) Module._dovi_files_arrived();
  };

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
