#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz harnesses into fuzz/corpus/<harness>/.

Every seed is small: valid files of each format and the edge cases the readers must refuse or
survive. Multi-file harnesses take their files joined by the part separator of fuzz_input.h.
Usage: fuzz/make_corpus.py   (rewrites the seeds; the crash inputs kept as regressions stay)
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SEP = b"@@DW@@"


def sjis(text):
    return text.encode("cp932")


def write(harness, name, data):
    folder = os.path.join(HERE, "corpus", harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def u16(v):
    return struct.pack("<H", v & 0xFFFF)


def counted(records):
    return u16(len(records)) + b"".join(records)


def l_date(starts):
    return counted([bytes([10, 8, 13, 4]) + u16(s) for s in starts])


def l_daytop(days):
    return counted([u16(f) + u16(c) for f, c in days])


def check_file(slots, capacity):
    body = b"".join(u16(c) + bytes([fl, col]) for c, fl, col in slots)
    body += b"\xff\xff\x00\xff" * (capacity - len(slots))
    return u16(len(slots)) + body


def memo_file(memos):
    n = len(memos)
    data = bytearray(2 + 162 * n)
    data[0:2] = u16(n)
    for i, m in enumerate(memos):
        m = m[:159]
        data[2 + 160 * i: 2 + 160 * i + len(m)] = m
    return bytes(data)


def purchase_file(n, filled):
    data = bytearray(2 + 40 * n)
    data[0:2] = u16(n)
    for record, slot, kind, qty, price in filled:
        at = 2 + 40 * record + 4 * slot
        data[at:at + 4] = bytes([kind, qty]) + u16(price)
    return bytes(data)


def def_dat(event):
    return u16(event) + b"\0" * 60


def csv_record(circle, colour, page, memo=b""):
    fields = [b""] * 19
    fields[0], fields[1], fields[2], fields[17] = circle, colour, page, memo
    return b"".join(f + b"," for f in fields) + b"\r\n"


HEADER = b"PELORIN,100,Quorvatelle77,Windows\r\n"


def d_full_line(number, cells):
    return b"\t".join([str(number).encode()] + cells)


def d_full(first, count):
    lines = []
    for i in range(count):
        cells = [sjis("名前%d" % i), sjis("ｶﾅ"), str(2 + i // 4).encode(), str(i % 4 + 1).encode(), b"1",
                 sjis("東"), sjis("Ａ"), b"%02d" % (i + 1), b"100", sjis("作者"), b"", b"http://x/", b"a@x",
                 sjis("新刊"), sjis("説明"), b""]
        lines.append(d_full_line(first + i, cells))
    return b"".join(line + b"\r\n" for line in lines)


def csv_seeds():
    h = "checklist_csv"
    write(h, "records.csv", HEADER + csv_record(b"10", b"3", b"2", sjis("メモ\\nです")) + csv_record(b"11", b"", b"8"))
    write(h, "quoted.csv", HEADER + b'"12","1","2",,,,,,,,,,,,,,,"a ""b"", c\\N",,\r\n')
    write(h, "unclosed_quote.csv", HEADER + b'"13,1,2\r\n"\r\n')
    write(h, "lone_cr_and_eof.csv", HEADER + b"14,2,3\r15,2,3\n\n,,,,\r\n16,1,1\x1aafter,1,1\r\n")
    # 0x5C as the trail byte of ソ, then a real \n; and a lead byte at the very end of the line.
    write(h, "sjis_trail.csv", HEADER + csv_record(b"17", b"1", b"2", b"\x83\x5c\x5cn\x83\x5cn") + b"18,1,2,\x83")
    write(h, "blank_tag.csv", b" PELORIN,100\r\n19,1,2\r\n")
    write(h, "short_lines.csv", HEADER + b"20\r\n21,\r\n22,1\r\n-1,1,2\r\n")


def d_full_seeds():
    h = "circle_data_load"
    write(h, "day1.dat", d_full(0, 4))
    write(h, "lf_only.dat", d_full(100, 2).replace(b"\r\n", b"\n"))
    write(h, "lead_byte_end.dat", b"5\ta\x83\r\n6\t\x81\t\r\n")
    write(h, "bad_field0.dat", b"7 \ta\r\n")
    write(h, "empty_line.dat", b"8\ta\r\n\r\n")
    write(h, "lone_cr.dat", b"9\ta\rb\r\n-2147483648\tx\r\n2147483647\ty")


def check_file_seeds():
    h = "check_files"
    write(h, "check_empty.dat", check_file([], 6))
    write(h, "check_used.dat", check_file([(1, 1, 3), (2, 9, 0), (65535, 8, 255)], 5))
    write(h, "check_count_too_big.dat", u16(40) + b"\x01\x00\x01\x01")
    write(h, "memo.dat", memo_file([b"abc", sjis("訪問済"), b"x" * 170]))
    write(h, "purchase.dat", purchase_file(3, [(0, 0, 1, 2, 50), (1, 9, 7, 255, 65535), (2, 4, 11, 1, 1)]))
    write(h, "purchase_short.dat", u16(3) + b"\0" * 50)
    write(h, "one_byte.dat", b"\x05")


def workspace_table_seeds():
    h = "workspace_tables"
    write(h, "l_date.dat", l_date([2, 8, 14]))
    write(h, "l_daytop.dat", l_daytop([(0, 36), (36, 36), (72, 36)]))
    write(h, "def.dat", def_dat(77))
    write(h, "count_beyond_end.dat", u16(9) + b"\0" * 20)
    write(h, "odd_tail.dat", l_date([1]) + b"\x07")
    write(h, "one_byte.dat", b"\x4e")


def import_seeds():
    h = "import_job"
    ws = [l_date([2, 8, 14]), l_daytop([(0, 36), (36, 36), (72, 36)])]

    def job(csv, tables=ws):
        return SEP.join([csv] + tables)

    write(h, "three_days.bin", job(HEADER + csv_record(b"1", b"2", b"2", b"a\\nb") + csv_record(b"40", b"0", b"9", b"m")
                                   + csv_record(b"80", b"9", b"14") + csv_record(b"-1", b"1", b"2")))
    write(h, "header_only.bin", job(HEADER))
    write(h, "not_ver1.bin", job(b"pelorin,100\r\n1,1,2\r\n"))
    write(h, "outside_range.bin", job(HEADER + csv_record(b"500", b"1", b"2", b"far") + csv_record(b"3", b"1", b"")))
    write(h, "bad_page.bin", job(HEADER + csv_record(b"1", b"1", b"x")))
    write(h, "daytop_short.bin", job(HEADER + csv_record(b"1", b"1", b"2"), [l_date([2, 8]), l_daytop([(0, 36)])]))
    write(h, "no_tables.bin", HEADER + csv_record(b"1", b"1", b"2"))
    write(h, "truncated_date.bin", job(HEADER, [l_date([2, 8, 14])[:9], l_daytop([(0, 1)])]))


def export_seeds():
    h = "export_job"
    day1, day2 = d_full(0, 4), d_full(4, 3)
    tables = [def_dat(77), l_daytop([(0, 4), (4, 3)])]
    check1 = check_file([(1, 1, 3), (2, 8, 0), (3, 9, 12), (99, 1, 1)], 8)
    buy1 = purchase_file(4, [(1, 0, 1, 2, 50), (2, 3, 2, 3, 0), (3, 9, 0, 1, 30)])
    check2 = check_file([(4, 8, 5), (6, 1, 255)], 4)
    buy2 = purchase_file(3, [(2, 5, 7, 1, 100)])
    write(h, "two_days.bin", SEP.join([day1] + tables + [check1, buy1, day2, check2, buy2]))
    write(h, "one_day.bin", SEP.join([day1] + tables + [check1, buy1]))
    write(h, "check_beyond_day.bin", SEP.join([day1, def_dat(300), l_daytop([(2, 1)]), check_file([(0, 8, 1), (3, 0, 0)], 2),
                                               purchase_file(1, [(0, 0, 4, 1, 10)])]))
    write(h, "short_purchase.bin", SEP.join([day1] + tables + [check1, u16(4) + b"\0" * 10]))
    write(h, "no_day_files.bin", SEP.join([b""] + tables))
    write(h, "bad_d_full.bin", SEP.join([b"x\ty\r\n"] + tables + [check1, buy1]))


def table_file_seeds():
    h = "table_files"
    block = counted([sjis(c) for c in "ＡＢあ"])
    page = counted([u16(2) + u16(0), u16(3) + u16(2), u16(4) + u16(3)])
    genre = counted([u16(0) + sjis("未設定").ljust(40, b"\0"), u16(100) + sjis("創作").ljust(40, b"\0")])
    maps = counted([b"E123".ljust(10, b"\0") + sjis("東123").ljust(10, b"\0"),
                    b"W12".ljust(10, b"\0") + sjis("西12").ljust(10, b"\0")])
    area = counted([sjis("東A").ljust(10, b"\0"), sjis("西あ").ljust(10, b"\0")])
    write(h, "sample.bin", SEP.join([block, page, genre, maps, area]))
    write(h, "empty_tables.bin", SEP.join([u16(0)] * 5))
    write(h, "counts_beyond_end.bin", SEP.join([u16(300) + block[2:], u16(9) + page[2:], u16(5), u16(3) + maps[2:22], b"\x01"]))
    write(h, "blank_names.bin", SEP.join([counted([b"  ", b"\0\0", sjis("Ａ")]), page, genre, counted([b"\0" * 20]), counted([b" " * 10])]))
    write(h, "missing_files.bin", block)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(width, height, depth, colour, rows, interlace=0, extra=b"", filters=None):
    raw = b"".join(bytes([filters[i] if filters else 0]) + r for i, r in enumerate(rows))
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + extra + png_chunk(b"IDAT", zlib.compress(raw))
            + png_chunk(b"IEND", b""))


def png_seeds():
    h = "png_loader"
    write(h, "grey1.png", png(8, 2, 1, 0, [b"\xaa", b"\x55"]))
    write(h, "grey8.png", png(3, 2, 8, 0, [b"\x00\x80\xff", b"\x10\x20\x30"]))
    write(h, "grey16.png", png(2, 1, 16, 0, [b"\x12\x34\xff\xff"]))
    write(h, "grey_alpha.png", png(2, 1, 8, 4, [b"\x00\x00\x80\x80"]))
    write(h, "rgb8.png", png(2, 2, 8, 2, [b"\xff\x00\x00\x00\xff\x00", b"\x00\x00\xff\x80\x80\x80"]))
    write(h, "rgba16.png", png(1, 1, 16, 6, [b"\x10\x00\x20\x00\x30\x00\x80\x00"]))
    plte = png_chunk(b"PLTE", b"\x00\x00\x00\xff\xff\xff\xff\x00\x00") + png_chunk(b"tRNS", b"\x00\x80")
    write(h, "palette_trns.png", png(4, 1, 2, 3, [b"\x1b"], extra=plte))
    write(h, "interlaced.png", png(5, 5, 8, 2, [bytes(range(i, i + 15)) for i in range(5)], interlace=1))
    # Every filter type, in grey and in RGBA: the quick decoder's forms.
    write(h, "filters_grey.png", png(6, 5, 8, 0, [bytes(range(i * 7, i * 7 + 6)) for i in range(5)],
                                     filters=[0, 1, 2, 3, 4]))
    write(h, "filters_rgba.png", png(3, 5, 8, 6, [bytes(range(i * 9, i * 9 + 12)) for i in range(5)],
                                     filters=[4, 3, 2, 1, 0]))
    # The quick decoder's lookup-table forms: low bit depths, palettes and tRNS, behind every filter.
    grey_plte = lambda depth: png_chunk(b"PLTE", bytes(v for i in range(1 << depth) for v in [i * 255 // ((1 << depth) - 1)] * 3))
    rows = lambda n, width: [bytes((i * 37 + j * 11) % 256 for j in range(width)) for i in range(n)]
    write(h, "palette1_filters.png", png(11, 5, 1, 3, rows(5, 2), extra=grey_plte(1), filters=[0, 1, 2, 3, 4]))
    write(h, "palette4_trns.png", png(5, 5, 4, 3, rows(5, 3), filters=[4, 3, 2, 1, 0],
                                      extra=grey_plte(4) + png_chunk(b"tRNS", b"\x00\x80\xff\x10")))
    write(h, "palette8_trns.png", png(3, 5, 8, 3, rows(5, 3), filters=[1, 2, 3, 4, 0],
                                      extra=grey_plte(8) + png_chunk(b"tRNS", bytes(range(0, 256, 3)))))
    write(h, "grey2_trns.png", png(7, 5, 2, 0, rows(5, 2), extra=png_chunk(b"tRNS", b"\x00\x02"), filters=[0, 1, 2, 3, 4]))
    write(h, "grey4_filters.png", png(3, 5, 4, 0, rows(5, 2), filters=[4, 3, 2, 1, 0]))
    write(h, "grey16_trns.png", png(3, 5, 16, 0, rows(5, 6), extra=png_chunk(b"tRNS", b"\x25\x30"),
                                    filters=[2, 4, 1, 3, 0]))
    whole = png(4, 4, 8, 2, [bytes(12)] * 4)
    write(h, "cut_in_half.png", whole[:len(whole) // 2])
    write(h, "huge_header.png", png(100000, 100000, 8, 2, [b""])[:33] + png_chunk(b"IEND", b""))
    write(h, "side_limit.png", png(16385, 1, 1, 0, [b"\0" * 2049])[:33])


if __name__ == "__main__":
    csv_seeds()
    d_full_seeds()
    check_file_seeds()
    workspace_table_seeds()
    import_seeds()
    export_seeds()
    table_file_seeds()
    png_seeds()
