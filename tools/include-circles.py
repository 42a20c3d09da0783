#!/usr/bin/env python3
"""Lists the include circles of the source tree: the strongly connected components of the graph that the
`#include "..."` lines make. A header and its source count as one unit (CSerialPort.h with CSerialPort.cpp),
so A.cpp including B.h while B.cpp includes A.h is a circle. A name resolves as the compiler finds a quoted
include: the including file's folder first, then the -I folders that CMake gives the translation units of
that folder (compile_commands.json of a configured build), then any -I folder of the build (a test header
shared by several test programs).

    tools/include-circles.py [source root] [compile_commands.json] [--folders] [--files] [-v]

--folders also lists the circles between folders, --files takes every file as a unit of its own, -v names
the quoted includes that did not resolve to a file of the tree. Exits 1 when a circle joins units of
different folders."""
import json
import os
import re
import sys
from collections import defaultdict

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCES = ('.h', '.hpp', '.cpp', '.cc', '.c')


def include_dirs(root, commands):
    """-I folders inside the tree, per folder of translation units, and all of them in first-seen order."""
    per_folder = defaultdict(list)
    every = []
    for entry in commands:
        args = entry.get('arguments') or entry['command'].split()
        found = []
        for i, a in enumerate(args):
            if a == '-I' and i + 1 < len(args):
                found.append(args[i + 1])
            elif a.startswith('-I') and len(a) > 2:
                found.append(a[2:])
        found = [os.path.normpath(os.path.join(entry['directory'], d)) for d in found]
        found = [d for d in found if d.startswith(root + os.sep) and os.sep + 'build' + os.sep not in d]
        folder = os.path.dirname(os.path.normpath(os.path.join(entry['directory'], entry['file'])))
        for d in found:
            if d not in per_folder[folder]:
                per_folder[folder].append(d)
            if d not in every:
                every.append(d)
    return per_folder, every


def file_graph(root, per_folder, every):
    files = []
    for folder, subfolders, names in os.walk(root):
        subfolders[:] = [n for n in subfolders
                         if not n.startswith('.') and not (folder == root and n == 'build')]
        files += [os.path.join(folder, n) for n in names if n.endswith(SOURCES)]
    graph, unresolved = {}, []
    for f in files:
        folder = os.path.dirname(f)
        search = [folder] + per_folder.get(folder, []) + every
        edges = set()
        with open(f, errors='replace') as text:
            for line in text:
                m = INCLUDE.match(line)
                if not m:
                    continue
                for d in search:
                    target = os.path.normpath(os.path.join(d, m.group(1)))
                    if os.path.isfile(target):
                        edges.add(target)
                        break
                else:
                    unresolved.append((f, m.group(1)))
        graph[f] = edges
    return graph, unresolved


def unit_graph(graph):
    units = defaultdict(set)
    for f, edges in graph.items():
        unit = os.path.splitext(f)[0]
        units[unit] |= {os.path.splitext(w)[0] for w in edges}
        units[unit].discard(unit)
    return dict(units)


def circles(graph):
    """Strongly connected components of more than one node (Tarjan, without recursion), each sorted."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    for start in graph:
        if start in index:
            continue
        index[start] = low[start] = len(index)
        stack.append(start)
        on_stack.add(start)
        work = [(start, iter(sorted(graph[start])))]
        while work:
            v, successors = work[-1]
            for w in successors:
                if w not in graph:
                    continue
                if w not in index:
                    index[w] = low[w] = len(index)
                    stack.append(w)
                    on_stack.add(w)
                    work.append((w, iter(sorted(graph[w]))))
                    break
                if w in on_stack:
                    low[v] = min(low[v], index[w])
            else:
                work.pop()
                if work:
                    low[work[-1][0]] = min(low[work[-1][0]], low[v])
                if low[v] == index[v]:
                    component = []
                    while True:
                        w = stack.pop()
                        on_stack.discard(w)
                        component.append(w)
                        if w == v:
                            break
                    if len(component) > 1:
                        found.append(sorted(component))
    return sorted(found, key=lambda c: (-len(c), c))


def main():
    positional = [a for a in sys.argv[1:] if not a.startswith('-')]
    root = os.path.abspath(positional[0] if positional else '.')
    commands = positional[1] if len(positional) > 1 else os.path.join(root, 'build/release/compile_commands.json')
    with open(commands) as f:
        per_folder, every = include_dirs(root, json.load(f))
    graph, unresolved = file_graph(root, per_folder, every)
    if '--files' not in sys.argv:
        graph = unit_graph(graph)

    def rel(p):
        return os.path.relpath(p, root)

    def folder(p):
        return rel(os.path.dirname(p))

    print(f'{len(graph)} units, {sum(len(e) for e in graph.values())} include edges, '
          f'{len(unresolved)} quoted includes not resolved to a file of the tree')
    across = 0
    found = circles(graph)
    for component in found:
        folders = sorted({folder(u) for u in component})
        across += len(folders) > 1
        kind = 'ACROSS FOLDERS' if len(folders) > 1 else 'one folder'
        print(f'\ncircle of {len(component)} units, {kind} ({", ".join(folders)}):')
        members = set(component)
        for u in component:
            print(f'  {rel(u)} -> {", ".join(sorted(rel(w) for w in graph[u] if w in members))}')
    print(f'\n{len(found)} circles, {across} of them across folders')

    if '--folders' in sys.argv:
        folders = defaultdict(set)
        for u, edges in graph.items():
            folders[folder(u)] |= {folder(w) for w in edges} - {folder(u)}
        found = circles(dict(folders))
        print(f'\n{len(found)} circles between folders')
        for component in found:
            members = set(component)
            print('  ' + '; '.join(f'{f} -> {", ".join(sorted(folders[f] & members))}' for f in component))
    if '-v' in sys.argv:
        for f, name in unresolved:
            print(f'not resolved: {rel(f)}: "{name}"')
    return 1 if across else 0


if __name__ == '__main__':
    sys.exit(main())
