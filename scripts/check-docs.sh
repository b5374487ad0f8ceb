#!/usr/bin/env bash
# Fails when a command in the documentation was never tried: every command in a code block
# of README.md, CHANGELOG.md and docs/*.md must be run, as written there, by a script or a
# test (a file under scripts/, tests/, bench/, fuzz/ or .ci/). A documented command counts
# as run when a line of such a file contains it whole (extra words before or after, such as
# DESTDIR=... or a redirection, are allowed).
#
# In the documents, a code block is a fenced block or a block indented by four spaces after
# a blank line; a line ending in "\" goes on in the next; "  # ..." starts a comment.
set -euo pipefail
cd "$(dirname "$0")/.."

docs=(README.md CHANGELOG.md docs/*.md)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One line per command: FILE:LINE, a tab, the command with its blanks collapsed.
extract_commands() {
  awk '
    function flush() {
      if (command != "") {
        sub(/[ \t]+#( .*)?$/, "", command)
        gsub(/[ \t]+/, " ", command)
        sub(/^ /, "", command); sub(/ $/, "", command)
        if (command != "") print FILENAME ":" start "\t" command
      }
      command = ""
    }
    function take(text) {
      if (command == "") start = FNR
      if (text ~ /\\$/) { sub(/\\$/, "", text); command = command text " "; return }
      command = command text
      flush()
    }
    FNR == 1 { fenced = 0; indented = 0; blank = 1; command = "" }
    /^[ \t]*```/ { fenced = !fenced; blank = 0; next }
    fenced { take($0); next }
    /^    / && (blank || indented) { indented = 1; take(substr($0, 5)); blank = 0; next }
    /^[ \t]*$/ { flush(); blank = 1; next }
    { flush(); indented = 0; blank = 0 }
  ' "$@"
}

# The scripts and tests with continued lines joined, blanks collapsed and comment lines
# left out (a command named in a comment is not run).
git ls-files -co --exclude-standard -- scripts tests bench fuzz .ci ':!:fuzz/corpus' ':!:scripts/check-docs.sh' |
  while read -r file; do
    grep -Iq . "$file" 2>/dev/null || continue
    sed -e ':a' -e '/\\$/N; s/\\\n//; ta' "$file" | tr -s ' \t' '  ' |
      grep -Ev '^ ?(#|//)' || true
  done >"$work/runners"

extract_commands "${docs[@]}" >"$work/commands"

missing=0
while IFS=$'\t' read -r place command; do
  # The command whole: not the start or end of a longer word or path.
  if ! grep -qP "(?<![\\w./-])\\Q${command}\\E(?![\\w./-])" "$work/runners"; then
    echo "$place: no script or test runs this command:" >&2
    echo "    $command" >&2
    missing=$((missing + 1))
  fi
done <"$work/commands"

if [ "$missing" -gt 0 ]; then
  echo "check-docs: $missing documented command(s) never run. Run each as written in a script" \
    "or test (scripts/, tests/, bench/, fuzz/, .ci/; the fitter's commands in" \
    "tests/e2e/documented_commands.sh), or take it out of the code block." >&2
  exit 1
fi
echo "check-docs: $(wc -l <"$work/commands") documented commands, each run by a script or test."
