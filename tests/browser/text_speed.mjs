// How fast the text mode of a workspace's search box answers, in headless Chromium from
// disk: for each query, the time from the typing (the input event) to the first result
// shown and to the complete results with their count. Reports; asserts nothing but that
// each search ends.
//
//   node text_speed.mjs INDEX_PAGE QUERY...     (re:QUERY for a regular expression)
//
// Environment: CHROMIUM_PATH (default /usr/bin/chromium).
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [index, ...queries] = process.argv.slice(2);
if (!index || !queries.length) {
  console.error('usage: node text_speed.mjs INDEX_PAGE QUERY...');
  process.exit(2);
}
const playwright = await import('playwright-core').catch(() => {
  console.error('playwright-core is missing: run "npm install" in tests/browser');
  process.exit(2);
});
const browser = await playwright.chromium.launch({ executablePath: process.env.CHROMIUM_PATH || '/usr/bin/chromium',
  headless: true, args: ['--no-sandbox', '--headless', '--disable-gpu', '--no-first-run'] });
let failed = 0;
try {
  const page = await (await browser.newContext()).newPage();
  await page.goto(pathToFileURL(path.resolve(index)).href, { waitUntil: 'load' });
  const tree = page.frame({ name: 'tree_frame' });
  await tree.locator('#text_text').click();
  await tree.waitForFunction(() => textSearch.indexState === 'loaded');
  const info = await tree.evaluate(() => `${textSearch.index.lines} lines in ${textSearch.index.files.length} files, ` +
    `${textSearch.index.blocks} blocks, ${textSearch.index.shards} shards`);
  console.log(`index: ${info}`);
  for (const given of queries) {
    const regex = given.startsWith('re:');
    const query = regex ? given.slice(3) : given;
    if (await tree.evaluate(() => textSearch.regex) !== regex) await tree.locator('#text_regex').click();
    const r = await tree.evaluate((q) => new Promise((resolve) => {
      const s = textSearch;
      const start = performance.now();
      let first = null;
      s.input.value = q;
      s.input.dispatchEvent(new Event('input', { bubbles: true }));
      const poll = () => {
        const now = performance.now();
        const mine = s.run && s.run.asked.query === q;
        if (first === null && mine && document.querySelector('.text_result')) first = now - start;
        if (mine && s.run.done) {
          resolve({ first, done: now - start, found: s.run.found, blocks: s.run.blocks ? s.run.blocks.length : 0 });
        } else if (now - start > 60000) {
          resolve(null);
        } else {
          setTimeout(poll, 1);
        }
      };
      poll();
    }), query);
    if (!r) {
      failed++;
      console.log(`FAIL - "${query}": no end within a minute`);
      continue;
    }
    console.log(`${regex ? 'regular expression ' : ''}"${query}": ${r.found} lines from ${r.blocks} blocks; first result ${r.first === null ? '-' : r.first.toFixed(0) + ' ms'}, ` +
      `all ${r.done.toFixed(0)} ms`);
  }
} finally {
  await browser.close();
}
process.exit(failed ? 1 : 0);
