// The text mode of a workspace's search box (--text-search) in headless Chromium, opened
// from disk: on a tree this test writes (a file name in two folders, a UTF-8 and a
// windows-1252 source, hostile text, a line that makes a regular expression run away, and
// enough lines for many blocks and shards), literal, case-sensitive, whole-word and
// regular-expression queries list exactly the lines grep finds in the text the pages show;
// a result opens its page at its line with the match marked and the tab text set; a bad
// expression shows its error; a runaway one is stopped with Escape; no script error, and
// nothing is fetched by script.
//
//   node textsearch.test.mjs QUILLON WORK_DIR
//
// Environment: CHROMIUM_PATH (default /usr/bin/chromium). Prints one line per check and
// ends with "N passed, N failed"; exits 1 when a check fails, 2 on bad usage or when the
// browser cannot be started.
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [quillon, work] = process.argv.slice(2);
if (!quillon || !work) {
  console.error('usage: node textsearch.test.mjs QUILLON WORK_DIR');
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
const WAIT_MS = 15000;

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
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
async function waitUntil(what, fn) {
  const end = Date.now() + WAIT_MS;
  let last;
  while (Date.now() < end) {
    try {
      last = await fn();
      if (last) return last;
    } catch (err) {
      last = err;
    }
    await sleep(30);
  }
  throw new Error(`${typeof what === 'function' ? await what() : what}${last instanceof Error ? `: ${last.message}` : ''}`);
}

// The tree. Each source is written as bytes.
fs.rmSync(work, { recursive: true, force: true });
const src = path.join(work, 'src');
const sources = {
  'a/util.c': 'int util(int x) {\n\treturn x + 1; // Needle here\n}\n/* needles, needle_x and NEEDLE */\n',
  'b/util.c': 'int util2(void)\r\n{\r\n\tchar *s = "a\tneedle";\r\n\treturn 0; /* Needle */\r\n}\r\n',
  'utf8.c': '// caf\u00e9\tneedle \u00e9t\u00e9 R\u00c9SUM\u00c9\nint x = 1;\u2028// line separator kept\n\u00fcber\tNeedle();\n',
  'hostile.c': null,  // bytes below
  'odd dir/odd name %41 \u00fc#.c': 'int oddneedle;\n',
  'runaway.c': `const char *s = "${'a'.repeat(3000)}!";\n`,
};
const bytes = {};
for (const [name, text] of Object.entries(sources)) if (text !== null) bytes[name] = Buffer.from(text, 'utf8');
// windows-1252: "résumé", the euro sign, a tab after them.
bytes['w1252.c'] = Buffer.concat([Buffer.from('/* r'), Buffer.from([0xe9]), Buffer.from('sum'), Buffer.from([0xe9]),
  Buffer.from(' '), Buffer.from([0x80]), Buffer.from('\tneedle */\nint needle1252;\n')]);
// Quotes, backslashes, the end of a script, a NUL and a byte that is no UTF-8.
bytes['hostile.c'] = Buffer.concat([Buffer.from('char *h = "</script><script>window.__pwned=1</script>\\\\";\n' +
  "char q = '\\''; // \\u2028 \\\n"), Buffer.from([0]), Buffer.from(' nul needle '), Buffer.from([0xff, 0xfe]),
  Buffer.from(' bad needle\n')]);
// Enough lines for many blocks of lines and more than one shard of trigrams.
let seed = 7;
const rand = (n) => {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return seed % n;
};
const letters = 'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789';
const word = () => 'k' + Array.from({ length: 3 + rand(5) }, () => letters[rand(letters.length)]).join('');
const big = [];
for (let i = 1; i <= 12000; i++) {
  big.push(i % 997 === 0 ? `\tint ${word()} = needle(${i}); // rare` : `\tint ${word()}_${word()} = ${word()}(${rand(1000)});`);
}
bytes['deep/big.c'] = Buffer.from(big.join('\n') + '\n');
for (const [name, data] of Object.entries(bytes)) {
  fs.mkdirSync(path.dirname(path.join(src, name)), { recursive: true });
  fs.writeFileSync(path.join(src, name), data);
}
execFileSync(quillon, ['--text-search', '-o', work, src], { stdio: 'ignore' });
const folder = path.join(work, 'src_HTML');
const indexUrl = pathToFileURL(path.join(work, 'src_Project.htm')).href;

// The text the pages show, in a mirror tree that grep reads: each source decoded as its
// page declares, the byte-order mark dropped and tabs widened to stops of 4 characters.
const mirror = path.join(work, 'mirror');
for (const name of Object.keys(bytes)) {
  const page = fs.readdirSync(folder).find((p) => p === `${path.basename(name)}.htm`
    || p === `${name.split('/').slice(-2).join('~')}.htm`);
  const utf8 = /charset=utf-8/i.test(fs.readFileSync(path.join(folder, page || `${path.basename(name)}.htm`), 'latin1'));
  const text = new TextDecoder(utf8 ? 'utf-8' : 'windows-1252').decode(bytes[name]);
  const lines = text.replace(/\n$/, '').split('\n').map((line) => {
    let out = '';
    let column = 0;
    for (const c of line.replace(/\r$/, '').replace(/^\uFEFF/, '')) {
      if (c === '\t') {
        out += ' '.repeat(4 - (column % 4));
        column += 4 - (column % 4);
      } else {
        out += c;
        column++;
      }
    }
    return out;
  });
  fs.mkdirSync(path.dirname(path.join(mirror, name)), { recursive: true });
  fs.writeFileSync(path.join(mirror, name), lines.join('\n') + '\n');
}
/** "file:line" of every line grep finds with `flags` (-F -i, -F, -F -w -i, -P ...). */
function grep(flags, query) {
  const r = spawnSync('grep', ['-r', '-n', '-a', ...flags, '-e', query, '.'], { cwd: mirror, encoding: 'utf8',
    env: { ...process.env, LC_ALL: 'C.UTF-8' } });
  if (r.status > 1) fail(`grep failed: ${r.stderr}`);
  return r.stdout.split('\n').filter(Boolean).map((l) => l.replace(/^\.\//, '').match(/^([^:]*:\d+):/)[1]).sort();
}

const browser = await playwright.chromium
  .launch({ executablePath, headless: true,
    args: ['--no-sandbox', '--headless', '--disable-gpu', '--no-first-run', '--disable-background-networking'] })
  .catch((err) => {
    console.error(`cannot start the browser: ${err.message}`);
    process.exit(2);
  });

try {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await context.newPage();
  const scriptErrors = [];
  const fetched = [];
  page.on('pageerror', (err) => scriptErrors.push(err.message));
  page.on('console', (m) => { if (m.type() === 'error') scriptErrors.push(m.text()); });
  page.on('request', (r) => { if (['fetch', 'xhr'].includes(r.resourceType())) fetched.push(r.url()); });
  await page.goto(indexUrl, { waitUntil: 'load' });
  const tree = () => page.frame({ name: 'tree_frame' }) || fail('no tree frame');
  const source = () => page.frame({ name: 'source_frame' }) || fail('no source frame');
  const input = () => tree().locator('.tree_search input');

  await check('the Text button turns the search box to text mode', async () => {
    await tree().locator('#text_text').click();
    await waitUntil('the index to load', () => tree().evaluate(() => textSearch.indexState === 'loaded'));
    const placeholder = await input().getAttribute('placeholder');
    if (!/text/i.test(placeholder)) fail(`placeholder ${placeholder}`);
    return placeholder;
  });

  const setOptions = async (options) => {
    for (const key of ['matchCase', 'wholeWord', 'regex']) {
      const on = await tree().evaluate((k) => textSearch[k], key);
      if (on !== !!options[key]) await tree().locator(`#text_${key}`).click();
    }
  };
  /** Types `query` with `options` and waits for the search to end: the "file:line" list. */
  const search = async (query, options = {}) => {
    await setOptions(options);
    await input().fill(query);
    await waitUntil(`the search for ${query} to end`, () => tree().evaluate((q) =>
      textSearch.input.value === q && textSearch.run && textSearch.run.asked.query === q && textSearch.run.done, query));
    return (await tree().evaluate(() => Array.from(document.querySelectorAll('.text_result'), (r) => r.title))).sort();
  };
  const same = (got, want) => {
    if (!want.length) fail('grep finds nothing: the query tests nothing');
    if (JSON.stringify(got) !== JSON.stringify(want))
      fail(`got ${got.length} [${got.slice(0, 8).join(' ')}], grep ${want.length} [${want.slice(0, 8).join(' ')}]`);
    return `${got.length} lines`;
  };

  for (const query of ['needle', 'RÉSUMÉ', 'été', '</script>', 'x + 1', 'rare']) {
    await check(`literal "${query}" gives the lines grep -F -i gives`, async () =>
      same(await search(query), grep(['-F', '-i'], query)));
  }
  await check('a query that most lines hold is counted whole and shown in part', async () => {
    const shown = await search(' = ');
    const want = grep(['-F', '-i'], ' = ');
    const count = await tree().evaluate(() => textSearch.run.found);
    if (count !== want.length) fail(`counted ${count}, grep ${want.length}`);
    if (shown.length !== 1000 || shown.some((r) => !want.includes(r))) fail(`${shown.length} shown`);
    return `${count} lines, ${shown.length} shown`;
  });
  await check('the index spans more than one block and shard', async () => {
    const index = await tree().evaluate(() => ({ blocks: textSearch.index.blocks, shards: textSearch.index.shards }));
    if (index.blocks < 3 || index.shards < 2) fail(JSON.stringify(index));
    return JSON.stringify(index);
  });
  await check('match case "Needle" gives the lines grep -F gives', async () =>
    same(await search('Needle', { matchCase: true }), grep(['-F'], 'Needle')));
  await check('whole word "needle" gives the lines grep -F -w -i gives', async () =>
    same(await search('needle', { wholeWord: true }), grep(['-F', '-w', '-i'], 'needle')));
  await check('regular expression gives the lines grep -P -i gives', async () =>
    same(await search('need(le|les)\\s*[(*]', { regex: true }), grep(['-P', '-i'], 'need(le|les)\\s*[(*]')));
  await check('regular expression with match case gives the lines grep -P gives', async () =>
    same(await search('^\\s+int k\\w+ = needle\\(\\d+', { regex: true, matchCase: true }),
      grep(['-P'], '^\\s+int k\\w+ = needle\\(\\d+')));

  await check('a query of two characters asks for one more', async () => {
    await setOptions({});
    await input().fill('ne');
    const note = await waitUntil('a note asking for more', async () => {
      const t = await tree().locator('.text_note').innerText();
      return /one more character/.test(t) && t;
    });
    return note;
  });
  await check('a bad regular expression shows its error', async () => {
    await setOptions({ regex: true });
    await input().fill('needle(');
    const note = await waitUntil('an error', async () => {
      const t = await tree().locator('.text_note').innerText();
      return /Bad regular expression/.test(t) && t;
    });
    return note;
  });
  await check('a runaway regular expression leaves the page responsive and Escape stops it', async () => {
    await setOptions({ regex: true });
    await input().fill('(a+)+$');
    await sleep(700);
    const start = Date.now();
    const state = await tree().evaluate(() => ({ done: textSearch.run.done, note: textSearch.note.textContent }));
    const took = Date.now() - start;
    if (state.done) fail(`the search ended by itself: ${state.note}`);
    if (took > 500) fail(`the page took ${took} ms to answer`);
    await input().press('Escape');
    const note = await waitUntil('the stop', async () => {
      const t = await tree().locator('.text_note').innerText();
      return /Stopped/.test(t) && t;
    });
    return `${note}; answered in ${took} ms`;
  });

  await check('a result opens its page at its line, marks the match and sets the tab text', async () => {
    const found = await search('needle1252');
    if (found.length !== 1) fail(`${found.length} results`);
    const row = tree().locator('.text_result').first();
    const line = await row.getAttribute('data-line');
    await row.click();
    await waitUntil('the page to open', () => /w1252\.c\.htm#L2$/.test(source().url()));
    const mark = await waitUntil('the mark', () => source().evaluate(() => {
      const m = document.querySelector('mark.quillon_text_mark');
      return m && { text: m.textContent, at: document.documentElement.getAttribute('data-text-mark') };
    }));
    if (mark.text !== 'needle1252' || mark.at !== `${line}:1`) fail(JSON.stringify(mark));
    const tab = (await page.frame({ name: 'tab_frame' }).locator('body').innerText()).trim();
    if (!/w1252\.c/.test(tab)) fail(`tab text ${tab}`);
    return `L${line}, tab ${tab}`;
  });
  await check('a result in a file of a name that two folders hold opens that folder\'s page', async () => {
    await search('Needle', { matchCase: true });
    const row = tree().locator('.text_result[title="b/util.c:4"]');
    await row.click();
    await waitUntil('the page to open', () => /b~util\.c\.htm#L4$/.test(source().url()));
    const mark = await waitUntil('the mark', () => source().evaluate(() => {
      const m = document.querySelector('mark.quillon_text_mark');
      return m && m.textContent;
    }));
    if (mark !== 'Needle') fail(mark);
    const tab = (await page.frame({ name: 'tab_frame' }).locator('body').innerText()).trim();
    if (!/b.util\.c/.test(tab)) fail(`tab text ${tab}`);
    return tab;
  });

  await check('a result in a file of an odd name (blank, "%", "#", a UTF-8 letter) opens it with the mark', async () => {
    await search('oddneedle');
    await tree().locator('.text_result').first().click();
    const mark = await waitUntil('the mark', () => source().evaluate(() => {
      const m = document.querySelector('mark.quillon_text_mark');
      return m && m.textContent;
    }));
    if (mark !== 'oddneedle') fail(mark);
    return decodeURIComponent(source().url().split('/').pop());
  });
  await check('hostile text ran no script', async () => {
    const pwned = await tree().evaluate(() => window.__pwned);
    if (pwned) fail('a script in a source ran');
  });
  await check('with cross-references a result that is a definition says so, and a use does not', async () => {
    const small = path.join(work, 'defs');
    fs.mkdirSync(small, { recursive: true });
    fs.writeFileSync(path.join(small, 'area.c'), 'int area(int w, int h)\n{\n  return w * h;\n}\n');
    fs.writeFileSync(path.join(small, 'main.c'), 'int area(int w, int h);\nint main(void)\n{\n  return area(2, 3);\n}\n');
    execFileSync(quillon, ['--xref', '--text-search', '-o', path.join(work, 'defs-out'), small], { stdio: 'ignore' });
    await page.goto(pathToFileURL(path.join(work, 'defs-out', 'defs_Project.htm')).href, { waitUntil: 'load' });
    await tree().locator('#text_text').click();
    await waitUntil('the index to load', () => tree().evaluate(() => textSearch.indexState === 'loaded'));
    const rows = await search('area(');
    const marked = await tree().evaluate(() => Array.from(document.querySelectorAll('.text_result'),
      (r) => `${r.getAttribute('href')} ${r.querySelector('.text_def') ? 'def' : 'use'}`).sort());
    // The prototype declares and the call uses: neither is a definition.
    const want = ['area.c.htm#L1 def', 'main.c.htm#L1 use', 'main.c.htm#L4 use'];
    if (JSON.stringify(marked) !== JSON.stringify(want)) fail(`${marked.join(', ')} (${rows.join(', ')})`);
    return marked.join(', ');
  });
  await check('no script error', async () => {
    if (scriptErrors.length) fail(scriptErrors.join(' | '));
  });
  await check('nothing fetched by script', async () => {
    if (fetched.length) fail(fetched.join(' '));
  });
} finally {
  await browser.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
