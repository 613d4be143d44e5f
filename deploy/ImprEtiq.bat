#!/bin/sh
# ImprEtiq.bat - hands one label command file to the thermal printer.
#
# Selvar starts this file once per command file it writes, with two arguments:
#   $1  the command file, e.g. /opt/boticon/InterfacXX/Etiq001.txt
#   $2  the station's printer path (ROTULO1 of its ESTACOES row)
# Selvar does not wait for it and does not look at how it ends.
#
# It copies the file byte for byte to the printer path, which may be a
# printer device or a plain file:
#   /dev/usb/lp0        a USB thermal printer
#   /var/spool/etiq.txt a file, to see what would be printed
#
# A printer path without a "/" is the name of a CUPS queue, which must be a
# raw one (selvar-setup-station --cups-raw-queue makes it); the file then goes
#   lp -d QUEUE -o raw "$1"
#
# Argox printers read these files only when set to their PPLB language.
[ $# -ge 2 ] || { echo "uso: $0 ARQUIVO IMPRESSORA" >&2; exit 2; }
case "$2" in
  */*) cat "$1" > "$2" ;;
  *) lp -d "$2" -o raw "$1" >/dev/null ;;
esac
