#!/usr/bin/env python3
"""Generates the text tables of the bundled sample catalog (samples/catalog/CDATA).

The tables are Shift-JIS (cp932) and TAB-separated with CR LF line ends, as the event's disc
catalog ships them: sections, comments and blank lines included. Run it again after changing it;
the output is deterministic.
"""
import os
import random

EVENT = "77"
HERE = os.path.dirname(os.path.abspath(__file__))
CDATA = os.path.join(HERE, "catalog", "CDATA")

EAST_BLOCKS = "ＡＢＣＤＥＦ"  # hall E123
EAST2_BLOCKS = "ＧＨＩＪ"  # hall E456
WEST_BLOCKS = "あいうえ"  # hall W12
SPACES_PER_BLOCK = 12
CUTS_PER_PAGE = 6
CIRCLES_PER_DAY = 36

GENRES = [(100, "創作（少年）"), (110, "創作（少女）"), (200, "ゲーム（RPG）"), (210, "ゲーム（その他）"),
          (300, "アニメ"), (400, "評論・情報"), (500, "音楽"), (600, "鉄道・旅行")]
MAPS = [("E123", "東123"), ("E456", "東456"), ("W12", "西12")]
# "東A" holds a single-byte letter, so the full-width area list (L_KArea.dat) maps it.
AREAS = [("東A", "E123", "ＡＢＣ"), ("東Ｄ", "E123", "ＤＥＦ"), ("東Ｇ", "E456", "ＧＨＩＪ"),
         ("西あ", "W12", "あいうえ")]
DAYS = [(2010, 8, 13, "金", 2), (2010, 8, 14, "土", 8), (2010, 8, 15, "日", 14)]

FAMILY = ["佐藤", "鈴木", "高橋", "田中", "渡辺", "伊藤", "山本", "中村", "小林", "加藤", "吉田", "山田"]
GIVEN = ["ひかり", "翔", "美咲", "拓海", "さくら", "蓮", "葵", "悠真", "結衣", "大和"]
WORDS = ["星屑", "工房", "夜想曲", "猫の手", "風見鶏", "硝子", "月影", "茶房", "電脳", "白昼夢", "ﾊﾟﾝﾀﾞ", "Studio"]


def write(name, lines):
    os.makedirs(CDATA, exist_ok=True)
    with open(os.path.join(CDATA, name), "wb") as f:
        for line in lines:
            f.write(line.encode("cp932") + b"\r\n")


def halls():
    return [("東", EAST_BLOCKS, 0), ("東", EAST2_BLOCKS, 1), ("西", WEST_BLOCKS, 2)]


def map_table():
    lines = ["# 配置図座標データ", "# ブロック\tスペース\tX\tY\t配置"]
    for _, blocks, map_index in halls():
        for b, block in enumerate(blocks):
            for s in range(1, SPACES_PER_BLOCK + 1):
                column = b * 2 + (1 if s > SPACES_PER_BLOCK // 2 else 0)
                row = (s - 1) % (SPACES_PER_BLOCK // 2)
                x = 40 + column * 40
                y = 60 + row * 30
                layout = (1, 3, 2, 4)[(s - 1) % 4]
                lines.append(f"{block}\t{s}\t{x}\t{y}\t{layout}")
        lines.append("")
    return lines


def definition_table():
    lines = ["# サンプルカタログ 定義ファイル", "*Vandrel", f"{EVENT}\tサンプル即売会 夏",
             "", "*cutInfo", "\t".join(str(v) for v in (211, 300, 10, 10, 30, 20)),
             "*mapTableInfo", "20\t15\t50\t36", "", "*VandrelGenre"]
    lines += [f"{code}\t{name}" for code, name in GENRES]
    lines += ["", "# 地図", "*VandrelMap"]
    lines += [f"{name}\t{label}" for name, label in MAPS]
    lines += ["*VandrelArea"]
    lines += [f"{area}\t{map_name}\t{blockset}" for area, map_name, blockset in AREAS]
    lines += ["", "*VandrelDate"]
    lines += [f"{y}\t{m}\t{d}\t{w}\t{p}" for y, m, d, w, p in DAYS]
    return lines


def circle_table(day, rng):
    _, _, _, _, first_page = DAYS[day - 1]
    lines = [f"# {day}日目 サークルデータ"]
    spaces = [(hall, block, s) for hall, blocks, _ in halls() for block in blocks
              for s in range(1, SPACES_PER_BLOCK + 1)]
    chosen = sorted(rng.sample(range(len(spaces)), CIRCLES_PER_DAY))
    for i, index in enumerate(chosen):
        hall, block, space = spaces[index]
        page = first_page + i // CUTS_PER_PAGE
        position = i % CUTS_PER_PAGE + 1
        genre = rng.choice(GENRES)[0] if i % 9 else 0
        name = rng.choice(WORDS) + rng.choice(WORDS)
        kana = "ｻｰｸﾙ" + str(i)
        author = rng.choice(FAMILY) + rng.choice(GIVEN)
        url = f"http://example.jp/c{day}{i:03d}/" if i % 3 == 0 else ""
        mail = f"c{day}{i:03d}@example.jp" if i % 4 == 0 else ""
        note = "新刊あり" if i % 2 == 0 else "既刊のみ"
        description = f"{name}です。{rng.choice(WORDS)}の本を頒布します。"
        cells = [str(day * 10000 + i), "1", str(page), str(position), str(day), hall, block,
                 f"{space:02d}", str(genre) if genre else "", name, kana, author, url, mail, note,
                 description]
        lines.append("\t".join(cells))
        if i == CIRCLES_PER_DAY // 2:
            lines.append("# --- 後半 ---")
    return lines


def main():
    rng = random.Random(77)
    write(f"C{EVENT}MAP.TXT", map_table())
    write(f"C{EVENT}DEF.TXT", definition_table())
    for day in range(1, len(DAYS) + 1):
        write(f"C{EVENT}ROM{day}.TXT", circle_table(day, rng))


if __name__ == "__main__":
    main()
