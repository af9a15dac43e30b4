#!/usr/bin/env python3
"""Writes res/help/help.rtf, the document the help window shows (resource H_TEXT 182).

The picture at its top is a Windows metafile drawn here: a small Tidybar bar with its
buttons, clock and note. Standard library only and deterministic, so re-running it
reproduces the committed file byte for byte.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# ---- the picture: a Windows metafile, records of 16-bit words ----------------------

def record(function, *words):
    params = b"".join(struct.pack("<h" if w < 0 else "<H", w) for w in words)
    return struct.pack("<IH", 3 + len(words), function) + params


def colour(r, g, b):
    return (r | g << 8, b)  # a COLORREF as two words, low first


def brush(r, g, b):
    lo, hi = colour(r, g, b)
    return record(0x02FC, 0, lo, hi, 0)  # CreateBrushIndirect: BS_SOLID


def pen(r, g, b, width=1):
    lo, hi = colour(r, g, b)
    return record(0x02FA, 0, width, 0, lo, hi)  # CreatePenIndirect: PS_SOLID


def select(index):
    return record(0x012D, index)


def delete(index):
    return record(0x01F0, index)


def rectangle(left, top, right, bottom):
    return record(0x041B, bottom, right, top, left)


def round_rect(left, top, right, bottom, corner):
    return record(0x061C, corner, corner, bottom, right, top, left)


def ellipse(left, top, right, bottom):
    return record(0x0418, bottom, right, top, left)


def filled(shape, fill, outline):
    """Draws one shape with its own brush (object 0) and pen (object 1), then frees them."""
    return brush(*fill) + pen(*outline) + select(0) + select(1) + shape + delete(0) + delete(1)


def bar_picture():
    body = record(0x0103, 8)                 # SetMapMode: MM_ANISOTROPIC
    body += record(0x020B, 0, 0)             # SetWindowOrg
    body += record(0x020C, 64, 64)           # SetWindowExt: 64 x 64 units
    body += filled(rectangle(0, 0, 64, 64), (255, 255, 255), (255, 255, 255))
    # The bar: a dark blue strip with rounded ends.
    body += filled(round_rect(1, 18, 63, 46, 6), (20, 42, 64), (10, 20, 40))
    # Eight category buttons in two rows of four.
    for row in range(2):
        for col in range(4):
            x, y = 5 + col * 9, 21 + row * 12
            body += filled(rectangle(x, y, x + 8, y + 9), (230, 238, 247), (90, 110, 140))
    # The clock face and the green player display.
    body += filled(rectangle(42, 21, 60, 29), (1, 0, 0), (200, 200, 200))
    body += filled(rectangle(43, 23, 46, 27), (248, 56, 56), (248, 56, 56))
    body += filled(rectangle(48, 23, 51, 27), (248, 56, 56), (248, 56, 56))
    body += filled(rectangle(53, 23, 59, 27), (248, 56, 56), (248, 56, 56))
    body += filled(rectangle(42, 33, 60, 42), (1, 0, 0), (44, 255, 9))
    # The sticky note above the bar and the tray's round icon below it.
    body += filled(rectangle(40, 3, 58, 15), (245, 239, 147), (160, 150, 60))
    body += filled(ellipse(4, 50, 16, 62), (0, 0, 255), (0, 0, 160))
    body += record(0x0000)                   # end of file
    words = 9 + len(body) // 2
    largest = max_record_words(body)
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, words, 2, largest, 0)
    return header + body


def max_record_words(body):
    largest, at = 0, 0
    while at < len(body):
        size = struct.unpack_from("<I", body, at)[0]
        largest = max(largest, size)
        at += size * 2
    return largest


def picture_group(metafile):
    hexed = metafile.hex()
    lines = "\n".join(hexed[i:i + 128] for i in range(0, len(hexed), 128))
    return ("{\\pict\\wmetafile8\\picw1270\\pich1270\\picwgoal720\\pichgoal720\n"
            + lines + "\n}")

# ---- the text -------------------------------------------------------------------

RULE = "_" * 60


def esc(text):
    return text.replace("\\", "\\\\").replace("{", "\\{").replace("}", "\\}")


def para(text, size=20, bold=False, red=False):
    on = "\\fs%d" % size + ("\\b" if bold else "") + ("\\cf2" if red else "")
    off = ("\\b0" if bold else "") + ("\\cf0" if red else "")
    return "%s %s%s\\par\n" % (on, esc(text), off)


def heading(text):
    return para(RULE, 20) + para(text, 27, bold=True)


SECTIONS = [
    (None, [
        ("Tidybar keeps your desktop tidy. While it runs, a thin bar lies across the top or the "
         "bottom of the screen. Its eight category buttons open small windows with the shortcuts "
         "and files you keep for each category, and the bar also carries an MP3 player, a clock, "
         "CPU and memory monitors, a sticky note, this help and the options. An icon named "
         "Tidybar sits in the notification area while the program runs.", False),
    ]),
    ("TO USE TYB:", [
        ("Click a category button (Internet, Office, Photos, System, Audio, Video, Graphic or "
         "Program) to open its selector window. It shows the contents of the category's folder "
         "under C:\\tyb\\TYBICONS (for example C:\\tyb\\TYBICONS\\AUDIO). Double-click an icon to "
         "start the program or open the file.", False),
        ("A selector window closes by itself after the number of seconds set in the options. "
         "Clicking the same button again opens a fresh window.", True),
        ("Drag a shortcut or file into a selector window with the right mouse button, or copy "
         "and paste it, to add it to that category.", False),
        ("Help opens this window (each click opens one more). Opt. opens the options. Close ends "
         "Tidybar. Drag any empty spot of the bar, or the clock, to move the bar.", False),
    ]),
    ("TO USE TYBCalendar:", [
        ("Click Calendar to start the calendar program, tybCal.exe, which runs on its own beside "
         "the bar.", False),
    ]),
    ("TO USE THE NOTE FEATURE:", [
        ("Click Note to open a sticky note. Type what you want to keep; the note is saved whenever "
         "you click somewhere else, and by Save and Close. It holds up to 511 characters.", False),
        ("A saved note opens again by itself the next time Tidybar starts.", False),
        ("Close throws the note away: the stored note is emptied and does not come back at the "
         "next start.", True),
    ]),
    ("TO USE THE MP3 PLAYER:", [
        ("Open chooses an MP3 file and plays it; Play, Pause and Stop do what they say. The small "
         "slider at the top sets the volume, the long one at the bottom moves through the song, "
         "and the display shows what is playing.", False),
        ("PlayList opens the playlist editor, where you add songs or a whole folder, order them "
         "and save the list. The playlist is kept in c:\\tyb\\playlist.m3u. The arrow button "
         "beside the volume plays the playlist from its first song, and >> skips to the next "
         "song.", False),
    ]),
    ("INITIAL SETUP:", [
        ("Tidybar lives in C:\\tyb. Put shortcuts and files for each category into its folder "
         "under C:\\tyb\\TYBICONS: INTERNET, OFFICE, PHOTOS, SYSTEM, AUDIO, VIDEO, GRAPHICS and "
         "PROGRAMS. The options window shows these folders too, so you can set them up from "
         "there.", False),
        ("By default the bar lies at the top of the screen.", False),
    ]),
    ("Set Options:", [
        ("Click Opt. to open the options. Load at startup starts Tidybar with Windows; Open at "
         "bottom of screen moves the bar to the bottom; Hide the system monitors and Hide the "
         "mp3 player make the bar narrower; the number sets how many seconds a selector window "
         "stays open. Close saves the options.", False),
        ("Options take effect the next time Tidybar starts.", True),
    ]),
]


def document():
    out = ["{\\rtf1\\ansi\\ansicpg1252\\deff0\n",
           "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}}\n",
           "{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}\n",
           "\\viewkind4\\uc1\\pard\\f0\\fs20\n",
           picture_group(bar_picture()), "\\par\n",
           "\\cf1\\b\\f1\\fs36 Tidybar -- HELP\\cf0\\b0\\f0\\par\n"]
    for title, paragraphs in SECTIONS:
        if title:
            out.append(heading(title))
        for text, red in paragraphs:
            out.append(para(text, 24 if title is None else 20, red=red))
    out.append(para(RULE, 20))
    out.append("}\n")
    return "".join(out)


if __name__ == "__main__":
    with open(os.path.join(HERE, "help.rtf"), "w", newline="\r\n", encoding="cp1252") as f:
        f.write(document())
