// Checks every local link of generated pages without a browser: each href and src (and
// each url() of a style) of every .htm page below the given folders, and each target of
// every workspace's search index (SearchIndex.js), the scripts a page loads (src, and the
// uses script its cross-references name with data-uses), the links of each uses script
// (xref/u<n>.js: to every use's line and every definition a name of its page leads to) and
// the page and line of each line of a text index (text/index.js and its blocks, whose
// trigram shards must run and name only blocks there are), must name a file that exists,
// and a link with a fragment must name an anchor (name or id) that the page it leads to
// has. The chooser pages (xref/c<n>.htm) are pages. A tree page whose nodes load their
// lines on demand (a child division with data-src, naming a script of the folder trees) is
// checked as it shows once every node was opened: each script must exist, run and hold the
// lines of the node that names it, and the links of those lines count as the page's, as do
// their anchors.
// Links with a scheme (http:, javascript:, ...) are not followed.
//
//   node check_links.mjs FOLDER_OR_PAGE...
//
// Prints each dead link and a summary; exits 1 when there is one, 2 on bad usage.
// As a browser does, each page is read in the charset it declares (UTF-8, else
// windows-1252); a link's path becomes bytes by its percent-escapes and the UTF-8 of its
// other characters, and a fragment must equal an anchor's name as characters, so a link
// between pages of different charsets is followed as the browser follows it. Paths are
// handled as latin1 strings of their bytes, so names in any charset are compared as the
// file system stores them.
import fs from 'node:fs';
import path from 'node:path';
import vm from 'node:vm';

const roots = process.argv.slice(2);
if (roots.length === 0) {
  console.error('usage: node check_links.mjs FOLDER_OR_PAGE...');
  process.exit(2);
}

/// The files below `root` whose names match `pattern` (latin1 strings of the names'
/// bytes), not following symbolic links (a workspace's "images" is one).
function filesBelow(root, pattern) {
  const stat = fs.lstatSync(Buffer.from(root, 'latin1'));
  if (stat.isFile()) return pattern.test(path.basename(root)) ? [root] : [];
  if (!stat.isDirectory()) return [];
  return fs
    .readdirSync(Buffer.from(root, 'latin1'), { encoding: 'buffer' })
    .flatMap((name) => filesBelow(path.join(root, name.toString('latin1')), pattern));
}

/// The characters of windows-1252 for the bytes 0x80 to 0x9F.
const WINDOWS_1252 = '\u20ac\x81\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\x8d\u017d\x8f' +
  '\x90\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\x9d\u017e\u0178';

/// The targets of a search index, as the script's strings; null when the index does not
/// run.
function searchTargetsOf(file) {
  let index = null;
  try {
    vm.runInNewContext(fs.readFileSync(Buffer.from(file, 'latin1'), 'latin1'),
      { quillonSearchIndex: (data) => { index = data; } });
  } catch {
    return null;
  }
  if (!index) return null;
  const targets = [...index.files.map((f) => f[1]), ...index.records.map((r) => r[2]),
    ...index.members.filter((m) => m.length > 3).map((m) => m[3])];
  return targets;
}

/// The links of a uses script of the cross-references, and the page they are relative to
/// (the workspace folder's page it serves); null when the script does not run.
function usesLinksOf(file) {
  let uses = null;
  try {
    vm.runInNewContext(fs.readFileSync(Buffer.from(file, 'latin1'), 'latin1'),
      { quillonXref: (data) => { uses = data; } });
  } catch {
    return null;
  }
  if (!uses || typeof uses.page !== 'string') return null;
  const links = Object.keys(uses.targets ?? {});
  const files = uses.files ?? [];
  for (const def of Object.values(uses.defs ?? {}))
    for (const [file, lines] of def[2] ?? []) {
      if (!Array.isArray(files[file])) return null;
      for (const use of lines) links.push(`${files[file][1]}#L${typeof use === 'number' ? use : use[0]}`);
    }
  // Every definition is named by its anchor on the page itself.
  for (const anchor of Object.keys(uses.defs ?? {})) links.push(`#${anchor}`);
  for (const [, anchors] of uses.unused ?? []) for (const anchor of String(anchors).split(' ')) links.push(`#${anchor}`);
  const page = path.join(path.dirname(path.dirname(file)), Buffer.from(uses.page, 'utf8').toString('latin1'));
  return { page, links };
}

/// The scripts a page loads: each script element's src and data-uses.
function scriptLinksOf(page) {
  const text = fs.readFileSync(Buffer.from(page, 'latin1'), 'latin1');
  const links = [];
  for (const m of text.matchAll(/<script\b[^>]*>/gi))
    links.push(...attributeValues(m[0], 'src|data-uses'));
  return links;
}

/// The lines of the text index of the workspace folder `folder` as links ("page#L12"), and
/// what is wrong with its scripts.
function textIndexOf(folder) {
  const run = (name, callbacks) => {
    try {
      vm.runInNewContext(fs.readFileSync(Buffer.from(path.join(folder, 'text', name), 'latin1'), 'utf8'), callbacks);
      return true;
    } catch {
      return false;
    }
  };
  let index = null;
  if (!run('index.js', { quillonTextIndex: (data) => { index = data; } }) || !index) return { problems: ['index.js does not run'], links: [] };
  const problems = [];
  const links = [];
  for (let k = 0; k < index.blocks; k++) {
    let segments = null;
    if (!run(`l${k}.js`, { quillonTextBlock: (n, s) => { if (n === k) segments = s; } }) || !segments) {
      problems.push(`l${k}.js does not run`);
      continue;
    }
    for (const s of segments) for (let i = 2; i < s.length; i++) links.push(`${index.files[s[0]][1]}#L${s[1] + i - 2}`);
  }
  // The block lists' digits: 44 that end a number, 44 that carry on.
  const digits = [];
  for (let c = 0x23; c <= 0x7e; c++) if (!'\\<>&'.includes(String.fromCharCode(c))) digits.push(String.fromCharCode(c));
  for (let k = 0; k < index.shards; k++) {
    let grams = null;
    if (!run(`t${k}.js`, { quillonTextGrams: (n, g) => { if (n === k) grams = g; } }) || !grams) {
      problems.push(`t${k}.js does not run`);
      continue;
    }
    for (const [key, list] of Object.entries(grams)) {
      let block = -1, value = 0, scale = 1;
      for (const c of list) {
        const d = digits.indexOf(c);
        if (d >= 44) { value += (d - 44) * scale; scale *= 44; continue; }
        block += value + d * scale + 1;
        value = 0;
        scale = 1;
      }
      if (block >= index.blocks || list === '') problems.push(`t${k}.js: ${JSON.stringify(key)} names block ${block} of ${index.blocks}`);
    }
  }
  return { problems, links };
}

/// A page's text as the browser reads it (in its declared charset), without its scripts
/// (whose code is no link).
function readPage(page) {
  const bytes = fs.readFileSync(Buffer.from(page, 'latin1'));
  const head = bytes.subarray(0, 1024).toString('latin1');
  const text = /charset=["']?utf-8/i.test(head)
    ? new TextDecoder('utf-8').decode(bytes)
    : bytes.toString('latin1').replace(/[\x80-\x9f]/g, (c) => WINDOWS_1252[c.charCodeAt(0) - 0x80]);
  return text.replace(/<script\b[\s\S]*?<\/script>/gi, '');
}

/// The bytes a browser asks for, as a latin1 string: percent-escapes as their bytes,
/// other characters in UTF-8.
function linkBytes(text) {
  const parts = [];
  for (let i = 0; i < text.length; i++) {
    if (text[i] === '%' && /^[0-9a-f]{2}$/i.test(text.slice(i + 1, i + 3))) {
      parts.push(Buffer.from([parseInt(text.slice(i + 1, i + 3), 16)]));
      i += 2;
    } else {
      const c = String.fromCodePoint(text.codePointAt(i));
      parts.push(Buffer.from(c, 'utf8'));
      i += c.length - 1;
    }
  }
  return Buffer.concat(parts).toString('latin1');
}

const ENTITIES = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'", nbsp: '\xa0' };

/// An attribute value as the browser reads it.
function decodeAttribute(value) {
  return value.replace(/&(#x[0-9a-f]+|#[0-9]+|[a-z]+);/gi, (whole, ref) => {
    if (ref[0] === '#') {
      const code = ref[1] === 'x' || ref[1] === 'X' ? parseInt(ref.slice(2), 16) : parseInt(ref.slice(1), 10);
      return code < 256 ? String.fromCharCode(code) : whole;
    }
    return ENTITIES[ref.toLowerCase()] ?? whole;
  });
}

/// The tags of a page's text: "<", a letter, and up to the ">" outside quoted values
/// (source text on a page has its "<" escaped, so it holds no tag).
function tagsOf(text) {
  return text.match(/<[a-z][^"'>]*(?:(?:"[^"]*"|'[^']*')[^"'>]*)*>/gi) ?? [];
}

/// The attribute values of `names` in the tags of a page's text, as the browser reads them.
function attributeValues(text, names) {
  const values = [];
  const attribute = new RegExp(`\\s(?:${names})\\s*=\\s*(?:"([^"]*)"|'([^']*)'|([^\\s>]+))`, 'gi');
  for (const tag of tagsOf(text))
    for (let m; (m = attribute.exec(tag));) values.push(decodeAttribute(m[1] ?? m[2] ?? m[3]));
  return values;
}

/// The scripts of tree nodes, by path: the lines of each node, or null when the script does
/// not run.
const nodeScripts = new Map();
function treeNodesOf(file) {
  if (!nodeScripts.has(file)) {
    let nodes = {};
    try {
      vm.runInNewContext(fs.readFileSync(Buffer.from(file, 'latin1'), 'latin1'),
        { quillonTreeNodes: (more) => Object.assign(nodes, more) });
    } catch {
      nodes = null;
    }
    nodeScripts.set(file, nodes);
  }
  return nodeScripts.get(file);
}

/// A page's text as it shows once every node that loads on demand was opened: its own
/// text, then the lines of each such node (and of the nodes among them, in turn).
const openedPages = new Map();
let nodesLoaded = 0;
function openedPage(page) {
  if (openedPages.has(page)) return openedPages.get(page);
  let text = readPage(page);
  const pending = [text];
  while (pending.length) {
    for (const tag of tagsOf(pending.pop())) {
      const [src] = attributeValues(tag, 'data-src');
      if (src === undefined) continue;
      const id = (attributeValues(tag, 'id')[0] ?? '').replace(/Child$/, '');
      const script = path.join(path.dirname(page), linkBytes(src));
      if (!isFile(script)) {
        dead.push(`${page}: node ${id} loads ${src} (no file ${script})`);
        continue;
      }
      const nodes = treeNodesOf(script);
      if (!nodes) dead.push(`${script}: the script of tree nodes does not run`);
      else if (!Array.isArray(nodes[id])) dead.push(`${script}: no lines of node ${id}, which ${page} loads from it`);
      else {
        nodesLoaded++;
        const lines = nodes[id].join('\n');
        text += '\n' + lines;
        pending.push(lines);
      }
    }
  }
  openedPages.set(page, text);
  return text;
}

/// The local links of a page's text.
function linksOf(text) {
  const links = attributeValues(text, 'href|src');
  // url() only where it is style: in style elements and style attributes, not in the
  // source text of a page (a member such as getURL(const char* url)).
  const styles = attributeValues(text, 'style');
  for (const m of text.matchAll(/<style\b[^>]*>([\s\S]*?)<\/style>/gi)) styles.push(m[1]);
  const styleUrl = /url\(\s*(?:"([^"]*)"|'([^']*)'|([^)'"]*))\s*\)/gi;
  for (const style of styles)
    for (let m; (m = styleUrl.exec(style));) links.push(decodeAttribute(m[1] ?? m[2] ?? m[3]));
  return links;
}

/// The anchors of a page: its name and id values.
const anchorCache = new Map();
function anchorsOf(page) {
  if (!anchorCache.has(page)) {
    anchorCache.set(page, new Set(attributeValues(openedPage(page), 'name|id')));
  }
  return anchorCache.get(page);
}

function isFile(file) {
  try {
    return fs.statSync(Buffer.from(file, 'latin1')).isFile();
  } catch {
    return false;
  }
}

let pagesChecked = 0;
let linksChecked = 0;
let searchTargets = 0;
let usesLinks = 0;
let textLines = 0;
const dead = [];

/// Checks one link of the file `from` (a page, or a search index beside its pages).
function checkLink(from, raw) {
  // Browsers drop leading blanks, and read a backslash in a file's path as a slash.
  const link = raw.trim();
  if (link === '' || /^[a-z][a-z0-9+.-]*:/i.test(link)) return;
  linksChecked++;
  const hash = link.indexOf('#');
  const filePart = (hash < 0 ? link : link.slice(0, hash)).replace(/\?.*$/, '').replace(/\\/g, '/');
  // A fragment is matched as characters: its percent-escapes read as UTF-8.
  const fragment = hash < 0 ? null : Buffer.from(linkBytes(link.slice(hash + 1)), 'latin1').toString('utf8');
  const target = filePart === '' ? from : path.join(path.dirname(from), linkBytes(filePart));
  if (!isFile(target)) {
    dead.push(`${from}: ${raw} (no file ${target})`);
    return;
  }
  if (fragment && /\.html?$/i.test(target) && !anchorsOf(target).has(fragment))
    dead.push(`${from}: ${raw} (no anchor "${fragment}" in ${target})`);
}

for (const root of roots) {
  const start = Buffer.from(root).toString('latin1');
  for (const page of filesBelow(start, /\.html?$/i)) {
    pagesChecked++;
    for (const raw of linksOf(openedPage(page))) checkLink(page, raw);
    for (const raw of scriptLinksOf(page)) checkLink(page, raw);
  }
  for (const file of filesBelow(start, /^u[0-9]+\.js$/)) {
    if (path.basename(path.dirname(file)) !== 'xref') continue;
    const uses = usesLinksOf(file);
    if (!uses) dead.push(`${file}: the uses script does not run`);
    for (const raw of uses?.links ?? []) {
      usesLinks++;
      checkLink(uses.page, raw);
    }
  }
  for (const index of filesBelow(start, /^SearchIndex\.js$/)) {
    const targets = searchTargetsOf(index);
    if (!targets) dead.push(`${index}: the index does not run`);
    for (const raw of targets ?? []) {
      searchTargets++;
      checkLink(index, raw);
    }
  }
  for (const index of filesBelow(start, /^index\.js$/).filter((f) => path.basename(path.dirname(f)) === 'text')) {
    const folder = path.dirname(path.dirname(index));
    const { problems, links } = textIndexOf(folder);
    for (const problem of problems) dead.push(`${index}: ${problem}`);
    for (const raw of links) {
      textLines++;
      checkLink(path.join(folder, 'text'), raw);
    }
  }
}

for (const line of dead) console.log(`dead link: ${line}`);
console.log(`${pagesChecked} pages (${nodesLoaded} tree nodes loaded on demand), ${linksChecked} local links (${searchTargets} of them search targets, ${usesLinks} of uses scripts, ${textLines} text index lines), ${dead.length} dead`);
process.exit(dead.length === 0 && pagesChecked > 0 ? 0 : 1);
