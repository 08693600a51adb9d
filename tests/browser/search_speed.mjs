// The search box of a large workspace in headless Chromium, opened from disk: generates a
// folder of sources with more than 10,000 names (files, classes, members), converts it,
// types into the source tree's search box key by key and prints how long each key press
// takes to show its first results (the time is reported, not judged). Then checks that
// the best match comes first, and that a tree page opened alone, without its index,
// still opens its folders and says that nothing is indexed.
//
//   node search_speed.mjs path/to/quillon DIR
//
// Environment: CHROMIUM_PATH (default /usr/bin/chromium). Prints one line per check and
// ends with "N passed, N failed"; exits 1 when a check fails, 2 on bad usage.
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { pathToFileURL } from 'node:url';

const [quillon, dirArg] = process.argv.slice(2);
if (!quillon || !dirArg) {
  console.error('usage: node search_speed.mjs path/to/quillon DIR');
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

// 100 files in 10 folders, 10 classes each with 6 functions and 3 data members.
const dir = path.resolve(dirArg);
const src = path.join(dir, 'src');
fs.rmSync(dir, { recursive: true, force: true });
const parts = ['Frame', 'Token', 'Buffer', 'Socket', 'Render', 'Parse', 'Store', 'Queue', 'Index', 'Layout'];
const kinds = ['Manager', 'Reader', 'Writer', 'Builder', 'View', 'Cache', 'Pool', 'Entry', 'Node', 'Set'];
const verbs = ['get', 'set', 'read', 'write', 'find', 'make'];
for (let file = 0; file < 100; file++) {
  const folder = path.join(src, `module${Math.floor(file / 10)}`);
  fs.mkdirSync(folder, { recursive: true });
  let text = '';
  for (let c = 0; c < 10; c++) {
    const name = `${parts[c]}${kinds[file % 10]}${file < 10 ? '' : file}`;
    text += `class ${name} {\npublic:\n`;
    for (const verb of verbs) text += `\tint ${verb}${parts[(c + file) % 10]}${kinds[c]}(int value);\n`;
    text += `private:\n\tint count${c};\n\tint total${file};\n\tint last${parts[c]};\n};\n\n`;
  }
  fs.writeFileSync(path.join(folder, `unit${file}.h`), text);
}
execFileSync(quillon, ['-o', path.join(dir, 'out'), src], { stdio: 'ignore' });
const workspace = path.join(dir, 'out', 'src_HTML');

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

const browser = await playwright.chromium.launch({
  executablePath, headless: true, args: ['--no-sandbox', '--disable-gpu', '--no-first-run'],
}).catch((err) => {
  console.error(`cannot start the browser: ${err.message}`);
  process.exit(2);
});

try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  const errors = [];
  page.on('pageerror', (err) => errors.push(err.message));
  await page.goto(pathToFileURL(path.join(dir, 'out', 'src_Project.htm')).href, { waitUntil: 'load' });
  const tree = page.frame({ name: 'tree_frame' });

  await check('a workspace of more than 10,000 names shows its first results soon after each key press', async () => {
    await tree.waitForFunction(() => window.treeSearch && window.treeSearch.items, null, { timeout: 20000 });
    const names = await tree.evaluate(() => window.treeSearch.items.length);
    if (names < 10000) fail(`only ${names} names`);
    // From the key's event to the results in the page, and to the next frame drawn.
    await tree.evaluate(() => {
      const times = (window.searchTimes = []);
      const note = document.querySelector('.tree_search_note');
      let start = null;
      window.addEventListener('keydown', () => { start = performance.now(); }, true);
      new MutationObserver(() => {
        if (start === null) return;
        const begun = start;
        start = null;
        const shown = performance.now() - begun;
        requestAnimationFrame(() => requestAnimationFrame(() => {
          times.push({ shown, drawn: performance.now() - begun });
        }));
      }).observe(note, { childList: true, characterData: true, subtree: true });
    });
    const box = tree.locator('.tree_search input');
    await box.click();
    let presses = 0;
    for (const query of ['e', 'reader', 'Token', 'xyz', 'writeSocket', 'count7']) {
      await box.fill('');
      for (const key of query) {
        const before = await tree.evaluate(() => window.searchTimes.length);
        await box.press(key);
        presses++;
        await tree.waitForFunction((n) => window.searchTimes.length > n, before);
      }
    }
    const times = await tree.evaluate(() => window.searchTimes);
    const stats = (key) => {
      const sorted = times.map((t) => t[key]).sort((a, b) => a - b);
      return `median ${sorted[Math.floor(sorted.length / 2)].toFixed(1)} ms, max ${sorted[sorted.length - 1].toFixed(1)} ms`;
    };
    return `${names} names, ${presses} key presses: results in the page ${stats('shown')}; drawn ${stats('drawn')}`;
  });

  await check('a whole name comes before names that begin with it, and those before the rest', async () => {
    const box = tree.locator('.tree_search input');
    await box.fill('tokenreader');
    const shown = await tree.evaluate(() => Array.from(document.querySelectorAll('a.tree_result'), (a) => {
      const detail = a.querySelector('.tree_result_detail');
      return detail ? a.textContent.slice(0, -detail.textContent.length) : a.textContent;
    }));
    if (shown[0] !== 'TokenReader') fail(`first result: ${shown[0]}`);
    if (!/^TokenReader\d+$/.test(shown[1])) fail(`second result: ${shown[1]}`);
    const note = await tree.locator('.tree_search_note').textContent();
    if (!/^50 of \d+ names shown\.$/.test(note)) fail(`the count reads "${note}"`);
    return `${shown[0]}, ${shown[1]}, ...; ${note}`;
  });

  await check('a tree page opened alone without its index opens its folders and says nothing is indexed', async () => {
    fs.rmSync(path.join(workspace, 'SearchIndex.js'));
    const alone = await browser.newPage();
    const aloneErrors = [];
    alone.on('pageerror', (err) => aloneErrors.push(err.message));
    await alone.goto(pathToFileURL(path.join(workspace, 'SourceTree.htm')).href, { waitUntil: 'load' });
    await alone.locator('.tree_search input').fill('reader');
    await alone.waitForFunction(() => /Nothing is indexed/.test(document.querySelector('.tree_search_note').textContent));
    await alone.click('a[name="Folder1a"]');
    if (!(await alone.locator('[id="Folder1Child"]').isVisible())) fail('the first folder did not open');
    await alone.locator('.tree_search input').press('Enter');
    await alone.close();
    if (aloneErrors.length) fail(aloneErrors.join('; '));
  });

  await check('no script error', async () => {
    if (errors.length) fail(errors.join('; '));
  });
} finally {
  await browser.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
