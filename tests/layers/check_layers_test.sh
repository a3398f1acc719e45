#!/usr/bin/env bash
# The layer check passes on the tree as it is, and fails on each kind of violation planted in a
# copy: an include that goes the wrong way, a link that goes the wrong way, Qt outside the app.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
check="$root/scripts/check-layers"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$check" "$root" >/dev/null

plant() {  # NAME FILE TEXT: a fresh copy of src/ with TEXT appended to FILE must fail the check
  rm -rf "$work/tree" && mkdir -p "$work/tree" && cp -r "$root/src" "$work/tree/src"
  printf '%s\n' "$3" >>"$work/tree/src/$2"
  if "$check" "$work/tree" >"$work/out" 2>&1; then
    echo "FAIL: $1 was not caught"; exit 1
  fi
  grep -q "$2" "$work/out" || { echo "FAIL: $1 reported without naming $2"; cat "$work/out"; exit 1; }
  echo "ok: $1"
}

plant "record including the workspace" character/character.h '#include "workspace/model.h"'
plant "package including a record" package/index.h '#include "character/character.h"'
plant "workspace including the app" workspace/save.cpp '#include "app/document.h"'
plant "Qt in the core" workspace/loader.cpp '#include <QString>'
plant "record linking the workspace" character/CMakeLists.txt 'target_link_libraries(qh_character PUBLIC qh_workspace)'
plant "core linking Qt" package/CMakeLists.txt 'target_link_libraries(qh_package PRIVATE Qt6::Core)'
plant "Qt's GUI in the command line" cli/main.cpp '#include <QWidget>'
plant "command line linking Qt's GUI" cli/CMakeLists.txt 'target_link_libraries(quillhaven-cli PRIVATE Qt6::Widgets)'
plant "QtCore in the core" platform/trash.cpp '#include <QFile>'
plant "record including the workspace through .." character/character_rules.cpp '#include "../workspace/model.h"'
plant "panel including the window" app/panels/needs_panel.cpp '#include "app/main_window.h"'
plant "dialog including the window" app/dialogs/character_picker.cpp '#include "../main_window.h"'
plant "document including a panel" app/document.cpp '#include "app/panels/panel.h"'
echo "layer check: 14 checks passed"
