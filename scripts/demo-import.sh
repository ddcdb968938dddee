#!/bin/sh
# The import of scripts/demo.sh, run with a wineserver already up.
# Usage: demo-import.sh BUILD_DIR OUT_DIR
set -eu
build=$1
out=$2
bin=$build/${OMBRIX_DEMO_ARCH:-win64}/bin
# The converter is found through the registry, whatever its bitness.
converter=$build/win32/bin/ombrix-converter.exe
windows() { winepath -w "$1" 2>/dev/null; }
json() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }

echo
wine "$converter" --register </dev/null

# What the stand-in exports when the module starts it: the three samples,
# into a fresh folder under out/demo/converter.
scenario=$out/scenario.json
cat >"$scenario" <<JSON
{
  "files": [
    {"source": "$(json "$(windows "$out/samples/sunset.jpg")")"},
    {"source": "$(json "$(windows "$out/samples/meadow-16.tif")")"},
    {"source": "$(json "$(windows "$out/samples/raw-0001.dng")")"}
  ],
  "outputParent": "$(json "$(windows "$out/converter")")",
  "recordFile": "$(json "$(windows "$out/converter-run.json")")"
}
JSON

echo
echo "Import through the reference host ($bin), with the 32-bit converter stand-in:"
wine "$bin/ombrix-host.exe" import "$(windows "$bin/OmbrixImport.8ba")" \
    --out "$(windows "$out/documents")" --report "$(windows "$out/report.jsonl")" \
    --env "OMBRIX_CONVERTER_SCENARIO=$(windows "$scenario")" --handoff-wait-ms 5000 </dev/null

echo
echo "Samples:       $out/samples"
echo "Converter run: $out/converter-run.json (its export folder: $out/converter)"
echo "Documents:     $out/documents"
for file in "$out"/documents/*.tif "$out"/documents/*.png; do
    [ -e "$file" ] && echo "               $(basename "$file")"
done
echo "Report:        $out/report.jsonl (one JSON object per line)"
