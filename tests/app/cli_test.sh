#!/usr/bin/env bash
# The program's command line as a user meets it: what it prints, and its exit
# status, with no display at all.
#   tests/app/cli_test.sh path/to/lanshi
set -u
lanshi=$1
failures=0
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# expect STATUS STREAM PATTERN -- ARGS...: runs without any display.
expect() {
    local status=$1 stream=$2 pattern=$3
    shift 4
    # A command that does not end within a minute has hung: status 124.
    timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR "$lanshi" "$@" >"$out" 2>"$err"
    local got=$?
    local text
    text=$(cat "$([ "$stream" = out ] && echo "$out" || echo "$err")")
    if [ "$got" -ne "$status" ] || ! grep -qF -- "$pattern" <<<"$text"; then
        echo "FAIL: lanshi $*: status $got (want $status), $stream: $text" >&2
        failures=$((failures + 1))
    fi
    # What succeeds says nothing on standard error, not even Qt's notes on
    # the way (a root user has no XDG_RUNTIME_DIR); what fails says so in one
    # line.
    if [ "$status" -eq 0 ] && [ -s "$err" ]; then
        echo "FAIL: lanshi $*: succeeded but wrote to standard error: $(cat "$err")" >&2
        failures=$((failures + 1))
    fi
    if [ "$status" -ne 0 ] && [ "$(wc -l <"$err")" -ne 1 ]; then
        echo "FAIL: lanshi $*: not one line on standard error: $(cat "$err")" >&2
        failures=$((failures + 1))
    fi
}

expect 0 out "--version" -- --help
expect 0 out "普通澜石 " -- --version
expect 2 err "未知的选项“--bogus”" -- --bogus
expect 2 err "一次只能打开一个设计文件" -- a.lanshi b.lanshi
expect 1 err "没有可用的图形显示" -- design.lanshi
expect 1 err "没有可用的图形显示" --

# The report needs no display either.
dir=$(mktemp -d)
trap 'rm -f "$out" "$err"; rm -rf "$dir"' EXIT
printf '{"lanshi-design": 1, "fields": {"Text21": "0.03", "Text24": "0.01"}}' >"$dir/wet.lanshi"
printf '{"lanshi-design": 1, "fields": {"Text5": "abc"}}' >"$dir/bad.lanshi"
expect 0 out "水泥 : 砂 : 石子 : 水 = 1.00 : 2.02 : 3.52 : 0.43" -- --report "$dir/wet.lanshi" -o -
# A pipe nobody writes to and a link to a device are refused at once, never
# read: no hang, no growing without end.
mkfifo "$dir/fifo.lanshi"
ln -s /dev/zero "$dir/zero.lanshi"
expect 1 err "不是普通文件" -- --report "$dir/fifo.lanshi" -o -
expect 1 err "不是普通文件" -- --report "$dir/zero.lanshi" -o "$dir/zero.json"
# A JGJ 55-2011 design between 1 and 4 MiB is a design like any other.
{ printf '{"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {"fcuk": 30, '
  printf '"cementGrade": "42.5", "stone": "crushed", "maxSize": 20, "slump": 180}'
  head -c 2000000 /dev/zero | tr '\0' ' '
  printf '}'; } >"$dir/padded.lanshi"
expect 0 out "JGJ 55-2011" -- --report "$dir/padded.lanshi" -o -
# The mix notice of either kind: its figures, or the one-line reason.
printf '{"lanshi-design": 1, "notice": {"sandMoisture": 3.5, "stoneMoisture": 0.5, "batchVolume": 0.5}}' >"$dir/notice.lanshi"
expect 0 out "混凝土配合比通知单" -- --notice "$dir/notice.lanshi" -o -
expect 0 out "" -- --notice "$dir/notice.lanshi" -o "$dir/notice.json"
if ! grep -qF '"sand": 703' "$dir/notice.json"; then
    echo "FAIL: lanshi --notice … -o notice.json: no construction sand of 703 kg" >&2
    failures=$((failures + 1))
fi
printf '{"lanshi-design": 1, "notice": {"sandMoisture": 100}}' >"$dir/wet-notice.lanshi"
expect 1 err "砂含水率 100 %" -- --notice "$dir/wet-notice.lanshi" -o -
expect 2 err "不能同时给出" -- --notice "$dir/notice.lanshi" --report "$dir/notice.lanshi" -o -
expect 0 out "" -- --report "$dir/wet.lanshi" -o "$dir/wet.pdf" --batch-volume 25
if ! pdftotext "$dir/wet.pdf" - | grep -qF "147.5658"; then
    echo "FAIL: the PDF lacks the water of the construction mix" >&2
    failures=$((failures + 1))
fi
expect 1 err "“水泥28天强度”的内容不是有效数字" -- --report "$dir/bad.lanshi" -o "$dir/bad.txt"
expect 1 err "无法打开设计文件" -- --report "$dir/none.lanshi" -o -
expect 2 err "需要用 -o" -- --report "$dir/wet.lanshi"
expect 2 err "各只能给一次" -- --report "$dir/wet.lanshi" -o - -o "$dir/again.txt"
expect 2 err "各只能给一次" -- --report "$dir/wet.lanshi" --report "$dir/wet.lanshi" -o -
expect 2 err "试拌体积“10001”" -- --report "$dir/wet.lanshi" -o - --batch-volume 10001
expect 0 out "试拌 10000 L 混凝土" -- --report "$dir/wet.lanshi" -o - --batch-volume 10000

# Only the forms it writes.
expect 2 err ".pdf、.html、.htm 或 .txt" -- --report "$dir/wet.lanshi" -o "$dir/wet.doc"
[ -e "$dir/wet.doc" ] && { echo "FAIL: wrote wet.doc" >&2; failures=$((failures + 1)); }

# A Chinese path, in and out.
cp "$dir/wet.lanshi" "$dir/设计 一.lanshi"
expect 0 out "" -- --report "$dir/设计 一.lanshi" -o "$dir/计算书 一.txt"
grep -qF "设计文件：设计 一.lanshi" "$dir/计算书 一.txt" 2>/dev/null ||
    { echo "FAIL: no report under the Chinese name" >&2; failures=$((failures + 1)); }

# The system's reasons, in Chinese: a folder where the file should be, a
# missing folder, a full disk, and a place even root may not write.
mkdir "$dir/folder.txt"
expect 1 err "这是一个文件夹" -- --report "$dir/wet.lanshi" -o "$dir/folder.txt"
expect 1 err "文件或文件夹不存在" -- --report "$dir/wet.lanshi" -o "$dir/none/r.txt"
if env -u DISPLAY -u WAYLAND_DISPLAY "$lanshi" --report "$dir/wet.lanshi" -o - >/dev/full 2>"$err"; then
    echo "FAIL: writing to a full disk succeeded" >&2
    failures=$((failures + 1))
elif ! grep -qF "无法写到标准输出：磁盘已满" "$err"; then
    echo "FAIL: a full disk reads: $(cat "$err")" >&2
    failures=$((failures + 1))
fi
env -u DISPLAY -u WAYLAND_DISPLAY "$lanshi" --report "$dir/wet.lanshi" -o /sys/lanshi-r.txt 2>"$err"
reason=$(sed 's/.*：//' "$err")
if [ -z "$reason" ] || grep -qE '[A-Za-z]{3,}' <<<"$reason"; then
    echo "FAIL: writing into /sys gives no reason in Chinese: $(cat "$err")" >&2
    failures=$((failures + 1))
fi

# A design to JGJ 55-2011: its report, its figures as JSON, and a refusal.
printf '%s' '{"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {"fcuk": 30,
  "cementGrade": "42.5", "flyAsh": {"fraction": 0.2}, "admixture": {"fraction": 0.01,
  "waterReduction": 0.2}, "stone": "crushed", "maxSize": 20, "slump": 180}}' >"$dir/jgj.lanshi"
printf '%s' '{"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {"fcuk": 30}}' \
    >"$dir/jgj-bad.lanshi"
expect 0 out "W/B = αa·fb / (fcu,0 + αa·αb·fb) = 0.53 × 41.9 / (38.2 + 0.53 × 0.20 × 41.9) = 0.52" \
    -- --report "$dir/jgj.lanshi" -o -
expect 0 out "" -- --report "$dir/jgj.lanshi" -o "$dir/jgj.json"
expect 0 out "" -- --report "$dir/wet.lanshi" -o "$dir/wet.json"
expect 0 out "" -- --report "$dir/bad.lanshi" -o "$dir/bad.json"
for want in "$dir/jgj.json:\"sand\": 756," "$dir/jgj.json:\"notes\": []" \
    "$dir/wet.json:\"Text14\": \"147.5658\"" "$dir/wet.json:\"stop\": null" \
    "$dir/bad.json:\"reason\": \"not-a-number\""; do
    if ! grep -qF -- "${want#*:}" "${want%%:*}"; then
        echo "FAIL: ${want%%:*} lacks ${want#*:}" >&2
        failures=$((failures + 1))
    fi
done
expect 1 err "请给出水泥强度等级" -- --report "$dir/jgj-bad.lanshi" -o "$dir/jgj-bad.json"
# The rules of the standard that refuse a design: a C60 without its W/B from
# trials, and a volume method left nothing for the aggregates (the volume to
# the litre, as the report writes it).
printf '%s' '{"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {"fcuk": 60,
  "cementGrade": 52.5, "stone": "crushed", "maxSize": 25, "slump": 180}}' >"$dir/jgj-c60.lanshi"
expect 1 err "C60 及以上的高强混凝土，水胶比应经试配确定" -- --report "$dir/jgj-c60.lanshi" -o -
printf '%s' '{"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {"fcuk": 30,
  "cementGrade": "42.5", "stone": "crushed", "maxSize": 20, "slump": 50, "method": "volume",
  "air": 80}}' >"$dir/jgj-air.lanshi"
expect 1 err "砂石的体积为 -0.100 m³" -- --report "$dir/jgj-air.lanshi" -o -
expect 2 err "--new 只能是 jgj55-2011" -- --new gb50010

# A strength evaluation to GB/T 50107-2010: its record, its figures as JSON
# (non-statistical, C30: groups 31.0, left out, 28.0; mfcu 29.5 < 1.15 × 30,
# fcu,min 28.0 < 0.95 × 30), a bad cell named, and its new window.
printf '%s' '{"lanshi-design": 1, "standard": "GB/T 50107-2010", "gbt50107-2010": {"fcuk": 30,
  "groups": [[30.0, 31.0, 32.0], [20, 30, 40], 28.0]}}' >"$dir/eval.lanshi"
printf '%s' '{"lanshi-design": 1, "standard": "GB/T 50107-2010", "gbt50107-2010": {"fcuk": 30,
  "groups": [[30.0, -31.0, 32.0]]}}' >"$dir/eval-bad.lanshi"
expect 0 out "评定结论：不合格" -- --report "$dir/eval.lanshi" -o -
expect 0 out "" -- --report "$dir/eval.lanshi" -o "$dir/eval.json"
for want in '"groups": [' '31,' '"excluded": [' '"index": 2,' '"n": 2,' \
    '"method": "non-statistical",' '"mean": 29.5,' '"min": 28,' '"sd": null,' \
    '"lambda1": null,' '"lambda3": 1.15,' '"lambda4": 0.95,' \
    '"text": "mfcu = 29.5 < λ3·fcu,k = 1.15 × 30 = 34.5 不满足",' '"holds": false' \
    '"passed": false,' '"designSigma": null'; do
    if ! grep -qF -- "$want" "$dir/eval.json"; then
        echo "FAIL: $dir/eval.json lacks $want: $(cat "$dir/eval.json")" >&2
        failures=$((failures + 1))
    fi
done
expect 1 err "第 1 组试件 2" -- --report "$dir/eval-bad.lanshi" -o "$dir/eval-bad.json"
expect 1 err "没有可用的图形显示" -- --new gbt50107-2010
expect 2 err "--new 不能与设计文件同时给出" -- --new gbt50107-2010 "$dir/eval.lanshi"

[ "$failures" -eq 0 ] && echo "the command line behaves" || exit 1
