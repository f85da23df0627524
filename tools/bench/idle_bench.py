#!/usr/bin/env python3
"""Chimewell beside a minimal one-window program doing the same per-second work, under Wine.

The minimal program asks for the same common controls (a manifest), so both write into the same edit
control, and it ticks half a second away from Chimewell's tick (its second copy a quarter of a second), so
that no two ticks meet on the machine's two cores. A third copy, built without the manifest (the classic
controls of old), runs beside them for reference.

Both run side by side in one fresh copy of the installed end-to-end prefix (Chimewell installed by its
setup program, the stand-in player installed as the player but not running), on a private Xvfb. Prints
for each: the time from its start until its main window shows (the median of a few starts), idle CPU
over a window of seconds, shared out among the starts (of its Wine process, from /proc/<pid>/task/*/schedstat, else /proc/<pid>/stat)
and private memory (RssAnon from /proc/<pid>/status), then the ratios against the targets. The minimal program's start stands for Wine's
own launch; Chimewell's start holds its designed waits (3.4 s of progress, 1 s, 1 s). A tool, not a test.

Usage: idle_bench.py [--build build/win] [--seconds 60] [--starts 3]  (the seconds are shared out among the starts)
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

DESIGNED_WAITS = 3.4 + 1.0 + 1.0
TARGETS = {'cpu': 1.1, 'memory': 1.5, 'start': 0.1}


def find(root, name):
    for base, _, files in os.walk(root):
        for f in files:
            if f.lower() == name.lower():
                return os.path.join(base, f)
    return None


def prefix_processes(prefix):
    """(Linux pid, program) of each Wine process of this prefix."""
    found = []
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            with open(f'/proc/{entry}/environ', 'rb') as f:
                if f'WINEPREFIX={prefix}'.encode() not in f.read().split(b'\0'):
                    continue
            with open(f'/proc/{entry}/cmdline', 'rb') as f:
                found.append((int(entry), f.read().split(b'\0')[0].decode('utf-8', 'replace')))
        except OSError:
            continue
    return found


def wine_pids(prefix, exe):
    """Linux pids of the Wine processes of this prefix whose program is exe."""
    return [pid for pid, program in prefix_processes(prefix)
            if program.strip('"').replace('\\', '/').lower().endswith(exe.lower())]


def cpu_seconds(pid):
    """CPU time of all threads of a process: from schedstat in nanoseconds where the kernel keeps it, since
    an idle program uses only a few clock ticks a minute; else user and system time from stat."""
    try:
        total = 0
        for task in os.listdir(f'/proc/{pid}/task'):
            with open(f'/proc/{pid}/task/{task}/schedstat') as f:
                total += int(f.read().split()[0])
        return total / 1e9
    except (OSError, ValueError, IndexError):
        with open(f'/proc/{pid}/stat') as f:
            fields = f.read().rsplit(')', 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf('SC_CLK_TCK')


def rss_anon_kb(pid):
    with open(f'/proc/{pid}/status') as f:
        for line in f:
            if line.startswith('RssAnon:'):
                return int(line.split()[1])
    return 0


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.normpath(os.path.join(here, '..', '..'))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--build', default=os.path.join(root, 'build', 'win'))
    ap.add_argument('--seconds', type=float, default=60.0, help='length of the idle CPU window')
    ap.add_argument('--starts', type=int, default=5, help='starts of each program; the median is taken')
    ap.add_argument('--setup', help="another build's setup program, to compare with (default: this build's)")
    args = ap.parse_args()
    build = os.path.abspath(args.build)
    e2e = os.path.join(root, 'tests', 'e2e')
    tools = os.path.join(build, 'tools')
    minimal, launch_exe = find(tools, 'bench-minimal.exe'), find(tools, 'bench-launch.exe')
    classic = find(tools, 'bench-classic.exe')
    player = find(tools, 'standin-player.exe')
    setup = os.path.abspath(args.setup) if args.setup else os.path.join(build, 'installer', 'chimewell-setup.exe')
    for need in (minimal, launch_exe, classic, player, setup):
        if not need or not os.path.exists(need):
            sys.exit(f'missing {need}: build first (bash scripts/build.sh, with makensis installed)')

    # The same prefixes as the end-to-end tests, made (or reused) under their lock.
    template = os.path.join(build, 'e2e-prefix-template')
    installed = os.path.join(build, 'bench-prefix-installed' if args.setup else 'e2e-prefix-installed')
    lock = os.path.join(build, '.e2e-template.lock')
    for script, extra in (('make_template.sh', [template]), ('make_installed.sh', [template, setup, installed])):
        subprocess.run(['flock', '-w', '300', lock, 'bash', os.path.join(e2e, script)] + extra, check=True)

    work = tempfile.mkdtemp(prefix='bench-', dir=build)
    prefix = os.path.join(work, 'prefix')
    xvfb = None
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG='-all', WINEDLLOVERRIDES='mscoree,mshtml=')
    try:
        subprocess.run(['cp', '-a', installed, prefix], check=True)
        winamp = os.path.join(prefix, 'drive_c', 'Program Files', 'Winamp')
        os.makedirs(winamp, exist_ok=True)
        shutil.copy(player, os.path.join(winamp, 'Winamp.exe'))
        shutil.copy(minimal, os.path.join(prefix, 'drive_c', 'bench-minimal.exe'))
        shutil.copy(minimal, os.path.join(prefix, 'drive_c', 'bench-twin.exe'))
        shutil.copy(classic, os.path.join(prefix, 'drive_c', 'bench-classic.exe'))

        read, write = os.pipe()
        xvfb = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
                                pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        display = os.read(read, 16).decode().strip()
        os.close(read)
        env['DISPLAY'] = ':' + display

        def fresh_wine():
            # Wine's services and desktop start before either program is timed, and stay: a server that
            # ended between two programs would give the second a desktop of its own.
            subprocess.run(['wineserver', '-k'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(['wineserver', '-w'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(['wineserver', '-p'], env=env, check=True)
            subprocess.run(['wine', 'cmd.exe', '/c', 'ver'], env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=120)

        def launch(window_class, program, arguments):
            """Seconds until the program's window showed, or None."""
            # Into a file, not a pipe: the program started inherits the output and keeps running.
            result = os.path.join(work, 'launch.txt')
            with open(result, 'w') as out:
                done = subprocess.run(['wine', launch_exe, window_class, '60000', program] + arguments, env=env,
                                      stdout=out, stderr=subprocess.DEVNULL, timeout=120)
            with open(result) as f:
                out = f.read().split()
            ms = int(out[0]) if out and out[0].lstrip('-').isdigit() else -1
            if ms < 0:
                print(f'{program}: the launcher said {out or "nothing"} (exit code {done.returncode})', file=sys.stderr)
            return ms / 1000.0 if ms >= 0 else None

        def idle(pids, seconds):
            """CPU seconds of each process over the window, and of each second in it."""
            before = {name: cpu_seconds(pid) for name, pid in pids.items()}
            last, each = dict(before), {name: [] for name in pids}
            start = time.monotonic()
            for tick in range(1, int(seconds) + 1):
                time.sleep(max(0.0, start + tick - time.monotonic()))
                for name, pid in pids.items():
                    now = cpu_seconds(pid)
                    each[name].append(now - last[name])
                    last[name] = now
            return {name: last[name] - before[name] for name in pids}, each

        # Each program is started several times and the median taken: one start varies by tens of
        # milliseconds. Every turn begins with a fresh Wine server, so that no turn inherits the
        # clean-up of the last. The idle window is shared out among the turns: where the scheduler
        # happens to put the two programs and the Wine server moves a ratio by several hundredths from one
        # start to the next, so the turns' parts are summed rather than one start's whole window taken.
        # Chimewell ticks 20 ms past each wall-clock second; the minimal programs are told their moments.
        programs = {'minimal': ('ChimewellBenchMinimal', r'C:\bench-minimal.exe', 'bench-minimal.exe', ['520']),
                    'chimewell': ('ChimewellMain', r'C:\Program Files\Tallowmer\CHWL\CHWLU.EXE', 'CHWLU.EXE', [])}
        times = {name: [] for name in programs}
        cpu = {name: 0.0 for name in programs}
        seconds = {name: [] for name in programs}
        turn_ratios = []
        share = max(1, round(args.seconds / args.starts))
        def start_turn():
            """Both programs started on a fresh Wine server: the seconds until each showed, or None."""
            fresh_wine()
            shown = {}
            for name, (window_class, program, exe, arguments) in programs.items():
                shown[name] = launch(window_class, program, arguments)
                if shown[name] is None:
                    print(f'{name}: no window of class {window_class} showed; Wine processes of the prefix: '
                          + ', '.join(program for _, program in prefix_processes(prefix)), file=sys.stderr)
                    return None
            return shown

        for turn in range(args.starts):
            # A turn whose start showed nothing is begun again once, on a new Wine server, and said.
            shown = start_turn() or start_turn()
            if shown is None:
                sys.exit('no window showed in two tries of the same turn')
            for name, seconds_shown in shown.items():
                times[name].append(seconds_shown)
            # A second copy of the minimal program: how far apart one program comes out from itself here
            # is how far a ratio can be trusted. And the one with the classic controls.
            extra = {'twin': ('bench-twin.exe', '270'), 'classic': ('bench-classic.exe', '770')}
            for exe, phase in extra.values():
                subprocess.Popen(['wine', 'C:\\' + exe, phase], env=env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
            for _ in range(100):
                if all(wine_pids(prefix, exe) for exe, _ in extra.values()):
                    break
                time.sleep(0.1)
            pids = {name: wine_pids(prefix, exe) for name, (_, _, exe, _) in programs.items()}
            pids.update({name: wine_pids(prefix, exe) for name, (exe, _) in extra.items()})
            for name, found in pids.items():
                if len(found) != 1:
                    sys.exit(f'{name}: expected one Wine process, found {found}')
            pids = {name: found[0] for name, found in pids.items()}
            time.sleep(5)  # past the first seconds of the main window
            # Read every second as well: a burst of a few milliseconds now and then (the system's, not
            # the programs') moves a total far more than a typical second.
            used, each = idle(pids, share)
            for name in pids:
                cpu[name] = cpu.get(name, 0.0) + used[name]
                seconds.setdefault(name, [])
                seconds[name] += each[name]
            turn_ratios.append(used['chimewell'] / max(used['minimal'], 1e-6))
        starts = {name: statistics.median(found) for name, found in times.items()}
        memory = {name: rss_anon_kb(pid) for name, pid in pids.items() if name != 'twin'}
    finally:
        subprocess.run(['wineserver', '-k'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)

    print('Side by side in one prefix; the stand-in player installed as the player, not running.')
    print(f"{'':12}{'window shown':>14}{'idle CPU':>16}{'RssAnon':>12}   (window shown: median of {args.starts} starts)")
    for name in ('chimewell', 'minimal'):
        each = ' '.join(f'{t:.2f}' for t in times[name])
        print(f'{name:12}{starts[name]:>12.2f} s{cpu[name]:>10.3f} s/{share * args.starts}s{memory[name] / 1024:>9.1f} MB'
              f'   starts: {each}')
    cpu_ratio = cpu['chimewell'] / max(cpu['minimal'], 1e-6)
    typical = {name: statistics.median(found) for name, found in seconds.items() if name in programs}
    typical_ratio = typical['chimewell'] / max(typical['minimal'], 1e-6)
    memory_ratio = memory['chimewell'] / max(memory['minimal'], 1)
    past = starts['chimewell'] - DESIGNED_WAITS - starts['minimal']
    ok = {'cpu': cpu_ratio <= TARGETS['cpu'], 'memory': memory_ratio <= TARGETS['memory'], 'start': past <= TARGETS['start']}
    mark = {True: 'met', False: 'MISSED'}
    print(f"idle CPU        {cpu_ratio:5.2f} x   (target at most {TARGETS['cpu']} x: {mark[ok['cpu']]})")
    print(f"  each start's {share} s: " + ' '.join(f'{r:.2f}' for r in turn_ratios) +
          f" x (median {statistics.median(turn_ratios):.2f} x)")
    print(f"  a typical second: {typical['chimewell'] * 1000:.2f} ms against {typical['minimal'] * 1000:.2f} ms, "
          f"{typical_ratio:.2f} x (medians of the seconds)")
    twin = statistics.median(seconds['twin']) / max(typical['minimal'], 1e-6)
    print(f"  two copies of the minimal program, a typical second: {twin:.2f} x (what this machine's noise alone gives)")
    print(f"private memory  {memory_ratio:5.2f} x   (target at most {TARGETS['memory']} x: {mark[ok['memory']]})")
    print("against the minimal program with the classic controls (no manifest): "
          f"idle CPU {cpu['chimewell'] / max(cpu['classic'], 1e-6):.2f} x, private memory "
          f"{memory['chimewell'] / max(memory['classic'], 1):.2f} x ({memory['classic'] / 1024:.1f} MB)")
    print(f"window shown    {past:+5.2f} s past {DESIGNED_WAITS:.1f} s of designed waits plus Wine's launch "
          f"(target at most +{TARGETS['start']} s: {mark[ok['start']]})")


if __name__ == '__main__':
    main()
