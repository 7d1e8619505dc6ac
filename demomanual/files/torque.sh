#!/bin/sh
# Opens the manual's torque table in the desktop's text editor. The table is
# kept in Windows-1251 like every text file of the manual, so the editor gets
# a UTF-8 copy in the temporary folder; nothing else is touched.
here=$(dirname "$0")
copy="${TMPDIR:-/tmp}/torque-utf8.txt"
iconv -f WINDOWS-1251 -t UTF-8 "$here/torque.txt" >"$copy" 2>/dev/null || cp "$here/torque.txt" "$copy"
exec xdg-open "$copy"
