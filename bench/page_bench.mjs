// The page's figures in the system's headless Chromium: the single file's
// size, navigation to both diagrams painted, keystroke to new pictures,
// going to a step, Save Diagrams' GIF and PNG, the pacing of a run, and the
// orbit diagram: on screen after its menu entry, a zoom, and the run's pacing
// while it computes. Prints figures; judges nothing.
//
// usage: node bench/page_bench.mjs [PAGE_DIR]   (scripts/bench.sh page)
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import zlib from 'node:zlib';

// With the tests' pinned puppeteer-core (npm ci in tests/web).
import { launchChromium } from '../tests/web/browsers.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '..');
const pageDir = path.resolve(process.argv[2] || path.join(root, 'build/web'));
const fileUrl = pathToFileURL(path.join(pageDir, 'veridrift.html')).href;

function percentile(values, p) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.ceil((p / 100) * sorted.length) - 1)];
}
const ms = (value) => value.toFixed(1) + ' ms';

async function ready(page) {
  await page.waitForFunction(() => document.getElementById('window')?.dataset.state === 'ready');
}

async function main() {
  const html = fs.readFileSync(path.join(pageDir, 'veridrift.html'));
  const gzip = zlib.gzipSync(html, { level: 9 });
  console.log(`single file: ${(html.length / 1024).toFixed(1)} KB, gzipped ${(gzip.length / 1024).toFixed(1)} KB (at most 450 / 170)`);

  const chromium = await launchChromium('bench');
  const { browser } = chromium;
  try {
    const page = await browser.newPage();
    // The first page after launch pays for the browser's own start.
    await page.goto(fileUrl);
    await ready(page);
    const painted = [];
    for (let i = 0; i < 5; i++) {
      await page.reload();
      await ready(page);
      painted.push(await page.evaluate(() => performance.getEntriesByName('diagrams-painted')[0].startTime));
    }
    console.log(`navigation to diagrams-painted: median ${ms(percentile(painted, 50))} of 5 (${painted.map(ms).join(', ')}; at most 250 ms)`);

    // Keystroke to new pictures: from the key event to the pictures and log
    // head drawn (after the field's handler, which refreshes and paints),
    // and to the next animation frame, which puts them on the screen.
    await page.evaluate(() => {
      window.benchDrawn = [];
      window.benchFrame = [];
      window.addEventListener('keydown', (event) => {
        const at = event.timeStamp;
        window.benchDrawn.push(performance.now() - at);
        requestAnimationFrame(() => window.benchFrame.push(performance.now() - at));
      });
    });
    await page.focus('#estimate');
    for (let i = 0; i < 200; i++) {
      await page.evaluate(() => document.getElementById('estimate').select());
      await page.keyboard.press(i % 2 ? '7' : '3');
      await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));
    }
    const drawn = await page.evaluate(() => window.benchDrawn);
    const frame = await page.evaluate(() => window.benchFrame);
    console.log(`keystroke to new pictures drawn: p50 ${ms(percentile(drawn, 50))}, p99 ${ms(percentile(drawn, 99))} of ${drawn.length} (p99 at most 16 ms)`);
    console.log(`keystroke to the next frame: p50 ${ms(percentile(frame, 50))}, p99 ${ms(percentile(frame, 99))}`);

    // Going to a step as Go to Step does, with the log on: the step's both
    // pictures, descriptions and log drawn, and the next frame.
    const going = await page.evaluate(async () => {
      document.getElementById('show-output').checked = true;
      const drawn = [];
      const frame = [];
      for (let i = 0; i < 300; i++) {
        const step = (1000 - ((i * 337) % 1001) + 1001) % 1001;
        const start = performance.now();
        window.veridrift.showStep(step);
        drawn.push(performance.now() - start);
        await new Promise((resolve) => requestAnimationFrame(() => resolve()));
        frame.push(performance.now() - start);
      }
      return { drawn, frame };
    });
    console.log(`going to a step, drawn: p50 ${ms(percentile(going.drawn, 50))}, p99 ${ms(percentile(going.drawn, 99))} of ${going.drawn.length} (p99 at most 16 ms); to the next frame p99 ${ms(percentile(going.frame, 99))}`);

    // Save Diagrams: an animated GIF of the run's first 100 steps (one frame
    // a step, as the dialog makes it, without its pauses between slices),
    // the whole run's 1001 frames, and one PNG of both diagrams.
    const saving = await page.evaluate(() => {
      const core = window.veridrift.core;
      const gif = (mode, last) => {
        const start = performance.now();
        core.gifBegin(mode, false);
        core.gifAdd(0, last);
        const bytes = core.gifFinish().bytes.length;
        return [performance.now() - start, bytes];
      };
      const rows = {};
      for (const [name, mode, last] of [['web', 1, 99], ['both', 2, 99], ['both, whole run', 2, 1000]]) {
        const times = [];
        let bytes = 0;
        for (let i = 0; i < (last > 100 ? 3 : 7); i++) {
          const [took, size] = gif(mode, last);
          times.push(took);
          bytes = size;
        }
        rows[name] = { times, bytes };
      }
      const png = [];
      for (let i = 0; i < 20; i++) {
        const start = performance.now();
        core.diagramPng(2, 1000, false);
        png.push(performance.now() - start);
      }
      return { rows, png };
    });
    for (const [name, { times, bytes }] of Object.entries(saving.rows)) {
      const frames = name.includes('whole') ? 1001 : 100;
      console.log(`GIF of ${frames} frames (${name}): median ${ms(percentile(times, 50))} of ${times.length}, ${(bytes / 1024).toFixed(1)} KB` +
        (frames === 100 ? ' (at most 400 ms)' : ''));
    }
    console.log(`PNG of both diagrams at step 1000: median ${ms(percentile(saving.png, 50))} of ${saving.png.length}`);

    // Pacing: 100 steps in real time.
    await page.evaluate(() => {
      window.benchSteps = [];
      const web = document.getElementById('web-step');
      const series = document.getElementById('series-step');
      new MutationObserver(() => {
        window.benchSteps.push([performance.now(), window.veridrift.step, web.textContent === series.textContent]);
      }).observe(web, { childList: true, characterData: true, subtree: true });
    });
    await page.keyboard.press('r');
    await page.keyboard.press('g');
    await page.waitForFunction(() => window.veridrift.step >= 102, { timeout: 120000, polling: 200 });
    await page.keyboard.press('g');
    const steps = (await page.evaluate(() => window.benchSteps)).filter((s) => s[1] >= 2).slice(0, 101);
    const gaps = steps.slice(1).map((s, i) => s[0] - steps[i][0]);
    const mean = gaps.reduce((a, b) => a + b, 0) / gaps.length;
    const worst = Math.max(...gaps.map((g) => Math.abs(g - 500)));
    const apart = steps.filter((s) => !s[2]).length;
    console.log(`pacing: ${gaps.length} steps, mean ${ms(mean)}, worst ${ms(worst)} off 500 ms; views apart at ${apart} steps (500 +- 2 ms mean, at most 1 step apart)`);
    await page.close();
    await benchOrbit(browser);
  } finally {
    await chromium.close();
  }
}

// The orbit diagram of 1000 columns x 500 kept values (a plot of 1080 CSS
// pixels: 1000 of dots between the margins), from the menu entry's click to
// the picture on the canvas, on a page whose worker has started; then zooms
// by key, each waited for; then the run's pacing over ten zooms.
async function benchOrbit(browser) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  await page.goto(fileUrl);
  const opened = [];
  for (let i = 0; i < 6; i++) {
    await page.reload();
    await ready(page);
    await page.waitForFunction(() => window.veridrift.orbit.workerReady, { polling: 10 });
    opened.push(await page.evaluate(async () => {
      const orbit = window.veridrift.orbit;
      orbit.plotSize = { width: 1080, height: 600 };
      const root = document.getElementById('window');
      root.dispatchEvent(new MouseEvent('contextmenu', { bubbles: true, cancelable: true }));
      const entry = [...document.querySelectorAll('#menu button')][2];
      const start = performance.now();
      entry.click();
      while (!orbit.shown) {
        await new Promise((resolve) => setTimeout(resolve, 0));
      }
      return [orbit.timing.shown - start, orbit.shown.columns];
    }));
  }
  const first = opened.slice(1).map((o) => o[0]);
  console.log(`orbit diagram (${opened[0][1]} columns x 500) on screen after the menu entry: median ${ms(percentile(first, 50))}, worst ${ms(Math.max(...first))} of ${first.length} (${first.map(ms).join(', ')}; at most 60 ms)`);

  const zooms = await page.evaluate(async () => {
    const orbit = window.veridrift.orbit;
    const plot = document.getElementById('orbit-plot');
    const took = [];
    for (let i = 0; i < 100; i++) {
      const before = orbit.timing.shown;
      const start = performance.now();
      plot.dispatchEvent(new KeyboardEvent('keydown', { key: i % 8 < 4 ? '+' : '-', bubbles: true }));
      while (orbit.timing.shown === before) {
        await new Promise((resolve) => setTimeout(resolve, 0));
      }
      took.push(orbit.timing.shown - start);
    }
    return took;
  });
  console.log(`orbit zoom to picture on screen: p50 ${ms(percentile(zooms, 50))}, p99 ${ms(percentile(zooms, 99))} of ${zooms.length} (p99 at most 60 ms)`);

  // Pacing while the orbit computes: ten zooms, one every 600 ms, as the
  // run animates.
  const gaps = await page.evaluate(async () => {
    const steps = [];
    const web = document.getElementById('web-step');
    new MutationObserver(() => steps.push(performance.now()))
      .observe(web, { childList: true, characterData: true, subtree: true });
    const plot = document.getElementById('orbit-plot');
    document.getElementById('graph').click();
    for (let i = 0; i < 10; i++) {
      await new Promise((resolve) => setTimeout(resolve, 600));
      plot.dispatchEvent(new KeyboardEvent('keydown', { key: i % 2 ? '-' : '+', bubbles: true }));
    }
    await new Promise((resolve) => setTimeout(resolve, 600));
    document.getElementById('graph').click();
    return steps.slice(2).map((t, i) => t - steps[i + 1]);
  });
  const mean = gaps.reduce((a, b) => a + b, 0) / gaps.length;
  const worst = Math.max(...gaps.map((g) => Math.abs(g - 500)));
  console.log(`pacing during ten orbit zooms: ${gaps.length} steps, mean ${ms(mean)}, worst ${ms(worst)} off 500 ms (500 +- 2 ms)`);
  await page.close();
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
