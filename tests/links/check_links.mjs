// Checks every local link of generated pages without a browser: each href and src (and
// each url() of a style) of every .htm page below the given folders must name a file
// that exists, and a link with a fragment must name an anchor (name or id) that the page
// it leads to has. Links with a scheme (http:, javascript:, ...) are not followed.
//
//   node check_links.mjs FOLDER_OR_PAGE...
//
// Prints each dead link and a summary; exits 1 when there is one, 2 on bad usage.
// Files are read as bytes (latin1), so names in any charset are compared as the file
// system stores them.
import fs from 'node:fs';
import path from 'node:path';

const roots = process.argv.slice(2);
if (roots.length === 0) {
  console.error('usage: node check_links.mjs FOLDER_OR_PAGE...');
  process.exit(2);
}

/// The .htm pages below `root` (latin1 strings of the names' bytes), not following
/// symbolic links (a workspace's "images" is one).
function pagesBelow(root) {
  const stat = fs.lstatSync(Buffer.from(root, 'latin1'));
  if (stat.isFile()) return /\.html?$/i.test(root) ? [root] : [];
  if (!stat.isDirectory()) return [];
  return fs
    .readdirSync(Buffer.from(root, 'latin1'), { encoding: 'buffer' })
    .flatMap((name) => pagesBelow(path.join(root, name.toString('latin1'))));
}

/// A page's text as bytes, without its scripts (whose code is no link).
function readPage(page) {
  return fs.readFileSync(Buffer.from(page, 'latin1'), 'latin1').replace(/<script\b[\s\S]*?<\/script>/gi, '');
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

/// Percent-escapes as the bytes they stand for, in a latin1 string.
function percentDecoded(text) {
  return text.replace(/%([0-9a-f]{2})/gi, (_, hex) => String.fromCharCode(parseInt(hex, 16)));
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

/// The local links of a page's text.
function linksOf(text) {
  const links = attributeValues(text, 'href|src');
  const styleUrl = /url\(\s*(?:"([^"]*)"|'([^']*)'|([^)'"]*))\s*\)/gi;
  for (let m; (m = styleUrl.exec(text));) links.push(decodeAttribute(m[1] ?? m[2] ?? m[3]));
  return links;
}

/// The anchors of a page: its name and id values.
const anchorCache = new Map();
function anchorsOf(page) {
  if (!anchorCache.has(page)) {
    anchorCache.set(page, new Set(attributeValues(readPage(page), 'name|id')));
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
const dead = [];
for (const root of roots) {
  for (const page of pagesBelow(Buffer.from(root).toString('latin1'))) {
    pagesChecked++;
    const text = readPage(page);
    for (const raw of linksOf(text)) {
      // Browsers drop leading blanks, and read a backslash in a file's path as a slash.
      const link = raw.trim();
      if (link === '' || /^[a-z][a-z0-9+.-]*:/i.test(link)) continue;
      linksChecked++;
      const hash = link.indexOf('#');
      const filePart = (hash < 0 ? link : link.slice(0, hash)).replace(/\?.*$/, '').replace(/\\/g, '/');
      const fragment = hash < 0 ? null : percentDecoded(link.slice(hash + 1));
      const target = filePart === '' ? page : path.join(path.dirname(page), percentDecoded(filePart));
      if (!isFile(target)) {
        dead.push(`${page}: ${raw} (no file ${target})`);
        continue;
      }
      if (fragment && /\.html?$/i.test(target) && !anchorsOf(target).has(fragment))
        dead.push(`${page}: ${raw} (no anchor "${fragment}" in ${target})`);
    }
  }
}

for (const line of dead) console.log(`dead link: ${Buffer.from(line, 'latin1').toString()}`);
console.log(`${pagesChecked} pages, ${linksChecked} local links, ${dead.length} dead`);
process.exit(dead.length === 0 && pagesChecked > 0 ? 0 : 1);
