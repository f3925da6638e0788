#!/usr/bin/env bash
# Fails when a folder of src/core includes a header of a folder above it, or any Qt header.
# The layers, bottom first:
#   host <- platform <- fastpath <- discs, catalogue <- browsing <- launching, reports, editing
#   <- collection
# platform holds what differs per operating system; fastpath what is there only for speed,
# which platform never calls. launching also reads discs (the boot option of an image).
# launching, reports and editing sit side by side and use of browsing only its filter
# evaluation. collection, which adds folders of images, sits on top: it uses the program
# editor's rules, the image masks and the disc readers. The per-folder libraries make the
# linker refuse most wrong arrows; this also catches a header-only use, which the linker
# never sees.
set -euo pipefail
cd "$(dirname "$0")/../src/core"

allowed_for() {
  case "$1" in
    host) echo "" ;;
    platform) echo "host" ;;
    fastpath) echo "host platform" ;;
    discs|catalogue) echo "host platform fastpath" ;;
    browsing) echo "host platform fastpath catalogue" ;;
    launching) echo "host platform fastpath discs catalogue browsing/FilterEvaluation.h" ;;
    reports|editing) echo "host platform fastpath catalogue browsing/FilterEvaluation.h" ;;
    collection) echo "host platform fastpath discs catalogue editing launching/ImageMasks.h" ;;
    *) echo "?" ;;
  esac
}

status=0
for folder in */; do
  folder=${folder%/}
  allowed=$(allowed_for "$folder")
  if [ "$allowed" = "?" ]; then
    echo "src/core/$folder: a folder the layers do not name" >&2
    status=1
    continue
  fi
  while IFS=: read -r file line text; do
    header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/' <<<"$text")
    case "$header" in
      Q*|Qt*/*) echo "src/core/$folder/$file:$line: Qt header $header in core" >&2; status=1; continue ;;
    esac
    top=${header%%/*}
    # System and library headers have no folder of ours in front.
    [ -d "$top" ] || continue
    [ "$top" = "$folder" ] && continue
    ok=0
    for entry in $allowed; do
      if [ "$entry" = "$top" ] || [ "$entry" = "$header" ]; then ok=1; fi
    done
    if [ $ok -eq 0 ]; then
      echo "src/core/$folder/$file:$line: $folder may not include $header" >&2
      status=1
    fi
  done < <(cd "$folder" && grep -nE '^[[:space:]]*#[[:space:]]*include' -- *.h *.cpp 2>/dev/null | sed -E 's/^([^:]+):([0-9]+):/\1:\2:/')
done
[ $status -eq 0 ] && echo "Layers: no include runs back up."
exit $status
