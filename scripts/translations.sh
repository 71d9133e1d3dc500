#!/usr/bin/env bash
# The message catalogues in po/.
#   scripts/translations.sh update   extracts po/raysketcher.pot from src/ and merges it into
#                                    every po/<lang>.po (new texts come in untranslated)
#   scripts/translations.sh check    fails when the committed template differs from what the
#                                    sources give, or a catalogue has an untranslated or fuzzy text
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C.UTF-8

# No dates and no line numbers, sorted by text: the template changes only when a text does.
extract() {
  find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort |
    xgettext --files-from=- --output=- --from-code=UTF-8 --language=C++ --no-location \
      --sort-output --keyword= --keyword=Tr --keyword=TrN:1,2 --keyword=TrNoop --keyword=TrFormat:1 --keyword=TrNFormat:1,2 --keyword=QTr \
      --flag=Tr:1:no-c-format --flag=TrNoop:1:no-c-format --flag=TrFormat:1:no-c-format \
      --flag=TrN:1:no-c-format --flag=TrN:2:no-c-format --flag=TrNFormat:1:no-c-format \
      --flag=TrNFormat:2:no-c-format --flag=QTr:1:no-c-format \
      --package-name=Raysketcher --msgid-bugs-address=entwickler@raysketcher.invalid |
    sed -e 's/^"POT-Creation-Date: .*\\n"$/"POT-Creation-Date: 2026-01-01 00:00+0000\\n"/' \
        -e 's/^"Content-Type: text\/plain; charset=CHARSET\\n"$/"Content-Type: text\/plain; charset=UTF-8\\n"/' \
        -e 's/^"Language-Team: LANGUAGE <LL@li.org>\\n"$/"Language-Team: none\\n"/'
}

case "${1:-}" in
  update)
    extract >po/raysketcher.pot
    for po in po/*.po; do
      msgmerge --quiet --update --no-fuzzy-matching --backup=none --no-location --sort-output \
        "$po" po/raysketcher.pot
    done
    ;;
  check)
    status=0
    if ! extract | diff -u po/raysketcher.pot - >&2; then
      echo "po/raysketcher.pot is stale: run scripts/translations.sh update" >&2
      status=1
    fi
    for po in po/*.po; do
      if ! stats=$(msgfmt --check --statistics --output-file=/dev/null "$po" 2>&1); then
        echo "$stats" >&2
        echo "$po does not compile" >&2
        status=1
        continue
      fi
      echo "$po: $stats"
      if grep -qE 'untranslated|fuzzy' <<<"$stats"; then
        echo "$po has untranslated or fuzzy texts" >&2
        status=1
      fi
      # A text of the template missing from the catalogue is untranslated too.
      if ! msgcmp "$po" po/raysketcher.pot; then
        echo "$po lacks texts of the template: run scripts/translations.sh update" >&2
        status=1
      fi
    done
    exit $status
    ;;
  *)
    echo "usage: scripts/translations.sh update|check" >&2
    exit 2
    ;;
esac
