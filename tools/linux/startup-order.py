#!/usr/bin/env python3
"""Writes the linker script that lays out what the Linux Autorun's start uses in one run of pages.

    startup-order.py ALIGNED_MAP ALIGNED_PROGRAM PAGES > startup-order.ld
    startup-order.py --check MAP startup-order.ld

Like the Windows launcher's layout (tools/windows/startup-order.py, whose map reading and
staleness check this shares), but for an ELF program started natively: ALIGNED_PROGRAM is the launcher linked with
each function and table on a page of its own (ALIGNED_MAP its map), PAGES the file offsets of its
pages that a cold start without read-ahead read, one decimal number per line; each names the
function or table it starts. The code comes first in the order of the program's sections, then the
read-only tables, the tables that are written only while the program is loaded, and the writable
data, each in front of the output section that would otherwise hold it.
"""
import importlib.util
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location(
    "windows_order", os.path.join(HERE, "..", "windows", "startup-order.py"))
shared = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(shared)

HEADER = """\
/* What Autorun uses from its start until its window shows, in sections of their own that follow
   one another in the file: the code, the read-only tables, the tables written only while the
   program is loaded, and the writable data. Read from a disc page by page as the program runs, it
   comes in a few long reads instead of one read for nearly every function and table. Written by
   tools/linux/trace-startup.sh (make linux-order); a line that a later build no longer matches is
   skipped, and the build stays correct, only slower to start. */"""

# Each kind of input section, the output section it is gathered in and the one that follows it.
KINDS = ((".text", ".stext", ".text"),
         (".rodata", ".srdata", ".rodata"),
         (".data.rel.ro", ".srelro", ".data.rel.ro"),
         (".data", ".sdata", ".data"))
PT_LOAD = 1
MERGED_STRINGS = "*(.rodata.str1.* .rodata.*.str1.*)"


def kind(section_name):
    """The kind of an input section: the longest prefix that names it (.data.rel.ro before .data)."""
    for prefix in sorted((prefix for prefix, _, _ in KINDS), key=len, reverse=True):
        if section_name == prefix or section_name.startswith(prefix + "."):
            return prefix
    return None


def image_addresses(program_path, offsets):
    """The virtual addresses of file offsets of an ELF program."""
    with open(program_path, "rb") as program:
        head = program.read(64)
        if head[:4] != b"\x7fELF" or head[4] != 2:
            sys.exit(f"{program_path} is not a 64-bit ELF file")
        phoff, = struct.unpack_from("<Q", head, 32)
        phentsize, phnum = struct.unpack_from("<HH", head, 54)
        program.seek(phoff)
        table = program.read(phentsize * phnum)
    loads = []
    for index in range(phnum):
        p_type, _, p_offset, p_vaddr, _, p_filesz = struct.unpack_from("<IIQQQQ", table, index * phentsize)
        if p_type == PT_LOAD:
            loads.append((p_offset, p_offset + p_filesz, p_vaddr))
    for offset in offsets:
        for start, end, address in loads:
            if start <= offset < end:
                yield address + offset - start


def output_section(name, before, lines):
    return "\n".join(["SECTIONS", "{", f"  {name} :", "  {"] + [f"    {line}" for line in lines]
                     + ["  }", "}", f"INSERT BEFORE {before};"])


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--check":
        shared.check(sys.argv[2], sys.argv[3], "make linux-order")
        return
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    aligned_map, aligned_program, pages = sys.argv[1:]
    with open(pages) as lines:
        offsets = [int(line) for line in lines]
    placed = shared.read_map(aligned_map)
    # A page names every section on it: the C++ runtime's were not page-aligned.
    used = shared.sections_at(placed, image_addresses(aligned_program, offsets), shared.PAGE)
    names = {shared.pattern(name, path): name for _, _, name, path, _ in placed}
    print(HEADER)
    for prefix, output, before in KINDS:
        lines = [line for line in used if kind(names[line]) == prefix]
        # Large tables last, so that the small ones a start reads whole lie together.
        lines.sort(key=lambda line: used[line][1] > shared.LARGE_TABLE)
        if prefix == ".rodata":
            # The linker merges the string literals of all files into one pool, so a page of it
            # names no one file's strings: the whole pool (a few hundred KiB) goes with the small
            # tables, in front of the large ones.
            small = sum(1 for line in lines if used[line][1] <= shared.LARGE_TABLE)
            lines.insert(small, MERGED_STRINGS)
        if lines:
            print(output_section(output, before, lines))


if __name__ == "__main__":
    main()
