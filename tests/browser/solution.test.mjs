// Opens a solution page from disk in headless Chromium, as a reader would: every project
// row that links leads to a workspace index page that shows its four frames and whose
// source tree opens a page with text for every file (pictures aside), the rows
// named in MISSING (comma-separated project names) are listed without a link, and every
// picture loads.
//
//   MISSING=Installer,Legacy node solution.test.mjs PATH/TO/NAME_Solution.htm
//
// Prints one line per check and ends with "N passed, N failed"; exits 1 when a check fails.
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const target = process.argv[2];
if (!target || !fs.existsSync(target)) {
  console.error('usage: node solution.test.mjs NAME_Solution.htm');
  process.exit(2);
}
const missing = (process.env.MISSING || '').split(',').filter(Boolean);
let passed = 0;
let failed = 0;
async function check(title, body) {
  try {
    const note = await body();
    passed++;
    console.log(`ok - ${title}${note ? ` (${note})` : ''}`);
  } catch (err) {
    failed++;
    console.log(`FAIL - ${title}: ${err.message}`);
  }
}

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM_PATH || '/usr/bin/chromium',
  args: ['--no-sandbox', '--headless', '--disable-gpu', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage();
  await page.goto(pathToFileURL(path.resolve(target)).href, { waitUntil: 'load' });
  const rows = await page.evaluate(() => Array.from(document.querySelectorAll('.project'), (row) => ({
    name: row.querySelector('.tree_pitem').textContent,
    href: row.querySelector('a') ? row.querySelector('a').href : null,
    facts: row.querySelector('.facts').textContent,
  })));

  await check('the page declares its charset and shows one row a project', async () => {
    const charset = await page.evaluate(() => document.characterSet);
    if (!rows.length) throw new Error('no project rows');
    return `${charset}; ${rows.map((r) => `${r.name}: ${r.facts}`).join('; ')}`;
  });
  await check('every picture loads', async () => {
    const broken = await page.evaluate(() => Array.from(document.images)
      .filter((img) => img.naturalWidth === 0).map((img) => img.getAttribute('src')));
    if (broken.length) throw new Error(broken.join(', '));
  });
  for (const row of rows.filter((r) => r.href)) {
    await check(`${row.name} opens its workspace`, async () => {
      const workspace = await browser.newPage();
      await workspace.goto(row.href, { waitUntil: 'load' });
      const frames = await workspace.evaluate(() => Array.from(document.querySelectorAll('frame'), (f) => f.name));
      const tree = workspace.frame('tree_frame');
      const items = tree ? await tree.$$eval('a.tree_citem', (links) => links.map((a) => a.href)) : [];
      await workspace.close();
      if (frames.length !== 4) throw new Error(`${row.href} shows ${frames.length} frames`);
      // Every file of its source tree opens a page that shows the file's text.
      const empty = [];
      for (const item of items.filter((href) => !href.includes('/Images/'))) {
        const file = await browser.newPage();
        await file.goto(item, { waitUntil: 'load' });
        const text = await file.evaluate(() => document.body ? document.body.innerText.trim() : '');
        await file.close();
        if (!text) empty.push(decodeURIComponent(item.split('/').pop()));
      }
      if (empty.length) throw new Error(`no text in ${empty.join(', ')}`);
      return `${decodeURIComponent(row.href.split("/").pop())}, ${items.length} file${items.length === 1 ? "" : "s"}`;
    });
  }
  for (const name of missing) {
    await check(`${name} is listed without a link`, async () => {
      const row = rows.find((r) => r.name === name);
      if (!row) throw new Error('not listed');
      if (row.href) throw new Error(`links to ${row.href}`);
      return row.facts;
    });
  }
} finally {
  await browser.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
