"""KiCad's own proof of orvik-host's KiCad export. Run with Debian's
/usr/bin/python3, which has KiCad's pcbnew module; exits 77 (skipped) when
pcbnew cannot be imported, or 1 when ORVIK_REQUIRE_KICAD is set (the test
command installs KiCad, so there a missing pcbnew is a failure).

  kicad_proof.py board --host ORVIK_HOST (--input FILE.pcb | --generate ORVIK_GEN
                 [--components N]) --work DIR [--sample N] [--png OUT.png] [--no-drc]
                 [--kicad-stack MODE] [--copper-layers N] [--zones-keep-area]
                 [--expect-drc CODE=N,...] [--smd-parts REF,...] [--plane-zones N]
      imports FILE.pcb with --json and --kicad, loads the KiCad board and
      compares it with the board dump (every pad, via and footprint; every
      N-th track, arc, fill and text), checks footprint types and references,
      saves and loads it again, fills the zones with KiCad's zone filler and
      runs its DRC (no outline faults; reference and value overlaps only as
      many as the summary counts; with --expect-drc exactly those
      violations), plots the copper, silkscreen and outline Gerbers and
      renders them with gerbv to a PNG that must not be blank.
  kicad_proof.py file --board X.kicad_pcb --dump X.json [--expect-nets JSON]
      the same comparison for a board written elsewhere (the seeded test),
      and the net names it must hold.
  kicad_proof.py hostile --host ORVIK_HOST --corpus DIR --work DIR
      every file of DIR that imports exports a board KiCad loads.
"""

import argparse
import csv
import json
import os
import re
import subprocess
import sys

SKIP = 77
MIN_REFERENCE_HEIGHT = 800000  # nm
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


def summary_number(summary, pattern):
    """A count from the import summary, 0 when the line does not say it."""
    found = re.search(pattern, summary)
    return int(found.group(1)) if found else 0


def check_labels(board):
    """Every reference that names something is visible and readable."""
    problems = []
    for fp in board.GetFootprints():
        ref = fp.Reference()
        if not ref.GetText():
            continue  # the hidden reference of a free pad's footprint
        if not ref.IsVisible() or ref.GetTextHeight() < MIN_REFERENCE_HEIGHT:
            problems.append("reference %r: %s, %d nm high" % (ref.GetText(), "shown" if ref.IsVisible() else "hidden",
                                                              ref.GetTextHeight()))
    fail(problems, "references")


def check_position_file(board, wanted):
    """KiCad's position file of SMD parts lists exactly `wanted`."""
    exporter = pcbnew.PLACE_FILE_EXPORTER(board, True, True, False, True, True, True, False)
    listed = set()
    for line in exporter.GenPositionData().splitlines()[1:]:
        if line.strip():
            listed.add(next(csv.reader([line]))[0])
    fail([] if listed == set(wanted) else ["lists %s, want %s" % (sorted(listed), sorted(wanted))],
         "SMD position file")


def zone_areas(board):
    return {z.m_Uuid.AsString(): z.GetFilledArea() / 1e12 for z in board.Zones()}  # mm^2


def drc_violations(report):
    """(code, [item lines]) per violation of a DRC report."""
    with open(report, encoding="utf-8", errors="replace") as f:
        text = f.read()
    found = []
    for block in re.split(r"\n(?=\[)", text):
        head = re.match(r"\[(\w+)\]", block)
        if head:
            found.append((head.group(1), [l.strip() for l in block.splitlines() if l.strip().startswith("@(")]))
    return found


def refill_and_drc(board, work, args, summary):
    """KiCad's zone filler, then its DRC, as a designer runs them."""
    before = zone_areas(board)
    pcbnew.ZONE_FILLER(board).Fill(board.Zones())
    after = zone_areas(board)
    problems = []
    if args.zones_keep_area:
        problems += ["zone %s: %.4f mm2 before the refill, %.4f after" % (z, before[z], after[z])
                     for z in before if abs(before[z] - after.get(z, 0)) > 0.01]
    if args.plane_zones is not None:
        planes = [z for z in board.Zones() if z.m_Uuid.AsString().startswith("4f52564b-0006-")]
        problems += ["%d plane zones, want %d" % (len(planes), args.plane_zones)] if len(planes) != args.plane_zones \
            else ["plane zone %s not filled" % z.m_Uuid.AsString() for z in planes if z.GetFilledArea() <= 0]
    drc = os.path.join(work, "drc.rpt")
    if not pcbnew.WriteDRCReport(board, drc, pcbnew.EDA_UNITS_MILLIMETRES, True) or not os.path.isfile(drc):
        sys.exit("KiCad wrote no DRC report")
    violations = drc_violations(drc)
    for code, items in violations:
        if code in ("invalid_outline", "copper_edge_clearance"):
            problems.append("[%s] %s" % (code, "; ".join(items)))
        if code == "silk_over_copper" and any("Edge.Cuts" in i for i in items):
            problems.append("[silk_over_copper] on the outline: %s" % "; ".join(items))
    # The labels that overlap other silkscreen: each overlap with anything
    # else names its label; of two labels that overlap, the one placed later
    # (unknown here) is counted in the summary, so either will do.
    culprits = set()
    pairs = []
    for code, items in violations:
        if code != "silk_overlap":
            continue
        labels = [i.split(": ", 1)[-1] for i in items if re.search(r": (Reference|Value) '", i)]
        if len(labels) == 1:
            culprits.add(labels[0])
        elif len(labels) > 1:
            pairs.append(labels)
    for pair in pairs:
        if not culprits.intersection(pair):
            culprits.add(pair[0])
    allowed = summary_number(summary, r"references placed over other silkscreen (\d+)")
    if len(culprits) > allowed:
        problems.append("%d references or values overlap other silkscreen, the summary counts %d placed over "
                        "other silkscreen" % (len(culprits), allowed))
    if args.expect_drc is not None:
        counts = {}
        for code, _ in violations:
            counts[code] = counts.get(code, 0) + 1
        wanted = dict((c, int(n)) for c, n in (p.split("=") for p in args.expect_drc.split(",") if p))
        if counts != wanted:
            problems.append("DRC found %s, want %s (%s)" % (counts, wanted, drc))
    fail(problems, "zone fill and DRC")


def plot_and_check(board, work, png):
    plots = os.path.join(work, "gerbers")
    os.makedirs(plots, exist_ok=True)
    controller = pcbnew.PLOT_CONTROLLER(board)
    options = controller.GetPlotOptions()
    options.SetOutputDirectory(plots)
    options.SetPlotFrameRef(False)
    options.SetUseGerberAttributes(True)
    written = {}
    for layer, suffix in ((pcbnew.F_Cu, "F_Cu"), (pcbnew.B_Cu, "B_Cu"), (pcbnew.F_SilkS, "F_SilkS"),
                          (pcbnew.B_SilkS, "B_SilkS"), (pcbnew.Edge_Cuts, "Edge_Cuts")):
        controller.SetLayer(layer)
        controller.OpenPlotfile(suffix, pcbnew.PLOT_FORMAT_GERBER, suffix)
        if not controller.PlotLayer():
            sys.exit("KiCad did not plot %s" % suffix)
        written[suffix] = controller.GetPlotFileName()
        controller.ClosePlot()
    for suffix, path in written.items():
        if not os.path.isfile(path) or os.path.getsize(path) == 0:
            sys.exit("no Gerber file for %s" % suffix)
    # The top side as a fab sees it: outline, silkscreen over copper.
    picture = png or os.path.join(work, "top.png")
    layers = []
    for suffix, colour in (("Edge_Cuts", "#f0e040ff"), ("F_SilkS", "#f4f4f4ff"), ("F_Cu", "#e8a33aff")):
        layers += ["--foreground=" + colour, written[suffix]]
    subprocess.run(["gerbv", "--export=png", "--dpi=400", "--background=#000000", "--border=2",
                    "--output=" + picture] + layers, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
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
    stack = ["--kicad-stack", args.kicad_stack] if args.kicad_stack else []
    result = run_host(args.host, ["import", args.input, "--json", dump, "--kicad", kicad] + stack)
    if result.returncode != 0:
        sys.exit("orvik-host failed (%d): %s" % (result.returncode, result.stderr))
    if "KiCad objects written:" not in result.stdout:
        sys.exit("the import summary does not report the KiCad board:\n" + result.stdout)
    board = compare(kicad, dump, args.sample)
    layers = summary_number(result.stdout, r"KiCad board .*: (\d+) copper layers")
    want_layers = args.copper_layers if args.copper_layers is not None else layers
    fail([] if board.GetCopperLayerCount() == layers == want_layers else
         ["KiCad has %d, the summary %d, want %d" % (board.GetCopperLayerCount(), layers, want_layers)],
         "copper layers")
    check_labels(board)
    if args.smd_parts is not None:
        check_position_file(board, [p for p in args.smd_parts.split(",") if p])
    round_trip(board, args.work)
    if not args.no_drc:
        refill_and_drc(board, args.work, args, result.stdout)
    plot_and_check(board, args.work, args.png)


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
    b.add_argument("--no-drc", action="store_true", help="no zone fill and DRC (they take minutes on large boards)")
    b.add_argument("--kicad-stack", help="orvik-host's --kicad-stack")
    b.add_argument("--copper-layers", type=int, help="the copper layers the board must have")
    b.add_argument("--zones-keep-area", action="store_true", help="every zone keeps its area through the refill")
    b.add_argument("--expect-drc", help="exactly these DRC violations after the refill: CODE=N,...")
    b.add_argument("--smd-parts", help="the references KiCad's SMD position file must list: REF,...")
    b.add_argument("--plane-zones", type=int, help="zones that fill internal planes, each filled after the refill")
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
