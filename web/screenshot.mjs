// Photographs the page for the README (docs/page.png): sentence 3 with the
// log on, 33 steps into a run, in the system's headless Chromium.
//
// usage: node web/screenshot.mjs [PAGE_DIR] [OUTPUT]   (after scripts/web.sh and
// npm ci in tests/web)
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

// With the tests' pinned puppeteer-core (npm ci in tests/web).
import { launchChromium } from '../tests/web/browsers.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const pageDir = path.resolve(process.argv[2] || path.join(root, 'build/web'));
const output = path.resolve(process.argv[3] || path.join(root, 'docs/page.png'));

const chromium = await launchChromium('shot', { defaultViewport: { width: 680, height: 560 } });
const { browser } = chromium;
try {
  const page = await browser.newPage();
  await page.goto(pathToFileURL(path.join(pageDir, 'veridrift.html')).href);
  await page.waitForFunction(() => document.getElementById('window')?.dataset.state === 'ready');
  await page.select('#picker', '3');
  await page.click('#show-output');
  // 33 steps in: the first at the press, then one every 500 ms.
  await page.evaluate(() => {
    const v = window.veridrift;
    v.testTime = 0;
    v.now = () => v.testTime;
  });
  await page.keyboard.press('g');
  await page.evaluate(() => {
    window.veridrift.testTime += 500 * 32 + 1;
    window.veridrift.tick();
  });
  await page.keyboard.press('g');
  await page.evaluate(() => document.activeElement.blur());
  const box = await (await page.$('#window')).boundingBox();
  await page.screenshot({ path: output, clip: { x: 0, y: 0, width: box.x * 2 + box.width,
    height: box.y * 2 + box.height } });
  console.log(`wrote ${output}`);
} finally {
  await chromium.close();
}
