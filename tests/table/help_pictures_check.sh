#!/bin/sh
# Renders the help's pictures afresh from real tables. The tool fails when a table no
# longer comes out as the help text tells it (the deal of the example turn, the
# canastas and their labels); every picture a help page shows must be among those it
# renders, so that no page keeps a picture nothing makes any more.
set -eu
tool=$1
pages=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$tool" "$out"

status=0
for picture in $(grep -oh 'img src="[^"]*"' "$pages"/*.html | sed 's/^img src="//; s/"$//' | sort -u); do
    if [ ! -s "$out/$picture" ]; then
        echo "$picture is shown in the help but not rendered by $tool"
        status=1
    fi
done
exit $status
