#!/usr/bin/env bash
# Writes a demo "zavmon.cfg": the port name COM1, then a small library of named
# configurations (96 bytes each: a 64-byte name, fifteen little-endian words for registers
# 80 to 94, two unused bytes). The first record holds the simulator's factory values.
# Usage: scripts/demo-settings.sh FILE
set -euo pipefail
out=$1

word() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8)))"; }

record() {
  local name=$1; shift
  printf '%s' "$name"
  head -c $((64 - ${#name})) /dev/zero
  for value in "$@"; do word "$value"; done
  head -c 2 /dev/zero
}

{
  printf 'COM1'
  record "Simulator factory values" 40 500 650 500 200 500 3300 599 4000 48160 5 2000 0 0 0
  record "Sedan 1.6 cold climate" 35 450 700 800 180 600 3500 599 4100 48000 5 2100 0 0 0
  record "Van 2.0 sequential" 45 520 680 400 220 450 3000 650 3900 47500 6 1900 0 0 0
} >"$out"
