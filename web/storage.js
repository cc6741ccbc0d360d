// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's home folder, where the record folder lies, is kept in the
// browser's IndexedDB: mounted and loaded before the program starts, so that
// the game finds the record of the last visit as it finds a file on disk.
Module['preRun'] = [].concat(Module['preRun'] || [], function () {
    var home = '/home/web_user'; // Emscripten's HOME, which Qt's data folders lie under
    FS.mkdirTree(home);
    FS.mount(IDBFS, {}, home);
    addRunDependency('gomirlo-home');
    FS.syncfs(true, function (error) {
        // Storage the browser refuses (a private window may) leaves an empty
        // folder: the game runs, and its record lasts as long as the page.
        if (error)
            err('Gomirlo: the browser keeps no record here: ' + error);
        removeRunDependency('gomirlo-home');
    });
});
