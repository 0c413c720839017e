"""Compares a board as KiCad loaded it with the stand-in host's board dump:
counts per kind, every net name, and object by object (matched by tstamp,
which carries the host handle) positions, sizes, layers, nets and shapes."""

import math

import pcbnew

from expected import (BOTTOM_LAYER, MECHANICAL1, MULTI_LAYER, PAD_CHAMFERED, PAD_CIRCLE, PAD_OVAL, PAD_PTH, PAD_RECT,
                      PAD_ROUNDRECT, PAD_SMD, TOP_LAYER, copper, nm, sweep, to_kicad, windows1252)

LIMIT = 1500000000  # nm: what the export keeps within
MICRON = 1000
# Host references and values below this height are written anew at KiCad's
# footprint convention: 1 mm high, 0.15 mm stroke.
READABLE = 25400
LABEL_SIZE, LABEL_THICKNESS = 1000000, 150000


def tstamp(role, handle):
    return "4f52564b-%04x-4000-8000-%012x" % (role, handle)


class Failures:
    def __init__(self):
        self.messages = []

    def check(self, condition, message):
        if not condition:
            self.messages.append(message)
        return condition

    def near(self, got, want, tolerance, message):
        return self.check(abs(got - want) <= tolerance, "%s: got %s, want %s" % (message, got, want))


def xy(p):
    return (p.x, p.y)


def within(*points):
    return all(-LIMIT <= x <= LIMIT and -LIMIT <= y <= LIMIT for x, y in points)


def turned(x, y, cx, cy, degrees):
    r = math.radians(degrees)
    c, s = math.cos(r), math.sin(r)
    if degrees % 90 == 0:
        c, s = round(c), round(s)
    return (cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c)


def on_circle(cx, cy, r, degrees):
    return turned(cx + r, cy, cx, cy, degrees)


def angle_close(a, b):
    d = math.fmod(a - b, 360.0)
    return min(abs(d), 360 - abs(d)) < 0.002


class Comparison:
    def __init__(self, host, kicad_board, names, sample=1):
        self.host = host
        self.board = kicad_board
        self.names = names  # legacy layer -> host name
        self.sample = sample
        self.fail = Failures()
        self.origin = xy(kicad_board.GetDesignSettings().GetAuxOrigin())
        self.by_tstamp = {}
        for fp in kicad_board.GetFootprints():
            self.by_tstamp[fp.m_Uuid.AsString()] = fp
            for pad in fp.Pads():
                self.by_tstamp[pad.m_Uuid.AsString()] = pad
            for item in fp.GraphicalItems():
                self.by_tstamp[item.m_Uuid.AsString()] = item
            for text in (fp.Reference(), fp.Value()):
                self.by_tstamp[text.m_Uuid.AsString()] = text
        for item in list(kicad_board.GetTracks()) + list(kicad_board.GetDrawings()) + list(kicad_board.Zones()):
            self.by_tstamp[item.m_Uuid.AsString()] = item
        self.counts = {}

    def at(self, x, y):
        return to_kicad(self.origin, x, y)

    def find(self, role, handle, what):
        item = self.by_tstamp.get(tstamp(role, handle))
        self.fail.check(item is not None, "%s %d: not in the KiCad board" % (what, handle))
        return item

    def count(self, kind, n=1):
        self.counts[kind] = self.counts.get(kind, 0) + n

    # Layers: KiCad keeps the host's layer names as user names.
    def layer_ok(self, item, legacy, line, what):
        name = self.board.GetLayerName(item.GetLayer())
        if legacy == MECHANICAL1 and line:
            return self.fail.check(name == "Edge.Cuts", "%s: layer %s, want Edge.Cuts" % (what, name))
        if legacy == MULTI_LAYER or (55 <= legacy <= 56) or legacy >= 66:
            return self.fail.check(item.GetLayer() in (pcbnew.Dwgs_User, pcbnew.Cmts_User, pcbnew.Eco1_User,
                                                       pcbnew.Eco2_User),
                                   "%s: layer %s, want a shared user layer" % (what, name))
        return self.fail.check(name == self.names[legacy], "%s: layer %s, want %s" % (what, name, self.names[legacy]))

    def sampled(self, objects):
        return objects[::self.sample] if self.sample > 1 else objects

    # Pads.
    def pad_face(self, o):
        a = o.attributes
        mode = a.get("PcbApi_QueryPadStackMode", {}).get("stackMode", 0)
        per_size = a.get("PcbApi_QueryPadOrViaSizeOnLayer", {})
        per_shape = a.get("PcbApi_QueryPadOrViaShapeOnLayer", {})
        per_cr = a.get("PcbApi_QueryPadCRPercentageOnLayer", {})
        bottom = o.layer == BOTTOM_LAYER
        layer = "32" if bottom else "1"
        if mode == 2:
            size = per_size.get(layer, {"xSize": 0, "ySize": 0})
            x, y, shape = size["xSize"], size["ySize"], per_shape.get(layer, {}).get("shape", 0)
        else:
            part = "bot" if bottom else "top"
            x, y, shape = o.a[part + "XSize"], o.a[part + "YSize"], o.a[part + "Shape"]
        return x, y, shape, per_cr.get(layer, {}).get("percent", 0)

    def pad(self, o, fp_rotation):
        pad = self.find(0, o.handle, "pad")
        if pad is None:
            return
        a = o.a
        hole = max(nm(a["holeSize"]), 0)
        through = o.layer == MULTI_LAYER and hole > 0
        x, y, shape, percent = self.pad_face(o)
        w, h = nm(x), nm(y)
        if w < MICRON or h < MICRON:
            w, h = max(w, MICRON), max(h, MICRON)
        want_pos = self.at(a["x"], a["y"])
        tolerance = 0 if fp_rotation % 90 == 0 else 2
        what = "pad %d" % o.handle
        self.fail.near(pad.GetPosition().x, want_pos[0], tolerance, what + " x")
        self.fail.near(pad.GetPosition().y, want_pos[1], tolerance, what + " y")
        self.fail.check(xy(pad.GetSize()) == (w, h), "%s size %s, want %s" % (what, xy(pad.GetSize()), (w, h)))
        want_shape = {1: PAD_CIRCLE if w == h else PAD_OVAL, 2: PAD_RECT, 3: PAD_CHAMFERED,
                      9: PAD_ROUNDRECT}.get(shape, PAD_RECT)
        self.fail.check(pad.GetShape() == want_shape, "%s shape %d, want %d" % (what, pad.GetShape(), want_shape))
        if want_shape == PAD_ROUNDRECT:
            self.fail.near(pad.GetRoundRectRadiusRatio(), min(percent, 100) / 200.0, 1e-6, what + " corner ratio")
        if want_shape == PAD_CHAMFERED:
            self.fail.near(pad.GetChamferRectRatio(), 0.25, 1e-6, what + " chamfer ratio")
        self.fail.check(pad.GetAttribute() == (PAD_PTH if through else PAD_SMD), what + " attribute")
        self.fail.check(xy(pad.GetDrillSize()) == ((hole, hole) if through else (0, 0)),
                        "%s drill %s" % (what, xy(pad.GetDrillSize())))
        enabled = set(self.board.GetEnabledLayers().Seq())
        layers = {pcbnew.BOARD.GetStandardLayerName(l) for l in pad.GetLayerSet().Seq() if l in enabled}
        if through:
            want = {pcbnew.BOARD.GetStandardLayerName(l) for l in self.board.GetEnabledLayers().CuStack()}
            want |= {"F.Mask", "B.Mask"}
        elif o.layer == BOTTOM_LAYER:
            want = {"B.Cu", "B.Paste", "B.Mask"}
        elif o.layer == TOP_LAYER or not copper(o.layer):
            want = {"F.Cu", "F.Paste", "F.Mask"}
        else:
            want = None
            self.fail.check(len(layers) == 1 and self.board.GetLayerName(pad.GetLayerSet().Seq()[0]) ==
                            self.names[o.layer], what + " inner layer")
        if want is not None:
            self.fail.check(layers == want, "%s layers %s, want %s" % (what, sorted(layers), sorted(want)))
        self.net_ok(pad, o, what)
        self.fail.check(angle_close(pad.GetOrientationDegrees(), a["rotation"]), what + " rotation")
        self.fail.check(pad.GetName() == windows1252(a["name"]), "%s number %r" % (what, pad.GetName()))
        self.count("pads")

    def renamed(self, net):
        return net in self.host.renamed_nets

    def net_ok(self, item, o, what):
        if o.net is not None and self.renamed(o.net):
            return
        self.fail.check(item.GetNetname() == self.host.net_name(o),
                        "%s net %r, want %r" % (what, item.GetNetname(), self.host.net_name(o)))

    # Board objects.
    def via(self, o):
        a = o.a
        pos = self.at(a["x"], a["y"])
        if not within(pos):
            return
        via = self.find(0, o.handle, "via")
        if via is None:
            return
        what = "via %d" % o.handle
        self.fail.check(xy(via.GetPosition()) == pos, "%s at %s, want %s" % (what, xy(via.GetPosition()), pos))
        self.fail.check(via.GetWidth() == max(nm(a["size"]), 0), what + " size")
        self.fail.check(via.GetDrillValue() == max(nm(a["holeSize"]), 0), what + " drill")
        self.net_ok(via, o, what)
        self.count("vias")

    def track(self, o, check):
        a = o.a
        start, end = self.at(a["x1"], a["y1"]), self.at(a["x2"], a["y2"])
        if not within(start, end):
            return
        self.count("tracks" if copper(o.layer) else "drawings")
        if not check:
            return
        item = self.find(0, o.handle, "track")
        if item is None:
            return
        what = "track %d" % o.handle
        self.fail.check((xy(item.GetStart()), xy(item.GetEnd())) == (start, end), what + " ends")
        self.fail.check(item.GetWidth() == max(nm(a["width"]), 0), what + " width")
        self.layer_ok(item, o.layer, True, what)
        if copper(o.layer):
            self.fail.check(item.GetClass() == "PCB_TRACK", what + " is " + item.GetClass())
            self.net_ok(item, o, what)

    def arc(self, o, check):
        a = o.a
        r = max(nm(a["radius"]), 0)
        cx, cy = self.at(a["x"], a["y"])
        if not within((cx - r, cy - r), (cx + r, cy + r)):
            return
        full = sweep(a["startAngle"], a["endAngle"]) >= 360.0
        pieces = [(0, a["startAngle"], 180.0), (1, a["startAngle"] + 180.0, 180.0)] if full and copper(
            o.layer) else [(0, a["startAngle"], sweep(a["startAngle"], a["endAngle"]))]
        self.count("tracks" if copper(o.layer) else "drawings", len(pieces))
        if not check:
            return
        for role, start, span in pieces:
            item = self.find(role, o.handle, "arc")
            if item is None:
                continue
            what = "arc %d/%d" % (o.handle, role)
            self.layer_ok(item, o.layer, True, what)
            if copper(o.layer):
                self.net_ok(item, o, what)
            # Y flips: angles run clockwise in KiCad's coordinates.
            want_start = on_circle(cx, cy, r, -start)
            want_end = on_circle(cx, cy, r, -(start + span))
            if item.GetClass() == "PCB_TRACK" or (item.GetClass() == "PCB_SHAPE" and item.GetShape() == 0):
                sagitta = r * (1 - math.cos(math.radians(span / 2)))
                self.fail.check(sagitta < 10 * MICRON, what + " written as a segment though curved")
                continue
            if not copper(o.layer) and full:
                self.fail.check(item.GetShape() == pcbnew.SHAPE_T_CIRCLE, what + " is no circle")
                self.fail.check(xy(item.GetCenter()) == (cx, cy), what + " centre")
                self.fail.check(item.GetRadius() == r, what + " radius")
                continue
            centre = item.GetCenter()
            self.fail.near(centre.x, cx, MICRON, what + " centre x")
            self.fail.near(centre.y, cy, MICRON, what + " centre y")
            self.fail.near(item.GetStart().x, want_start[0], 2, what + " start x")
            self.fail.near(item.GetStart().y, want_start[1], 2, what + " start y")
            self.fail.near(item.GetEnd().x, want_end[0], 2, what + " end x")
            self.fail.near(item.GetEnd().y, want_end[1], 2, what + " end y")
            self.fail.check(item.GetWidth() == max(nm(a["width"]), 0), what + " width")

    def fill_corners(self, a):
        x1, x2 = sorted((nm(a["x1"]), nm(a["x2"])))
        y1, y2 = sorted((nm(a["y1"]), nm(a["y2"])))
        mx, my = (x1 + x2) / 2, (y1 + y2) / 2
        corners = [turned(x, y, mx, my, a["rotation"]) for x, y in ((x1, y1), (x2, y1), (x2, y2), (x1, y2))]
        return [(self.origin[0] + x, self.origin[1] - y) for x, y in corners]

    @staticmethod
    def empty_fill(a):
        return nm(a["x1"]) == nm(a["x2"]) or nm(a["y1"]) == nm(a["y2"])

    def fill(self, o, check):
        a = o.a
        corners = self.fill_corners(a)
        if not within(*corners) or self.empty_fill(a):
            return
        self.count("zones" if copper(o.layer) else "drawings")
        if not check:
            return
        item = self.find(0, o.handle, "fill")
        if item is None:
            return
        what = "fill %d" % o.handle
        self.layer_ok(item, o.layer, False, what)
        outline = item.Outline() if copper(o.layer) else item.GetPolyShape()
        points = [xy(outline.COutline(0).CPoint(i)) for i in range(outline.COutline(0).PointCount())]
        self.fail.check(len(points) == 4, what + " corners")
        for got, want in zip(points, corners):
            self.fail.near(got[0], want[0], MICRON, what + " corner x")
            self.fail.near(got[1], want[1], MICRON, what + " corner y")
        if copper(o.layer):
            self.fail.check(item.GetClass() == "ZONE", what + " is no zone")
            self.net_ok(item, o, what)
            self.fail.check(item.GetFilledPolysList(item.GetLayer()).OutlineCount() == 1, what + " not filled")

    def text(self, o, check, item=None):
        a = o.a
        pos = self.at(a["x"], a["y"])
        if not within(pos):
            return
        if item is None:
            self.count("drawings")
        if not check:
            return
        item = item or self.find(0, o.handle, "text")
        if item is None:
            return
        what = "text %d" % o.handle
        self.fail.check(xy(item.GetTextPos()) == pos, "%s at %s, want %s" % (what, xy(item.GetTextPos()), pos))
        self.fail.check(item.GetText() == windows1252(a["text"]), "%s text %r" % (what, item.GetText()))
        self.fail.check(item.GetTextHeight() == max(nm(a["height"]), 0), what + " height")
        self.fail.check(item.GetTextThickness() == max(nm(a["width"]), 0), what + " thickness")
        # A footprint text keeps its angle relative to the footprint.
        angle = item.GetDrawRotation() / 10.0 if item.GetClass() == "MTEXT" else item.GetTextAngleDegrees()
        self.fail.check(angle_close(angle, a["rotation"]), "%s rotation %s" % (what, angle))
        self.fail.check(item.IsMirrored() == bool(a["mirrored"]), what + " mirror")
        self.fail.check(item.GetHorizJustify() == pcbnew.GR_TEXT_HJUSTIFY_LEFT and
                        item.GetVertJustify() == pcbnew.GR_TEXT_VJUSTIFY_BOTTOM, what + " anchor")
        self.layer_ok(item, o.layer, False, what)

    # Footprints.
    def component(self, handle, members):
        c = self.host.objects[handle].attributes["PcbApi_QueryComponent"]
        pos = self.at(c["x"], c["y"])
        if not within(pos):
            return
        self.count("footprints")
        fp = self.find(0, handle, "component")
        if fp is None:
            return
        what = "component %d" % handle
        self.fail.check(xy(fp.GetPosition()) == pos, "%s at %s, want %s" % (what, xy(fp.GetPosition()), pos))
        self.fail.check(fp.IsFlipped() == (c["legacyLayer"] == BOTTOM_LAYER), what + " side")
        self.fail.check(angle_close(fp.GetOrientationDegrees(), c["rotation"]), what + " rotation")
        self.fail.check(fp.GetFPIDAsString() == windows1252(c["pattern"]), what + " pattern %r" % fp.GetFPIDAsString())
        bottom = c["legacyLayer"] == BOTTOM_LAYER
        for field, text_item, layer in (("designatorHandle", fp.Reference(),
                                         pcbnew.B_SilkS if bottom else pcbnew.F_SilkS),
                                        ("commentHandle", fp.Value(), pcbnew.B_Fab if bottom else pcbnew.F_Fab)):
            text = self.host.objects.get(c[field])
            if text is not None:
                self.fail.check(text_item.m_Uuid.AsString() == tstamp(0, text.handle), what + " " + field)
                if nm(text.a["height"]) < READABLE:
                    self.new_label(text, text_item, layer, bottom)
                else:
                    self.text(text, True, text_item)
        graphics = 0
        for o in members:
            if o.kind == "pad":
                self.pad(o, c["rotation"])
            elif o.kind in ("track", "arc", "text") or (o.kind == "fill" and not self.empty_fill(o.a)):
                graphics += 1
                self.fail.check(tstamp(0, o.handle) in self.by_tstamp, "%s member %d missing" % (what, o.handle))
        self.fail.check(len(list(fp.GraphicalItems())) == graphics, what + " graphics")

    def new_label(self, o, item, layer, bottom):
        what = "label %d" % o.handle
        self.fail.check(item.GetText() == windows1252(o.a["text"]), "%s text %r" % (what, item.GetText()))
        self.fail.check((item.GetTextHeight(), item.GetTextWidth(), item.GetTextThickness()) ==
                        (LABEL_SIZE, LABEL_SIZE, LABEL_THICKNESS), what + " size")
        self.fail.check(item.GetLayer() == layer, "%s layer %s" % (what, self.board.GetLayerName(item.GetLayer())))
        self.fail.check(item.IsVisible(), what + " hidden")
        self.fail.check(item.IsMirrored() == bottom, what + " mirror")
        self.fail.check(item.GetHorizJustify() == pcbnew.GR_TEXT_HJUSTIFY_CENTER and
                        item.GetVertJustify() == pcbnew.GR_TEXT_VJUSTIFY_CENTER, what + " anchor")
        self.fail.check(angle_close(item.GetDrawRotation() / 10.0, 0), what + " turned")

    def free_pad(self, o):
        pos = self.at(o.a["x"], o.a["y"])
        if not within(pos):
            return
        self.count("footprints")
        fp = self.find(2, o.handle, "free pad footprint")
        if fp is not None:
            self.fail.check(len(fp.Pads()) == 1, "free pad %d: footprint holds %d pads" % (o.handle, len(fp.Pads())))
        self.pad(o, 0)

    def run(self):
        host = self.host
        members = {}
        for o in host.placed:
            if o.component is not None:
                members.setdefault(o.component, []).append(o)
        for handle in host.components:
            self.component(handle, members.get(handle, []))
        for o in host.of_kind("pad", in_component=False):
            self.free_pad(o)
        for o in host.of_kind("via"):
            self.via(o)
        for kind, check in (("track", self.track), ("arc", self.arc), ("fill", self.fill), ("text", self.text)):
            objects = host.of_kind(kind, in_component=False)
            sampled = set(id(o) for o in self.sampled(objects))
            for o in objects:
                check(o, id(o) in sampled)
        # Without anything on Edge.Cuts the export adds the board outline.
        if not any(self.board.GetLayerName(d.GetLayer()) == "Edge.Cuts" for d in self.board.GetDrawings()
                   if d.m_Uuid.AsString() != tstamp(5, 0)) and not any(
                       g.GetLayer() == pcbnew.Edge_Cuts for fp in self.board.GetFootprints()
                       for g in fp.GraphicalItems()):
            outline = self.by_tstamp.get(tstamp(5, 0))
            if self.fail.check(outline is not None, "no board outline"):
                self.fail.check(outline.GetLayer() == pcbnew.Edge_Cuts and outline.GetShape() == pcbnew.SHAPE_T_RECT,
                                "the outline is no rectangle on Edge.Cuts")
                self.count("drawings")
        # Zones that fill internal planes (with the host's whole stack).
        self.count("zones", sum(1 for z in self.board.Zones() if z.m_Uuid.AsString().startswith("4f52564b-0006-")))
        self.compare_counts()
        self.compare_nets()
        self.compare_types()
        return self.fail.messages

    def compare_types(self):
        """Footprint types by KiCad's own rule; one-pad footprints of free
        pads are board-only and in no BOM or position file."""
        kinds = pcbnew.FP_THROUGH_HOLE | pcbnew.FP_SMD
        free = pcbnew.FP_BOARD_ONLY | pcbnew.FP_EXCLUDE_FROM_POS_FILES | pcbnew.FP_EXCLUDE_FROM_BOM
        for fp in self.board.GetFootprints():
            what = "footprint %s" % fp.m_Uuid.AsString()
            attributes = fp.GetAttributes()
            self.fail.check(attributes & kinds == fp.GetLikelyAttribute(),
                            "%s: type %d, KiCad's rule says %d" % (what, attributes & kinds, fp.GetLikelyAttribute()))
            is_free = fp.m_Uuid.AsString().startswith("4f52564b-0002-")
            self.fail.check((attributes & free) == (free if is_free else 0), what + " board-only flags")

    def compare_counts(self):
        got = board_counts(self.board)
        got["tracks"] = got.pop("segments") + got.pop("arcs")
        del got["nets"]  # compared by name
        for kind, n in got.items():
            self.fail.check(n == self.counts.get(kind, 0), "%s: KiCad has %d, the host board %d" %
                            (kind, n, self.counts.get(kind, 0)))

    def compare_nets(self):
        names = [self.board.GetNetInfo().GetNetItem(i).GetNetname() for i in range(1, self.board.GetNetCount())]
        self.fail.check(len(names) == len(self.host.written_nets), "nets: KiCad has %d, the host board %d" %
                        (len(names), len(self.host.written_nets)))
        self.fail.check(len(set(names)) == len(names) and "" not in names, "net names not distinct")
        present = set(names)
        for handle in self.host.written_nets:
            if handle not in self.host.renamed_nets:
                self.fail.check(self.host.nets[handle] in present, "net %r missing" % self.host.nets[handle])


def board_counts(board):
    tracks = list(board.GetTracks())
    return {
        "footprints": len(board.GetFootprints()),
        "pads": sum(len(fp.Pads()) for fp in board.GetFootprints()),
        "segments": sum(1 for t in tracks if t.GetClass() == "PCB_TRACK"),
        "arcs": sum(1 for t in tracks if t.GetClass() == "PCB_ARC"),
        "vias": sum(1 for t in tracks if t.GetClass() == "PCB_VIA"),
        "zones": board.GetAreaCount(),
        "drawings": len(board.GetDrawings()),
        "nets": board.GetNetCount(),
    }
