#!/usr/bin/env bash
# Extracts every Text("...") of the texts and captions headers into
# po/zephalo.pot and merges it into each po/<language>.po, so that a
# translator sees the new texts (untranslated) and the changed ones (fuzzy).
#     scripts/update-translations.sh          # update po/
#     scripts/update-translations.sh --check  # fail if a text has no translation
set -euo pipefail
cd "$(dirname "$0")/.."
headers() {
  find src \( -name '*texts*.h' -o -name '*captions*.h' \) | LC_ALL=C sort
}
# The texts keep the panels' line breaks (\r\n); the tools' warning on each is noise.
quiet() {
  "$@" 2>&1 | { grep -v "should not contain the '.r' escape sequence" >&2 || true; }
  return "${PIPESTATUS[0]}"
}
extract() {
  headers | quiet xgettext --files-from=- --language=C++ --from-code=UTF-8 --keyword= \
    --keyword=Text --package-name=ZEPHALO --no-wrap --sort-by-file --output="$1"
}
if [ "${1:-}" = --check ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  extract "$scratch/zephalo.pot"
  status=0
  for po in po/*.po; do
    quiet msgmerge --quiet --no-fuzzy-matching --no-wrap "$po" "$scratch/zephalo.pot" -o "$scratch/merged.po"
    missing=$(msgattrib --untranslated --no-obsolete --no-wrap "$scratch/merged.po" |
      grep -c '^msgid "..*"' || true)
    fuzzy=$(msgattrib --only-fuzzy --no-obsolete --no-wrap "$scratch/merged.po" |
      grep -c '^msgid "..*"' || true)
    if ((missing + fuzzy)); then
      echo "$po: $missing texts without a translation, $fuzzy marked fuzzy:"
      msgattrib --untranslated --no-obsolete --no-wrap "$scratch/merged.po" | grep '^msgid "..*"'
      status=1
    fi
  done
  exit $status
fi
extract po/zephalo.pot
for po in po/*.po; do
  quiet msgmerge --quiet --update --backup=none --no-wrap "$po" po/zephalo.pot
done
