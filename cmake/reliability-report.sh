#!/usr/bin/env bash
# Reruns the reliability checks and writes docs/RELIABILITY.md from what they measured:
# the native sanitizer build and its tests, the bounded fuzz runs, the hostile-input
# tests, the library unload checks and the load/unload soak (Windows build under Wine:
# 32-bit where this machine runs 32-bit programs, else the 64-bit build of the same
# sources under wine64).
#
# Environment: BRISK_REPORT_BUILD (folder for the builds and logs, default
# build/reliability), or each build folder on its own: BRISK_NATIVE_BUILD,
# BRISK_FUZZ_BUILD, BRISK_WINDOWS_BUILD; BRISK_FUZZ_SECONDS (per fuzzer, default 60).
# Needs Xvfb and Wine (installed by cmake/setup-machine.sh --with-wine when missing).
set -uo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
root=${BRISK_REPORT_BUILD:-build/reliability}
mkdir -p "$root"
root=$(cd "$root" && pwd)
native_build=${BRISK_NATIVE_BUILD:-$root/native}
fuzz_build=${BRISK_FUZZ_BUILD:-$root/fuzz}
windows_build=${BRISK_WINDOWS_BUILD:-$root/windows}

echo "== native sanitizer build and fuzzers"
native_status=0
BRISK_NATIVE_BUILD=$native_build BRISK_FUZZ_BUILD=$fuzz_build bash cmake/run-native-checks.sh >"$root/native.log" 2>&1 ||
  native_status=$?
ctest --test-dir "$native_build" --output-junit "$root/native.xml" >/dev/null 2>&1 || true
tail -n 4 "$root/native.log"

bash cmake/setup-machine.sh --with-wine
source cmake/wine-env.sh
brisk_start_wineserver
if brisk_can_run_32bit; then
  arch=i686 wine_loader=/usr/lib/wine/wine windows_label="32-bit build under Wine"
else
  arch=x86_64 wine_loader=/usr/lib/wine/wine64
  windows_label="64-bit build of the same sources under wine64 (this machine runs no 32-bit programs)"
fi
echo "== Windows build ($arch) and the hostile-input, unload and soak tests"
cmake -S . -B "$windows_build" -G Ninja --toolchain "cmake/toolchain-mingw-$arch.cmake" \
  -DBRISK_WINE=$wine_loader -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$windows_build" --target reliability_tests soak_tests library_unload_tests catalogue_tests \
  >"$root/build.log" 2>&1 || { tail -n 30 "$root/build.log"; exit 1; }
tests='^(Hostile|HostArguments|FaultyCatalogued|HostileCatalogueThroughTheFront|SpilistHostile|LibraryUnload|Soak)'
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "cd '$windows_build' && ctest -R '$tests' -j2 -V \
  --output-junit '$root/wine.xml'" >"$root/wine.log" 2>&1
grep -E 'tests passed|tests failed' "$root/wine.log" | tail -n 1

echo "== writing docs/RELIABILITY.md"
python3 - "$root" "$native_status" "$fuzz_build" "$started" "$windows_label" <<'PYTHON'
import re, sys, datetime, subprocess, xml.etree.ElementTree as ET
root, native_status, fuzz_build, windows_label = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[5]
minutes = (datetime.datetime.now().timestamp() - int(sys.argv[4])) / 60

def junit(path):
    try:
        cases = ET.parse(path).getroot().iter('testcase')
    except (OSError, ET.ParseError):
        return []
    rows = []
    for case in cases:
        status = case.get('status', 'run')
        if case.find('failure') is not None:
            status = 'failed'
        elif status == 'run':
            status = 'passed'
        # Parameterised tests carry "  # GetParam() = ..." after their name.
        rows.append((case.get('name').split(' #')[0].strip(), status, float(case.get('time', '0'))))
    return rows

def read(path):
    try:
        with open(path, encoding='utf-8', errors='replace') as f:
            return f.read()
    except OSError:
        return ''

catalogue_cases = {
    'BinaryValues': 'values of control bytes 0x01-0x1F and high bytes 0x80-0xFF',
    'Noise': '1 MiB of pseudo-random bytes',
    'NoiseWithoutEndOfText': '1 MiB of pseudo-random bytes without Ctrl-Z',
    'ZeroBytes': 'NUL bytes inside values, at line starts, a 4096-byte NUL line',
    'TenMegabyteLine': 'a 10 MiB name line between ordinary lines',
    'TenMegabyteLineWithoutBreak': 'one 10 MiB line without a line break',
    'TenMegabytePatternLine': 'a 10 MiB pattern line: 756 920 patterns among blanks and tabs',
    'HundredThousandRecords': '100 000 records, LF and CR LF mixed',
    'ManyFilters': 'one record with 50 000 filters',
    'MissingTerminator': 'last record without "-----"',
    'MissingTerminatorAndLastBreak': 'no "-----" and no final line break',
    'CutInsideHeader': 'input ends inside the header lines',
    'OnlyTerminators': '100 000 "-----" lines and nothing else',
    'TerminatorLookalikes': '"------", "----- ", " -----", "-----" CR CR LF',
    'BlankLinesOnly': '200 000 empty lines, LF and CR LF',
    'EndOfTextInTheMiddle': 'Ctrl-Z inside a record',
    'LoneCarriageReturns': 'lone CRs inside values, CR CR LF',
}

def group(name):
    if name.startswith('native.'):
        return 'native'
    if 'RegistryHostileCatalogue' in name:
        return 'registry'
    if 'HostileCatalogueRead' in name:
        return 'reader'
    return name.split('.')[0]

native = junit(f'{root}/native.xml')
wine = junit(f'{root}/wine.xml')
lines = []
out = lines.append
out('# Reliability')
out('')
out('What was tried against BriskSPI and what happened. Every figure below comes from the')
out(f'run that wrote this file: `bash cmake/reliability-report.sh`, which took {minutes:.0f} minutes here.')
try:
    commit = subprocess.run(['git', 'rev-parse', '--short', 'HEAD'], capture_output=True, text=True).stdout.strip()
except OSError:
    commit = '?'
out(f'Run of {datetime.datetime.utcnow():%Y-%m-%d %H:%M} UTC on commit {commit}; Windows tests on the')
out(f'{windows_label}.')
out('')

def count(rows, prefix=None):
    rows = [r for r in rows if prefix is None or group(r[0]) == prefix]
    passed = sum(1 for r in rows if r[1] == 'passed')
    failed = sum(1 for r in rows if r[1] == 'failed')
    return len(rows), passed, failed

out('## Summary')
out('')
out('| check | cases | passed | failed | time |')
out('|---|---|---|---|---|')
n, p, f = count(native)
out(f'| catalogue core, native build under AddressSanitizer + UndefinedBehaviorSanitizer (g++) | {n} | {p} | {f} | {sum(r[2] for r in native):.1f} s |')
stats = {}
for line in read(f'{fuzz_build}/fuzz-stats.txt').splitlines():
    fields = dict(item.split('=', 1) for item in line.split()[1:])
    stats[line.split()[0]] = fields
for name, fields in stats.items():
    ok = fields.get('status') == 'ok'
    out(f'| libFuzzer `{name}` (clang, ASan + UBSan + leak checks) | {fields.get("runs")} inputs | {"all" if ok else "-"} | {"none" if ok else "a crash, leak, sanitizer report or broken property"} | {fields.get("seconds")} s |')
for label, key in [('hostile catalogues, reader (Windows build)', 'reader'),
                   ('hostile catalogues through `briskspi.dll` GetAllModules', 'registry'),
                   ('host arguments at their limits, both front plug-ins', 'HostArgumentsAtTheirLimits'),
                   ('faulty catalogued plug-ins', 'FaultyCataloguedPlugins'),
                   ('100 000-record catalogue through the front plug-ins', 'HostileCatalogueThroughTheFront'),
                   ('`spilist` on hostile input', 'SpilistHostileInput'),
                   ('a library that throws, loaded and freed 300 times per case; its once-only calls', 'LibraryUnload'),
                   ('load/unload soak', 'Soak')]:
    rows = [r for r in wine if group(r[0]) == key]
    n, p, f = count(rows)
    skipped = sum(1 for r in rows if r[1] not in ('passed', 'failed'))
    note = f' ({skipped} disabled)' if skipped else ''
    out(f'| {label} | {n}{note} | {p} | {f} | {sum(r[2] for r in rows):.1f} s |')
out('')
if native_status:
    out(f'The native checks script ended with status {native_status}; see the failures above.')
    out('')

out('## Hostile catalogue files')
out('')
out('Each file is read by the catalogue reader (native sanitizer build and Windows build),')
out('and through `GetAllModules` of a copy of `briskspi.dll` that is then unloaded. The')
out('records must equal the expected ones (or, for noise, obey the format\'s rules), the')
out('library must give what the reader gives, and records the writer can represent must')
out('survive writing and reading again.')
out('')
out('| input | native | reader | GetAllModules |')
out('|---|---|---|---|')
def outcome(rows, case, kind):
    hits = [r for r in rows if r[0].endswith('/' + case) and group(r[0]) == kind]
    if not hits:
        return 'not run'
    if any(r[1] == 'failed' for r in hits):
        return 'FAILED'
    return 'passed' if all(r[1] == 'passed' for r in hits) else hits[0][1]
for case, text in catalogue_cases.items():
    out(f'| {text} | {outcome(native, case, "native")} | {outcome(wine, case, "reader")} | {outcome(wine, case, "registry")} |')
out('')

out('## Host arguments, faulty plug-ins and `spilist`')
out('')
out('| test | result | time |')
out('|---|---|---|')
for name, status, seconds in wine:
    if group(name) in ('HostArgumentsAtTheirLimits', 'FaultyCataloguedPlugins', 'HostileCatalogueThroughTheFront',
                       'SpilistHostileInput'):
        out(f'| {name} | {status} | {seconds:.2f} s |')
out('')

out('## Fuzzing')
out('')
out('Seeds: `tests/fuzz/corpus/`. Properties checked on every input besides crashes, leaks and')
out('sanitizer reports: records obey the format\'s rules; records the writer can represent')
out('read back unchanged after writing (path, version, name, flag, filters); a copied module')
out('catalogue\'s candidates point into the copy at the same positions; for pattern lists,')
out('patterns are non-empty and free of whitespace, `ParsePatternList(JoinPatternList(p)) == p`,')
out('and removing whitespace from the input changes nothing.')
out('')
out('| target | inputs executed | seconds | new corpus entries | result |')
out('|---|---|---|---|---|')
for name, fields in stats.items():
    out(f'| `{name}` | {fields.get("runs")} | {fields.get("seconds")} | {fields.get("new_corpus")} | {fields.get("status")} |')
out('')

out('## Load/unload soak')
out('')
out('Each cycle loads `BriskImp.spi` and `BriskArc.spi`, reads `GetPluginInfo`, probes a bitmap')
out('and a tar archive (the sample plug-ins; a missing plug-in and a declining one are')
out('catalogued too), decodes the picture from the file and from memory, lists the archive,')
out('extracts an entry to memory and to a folder, and unloads both. After every cycle no')
out('front plug-in, `briskspi.dll` or catalogued plug-in may be loaded (GetModuleHandleA).')
out('Figures after 100 warm-up cycles and after the last one: private memory (PrivateUsage;')
out('Wine reports PagefileUsage, the same commit charge, instead), open handles')
out('(GetProcessHandleCount; counted one by one under Wine, which reports none) and the')
out('lowest free TLS index.')
out('')
out('| run | cycles | seconds | private bytes (warm -> last) | handles (warm -> last) | lowest free TLS index (warm -> last) | result |')
out('|---|---|---|---|---|---|---|')
def soak_rows(text, label, result):
    for m in re.finditer(r'soak: cycles=(\d+) seconds=([\d.]+) private_after_warmup=(-?\d+) private_after_last=(-?\d+) '
                         r'handles_after_warmup=(-?\d+) handles_after_last=(-?\d+) tls_after_warmup=(-?\d+) tls_after_last=(-?\d+)', text):
        c, s, pw, pl, hw, hl, tw, tl = m.groups()
        out(f'| {label} | {c} | {s} | {int(pw):,} -> {int(pl):,} | {hw} -> {hl} | {tw} -> {tl} | {result} |')
        return (int(c), int(pw), int(pl), int(hw), int(hl), int(tw), int(tl))
    return None
soak_log = read(f'{root}/wine.log')
soak_results = {r[0].split('.')[-1]: r[1] for r in wine if group(r[0]) == 'Soak'}
first = soak_rows(soak_log, 'answers and unloading, 200 cycles',
                  soak_results.get('TwoHundredCyclesGiveTheSameAnswersAndLeaveNothingLoaded', 'not run'))
second_start = soak_log.find('ThousandCycles')
second = soak_rows(soak_log[second_start:] if second_start >= 0 else '', 'flat figures, 1 000 cycles',
                   soak_results.get('ThousandCyclesKeepMemoryHandlesAndTlsIndexesFlat', 'not run'))
out('')
for label, figures in (('200-cycle run', first), ('thousand-cycle run', second)):
    if figures and figures[0] > 100:
        c, pw, pl, hw, hl, tw, tl = figures
        k = c - 100
        out(f'Growth per cycle after the warm-up, {label}: {(pl - pw) / k:,.0f} bytes, {(hl - hw) / k:.1f} handles, '
            f'{(tl - tw) / k:.1f} TLS indexes.')
        out('')
out('The thousand-cycle check allows 2 KiB per cycle, 4 handles and 1 TLS index in all.')
out('')
out('Each library links the MinGW runtime statically. Unloading a copy used to leave that runtime\'s')
out('per-thread state behind (a TLS index and two handles from winpthreads, on 32-bit Windows at every')
out('load because the unwinder registers the library\'s frames through a once-only call, elsewhere after')
out('a thrown exception) and its emergency exception pool (tens of kilobytes). Every DLL now routes the')
out('runtime\'s once-only and thread-key calls to code of its own that keeps no thread object and frees')
out('its TLS slots and the pool when the library is unloaded. The `LibraryUnload` tests check this with a')
out('library that throws and catches on every call, on the loading thread and on threads that end while')
out('it is loaded; built without that code they fail with +300 TLS indexes and +1 200 handles per 300 cycles.')
out('')
with open('docs/RELIABILITY.md', 'w', encoding='utf-8') as f:
    f.write('\n'.join(lines))
PYTHON
echo "wrote docs/RELIABILITY.md"
