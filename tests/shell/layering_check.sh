#!/usr/bin/env bash
# The house's layers stay apart. Each folder below may include only the folders its row names
# (and itself); a file in a folder not listed may include nothing of the project. The engine's
# modules build on one another in the order the rows give them; the game is one code for every
# platform and names none of them; each platform keeps to its own folder.
# Usage: layering_check.sh SOURCE_DIR
set -u
source="${1:?usage: layering_check.sh SOURCE_DIR}"
cd "$source" || exit 2

api="engine/base engine/store engine/audio engine/window engine/graphics engine/scene engine/input engine/app"
scene_may="$api game/common game/figures game/flow game/options"
# folder            may include
table="
engine/base
engine/platform     engine/base engine/store
engine/store        engine/base engine/platform
engine/audio        engine/base engine/platform
engine/window       engine/base engine/platform
engine/graphics     engine/base engine/platform
engine/scene        engine/base engine/platform engine/window engine/graphics
engine/input        engine/base engine/platform engine/window engine/graphics engine/scene
engine/app          engine
game/common         $api
game/figures        $api game/common
game/options        $api game/common
game/title          $scene_may
game/round          $scene_may
game/shop           $scene_may
game/event          $scene_may
game/flow           $api game/common game/title game/round game/shop game/event
game/app            $api game
platform/desktop    engine game
platform/web        engine game
harness             engine game
tests               engine game harness platform/desktop
tools               engine game harness
"

status=0
# Every quoted include of the project's C++ files, as FILE:LINE:TARGET, judged against the table
# in one pass: a file's row is the longest folder in the table that holds it.
git ls-files engine game platform harness tests tools | grep -E '\.(h|cpp)$' |
    xargs grep -noE '^\s*#\s*include\s+"[^"]+"' | sed -E 's/^([^:]+):([0-9]+):.*"([^"]+)"/\1:\2:\3/' |
    awk -v table="$table" '
    function row(path,   folder, best) {
        best = ""
        for (folder in may) if (index(path "/", folder "/") == 1 && length(folder) > length(best)) best = folder
        return best
    }
    BEGIN {
        FS = ":"
        n = split(table, lines, "\n")
        for (i = 1; i <= n; i++) {
            k = split(lines[i], words, " ")
            if (k == 0) continue
            may[words[1]] = ""
            for (j = 2; j <= k; j++) may[words[1]] = may[words[1]] " " words[j]
        }
    }
    {
        file = $1; line = $2; target = $3
        if (target !~ /\//) {
            printf "%s:%s: \"%s\" says not where it lives: include it from the repository root\n", file, line, target
            bad = 1; next
        }
        from = row(file); to = row(target)
        if (from != "" && from == to) next
        ok = 0; k = split(may[from], allowed, " ")
        for (j = 1; j <= k; j++) if (index(target, allowed[j] "/") == 1) ok = 1
        if (!ok) {
            printf "%s:%s: %s may not include \"%s\" (may:%s)\n", file, line, (from == "" ? "this folder" : from), target, (may[from] == "" ? " nothing of the project" : may[from])
            bad = 1
        }
    }
    END { exit bad }' >&2 || status=1

# The game reaches the window, input, sound and files only through the engine.
if grep -rnE '\bSDL|__EMSCRIPTEN__|__linux__|__unix__|_WIN32|__APPLE__|__ANDROID__' game; then
    echo "game/ names SDL or a platform (above): that belongs in engine/ or platform/" >&2
    status=1
fi
# A platform's differences live in its own folder: no platform is asked after inside the engine.
if grep -rnE '^\s*#\s*if.*(DOVI_X11|__EMSCRIPTEN__|__linux__|__unix__|_WIN32|__APPLE__|__ANDROID__)' engine; then
    echo "engine/ asks which platform it is on (above): that belongs in platform/<name>/seams" >&2
    status=1
fi
# The game hands the engine its name, its save folder and its words.
if grep -rniE 'doviveduzuz' engine; then
    echo "engine/ names the game (above): the game hands it over through AppIdentity or PlayerTexts" >&2
    status=1
fi
exit $status
