// Trees that load their nodes on demand, in headless Chromium from disk: generates a folder
// whose source tree and class tree are both longer than the --trees auto limit (thousands
// of folders and classes, a letter of more than 500 classes, names with quotes,
// backslashes, "</script>" and U+2028), converts it as the default does and with
// --trees full, and checks that the lazy trees open quickly, that a folder, a letter and a
// class load their lines on first opening (each script once) and close and open again,
// that a node whose script is missing says so, that the search box finds a member of a
// node not yet opened and opens its page, and that with every node opened each tree
// shows the links, handlers and items of the full one; no script error, no dialog, and
// nothing fetched.
//
//   node lazy.test.mjs path/to/quillon DIR
//
// Environment: CHROMIUM_PATH (default /usr/bin/chromium). Prints one line per check and
// ends with "N passed, N failed"; exits 1 when a check fails, 2 on bad usage.
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { pathToFileURL } from 'node:url';

const [quillon, dirArg] = process.argv.slice(2);
if (!quillon || !dirArg) {
  console.error('usage: node lazy.test.mjs path/to/quillon DIR');
  process.exit(2);
}
const executablePath = process.env.CHROMIUM_PATH || '/usr/bin/chromium';
const playwright = await import('playwright-core').catch(() => {
  console.error('playwright-core is missing: run "npm install" in tests/browser');
  process.exit(2);
});

// 60 folders of 60 folders, one header in each: a source tree of about 22,000 lines and a
// class tree of about 40,000 (3,600 classes of six members), 700 of them "Widget...".
const dir = path.resolve(dirArg);
const src = path.join(dir, 'src');
fs.rmSync(dir, { recursive: true, force: true });
const words = ['Alpha', 'Beta', 'Gamma', 'Delta', 'Kappa', 'Omega', 'Sigma', 'Theta', 'Zeta', '_Impl'];
for (let i = 0; i < 3600; i++) {
  const folder = path.join(src, `mod${String(Math.floor(i / 60)).padStart(2, '0')}`, `part${i % 60}`);
  fs.mkdirSync(folder, { recursive: true });
  const name = i % 5 === 0 && i < 3500 ? `Widget${i}` : `${words[i % words.length]}Unit${i}`;
  let text = `class ${name} {\npublic:\n`;
  for (let m = 0; m < 4; m++) text += `\tint step${m}Of${name}(int value);\n`;
  text += `private:\n\tint count${i};\n\tint total${i};\n};\n`;
  fs.writeFileSync(path.join(folder, `unit${i}.h`), text);
}
const odd = path.join(src, 'mod00', `odd "q" 'a'\\b <script>alert(1)<`);
fs.mkdirSync(odd, { recursive: true });
fs.writeFileSync(path.join(odd, `x"'\\<script>.h`),
  'class Tricky {\npublic:\n\tvoid say(const char* s = "</script><script>alert(2)</script>\u2028\\\\");\n};\n');
const convert = (form) => {
  const out = path.join(dir, form);
  execFileSync(quillon, [...(form === 'auto' ? [] : ['--trees', form]), '-o', out, src], { stdio: 'ignore' });
  return path.join(out, 'src_HTML');
};
const lazy = convert('auto');
const full = convert('full');

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

/// Opens every node of a tree page: those that load on demand as their lines come (each
/// once), and with `whole` every node of a page that has its lines already.
async function openAll(page, whole) {
  await page.evaluate(async (all) => {
    if (all) for (const child of document.querySelectorAll('.tree_child')) tree_iconclick(child.id.replace(/Child$/, ''));
    for (let round = 0; round < 10000 && document.querySelector('[data-src]'); round++) {
      for (const child of document.querySelectorAll('[data-src]:not([data-loading])'))
        tree_iconclick(child.id.replace(/Child$/, ''));
      await new Promise((resolve) => setTimeout(resolve, 10));
    }
  }, whole);
}

/// The rows of a tree page in document order, each item's markup: for the source tree as it
/// is; for the class tree without the pictures that draw its levels (it shows its classes
/// one level deeper, under their letters), with the class it belongs to first, and sorted.
function rowsOf(page, classes) {
  return page.evaluate((byClass) => {
    const rows = [];
    for (const row of document.querySelectorAll('.tree nobr')) {
      const copy = row.cloneNode(true);
      if (!byClass) {
        rows.push(copy.innerHTML);
        continue;
      }
      const node = row.closest('[id^="ClassItem"]');
      if (!node) continue;
      for (const img of copy.querySelectorAll('img'))
        if (/\/(I|white|T|L|Tplus|Lplus|Tminus|Lminus)\.gif$/.test(img.getAttribute('src'))) img.remove();
      rows.push(`${node.id.replace(/Child$/, '')} ${copy.innerHTML}`);
    }
    return byClass ? rows.sort() : rows;
  }, classes);
}

try {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const errors = [];
  const fetched = [];
  const dialogs = [];
  context.on('page', (p) => {
    p.on('pageerror', (err) => errors.push(err.message));
    p.on('dialog', (d) => { dialogs.push(d.message()); d.dismiss(); });
  });
  context.on('request', (r) => {
    if (!r.url().startsWith('file:') || ['fetch', 'xhr', 'websocket', 'eventsource'].includes(r.resourceType()))
      fetched.push(`${r.resourceType()} ${r.url()}`);
  });
  const page = await context.newPage();
  await page.goto(pathToFileURL(path.join(path.dirname(lazy), 'src_Project.htm')).href, { waitUntil: 'load' });
  const tree = page.frame({ name: 'tree_frame' });
  const scripts = () => tree.evaluate(() => Array.from(document.querySelectorAll('script[src^="trees/"]'), (s) => s.getAttribute('src')));

  await check('both trees are over the limit and open at once; the full pages take longer', async () => {
    const times = [];
    for (const [folder, name] of [[lazy, 'SourceTree.htm'], [lazy, 'ClassTree.htm'], [full, 'SourceTree.htm'], [full, 'ClassTree.htm']]) {
      const alone = await context.newPage();
      await alone.goto(pathToFileURL(path.join(folder, name)).href, { waitUntil: 'load' });
      times.push(await alone.evaluate(() => ({
        parsed: performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd,
        rows: document.querySelectorAll('.tree nobr').length,
        lazy: document.querySelectorAll('[data-src]').length,
      })));
      await alone.close();
    }
    const [source, classes, fullSource, fullClasses] = times;
    if (!source.lazy || !classes.lazy) fail(`the default made a tree whole: ${JSON.stringify(times)}`);
    if (fullSource.lazy || fullClasses.lazy) fail('--trees full left nodes to load');
    if (source.rows > 100 || classes.rows > 100) fail(`the lazy pages show ${source.rows} and ${classes.rows} rows`);
    if (source.parsed * 2 > fullSource.parsed || classes.parsed * 2 > fullClasses.parsed)
      fail(`lazy ${source.parsed} and ${classes.parsed} ms, full ${fullSource.parsed} and ${fullClasses.parsed} ms`);
    const ms = (t) => `${t.parsed.toFixed(0)} ms, ${t.rows} rows`;
    return `source tree ${ms(source)} (full ${ms(fullSource)}); class tree ${ms(classes)} (full ${ms(fullClasses)})`;
  });

  await check('a folder loads its lines on first opening, closes, and opens again without loading', async () => {
    const child = tree.locator('[id="Folder1Child"]');
    if (!(await child.getAttribute('data-src'))) fail('the first folder has its lines already');
    await tree.click('a[name="Folder1a"]');
    await child.locator(':scope > div.tree_parent').first().waitFor({ state: 'visible' });
    const opener = await tree.locator('img[name="Folder1_o"]').getAttribute('src');
    if (!/minus\.gif$/.test(opener)) fail(`the open folder's opener is ${opener}`);
    const loaded = await scripts();
    await tree.click('a[name="Folder1a"]');
    if (await child.isVisible()) fail('the folder did not close');
    await tree.click('a[name="Folder1a"]');
    if (!(await child.isVisible())) fail('the folder did not open again');
    // A folder inside it: its lines come from a script too, each script loaded once.
    const inner = await child.locator(':scope > div.tree_parent').first().getAttribute('id');
    await tree.click(`a[name="${inner}a"]`);
    await tree.locator(`[id="${inner}Child"] a.tree_citem`).first().waitFor({ state: 'visible' });
    const all = await scripts();
    if (new Set(all).size !== all.length) fail(`a script was loaded twice: ${all}`);
    return `Folder1 from ${loaded.join(', ')}, then ${inner}; ${all.length} script(s)`;
  });

  await check('a node whose script cannot be loaded says so', async () => {
    const alone = await context.newPage();
    await alone.goto(pathToFileURL(path.join(lazy, 'SourceTree.htm')).href, { waitUntil: 'load' });
    const id = await alone.evaluate(() => {
      const node = document.querySelectorAll('.tree > div.tree_parent')[1];
      document.getElementById(`${node.id}Child`).setAttribute('data-src', 'trees/none.js');
      return node.id;
    });
    await alone.click(`a[name="${id}a"]`);
    const note = alone.locator(`[id="${id}Child"] .tree_empty`);
    await note.waitFor({ state: 'visible', timeout: 5000 });
    const text = await note.textContent();
    await alone.close();
    if (!/could not be loaded/.test(text)) fail(`the node says "${text}"`);
    return text;
  });

  await frameTabs(page, 'ClassTree.htm');
  await check('a letter, a group of it and a class load their lines on first opening', async () => {
    const letters = await tree.evaluate(() => Array.from(document.querySelectorAll('.tree > div.tree_parent a.tree_pitem'), (a) => a.textContent));
    const w = letters.indexOf('W');
    if (w < 0) fail(`no letter W among ${letters}`);
    const id = `Letter${await tree.evaluate((n) => document.querySelectorAll('.tree > div.tree_parent')[n].id.slice(6), w)}`;
    await tree.click(`a[name="${id}a"]`);
    const groups = tree.locator(`[id="${id}Child"] > div.tree_parent[id^="Letter"]`);
    await groups.first().waitFor({ state: 'visible' });
    const group = await groups.first().getAttribute('id');
    await tree.click(`a[name="${group}a"]`);
    const classes = tree.locator(`[id="${group}Child"] > div.tree_parent[id^="ClassItem"]`);
    await classes.first().waitFor({ state: 'visible' });
    if ((await classes.count()) > 500) fail(`${group} shows ${await classes.count()} classes`);
    const item = await classes.first().getAttribute('id');
    await tree.click(`a[name="${item}a"]`);
    const members = tree.locator(`[id="${item}Child"] a.tree_citem`);
    await members.first().waitFor({ state: 'visible' });
    await tree.click(`a[name="${item}a"]`);
    if (await members.first().isVisible()) fail('the class did not close');
    return `W (${letters.length} letters) > ${await tree.locator(`[id="${group}"] a.tree_pitem`).textContent()} > ` +
      `${await tree.locator(`[id="${item}"] a.tree_pitem`).textContent()}: ${await members.count()} members`;
  });

  await check('the search box finds a member of a node not yet opened and opens its page', async () => {
    const name = 'step3OfZetaUnit3598';
    if (await tree.evaluate((n) => document.body.textContent.includes(n), name)) fail('the member is shown already');
    await tree.locator('.tree_search input').fill(name);
    const result = tree.locator('a.tree_result').first();
    await result.waitFor({ state: 'visible' });
    if (!(await result.textContent()).includes(name)) fail(`the first result is ${await result.textContent()}`);
    await result.click();
    const source = page.frame({ name: 'source_frame' });
    const want = await result.evaluate((a) => a.href);
    for (let i = 0; i < 100 && source.url() !== want; i++) await new Promise((r) => setTimeout(r, 50));
    if (source.url() !== want) fail(`the source frame shows ${source.url()}, not ${want}`);
    await source.waitForLoadState('load');
    if (!(await source.evaluate((n) => document.body.textContent.includes(n), name))) fail('the page lacks the member');
    return decodeURIComponent(want.split('/').pop());
  });

  for (const name of ['SourceTree.htm', 'ClassTree.htm']) {
    await check(`${name} with every node opened shows the items, links and handlers of the full one`, async () => {
      const [opened, whole] = [await context.newPage(), await context.newPage()];
      await opened.goto(pathToFileURL(path.join(lazy, name)).href, { waitUntil: 'load' });
      await whole.goto(pathToFileURL(path.join(full, name)).href, { waitUntil: 'load' });
      const classes = name === 'ClassTree.htm';
      await openAll(opened, false);
      await openAll(whole, !classes);
      const shown = await rowsOf(opened, classes);
      const wanted = await rowsOf(whole, classes);
      const left = await opened.evaluate(() => document.querySelectorAll('[data-src]').length);
      await opened.close();
      await whole.close();
      if (left) fail(`${left} node(s) did not load`);
      if (shown.length !== wanted.length) fail(`${shown.length} rows, the full page ${wanted.length}`);
      const at = shown.findIndex((r, i) => r !== wanted[i]);
      if (at >= 0) fail(`row ${at}:\n${shown[at]}\nnot\n${wanted[at]}`);
      if (!shown.some((r) => r.includes('Tricky') || r.includes('x"'))) fail('the odd names are missing');
      return `${shown.length} rows`;
    });
  }

  await check('no script error, no dialog, nothing fetched', async () => {
    if (errors.length) fail(errors.join('; '));
    if (dialogs.length) fail(`dialogs: ${dialogs.join('; ')}`);
    if (fetched.length) fail(fetched.join('; '));
  });
} finally {
  await browser.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);

/// Switches the tree frame to `name` by its tab.
async function frameTabs(page, name) {
  await page.frame({ name: 'project_tabs_frame' }).click(`a[href$="${name}"]`);
  const tree = page.frame({ name: 'tree_frame' });
  for (let i = 0; i < 100 && !tree.url().endsWith(name); i++) await new Promise((r) => setTimeout(r, 50));
  await tree.waitForLoadState('load');
}
