// Opens the report page of `orvik-host convert` in headless Chromium and
// checks that its totals equal the JSON report's, that it sorts by a column
// and filters by status, and that a name that is no UTF-8 is shown escaped.
//
//   node convert-report.test.mjs ORVIK_HOST BOARD.pcb OUT_DIR
//
// Builds OUT_DIR/archive (copies of BOARD.pcb, two named alike, a file not
// recognised, a dangling link, a Windows-1252 byte in a name), converts it
// into OUT_DIR/converted and writes the screenshot OUT_DIR/report.png.
import { spawnSync } from 'node:child_process';
import { copyFileSync, mkdirSync, readFileSync, rmSync, symlinkSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import assert from 'node:assert/strict';
import { launchChromium, runChecks } from './harness.mjs';

const [host, board, outDir] = process.argv.slice(2);
if (!host || !board || !outDir) {
  console.error('usage: node convert-report.test.mjs ORVIK_HOST BOARD.pcb OUT_DIR');
  process.exit(2);
}

const archive = path.join(outDir, 'archive');
const converted = path.join(outDir, 'converted');
rmSync(archive, { recursive: true, force: true });
rmSync(converted, { recursive: true, force: true });
mkdirSync(path.join(archive, 'boards', 'old'), { recursive: true });
copyFileSync(board, path.join(archive, 'demo-board.pcb'));
copyFileSync(board, path.join(archive, 'demo-board.PCB'));  // the same outputs' names: a failure
copyFileSync(board, path.join(archive, 'boards', 'second board.pcb'));
copyFileSync(board, path.join(archive, 'boards', 'old', 'third.pcb'));
copyFileSync(board, Buffer.concat([Buffer.from(path.join(archive, 'boards', 'caf')), Buffer.from([0xe9]),
                                   Buffer.from('.pcb')]));
writeFileSync(path.join(archive, 'notes.pcb'), 'not a board\n');
symlinkSync('nowhere.pcb', path.join(archive, 'gone.pcb'));

const run = spawnSync(host, ['convert', archive, '--out', converted, '--html', '--check', '--no-progress'],
                      { encoding: 'utf8' });
if (run.status !== 4) {
  console.error(`orvik-host convert: status ${run.status}\n${run.stdout}\n${run.stderr}`);
  process.exit(1);
}
const report = JSON.parse(readFileSync(path.join(converted, 'report.json'), 'utf8'));

const checks = [];
function check(name, fn) { checks.push([name, fn]); }

const browser = await launchChromium();
let failures = 0;
try {
  const page = await browser.newPage({ viewport: { width: 1500, height: 560 } });
  const requests = [];
  page.on('request', (r) => { if (!r.url().startsWith('file:')) requests.push(r.url()); });
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(pathToFileURL(path.join(converted, 'report.html')).href);
  const visible = () => page.$$eval('#files tbody tr:not([hidden])', (rows) => rows.map((r) => ({
    status: r.getAttribute('data-status'), name: r.cells[1].textContent, size: Number(r.cells[3].textContent) })));

  check('page loads without script errors or network requests', async () => {
    assert.deepEqual(errors, []);
    assert.deepEqual(requests, []);
  });

  check('totals on the page equal the JSON report', async () => {
    const shown = await page.$$eval('[data-total]', (cells) =>
      Object.fromEntries(cells.map((c) => [c.getAttribute('data-total'), c.textContent])));
    for (const [key, value] of Object.entries(report.totals)) {
      if (key === 'convertedBytes' || key === 'seconds') continue;
      assert.ok(key in shown, `no total ${key} on the page`);
      assert.equal(Number(shown[key].split(' ')[0]), value, `total ${key}`);
    }
    assert.equal(report.totals.found, 7);
    assert.equal(report.totals.failed, 1);
    assert.equal(report.totals.unreadable, 1);
    assert.equal(report.totals['not-recognised'], 1);
    assert.equal((await visible()).length, report.files.length);
  });

  check('rows in input order, the name that is no UTF-8 escaped', async () => {
    const rows = await visible();
    assert.deepEqual(rows.map((r) => r.name), report.files.map((f) => f.place));
    assert.ok(rows.some((r) => r.name === 'boards/caf\\xE9.pcb'), JSON.stringify(rows));
  });

  check('a click on Bytes sorts by size, a second the other way', async () => {
    const head = page.locator('#files th', { hasText: 'Bytes' });
    await head.click();
    const up = (await visible()).map((r) => r.size);
    assert.deepEqual(up, [...up].sort((a, b) => a - b));
    await head.click();
    const down = (await visible()).map((r) => r.size);
    assert.deepEqual(down, [...up].sort((a, b) => b - a));
    await page.locator('#files th', { hasText: '#' }).click();
  });

  check('the status filter shows the failures only', async () => {
    await page.selectOption('#status', 'failed');
    const rows = await visible();
    assert.equal(rows.length, report.totals.failed);
    assert.ok(rows.every((r) => r.status === 'failed'));
    assert.match(await page.locator('#shown').innerText(), new RegExp(`^${rows.length} of ${report.files.length}`));
    await page.selectOption('#status', 'problems');
    assert.ok((await visible()).every((r) => !['converted', 'up-to-date'].includes(r.status)));
    await page.selectOption('#status', 'all');
    await page.fill('#filter', 'boards/');
    assert.equal((await visible()).length, 3);
    await page.fill('#filter', '');
  });

  check('each converted row links to its outputs', async () => {
    const links = await page.$$eval('#files tbody tr[data-status="warnings"] a', (a) => a.map((x) => x.textContent));
    for (const kind of ['summary.json', 'kicad_pcb', 'html', 'check.txt', 'check.json']) {
      assert.ok(links.includes(kind), `no ${kind} link: ${links}`);
    }
    await page.screenshot({ path: path.join(outDir, 'report.png'), fullPage: true });
  });

  failures = await runChecks(checks);
} finally {
  await browser.close();
}
console.log(failures === 0 ? `all ${checks.length} checks passed` : `${failures} of ${checks.length} checks failed`);
process.exit(failures === 0 ? 0 : 1);
