#!/usr/bin/env bash
# Installs the build into a scratch prefix, validates the desktop entry, the software-centre
# description and the saved-game file type there, and starts the installed program without a
# display: it must keep running and take its help pages, sounds and music from
# <prefix>/share/meldora, found from its own location.
set -euo pipefail
build_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
share=$prefix/share

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

desktop-file-validate "$share/applications/org.meldora.Meldora.desktop"
appstreamcli validate --no-net --explain "$share/metainfo/org.meldora.Meldora.metainfo.xml"

update-mime-database "$share/mime"
grep -qx 'application/x-meldora-saved-game:\*\.meldora' "$share/mime/globs"
for expected in bin/meldora share/meldora/help/index.html share/meldora/sounds share/meldora/music \
                share/icons/hicolor/scalable/apps/org.meldora.Meldora.svg \
                share/icons/hicolor/48x48/apps/org.meldora.Meldora.png; do
  [ -e "$prefix/$expected" ] || { echo "not installed: $expected"; exit 1; }
done

mkdir "$scratch/home"
status=0
env -u MELDORA_DATA_DIR MELDORA_HOME="$scratch/home" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    QT_LOGGING_RULES="meldora.files.debug=true" \
    timeout 8 "$prefix/bin/meldora" 2>"$scratch/log" || status=$?
if [ "$status" -ne 124 ]; then
  echo "the installed program ended by itself (status $status):"; cat "$scratch/log"; exit 1
fi
grep -q "Assets: $share/meldora$" "$scratch/log" || { echo "assets not taken from the prefix:"; cat "$scratch/log"; exit 1; }
echo "installed program runs from $prefix"
