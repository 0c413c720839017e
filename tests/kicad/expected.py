"""What a KiCad board exported by orvik-host must hold, worked out from the
stand-in host's board dump (orvik-host import --json) on its own: which host
objects are placed, where each lands in KiCad (nanometres, Y down), and on
which layer, net and footprint."""

import json
import math
import re

KIND_COPPER_LEGACY = set(range(1, 33)) | set(range(39, 55))
MULTI_LAYER = 74
TOP_LAYER = 1
BOTTOM_LAYER = 32
MECHANICAL1 = 57

# KiCad's pad shapes and attributes (pcbnew's PAD_SHAPE_* and PAD_ATTRIB_*).
PAD_CIRCLE, PAD_RECT, PAD_OVAL, PAD_ROUNDRECT, PAD_CHAMFERED = 0, 1, 2, 4, 5
PAD_PTH, PAD_SMD = 0, 1


def legacy_names(layers_header):
    """Legacy layer number -> built-in name, from include/orvik/layers.h."""
    with open(layers_header, encoding="ascii") as f:
        return {int(n): name for n, name in re.findall(r"X\((\d+), (\w+)\)", f.read())}


def nm(units):
    """Host units (2.54 nm) to nanometres, halves away from zero."""
    scaled = units * 254
    return (scaled + 50) // 100 if scaled >= 0 else -((-scaled + 50) // 100)


def legacy_of(layer_id):
    tag, number = layer_id >> 16, layer_id & 0xFFFF
    if tag == 0:
        return number if number <= 82 else 0
    if tag == 0x0101:
        return BOTTOM_LAYER if number == 0xFFFF else (number if 1 <= number < 32 else 0)
    if tag == 0x0104:
        return 38 + number if 1 <= number <= 16 else 0
    if tag == 0x0400:
        return 56 + number if 1 <= number <= 16 else 0
    return 0


def windows1252(text):
    """The dump's strings hold code points already decoded from the host's
    Windows-1252 bytes; KiCad shows NUL as U+FFFD."""
    return text.replace("\0", "\ufffd")


QUERY = {
    "track": "PcbApi_QueryTrack",
    "arc": "PcbApi_QueryArc",
    "pad": "PcbApi_QueryPad",
    "via": "PcbApi_QueryVia",
    "fill": "PcbApi_QueryFill",
    "text": "PcbApi_QueryText",
}


class HostObject:
    def __init__(self, o):
        self.handle = o["handle"]
        self.kind = o["kind"]
        self.member_of = o["memberOf"]
        self.attributes = o["attributes"]
        q = self.attributes.get(QUERY.get(self.kind, ""), {})
        self.a = q
        if self.kind == "via":
            self.layer = q.get("legacyLayer", 0)
        else:
            self.layer = legacy_of(q.get("layerId", 0))
        self.net = None  # net handle
        self.component = None  # component handle (a board component)


class Board:
    """The dump's board: placed primitives, components, nets, and where
    things go in KiCad given the origin KiCad reports."""

    def __init__(self, dump_path):
        with open(dump_path, encoding="utf-8") as f:
            d = json.load(f)
        self.board = d["board"]["handle"]
        members = set(d["board"]["members"])
        self.objects = {o["handle"]: HostObject(o) for o in d["objects"]}
        self.stack = [l["layer"] for l in d["board"]["layerStack"]]
        self.stack_names = {l["layer"]: l["name"] for l in d["board"]["layerStack"]}
        self.components = [h for h in sorted(members) if self.objects[h].kind == "component"]
        component_set = set(self.components)
        self.nets = {n["handle"]: windows1252(n["name"]) for n in d["nets"]}
        # As orvik-host reads the board: the board's members and the members
        # of its components and nets; placed when on the board or on one of
        # its components, and on a layer.
        group_members = {g["handle"]: g["members"] for g in d["components"] + d["nets"]}
        candidates = set()
        for h in members:
            if self.objects[h].kind in ("component", "net"):
                candidates.update(group_members.get(h, []))
            else:
                candidates.add(h)
        self.placed = []
        self.unplaced = 0
        placed_nets = {h for h in members if self.objects[h].kind == "net"}
        for h in sorted(candidates):
            o = self.objects[h]
            if o.kind not in QUERY:
                continue
            nets = [m for m in o.member_of if self.objects.get(m) and self.objects[m].kind == "net"]
            comps = [m for m in o.member_of if self.objects.get(m) and self.objects[m].kind == "component"]
            o.net = nets[0] if nets else None
            if not (self.board in o.member_of or any(c in component_set for c in comps)) or o.layer == 0:
                self.unplaced += 1
                continue
            o.component = comps[0] if comps and comps[0] in component_set else None
            if o.net:
                placed_nets.add(o.net)
            self.placed.append(o)
        self.written_nets = sorted(placed_nets)
        # Nets KiCad cannot show under their host name: empty, or taken by
        # an earlier net.
        self.renamed_nets = set()
        taken = set()
        for h in self.written_nets:
            name = self.nets.get(h, "")
            if name == "" or name in taken:
                self.renamed_nets.add(h)
            taken.add(name)

    def net_name(self, o):
        return self.nets.get(o.net, "") if o.net else ""

    def of_kind(self, kind, in_component=None):
        return [
            o
            for o in self.placed
            if o.kind == kind and (in_component is None or (o.component is not None) == in_component)
        ]


def copper(legacy):
    return legacy in KIND_COPPER_LEGACY


def sweep(start, end):
    s = math.fmod(end - start, 360.0)
    return s + 360.0 if s <= 0 else s


def to_kicad(origin, x, y):
    return (origin[0] + nm(x), origin[1] - nm(y))
