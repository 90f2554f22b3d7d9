// The page's orbit diagram: its pictures against veridrift-series --orbit
// --output, its keys, mouse and views, and its accessibility; run by
// page_test.mjs in each browser, with that file's checks and helpers.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

// Resolves once the latest request's picture is on the canvas at width x
// height device pixels.
async function pictureShown(page, width, height) {
  await page.waitForFunction((width, height) => {
    const orbit = window.veridrift.orbit;
    const canvas = document.getElementById('orbit-plot');
    return orbit.shown && orbit.asked && orbit.shown.id === orbit.asked.id &&
      canvas.dataset.picture === String(orbit.asked.id) && canvas.width === width &&
      canvas.height === height && document.getElementById('orbit').hidden === false;
  }, { timeout: 20000 }, width, height);
}

async function orbitState(page) {
  return page.evaluate(() => {
    const orbit = window.veridrift.orbit;
    const box = orbit.shown.request;
    return { box: [box.from, box.to, box.low, box.high], history: orbit.history.length,
      cursor: orbit.cursor, columns: orbit.shown.columns, id: orbit.shown.id,
      description: document.getElementById('orbit-description').textContent,
      degree: document.getElementById('degree').value, changes: window.veridrift.changes,
      link: window.veridrift.orbit.linkPart() };
  });
}

// name, the link that opens it, the plot's CSS size and the device pixel
// ratio, and the view as the link carries it; the command line draws the
// same request over the same range at as many device pixels and that scale.
const pictureRows = [
  ['sentence 3 whole', 'sentence=3&degree=0.30&estimate=0.90&orbit=degree:0..1', [400, 300], 1,
    'degree:0.00..1.00'],
  ['sentence 7 over the estimate, zoomed', 'sentence=7&estimate=0.45&orbit=estimate:0.25..0.50',
    [500, 320], 1, 'estimate:0.25..0.50'],
  ['sentence 4 at double density', 'sentence=4&degree=0.90&estimate=0.30&orbit=degree:0.80..1',
    [300, 200], 2, 'degree:0.80..1.00'],
];

// The page's picture is the command line's, pixel for pixel.
export async function runOrbitPictures(browser, temporary, t) {
  const report = [];
  for (const [name, fragment, [width, height], dpr, view] of pictureRows) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 900, deviceScaleFactor: dpr });
    await page.goto(pathToFileURL(t.singleFile).href + '#' + fragment);
    await page.waitForFunction(() => document.getElementById('window')?.dataset.state === 'ready');
    await page.evaluate((w, h) => window.veridrift.orbit.setPlotSize(w, h), width, height);
    await pictureShown(page, width * dpr, height * dpr);
    const link = new URLSearchParams(fragment);
    const [axis, range] = link.get('orbit').split(':');
    const png = path.join(temporary, `orbit-${report.length}.png`);
    execFileSync(t.seriesCommand, ['--orbit', '--over', axis, '--range', range, '--size',
      `${width * dpr}x${height * dpr}`, '--scale', String(dpr), '--output', png,
      link.get('sentence'), link.get('degree') || '0.30', link.get('estimate')]);
    const differing = await t.differingFromPng(page, '#orbit-plot', png);
    report.push(`${name}: ${differing}`);
    t.equal(differing, 0, `orbit picture, ${name}: the command line's PNG`);
    t.equal((await orbitState(page)).link, '&orbit=' + view, `orbit picture, ${name}: its link`);
    await page.close();
  }
  console.log('orbit pictures, differing pixels: ' + report.join('; '));
}

// Keys, mouse and views as on the desktop; a newer request supersedes the
// ones under way, whose pictures never show; axe finds nothing with the
// panel open.
export async function runOrbitPanel(browser, t) {
  const page = await t.openPage(browser, pathToFileURL(t.singleFile).href +
    '#sentence=3&degree=0.30&estimate=0.90');
  await page.setViewport({ width: 1280, height: 900 });
  await page.evaluate(() => window.veridrift.orbit.setPlotSize(400, 300));
  // Through the window menu, its entry right after Run Report.
  await page.evaluate(() => {
    const root = document.getElementById('window');
    root.dispatchEvent(new MouseEvent('contextmenu', { bubbles: true, cancelable: true,
      clientX: 10, clientY: 10 }));
  });
  const entries = await page.$$eval('#menu button', (items) => items.map((i) => i.firstChild.textContent));
  t.equal(entries.slice(0, 3).join('|'), 'About Veridrift...|Run Report...|Orbit Diagram...', 'orbit: the menu entry');
  await page.evaluate(() => [...document.querySelectorAll('#menu button')][2].click());
  await pictureShown(page, 400, 300);
  let s = await orbitState(page);
  t.equal(await page.evaluate(() => document.activeElement.id), 'orbit-plot', 'orbit: the plot has the focus');
  t.equal(s.description, 'sentence 3 over the degree 0.00 to 1.00; at k = 0.30: no repeat, ' +
    'Lyapunov exponent 0.262', 'orbit: the description at the run on screen');

  // Three zooms at once: only the last one's picture is ever shown.
  const before = s.id;
  await page.evaluate(() => {
    window.shownPictures = [];
    new MutationObserver(() => window.shownPictures.push(
      document.getElementById('orbit-plot').dataset.picture))
      .observe(document.getElementById('orbit-plot'), { attributes: true, attributeFilter: ['data-picture'] });
  });
  await page.evaluate(() => {
    for (let i = 0; i < 3; i++) {
      document.getElementById('orbit-plot').dispatchEvent(new KeyboardEvent('keydown',
        { key: '+', bubbles: true, cancelable: true }));
    }
  });
  await pictureShown(page, 400, 300);
  s = await orbitState(page);
  t.equal(JSON.stringify(s.box), JSON.stringify([0.4375, 0.5625, 0.4375, 0.5625]),
    'orbit: + three times halves the box three times around its middle');
  t.equal(await page.evaluate(() => window.shownPictures.join(',')), String(before + 3),
    'orbit: superseded requests never show');
  await page.keyboard.press('Backspace');
  await pictureShown(page, 400, 300);
  t.equal(JSON.stringify((await orbitState(page)).box), JSON.stringify([0.375, 0.625, 0.375, 0.625]),
    'orbit: Backspace goes back one view');
  await page.keyboard.press('Home');
  await pictureShown(page, 400, 300);
  s = await orbitState(page);
  t.equal(JSON.stringify(s.box) + ' ' + s.history, '[0,1,0,1] 3', 'orbit: Home shows the whole square, Back-able');

  // The cursor starts at the marker's column; Shift moves it ten.
  await page.keyboard.press('ArrowRight');
  await page.keyboard.down('Shift');
  await page.keyboard.press('ArrowRight');
  await page.keyboard.up('Shift');
  s = await orbitState(page);
  const start = Math.round(0.3 * (s.columns - 1));
  t.equal(s.cursor, start + 10, 'orbit: Right, then Shift+Right');
  t.check(/^sentence 3 over the degree 0\.00 to 1\.00; at k = 0\.3\d: /.test(s.description),
    'orbit: the description follows the cursor', s.description);
  // Enter sets the degree as typed: the nearest two decimals, one refresh.
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.getElementById('degree').value !== '0.30');
  const parameter = await page.evaluate((c) => window.veridrift.orbit.shown.verdicts.parameters[c], s.cursor);
  const afterEnter = await orbitState(page);
  t.equal(afterEnter.degree, parameter.toFixed(2), 'orbit: Enter sets the degree to two decimals');
  t.equal(afterEnter.changes, s.changes + 1, 'orbit: through the field\'s own change');

  // A click sets it too; a drag zooms to its rectangle.
  const plot = await page.$('#orbit-plot');
  const box = await plot.boundingBox();
  const dots = await page.evaluate(() => window.veridrift.orbit.shown.layout.dots);
  const xAt = (t) => box.x + dots.x + t * dots.width;
  const yAt = (t) => box.y + dots.y + (1 - t) * dots.height;
  // One column a pixel: the click lands inside the column's pixel whether the
  // browser rounds the point or not.
  const column = Math.floor(0.8 * s.columns);
  const clicked = await page.evaluate((c) => window.veridrift.orbit.shown.verdicts.parameters[c]
    .toFixed(2), column);
  await page.mouse.click(Math.round(box.x) + dots.x + column + 0.3, yAt(0.5));
  await page.waitForFunction((v) => document.getElementById('degree').value === v, {}, clicked);
  t.check(true, 'orbit: a click sets the degree');
  await page.mouse.move(xAt(0.2), yAt(0.8));
  await page.mouse.down();
  await page.mouse.move(xAt(0.4), yAt(0.6), { steps: 4 });
  await page.mouse.up();
  await pictureShown(page, 400, 300);
  s = await orbitState(page);
  t.check(Math.abs(s.box[0] - 0.2) < 0.01 && Math.abs(s.box[1] - 0.4) < 0.01 &&
    Math.abs(s.box[2] - 0.6) < 0.01 && Math.abs(s.box[3] - 0.8) < 0.01,
  'orbit: a drag zooms to its rectangle', JSON.stringify(s.box));
  const pointer = await page.$eval('#orbit output', (o) => o.textContent);
  t.check(/^k = 0\.\d{4}, value 0\.\d{4}$/.test(pointer), 'orbit: the pointer\'s value', pointer);
  t.equal(s.link, '&orbit=degree:0.20..0.40', 'orbit: the link carries the view');

  // A long request shows its progress after 100 ms and gives way to the next.
  const setCount = (id, value) => page.evaluate((id, value) => {
    const input = document.getElementById(id);
    input.value = value;
    input.dispatchEvent(new Event('change'));
  }, id, value);
  await setCount('orbit-transient', '400000');
  const long = await page.evaluate(() => window.veridrift.orbit.asked.id);
  await page.waitForFunction(() => !document.querySelector('#orbit progress').hidden &&
    document.querySelector('#orbit progress').value > 0, { polling: 10 });
  await setCount('orbit-transient', '500');
  await pictureShown(page, 400, 300);
  t.equal(await page.evaluate((long) => document.querySelector('#orbit progress').hidden &&
    !window.shownPictures.includes(String(long)), long), true,
  'orbit: a long request shows its progress, and the next one supersedes it unseen');

  await t.runAxe(page);
  await page.keyboard.press('Escape');
  t.equal(await page.evaluate(() => document.getElementById('orbit').hidden + ' ' +
    window.veridrift.orbit.linkPart()), 'true ', 'orbit: Escape closes it, and the link leaves it out');
  t.equal(page.errors.join('; '), '', 'orbit: no script errors');
  await page.close();

  // A view the page cannot show is named in the link's one line.
  const bad = await t.openPage(browser, pathToFileURL(t.singleFile).href +
    '#sentence=8&orbit=degree:0.1..0.3&step=2');
  t.equal(await bad.evaluate(() => document.getElementById('orbit').hidden + ' ' +
    document.getElementById('notice-text').textContent),
  'true Ignored in the link: orbit "degree:0.10..0.30" (sentence 8 has no degree).',
  'orbit: a link\'s view the page cannot show');
  await bad.close();
}

// name, the link that opens it and the plot's CSS size; the file names.
const saveRows = [
  ['whole view', 'sentence=3&degree=0.30&estimate=0.90&orbit=degree:0..1', [400, 300],
    'veridrift-orbit-3-degree-0.00-1.00'],
  ['zoomed view', 'sentence=7&estimate=0.45&orbit=estimate:0.25..0.50', [500, 320],
    'veridrift-orbit-7-estimate-0.25-0.50'],
];

// Save PNG and Save CSV download the command line's bytes for the same
// request; a save while a picture is being computed downloads nothing.
export async function runOrbitSaves(browser, temporary, t) {
  for (const [name, fragment, [width, height], file] of saveRows) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 900, deviceScaleFactor: 1 });
    await page.goto(pathToFileURL(t.singleFile).href + '#' + fragment);
    await page.waitForFunction(() => document.getElementById('window')?.dataset.state === 'ready');
    await page.evaluate((w, h) => {
      window.veridrift.orbit.setPlotSize(w, h);
      window.downloads = [];
      window.veridrift.save = (fileName, bytes, mime) => {
        // The CSV (megabytes) as text: quicker out of the page than numbers.
        window.downloads.push({ fileName, mime,
          bytes: mime === 'image/png' ? Array.from(bytes) : new TextDecoder().decode(bytes) });
        return { saved: true, why: '' };
      };
    }, width, height);
    await pictureShown(page, width, height);
    const columns = await page.evaluate(() => window.veridrift.orbit.shown.columns);
    for (const [kind, label] of [['png', 'Save PNG'], ['csv', 'Save CSV']]) {
      await page.evaluate((label) => [...document.querySelectorAll('#orbit button')]
        .find((b) => b.textContent === label).click(), label);
      await page.waitForFunction((n) => window.downloads.length === n, {}, kind === 'png' ? 1 : 2);
    }
    const downloads = await page.evaluate(() => window.downloads);
    const link = new URLSearchParams(fragment);
    const [axis, range] = link.get('orbit').split(':');
    const run = [link.get('sentence'), link.get('degree') || '0.30', link.get('estimate')];
    const png = path.join(temporary, 'orbit-save.png');
    execFileSync(t.seriesCommand, ['--orbit', '--over', axis, '--range', range, '--size',
      `${width}x${height}`, '--scale', '1', '--output', png, ...run]);
    const csv = execFileSync(t.seriesCommand, ['--orbit', '--over', axis, '--range', range,
      '--columns', String(columns), '--csv', ...run], { maxBuffer: 1 << 30 });
    t.equal(downloads.map((d) => d.fileName + ' ' + d.mime).join(', '),
      `${file}.png image/png, ${file}.csv text/csv`, `orbit save, ${name}: the files' names`);
    t.equal(Buffer.from(downloads[0].bytes).equals(fs.readFileSync(png)), true,
      `orbit save, ${name}: the PNG is the command line's, byte for byte`);
    t.equal(Buffer.from(downloads[1].bytes, 'utf8').equals(csv), true,
      `orbit save, ${name}: the CSV is the command line's --columns ${columns}, byte for byte`);
    if (name === 'whole view') {
      // A long request under way: the click saves nothing and says so.
      await page.evaluate(() => {
        const input = document.getElementById('orbit-transient');
        input.value = '400000';
        input.dispatchEvent(new Event('change'));
        [...document.querySelectorAll('#orbit button')]
          .find((b) => b.textContent === 'Save PNG').click();
      });
      t.equal(await page.evaluate(() => window.downloads.length + ' ' +
        document.querySelector('#orbit output').textContent),
      '2 Nothing saved: the picture is still being computed.',
      'orbit save: while a picture is being computed');
    }
    await page.close();
  }
}
