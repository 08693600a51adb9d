// Rich pages in headless Chromium, opened from disk as a reader opens them: the text the
// browser shows of every rich page is the source's own text, and on the dark theme every
// colour the page shows, the workspace's trees, tabs and search box too, reads with a
// contrast of at least 4.5:1 against the background it stands on.
//
//   node rich.test.mjs QUILLON SOURCES_DIR WORK_DIR
//
// QUILLON is the command, SOURCES_DIR a folder of sources (tests/data/rich), WORK_DIR a
// scratch folder. Environment: CHROMIUM_PATH (default /usr/bin/chromium).
// Prints one line per check and ends with "N passed, N failed"; exits 1 when a check fails,
// 2 on bad usage or when the browser cannot be started.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [quillon, sources, work] = process.argv.slice(2);
if (!quillon || !sources || !work) {
  console.error('usage: node rich.test.mjs QUILLON SOURCES_DIR WORK_DIR');
  process.exit(2);
}
const executablePath = process.env.CHROMIUM_PATH || '/usr/bin/chromium';
let playwright;
try {
  playwright = await import('playwright-core');
} catch {
  console.error('playwright-core is missing: run "npm install" in tests/browser');
  process.exit(2);
}

let passed = 0;
let failed = 0;
async function check(title, body) {
  try {
    const note = await body();
    passed++;
    console.log(`ok - ${title}${note ? ` (${note})` : ''}`);
  } catch (err) {
    failed++;
    console.log(`FAIL - ${title}: ${err && err.message ? err.message : err}`);
  }
}
function fail(message) {
  throw new Error(message);
}

// The pages: each source on its own with --rich, and the folder as a dark workspace.
fs.rmSync(work, { recursive: true, force: true });
const files = fs.readdirSync(sources).filter((n) => fs.statSync(path.join(sources, n)).isFile()).sort();
execFileSync(quillon, ['--rich', '--pages', '-o', path.join(work, 'pages'), ...files.map((n) => path.join(sources, n))]);
const copy = path.join(work, path.basename(sources));
fs.cpSync(sources, copy, { recursive: true });
execFileSync(quillon, ['--rich', '--theme', 'dark', copy]);
const darkIndex = path.join(work, `${path.basename(sources)}_Project.htm`);
const darkFolder = path.join(work, `${path.basename(sources)}_HTML`);

/** The source as a browser shows it: tabs to stops of four, each line on its own. */
function shownSource(file) {
  return fs.readFileSync(file, 'latin1').replace(/\r\n/g, '\n').replace(/\n$/, '').split('\n')
    .map((line) => {
      let out = '';
      for (const c of line) out += c === '\t' ? ' '.repeat(4 - (out.length % 4)) : c;
      return out;
    });
}

// The WCAG contrast of two "rgb(r, g, b)" colours.
function luminance(rgb) {
  const [r, g, b] = rgb.match(/\d+(\.\d+)?/g).slice(0, 3).map((v) => {
    const c = Number(v) / 255;
    return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
  });
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}
function contrast(a, b) {
  const [x, y] = [luminance(a), luminance(b)].sort((p, q) => q - p);
  return (x + 0.05) / (y + 0.05);
}

/** Every colour of text in the document with the background it stands on. */
function textColours() {
  const seen = new Map();
  const background = (el) => {
    for (let e = el; e; e = e.parentElement) {
      const bg = getComputedStyle(e).backgroundColor;
      if (bg && !/rgba\(0, 0, 0, 0\)|transparent/.test(bg)) return bg;
    }
    return getComputedStyle(document.body).backgroundColor;
  };
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (let n = walker.nextNode(); n; n = walker.nextNode()) {
    const el = n.parentElement;
    if (!n.textContent.trim() || !el || !el.getClientRects().length) continue;
    const style = getComputedStyle(el);
    if (style.visibility === 'hidden' || style.display === 'none') continue;
    const key = `${style.color} on ${background(el)}`;
    if (!seen.has(key)) seen.set(key, { color: style.color, background: background(el), text: n.textContent.trim().slice(0, 30) });
  }
  return [...seen.values()];
}

const browser = await playwright.chromium
  .launch({ executablePath, headless: true,
    args: ['--no-sandbox', '--headless', '--disable-gpu', '--no-first-run', '--disable-background-networking'] })
  .catch((err) => {
    console.error(`cannot start the browser: ${err.message}`);
    process.exit(2);
  });

try {
  const page = await (await browser.newContext({ viewport: { width: 1280, height: 800 } })).newPage();
  for (const name of files) {
    await check(`${name}: the rich page shows the source's own text`, async () => {
      await page.goto(pathToFileURL(path.join(work, 'pages', `${name}.htm`)).href);
      const shown = (await page.evaluate(() => document.body.innerText)).replace(/\u00a0/g, ' ')
        .replace(/\n$/, '').split('\n');
      const source = shownSource(path.join(sources, name));
      const first = source.findIndex((line, i) => line !== shown[i]);
      if (first >= 0 || shown.length !== source.length)
        fail(`line ${first + 1} reads ${JSON.stringify(shown[first])}, not ${JSON.stringify(source[first])}`);
      const spans = await page.evaluate(() => document.querySelectorAll('font[color]').length);
      return `${source.length} lines, ${spans} coloured stretches`;
    });
  }

  for (const name of files) {
    await check(`${name}: every colour of the dark page reads at 4.5:1 or more`, async () => {
      await page.goto(pathToFileURL(path.join(darkFolder, `${name}.htm`)).href);
      const colours = await page.evaluate(textColours);
      // Text, keywords, comments, strings, numbers and (but in Java) directives.
      const distinct = new Set(colours.map((c) => c.color));
      if (distinct.size < (name.endsWith('.java') ? 5 : 6)) fail(`only ${distinct.size} colours: ${[...distinct]}`);
      const weak = colours.filter((c) => contrast(c.color, c.background) < 4.5);
      if (weak.length) fail(weak.map((c) => `${c.color} on ${c.background} ("${c.text}")`).join('; '));
      const bg = await page.evaluate(() => getComputedStyle(document.body).backgroundColor);
      if (luminance(bg) > 0.05) fail(`the background ${bg} is not dark`);
      return `${distinct.size} colours on ${bg}, the least ${Math.min(...colours.map((c) => contrast(c.color, c.background))).toFixed(2)}:1`;
    });
  }

  await check('the dark workspace: trees, tabs and search box are dark and read at 4.5:1', async () => {
    await page.goto(pathToFileURL(darkIndex).href, { waitUntil: 'load' });
    const notes = [];
    for (const frameName of ['tree_frame', 'project_tabs_frame', 'tab_frame']) {
      const frame = page.frame({ name: frameName }) || fail(`no frame ${frameName}`);
      await frame.waitForLoadState('load');
      const bg = await frame.evaluate(() => getComputedStyle(document.body).backgroundColor);
      if (luminance(bg) > 0.05) fail(`${frameName}: the background ${bg} is not dark`);
      const colours = await frame.evaluate(textColours);
      const weak = colours.filter((c) => contrast(c.color, c.background) < 4.5);
      if (weak.length) fail(`${frameName}: ${weak.map((c) => `${c.color} on ${c.background} ("${c.text}")`).join('; ')}`);
      notes.push(`${frameName} ${colours.length} colours`);
    }
    const tree = page.frame({ name: 'tree_frame' });
    const input = await tree.evaluate(() => {
      const box = document.querySelector('.tree_search input');
      return box && [getComputedStyle(box).color, getComputedStyle(box).backgroundColor];
    });
    if (!input) fail('the tree has no search box');
    if (contrast(input[0], input[1]) < 4.5) fail(`the search box: ${input[0]} on ${input[1]}`);
    return notes.join(', ');
  });
} finally {
  await browser.close();
}

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
