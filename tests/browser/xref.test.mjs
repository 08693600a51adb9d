// The cross-references in headless Chromium, opened from disk as a reader opens them, on
// a small C workspace that xref_fixture writes from records made by hand: a use leads to
// its definition, a name of several candidates to a chooser page whose links lead to
// each, a click on a definition opens the list of its uses (counted, grouped by file,
// each leading to its line), pointing at a use shows a tooltip that stays while the
// pointer moves into it; the panel follows the theme's custom properties; no script
// error, and nothing is fetched (file:// forbids it) but pages and scripts from disk.
//
// Given the command too, it converts a small C folder with --xref and checks the same of
// what the scanner finds there, and converts the hostile sources (tests/hostile/
// make_sources.sh) with --xref: on every page, opening each definition's uses and pointing
// at each use raises no dialog or script error, runs nothing of the sources, and the
// panels and tooltips hold only their own elements.
//
//   node xref.test.mjs XREF_FIXTURE DATA_DIR WORK_DIR [QUILLON]
//
// XREF_FIXTURE is the test tool (build/linux/tests/workspace/xref_fixture), DATA_DIR the
// program's data folder, WORK_DIR a scratch folder, QUILLON the command. Environment: CHROMIUM_PATH (default
// /usr/bin/chromium). Prints one line per check and ends with "N passed, N failed"; exits
// 1 when a check fails, 2 on bad usage or when the browser cannot be started.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const [fixture, data, work, quillon] = process.argv.slice(2);
if (!fixture || !data || !work) {
  console.error('usage: node xref.test.mjs XREF_FIXTURE DATA_DIR WORK_DIR');
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

fs.rmSync(work, { recursive: true, force: true });
execFileSync(fixture, [data, work], { stdio: 'inherit' });
// A folder of C sources, converted as a reader would.
const scanned = path.join(work, 'scanned');
if (quillon) {
  fs.mkdirSync(scanned);
  fs.writeFileSync(path.join(scanned, 'util.h'), 'int area(int w, int h);\n');
  fs.writeFileSync(path.join(scanned, 'util.c'), '#include "util.h"\nint area(int w, int h) { return w * h; }\n');
  fs.writeFileSync(path.join(scanned, 'main.c'),
    '#include "util.h"\nint total;\nint main(void) {\n  total = area(2, 3);\n  return total + area(1, 1);\n}\n');
  execFileSync(quillon, ['--xref', '--data', data, scanned], { stdio: 'ignore' });
  const makeSources = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'hostile', 'make_sources.sh');
  execFileSync(makeSources, [path.join(work, 'hostile')], { stdio: 'ignore' });
  try {
    execFileSync(quillon, ['--xref', '--data', data, path.join(work, 'hostile')], { stdio: 'ignore' });
  } catch {
    // some hostile sources cannot be read: the rest is written
  }
}
const folder = path.join(work, 'Project_HTML');
const pageUrl = (name) => {
  const [file, fragment] = name.split('#');
  return pathToFileURL(path.join(folder, file)).href + (fragment ? `#${fragment}` : '');
};

const browser = await playwright.chromium
  .launch({ executablePath, headless: true,
    args: ['--no-sandbox', '--headless', '--disable-gpu', '--no-first-run', '--disable-background-networking'] })
  .catch((err) => {
    console.error(`cannot start the browser: ${err.message}`);
    process.exit(2);
  });

const errors = [];
const fetched = [];
try {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await context.newPage();
  page.on('pageerror', (err) => errors.push(err.message));
  page.on('request', (r) => {
    if (!r.url().startsWith('file:') || ['fetch', 'xhr', 'websocket', 'eventsource'].includes(r.resourceType()))
      fetched.push(`${r.resourceType()} ${r.url()}`);
  });
  /** The text of the element that the page's fragment names (id or name). */
  const fragmentTarget = () => page.evaluate(() => {
    const key = decodeURIComponent(location.hash.slice(1));
    const e = document.getElementById(key) || document.getElementsByName(key)[0];
    return e ? e.textContent : null;
  });
  /** The link `name` on line `line` of the open page (lines are the body's nobr elements). */
  const linkOn = (line, name) => page.locator(`body > font > nobr:nth-of-type(${line}) a[href]`, { hasText: name }).first();

  await check('a use leads to the place of its definition on another page', async () => {
    await page.goto(pageUrl('main.c.htm'));
    const use = linkOn(5, 'area');
    const href = await use.getAttribute('href');
    if (href !== 'util.c.htm#x2.4') fail(`the use of area leads to ${href}`);
    await use.click();
    await page.waitForURL(/util\.c\.htm#x2\.4$/);
    const target = await fragmentTarget();
    if (target !== 'area') fail(`the anchor holds ${JSON.stringify(target)}`);
    return href;
  });

  await check('a name of two candidates leads to a chooser whose links lead to each', async () => {
    await page.goto(pageUrl('main.c.htm'));
    const href = await linkOn(7, 'x').getAttribute('href');
    if (href !== 'xref/c0.htm#c0') fail(`the use of x leads to ${href}`);
    await page.goto(pageUrl(href));
    const items = await page.evaluate(() => Array.from(document.querySelectorAll('#c0 li'),
      (li) => [li.querySelector('a').getAttribute('href'), li.textContent]));
    if (items.length !== 2) fail(`the chooser lists ${items.length} candidates`);
    if (!items[0][1].includes('shapes.c line 1') || !items[0][1].includes('struct Point { int x; };'))
      fail(`the first candidate reads ${JSON.stringify(items[0][1])}`);
    for (let i = 0; i < items.length; i++) {
      await page.goto(pageUrl('xref/c0.htm#c0'));
      await page.locator('#c0 li a').nth(i).click();
      await page.waitForURL(/shapes\.c\.htm#x\d+\.\d+$/);
      const target = await fragmentTarget();
      if (target !== 'x') fail(`candidate ${i + 1} (${items[i][0]}) leads to ${JSON.stringify(target)}`);
    }
    return items.map((item) => item[0]).join(', ');
  });

  await check('a click on a definition lists its uses by file, each leading to its line', async () => {
    await page.goto(pageUrl('main.c.htm'));
    await page.locator('a[name="x3.4"]').click();
    const panel = page.locator('.quillon-xref-panel');
    await panel.waitFor();
    const count = await panel.locator('.quillon-xref-count').textContent();
    if (count !== '3 uses') fail(`the panel counts ${count}`);
    const uses = await panel.locator('.quillon-xref-use').allTextContents();
    if (uses.length !== 3 || !/^5 write total = area\(2, 3\); \/\* "<\/script>" \*\/$/.test(uses[0]))
      fail(`the uses read ${JSON.stringify(uses)}`);
    if (await page.url() !== pageUrl('main.c.htm')) fail('the click went to the anchor');
    await panel.locator('.quillon-xref-use a').nth(2).click();
    await page.waitForFunction(() => document.querySelectorAll('nobr')[5].classList.contains('quillon-xref-line'));
    // Uses on another page: grouped under its name, leading to that page's line.
    await page.goto(pageUrl('util.c.htm'));
    await page.locator('a[name="x2.4"]').click();
    await panel.waitFor();
    const files = await panel.locator('.quillon-xref-file').allTextContents();
    const links = await panel.locator('.quillon-xref-use a').evaluateAll((as) => as.map((a) => a.getAttribute('href')));
    if (files.join() !== 'util.c,main.c' || links.join() !== '#L3,main.c.htm#L5,main.c.htm#L6')
      fail(`the uses of area: ${files} ${links}`);
    // A line of hostile text (UTF-8) reads as the source has it.
    const hostile = await panel.locator('.quillon-xref-use code').first().textContent();
    if (hostile !== 'int unit = area(1, 1); // \u2028 \\\' " </script> \u00e9')
      fail(`the hostile line reads ${JSON.stringify(hostile)}`);
    await panel.locator('.quillon-xref-use a').nth(1).click();
    await page.waitForURL(/main\.c\.htm#L5$/);
    await page.waitForFunction(() => document.querySelectorAll('nobr')[4].classList.contains('quillon-xref-line'));
    return `${uses.length} uses of total, ${links.length} of area`;
  });

  await check('pointing at a use shows its definition and uses, and the tooltip stays to be clicked', async () => {
    await page.goto(pageUrl('main.c.htm'));
    await linkOn(6, 'area').hover();
    const tip = page.locator('.quillon-xref-tip');
    await tip.waitFor();
    const text = await tip.textContent();
    if (!text.includes('util.c line 2') || !text.includes('3 uses') || !text.includes('int area(int w, int h)'))
      fail(`the tooltip reads ${JSON.stringify(text)}`);
    const box = await tip.boundingBox();
    const from = await linkOn(6, 'area').boundingBox();
    // Off the link, across the gap below it (a moment, as a hand takes), into the tooltip.
    await page.mouse.move(from.x + 2, from.y + from.height / 2);
    await page.mouse.move(from.x + 2, (from.y + from.height + box.y) / 2);
    await page.waitForTimeout(150);
    await page.mouse.move(box.x + 10, box.y + box.height - 4, { steps: 4 });
    await page.waitForTimeout(700);
    if (!(await tip.isVisible())) fail('the tooltip went away as the pointer moved into it');
    await tip.locator('a').click();
    await page.waitForURL(/util\.c\.htm#x2\.4$/);
    await page.goto(pageUrl('main.c.htm'));
    await linkOn(5, 'total').hover();
    await tip.waitFor();
    const own = await tip.textContent();
    if (!own.includes('main.c line 3') || !own.includes('3 uses')) fail(`the tooltip of total reads ${JSON.stringify(own)}`);
    await page.mouse.move(1200, 780);
    await tip.waitFor({ state: 'detached' });
    return text.replace(/\s+/g, ' ');
  });

  await check('the panel takes the colours of the theme, and light ones without', async () => {
    await page.goto(pageUrl('main.c.htm'));
    await page.locator('a[name="x3.4"]').click();
    const light = await page.locator('.quillon-xref-panel').evaluate((e) => getComputedStyle(e).backgroundColor);
    if (light !== 'rgb(255, 255, 232)') fail(`the light panel is ${light}`);
    await page.evaluate(() => document.documentElement.style.setProperty('--quillon-panel', '#102030'));
    const dark = await page.locator('.quillon-xref-panel').evaluate((e) => getComputedStyle(e).backgroundColor);
    if (dark !== 'rgb(16, 32, 48)') fail(`the themed panel is ${dark}`);
    return `${light}, ${dark}`;
  });

  if (quillon) {
    await check('a scanned C folder: a call leads to the definition, which lists its uses', async () => {
      await page.goto(pathToFileURL(path.join(work, 'scanned_HTML', 'main.c.htm')).href);
      const use = linkOn(4, 'area');
      await use.hover();
      const tip = page.locator('.quillon-xref-tip');
      await tip.waitFor();
      const text = await tip.textContent();
      if (!text.includes('util.c line 2') || !text.includes('2 uses')) fail(`the tooltip reads ${JSON.stringify(text)}`);
      await use.click();
      await page.waitForURL(/util\.c\.htm#x2\.\d+$/);
      if ((await fragmentTarget()) !== 'area') fail('the call does not lead to the definition');
      await page.locator(`a[name="${new URL(page.url()).hash.slice(1)}"]`).click();
      const panel = page.locator('.quillon-xref-panel');
      await panel.waitFor();
      const uses = await panel.locator('.quillon-xref-use').allTextContents();
      if (uses.length !== 2 || !uses.every((u) => u.includes(' call '))) fail(`the uses read ${JSON.stringify(uses)}`);
      return uses.join('; ');
    });
  }

  if (quillon) {
    await check('hostile sources: uses panels and tooltips run nothing of the sources', async () => {
      // Names as latin1 strings of their bytes, so that any name is opened as it is.
      const folderOf = Buffer.from(path.resolve(work, 'hostile_HTML')).toString('latin1');
      const bytesOf = (name) => Buffer.from(path.join(folderOf, name), 'latin1');
      const urlOf = (name) => 'file://' + [...bytesOf(name)]
        .map((b) => (/[A-Za-z0-9\/._~-]/.test(String.fromCharCode(b)) ? String.fromCharCode(b) : `%${b.toString(16).padStart(2, '0')}`)).join('');
      const pages = fs.readdirSync(Buffer.from(folderOf, 'latin1'), { encoding: 'buffer' }).map((n) => n.toString('latin1'))
        .filter((n) => n.endsWith('.htm') && /xref\/u\d+\.js/.test(fs.readFileSync(bytesOf(n), 'latin1').slice(0, 2000)));
      if (pages.length < 5) fail(`only ${pages.length} pages with cross-references`);
      let opened = 0;
      const dialogs = [];
      const tab = await context.newPage();
      tab.on('dialog', (d) => { dialogs.push(d.message()); d.dismiss().catch(() => {}); });
      tab.on('pageerror', (err) => errors.push(`${err.message}`));
      for (const name of pages) {
        await tab.goto(urlOf(name));
        const found = await tab.evaluate(async () => {
          const wait = () => new Promise((r) => setTimeout(r, 30));
          const own = new Set(['DIV', 'B', 'SPAN', 'A', 'CODE', 'BUTTON']);
          const foreign = [];
          const look = (box) => box && box.querySelectorAll('*').forEach((e) => {
            if (!own.has(e.tagName) || [...e.attributes].some((a) => !['class', 'href', 'title', 'style'].includes(a.name)))
              foreign.push(e.outerHTML.slice(0, 80));
          });
          let n = 0;
          for (const a of [...document.querySelectorAll('a[name^="x"]')].slice(0, 15)) {
            a.click();
            await wait();
            look(document.querySelector('.quillon-xref-panel'));
            n++;
          }
          for (const a of [...document.querySelectorAll('a[href*="#x"]:not([name])')].slice(0, 15)) {
            a.dispatchEvent(new MouseEvent('mouseover', { bubbles: true }));
            await wait();
            look(document.querySelector('.quillon-xref-tip'));
            a.dispatchEvent(new MouseEvent('mouseout', { bubbles: true }));
            n++;
          }
          return { n, foreign, pwned: typeof window.__pwned !== 'undefined' || /pwned/.test(document.title) };
        });
        if (found.foreign.length) fail(`${name}: ${found.foreign.join('; ')}`);
        if (found.pwned) fail(`${name}: a script of the sources ran`);
        opened += found.n;
      }
      await tab.close();
      if (dialogs.length) fail(`dialogs: ${dialogs.join('; ')}`);
      if (opened === 0) fail('no definition or use on any page');
      return `${pages.length} pages, ${opened} panels and tooltips`;
    });
  }

  await check('no script error, and nothing fetched but files from disk', async () => {
    if (errors.length) fail(errors.join('; '));
    if (fetched.length) fail(fetched.join('; '));
  });
} finally {
  await browser.close();
}

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
