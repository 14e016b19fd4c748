#!/usr/bin/env python3
"""resident-pages.py FILE: the file offsets of FILE's pages that are in the page cache, one a line
(what fincore counts, page by page)."""
import ctypes, os, sys
libc = ctypes.CDLL(None, use_errno=True)
libc.mmap.restype = ctypes.c_void_p
libc.mmap.argtypes = [ctypes.c_void_p, ctypes.c_size_t, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_long]
libc.mincore.argtypes = [ctypes.c_void_p, ctypes.c_size_t, ctypes.c_char_p]
page = os.sysconf("SC_PAGE_SIZE")
fd = os.open(sys.argv[1], os.O_RDONLY)
size = os.fstat(fd).st_size
if size == 0:
    sys.exit(0)
addr = libc.mmap(None, size, 1, 1, fd, 0)  # PROT_READ, MAP_SHARED: maps, reads nothing
if addr in (None, ctypes.c_void_p(-1).value):
    sys.exit(f"cannot map {sys.argv[1]}")
vec = ctypes.create_string_buffer((size + page - 1) // page)
if libc.mincore(addr, size, vec) != 0:
    sys.exit(f"mincore failed on {sys.argv[1]}")
for i, b in enumerate(vec.raw):
    if b & 1:
        print(i * page)
