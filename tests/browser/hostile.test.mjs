// Opens every page that Quillon made of the hostile sources in headless Chromium, with the
// browser's ordinary security settings, and checks that nothing of the sources became
// markup or script:
//   - source pages: no dialog, no script error, none of the sources' scripts ran (they
//     try alert(), document.title and window.__pwned); every element and attribute is
//     one of the page's own (html, head, meta, title, body, font, nobr, br, a with their
//     fixed attributes; links only to files, or to the web for reference links); and each
//     line shows exactly the text of its source line: wherever the line holds no NUL or
//     CR, the source text itself (read in the page's charset, tabs to stops of four, tabs
//     and spaces as non-breaking spaces), character references spelt in it included;
//   - tree pages, tab pages and index pages: no dialog, no foreign script or handler,
//     links only to files, and to files that exist; in each index page every tree link
//     is clicked, in both trees; the class tree's members show text of the sources, the
//     source tree and the file tab the names of the source files.
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
/** The line without a byte-order mark and what stands before it. */
function withoutMark(line) {
  const mark = line.indexOf(BOM);
  return mark >= 0 ? line.subarray(mark + 3) : line;
}
/** Whether a "&" before the byte `next` begins a character reference for a browser. */
function beginsReference(next) {
  return next !== undefined && /[A-Za-z0-9#]/.test(String.fromCharCode(next));
}
/** The character references that begin with "lt" or "gt" and need their ";". */
const LONGER_REFERENCES = ['lt;', 'ltcc;', 'ltcir;', 'ltdot;', 'lthree;', 'ltimes;', 'ltlarr;',
  'ltquest;', 'ltrPar;', 'ltri;', 'ltrie;', 'ltrif;', 'gt;', 'gtcc;', 'gtcir;', 'gtdot;', 'gtlPar;',
  'gtquest;', 'gtrapprox;', 'gtrarr;', 'gtrdot;', 'gtreqless;', 'gtreqqless;', 'gtrless;', 'gtrsim;'];
/** A line's escaped form as bytes: tabs to the next stop of four (counting characters
 * on a UTF-8 page, bytes otherwise), spaces and angle brackets as entities (closed with
 * ";" where the browser would read on into what follows), a "&" that would begin a
 * character reference as "&amp;"; the byte-order mark and what stands before it dropped. */
function escaped(line, utf8) {
  line = withoutMark(line);
  const NBSP = Buffer.from('&nbsp;');
  const out = Buffer.alloc(line.length * 24);
  let size = 0;
  let column = 0;
  const put = (piece) => {
    size += typeof piece === 'number' ? (out[size] = piece, 1) : piece.copy(out, size);
  };
  for (let i = 0; i < line.length; i++) {
    const b = line[i];
    if (b === 0x09) {
      const n = 4 - (column % 4);
      for (let k = 0; k < n; k++) put(NBSP);
      column += n;
      continue;
    }
    if (b === 0x20) put(NBSP);
    else if (b === 0x3c || b === 0x3e) {
      // Closed with ";" where the browser would read on into a longer reference.
      const entity = b === 0x3c ? 'lt' : 'gt';
      const after = line.subarray(i + 1, i + 12).toString('latin1');
      put(Buffer.from('&' + entity + (LONGER_REFERENCES.some((r) => (entity + after).startsWith(r)) ? ';' : '')));
    }
    else if (b === 0x26 && beginsReference(line[i + 1])) put(Buffer.from('&amp;'));
    else put(b);
    if (!utf8 || (b & 0xc0) !== 0x80) column++;  // a continuation byte takes no column
  }
  return out.subarray(0, size);
}
/** The text a reader should see for a line, from its decoded characters alone: tabs to
 * the next stop of four, tabs and spaces as non-breaking spaces. */
function sourceText(decoded) {
  let text = '';
  let column = 0;
  for (const ch of decoded) {
    if (ch === '\t') {
      const n = 4 - (column % 4);
      text += '\u00a0'.repeat(n);
      column += n;
      continue;
    }
    text += ch === ' ' ? '\u00a0' : ch;
    column++;
  }
  return text;
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
    HTML: { class: /^quillon-dark$/ }, HEAD: {}, TITLE: {}, NOBR: {}, BR: {}, STYLE: { type: /^text\/css$/ },
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
    // The dark theme's style: the page's colours as custom properties, and the links'.
    const darkStyle = /^\n?:root\{color-scheme:dark(;--quillon-[a-z-]+:#[0-9a-f]{6})+\}\na:link,a:visited\{color:var\(--quillon-link\)\}\n$/;
    if (el.tagName === 'STYLE' && !darkStyle.test(el.textContent)) bad.push(`style ${JSON.stringify(el.textContent.slice(0, 80))}`);
    if (el.tagName === 'A' && el.hasAttribute('href')) {
      const protocol = new URL(el.href).protocol;
      const web = el.getAttribute('target') === '_blank' && /^https?:$/.test(protocol);
      if (protocol !== 'file:' && !web) bad.push(`link to ${el.href}`);
    }
  }
  if (document.title !== 'Hello') bad.push(`title "${document.title}"`);
  return bad;
}

/** The text of each line of a source page: what its "<nobr>" elements hold up to the
 * "<br>" that ends it. (A comment that runs over lines keeps its font open across the
 * line ends, and the browser's parser splits a later line's "<nobr>" in two there.) */
function shownLines() {
  const lines = [];
  let line = '';
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    if (node.nodeType === Node.ELEMENT_NODE && node.tagName === 'BR') {
      lines.push(line);
      line = '';
    } else if (node.nodeType === Node.TEXT_NODE && node.parentElement.closest('nobr')) {
      line += node.data;
    }
  }
  return lines;
}

async function checkSourcePage(pagePath, sourcePath) {
  const where = show(baseName(pagePath));
  const { page, seen } = await open(fileUrl(pagePath));
  try {
    const markup = await page.evaluate(ownMarkupProblems);
    for (const m of markup) fail(where, m);
    const shown = await page.evaluate(shownLines);
    const bytes = fs.readFileSync(sourcePath);
    const lines = sourceLines(bytes);
    const utf8Page = fs.readFileSync(pagePath, 'latin1').includes('charset=utf-8');
    if (shown.length === 0 && looksBinary(bytes)) {
      // A picture or a program gets the empty page.
    } else if (shown.length !== lines.length) {
      fail(where, `${shown.length} lines shown for ${lines.length} source lines`);
    } else {
      // What the browser shows for each escaped line alone, with no markup around it, and
      // the source line itself, each read in the page's charset (by the browser's decoder).
      const texts = await page.evaluate((pairs) => pairs.map(([escaped64, source64]) => {
        const decode = (b64) => new TextDecoder(document.characterSet)
          .decode(Uint8Array.from(atob(b64), (c) => c.charCodeAt(0)));
        const alone = new DOMParser()
          .parseFromString(`<body><nobr>${decode(escaped64)}</nobr>`, 'text/html').body.textContent;
        return { alone, source: decode(source64) };
      }), lines.map((line) => [escaped(line, utf8Page), withoutMark(line)].map((b) => b.toString('base64'))));
      let raw = 0;
      for (let i = 0; i < lines.length; i++) {
        const { alone, source } = texts[i];
        if (shown[i] !== alone) {
          fail(where, `line ${i + 1} shows ${JSON.stringify(shown[i].slice(0, 120))}, expected ${JSON.stringify(alone.slice(0, 120))}`);
          continue;
        }
        // Where the line holds no NUL or CR (which a browser changes in any text), that is
        // the source text itself: no "&" of it was read as a character reference.
        if (lines[i].includes(0) || lines[i].includes(0x0d)) continue;
        const text = sourceText(source);
        if (shown[i] !== text) {
          fail(where, `line ${i + 1} shows ${JSON.stringify(shown[i].slice(0, 120))} for the source text ${JSON.stringify(text.slice(0, 120))}`);
          continue;
        }
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

/** The texts a tree or tab page shows of the sources: member texts (class tree), file
 * names (source tree), the first page's name (file tab); and the page's charset. */
function shownTexts() {
  const texts = (selector) => Array.from(document.querySelectorAll(selector), (e) => e.textContent);
  const tab = document.getElementById('page_name');
  return {
    charset: document.characterSet,
    leaves: texts('a.tree_citem'),
    tab: tab ? tab.textContent : null,
    targets: Array.from(document.querySelectorAll('a[href], frame[src]'), (e) => e.href || e.src),
  };
}

/** The file a file: URL names, as bytes (the browser has read the attribute already, its
 * character references included). */
function urlFile(url) {
  const bytes = [];
  const p = new URL(url).pathname;
  for (let i = 0; i < p.length; i++) {
    if (p[i] === '%') {
      bytes.push(parseInt(p.substr(i + 1, 2), 16));
      i += 2;
    } else {
      bytes.push(...Buffer.from(p[i]));
    }
  }
  return Buffer.from(bytes);
}
/** Fails for each link or frame of the page whose file does not exist. */
function checkTargets(where, targets) {
  for (const target of targets) {
    if (new URL(target).protocol !== 'file:') continue;
    if (!fs.existsSync(urlFile(target))) fail(where, `a link to ${target}, which names no file`);
    checked++;
  }
}

/** The source files: their names and texts as a page of `charset` reads them. */
const sourceFiles = fs.readdirSync(sourceDir, { encoding: 'buffer', withFileTypes: true })
  .filter((entry) => entry.isFile()).map((entry) => entry.name);
const decodedSources = new Map();
function sourcesIn(charset) {
  if (!decodedSources.has(charset)) {
    const decoder = new TextDecoder(charset);
    const texts = sourceFiles.map((name) => decoder.decode(fs.readFileSync(join(sourceDir, name))));
    decodedSources.set(charset, {
      names: new Set(sourceFiles.map((name) => decoder.decode(name))),
      // Data members are shown without the spaces between their pieces.
      text: texts.join('\n') + '\n' + texts.map((t) => t.replaceAll(' ', '')).join('\n'),
    });
  }
  return decodedSources.get(charset);
}

async function checkOtherPage(pagePath) {
  const name = baseName(pagePath).toString('latin1');
  const where = show(baseName(pagePath));
  const { page, seen } = await open(fileUrl(pagePath));
  try {
    for (const m of await page.evaluate(handlerProblems)) fail(where, m);
    // What the trees and the tab show of the sources is their text, no character
    // reference of it decoded.
    const { charset, leaves, tab, targets } = await page.evaluate(shownTexts);
    checkTargets(where, targets);
    const sources = sourcesIn(charset);
    if (name === 'ClassTree.htm') {
      for (const text of leaves) {
        if (!sources.text.includes(text)) fail(where, `the member ${JSON.stringify(text)} is no text of the sources`);
      }
      checked += leaves.length;
    } else if (name === 'SourceTree.htm') {
      for (const text of leaves) {
        if (!sources.names.has(text)) fail(where, `the file ${JSON.stringify(text)} is no source file`);
      }
      checked += leaves.length;
    } else if (tab !== null && tab !== '' && !sources.names.has(tab)) {
      fail(where, `the tab shows ${JSON.stringify(tab)}, no source file`);
    }
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
    checkTargets(where, frames);
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
