#!/bin/sh
# make-man-page.sh PROGRAM DESCRIPTION OUT.1.gz [--commands]
# Writes PROGRAM's manual page from its own --help and --version (help2man), gzipped
# as Debian installs manual pages. With --commands, the help of every command that
# "PROGRAM --help" lists under "commands:" becomes the COMMANDS section, so the page
# follows the program as commands are added.
set -eu
program="$1" description="$2" out="$3" commands="${4:-}"
include="$out.h2m"
name="$(basename "$program")"

# The programs speak English under an English locale (Japanese otherwise): the page is
# made from their English, through a stand-in of the same name that sets the locale.
english="$(mktemp -d)"
trap 'rm -rf "$english"' EXIT
printf '#!/bin/sh\nLC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 exec "%s" "$@"\n' "$(realpath "$program")" > "$english/$name"
chmod +x "$english/$name"
program="$english/$name"

escape_roff() { sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }

: > "$include"
if [ "$commands" = "--commands" ]; then
  printf '[COMMANDS]\n' >> "$include"
  for command in $("$program" --help | sed -n '/^commands:$/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p'); do
    printf '.SS "%s %s"\n.nf\n' "$name" "$command" >> "$include"
    "$program" "$command" --help | escape_roff >> "$include"
    printf '.fi\n' >> "$include"
  done
fi
printf '[SEE ALSO]\n' >> "$include"
separator=""
for other in rxt4-viewer rxt4 rxt4-sim; do
  [ "$other" = "$name" ] && continue
  printf '%s.BR %s (1)' "$separator" "$other" >> "$include"
  separator=",
"
done
printf '\n' >> "$include"

help2man --locale=C.UTF-8 --no-info --name="$description" --include="$include" --output="$out.tmp" "$program"
gzip -9n < "$out.tmp" > "$out"
rm -f "$include" "$out.tmp"
