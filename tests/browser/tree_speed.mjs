// How long a tree page of a given number of lines takes to open in headless Chromium from
// disk: for each size, generates a folder of headers whose class tree has about that many
// lines (classes of eight members, 13 lines each), converts it with the trees in the form
// given, and opens ClassTree.htm alone five times: prints the median time from the start
// of the navigation to the page parsed (DOMContentLoaded), to the load event (the
// pictures and the search index loaded too) and to the first paint. The times grow with
// whatever else the machine runs. Reports; asserts nothing.
//
//   node tree_speed.mjs path/to/quillon DIR [FORM [LINES...]]
//
// FORM is what --trees gets (full, lazy, auto; default full); LINES the sizes (default
// 5000 10000 20000 40000 80000 160000). Environment: CHROMIUM_PATH (default
// /usr/bin/chromium).
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { pathToFileURL } from 'node:url';

const [quillon, dirArg, form = 'full', ...sizes] = process.argv.slice(2);
if (!quillon || !dirArg) {
  console.error('usage: node tree_speed.mjs path/to/quillon DIR [FORM [LINES...]]');
  process.exit(2);
}
const lineCounts = sizes.length ? sizes.map(Number) : [5000, 10000, 20000, 40000, 80000, 160000];
const playwright = await import('playwright-core').catch(() => {
  console.error('playwright-core is missing: run "npm install" in tests/browser');
  process.exit(2);
});

/// A folder of headers whose class tree has about `lines` lines.
function generate(folder, lines) {
  fs.rmSync(folder, { recursive: true, force: true });
  fs.mkdirSync(folder, { recursive: true });
  const classes = Math.max(1, Math.round(lines / 13));
  for (let file = 0; file * 200 < classes; file++) {
    let text = '';
    for (let c = file * 200; c < Math.min(classes, (file + 1) * 200); c++) {
      text += `class Widget${c} {\npublic:\n`;
      for (let m = 0; m < 6; m++) text += `\tint method${m}OfWidget${c}(int value);\n`;
      text += `private:\n\tint count${c};\n\tint total${c};\n};\n\n`;
    }
    fs.writeFileSync(path.join(folder, `unit${file}.h`), text);
  }
}

const browser = await playwright.chromium.launch({ executablePath: process.env.CHROMIUM_PATH || '/usr/bin/chromium',
  headless: true, args: ['--no-sandbox', '--headless', '--disable-gpu', '--no-first-run'] });
try {
  const dir = path.resolve(dirArg);
  for (const lines of lineCounts) {
    const src = path.join(dir, 'src');
    generate(src, lines);
    const out = path.join(dir, 'out');
    fs.rmSync(out, { recursive: true, force: true });
    execFileSync(quillon, ['--trees', form, '-o', out, src], { stdio: 'ignore' });
    const tree = path.join(out, 'src_HTML', 'ClassTree.htm');
    const written = fs.readFileSync(tree, 'latin1').split('\n').length;
    const times = [];
    for (let round = 0; round < 5; round++) {
      const page = await (await browser.newContext()).newPage();
      await page.goto(pathToFileURL(tree).href, { waitUntil: 'load' });
      const time = await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => {
        const nav = performance.getEntriesByType('navigation')[0];
        const paint = performance.getEntriesByName('first-paint')[0];
        resolve({ parsed: nav.domContentLoadedEventEnd, load: nav.loadEventEnd, paint: paint ? paint.startTime : NaN });
      })));
      times.push(time);
      await page.context().close();
    }
    const median = (key) => times.map((t) => t[key]).sort((a, b) => a - b)[2].toFixed(0);
    const bytes = fs.statSync(tree).size;
    console.log(`${lines} tree lines (${form}; page of ${written} lines, ${(bytes / 1e6).toFixed(1)} MB): ` +
      `parsed ${median('parsed')} ms, load ${median('load')} ms, first paint ${median('paint')} ms`);
  }
} finally {
  await browser.close();
}
