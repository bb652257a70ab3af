#!/usr/bin/env bash
# Checks the committed sounds with tools no one here wrote: Debian's xmp renders both modules
# (each must play at least 30 seconds before it loops, audibly and without clipping), and sox
# reads every WAV as 16-bit PCM.
set -euo pipefail
audio="${1:?usage: check_audio_files.sh RESOURCES_AUDIO_FOLDER}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for module in briny attack; do
    rendered="$work/$module.wav"
    xmp --quiet --output-file "$rendered" "$audio/$module.xm" > /dev/null 2>&1 ||
        { fail "xmp cannot play $module.xm"; continue; }
    seconds=$(soxi -D "$rendered")
    peak=$(sox "$rendered" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
    rms=$(sox "$rendered" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
    echo "$module.xm: ${seconds}s before the loop, peak $peak, RMS $rms"
    awk -v s="$seconds" 'BEGIN { exit !(s >= 30) }' || fail "$module.xm loops after ${seconds}s"
    awk -v p="$peak" 'BEGIN { exit !(p < 0.99) }' || fail "$module.xm clips (peak $peak)"
    awk -v r="$rms" 'BEGIN { exit !(r > 0.02) }' || fail "$module.xm is nearly silent (RMS $rms)"
done

for wav in "$audio"/*.wav; do
    name=$(basename "$wav")
    bits=$(soxi -b "$wav" 2>/dev/null) || { fail "sox cannot read $name"; continue; }
    encoding=$(soxi -e "$wav")
    seconds=$(soxi -D "$wav")
    echo "$name: ${seconds}s, $bits-bit $encoding"
    [ "$bits" = 16 ] || fail "$name is $bits-bit, not 16-bit"
    [[ "$encoding" == *"Signed Integer PCM"* ]] || fail "$name is $encoding, not PCM"
done
seconds=$(soxi -D "$audio/eaten_tune.wav")
awk -v s="$seconds" 'BEGIN { exit !(s >= 2 && s <= 4) }' || fail "eaten_tune.wav lasts ${seconds}s"

echo "$((10 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
