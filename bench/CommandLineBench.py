#!/usr/bin/env python3
"""The command line against its peers, side by side in one run, whole processes each.

One picture: the program rendering a typical document (400 x 400, 10 layers) to PNG, against
ImageMagick's convert annotating the same texts in the same fonts, sizes and colours on a white
400 x 400 image. A batch: 1,000 badges (400 x 400, 5 layers, 3 placeholders) from a table of
1,000 rows, against convert run once a picture, two at a time (xargs -P 2); and Inkscape's
command line on the same batch where it is installed.

usage: CommandLineBench.py PROGRAM WORK_DIR
"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import time

program, work = sys.argv[1], sys.argv[2]
os.makedirs(work, exist_ok=True)
environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
convert = shutil.which("convert-im6.q16") or shutil.which("convert")


def face_file(bold):
    return subprocess.run(["fc-match", "-f", "%{file}", "DejaVu Sans" + (":bold" if bold else "")],
                          capture_output=True, text=True, check=True).stdout


def font(size, color, bold):
    return {"charset": 1, "color": color, "face": "DejaVu Sans", "pitch": "default", "size": size,
            "styles": ["bold"] if bold else []}


def layer(text, size, color, bold, left, top, anchor=None):
    fields = {"charSpan": 0, "font": font(size, color, bold), "left": left, "lineSpan": 0, "text": [text],
              "top": top, "useDefaultFont": False, "visible": True}
    if anchor is not None:
        fields["anchor"] = anchor
    return fields


def document(layers):
    return {"canvas": {"height": 400, "width": 400}, "codePage": "UTF-8", "defaultFont": font(10, {"system": 8}, False),
            "format": "org.zeltozelto.document", "layers": layers, "selection": [],
            "version": "1.1" if any("anchor" in l for l in layers) else "1.0"}


def pixels(points):
    return points * 96 / 72


def annotate(layers, values=None):
    """convert's arguments that draw `layers`, top-most last, as the program draws them."""
    arguments = ["-size", "400x400", "xc:white", "-gravity", "NorthWest"]
    for l in reversed(layers):
        text = l["text"][0]
        for column, value in (values or {}).items():
            text = text.replace("{" + column + "}", value)
        f = l["font"]
        arguments += ["-font", face_file(bool(f["styles"])), "-pointsize", f"{pixels(f['size']):.2f}",
                      "-fill", f["color"], "-annotate", f"+{l['left']}+{l['top']}", text]
    return arguments


def median_seconds(command, runs, prepare=None):
    times = []
    for _ in range(runs):
        if prepare:
            prepare()
        start = time.monotonic()
        subprocess.run(command, env=environment, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.monotonic() - start)
    return statistics.median(times)


# --- One picture ---
colors = ["#000000", "#c81e1e", "#1e3c8c", "#006400", "#646400"]
typical = [layer(f"Layer {i}: the quick brown fox jumps over the lazy dog", 9 + i % 6, colors[i % 5], i % 3 == 0,
                 10, 10 + 38 * i) for i in range(10)]
with open(f"{work}/typical.zelto", "w") as f:
    json.dump(document(typical), f)
# The benchmarks before leave files to be written out, and a program that syncs its picture (as
# this one does) would wait for them: they go to the disk first. The two programs then take
# turns, run by run, so that whatever else the machine does falls on both alike.
os.sync()
ours_times, magick_times = [], []
for _ in range(30):
    ours_times.append(median_seconds([program, "--render", f"{work}/typical.zelto", "-o", f"{work}/ours.png"], 1))
    magick_times.append(median_seconds([convert] + annotate(typical) + [f"{work}/magick.png"], 1))
ours_one, magick_one = statistics.median(ours_times), statistics.median(magick_times)

# --- A batch of badges ---
badge = [layer("Hello, my name is", 14, "#c81e1e", True, 20, 20, anchor=1),
         layer("{name}", 28, "#000000", True, 20, 100, anchor=4),
         layer("{title}", 14, "#1e3c8c", False, 20, 250),
         layer("{company}", 14, "#1e3c8c", False, 20, 290),
         layer("Conference 2026", 12, "#646400", False, 20, 360)]
with open(f"{work}/badge.zelto", "w") as f:
    json.dump(document(badge), f)
rows = [{"name": f"Person {i} Smith", "title": f"Engineer, grade {i % 7}", "company": f"Company {i % 37}, Inc."}
        for i in range(1, 1001)]
with open(f"{work}/people.csv", "w") as f:
    f.write("name,title,company\n")
    for r in rows:
        f.write(f"{r['name']},\"{r['title']}\",\"{r['company']}\"\n")


def fresh(folder):
    def prepare():
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
    return prepare


ours_batch = median_seconds([program, "--render", f"{work}/badge.zelto", "--data", f"{work}/people.csv",
                             "-o", f"{work}/ours-batch/{{row}}.png"], 5, fresh(f"{work}/ours-batch"))


def two_at_a_time(commands):
    """Runs `commands`, one program each with as many arguments, through xargs -P 2, two processes
    at a time as a user shares them out; returns the seconds taken. A command that fails, or one
    too long for a command line of its own, ends the bench with xargs' report."""
    peer, count = commands[0][0], len(commands[0]) - 1
    assert all(command[0] == peer and len(command) - 1 == count for command in commands)
    arguments = b"".join(os.fsencode(argument) + b"\0" for command in commands for argument in command[1:])
    start = time.monotonic()
    run = subprocess.run(["xargs", "-0", "-P", "2", "-n", str(count), "-x", peer], input=arguments, env=environment,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    seconds = time.monotonic() - start
    if run.returncode != 0:
        sys.exit(f"xargs -P 2 {peer}: exit code {run.returncode}\n{run.stderr.decode(errors='replace')[-4000:]}")
    return seconds


# ImageMagick: one process a picture.
fresh(f"{work}/magick-batch")()
magick_batch = two_at_a_time([[convert] + annotate(badge, r) + [f"{work}/magick-batch/{n}.png"]
                              for n, r in enumerate(rows, 1)])

inkscape = shutil.which("inkscape")
inkscape_batch = None
if inkscape:
    # The same badges as SVG, rendered by Inkscape's command line two at a time.
    os.makedirs(f"{work}/inkscape-batch", exist_ok=True)
    svgs = []
    for n, r in enumerate(rows, 1):
        texts = ""
        for l in badge:
            size = pixels(l["font"]["size"])
            weight = "bold" if l["font"]["styles"] else "normal"
            text = l["text"][0].format(**r)
            texts += (f"<text x='{l['left']}' y='{l['top'] + size}' font-family='DejaVu Sans' font-size='{size}' "
                      f"font-weight='{weight}' fill='{l['font']['color']}'>{text}</text>")
        path = f"{work}/inkscape-batch/{n}.svg"
        with open(path, "w") as f:
            f.write(f"<svg xmlns='http://www.w3.org/2000/svg' width='400' height='400'>"
                    f"<rect width='400' height='400' fill='white'/>{texts}</svg>")
        svgs.append(path)
    inkscape_batch = two_at_a_time([[inkscape, path, "-o", path[:-4] + ".png"] for path in svgs])


def verdict(ok, gap):
    return "met" if ok else f"NOT met, {gap}"


print(f"One picture, whole process, median of 30: ours {ours_one * 1000:.1f} ms, ImageMagick's convert "
      f"{magick_one * 1000:.1f} ms: convert / ours {magick_one / ours_one:.2f} x (goal: ours at or below convert: "
      f"{verdict(ours_one <= magick_one, f'{(ours_one - magick_one) * 1000:.1f} ms over')})")
print(f"1,000 badges from a table, median of 5: ours {ours_batch:.3f} s wall (goal <= 1.0 s: "
      f"{verdict(ours_batch <= 1.0, f'{ours_batch - 1.0:.3f} s over')}); ImageMagick one process a picture, "
      f"two at a time: {magick_batch:.1f} s: {magick_batch / ours_batch:.0f} x (goal >= 50: "
      f"{verdict(magick_batch / ours_batch >= 50, 'short')})")
if inkscape_batch is None:
    print("Inkscape: not installed, not timed")
else:
    print(f"Inkscape's command line, the same 1,000 badges as SVG, two at a time: {inkscape_batch:.1f} s: "
          f"{inkscape_batch / ours_batch:.0f} x ours")
