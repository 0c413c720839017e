#include "host/orvik-host/HtmlPage.h"

#include <map>

#include "host/orvik-host/BoardPreview.h"
#include "host/orvik-host/Markup.h"

namespace orvik::host {

namespace {

constexpr const char* kStyle = R"(
:root { color-scheme: dark; }
* { box-sizing: border-box; }
html, body { margin: 0; height: 100%; background: #15171a; color: #dde; font: 13px/1.4 sans-serif; }
body { display: flex; flex-direction: column; }
header { padding: 6px 12px; background: #202328; border-bottom: 1px solid #333; }
header h1 { font-size: 15px; margin: 0; font-weight: 600; }
header span { color: #999; margin-left: 1em; }
main { flex: 1; display: flex; min-height: 0; }
aside { width: 240px; padding: 8px 12px; overflow: auto; background: #1b1d21; border-right: 1px solid #333; }
aside h2 { font-size: 12px; text-transform: uppercase; color: #999; margin: 10px 0 4px; }
#layers { list-style: none; margin: 0; padding: 0; }
#layers li label { display: flex; align-items: center; gap: 6px; padding: 2px 0; cursor: pointer; }
#layers .swatch { width: 12px; height: 12px; border-radius: 2px; border: 1px solid #0006; }
#layers .count { margin-left: auto; color: #888; }
#info { width: 100%; border-collapse: collapse; }
#info th { text-align: left; color: #999; font-weight: normal; padding-right: 8px; white-space: nowrap; }
#info td { word-break: break-all; }
#view { flex: 1; position: relative; overflow: hidden; cursor: grab; background: #0b0d0c; }
#view.dragging { cursor: grabbing; }
#view svg { width: 100%; height: 100%; display: block; }
#view .hovered { filter: brightness(1.6); }
#hint { position: absolute; right: 8px; bottom: 6px; color: #777; pointer-events: none; }
)";

constexpr const char* kScript = R"(
(function () {
  'use strict';
  const svg = document.querySelector('#view svg');
  const board = svg.querySelector('#board');
  const infoTable = document.getElementById('info');
  const list = document.getElementById('layers');
  const nonLengths = new Set(['name', 'shape', 'rotation', 'startAngle', 'endAngle', 'text', 'mirrored']);
  const groups = Array.from(svg.querySelectorAll('g.layer'));
  const start = svg.getAttribute('viewBox').split(/\s+/).map(Number);
  let box = start.slice();
  let hovered = null;
  let info = [];

  function applyBox() { svg.setAttribute('viewBox', box.join(' ')); }

  function setLayerVisible(number, on) {
    const g = svg.querySelector('#layer-' + number);
    if (!g) return false;
    g.style.display = on ? '' : 'none';
    const input = list.querySelector('input[data-layer-number="' + number + '"]');
    if (input) input.checked = on;
    return true;
  }

  // Layer list, top layer first (the reverse of the drawing order).
  groups.slice().reverse().forEach(function (g) {
    const li = document.createElement('li');
    const label = document.createElement('label');
    const input = document.createElement('input');
    input.type = 'checkbox';
    input.checked = true;
    input.dataset.layerNumber = g.dataset.layerNumber;
    input.addEventListener('change', function () { setLayerVisible(g.dataset.layerNumber, input.checked); });
    const swatch = document.createElement('span');
    swatch.className = 'swatch';
    swatch.style.background = g.getAttribute('color');
    const name = document.createElement('span');
    name.textContent = g.dataset.layer;
    const count = document.createElement('span');
    count.className = 'count';
    count.textContent = String(g.childElementCount);
    label.append(input, swatch, name, count);
    li.append(label);
    list.append(li);
  });

  function row(key, value) {
    const tr = document.createElement('tr');
    const th = document.createElement('th');
    const td = document.createElement('td');
    th.textContent = key;
    td.textContent = value;
    tr.append(th, td);
    infoTable.append(tr);
    info.push([key, value]);
  }

  function label(key) { return key.replace(/[A-Z]/g, function (c) { return ' ' + c.toLowerCase(); }); }

  function show(el) {
    if (hovered) hovered.classList.remove('hovered');
    hovered = el;
    infoTable.replaceChildren();
    info = [];
    if (!el) { row('', 'Point at an object'); return; }
    el.classList.add('hovered');
    const d = el.dataset;
    row('kind', d.kind);
    row('layer', d.layer);
    row('net', d.net || '(none)');
    row('component', d.component || '(none)');
    Object.keys(d).forEach(function (key) {
      if (['kind', 'layer', 'net', 'component'].includes(key)) return;
      let value = d[key];
      if (!nonLengths.has(key)) value += ' mil';
      else if (key === 'rotation' || key.endsWith('Angle')) value += '\u00b0';
      row(label(key), value);
    });
  }

  svg.addEventListener('pointerover', function (e) {
    const el = e.target.closest('[data-kind]');
    show(el && svg.contains(el) ? el : null);
  });
  svg.addEventListener('pointerleave', function () { show(null); });

  // Zoom about the pointer.
  function toUser(clientX, clientY) {
    const m = svg.getScreenCTM();
    if (!m) return null;
    const p = new DOMPoint(clientX, clientY).matrixTransform(m.inverse());
    return [p.x, p.y];
  }
  svg.addEventListener('wheel', function (e) {
    e.preventDefault();
    const p = toUser(e.clientX, e.clientY);
    if (!p) return;
    const f = Math.exp(Math.max(-1, Math.min(1, e.deltaY / 300)));
    box = [p[0] - (p[0] - box[0]) * f, p[1] - (p[1] - box[1]) * f, box[2] * f, box[3] * f];
    applyBox();
  }, { passive: false });

  let drag = null;
  svg.addEventListener('pointerdown', function (e) {
    if (e.button !== 0) return;
    drag = { x: e.clientX, y: e.clientY, box: box.slice(), scale: 1 / svg.getScreenCTM().a };
    svg.setPointerCapture(e.pointerId);
    document.getElementById('view').classList.add('dragging');
  });
  svg.addEventListener('pointermove', function (e) {
    if (!drag) return;
    box[0] = drag.box[0] - (e.clientX - drag.x) * drag.scale;
    box[1] = drag.box[1] - (e.clientY - drag.y) * drag.scale;
    applyBox();
  });
  function endDrag() { drag = null; document.getElementById('view').classList.remove('dragging'); }
  svg.addEventListener('pointerup', endDrag);
  svg.addEventListener('pointercancel', endDrag);
  svg.addEventListener('dblclick', function () { box = start.slice(); applyBox(); });

  show(null);
  window.orvikPreview = {
    layers: function () {
      return groups.map(function (g) {
        return { number: Number(g.dataset.layerNumber), name: g.dataset.layer, color: g.getAttribute('color'),
                 visible: g.style.display !== 'none', count: g.childElementCount };
      });
    },
    setLayerVisible: setLayerVisible,
    viewBox: function () { return box.slice(); },
    info: function () { return info.map(function (r) { return r.slice(); }); },
    boardToClient: function (x, y) {
      const p = new DOMPoint(x, y).matrixTransform(board.getScreenCTM());
      return { x: p.x, y: p.y };
    }
  };
})();
)";

}  // namespace

std::string BoardHtml(const BoardScene& scene, std::string_view title) {
  std::map<std::string_view, int> kinds;
  for (const Primitive& p : scene.primitives) ++kinds[KindName(p.shape)];
  std::string counts = std::to_string(scene.primitives.size()) + " objects";
  for (const auto& [kind, count] : kinds)
    counts += ", " + std::to_string(count) + ' ' + std::string(kind) + (count == 1 ? "" : "s");
  if (scene.unplaced != 0) counts += "; " + std::to_string(scene.unplaced) + " not on the board";

  std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"us-ascii\">\n<title>";
  AppendEscaped(out, title);
  out += " - board preview</title>\n<style>";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n<header><h1>";
  AppendEscaped(out, title);
  out += "<span>";
  AppendEscaped(out, counts);
  out +=
      "</span></h1></header>\n<main>\n<aside>\n<h2>Layers</h2>\n<ul id=\"layers\"></ul>\n"
      "<h2>Under the pointer</h2>\n<table id=\"info\"></table>\n</aside>\n<div id=\"view\">\n";
  SvgOptions options;
  options.xmlDeclaration = false;
  out += BoardSvg(scene, options);
  out += "<div id=\"hint\">wheel: zoom &#183; drag: pan &#183; double-click: reset</div>\n</div>\n</main>\n<script>";
  out += kScript;
  out += "</script>\n</body>\n</html>\n";
  return out;
}

}  // namespace orvik::host
