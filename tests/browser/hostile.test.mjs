// Opens every page that Quillon made of the hostile sources in headless Chromium, with the
// browser's ordinary security settings, and checks that nothing of the sources became
// markup or script:
//   - source pages: no dialog, no script error, none of the sources' scripts ran (they
//     try alert(), document.title and window.__pwned); every element and attribute is
//     one of the page's own (html, head, meta, title, body, font, nobr, br, a with their
//     fixed attributes; links only to files, or to the web for reference links); and each
//     line shows exactly the text of its source line (read as the page's charset, tabs
//     and spaces as non-breaking spaces, and wherever the line holds no "&", NUL or CR,
//     the source bytes themselves);
//   - tree pages, tab pages and index pages: no dialog, no foreign script or handler,
//     links only to files; in each index page every tree link is clicked, in both trees.
//
//   node hostile.test.mjs OUTPUT_DIR SOURCE_DIR
//
// OUTPUT_DIR holds the pages (searched recursively); SOURCE_DIR the sources they were made
// from (a page NAME.htm belongs to the source NAME). File names are handled as bytes, so
// names that are not UTF-8 are opened as they are. Environment: CHROMIUM_PATH (default
// /usr/bin/chromium). Prints one line per failed check and a summary; exits 1 when a
// check failed, 2 on bad usage or when the browser cannot be started.
import fs from 'node:fs';
import path from 'node:path';

const [outputArg, sourceArg] = process.argv.slice(2);
if (!outputArg || !sourceArg) {
  console.error('usage: node hostile.test.mjs OUTPUT_DIR SOURCE_DIR');
  process.exit(2);
}
const executablePath = process.env.CHROMIUM_PATH || '/usr/bin/chromium';
if (!fs.existsSync(executablePath)) {
  console.error(`browser not found: ${executablePath} (apt-get install chromium, or set CHROMIUM_PATH)`);
  process.exit(2);
}
let playwright;
try {
  playwright = await import('playwright-core');
} catch {
  console.error('playwright-core is missing: run "npm install" in tests/browser');
  process.exit(2);
}

const outputDir = Buffer.from(path.resolve(outputArg));
const sourceDir = Buffer.from(path.resolve(sourceArg));
const SLASH = 0x2f;

// ------------------------------------------------------------------ files as bytes

function join(dir, name) {
  return Buffer.concat([dir, Buffer.from([SLASH]), name]);
}
function baseName(p) {
  return p.subarray(p.lastIndexOf(SLASH) + 1);
}
function show(p) {
  return JSON.stringify(p.toString('latin1'));
}
/** Every .htm file below `dir`, as byte paths; symbolic links are not followed. */
function pagesBelow(dir) {
  const found = [];
  for (const entry of fs.readdirSync(dir, { encoding: 'buffer', withFileTypes: true })) {
    const full = join(dir, entry.name);
    if (entry.isDirectory()) found.push(...pagesBelow(full));
    else if (entry.isFile() && entry.name.toString('latin1').endsWith('.htm')) found.push(full);
  }
  return found;
}
/** A file: URL that names exactly these bytes. */
function fileUrl(p) {
  let url = 'file://';
  for (const b of p) {
    const c = String.fromCharCode(b);
    url += /[A-Za-z0-9/._~-]/.test(c) ? c : `%${b.toString(16).toUpperCase().padStart(2, '0')}`;
  }
  return url;
}

// ------------------------------------------------------------------ expected text

/** The same decision as the converter's: a picture, a program, or mostly control bytes. */
function looksBinary(bytes) {
  const head = bytes.subarray(0, 8192);
  const starts = (sig) => head.subarray(0, sig.length).equals(Buffer.from(sig, 'latin1'));
  if (starts('\xff\xfe') || starts('\xfe\xff')) return false;
  if (['\x89PNG\r\n\x1a\n', 'GIF87a', 'GIF89a', '\xff\xd8\xff', '\x7fELF', 'PK\x03\x04', 'PK\x05\x06']
    .some(starts)) return true;
  let controls = 0;
  for (const b of head) if (b < 0x20 && ![9, 10, 11, 12, 13, 0x1a, 0x1b].includes(b)) controls++;
  return controls >= 4 && controls * 10 > head.length;
}
/** The lines as the converter reads them: split at LF, a CR right before it dropped. */
function sourceLines(bytes) {
  const lines = [];
  let start = 0;
  while (start < bytes.length) {
    let end = bytes.indexOf(0x0a, start);
    if (end < 0) end = bytes.length;
    const stop = end > start && bytes[end - 1] === 0x0d ? end - 1 : end;
    lines.push(bytes.subarray(start, stop));
    start = end + 1;
  }
  return lines;
}
const BOM = Buffer.from([0xef, 0xbb, 0xbf]);
/** A line's escaped form as bytes: tabs to the next stop of four (counting characters
 * on a UTF-8 page, bytes otherwise), spaces and angle brackets as entities; the
 * byte-order mark and what stands before it dropped. */
function escaped(line, utf8) {
  const mark = line.indexOf(BOM);
  if (mark >= 0) line = line.subarray(mark + 3);
  const NBSP = Buffer.from('&nbsp;');
  const out = Buffer.alloc(line.length * 24);
  let size = 0;
  let column = 0;
  const put = (piece) => {
    size += typeof piece === 'number' ? (out[size] = piece, 1) : piece.copy(out, size);
  };
  for (const b of line) {
    if (b === 0x09) {
      const n = 4 - (column % 4);
      for (let k = 0; k < n; k++) put(NBSP);
      column += n;
      continue;
    }
    if (b === 0x20) put(NBSP);
    else if (b === 0x3c) put(Buffer.from('&lt'));
    else if (b === 0x3e) put(Buffer.from('&gt'));
    else put(b);
    if (!utf8 || (b & 0xc0) !== 0x80) column++;  // a continuation byte takes no column
  }
  return out.subarray(0, size);
}

// ------------------------------------------------------------------ checks

let checked = 0;
let failures = 0;
const problems = [];
function fail(where, what) {
  failures++;
  problems.push(`FAIL - ${where}: ${what}`);
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
const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
// Nothing may leave the disk: a request to the network is a source's doing.
await context.route(/^(https?|wss?|ftp):/i, (route) => route.abort());

/** Opens `url` in a fresh tab that records dialogs and script errors. */
async function open(url) {
  const page = await context.newPage();
  const seen = { dialogs: [], errors: [] };
  page.on('dialog', (d) => {
    seen.dialogs.push(`${d.type()} "${d.message()}"`);
    d.dismiss().catch(() => {});
  });
  page.on('pageerror', (err) => seen.errors.push(err.message));
  await page.goto(url, { waitUntil: 'load' });
  return { page, seen };
}

/** What every frame of `page` tells about scripts that should not have run. */
async function scriptTraces(page) {
  const traces = [];
  for (const frame of page.frames()) {
    const t = await frame.evaluate(() => ({
      pwned: typeof window.__pwned !== 'undefined',
      title: document.title,
      scripts: Array.from(document.scripts, (s) => s.text)
        .filter((text) => /alert\(|confirm\(|prompt\(|print\(|__pwned|document\.title\s*=/.test(text)).length,
    })).catch(() => null);
    if (!t) continue;
    if (t.pwned) traces.push(`window.__pwned is set in ${frame.url()}`);
    if (/pwned/.test(t.title)) traces.push(`the title became "${t.title}" in ${frame.url()}`);
    if (t.scripts) traces.push(`${t.scripts} script element(s) of the sources in ${frame.url()}`);
  }
  return traces;
}

function reportRun(where, seen, traces) {
  for (const d of seen.dialogs) fail(where, `a dialog opened: ${d}`);
  for (const e of seen.errors) fail(where, `script error: ${e}`);
  for (const t of traces) fail(where, t);
}

/** The page's own elements and attributes, with their fixed values where they have one. */
function ownMarkupProblems() {
  const hex = /^#[0-9a-f]{6}$/;
  const allowed = {
    HTML: {}, HEAD: {}, TITLE: {}, NOBR: {}, BR: {},
    META: { 'http-equiv': /^(Content-Language|Content-Type)$/, content: /./, name: /^(GENERATOR|ProgId)$/ },
    BODY: { bgcolor: hex },
    FONT: { color: hex, face: /./, size: /^2$/ },
    A: { href: /./, target: /^_blank$/, style: /^text-decoration:none;color:#[0-9a-f]{6}$/, name: /./ },
  };
  const bad = [];
  for (const el of document.querySelectorAll('*')) {
    const attrs = allowed[el.tagName];
    if (!attrs) {
      bad.push(`element <${el.tagName.toLowerCase()}>`);
      continue;
    }
    for (const a of el.attributes) {
      if (!attrs[a.name]) bad.push(`attribute ${a.name}="${a.value}" on <${el.tagName.toLowerCase()}>`);
      else if (!attrs[a.name].test(a.value)) bad.push(`${a.name}="${a.value}" on <${el.tagName.toLowerCase()}>`);
    }
    if (el.tagName === 'A' && el.hasAttribute('href')) {
      const protocol = new URL(el.href).protocol;
      const web = el.getAttribute('target') === '_blank' && /^https?:$/.test(protocol);
      if (protocol !== 'file:' && !web) bad.push(`link to ${el.href}`);
    }
  }
  if (document.title !== 'Hello') bad.push(`title "${document.title}"`);
  return bad;
}

async function checkSourcePage(pagePath, sourcePath) {
  const where = show(baseName(pagePath));
  const { page, seen } = await open(fileUrl(pagePath));
  try {
    const markup = await page.evaluate(ownMarkupProblems);
    for (const m of markup) fail(where, m);
    const shown = await page.evaluate(() => Array.from(document.querySelectorAll('nobr'), (n) => n.textContent));
    const bytes = fs.readFileSync(sourcePath);
    const lines = sourceLines(bytes);
    const utf8Page = fs.readFileSync(pagePath, 'latin1').includes('charset=utf-8');
    if (shown.length === 0 && looksBinary(bytes)) {
      // A picture or a program gets the empty page.
    } else if (shown.length !== lines.length) {
      fail(where, `${shown.length} lines shown for ${lines.length} source lines`);
    } else {
      // What the browser shows for each escaped line alone, with no markup around it, and
      // the escaped line read in the page's charset (by the browser's own decoder).
      const texts = await page.evaluate((lines64) => lines64.map((b64) => {
        const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
        const decoded = new TextDecoder(document.characterSet).decode(bytes);
        const alone = new DOMParser().parseFromString(`<body><nobr>${decoded}</nobr>`, 'text/html').body.textContent;
        return { decoded, alone };
      }), lines.map((line) => escaped(line, utf8Page).toString('base64')));
      let raw = 0;
      for (let i = 0; i < lines.length; i++) {
        const { decoded, alone } = texts[i];
        if (shown[i] !== alone) {
          fail(where, `line ${i + 1} shows ${JSON.stringify(shown[i].slice(0, 120))}, expected ${JSON.stringify(alone.slice(0, 120))}`);
          continue;
        }
        // Where the line holds no reference, NUL or CR, that is the source text itself.
        if (lines[i].includes(0x26) || lines[i].includes(0) || lines[i].includes(0x0d)) continue;
        const text = decoded.replaceAll('&nbsp;', '\u00a0').replaceAll('&lt', '<').replaceAll('&gt', '>');
        if (shown[i] !== text) fail(where, `line ${i + 1} differs from its source text`);
        raw++;
      }
      rawLines += raw;
    }
    reportRun(where, seen, await scriptTraces(page));
  } finally {
    await page.close();
  }
}
let rawLines = 0;

/** Tree, tab and index pages: templates with scripts of their own, which may only call
 * the two tree functions from their handlers and link to files. */
function handlerProblems() {
  const bad = [];
  // The tab page's own handler, and the trees' two functions with a quoted argument.
  const ownHandler = /^(SendTabText\('(?:[^'\\]|\\.)*'\);|tree_iconclick\('\w+'\)|chooseTab\(this\))$/;
  for (const el of document.querySelectorAll('*')) {
    for (const a of el.attributes) {
      if (/^on/i.test(a.name) && !ownHandler.test(a.value)) bad.push(`handler ${a.name}="${a.value}"`);
    }
    if (el.tagName === 'A' && el.getAttribute('href') && !el.getAttribute('href').startsWith('#')) {
      const protocol = new URL(el.href).protocol;
      if (protocol !== 'file:') bad.push(`link to ${el.href}`);
    }
    if ((el.tagName === 'FRAME' || el.tagName === 'IFRAME') && el.src && new URL(el.src).protocol !== 'file:') {
      bad.push(`frame of ${el.src}`);
    }
  }
  const label = document.getElementById('page_name');
  if (label && label.children.length) bad.push('the file tab holds elements');
  return bad;
}

async function checkOtherPage(pagePath) {
  const where = show(baseName(pagePath));
  const { page, seen } = await open(fileUrl(pagePath));
  try {
    for (const m of await page.evaluate(handlerProblems)) fail(where, m);
    reportRun(where, seen, await scriptTraces(page));
  } finally {
    await page.close();
  }
}

/** An index page: its four frames load files, and every link of both trees is clicked. */
async function checkIndexPage(pagePath) {
  const where = show(baseName(pagePath));
  const { page, seen } = await open(fileUrl(pagePath));
  try {
    const frames = await page.evaluate(() => Array.from(document.querySelectorAll('frame'), (f) => f.src));
    if (frames.length !== 4) fail(where, `${frames.length} frames`);
    for (const src of frames) if (new URL(src).protocol !== 'file:') fail(where, `frame of ${src}`);
    for (const m of await page.evaluate(handlerProblems)) fail(where, m);
    for (const name of ['tree_frame', 'project_tabs_frame', 'tab_frame', 'source_frame']) {
      const frame = page.frame({ name });
      if (!frame) fail(where, `no frame ${name}`);
      else await frame.waitForLoadState('load');
    }
    let clicks = 0;
    for (const tree of ['SourceTree.htm', 'ClassTree.htm']) {
      const tabs = page.frame({ name: 'project_tabs_frame' });
      const treeFrame = page.frame({ name: 'tree_frame' });
      if (!tabs || !treeFrame) break;
      await tabs.evaluate((t) => {
        const link = Array.from(document.querySelectorAll('a')).find((a) => a.href.endsWith(t));
        if (link) link.click();
      }, tree);
      await page.waitForTimeout(300);
      await treeFrame.waitForLoadState('load');
      for (const m of await treeFrame.evaluate(handlerProblems)) fail(`${where} ${tree}`, m);
      clicks += await treeFrame.evaluate(() => {
        const links = Array.from(document.querySelectorAll('a[onclick]'));
        for (const a of links) a.click();
        return links.length;
      });
      await page.waitForTimeout(500);
    }
    checked += clicks;
    reportRun(where, seen, await scriptTraces(page));
  } finally {
    await page.close();
  }
}

try {
  const pages = pagesBelow(outputDir);
  const own = new Set(['SourceTree.htm', 'ClassTree.htm', 'Tabs.htm', 'FileTab.htm', 'Blank.htm']);
  let sources = 0;
  let others = 0;
  let indexes = 0;
  for (const pagePath of pages) {
    const name = baseName(pagePath);
    const source = join(sourceDir, name.subarray(0, name.length - 4));
    if (fs.existsSync(source) && fs.statSync(source).isFile()) {
      await checkSourcePage(pagePath, source);
      sources++;
    } else if (own.has(name.toString('latin1'))) {
      await checkOtherPage(pagePath);
      others++;
    } else if (fs.readFileSync(pagePath).includes('<FRAMESET')) {
      await checkIndexPage(pagePath);
      indexes++;
    } else {
      fail(show(name), 'a page that belongs to no source');
    }
  }
  checked += sources + others + indexes;
  console.log(`${sources} source page(s), ${rawLines} line(s) equal to their source bytes, ` +
    `${others} tree and tab page(s), ${indexes} index page(s)`);
} finally {
  await browser.close();
}

for (const p of problems) console.log(p);
console.log(failures ? `${failures} problem(s)` : `no problem in ${checked} checks`);
process.exit(failures ? 1 : 0);
