// Opens orvik-host's HTML board preview in headless Chromium and checks
// that it draws the board, that hiding a layer removes its objects, and
// that the info panel names the object under the pointer.
//
//   node preview.test.mjs ORVIK_HOST BOARD.pcb OUT_DIR
//
// Writes OUT_DIR/preview.html and preview.svg, the board view's screenshot
// preview.png, and page.png: the whole page with a pad under the pointer.
import { execFileSync } from 'node:child_process';
import { mkdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import assert from 'node:assert/strict';
import { launchChromium, runChecks } from './harness.mjs';
import { PNG } from 'pngjs';

const [host, board, outDir] = process.argv.slice(2);
if (!host || !board || !outDir) {
  console.error('usage: node preview.test.mjs ORVIK_HOST BOARD.pcb OUT_DIR');
  process.exit(2);
}

mkdirSync(outDir, { recursive: true });
const html = path.join(outDir, 'preview.html');
const svg = path.join(outDir, 'preview.svg');
const png = path.join(outDir, 'preview.png');
const pagePng = path.join(outDir, 'page.png');
execFileSync(host, ['import', board, '--html', html, '--svg', svg, '--no-progress'], { stdio: 'inherit' });

function hexToRgb(hex) {
  const n = parseInt(hex.slice(1), 16);
  return [(n >> 16) & 255, (n >> 8) & 255, n & 255];
}

// Pixels of the screenshot within `tolerance` of each colour (per channel),
// and the number of distinct colours.
function analyse(buffer, colours, tolerance = 48) {
  const image = PNG.sync.read(buffer);
  const counts = colours.map(() => 0);
  const distinct = new Set();
  for (let i = 0; i < image.data.length; i += 4) {
    const r = image.data[i], g = image.data[i + 1], b = image.data[i + 2];
    if (distinct.size < 4096) distinct.add((r << 16) | (g << 8) | b);
    colours.forEach(([cr, cg, cb], k) => {
      if (Math.abs(r - cr) <= tolerance && Math.abs(g - cg) <= tolerance && Math.abs(b - cb) <= tolerance) {
        counts[k]++;
      }
    });
  }
  return { counts, distinct: distinct.size, pixels: image.width * image.height };
}

const checks = [];
function check(name, fn) { checks.push([name, fn]); }

const browser = await launchChromium();
let failures = 0;
try {
  const page = await browser.newPage({ viewport: { width: 960, height: 620 } });
  const requests = [];
  page.on('request', (r) => { if (!r.url().startsWith('file:')) requests.push(r.url()); });
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(pathToFileURL(html).href);
  await page.waitForFunction(() => window.orvikPreview !== undefined);
  const view = page.locator('#view');
  const layers = await page.evaluate(() => window.orvikPreview.layers());
  const layer = (name) => layers.find((l) => l.name === name);

  check('page loads without script errors or network requests', async () => {
    assert.deepEqual(errors, []);
    assert.deepEqual(requests, []);
  });

  check('layer list: one checked box per layer group', async () => {
    assert.ok(layer('TopLayer') && layer('BottomLayer') && layer('MultiLayer'), JSON.stringify(layers));
    assert.equal(await page.locator('#layers input[type=checkbox]').count(), layers.length);
    assert.equal(await page.locator('#layers input:checked').count(), layers.length);
  });

  const top = hexToRgb(layer('TopLayer').color);
  const bottom = hexToRgb(layer('BottomLayer').color);
  const before = await view.screenshot({ path: png });

  check('screenshot shows the board in copper colours', async () => {
    const a = analyse(before, [top, bottom]);
    assert.ok(a.distinct > 20, `only ${a.distinct} colours: blank picture`);
    assert.ok(a.counts[0] > 500, `top copper pixels: ${a.counts[0]}`);
    assert.ok(a.counts[1] > 2000, `bottom copper pixels: ${a.counts[1]}`);
  });

  // Hovers the board point (mils) and returns the info panel as an object.
  async function hover(x, y) {
    const p = await page.evaluate(([bx, by]) => window.orvikPreview.boardToClient(bx, by), [x, y]);
    await page.mouse.move(p.x, p.y);
    const rows = await page.evaluate(() => window.orvikPreview.info());
    const shown = await page.locator('#info').innerText();
    return { ...Object.fromEntries(rows), shown };
  }

  check('pointer over a pad names its net and component', async () => {
    // J1 pin 1: 60 mil square pad at (200, 800) with a 35 mil hole; point beside the hole.
    const info = await hover(222, 822);
    assert.equal(info.kind, 'pad', JSON.stringify(info));
    assert.equal(info.net, 'VCC');
    assert.equal(info.component, 'J1');
    assert.equal(info['x size'], '60 mil');
    assert.match(info.shown, /VCC/);
    await page.screenshot({ path: pagePng });
  });

  check('pointer over a track names its net, layer and width', async () => {
    // LED A: 10 mil top track from (940, 750) to (1460, 750).
    const info = await hover(1200, 750);
    assert.equal(info.kind, 'track', JSON.stringify(info));
    assert.equal(info.net, 'LED A');
    assert.equal(info.layer, 'TopLayer');
    assert.equal(info.width, '10 mil');
  });

  check('pointer over a bottom track (Y flipped) names GND', async () => {
    const info = await hover(800, 400);
    assert.equal(info.kind, 'track', JSON.stringify(info));
    assert.equal(info.net, 'GND');
    assert.equal(info.layer, 'BottomLayer');
  });

  check('unticking a layer hides its objects', async () => {
    await page.mouse.move(1, 1);
    const box = page.locator(`#layers input[data-layer-number="${layer('TopLayer').number}"]`);
    await box.uncheck();
    const state = await page.evaluate(() => window.orvikPreview.layers());
    assert.equal(state.find((l) => l.name === 'TopLayer').visible, false);
    assert.ok(state.filter((l) => l.name !== 'TopLayer').every((l) => l.visible));
    const after = await view.screenshot();
    assert.notDeepEqual(after, before);
    const a = analyse(after, [top, bottom]);
    assert.ok(a.counts[0] < 50, `top copper pixels left: ${a.counts[0]}`);
    assert.ok(a.counts[1] > 2000, `bottom copper pixels: ${a.counts[1]}`);
    // Nothing on the hidden layer answers the pointer.
    const info = await hover(1200, 750);
    assert.notEqual(info.layer, 'TopLayer', JSON.stringify(info));
    await box.check();
    assert.ok((await page.evaluate(() => window.orvikPreview.layers())).every((l) => l.visible));
  });

  check('wheel zooms about the pointer, drag pans', async () => {
    const start = await page.evaluate(() => window.orvikPreview.viewBox());
    const p = await page.evaluate(() => window.orvikPreview.boardToClient(1000, 750));
    await page.mouse.move(p.x, p.y);
    await page.mouse.wheel(0, -300);
    const zoomed = await page.evaluate(() => window.orvikPreview.viewBox());
    assert.ok(zoomed[2] < start[2] * 0.6, `width ${start[2]} -> ${zoomed[2]}`);
    const q = await page.evaluate(() => window.orvikPreview.boardToClient(1000, 750));
    assert.ok(Math.abs(q.x - p.x) < 2 && Math.abs(q.y - p.y) < 2, 'the point under the pointer stays put');
    await page.mouse.down();
    await page.mouse.move(p.x + 100, p.y + 40, { steps: 4 });
    await page.mouse.up();
    const panned = await page.evaluate(() => window.orvikPreview.viewBox());
    assert.ok(panned[0] < zoomed[0] && panned[1] < zoomed[1], `${zoomed} -> ${panned}`);
    assert.ok(Math.abs(panned[2] - zoomed[2]) < 1e-9, 'panning keeps the zoom');
  });

  failures = await runChecks(checks);
} finally {
  await browser.close();
}
writeFileSync(path.join(outDir, 'result.txt'), failures === 0 ? 'passed\n' : `${failures} failed\n`);
console.log(failures === 0 ? `all ${checks.length} checks passed; screenshot ${png}` : `${failures} of ${checks.length} checks failed`);
process.exit(failures === 0 ? 0 : 1);
