#!/usr/bin/env bash
# Writes help2man's include section "COMMANDS" from a tool's own help: every subcommand that
# `TOOL --help` lists, with the text of `TOOL SUBCOMMAND --help` kept as it is printed.
#   subcommand-help.sh TOOL OUT.h2m
set -euo pipefail
tool="$1"
out="$2"
name="$(basename "$tool")"

main_help="$("$tool" --help)"
mapfile -t subcommands < <(sed -n '/^Subcommands:/,/^$/s/^  \([a-z][a-z0-9-]*\) .*/\1/p' <<<"$main_help")
if [ "${#subcommands[@]}" -eq 0 ]; then
  echo "subcommand-help.sh: $name --help lists no subcommands" >&2
  exit 1
fi

# roff: a backslash is written \e, a minus \- (so that options copied from the page work), and a
# line may not begin with a control character.
to_roff() { sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\([.']\)/\\\\\&\1/"; }

{
  echo "[COMMANDS]"
  for subcommand in "${subcommands[@]}"; do
    help="$("$tool" "$subcommand" --help)"
    echo ".SS \"$name $subcommand\""
    # The first line describes the subcommand; the rest is its usage and options, as printed.
    head -n 1 <<<"$help" | to_roff
    echo ".PP"
    echo ".nf"
    tail -n +2 <<<"$help" | to_roff
    echo ".fi"
  done
} >"$out.tmp"
mv "$out.tmp" "$out"
