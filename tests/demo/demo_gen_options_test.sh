#!/bin/sh
# The demo generator's options: asking for help prints the usage and writes nothing; an option it
# does not know is refused, not taken for the folder to write into.
set -eu
gen="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
"$gen" --help >help.txt
grep -q '^usage: quillhaven-demo-gen' help.txt
if "$gen" --verbose 2>/dev/null; then echo "an unknown option was accepted"; exit 1; fi
for name in ./--help ./--verbose; do
  if [ -e "$name" ]; then echo "an option was taken for a folder: $name"; exit 1; fi
done
"$gen" game >/dev/null
test -d game
echo "demo generator options: ok"
