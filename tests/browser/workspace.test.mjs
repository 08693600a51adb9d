// Drives headless Chromium through a generated workspace, the way a reader uses it:
// opens the index page from disk, opens and closes a folder of the source tree, opens a
// file, finds files and a member with the search box, switches to the class tree, opens
// a class, and checks what each frame shows.
//
//   node workspace.test.mjs PATH/TO/Calc_Project.htm
//   WORKSPACE_INDEX=PATH/TO/Calc_Project.htm node workspace.test.mjs
//
// The index may also be given as a file: or http: URL. Environment:
//   SCREENSHOT_DIR     save screenshots of the index page there
//   CHROMIUM_PATH      the browser (default /usr/bin/chromium)
//   ALLOW_NO_CLASSES=1 a class tree without nodes is not a failure
//   LINE_NUMBERS_SOURCES=DIR  the workspace was made with --line-numbers from the sources
//                      in DIR: a member's #L link must scroll the source frame to its
//                      line, a page opened at #L<n> must show line n at the top, and
//                      copying lines must give the source text without the numbers
//
// Prints one line per check and ends with "N passed, N failed"; exits 1 when a check fails,
// 2 on bad usage or when the browser cannot be started.
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const FRAME_NAMES = ['tree_frame', 'project_tabs_frame', 'tab_frame', 'source_frame'];
const WAIT_MS = 10000;

const target = process.argv[2] || process.env.WORKSPACE_INDEX;
if (!target) {
  console.error('usage: node workspace.test.mjs INDEX_PAGE   (or set WORKSPACE_INDEX)');
  process.exit(2);
}
let indexUrl;
if (/^(file|https?):/i.test(target)) {
  indexUrl = target;
} else {
  if (!fs.existsSync(target)) {
    console.error(`workspace index page not found: ${target}`);
    process.exit(2);
  }
  indexUrl = pathToFileURL(path.resolve(target)).href;
}
const executablePath = process.env.CHROMIUM_PATH || '/usr/bin/chromium';
if (!fs.existsSync(executablePath)) {
  console.error(`browser not found: ${executablePath} (apt-get install chromium, or set CHROMIUM_PATH)`);
  process.exit(2);
}
const screenshotDir = process.env.SCREENSHOT_DIR || '';
const lineSources = process.env.LINE_NUMBERS_SOURCES || '';

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

function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

/** Polls fn until it returns something truthy; fails with `what` (a text, or a function
 * giving one at that moment) when it never does. */
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
    await sleep(50);
  }
  const detail = last instanceof Error ? `: ${last.message}` : '';
  throw new Error(`${typeof what === 'function' ? await what() : what}${detail}`);
}

function fail(message) {
  throw new Error(message);
}

let shotNumber = 0;
async function screenshot(page, name) {
  if (!screenshotDir) return;
  fs.mkdirSync(screenshotDir, { recursive: true });
  shotNumber++;
  const file = path.join(screenshotDir, `${String(shotNumber).padStart(2, '0')}-${name}.png`);
  await page.screenshot({ path: file });
  console.log(`  screenshot ${file}`);
}

/** The page name shown for a tab text: the trees send a file name or its page's name. */
function shownName(text) {
  return /.\.htm$/i.test(text) ? text.slice(0, -4) : text;
}

/** The file a file: address names, as the bytes of its path: the percent escapes of the
 * address are bytes (a browser writes a character outside ASCII as its UTF-8 bytes). */
function urlToPathBytes(url) {
  const pathname = new URL(url.split('#')[0]).pathname;
  const bytes = [];
  for (let i = 0; i < pathname.length; i++) {
    if (pathname[i] === '%' && /^[0-9a-f]{2}$/i.test(pathname.slice(i + 1, i + 3))) {
      bytes.push(parseInt(pathname.slice(i + 1, i + 3), 16));
      i += 2;
    } else {
      bytes.push(...Buffer.from(pathname[i], 'utf8'));
    }
  }
  return Buffer.from(bytes);
}

/** The file: address of a path given as bytes, each byte outside plain ASCII escaped. */
function pathBytesToUrl(bytes) {
  let out = 'file://';
  for (const b of bytes) {
    out += /[A-Za-z0-9\/._~-]/.test(String.fromCharCode(b)) ? String.fromCharCode(b)
      : `%${b.toString(16).toUpperCase().padStart(2, '0')}`;
  }
  return out;
}

/** Address without fragment, with "%20" and the like decoded, for comparing two addresses. */
function samePage(a, b) {
  const strip = (u) => decodeURIComponent(u.split('#')[0]);
  return strip(a) === strip(b);
}

/** A source file's lines as a page shows them: tabs to stops of 4, line ends dropped. */
function shownSourceLines(file) {
  return fs.readFileSync(file, 'latin1').split('\n').map((line) => {
    let out = '';
    for (const c of line.replace(/\r$/, '')) out += c === '\t' ? ' '.repeat(4 - (out.length % 4)) : c;
    return out;
  });
}

/** Where line `n` of a frame's page stands: its anchor's top in the viewport, and whether
 * the page was scrolled as far as it goes. */
function linePlace(f, n) {
  return f.evaluate((id) => {
    const anchor = document.getElementById(id);
    if (!anchor) return { missing: true };
    const root = document.scrollingElement;
    return {
      top: anchor.getBoundingClientRect().top,
      height: window.innerHeight,
      atEnd: root.scrollTop + window.innerHeight >= root.scrollHeight - 1,
      scrolled: root.scrollTop,
      text: anchor.parentElement.textContent,
      gutter: anchor.getBoundingClientRect().width,
      bold: getComputedStyle(anchor).fontWeight,
    };
  }, `L${n}`);
}

/** Line `n` stands at the top of the view, or the page is scrolled to its end with the
 * line in view. */
function atTop(place) {
  if (place.missing) return false;
  return (place.top >= -2 && place.top < 4) || (place.atEnd && place.top >= 0 && place.top < place.height);
}

async function checkLineNumbers(page, tree, frame) {
  const squeeze = () => page.setViewportSize({ width: 1280, height: 420 });  // pages must scroll
  await check("a member's #L link scrolls the source frame to its line, which holds the member", async () => {
    await squeeze();
    const members = await tree.evaluate(() => Array.from(document.querySelectorAll('a.tree_citem'),
      (a, i) => ({ i, raw: a.getAttribute('href') || '', text: a.textContent, shown: a.offsetParent !== null })));
    const numbered = members.filter((m) => /#L\d+$/.test(m.raw));
    if (!numbered.length) fail('no member of the class tree links to a line');
    const lineOf = (m) => Number(m.raw.match(/#L(\d+)$/)[1]);
    const pick = numbered.filter((m) => m.shown).sort((a, b) => lineOf(b) - lineOf(a))[0];
    if (!pick) fail('no member link to a line is shown');
    const n = lineOf(pick);
    await tree.locator('a.tree_citem').nth(pick.i).click();
    const source = frame('source_frame');
    await waitUntil(() => `source frame to open ${pick.raw} (shows ${source.url()})`,
      async () => decodeURIComponent(source.url()).endsWith(pick.raw.replace(/^.*#/, '#')));
    const place = await waitUntil(`line ${n} to be scrolled to the top`, async () => {
      const p = await linePlace(source, n);
      return atTop(p) ? p : null;
    });
    if (place.scrolled <= 0) fail(`line ${n} was in view without scrolling: nothing was proven`);
    const squash = (t) => t.replace(/[\s\u00a0]/g, '');
    if (!squash(place.text).includes(squash(pick.text))) fail(`line ${n} reads "${place.text}", not the member ${pick.text}`);
    return `${pick.text.trim()} -> line ${n}, scrolled ${place.scrolled}px`;
  });

  await check('a page opened on its own at #L<n> shows line n at the top, marked, with its number beside it', async () => {
    const url = frame('source_frame').url().split('#')[0];
    const lines = await frame('source_frame').evaluate(() => document.querySelectorAll('nobr > a[id^="L"]').length);
    const n = Math.max(1, lines - 3);
    const soloContext = await browser.newContext({ viewport: { width: 1280, height: 300 } });
    const solo = await soloContext.newPage();
    await solo.goto(`${url}#L${n}`, { waitUntil: 'load' });
    const place = await waitUntil(`line ${n} of ${url} at the top`, async () => {
      const p = await linePlace(solo.mainFrame(), n);
      return atTop(p) ? p : null;
    });
    await soloContext.close();
    if (place.scrolled <= 0) fail(`the page did not scroll to line ${n}`);
    if (!(place.gutter > 10)) fail(`the line number takes ${place.gutter}px: no gutter is drawn`);
    if (Number(place.bold) < 600) fail(`the target line's number is not marked (font-weight ${place.bold})`);
    return `line ${n} of ${lines}, scrolled ${place.scrolled}px`;
  });

  await check('copying several lines gives the source text without their numbers', async () => {
    const source = frame('source_frame');
    const name = decodeURIComponent(source.url().split('#')[0].split('/').pop()).replace(/\.htm$/i, '');
    const expected = shownSourceLines(path.join(lineSources, name));
    const first = 2;
    const last = Math.min(expected.length - 1, 14);
    if (last <= first) fail(`${name} is too short to copy lines from`);
    const copied = await source.evaluate(([a, b]) => {
      const range = document.createRange();
      range.setStart(document.getElementById(`L${a}`).parentElement, 0);
      const end = document.getElementById(`L${b}`).parentElement;
      range.setEnd(end, end.childNodes.length);
      const selection = window.getSelection();
      selection.removeAllRanges();
      selection.addRange(range);
      return selection.toString();
    }, [first, last]);
    const want = expected.slice(first - 1, last).join('\n');
    const got = copied.replace(/\u00a0/g, ' ');
    if (got !== want) fail(`lines ${first}-${last} of ${name} copy as\n${JSON.stringify(got)}\nnot\n${JSON.stringify(want)}`);
    return `${name} lines ${first}-${last}, ${got.length} characters`;
  });
  await page.setViewportSize({ width: 1280, height: 800 });
}

/** The text of a script string as the tree lines write it between single quotes. */
function scriptStringText(raw) {
  return raw.replace(/\\(.)/g, '$1');
}

/** Types `text` into the search box of `tree` (replacing what it holds) and returns the
 * results as they show: text, detail, resolved address. */
async function searchFor(tree, text, { typed = false } = {}) {
  const box = tree.locator('.tree_search input');
  if (typed) {
    await box.click();
    await box.press('Control+A');
    await box.press('Backspace');
    await box.pressSequentially(text);
  } else {
    await box.fill(text);
  }
  return tree.evaluate(() => Array.from(document.querySelectorAll('.tree_results a.tree_result'), (a) => {
    const detail = a.querySelector('.tree_result_detail');
    return {
      text: (detail ? a.textContent.slice(0, -detail.textContent.length) : a.textContent).trim(),
      detail: detail ? detail.textContent : '',
      href: a.href,
      active: a.classList.contains('tree_active'),
    };
  }));
}

const browser = await playwright.chromium
  .launch({
    executablePath,
    headless: true,
    args: ['--no-sandbox', '--headless', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  })
  .catch((err) => {
    console.error(`cannot start the browser: ${err.message}`);
    process.exit(2);
  });

try {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await context.newPage();
  const scriptErrors = [];
  page.on('pageerror', (err) => scriptErrors.push(err.message));
  let popups = 0;
  context.on('page', () => popups++);

  const frame = (name) => page.frame({ name }) || fail(`no frame named ${name}`);
  const tabText = async () => (await frame('tab_frame').locator('body').innerText()).trim();

  console.log(`workspace ${indexUrl}`);
  await page.goto(indexUrl, { waitUntil: 'load' });

  await check('the index page shows the four frames', async () => {
    for (const name of FRAME_NAMES) {
      const f = frame(name);
      const url = f.url();
      if (!url || url === 'about:blank' || url.startsWith('chrome-error:')) fail(`${name} did not load (${url})`);
      const box = await (await f.frameElement()).boundingBox();
      if (!box || box.width < 1 || box.height < 1) fail(`${name} has no area on the screen`);
    }
    return FRAME_NAMES.map((n) => `${n}=${decodeURIComponent(frame(n).url().split('/').pop())}`).join(', ');
  });
  await screenshot(page, 'index');

  await check('every picture of the tree, tab and file-tab pages loads', async () => {
    const broken = [];
    for (const name of ['tree_frame', 'project_tabs_frame', 'tab_frame']) {
      const f = frame(name);
      await f.waitForLoadState('load');
      const bad = await f.evaluate(() => Array.from(document.images)
        .filter((img) => img.complete && img.naturalWidth === 0)
        .map((img) => img.getAttribute('src')));
      for (const src of new Set(bad)) broken.push(`${name}: ${src}`);
    }
    if (broken.length) fail(`missing pictures: ${broken.join('; ')}`);
  });

  await check('the source frame opens the first page and the tab frame names it once', async () => {
    const source = frame('source_frame');
    await source.waitForLoadState('load');
    const url = source.url();
    if (!/\.htm$/i.test(url.split('#')[0])) fail(`source frame shows ${url}`);
    const body = await source.evaluate(() => document.body ? document.body.innerHTML.length : 0);
    if (!body) fail(`the first page ${url} is empty or missing`);
    const name = shownName(decodeURIComponent(url.split('#')[0].split(/[\\/]/).pop()));
    const shown = await waitUntil(`tab frame showing ${name}`, async () => {
      const text = await tabText();
      return text.includes(name) ? text : null;
    });
    if (shown.split(name).length - 1 !== 1) fail(`tab frame shows "${shown}", expected ${name} once`);
    return name;
  });

  const tree = frame('tree_frame');
  let folderId = null;
  await check('clicking a folder opener hides and shows its files and swaps its connector', async () => {
    // The first folder with files of its own (in a tree read from disk, a folder may hold
    // only folders), with the folders that hold it opened first.
    const found = await tree.evaluate(() => {
      const nodes = Array.from(document.querySelectorAll('div.tree_parent[id^="Folder"]'));
      const node = nodes.find((n) => document.querySelector(`[id="${n.id}Child"] > div > nobr > a.tree_citem`));
      if (!node) return null;
      const outer = [];
      for (let e = node.parentElement; e; e = e.parentElement)
        if (e.classList.contains('tree_child')) outer.unshift(e.id.replace(/Child$/, ''));
      return { id: node.id, outer };
    });
    if (!found) fail('the source tree has no folder with files');
    folderId = found.id;
    for (const id of found.outer) await tree.click(`a[name="${id}a"]`);
    const child = tree.locator(`[id="${folderId}Child"]`);
    const opener = tree.locator(`img[name="${folderId}_o"]`);
    const files = child.locator(':scope > div > nobr > a.tree_citem');
    const state = async () => ({ shown: await files.first().isVisible(), src: await opener.getAttribute('src') });
    let s = await state();
    if (s.shown || !/plus\.gif$/i.test(s.src)) fail(`before a click: files shown=${s.shown}, opener ${s.src}`);
    const before = s.src;
    await tree.click(`a[name="${folderId}a"]`);
    s = await waitUntil('the folder to open', async () => ((s = await state()).shown ? s : null));
    if (s.src !== before.replace(/plus\.gif$/i, 'minus.gif')) {
      fail(`open folder shows opener ${s.src} (was ${before})`);
    }
    const count = await files.count();
    await tree.click(`a[name="${folderId}a"]`);
    s = await waitUntil('the folder to close', async () => ((s = await state()).shown ? null : s));
    if (s.src !== before) fail(`closed folder shows opener ${s.src}, expected ${before}`);
    await tree.click(`a[name="${folderId}a"]`);
    await waitUntil('the folder to open again', async () => (await state()).shown);
    return `${folderId}: ${count} file(s), ${before} <-> ${before.replace(/plus\.gif$/i, 'minus.gif')}`;
  });

  await check('a folder inside a folder opens inside it, and closing the outer one hides it', async () => {
    const nested = await tree.evaluate(() => {
      const inner = Array.from(document.querySelectorAll('div.tree_child > div.tree_parent[id^="Folder"]'))
        .find((n) => document.querySelector(`[id="${n.id}Child"] > div > nobr > a.tree_citem`));
      if (!inner) return null;
      const outer = [];
      for (let e = inner.parentElement; e; e = e.parentElement)
        if (e.classList.contains('tree_child')) outer.unshift(e.id.replace(/Child$/, ''));
      return { inner: inner.id, outer };
    });
    if (!nested) return 'no nested folders (a project tree)';
    const isOpen = (id) => tree.locator(`[id="${id}Child"]`).evaluate((e) => e.style.display === 'block');
    const open = async (id) => { if (!(await isOpen(id))) await tree.click(`a[name="${id}a"]`); };
    for (const id of [...nested.outer, nested.inner]) await open(id);
    const innerFiles = tree.locator(`[id="${nested.inner}Child"] > div > nobr > a.tree_citem`);
    await waitUntil('the inner folder to show its files', async () => innerFiles.first().isVisible());
    const row = await tree.locator(`[id="${nested.inner}"] a.tree_pitem`).boundingBox();
    const file = await innerFiles.first().boundingBox();
    if (!row || !file || file.x <= row.x) fail('the inner folder\'s files are not indented under it');
    const outer = nested.outer[nested.outer.length - 1];
    await tree.click(`a[name="${outer}a"]`);
    await waitUntil('the inner folder to hide with the outer', async () => !(await innerFiles.first().isVisible()));
    await tree.click(`a[name="${outer}a"]`);
    await waitUntil('the inner folder to show again, still open', async () => innerFiles.first().isVisible());
    return `${nested.outer.join(' > ')} > ${nested.inner}`;
  });

  await check('clicking a file opens its page in the source frame and names it in the tab frame', async () => {
    if (!folderId) fail('no open folder');
    const current = await tabText();
    const leaves = await tree.evaluate((id) => Array.from(
      document.querySelectorAll(`[id="${id}Child"] > div > nobr > a.tree_citem`)).map((a, i) => ({
      i, href: a.href, text: a.textContent, tab: ((a.getAttribute('onclick') || '').match(/SendTabText\('(.*)'\)/) || [])[1],
    })), folderId);
    if (!leaves.length) fail('the folder has no file');
    const leaf = leaves.find((l) => l.tab !== undefined && !current.includes(shownName(l.tab))) || leaves[0];
    if (leaf.tab === undefined) fail(`file ${leaf.text} does not call SendTabText`);
    await tree.locator(`[id="${folderId}Child"] > div > nobr > a.tree_citem`).nth(leaf.i).click();
    const source = frame('source_frame');
    await waitUntil(() => `source frame to open ${leaf.href} (shows ${source.url()})`, async () => samePage(source.url(), leaf.href));
    await source.waitForLoadState('load');
    const name = shownName(leaf.tab);
    await waitUntil(async () => `tab frame to show ${name} (shows "${await tabText()}")`, async () => (await tabText()).includes(name));
    if (popups) fail('the click opened a new window instead of the source frame');
    return `${leaf.text} -> ${decodeURIComponent(source.url().split('/').pop())}`;
  });
  await screenshot(page, 'source-tree');

  await check('the search box finds each file of the tree by its name, shown and leading as its item', async () => {
    const items = await tree.evaluate(() => Array.from(document.querySelectorAll('a.tree_citem'),
      (a) => ({ text: a.textContent.trim(), href: a.href })));
    if (!items.length) return 'no files';
    const sample = items.slice(0, 100);
    for (const item of sample) {
      const results = await searchFor(tree, item.text);
      if (!results.some((r) => r.text === item.text && r.href === item.href)) {
        fail(`"${item.text}" -> ${item.href} is not among ${JSON.stringify(results.slice(0, 5))}`);
      }
      const best = results[0];
      if (best.text.toLowerCase() !== item.text.toLowerCase()) fail(`for "${item.text}" the first result is "${best.text}"`);
    }
    await searchFor(tree, '');
    return `${sample.length} of ${items.length} file(s)`;
  });

  let classes = [];
  await check('the tab page switches the tree frame to the class tree, which lists the classes', async () => {
    const tabs = frame('project_tabs_frame');
    await tabs.click('a[href$="ClassTree.htm"]');
    await waitUntil(() => `tree frame to show ClassTree.htm (shows ${tree.url()})`, async () => /ClassTree\.htm$/i.test(tree.url()));
    await tree.waitForLoadState('load');
    classes = await tree.evaluate(() => Array.from(document.querySelectorAll('div.tree_parent[id^="ClassItem"]'))
      .map((node) => {
        const link = node.querySelector('a.tree_pitem');
        return {
          id: node.id,
          name: link ? link.textContent : '',
          href: link ? link.href : '',
          rawHref: link ? link.getAttribute('href') : '',
          tab: link ? ((link.getAttribute('onclick') || '').match(/SendTabText\('(.*)'\)/) || [])[1] : undefined,
          opener: !!node.querySelector(`a[name="${node.id}a"][onclick]`),
        };
      }));
    if (!classes.length) {
      if (process.env.ALLOW_NO_CLASSES === '1') return 'no classes (allowed)';
      fail('the class tree lists no class');
    }
    const visible = await tree.locator('a.tree_pitem').first().isVisible();
    if (!visible) fail('the class names are not visible');
    return classes.map((c) => c.name).join(', ');
  });

  await check('opening a class node shows its members', async () => {
    const node = classes.find((c) => c.opener);
    if (!node) return classes.length ? 'no class has members' : 'no classes';
    const members = tree.locator(`[id="${node.id}Child"] a.tree_citem`);
    if (await members.first().isVisible()) fail('members are shown before the node is opened');
    await tree.click(`a[name="${node.id}a"]`);
    await waitUntil('the members to show', async () => members.first().isVisible());
    const src = await tree.locator(`img[name="${node.id}_o"]`).getAttribute('src');
    if (!/minus\.gif$/i.test(src)) fail(`open node shows opener ${src}`);
    return `${node.name}: ${(await members.allInnerTexts()).join(', ')}`;
  });

  await check('clicking a class opens its page at its anchor', async () => {
    if (!classes.length) return 'no classes';
    const c = classes[0];
    if (!c.rawHref.includes('#')) fail(`class ${c.name} links to ${c.rawHref} without an anchor`);
    const anchor = decodeURIComponent(c.rawHref.split('#').pop());
    await tree.locator(`[id="${c.id}"] a.tree_pitem`).click();
    const source = frame('source_frame');
    await waitUntil(() => `source frame to open ${c.rawHref} (shows ${source.url()})`,
      async () => samePage(source.url(), c.href) && decodeURIComponent(source.url()).endsWith(`#${anchor}`));
    await source.waitForLoadState('load');
    const place = await waitUntil(`anchor ${anchor} to be scrolled into view`, () => source.evaluate((name) => {
      const target = document.getElementsByName(name)[0] || document.getElementById(name);
      if (!target) return { missing: true };
      const top = target.getBoundingClientRect().top;
      return top >= -2 && top < window.innerHeight ? { top, scrolled: window.scrollY } : null;
    }, anchor));
    if (place.missing) fail(`the page has no anchor named ${anchor}`);
    if (c.tab !== undefined) {
      const name = shownName(c.tab);
      await waitUntil(async () => `tab frame to show ${name} (shows "${await tabText()}")`, async () => (await tabText()).includes(name));
    }
    return `${decodeURIComponent(source.url().split('/').pop())}, page scrolled to ${place.scrolled}px`;
  });
  await screenshot(page, 'class-tree');

  if (lineSources) await checkLineNumbers(page, tree, frame);

  await check('the search box finds a member by a part of its name, opens its page at its anchor and names it in the tab frame', async () => {
    const members = await tree.evaluate(() => Array.from(document.querySelectorAll('div.tree_parent[id^="ClassItem"]'))
      .flatMap((node) => Array.from(document.querySelectorAll(`[id="${node.id}Child"] a.tree_citem`), (a) => ({
        owner: node.querySelector('a.tree_pitem').textContent,
        text: a.textContent.trim(),
        href: a.href,
        rawHref: a.getAttribute('href'),
        tab: ((a.getAttribute('onclick') || '').match(/SendTabText\('(.*)'\)/) || [])[1],
      }))));
    const named = members.filter((m) => /^[A-Za-z_]\w*(\(|$)/.test(m.text));
    if (!named.length) return members.length ? 'no member with a plain name' : 'no members';
    const source = frame('source_frame');
    const member = named.find((m) => !samePage(m.href, source.url())) || named[0];
    const name = member.text.split('(')[0];
    const part = name.length > 3 ? name.slice(1, -1) : name;
    const results = await searchFor(tree, part, { typed: true });
    const at = results.findIndex((r) => r.text === member.text && r.detail === member.owner);
    if (at < 0) fail(`"${part}" does not find ${member.owner}.${member.text} among ${results.length} result(s)`);
    if (!results[0].active) fail('the first result is not the one Enter takes');
    const box = tree.locator('.tree_search input');
    for (let i = 0; i < at; i++) await box.press('ArrowDown');
    const active = await tree.evaluate(() => Array.from(document.querySelectorAll('a.tree_result')).findIndex((a) => a.classList.contains('tree_active')));
    if (active !== at) fail(`after ${at} arrow press(es) result ${active} is chosen`);
    await box.press('Enter');
    const anchor = decodeURIComponent(member.rawHref.split('#').pop());
    await waitUntil(() => `source frame to open ${member.href} (shows ${source.url()})`,
      async () => source.url() === member.href);
    await source.waitForLoadState('load');
    await waitUntil(`anchor ${anchor} to be scrolled into view`, () => source.evaluate((n) => {
      const target = document.getElementsByName(n)[0] || document.getElementById(n);
      const top = target ? target.getBoundingClientRect().top : -1;
      return top >= -2 && top < window.innerHeight;
    }, anchor));
    const tab = shownName(scriptStringText(member.tab || ''));
    await waitUntil(async () => `tab frame to show ${tab} (shows "${await tabText()}")`, async () => (await tabText()) === tab);
    if (popups) fail('the result opened a new window instead of the source frame');
    await box.press('Escape');
    if (await tree.locator('.tree_results').isVisible()) fail('Escape leaves the results shown');
    return `"${part}" -> ${member.owner}.${member.text}, result ${at + 1} of ${results.length}, ${decodeURIComponent(source.url().split('/').pop())}`;
  });

  await check('the tab page switches back to the source tree', async () => {
    await frame('project_tabs_frame').click('a[href$="SourceTree.htm"]');
    await waitUntil(() => `tree frame to show SourceTree.htm (shows ${tree.url()})`, async () => /SourceTree\.htm$/i.test(tree.url()));
  });

  await check('every link and frame of the workspace names a file that exists', async () => {
    // Each page as the browser reads it (its charset, its references), each address as
    // the browser would ask the file system for it (percent escapes as bytes).
    const tree = urlToPathBytes(frame('tree_frame').url());
    const folder = tree.subarray(0, tree.lastIndexOf(0x2f) + 1);
    const pages = [indexUrl, ...fs.readdirSync(folder, { encoding: 'buffer' })
      .filter((n) => /\.htm$/i.test(n.toString('latin1')))
      .map((n) => pathBytesToUrl(Buffer.concat([folder, n])))];
    const missing = [];
    let links = 0;
    const readerContext = await browser.newContext();
    const reader = await readerContext.newPage();
    for (const url of pages) {
      await reader.goto(url, { waitUntil: 'domcontentloaded' });
      const targets = await reader.evaluate(() => Array.from(
        document.querySelectorAll('a[href], frame[src], img[src], script[src]'), (e) => e.href || e.src));
      for (const t of targets) {
        if (!t.startsWith('file:')) continue;
        links++;
        if (!fs.existsSync(urlToPathBytes(t))) missing.push(`${decodeURIComponent(url.split('/').pop())} -> ${t}`);
      }
    }
    await readerContext.close();
    if (missing.length) fail(`${missing.length} missing: ${missing.slice(0, 5).join(', ')}`);
    return `${links} links on ${pages.length} pages`;
  });

  await check('no script error and no extra window', async () => {
    if (scriptErrors.length) fail(scriptErrors.join('; '));
    if (popups) fail(`${popups} window(s) opened`);
  });
} finally {
  await browser.close();
}

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
