#!/usr/bin/env bash
# Makes Meldora's own sound effects and music: effects synthesised with sox,
# spoken ones with espeak-ng, music written by make_midi.py. Only needed to
# regenerate the committed files under assets/sounds and assets/music:
#   apt-get install sox espeak-ng && tools/make_sounds.sh
# Prints every file with its length and peak level at the end.
set -euo pipefail
# Repeatable noise and dither: the same script writes the same files.
export SOX_OPTS="-R"

root="$(cd "$(dirname "$0")/.." && pwd)"
sounds="$root/assets/sounds"
music="$root/assets/music"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$sounds" "$music"

rate=44100
# Every effect ends at this peak: loud enough to hear over the music, never clipped.
peak_db=-4

# finish IN OUT: mono 16-bit at one rate, silence trimmed, soft edges, common peak level.
finish() {
  sox "$1" -r $rate -c 1 -b 16 "$2" \
    silence 1 0.005 0.3% reverse silence 1 0.005 0.3% reverse \
    fade q 0.004 reverse fade q 0.04 reverse gain -n $peak_db
}

# speak OUT TEXT [VOICE] [SPEED] [PITCH]: a spoken phrase, sped up just enough to stay under a second.
speak() {
  local out="$1" text="$2" voice="${3:-en-us+f3}" speed="${4:-165}" pitch="${5:-55}"
  espeak-ng -v "$voice" -s "$speed" -p "$pitch" -w "$work/voice.wav" "$text"
  sox "$work/voice.wav" "$work/voice-warm.wav" bass +3 treble -2 reverb 18 50 60
  finish "$work/voice-warm.wav" "$work/voice-trim.wav"
  local length
  length=$(soxi -D "$work/voice-trim.wav")
  if awk -v l="$length" 'BEGIN { exit !(l > 0.92) }'; then
    sox "$work/voice-trim.wav" "$work/voice-fast.wav" tempo -s "$(awk -v l="$length" 'BEGIN { print l / 0.9 }')"
    finish "$work/voice-fast.wav" "$out"
  else
    cp "$work/voice-trim.wav" "$out"
  fi
}

# tone OUT LENGTH FREQ [VOLUME]: a soft bell-like note: a sine with a quieter octave, quick decay.
tone() {
  local octave
  octave=$(awk -v f="$3" 'BEGIN { print f * 2 }')
  sox -n -r $rate -c 1 "$work/fundamental.wav" synth "$2" sine "$3"
  sox -n -r $rate -c 1 "$work/octave.wav" synth "$2" sine "$octave" fade q 0.003 "$2" "$2"
  sox -m -v 1 "$work/fundamental.wav" -v 0.3 "$work/octave.wav" "$1" \
    vol "${4:-0.5}" fade q 0.004 "$2" "$(awk -v l="$2" 'BEGIN { print l * 0.9 }')"
}

# chime OUT STEP FREQ...: notes starting STEP seconds apart, each ringing on under the next.
chime() {
  local out="$1" step="$2"
  shift 2
  local parts=() offset=0 i=0
  for freq in "$@"; do
    tone "$work/note$i.wav" 0.45 "$freq" 0.4
    sox "$work/note$i.wav" "$work/pad$i.wav" pad "$offset"
    parts+=("$work/pad$i.wav")
    offset=$(awk -v o="$offset" -v s="$step" 'BEGIN { print o + s }')
    i=$((i + 1))
  done
  if [ ${#parts[@]} -gt 1 ]; then
    sox -m "${parts[@]}" "$work/chime.wav" reverb 20
  else
    sox "${parts[0]}" "$work/chime.wav" reverb 20
  fi
  finish "$work/chime.wav" "$out"
}

# --- Card sounds ---------------------------------------------------------------------

# A riffle: a run of short, band-limited noise ticks that speeds up and fades.
riffle=()
gap=0.045
for i in $(seq 0 13); do
  sox -n -r $rate -c 1 "$work/tick$i.wav" synth 0.018 pinknoise fade p 0.001 0.018 0.012 \
    sinc 1500-7000 vol "$(awk -v i="$i" 'BEGIN { print 0.9 - i * 0.03 }')"
  sox "$work/tick$i.wav" "$work/tickpad$i.wav" pad 0 "$gap"
  riffle+=("$work/tickpad$i.wav")
  gap=$(awk -v g="$gap" 'BEGIN { print g * 0.9 }')
done
sox "${riffle[@]}" "$work/riffle.wav" reverb 10
finish "$work/riffle.wav" "$sounds/shufl.wav"

# Applause: many soft claps scattered over most of a second, swelling and dying away.
claps=()
for i in $(seq 0 39); do
  start=$(awk -v i="$i" 'BEGIN { srand(i * 7 + 3); print rand() * 0.65 }')
  sox -n -r $rate -c 1 "$work/clap$i.wav" synth 0.03 whitenoise fade p 0.001 0.03 0.025 \
    sinc "$(awk -v i="$i" 'BEGIN { print 700 + (i % 5) * 150 }')"-4500 vol 0.25 pad "$start"
  claps+=("$work/clap$i.wav")
done
sox -m "${claps[@]}" "$work/applause.wav" gain -n -6 reverb 40 fade p 0.05 0.85 0.25
finish "$work/applause.wav" "$sounds/applause.wav"

# --- Chimes ----------------------------------------------------------------------------

# A mixed canasta: two notes, a fourth apart. A natural canasta: a brighter major arpeggio.
chime "$sounds/mixed.wav" 0.12 587.33 783.99
chime "$sounds/natural.wav" 0.09 523.25 659.25 783.99 1046.50
# The About box: a gentle rising figure.
chime "$sounds/about.wav" 0.11 659.25 783.99 987.77

# --- Fanfare ----------------------------------------------------------------------------

# A won match: a soft brass-like fanfare (sawtooth through a low-pass), ending on a held chord.
fanfare_note() {  # OUT LENGTH FREQ
  sox -n -r $rate -c 1 "$1" synth "$2" sawtooth "$3" synth "$2" sine mix "$3" \
    lowpass 1800 vol 0.3 fade p 0.02 "$2" 0.12
}
fanfare=()
offset=0
for note in "0.16 523.25" "0.16 523.25" "0.16 523.25" "0.45 659.25" "0.2 587.33" "0.2 659.25"; do
  set -- $note
  fanfare_note "$work/fan${#fanfare[@]}.wav" "$1" "$2"
  sox "$work/fan${#fanfare[@]}.wav" "$work/fanpad${#fanfare[@]}.wav" pad "$offset"
  fanfare+=("$work/fanpad${#fanfare[@]}.wav")
  offset=$(awk -v o="$offset" -v l="$1" 'BEGIN { print o + l }')
done
for freq in 523.25 659.25 783.99; do
  fanfare_note "$work/fanend$freq.wav" 0.9 "$freq"
  sox "$work/fanend$freq.wav" "$work/fanendpad$freq.wav" pad "$offset"
  fanfare+=("$work/fanendpad$freq.wav")
done
sox -m "${fanfare[@]}" "$work/fanfare.wav" reverb 30
speak "$work/wonderful-voice.wav" "Wonderful!" en-us+f3 160 60
sox "$work/wonderful-voice.wav" "$work/wonderful-late.wav" pad 1.25
sox -m -v 0.8 "$work/fanfare.wav" -v 1 "$work/wonderful-late.wav" "$work/wonderful.wav"
finish "$work/wonderful.wav" "$sounds/wonderfl.wav"

# --- Voices -----------------------------------------------------------------------------

speak "$sounds/done.wav" "Goodbye!" en-us+f3 150 55
speak "$sounds/help.wav" "Here is help." en-us+f3 165 55
speak "$sounds/manuel.wav" "Read the manual!" en-us+m3 165 45
speak "$sounds/nowwhat.wav" "Now what?" en-us+f3 150 60
speak "$sounds/exelnt.wav" "Excellent!" en-us+m3 155 50
speak "$sounds/toobad.wav" "Too bad." en-us+m3 145 40
speak "$sounds/haha.wav" "Ha ha ha!" en-us+m3 190 65
speak "$sounds/welcome.wav" "Welcome!" en-us+f3 150 55
speak "$sounds/yeah.wav" "Yeah!" en-us+m3 150 60
speak "$sounds/yourturn.wav" "Your turn." en-us+f3 155 55

# --- Music ------------------------------------------------------------------------------

python3 "$root/tools/make_midi.py" "$music" > /dev/null

# --- Report -----------------------------------------------------------------------------

printf '%-28s %9s %10s\n' file seconds "peak dBFS"
for f in "$sounds"/*.wav; do
  length=$(soxi -D "$f")
  peak=$(sox "$f" -n stat 2>&1 | awk '/Maximum amplitude/ { max = $3 } /Minimum amplitude/ { min = -$3 }
                                    END { a = max > min ? max : min; printf "%.1f", 20 * log(a) / log(10) }')
  printf '%-28s %9.2f %10s\n' "sounds/$(basename "$f")" "$length" "$peak"
done
for f in "$music"/*; do
  printf '%-28s %9s %10s\n' "music/$(basename "$f")" "-" "MIDI"
done
