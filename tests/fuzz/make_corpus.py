#!/usr/bin/env python3
"""Writes the fuzz harnesses' seed corpora under tests/fuzz/corpus/<name>/.

Seeds are small, well-formed examples of each input (plus a few near misses), so that the fuzzers
start from the shapes real discs hold. JPEG seeds need cjpeg (libjpeg-turbo-progs). Run from
anywhere; existing seed files of the same names are replaced.
"""
import os
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def write(harness, name, data):
    folder = os.path.join(HERE, "corpus", harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- avi: the layout of an ordinary two-stream movie (main header, video list, audio list).
def avi(width=640, height=272, codec=b"XVID", extra_main=0, audio_tag=85, riff=734003200):
    b = bytearray()
    b += b"RIFF" + struct.pack("<I", riff) + b"AVI "
    b += b"LIST" + struct.pack("<I", 0) + b"hdrl"
    b += b"avih" + struct.pack("<I", 56 + extra_main)
    b += struct.pack("<i", 41708) + bytes(12) + struct.pack("<i", 134100) + bytes(12)
    b += struct.pack("<ii", width, height) + bytes(16 + extra_main)
    b += b"LIST" + struct.pack("<I", 4 + 8 + 56 + 8 + 40) + b"strl"
    b += b"strh" + struct.pack("<I", 56) + b"vids" + codec[:4] + bytes(48)
    b += b"strf" + struct.pack("<I", 40) + bytes(40)
    b += b"LIST" + struct.pack("<I", 4 + 8 + 56 + 8 + 18) + b"strl"
    b += b"strh" + struct.pack("<I", 56) + b"auds" + bytes(52)
    b += b"strf" + struct.pack("<I", 18) + struct.pack("<HHii", audio_tag, 2, 48000, 16000) + bytes(6)
    return bytes(b)


def avi_seeds():
    write("avi", "standard_xvid.avi", avi())
    write("avi", "divx_ac3_wide.avi", avi(720, 304, b"DX50", audio_tag=0x2000))
    # A main header so long that the stream lists lie beyond the first 4096-byte block.
    write("avi", "streams_beyond_head_block.avi", avi(extra_main=4100))
    write("avi", "truncated_in_video_list.avi", avi()[:120])
    write("avi", "riff_wave_not_avi.wav", b"RIFF" + struct.pack("<I", 36) + b"WAVEfmt " + bytes(24))


# --- jpeg: tiny pictures in the encodings the decoder must take.
def jpeg_seeds():
    width, height = 16, 8
    ppm = b"P6\n%d %d\n255\n" % (width, height) + b"".join(
        bytes((x * 16 % 256, y * 32 % 256, (x + y) * 8 % 256)) for y in range(height) for x in range(width))
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "in.ppm")
        with open(source, "wb") as f:
            f.write(ppm)
        variants = {
            "baseline.jpg": ["-quality", "50"],
            "progressive.jpg": ["-quality", "50", "-progressive"],
            "grayscale.jpg": ["-quality", "50", "-grayscale"],
            "restart_optimized.jpg": ["-quality", "50", "-optimize", "-restart", "1"],
            "arithmetic.jpg": ["-quality", "50", "-arithmetic"],
        }
        for name, options in variants.items():
            data = subprocess.run(["cjpeg", *options, source], check=True, capture_output=True).stdout
            write("jpeg", name, data)
            if name == "baseline.jpg":
                write("jpeg", "baseline_without_end_marker.jpg", data[:-2])
            if name == "progressive.jpg":
                write("jpeg", "over_500_scans.jpg", repeat_last_scan(data, 510))
        # Adobe-marked YCCK, the form CMYK posters come in (ImageMagick, when present).
        cmyk = os.path.join(tmp, "cmyk.jpg")
        if subprocess.run(["convert", source, "-colorspace", "CMYK", "-quality", "50", cmyk],
                          capture_output=True).returncode == 0:
            with open(cmyk, "rb") as f:
                write("jpeg", "adobe_ycck.jpg", f.read())


def repeat_last_scan(jpeg, times):
    """The file with its last scan (SOS header and data) repeated: a file of many tiny scans."""
    start = jpeg.rindex(b"\xff\xda")
    end = len(jpeg) - 2  # the EOI marker
    return jpeg[:start] + jpeg[start:end] * times + jpeg[end:]


# --- bmp: the header forms and pixel formats a poster may come in.
def bmp(width, height, bpp, pixels, palette=b"", compression=0, info=40, top_down=False):
    if info == 12:
        header = struct.pack("<IHHHH", 12, width, height, 1, bpp)
    else:
        header = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bpp,
                             compression, len(pixels), 2835, 2835, len(palette) // 4, 0)
    offset = 14 + len(header) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + palette + pixels


def bmp_seeds():
    rgb = b"".join(bytes((x * 60, y * 80, 200)) for y in range(3) for x in range(4))  # 12-byte rows
    write("bmp", "rgb24_4x3.bmp", bmp(4, 3, 24, rgb))
    write("bmp", "rgb32_top_down_2x2.bmp", bmp(2, 2, 32, bytes(range(16)), top_down=True))
    gray = b"".join(bytes((i, i, i, 0)) for i in range(0, 256, 64))
    write("bmp", "pal8_4x4.bmp", bmp(4, 4, 8, bytes([0, 1, 2, 3] * 4), gray))
    write("bmp", "rle8_4x4.bmp", bmp(4, 4, 8, bytes([4, 1, 0, 0, 4, 2, 0, 0, 4, 3, 0, 0, 4, 0, 0, 1]),
                                     gray, compression=1))
    write("bmp", "mono_8x2.bmp", bmp(8, 2, 1, bytes([0xA5, 0, 0, 0, 0x5A, 0, 0, 0]),
                                     bytes((0, 0, 0, 0, 255, 255, 255, 0))))
    write("bmp", "os2_header_2x2.bmp", bmp(2, 2, 24, bytes(16), info=12))


# --- ini: three length-prefixed fields (section, key, value), then the file's content.
def ini_input(section, key, value, content):
    out = b""
    for field in (section, key, value):
        out += bytes([len(field)]) + field
    return out + content


def ini_seeds():
    vplayer = (b"[General]\r\nLanguage=English\r\n\r\n[Autorun]\r\nFileNameMovie=Old.avi\r\n"
               b"FileNameSubtitles=Old.srt\r\n\r\n[Zorvalin]\r\nParam= /A /F /P41\r\nFilmname=\"Heat\"\r\n")
    write("ini", "vplayer_replace_movie.bin",
          ini_input(b"Autorun", b"FileNameMovie", b"Heat.1995.DVDRip.avi", vplayer))
    write("ini", "vplayer_add_key.bin", ini_input(b"autorun", b"FileNameSubtitles2", b"Heat.srt", vplayer))
    bplay = b"[Movie]\nFName=a.avi\nDirectory=.\n; comment\n\n[Subtitles]\nSub1 = x.srt\n"
    write("ini", "bplay_lf_new_section.bin", ini_input(b"Extra", b"Key", b"value with blanks ", bplay))
    write("ini", "no_final_break.bin", ini_input(b"Movie", b"Directory", b".", b"[Movie]\rFName=b.avi"))
    write("ini", "empty_file_quoted_value.bin", ini_input(b"Subtitles", b"Sub1", b"'quoted name.srt'", b""))
    # What the system's profile functions read otherwise than a plain reading: blanks inside the
    # brackets, a second ']', form feed and vertical tab, a key line without '=', NUL bytes.
    odd = (b"[ Movie\t]\r\n\x0cFName\r\nFName=b.avi\r\n[Zorvalin]]\r\nFilmname=x\r\n"
           b"[Zorvalin\x00x]\r\nFilmname\x0b=Das\x00Boot\r\n")
    write("ini", "profile_functions_reading.bin", ini_input(b"Movie", b"FName", b"Film.avi", odd))
    write("ini", "nul_in_key_name.bin", ini_input(b"Zorvalin", b"Filmname", b"Das Boot", odd))
    write("ini", "line_break_in_value.bin", ini_input(b"Movie", b"FName", b"Fi\nlm.avi", odd))


# --- title: movie file names as discs carry them (the harness adds ".avi").
def title_seeds():
    names = {
        "matrix.txt": b"The.Matrix.1999.DVDRip.XviD-DEMON",
        "film.txt": b"film",
        "oceans.txt": b"Ocean's.Eleven.CD1.DivX",
        "beautiful_mind.txt": b"A.Beautiful.Mind.cd 2.(2001)[dvdscr]",
        "amelie_cp1254.txt": b"Am\xe9lie_(2001)_{TS}",
        "amelie_utf8.txt": b"Am\xc3\xa9lie.2001.dvd",
        "an_american.txt": b"an american werewolf in london 1981 divx - ita",
    }
    for name, text in names.items():
        write("title", name, text)


# --- params: four length-prefixed fields (program, directory prefix, movie, subtitle), two frame
# bytes, then free text for the quoting check.
def params_input(program, prefix, movie, subtitle, width=91, height=91, rest=b""):
    out = b""
    for field in (program, prefix, movie, subtitle):
        out += bytes([len(field)]) + field
    return out + bytes([width, height]) + rest


def params_seeds():
    write("params", "vplayer_matching.bin",
          params_input(b"D:\\Players\\VPLAYER.EXE", b"D:\\\\", b"Film.avi", b"Film.srt"))
    write("params", "bplay_blanks.bin",
          params_input(b"c:/tools/bplay.exe", b"/media/My Disc/", b"Heat 1995.avi", b"Heat 1995.sub", 20, 5))
    write("params", "other_quotes.bin",
          params_input(b"/usr/bin/mpv", b"C:\\dir\\", b'odd "name" \\.avi', b"", 0, 0, b'a\\\\"b c\\'))
    write("params", "vplayer_empty_subtitle.bin",
          params_input(b"myvplayer.exe", b"", b"Film.avi", b"x", 200, 1, b"\t\"\" \\\\\\\""))


# --- notes: release notes in the encodings found on discs.
def notes_seeds():
    box = bytes([0xC9]) + bytes([0xCD]) * 20 + bytes([0xBB])
    write("notes", "cp437_box.nfo", box + b"\r\n\xba  Release: Heat   \xba\r\n" + bytes([0xC8, 0xCD, 0xBC]) + b"\r\n")
    write("notes", "utf8_bom_lf.nfo", b"\xef\xbb\xbfGr\xc3\xbc\xc3\x9fe \xe2\x94\x80 notes\nline 2\n")
    write("notes", "mixed_breaks_nul.txt", b"one\rtwo\r\nthree\n\nfour\x00hidden\r\n")
    write("notes", "cp1252_quotes.txt", b"\x93Quoted\x94 \x80 5\r\nCaf\xe9")
    write("notes", "utf8_edges.txt", b"\xf0\x9f\x8e\xac \xed\x9f\xbf \xf4\x8f\xbf\xbf \xe0\xa0\x80")


if __name__ == "__main__":
    avi_seeds()
    jpeg_seeds()
    bmp_seeds()
    ini_seeds()
    title_seeds()
    params_seeds()
    notes_seeds()
