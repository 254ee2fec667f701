# SPDX-License-Identifier: GPL-3.0-or-later
# Makes faults from the program's code, for scripts/mutate.sh --generated:
# every fault of a few plain kinds that the lines changed since a revision
# allow, then a sample of them chosen with a fixed seed. Prints one fault a
# line: file, line number, kind, the line as it is and as it becomes, split
# by tabs.
# Usage: python3 faults.py SOURCES REVISION COUNT [SEED]
import random
import re
import subprocess
import sys

FOLDERS = ('panel/', 'catalogue/', 'windows/', 'support/', 'images/', 'main.cpp',
           ':(exclude)images/tools/')

# Operators with a space on each side, as the code is formatted: templates,
# streams and arrows are never taken for comparisons.
FLIPS = {' == ': ' != ', ' != ': ' == ', ' < ': ' >= ', ' >= ': ' < ',
         ' > ': ' <= ', ' <= ': ' > ', ' && ': ' || ', ' || ': ' && '}
NUMBER = re.compile(r'(?<![\w.])(\d+)(?![\w.])')
CALL = re.compile(r'^\s*[\w:]+(?:(?:\.|->)\w+)*\s*\(.*\);\s*$')
NOT_CALLS = ('return', 'if', 'while', 'for', 'switch', 'case', 'delete', 'throw', 'Q_EMIT')
CONDITION = re.compile(r'^(\s*(?:\} else )?(?:if|while) \()(.*)(\)\s*\{?\s*)$')
DECLARATION = re.compile(r'^(const\s+)?[\w:<>]+[\s*&]+\w+\s*=[^=]')
FUNCTION = re.compile(r'^(void|bool) [\w:]+\(.*\)( const)?( override)?$')


def changed_lines(sources, revision):
    """Each program file changed since the revision, with its changed lines."""
    diff = subprocess.run(['git', '-C', sources, 'diff', '-U0', revision, '--', *FOLDERS],
                          capture_output=True, text=True, check=True).stdout
    lines, name = {}, None
    for row in diff.splitlines():
        if row.startswith('+++ '):
            name = row[6:] if row.startswith('+++ b/') else None
            if name and not name.endswith(('.cpp', '.h')):
                name = None
        elif row.startswith('@@') and name:
            start, _, count = re.search(r'\+(\d+)(,(\d+))?', row).groups()
            start, count = int(start), int(count if count is not None else 1)
            lines.setdefault(name, set()).update(range(start, start + count))
    return lines


def code_of(line):
    """The line without its string literals and comment, or None for no code."""
    stripped = line.strip()
    if not stripped or stripped.startswith(('//', '#', '*', '/*')):
        return None
    without = re.sub(r'"(\\.|[^"\\])*"|\'(\\.|[^\'\\])*\'', '""', line)
    return without.split('//')[0]


def faults_in(name, text, wanted):
    rows = text.split('\n')
    for number in sorted(wanted):
        if number > len(rows):
            continue
        line = rows[number - 1]
        code = code_of(line)
        if code is None:
            continue
        if 'static_assert' in code or 'constexpr' in code and '=' not in code:
            continue
        for old, new in FLIPS.items():
            at = code.find(old)
            if at >= 0 and line.count(old) == 1 and code.count(old) == 1:
                kind = 'swap' if old.strip() in ('&&', '||') else 'compare'
                yield name, number, kind, line, line.replace(old, new)
        match = CONDITION.match(line)
        # A condition that declares its variable cannot be negated whole.
        if match and match.group(2).count('(') == match.group(2).count(')') \
                and not DECLARATION.match(match.group(2)):
            yield name, number, 'negate', line, f'{match.group(1)}!({match.group(2)}){match.group(3)}'
        if CALL.match(code) and not code.strip().startswith(NOT_CALLS) and ' = ' not in code \
                and not rows[number - 2].rstrip().endswith((',', '(', '=', '?', ':')):
            yield name, number, 'drop', line, re.match(r'^\s*', line).group(0) + ';'
        numbers = list(NUMBER.finditer(code))
        pure = re.search(r'\)( const)? = 0;', code)
        if len(numbers) == 1 and not pure and line.count(numbers[0].group(1)) == 1 and '[' not in code:
            value = numbers[0].group(1)
            yield name, number, 'constant', line, line.replace(value, str(int(value) + 1))
        if FUNCTION.match(line) and number < len(rows) and rows[number].strip() == '{':
            early = 'return;' if line.startswith('void') else 'return false;'
            yield name, number + 1, 'return', rows[number], rows[number] + ' ' + early


def main():
    sources, revision, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else 25
    every = []
    for name, wanted in sorted(changed_lines(sources, revision).items()):
        with open(f'{sources}/{name}', encoding='utf-8') as source:
            text = source.read()
        # A function's opening brace counts with its changed signature.
        every.extend(faults_in(name, text, wanted | {n + 1 for n in wanted}))
    chosen = random.Random(seed).sample(every, min(count, len(every)))
    for name, number, kind, old, new in sorted(chosen, key=lambda f: (f[0], f[1], f[2])):
        print(f'{name}\t{number}\t{kind}\t{old}\t{new}')


main()
