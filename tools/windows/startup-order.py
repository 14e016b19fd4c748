#!/usr/bin/env python3
"""Writes the linker script that lays out what Autorun.exe's start uses in one run of pages.

    startup-order.py MAP CODE_ADDRESSES ALIGNED_MAP ALIGNED_EXE PAGES > startup-order.ld
    startup-order.py --check MAP startup-order.ld

The linker otherwise sorts the sections of the static libraries by name, which scatters the few
thousand functions and tables a start uses over the whole program: read from a disc page by page,
that costs several times what they weigh. The script gathers them in sections of their own.

- MAP is the linker's map of the Autorun.exe that was traced in an emulator, CODE_ADDRESSES the
  addresses of the code it ran, one hexadecimal number per line, in the order it first ran them.
- ALIGNED_EXE is the same program linked with each function and table on a page of its own
  (ALIGNED_MAP its map), PAGES the file offsets of its pages that a start on this machine read,
  one decimal number per line: each names the one function or table it starts.

The code comes in the order the emulator first ran it, followed by what only this machine ran;
the tables follow the code.

--check fails when the program of MAP has lost more than a tenth of the sections the script
names: its start reads much more from a disc than it needs, and the script wants writing again.
"""
import bisect
import re
import struct
import sys

INPUT_SECTION = re.compile(r"^ (\.\S+)(?:\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.+))?$")
PLACEMENT = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.+)$")
MEMBER = re.compile(r"^(.*/)?([^/(]+)\(([^)]+)\)$")
FAMILIES = (".text", ".rdata", ".rodata", ".data")  # .rodata: ELF (tools/linux/startup-order.py)
LARGE_TABLE = 16 * 1024
STALE = 0.1
ORDERED = (".stext", ".sdata", ".srdata", ".srelro")
PAGE = 4096
HEADER = """\
/* What Autorun.exe uses from its start until its window shows, in sections of their own that
   follow one another in the file: the code, in the order it first runs, then the writable and the
   read-only data. Read from a disc page by page as the program runs, it comes in a few long reads
   instead of one read for nearly every function and table. Written by tools/windows/
   trace-startup.sh (make windows-order); a line that a later build no longer matches is skipped,
   and the build stays correct, only slower to start. */"""


def placed_sections(map_lines):
    """The input sections the map places in code and data output sections, by address:
    (start, end, section name, file, output section name)."""
    sections = []
    in_map = False
    output = pending = None
    for line in map_lines:
        line = line.rstrip("\n")
        if not in_map:
            in_map = line.startswith("Linker script and memory map")
            continue
        if line.startswith("."):
            output = line.split()[0]
            continue
        if pending:
            placed = PLACEMENT.match(line)
            if placed:
                sections.append((int(placed[1], 16), int(placed[2], 16), pending, placed[3], output))
            pending = None
            continue
        found = INPUT_SECTION.match(line)
        if not found or family(found[1]) is None:
            continue
        if found[2] is None:
            pending = found[1]
        else:
            sections.append((int(found[2], 16), int(found[3], 16), found[1], found[4], output))
    return sorted((start, start + size, name, path, output)
                  for start, size, name, path, output in sections if size > 0 and start > 0)


def family(section_name):
    """.text, .rdata (.rodata) or .data for the input sections that go into those output sections."""
    base = "." + re.split(r"[$.]", section_name[1:], maxsplit=1)[0]
    return base if base in FAMILIES else None


def pattern(name, path):
    """The script's line that selects this one input section. It names the file too: sections of
    static functions and tables have the same name in every file that has one."""
    member = MEMBER.match(path)
    if member:
        return f"*{wildcard(member[2])}:{wildcard(member[3])}({name})"
    return f"*{wildcard(path.rsplit('/', 1)[-1])}({name})"


def wildcard(file_name):
    """A file name as a script token: characters the script language reserves match any."""
    return re.sub(r"[^A-Za-z0-9_.\-]", "?", file_name)


def sections_at(sections, addresses, span=1):
    """The sections that hold any of the spans starting at the addresses, each once, in the order
    of its first address: {script line: (family, size)}."""
    starts = [section[0] for section in sections]
    found = {}
    for address in addresses:
        first = max(bisect.bisect_right(starts, address) - 1, 0)
        last = bisect.bisect_left(starts, address + span)
        for start, end, name, path, _ in sections[first:last]:
            if start < address + span and address < end:
                found.setdefault(pattern(name, path), (family(name), end - start))
    return found


def image_addresses(exe_path, offsets):
    """The virtual addresses of file offsets of a PE image."""
    with open(exe_path, "rb") as exe:
        head = exe.read(4096)
    pe = struct.unpack_from("<I", head, 0x3C)[0]
    count = struct.unpack_from("<H", head, pe + 6)[0]
    optional_size = struct.unpack_from("<H", head, pe + 20)[0]
    image_base = struct.unpack_from("<Q", head, pe + 24 + 24)[0]
    table = pe + 24 + optional_size
    ranges = []
    for index in range(count):
        size, address, raw_size, raw_start = struct.unpack_from("<IIII", head, table + 40 * index + 8)
        ranges.append((raw_start, raw_start + min(size, raw_size), image_base + address))
    for offset in offsets:
        for raw_start, raw_end, address in ranges:
            if raw_start <= offset < raw_end:
                yield address + offset - raw_start


def output_section(name, insert, lines):
    return "\n".join(["SECTIONS", "{", f"  {name} BLOCK(__section_alignment__) :", "  {"]
                     + [f"    {line}" for line in lines] + ["  }", "}", f"INSERT {insert};"])


def read_map(path):
    with open(path, encoding="utf-8", errors="replace") as lines:
        return placed_sections(lines)


def check(map_path, order_path, remedy="make windows-order"):
    with open(order_path) as order:
        named = {line.strip() for line in order if line.startswith("    *")}
    placed = {pattern(name, path) for _, _, name, path, output in read_map(map_path) if output in ORDERED}
    print(f"{len(named & placed)} of the {len(named)} sections that {order_path} names are in their place")
    if len(named & placed) < len(named) * (1 - STALE):
        sys.exit(f"the start-up order is out of date: {remedy} (as root) writes it anew")


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--check":
        check(sys.argv[2], sys.argv[3])
        return
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    code_map, code_addresses, aligned_map, aligned_exe, pages = sys.argv[1:]
    with open(code_addresses) as lines:
        ran = sections_at(read_map(code_map), (int(line.strip("/\n"), 16) for line in lines))
    with open(pages) as lines:
        offsets = [int(line) for line in lines]
    # A page names every section on it: the system's own libraries were not page-aligned.
    used = sections_at(read_map(aligned_map), image_addresses(aligned_exe, offsets), PAGE)
    used_first = {**ran, **used}  # the emulator's order first
    code = [line for line, (kind, _) in used_first.items() if kind == ".text"]

    def tables(kind):
        # Large tables last, so that the small ones a start reads whole lie together; of a large
        # table the start reads only the pages it uses, wherever it lies.
        return sorted((line for line, (of, _) in used.items() if of == kind),
                      key=lambda line: used[line][1] > LARGE_TABLE)
    print(HEADER)
    # One run: the code, the writable data (the image's next section), the read-only data.
    print(output_section(ORDERED[0], "AFTER .text", code))
    print(output_section(ORDERED[1], "AFTER .data", tables(".data")))
    print(output_section(ORDERED[2], "BEFORE .rdata", tables(".rdata")))


if __name__ == "__main__":
    main()
