"""KiCad's own proof of orvik-host's KiCad export. Run with Debian's
/usr/bin/python3, which has KiCad's pcbnew module; exits 77 (skipped) when
pcbnew cannot be imported, or 1 when ORVIK_REQUIRE_KICAD is set (the test
command installs KiCad, so there a missing pcbnew is a failure).

  kicad_proof.py board --host ORVIK_HOST (--input FILE.pcb | --generate ORVIK_GEN
                 [--components N]) --work DIR [--sample N] [--png OUT.png] [--no-drc]
      imports FILE.pcb with --json and --kicad, loads the KiCad board and
      compares it with the board dump (every pad, via and footprint; every
      N-th track, arc, fill and text), saves and loads it again, plots the
      copper and silkscreen Gerbers, writes a DRC report and renders the top
      copper with gerbv to a PNG that must not be blank.
  kicad_proof.py file --board X.kicad_pcb --dump X.json [--expect-nets JSON]
      the same comparison for a board written elsewhere (the seeded test),
      and the net names it must hold.
  kicad_proof.py hostile --host ORVIK_HOST --corpus DIR --work DIR
      every file of DIR that imports exports a board KiCad loads.
"""

import argparse
import json
import os
import subprocess
import sys

SKIP = 77
HERE = os.path.dirname(os.path.abspath(__file__))
LAYERS_HEADER = os.path.join(HERE, "..", "..", "include", "orvik", "layers.h")

try:
    import pcbnew
except ImportError:
    if os.environ.get("ORVIK_REQUIRE_KICAD"):
        print("pcbnew cannot be imported by %s, and ORVIK_REQUIRE_KICAD is set" % sys.executable)
        sys.exit(1)
    print("pcbnew cannot be imported by %s: KiCad tests skipped" % sys.executable)
    sys.exit(SKIP)

sys.path.insert(0, HERE)
from compare import Comparison, board_counts  # noqa: E402
from expected import Board, legacy_names  # noqa: E402


def fail(messages, what):
    if messages:
        shown = messages[:40]
        sys.stderr.write("%s: %d differences\n  %s\n" % (what, len(messages), "\n  ".join(shown)))
        sys.exit(1)


def layer_names(host):
    names = legacy_names(LAYERS_HEADER)
    names.update(host.stack_names)
    return names


def compare(board_path, dump_path, sample):
    board = pcbnew.LoadBoard(board_path)
    if board is None:
        sys.exit("KiCad did not load %s" % board_path)
    host = Board(dump_path)
    fail(Comparison(host, board, layer_names(host), sample).run(), board_path)
    return board


def round_trip(board, work):
    counts = board_counts(board)
    again = os.path.join(work, "saved-by-kicad.kicad_pcb")
    if not pcbnew.SaveBoard(again, board):
        sys.exit("KiCad did not save %s" % again)
    reloaded = board_counts(pcbnew.LoadBoard(again))
    fail(["%s: %d before, %d after saving and loading" % (k, counts[k], reloaded[k])
          for k in counts if counts[k] != reloaded[k]], "round trip")


def plot_and_check(board, work, png, drc_report):
    plots = os.path.join(work, "gerbers")
    os.makedirs(plots, exist_ok=True)
    controller = pcbnew.PLOT_CONTROLLER(board)
    options = controller.GetPlotOptions()
    options.SetOutputDirectory(plots)
    options.SetPlotFrameRef(False)
    options.SetUseGerberAttributes(True)
    written = {}
    for layer, suffix in ((pcbnew.F_Cu, "F_Cu"), (pcbnew.B_Cu, "B_Cu"), (pcbnew.F_SilkS, "F_SilkS"),
                          (pcbnew.B_SilkS, "B_SilkS")):
        controller.SetLayer(layer)
        controller.OpenPlotfile(suffix, pcbnew.PLOT_FORMAT_GERBER, suffix)
        if not controller.PlotLayer():
            sys.exit("KiCad did not plot %s" % suffix)
        written[suffix] = controller.GetPlotFileName()
        controller.ClosePlot()
    for suffix, path in written.items():
        if not os.path.isfile(path) or os.path.getsize(path) == 0:
            sys.exit("no Gerber file for %s" % suffix)
    drc = os.path.join(work, "drc.rpt")
    if drc_report and (not pcbnew.WriteDRCReport(board, drc, pcbnew.EDA_UNITS_MILLIMETRES, True) or
                       not os.path.isfile(drc)):
        sys.exit("KiCad wrote no DRC report")

    picture = png or os.path.join(work, "top-copper.png")
    subprocess.run(["gerbv", "--export=png", "--dpi=400", "--background=#000000", "--foreground=#e8a33aff",
                    "--border=2", "--output=" + picture, written["F_Cu"]], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    from PIL import Image
    image = Image.open(picture).convert("RGB")
    colours = image.getcolors(maxcolors=1 << 24)
    background = max(colours)[1]
    painted = sum(n for n, c in colours if c != background)
    total = image.size[0] * image.size[1]
    if painted < total // 200:
        sys.exit("the top copper picture %s is blank (%d of %d pixels painted)" % (picture, painted, total))


def run_host(host_program, args):
    return subprocess.run([host_program] + args + ["--no-progress"], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          text=True, errors="replace")


def mode_board(args):
    os.makedirs(args.work, exist_ok=True)
    if args.generate:
        generated = os.path.join(args.work, "generated.pcb")
        subprocess.run([args.generate, "--components", str(args.components), "-o", generated], check=True)
        args.input = generated
    dump = os.path.join(args.work, "board.json")
    kicad = os.path.join(args.work, "board.kicad_pcb")
    result = run_host(args.host, ["import", args.input, "--json", dump, "--kicad", kicad])
    if result.returncode != 0:
        sys.exit("orvik-host failed (%d): %s" % (result.returncode, result.stderr))
    if "KiCad objects written:" not in result.stdout:
        sys.exit("the import summary does not report the KiCad board:\n" + result.stdout)
    board = compare(kicad, dump, args.sample)
    round_trip(board, args.work)
    plot_and_check(board, args.work, args.png, not args.no_drc)


def mode_file(args):
    board = compare(args.board, args.dump, 1)
    if args.expect_nets:
        with open(args.expect_nets, encoding="utf-8") as f:
            wanted = json.load(f)
        names = {board.GetNetInfo().GetNetItem(i).GetNetname() for i in range(1, board.GetNetCount())}
        fail(["net %r missing (KiCad has %s)" % (n, sorted(names)) for n in wanted if n not in names], "net names")
    work = os.path.dirname(os.path.abspath(args.board))
    round_trip(board, work)


def mode_hostile(args):
    os.makedirs(args.work, exist_ok=True)
    problems = []
    imported = 0
    for name in sorted(os.listdir(args.corpus)):
        path = os.path.join(args.corpus, name)
        kicad = os.path.join(args.work, name + ".kicad_pcb")
        result = run_host(args.host, ["import", path, "--kicad", kicad])
        if result.returncode == 4:
            continue  # not imported: nothing to export
        if result.returncode != 0:
            problems.append("%s: orvik-host exit %d: %s" % (name, result.returncode, result.stderr.strip()))
            continue
        imported += 1
        board = pcbnew.LoadBoard(kicad)
        if board is None:
            problems.append("%s: KiCad did not load the export" % name)
        os.remove(kicad)
    if imported == 0:
        problems.append("no input of %s imported" % args.corpus)
    fail(problems, "hostile inputs")


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="mode", required=True)
    b = sub.add_parser("board")
    b.add_argument("--host", required=True)
    b.add_argument("--input")
    b.add_argument("--generate", help="orvik-gen: generate the input board")
    b.add_argument("--components", type=int, default=1500)
    b.add_argument("--work", required=True)
    b.add_argument("--sample", type=int, default=1)
    b.add_argument("--png")
    b.add_argument("--no-drc", action="store_true", help="no DRC report (it takes minutes on large boards)")
    f = sub.add_parser("file")
    f.add_argument("--board", required=True)
    f.add_argument("--dump", required=True)
    f.add_argument("--expect-nets")
    h = sub.add_parser("hostile")
    h.add_argument("--host", required=True)
    h.add_argument("--corpus", required=True)
    h.add_argument("--work", required=True)
    args = parser.parse_args()
    {"board": mode_board, "file": mode_file, "hostile": mode_hostile}[args.mode](args)


if __name__ == "__main__":
    main()
