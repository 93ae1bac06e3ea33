#!/usr/bin/env python3
"""Checks that the source folders and their libraries form one direction.

The subsystem folders are listed bottom first in the top-level CMakeLists.txt
(ZOR_SUBSYSTEMS). A folder may include headers of its own and of folders
listed before it, and its library may link only libraries of folders listed
before it. Prints every include or link that points upwards, and any cycle in
the folder include graph, and exits 1 when there is one.
"""
import os
import re
import sys


def subsystem_order(root):
    text = open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8").read()
    m = re.search(r"set\(ZOR_SUBSYSTEMS([^)]*)\)", text)
    if not m:
        sys.exit("ZOR_SUBSYSTEMS not found in CMakeLists.txt")
    return m.group(1).split()


def folder_of(path):
    return os.path.dirname(path).replace(os.sep, "/")


def include_edges(src):
    """(folder, included folder, file, line) for every quoted include."""
    pattern = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
    for dirpath, _, files in os.walk(src):
        for name in files:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(dirpath, name)
            here = folder_of(os.path.relpath(path, src))
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = pattern.match(line)
                    if not m or "/" not in m.group(1):
                        continue
                    there = folder_of(m.group(1))
                    if there != here:
                        yield here, there, os.path.relpath(path, src), number


def library_edges(src, order):
    """(folder, linked folder) for every zor_ library a folder's library links."""
    names = {}
    for folder in order:
        cmake = os.path.join(src, folder, "CMakeLists.txt")
        if os.path.exists(cmake):
            m = re.search(r"zor_add_library\((\w+)", open(cmake, encoding="utf-8").read())
            if m:
                names["zor_" + m.group(1)] = folder
    for folder in order + ["app"]:
        cmake = os.path.join(src, folder, "CMakeLists.txt")
        if not os.path.exists(cmake):
            continue
        text = open(cmake, encoding="utf-8").read()
        for m in re.finditer(r"(?:DEPS|target_link_libraries\([^)]*?PRIVATE)([^)]*)\)", text, re.S):
            for lib in re.findall(r"\bzor_\w+", m.group(1)):
                if lib in names and names[lib] != folder:
                    yield folder, names[lib]


def find_cycle(edges):
    graph = {}
    for a, b in edges:
        graph.setdefault(a, set()).add(b)
    state = {}
    stack = []

    def visit(node):
        state[node] = 1
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt)
                if found:
                    return found
        stack.pop()
        state[node] = 2
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    src = os.path.join(root, "src")
    order = subsystem_order(root)
    rank = {folder: i for i, folder in enumerate(order)}
    rank["app"] = len(order)
    faults = []
    folder_edges = set()
    for here, there, path, number in include_edges(src):
        folder_edges.add((here, there))
        if there not in rank:
            faults.append(f"{path}:{number}: includes from {there}, which is no subsystem folder")
        elif here in rank and rank[there] > rank[here]:
            faults.append(f"{path}:{number}: {here} includes from {there}, which lies above it")
    for here, there in library_edges(src, order):
        if rank[there] > rank[here]:
            faults.append(f"src/{here}/CMakeLists.txt: {here} links {there}, which lies above it")
    cycle = find_cycle(folder_edges)
    if cycle:
        faults.append("folder include cycle: " + " -> ".join(cycle))
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print(f"{len(order)} subsystem folders, {len(folder_edges)} folder include edges, all pointing down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
