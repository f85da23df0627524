#!/usr/bin/env python3
"""How soon after the alarm minute begins does Play reach the player?

Reads the stand-in player's timed logs (CHW_STANDIN_TIMED_LOG; every end-to-end scenario leaves one
in build/win/e2e-artifacts/<case>/standin-timed.log) and prints, for each minute in which Play
(WM_COMMAND 40045) arrived, how far into that minute the first one came. The alarm rings at the start
of its minute, so this is the delay from the minute's start to Play. An alarm that rings late on
purpose (it caught up after a box was closed) shows as late too. Exit status 1 when one is later than
the limit.

Usage: alarm_latency.py [--limit SECONDS] [log ...]   (default: every timed log under build/win/e2e-artifacts)
"""
import argparse
import glob
import os
import sys
from datetime import datetime

PLAY = 'WM_COMMAND 40045 '


def first_plays(path):
    """(minute, seconds into it) of the first Play in each minute of one log."""
    firsts = {}
    with open(path, encoding='utf-8', errors='replace') as f:
        for line in f:
            parts = line.rstrip('\r\n').split(' ', 2)
            if len(parts) < 3 or not (parts[2] + ' ').startswith(PLAY):
                continue
            try:
                at = datetime.strptime(parts[0] + ' ' + parts[1], '%Y-%m-%d %H:%M:%S.%f')
            except ValueError:
                continue
            minute = at.replace(second=0, microsecond=0)
            firsts.setdefault(minute, (at - minute).total_seconds())
    return sorted(firsts.items())


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, '..', '..', 'build', 'win', 'e2e-artifacts', '*', 'standin-timed.log')
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--limit', type=float, default=0.2, help='seconds allowed after the minute begins')
    ap.add_argument('logs', nargs='*')
    args = ap.parse_args()
    logs = args.logs or sorted(glob.glob(default))
    late = found = 0
    for path in logs:
        for minute, delay in first_plays(path):
            found += 1
            mark = '' if delay <= args.limit else '  LATE'
            late += bool(mark)
            print(f'{delay:7.3f} s  {minute:%H:%M}  {os.path.basename(os.path.dirname(path)) or path}{mark}')
    if not found:
        print('no Play found in', len(logs), 'log(s)')
        return 2
    print(f'{found} alarm(s), {late} later than {args.limit:.3f} s')
    return 1 if late else 0


if __name__ == '__main__':
    sys.exit(main())
