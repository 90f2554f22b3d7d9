// The page in the system's headless Chromium and Firefox: the value field's keystroke
// table through real key events, the page's numbers and texts against
// veridrift-series, the keys, the log, the shared start, the single file
// with no network, accessibility, the pictures and stepping by hand.
//
// usage: node page_test.mjs PAGE_DIR SERIES_COMMAND CASES_COMMAND
//   PAGE_DIR holds veridrift.html and site/ (scripts/web.sh builds them);
//   SERIES_COMMAND is veridrift-series, CASES_COMMAND keystroke_cases_json
//   (the desktop tests' keystroke table), both from the native build.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { launchChromium, launchFirefox } from './browsers.mjs';
import { runOrbitPanel, runOrbitPictures, runOrbitSaves } from './orbit_test.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
const pageDir = path.resolve(process.argv[2] || path.join(root, 'build/web'));
const seriesCommand = path.resolve(process.argv[3] || path.join(root, 'build/test/bin/veridrift-series'));
const casesCommand = path.resolve(process.argv[4] || path.join(root, 'build/test/tests/core/keystroke_cases_json'));
const singleFile = path.join(pageDir, 'veridrift.html');

let failures = 0;
let checks = 0;
function check(ok, what, detail) {
  checks++;
  if (!ok) {
    failures++;
    console.log(`FAIL ${what}${detail === undefined ? '' : ': ' + detail}`);
  }
}
function equal(actual, expected, what) {
  check(actual === expected, what, `got ${JSON.stringify(actual)}, expected ${JSON.stringify(expected)}`);
}

// ---- the keystroke table: the desktop tests' own cases, as JSON ----

function keystrokeCases() {
  const json = JSON.parse(execFileSync(casesCommand, { encoding: 'utf8' }));
  const cases = [...json.rows, ...json.worked].map((c) => ({ ...c, event: 'character' }));
  if (json.rows.length === 0 || json.worked.length === 0 || json.events.length === 0) {
    throw new Error('keystroke_cases_json printed an empty table');
  }
  return [...cases, ...json.events];
}

async function typeKey(page, code) {
  const named = { 8: 'Backspace', 0x1b: 'Escape' };
  if (named[code]) {
    await page.keyboard.press(named[code]);
  } else if (code < 0x20) {
    await page.keyboard.down('Control');
    await page.keyboard.press(String.fromCharCode(code + 96));
    await page.keyboard.up('Control');
  } else {
    await page.keyboard.press(String.fromCharCode(code));
  }
}

// One event as the user makes it: a key, a paste, or the focus moving on.
async function makeEvent(page, field, c) {
  switch (c.event) {
    case 'character':
      return typeKey(page, c.character);
    case 'delete':
      return page.keyboard.press('Delete');
    case 'enter':
      return page.keyboard.press('Enter');
    case 'leave':
      return page.focus('#graph');
    case 'paste':
      // A paste as the clipboard hands it to the field. Firefox's event
      // takes its text from `dataType` and `data`, Chromium's from
      // `clipboardData`; each passes over the other's.
      return page.evaluate((name, text) => {
        const data = new DataTransfer();
        data.setData('text/plain', text);
        document.getElementById(name).dispatchEvent(new ClipboardEvent('paste',
          { clipboardData: data, dataType: 'text/plain', data: text, bubbles: true, cancelable: true }));
      }, field, c.pasted);
    default:
      throw new Error(`unknown event ${c.event}`);
  }
}

async function runKeystrokeCases(page) {
  const cases = keystrokeCases();
  for (const field of ['degree', 'estimate']) {
    for (const c of cases) {
      await page.focus('#' + field);
      const before = await page.evaluate((name, c) => {
        const v = window.veridrift;
        const input = document.getElementById(name);
        input.value = c.before;
        input.setSelectionRange(c.start, c.end);
        v.fields[name].limit = c.limitSet === false ? v.core.initialInputLimit() : v.core.inputLimit();
        return v.changes;
      }, field, c);
      await makeEvent(page, field, c);
      const after = await page.evaluate((name) => {
        const input = document.getElementById(name);
        return { text: input.value, start: input.selectionStart, end: input.selectionEnd,
          changes: window.veridrift.changes, consumed: window.veridrift.lastField.consumed };
      }, field);
      const what = `${field}: ${c.name}`;
      equal(after.text, c.after, what + ' (text)');
      const [start, end] = c.caret < 0 ? [c.start, c.end] : [c.caret, c.caret];
      if (c.event !== 'leave') {
        check(after.start === start && after.end === end, what + ' (selection)',
          `got ${after.start}..${after.end}, expected ${start}..${end}`);
      }
      if (c.consumed !== undefined) {
        equal(after.consumed, c.consumed, what + ' (consumed)');
      }
      equal(after.changes - before, c.notifications, what + ' (changes told)');
    }
  }
  console.log(`keystroke cases: ${cases.length} x 2 fields`);
}

// ---- the page's numbers and texts against veridrift-series ----

async function setField(page, name, text) {
  // Through the keyboard as a user would: select all, then type. "." over
  // the whole text starts over with "0.", "1" gives "1.00".
  await page.focus('#' + name);
  await page.evaluate((n) => document.getElementById(n).select(), name);
  if (text === '1.00') {
    await page.keyboard.press('1');
  } else {
    await page.keyboard.type('.' + text.slice(2));
  }
  await page.keyboard.press('Tab');
}

const runs = [
  ['0', '0.30', '0.90'],
  ['3', '0.30', '0.90'],
  ['5', '1.00', '0.00'],
  ['7', '0.50', '0.20'],
  ['9', '0.00', '1.00'],
];

async function runSeriesComparison(page) {
  for (const [sentence, degree, estimate] of runs) {
    const what = `run ${sentence} ${degree} ${estimate}`;
    // The degree first: sentences 6 to 9 grey its field out.
    await page.select('#picker', '0');
    await setField(page, 'degree', degree);
    await setField(page, 'estimate', estimate);
    await page.select('#picker', sentence);
    const listing = execFileSync(seriesCommand, [sentence, degree, estimate], { encoding: 'utf8' });
    const report = execFileSync(seriesCommand, ['--report', sentence, degree, estimate], { encoding: 'utf8' });
    const shown = await page.evaluate(() => {
      const core = window.veridrift.core;
      const picker = document.getElementById('picker');
      return {
        fields: [document.getElementById('degree').value, document.getElementById('estimate').value],
        series: core.seriesListing(),
        caption: picker.options[picker.selectedIndex].textContent,
        formula: core.formula(),
        log: document.getElementById('log').textContent,
        reportLines: core.reportLines(),
        truthWord: document.getElementById('truth-word').textContent,
        degreeGreyed: document.getElementById('degree').disabled,
      };
    });
    equal(shown.truthWord, ['1', '4', '5'].includes(sentence) ? 'false' : 'true', what + ' (truth word)');
    equal(shown.degreeGreyed, +sentence >= 6, what + ' (degree greyed for 6 to 9)');
    equal(shown.fields.join(' '), `${degree} ${estimate}`, what + ' (fields)');
    const values = listing.split('\n').filter((l) => l && !l.startsWith('#')).join('\n') + '\n';
    equal(shown.series, values, what + ' (series)');
    const comments = listing.split('\n').filter((l) => l.startsWith('# ')).map((l) => l.slice(2));
    check(comments.includes(shown.caption), what + ' (caption)', `${shown.caption} not in ${comments}`);
    for (const line of shown.formula.split('\n')) {
      check(comments.some((c) => c.includes(line.trim())), what + ' (formula line)', line);
      check(shown.log.includes(line), what + ' (log head)', line);
    }
    equal(shown.reportLines, report, what + ' (run report)');
  }
}

// ---- keys, the log and the run ----

async function state(page) {
  return page.evaluate(() => ({
    step: window.veridrift.step,
    paused: window.veridrift.paused,
    graph: document.getElementById('graph').textContent,
    log: document.getElementById('log').textContent,
    description: document.getElementById('web-step').textContent,
  }));
}

// The page's clock stands still until advance() moves it.
async function stopClock(page) {
  await page.evaluate(() => {
    const v = window.veridrift;
    v.testTime = 0;
    v.now = () => v.testTime;
  });
}

// Stands the run `ms` later without waiting.
async function advance(page, ms) {
  await page.evaluate((ms) => {
    window.veridrift.testTime += ms;
    window.veridrift.tick();
  }, ms);
}

async function runKeysAndLog(page) {
  await page.select('#picker', '3');
  await setField(page, 'degree', '0.30');
  await setField(page, 'estimate', '0.90');
  await page.focus('#graph');
  await page.keyboard.press('Enter');
  equal((await state(page)).paused, true, 'Enter on Graph does nothing');
  await page.keyboard.press('Escape');
  equal((await state(page)).paused, true, 'Escape does nothing');

  await stopClock(page);
  const checkbox = await page.$('#show-output');
  if (!(await page.evaluate((b) => b.checked, checkbox))) {
    await checkbox.click();
  }
  await page.focus('#estimate');
  await page.keyboard.press('g');
  let s = await state(page);
  equal(s.graph, 'Pause', 'G in a field starts');
  equal(s.step, 2, 'the first step comes at the press');
  equal(await page.$eval('#estimate', (e) => e.value), '0.90', 'G types nothing');
  await advance(page, 500 * 37 + 1);
  s = await state(page);
  equal(s.step, 39, 'a background tab stands where the clock says');
  const logLines = s.log.split('\n');
  check(logLines.some((l) => l.startsWith('    x[38] = ')) && s.log.includes('x[39] = '),
    'the log holds every step reached', s.log);
  equal(s.description.startsWith('step 39 of 1000, x[39] = '), true, 'the diagrams say their step');
  await advance(page, 500);
  s = await state(page);
  equal(s.step, 40, 'step 40');
  check(!s.log.includes('x[02]') && !s.log.includes('x[00]'), 'the log is cleared every 40 steps', s.log);
  await page.keyboard.press('G');
  equal((await state(page)).graph, 'Graph', 'G again pauses');
  equal(await page.evaluate(() => window.veridrift.timer), 0, 'paused, no timer is set');
  await page.focus('#picker');
  await page.keyboard.press('r');
  s = await state(page);
  check(s.step === 0 && s.paused && s.log.includes('x[00] = 0.00'), 'R restarts at step 0, paused', JSON.stringify(s));

  await checkbox.click();
  await page.keyboard.press('g');
  await advance(page, 500 * 5);
  s = await state(page);
  check(s.step > 2 && !s.log.includes('x[02]'), 'unchecked, the steps go by unlogged', s.log);
  await page.keyboard.press('r');
}

// The tallest page of the log, a formula of two lines over 40 steps, shows
// every line whole inside the panel, one under the other, as the desktop's
// log does.
async function runFullLogPage(page) {
  await page.select('#picker', '1');
  await stopClock(page);
  const checkbox = await page.$('#show-output');
  if (!(await page.evaluate((b) => b.checked, checkbox))) {
    await checkbox.click();
  }
  await page.focus('#graph');
  await page.keyboard.press('g');
  await advance(page, 500 * (79 - 2));
  await page.keyboard.press('g');
  const shown = await page.$eval('#log', (log) => {
    const box = (r) => ({ top: r.top, bottom: r.bottom, left: r.left, right: r.right });
    const text = log.firstChild;
    const lines = log.textContent.replace(/\n$/, '').split('\n');
    const boxes = [];
    let from = 0;
    for (const line of lines) {
      if (line.trim()) {
        const range = document.createRange();
        range.setStart(text, from);
        range.setEnd(text, from + line.length);
        boxes.push({ line, ...box(range.getBoundingClientRect()) });
      }
      from += line.length + 1;
    }
    return { step: window.veridrift.step, lines: lines.length, pageLines: window.veridrift.core.logPageLines(),
      panel: box(log.getBoundingClientRect()), scroll: log.scrollHeight, client: log.clientHeight, boxes };
  });
  check(shown.step === 79 && shown.lines === shown.pageLines, 'the log at step 79 is a whole page',
    `step ${shown.step}, ${shown.lines} of ${shown.pageLines} lines`);
  check(shown.scroll <= shown.client, 'a whole page of the log needs no scrolling',
    `scrollHeight ${shown.scroll}, clientHeight ${shown.client}`);
  const { panel } = shown;
  const outside = shown.boxes.filter((b) => b.top < panel.top || b.bottom > panel.bottom ||
    b.left < panel.left || b.right > panel.right);
  check(outside.length === 0, 'every line of a whole page lies inside the log panel',
    outside.map((b) => `"${b.line}" ${JSON.stringify(b)} in ${JSON.stringify(panel)}`).join('; '));
  const overlapping = shown.boxes.slice(1).filter((b, i) => b.top < shown.boxes[i].bottom);
  check(overlapping.length === 0, 'no line of the log overlaps the one above it',
    overlapping.map((b) => `"${b.line}" at ${b.top}`).join('; '));
  await checkbox.click();
  await page.keyboard.press('r');
}

// ---- the window menu, About box and run report ----

async function runMenus(page, kind) {
  const label = await page.$('label[for="picker"]');
  await label.click({ button: 'right' });
  // Each entry's name, then its key as the menu shows it.
  const entries = await page.$$eval('#menu button', (items) => items.map((i) =>
    [i.firstChild.textContent, i.querySelector('.key')?.textContent].filter((t) => t).join(' ')));
  equal(entries.join('|'), 'About Veridrift...|Run Report...|Orbit Diagram...|Save Diagrams...|Step Forward .|Step Back ,|Go to Step... J|Show f∘f|Copy Link',
    'the window menu');
  await page.click('#menu button:nth-child(1)');
  const about = await page.$eval('#about', (d) => ({ open: d.open, text: d.textContent }));
  check(about.open && ['About Veridrift', 'Veridrift', 'Sep 28 2003 Build', 'Truth in degrees', 'OK']
    .every((t) => about.text.includes(t)), 'the About box with its texts', about.text);
  await page.click('#about button');
  equal(await page.$eval('#about', (d) => d.open), false, 'OK closes the About box');

  await page.focus('#graph');
  if (kind.contextMenuKey) {
    await page.keyboard.down('Shift');
    await page.keyboard.press('F10');
    await page.keyboard.up('Shift');
  } else {
    console.log(`${kind.name}: Shift+F10 through WebDriver BiDi reaches the page as keys only, ` +
      'without the context menu event the real key brings; that event is sent in its place');
    await page.$eval('#graph', (control) => {
      const box = control.getBoundingClientRect();
      control.dispatchEvent(new MouseEvent('contextmenu',
        { bubbles: true, cancelable: true, clientX: box.left, clientY: box.bottom }));
    });
  }
  const focused = await page.evaluate(() => !document.getElementById('menu').hidden &&
    document.activeElement.textContent);
  equal(focused, 'About Veridrift...', 'Shift+F10 opens the window menu, its first entry selected');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await setField(page, 'estimate', '0.40');
  const report = await page.evaluate(() => ({
    shown: document.getElementById('report-text').textContent,
    expected: window.veridrift.core.reportSentences(),
    hidden: document.getElementById('report').hidden,
  }));
  check(!report.hidden && report.shown === report.expected && report.shown.length > 20,
    'the run report follows the estimate', report.shown);
  await page.focus('#report-close');
  await page.keyboard.press('Escape');
  equal(await page.$eval('#report', (r) => r.hidden), true, 'Escape closes the run report');
}

// ---- stepping by hand ----

// Everything the page shows of a step: both diagrams' pixels (as PNG
// addresses, equal for equal pixels), what they say and the log.
async function shownStep(page) {
  return page.evaluate(() => ({
    step: window.veridrift.step,
    web: document.getElementById('web-view').toDataURL(),
    series: document.getElementById('series-view').toDataURL(),
    webSays: document.getElementById('web-step').textContent,
    seriesSays: document.getElementById('series-step').textContent,
    log: document.getElementById('log').textContent,
  }));
}

function sameStep(actual, expected, what) {
  for (const key of Object.keys(expected)) {
    const detail = key === 'web' || key === 'series' ? 'pixels differ'
      : `got ${JSON.stringify(actual[key])}, expected ${JSON.stringify(expected[key])}`;
    check(actual[key] === expected[key], `${what} (${key})`, detail);
  }
}

async function goToStep(page, count) {
  await page.keyboard.press('j');
  // The dialog opens with the shown count selected: typing replaces it.
  await page.keyboard.type(count);
  await page.keyboard.press('Enter');
}

// sentence, degree, estimate, step, Show Output, Show f∘f
const stepRows = [
  ['3', '0.30', '0.90', 0, true, false],
  ['3', '0.30', '0.90', 2, true, true],
  ['3', '0.30', '0.90', 43, true, false],
  ['5', '1.00', '0.00', 80, true, true],
  ['7', '0.50', '0.20', 345, false, true],
  ['9', '0.00', '1.00', 1000, true, false],
];

// Sets a run up on an open page as a user would, with the page's clock
// stopped, and animates it to `step` with G.
async function animateTo(page, [sentence, degree, estimate, output, secondIterate], step) {
  await page.select('#picker', '0');
  await setField(page, 'degree', degree);
  await setField(page, 'estimate', estimate);
  await page.select('#picker', sentence);
  if (output) {
    await page.click('#show-output');
  }
  if (secondIterate) {
    await (await page.$('label[for="picker"]')).click({ button: 'right' });
    await page.click('#menu button[role="menuitemcheckbox"]');
  }
  await stopClock(page);
  await page.focus('#graph');
  if (step > 0) {
    await page.keyboard.press('g');
    await advance(page, 500 * (step - 2));
    await page.keyboard.press('g');
  }
}

// The page at a step reached by Go to Step, by Step Forward or Back, and by
// Graph from the step before, is the page an uninterrupted run from step 0
// brings there, and its diagrams are the command line's pictures of it.
async function runStepRows(browser, temporary) {
  for (const [sentence, degree, estimate, step, output, secondIterate] of stepRows) {
    const what = `step ${step} of run ${sentence} ${degree} ${estimate}` +
      (output ? '' : ', output hidden') + (secondIterate ? ', f∘f' : '');
    // A fresh page: its log's line starts closed, as the core's run does.
    const page = await openPage(browser, pathToFileURL(singleFile).href);
    await animateTo(page, [sentence, degree, estimate, output, secondIterate], step);
    const animated = await shownStep(page);
    equal(animated.step, step, what + ': the animation reaches it');
    check(animated.webSays.endsWith(', f∘f shown') === secondIterate &&
      !animated.seriesSays.includes('f∘f'),
      what + ': the web diagram says when f∘f is shown', animated.webSays);

    for (const [mode, canvas] of [['web', '#web-view'], ['series', '#series-view']]) {
      const size = await page.$eval(canvas, (c) => `${c.width}x${c.height}`);
      const png = path.join(temporary, `step-${mode}.png`);
      execFileSync(seriesCommand, ['--picture', mode, '--step', String(step),
        ...(secondIterate ? ['--iterate', '2'] : []), '--size', size, '--output', png,
        sentence, degree, estimate]);
      equal(await differingFromPng(page, canvas, png), 0,
        `${what}: the ${mode} diagram is the command line's`);
    }

    const [before, after] = await page.evaluate((step) =>
      [window.veridrift.core.previousStep(step), window.veridrift.core.nextStep(step)], step);
    await page.keyboard.press('r');
    await goToStep(page, String(step));
    sameStep(await shownStep(page), animated, what + ' by Go to Step');
    if (step > 0) {
      await goToStep(page, String(before));
      await page.keyboard.press('.');
      sameStep(await shownStep(page), animated, what + ' by Step Forward');
      await goToStep(page, String(before));
      await page.keyboard.press('g');
      await page.keyboard.press('g');
      sameStep(await shownStep(page), animated, what + ' by Graph from the step before');
    }
    if (step < 1000) {
      await goToStep(page, String(after));
      await page.keyboard.press(',');
      sameStep(await shownStep(page), animated, what + ' by Step Back');
    }
    equal(page.errors.join('; '), '', what + ': no script errors');
    await page.close();
  }
}

// The keys leave the value fields their own, and the dialog refuses what
// it cannot take, the window behind it as it was.
async function runStepKeysAndRefusals(browser) {
  const page = await openPage(browser, pathToFileURL(singleFile).href);
  await page.focus('#graph');
  await goToStep(page, '5');
  await page.focus('#estimate');
  await page.keyboard.press(',');
  let s = await state(page);
  check(s.step === 5 && (await page.$eval('#estimate', (e) => e.value)) === '0.90',
    ', in a value field neither steps nor types', JSON.stringify(s));
  await page.keyboard.press('j');
  // Leaving the field for the dialog refreshes the window, as leaving it
  // always does: the dialog offers the step then shown.
  const opened = await page.evaluate(() => ({
    open: document.getElementById('go-to-step').open,
    count: document.getElementById('go-to-step-count').value === String(window.veridrift.step),
    estimate: document.getElementById('estimate').value,
  }));
  equal(JSON.stringify(opened), JSON.stringify({ open: true, count: true, estimate: '0.90' }),
    'J in a value field opens Go to Step at the shown step and types nothing');
  await page.keyboard.press('Escape');
  await page.focus('#graph');
  await goToStep(page, '7');
  const before = await shownStep(page);
  await page.keyboard.press('j');
  const refusals = [
    ['', 'Type a step count: a whole number from 0 to 1000.'],
    ['1001', '1001 is past the last step: a whole number from 0 to 1000.'],
    ['-3', '"-3" is not a step count: a whole number from 0 to 1000.'],
    ['2.5', '"2.5" is not a step count: a whole number from 0 to 1000.'],
  ];
  for (const [typed, why] of refusals) {
    await page.$eval('#go-to-step-count', (e) => e.select());
    await page.keyboard.press('Backspace');
    await page.keyboard.type(typed);
    await page.keyboard.press('Enter');
    const refused = await page.evaluate(() => ({
      open: document.getElementById('go-to-step').open,
      why: document.getElementById('go-to-step-refusal').textContent,
    }));
    check(refused.open && refused.why === why, `Go to Step refuses "${typed}" in the dialog`,
      JSON.stringify(refused));
  }
  await page.keyboard.press('Escape');
  equal(await page.$eval('#go-to-step', (d) => d.open), false, 'Escape closes Go to Step');
  sameStep(await shownStep(page), before, 'after the refusals the window is as it was');
  await page.$eval('#estimate', (e) => e.select());
  await page.keyboard.press('.');
  s = await state(page);
  check(s.step === 0 && (await page.$eval('#estimate', (e) => e.value)) === '0.',
    '. in a value field starts a number and does not step', JSON.stringify(s));
  equal(page.errors.join('; '), '', 'stepping keys: no script errors');
  await page.close();
}

// ---- two pages of one origin ----

function serve(dir) {
  return new Promise((resolve) => {
    const server = http.createServer((request, response) => {
      if (server.unreachable) {
        // As a network that has gone: the connection drops, nothing answers.
        request.socket.destroy();
        return;
      }
      const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
      const file = path.join(dir, name === '/' ? 'index.html' : name);
      if (!file.startsWith(dir) || !fs.existsSync(file)) {
        response.writeHead(404).end();
        return;
      }
      const type = contentType(file);
      response.writeHead(200, { 'Content-Type': type }).end(fs.readFileSync(file));
    });
    server.listen(0, '127.0.0.1', () => resolve(server));
  });
}

function contentType(file) {
  const types = { '.html': 'text/html', '.css': 'text/css', '.webmanifest': 'application/manifest+json',
    '.svg': 'image/svg+xml' };
  return types[path.extname(file)] || 'text/javascript';
}

async function openPage(browser, url) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  page.on('console', (message) => {
    if (message.type() === 'error') {
      errors.push(message.text());
    }
  });
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById('window')?.dataset.state === 'ready');
  page.errors = errors;
  return page;
}

async function runSharedStart(browser, url) {
  const first = await openPage(browser, url);
  const second = await openPage(browser, url);
  await first.bringToFront();
  await first.keyboard.press('g');
  await second.waitForFunction(() => !window.veridrift.paused, { timeout: 5000 }).catch(() => {});
  equal((await state(second)).graph, 'Pause', `the other page starts too (${url.slice(0, 7)})`);
  await first.keyboard.press('g');
  equal((await state(second)).paused, false, 'a pause stays with its own page');
  await first.close();
  await second.close();
}

// ---- links ----

// What the window shows as a user would reach it: the fields typed, Show
// Output clicked, and Graph run from step 0 to `step` on the page's clock.
async function reachByHand(browser, [sentence, degree, estimate, output], step) {
  const page = await openPage(browser, pathToFileURL(singleFile).href);
  await animateTo(page, [sentence, degree, estimate, output, false], step);
  const shown = await shownStep(page);
  await page.close();
  return shown;
}

async function linkShown(page) {
  return page.evaluate(() => ({
    fields: [document.getElementById('picker').value, document.getElementById('degree').value,
      document.getElementById('estimate').value, document.getElementById('show-output').checked],
    paused: window.veridrift.paused,
    notice: document.getElementById('notice').hidden ? '' : document.getElementById('notice-text').textContent,
  }));
}

// name, fragment, then the fields it leaves (sentence, degree, estimate,
// Show Output), the step and the line naming what it ignored.
const linkRows = [
  ['a whole link', '#sentence=3&degree=0.3&estimate=0.90&step=40&output=1', ['3', '0.30', '0.90', true], 40, ''],
  ['a few keys', '#step=7&sentence=8', ['8', '0.30', '0.90', false], 7, ''],
  ['partly bad', '#sentence=12&degree=abc&estimate=0.25&step=5000&output=1', ['0', '0.30', '0.25', true], 0,
    'Ignored in the link: sentence "12" (0 to 9), degree "abc" (0.00 to 1.00), step "5000" (0 to 1000).'],
  ['all bad', '#sentence=x&degree=2&estimate=&step=-4&output=yes&colour=red', ['0', '0.30', '0.90', false], 0,
    'Ignored in the link: sentence "x" (0 to 9), degree "2" (0.00 to 1.00), estimate "" (0.00 to 1.00), ' +
    'step "-4" (0 to 1000), output "yes" (0 or 1), "colour=red" (not sentence, degree, estimate, step, output or orbit).'],
];

// Resolves once the page has taken the fragment: its own listener runs first.
async function newFragment(page, fragment) {
  await page.evaluate((fragment) => new Promise((resolve) => {
    window.addEventListener('hashchange', resolve, { once: true });
    location.hash = fragment;
  }), fragment);
}

// A link opened, or given to the open page as a new fragment, shows its
// state paused, as a user reaches it by hand; what it cannot use is named
// in one line, which Dismiss takes away.
async function runLinks(browser) {
  const expected = [];
  for (const [, , fields, step] of linkRows) {
    expected.push(await reachByHand(browser, fields, step));
  }
  let page = null;
  for (const [index, [name, fragment, fields, step, ignored]] of [...linkRows.entries(), [0, linkRows[0]]]) {
    const opened = page === null;
    const what = `link ${name}` + (opened ? ', opened' : ', as a new fragment');
    if (opened) {
      page = await openPage(browser, pathToFileURL(singleFile).href + fragment);
    } else {
      await newFragment(page, fragment);
    }
    const shown = await linkShown(page);
    equal(JSON.stringify(shown.fields), JSON.stringify(fields), what + ' (fields)');
    equal(shown.paused, true, what + ' (paused)');
    equal(shown.notice, ignored, what + ' (the line of what it ignored)');
    sameStep(await shownStep(page), expected[index], what);
    equal(step, expected[index].step, what + ' (step reached by hand)');
  }
  await newFragment(page, linkRows[3][1]);
  await page.click('#notice-close');
  equal((await linkShown(page)).notice, '', 'Dismiss takes the line away');
  equal(page.errors.join('; '), '', 'links: no script errors');
  await page.close();
}

async function copyLink(page, reader) {
  if (reader === null) {
    // No reading the clipboard here: what the page hands it is recorded.
    await page.evaluate(() => {
      const write = navigator.clipboard.writeText.bind(navigator.clipboard);
      navigator.clipboard.writeText = (text) => {
        window.handedToClipboard = text;
        return write(text);
      };
    });
  }
  await (await page.$('label[for="picker"]')).click({ button: 'right' });
  await page.click('#menu button:last-child');
  await page.waitForFunction(() => !document.getElementById('notice').hidden);
  const shown = await page.evaluate(() => ({
    line: document.getElementById('notice-text').textContent,
    byHand: !document.getElementById('notice-link').hidden,
    link: document.getElementById('notice-link').value,
  }));
  if (!shown.byHand && reader === null) {
    shown.link = await page.evaluate(() => window.handedToClipboard);
  } else if (!shown.byHand) {
    // The browser's one clipboard, read where reading is allowed.
    await reader.bringToFront();
    shown.link = await reader.evaluate(() => navigator.clipboard.readText());
  }
  return shown;
}

// Copy Link, then the link opened in a new page: the same pixels, words and
// log. Served, the clipboard takes it; where a browser refuses, the link
// stands in the line to copy by hand.
async function runCopyLink(browser, servedUrl, kind) {
  let reader = null;
  if (kind.grantsClipboardRead) {
    await browser.defaultBrowserContext().overridePermissions(new URL(servedUrl).origin,
      ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
    reader = await openPage(browser, servedUrl);
  } else {
    console.log(`${kind.name}: the clipboard cannot be read by the test; the text the page ` +
      'hands it is checked instead');
  }
  const fileUrl = pathToFileURL(singleFile).href;
  for (const [url, refused] of [[servedUrl, false], [fileUrl, false], [fileUrl, true]]) {
    const what = `Copy Link (${url.slice(0, 7)}${refused ? ', clipboard refused' : ''})`;
    const page = await openPage(browser, url);
    if (refused) {
      await page.evaluate(() => {
        navigator.clipboard.writeText = () => Promise.reject(new DOMException('refused', 'NotAllowedError'));
      });
    }
    await page.select('#picker', '5');
    await setField(page, 'estimate', '0.35');
    await page.click('#show-output');
    await page.focus('#graph');
    await goToStep(page, '77');
    const copied = await copyLink(page, reader);
    equal(copied.link, url + '#sentence=5&degree=0.30&estimate=0.35&step=77&output=1', what + ': the link');
    const texts = await page.evaluate(() => window.veridrift.core.linkTexts());
    equal(copied.line, copied.byHand ? texts.byHand : texts.copied, what + ': the line says where the link is');
    if (url === servedUrl || refused) {
      equal(copied.byHand, refused, what + (refused ? ': shown to copy by hand' : ': in the clipboard'));
    }
    const opened = await openPage(browser, copied.link);
    sameStep(await shownStep(opened), await shownStep(page), what + ': the link opened');
    equal(page.errors.concat(opened.errors).join('; '), '', what + ': no script errors');
    await opened.close();
    await page.close();
  }
  await reader?.close();
}

// ---- installed from the server, then with no network ----

async function runInstallable(browser, server, kind) {
  const url = `http://127.0.0.1:${server.address().port}/`;
  const manifest = await (await fetch(new URL('manifest.webmanifest', url))).json();
  equal(JSON.stringify([manifest.name, manifest.short_name, manifest.start_url, manifest.display,
    manifest.background_color, manifest.theme_color]),
  JSON.stringify(['Veridrift', 'Veridrift', '.', 'standalone', '#d4d0c8', '#0a246a']), 'the manifest');
  const page = await openPage(browser, url);
  const worker = await page.evaluate(async () => (await navigator.serviceWorker.ready).active.scriptURL);
  equal(worker, new URL('sw.js', url).href, 'the service worker is active');
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  if (kind.devTools) {
    const client = await page.createCDPSession();
    const parsed = await client.send('Page.getAppManifest');
    check(parsed.errors.length === 0 && parsed.url.endsWith('/manifest.webmanifest'),
      'the browser reads the manifest the page links', JSON.stringify(parsed.errors));
    const installable = await client.send('Page.getInstallabilityErrors');
    console.log('installability errors: ' + JSON.stringify(installable.installabilityErrors));
  } else {
    console.log(`${kind.name}: installability is checked in Chromium (Firefox installs no web apps)`);
  }
  // The server stops answering, as when the network is gone: the page must
  // come whole from what its worker kept.
  server.unreachable = true;
  try {
    await page.reload();
    await page.waitForFunction(() => document.getElementById('window')?.dataset.state === 'ready');
    const served = await page.evaluate(() => navigator.serviceWorker.controller !== null);
    check(served, 'with no network the page comes from its worker and starts');
  } finally {
    server.unreachable = false;
  }
  equal(page.errors.join('; '), '', 'installable: no script errors');
  await page.close();
  const single = fs.readFileSync(singleFile, 'utf8');
  check(!single.includes('serviceWorker') && !single.includes('rel="manifest"'),
    'the single file registers nothing and links no manifest');
}

// ---- the single file with no network ----

async function runOffline(browser) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(String(error)));
  const requests = [];
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    // The file itself, and the WebAssembly that Emscripten's loader reads
    // back out of the file as a data: address; nothing else.
    if (request.url() === pathToFileURL(singleFile).href || request.url().startsWith('data:')) {
      request.continue();
    } else {
      requests.push(request.url().slice(0, 80));
      request.abort();
    }
  });
  await page.goto(pathToFileURL(singleFile).href);
  await page.waitForFunction(() => document.getElementById('window')?.dataset.state === 'ready');
  equal(requests.length, 0, `the single file asks for nothing (${requests.join(', ')})`);
  return page;
}

// ---- accessibility ----

async function runAxe(page) {
  await page.addScriptTag({ path: path.join(here, 'node_modules/axe-core/axe.min.js') });
  const results = await page.evaluate(() => window.axe.run(document));
  const bad = results.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
  check(bad.length === 0, 'no serious or critical accessibility violation',
    bad.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`).join('; '));
  const names = await page.evaluate(() => {
    const label = (id) => {
      const e = document.getElementById(id);
      return e.labels && e.labels.length ? e.labels[0].textContent : e.getAttribute('aria-label');
    };
    return ['picker', 'degree', 'estimate', 'show-output', 'web-view', 'series-view'].map(label);
  });
  equal(names.join('|'), 'Pick a sentence:|This sentence is|Initial estimate:|Show Output|Web diagram|Time-series diagram',
    'names as the desktop gives them');
}

// ---- the pictures against veridrift-series --picture ----

async function runHighDpi(browser, temporary) {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600, deviceScaleFactor: 2 });
  await page.goto(pathToFileURL(singleFile).href);
  await page.waitForFunction(() => document.getElementById('window')?.dataset.state === 'ready');
  const sizes = await page.evaluate(() => ['web-view', 'series-view'].map((id) => {
    const c = document.getElementById(id);
    return `${c.style.width} ${c.style.height} ${c.width}x${c.height}`;
  }));
  equal(sizes.join(', '), '350px 322px 700x644, 350px 122px 700x244',
    'the diagrams at 350x322 and 350x122 CSS pixels, drawn at the device pixel ratio');
  await runPictures(page, temporary, 'device pixel ratio 2');
  await page.close();
}

// The diagrams are the core's pixels: equal, pixel for pixel, to the command
// line's PNG of the same step at the page's device pixel ratio, with or
// without WebGL in the browser.
async function runPictures(page, temporary, label) {
  const steps = [0, 2, 40, 345, 1000];
  const report = [];
  await page.select('#picker', '3');
  await setField(page, 'degree', '0.30');
  await setField(page, 'estimate', '0.90');
  for (const step of steps) {
    for (const [mode, canvas] of [['web', '#web-view'], ['series', '#series-view']]) {
      const size = await page.$eval(canvas, (c) => `${c.width}x${c.height}`);
      const png = path.join(temporary, `${mode}-${step}.png`);
      execFileSync(seriesCommand, ['--picture', mode, '--step', String(step), '--size', size,
        '--output', png, '3', '0.30', '0.90']);
      await page.evaluate((step) => {
        window.veridrift.step = step;
        window.veridrift.paint();
      }, step);
      const differing = await differingFromPng(page, canvas, png);
      if (differing === -1) {
        check(false, `${label}: ${mode} picture at step ${step} has the command line's size`);
        continue;
      }
      report.push(`${mode}@${step}: ${differing}`);
      equal(differing, 0, `${label}: the ${mode} diagram at step ${step} is the command line's PNG`);
    }
  }
  console.log(`pictures (${label}), differing pixels: ` + report.join('; '));
}

// How many pixels of the canvas `selector` differ from the PNG file `png`;
// -1 when their sizes differ.
async function differingFromPng(page, selector, png) {
  const data = 'data:image/png;base64,' + fs.readFileSync(png).toString('base64');
  return page.evaluate(async (selector, data) => {
    const shown = document.querySelector(selector);
    const image = new Image();
    image.src = data;
    await image.decode();
    if (image.width !== shown.width || image.height !== shown.height) {
      return -1;
    }
    const decoded = document.createElement('canvas');
    decoded.width = image.width;
    decoded.height = image.height;
    const g = decoded.getContext('2d');
    g.drawImage(image, 0, 0);
    const a = shown.getContext('2d').getImageData(0, 0, shown.width, shown.height).data;
    const b = g.getImageData(0, 0, image.width, image.height).data;
    let count = 0;
    for (let i = 0; i < a.length; i += 4) {
      count += a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2] ? 1 : 0;
    }
    return count;
  }, selector, data);
}

// Where the browser has no WebGL (remote desktops, virtual machines, blocked
// graphics cards) the page is whole all the same.
async function runWithoutWebGl(kind, temporary) {
  const bare = await kind.launchWithoutWebGl();
  try {
    const page = await bare.browser.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    await page.goto(pathToFileURL(singleFile).href);
    await page.waitForFunction(() => document.getElementById('window')?.dataset.state === 'ready');
    equal(await page.evaluate(() => document.createElement('canvas').getContext('webgl')), null,
      'the browser without WebGL has none');
    await runPictures(page, temporary, `${kind.name} without WebGL`);
    equal(errors.join('; '), '', 'no script errors without WebGL');
  } finally {
    await bare.close();
  }
}

// ---- Save Diagrams ----

// Downloads are caught in the page, the same way in both browsers: the
// anchor's click keeps its name and the Blob made for it, and goes nowhere.
async function catchDownloads(page) {
  await page.evaluate(() => {
    const caught = { files: [], blob: null };
    window.caughtDownloads = caught;
    const make = URL.createObjectURL;
    URL.createObjectURL = (blob) => {
      caught.blob = blob;
      return make.call(URL, blob);
    };
    HTMLAnchorElement.prototype.click = function () {
      caught.files.push({ name: this.download, blob: caught.blob });
    };
  });
}

async function openSaveDiagrams(page) {
  await (await page.$('label[for="picker"]')).click({ button: 'right' });
  const entry = await page.evaluateHandle(() => [...document.querySelectorAll('#menu button')]
    .find((item) => item.textContent === 'Save Diagrams...'));
  await entry.click();
}

// Picks the choices and saves; the file's name and bytes, or null when
// nothing was downloaded.
async function saveThrough(page, view, kind) {
  const before = await page.evaluate(() => window.caughtDownloads.files.length);
  await openSaveDiagrams(page);
  await page.click(`#save-diagrams input[value="${view}"]`);
  await page.click(`#save-diagrams input[value="${kind}"]`);
  await page.click('#save-ok');
  await page.waitForFunction((n) => window.caughtDownloads.files.length > n ||
    !document.getElementById('save-diagrams').open ||
    document.getElementById('save-refusal').textContent !== '', {}, before);
  return page.evaluate(async (n) => {
    const file = window.caughtDownloads.files[n];
    return file ? { name: file.name, type: file.blob.type,
      bytes: Array.from(new Uint8Array(await file.blob.arrayBuffer())),
      open: document.getElementById('save-diagrams').open } : null;
  }, before);
}

// run (sentence, degree, estimate), step, f∘f, view, kind, the command
// line's arguments for the same file (FILE where it writes), the name.
const saveRows = [
  [['3', '0.30', '0.90'], 40, false, 'both', 'png', ['--picture', 'both', '--step', '40'],
    'veridrift-3-0.30-0.90-step-40.png'],
  [['3', '0.30', '0.90'], 40, false, 'series', 'png', ['--picture', 'series', '--step', '40'],
    'veridrift-3-0.30-0.90-series-step-40.png'],
  [['3', '0.30', '0.90'], 40, false, 'both', 'csv', ['--csv'], 'veridrift-3-0.30-0.90.csv'],
  [['3', '0.30', '0.90'], 40, false, 'both', 'gif', ['--picture', 'both', '--steps', '0..40'],
    'veridrift-3-0.30-0.90-steps-0-40.gif'],
  [['3', '0.30', '0.90'], 40, true, 'web', 'png',
    ['--picture', 'web', '--step', '40', '--iterate', '2'], 'veridrift-3-0.30-0.90-web-ff-step-40.png'],
  [['3', '0.30', '0.90'], 40, true, 'web', 'gif',
    ['--picture', 'web', '--steps', '0..40', '--iterate', '2'],
    'veridrift-3-0.30-0.90-web-ff-steps-0-40.gif'],
  [['7', '0.50', '0.20'], 345, false, 'both', 'png', ['--picture', 'both', '--step', '345'],
    'veridrift-7-0.50-0.20-step-345.png'],
  [['7', '0.50', '0.20'], 345, false, 'both', 'csv', ['--csv'], 'veridrift-7-0.50-0.20.csv'],
];

// What the page saves is the command line's file for the same request, byte
// for byte; its SVG is a drawing of the same size; Cancel and Escape leave
// the page as it was, even with an animation half made.
async function runSaves(browser, temporary) {
  let page = null;
  let shown = '';
  for (const [run, step, secondIterate, view, kind, args, name] of saveRows) {
    const what = `${view} ${kind} of run ${run.join(' ')} at step ${step}` +
      (secondIterate ? ' with f∘f' : '');
    if (shown !== run.join(' ')) {
      await page?.close();
      page = await openPage(browser, pathToFileURL(singleFile).href);
      await animateTo(page, [...run, false, false], step);
      await catchDownloads(page);
      shown = run.join(' ');
    }
    if (await page.evaluate(() => window.veridrift.secondIterate) !== secondIterate) {
      await (await page.$('label[for="picker"]')).click({ button: 'right' });
      await page.click('#menu button[role="menuitemcheckbox"]');
    }
    const saved = await saveThrough(page, view, kind);
    if (!saved) {
      check(false, what + ': downloaded', 'nothing');
      continue;
    }
    const file = path.join(temporary, `save.${kind}`);
    const expected = kind === 'csv'
      ? execFileSync(seriesCommand, [...args, ...run])
      : (execFileSync(seriesCommand, [...args, '--output', file, ...run]), fs.readFileSync(file));
    equal(saved.name, name, what + ': its name');
    check(Buffer.from(saved.bytes).equals(expected), what + ': the command line\'s bytes',
      `${saved.bytes.length} bytes against ${expected.length}`);
    equal(saved.open, false, what + ': the dialog closes');
  }

  const svg = await saveThrough(page, 'web', 'svg');
  const drawing = await page.evaluate((text) => {
    const svgNode = new DOMParser().parseFromString(text, 'image/svg+xml').documentElement;
    return { root: svgNode.nodeName, width: svgNode.getAttribute('width'),
      lines: svgNode.querySelectorAll('polyline').length };
  }, Buffer.from(svg.bytes).toString());
  const canvas = await page.$eval('#web-view', (c) => c.style.width.replace('px', ''));
  check(svg.type === 'image/svg+xml' && drawing.root === 'svg' && drawing.width === canvas &&
    drawing.lines > 3, 'the web diagram as an SVG drawing of the view\'s size', JSON.stringify(drawing));

  // Escape with other choices made, Cancel while an animation of the whole
  // run is being made, and a browser that refuses the download: no file,
  // the page as it was; the refusal said in the dialog's one line.
  await goToStep(page, '1000');
  const before = await state(page);
  const files = await page.evaluate(() => window.caughtDownloads.files.length);
  await page.evaluate(() => {
    const make = URL.createObjectURL;
    URL.createObjectURL = () => {
      URL.createObjectURL = make;
      throw new Error('downloads are blocked');
    };
  });
  const refused = await saveThrough(page, 'both', 'png');
  const refusal = await page.evaluate(() => ({
    line: document.getElementById('save-refusal').textContent,
    open: document.getElementById('save-diagrams').open,
  }));
  check(refused === null && refusal.open &&
    refusal.line === 'The diagrams were not saved: downloads are blocked.',
  'a refused download is said in the dialog, which stays open', JSON.stringify(refusal));
  await page.click('#save-cancel');
  await openSaveDiagrams(page);
  await page.click('#save-diagrams input[value="series"]');
  await page.keyboard.press('Escape');
  await openSaveDiagrams(page);
  await page.click('#save-diagrams input[value="gif"]');
  await page.evaluate(() => {
    document.getElementById('save-ok').click();
    document.getElementById('save-cancel').click();
  });
  await new Promise((resolve) => setTimeout(resolve, 300));
  const after = await state(page);
  equal(JSON.stringify(after), JSON.stringify(before), 'Escape and Cancel leave the page as it was');
  equal(await page.evaluate(() => window.caughtDownloads.files.length), files,
    'Escape and Cancel download nothing');
  equal(await page.$eval('#save-diagrams', (d) => d.open), false, 'Cancel closes the dialog');
  equal(page.errors.join('; '), '', 'saving: no script errors');
  await page.close();
}

// Each browser runs the whole suite; what one of them cannot do is said, not
// passed over in silence.
const browsers = [
  {
    name: 'Chromium',
    launch: () => launchChromium('chromium'),
    launchWithoutWebGl: () => launchChromium('nogl', {}, ['--disable-3d-apis']),
    // Chromium gives every file:// page one origin.
    sharesStartBetweenFiles: true,
    contextMenuKey: true,
    grantsClipboardRead: true,
    devTools: true,
  },
  {
    name: 'Firefox',
    launch: () => launchFirefox('firefox'),
    launchWithoutWebGl: () => launchFirefox('nogl', { extraPrefsFirefox: { 'webgl.disabled': true } }),
    sharesStartBetweenFiles: false,
    contextMenuKey: false,
    grantsClipboardRead: false,
    devTools: false,
  },
];

async function runBrowser(kind, server) {
  const launched = await kind.launch();
  const { browser, profile } = launched;
  try {
    const page = await runOffline(browser);
    await runAxe(page);
    await runKeystrokeCases(page);
    await runSeriesComparison(page);
    await runKeysAndLog(page);
    await runFullLogPage(page);
    await runPictures(page, profile, kind.name);
    await runMenus(page, kind);
    equal(page.errors.join('; '), '', 'no script errors');
    await page.close();
    await runStepRows(browser, profile);
    await runStepKeysAndRefusals(browser);
    await runSaves(browser, profile);
    await runHighDpi(browser, profile);
    await runWithoutWebGl(kind, profile);
    if (kind.sharesStartBetweenFiles) {
      await runSharedStart(browser, pathToFileURL(singleFile).href);
    } else {
      console.log(`${kind.name}: no shared start between copies of the single file ` +
        '(each file:// page is an origin of its own); the served page shares it');
    }
    await runSharedStart(browser, `http://127.0.0.1:${server.address().port}/`);
    await runLinks(browser);
    const helpers = { singleFile, seriesCommand, check, equal, differingFromPng, openPage, runAxe };
    await runOrbitPictures(browser, profile, helpers);
    await runOrbitPanel(browser, helpers);
    await runOrbitSaves(browser, profile, helpers);
    await runCopyLink(browser, `http://127.0.0.1:${server.address().port}/`, kind);
    await runInstallable(browser, server, kind);
  } finally {
    await launched.close();
  }
}

async function main() {
  const server = await serve(path.join(pageDir, 'site'));
  try {
    // VERIDRIFT_PAGE_BROWSER=Firefox (or Chromium) runs one browser only,
    // for a quicker look while working on it.
    const only = process.env.VERIDRIFT_PAGE_BROWSER;
    for (const kind of browsers.filter((b) => !only || b.name === only)) {
      const [checksBefore, failuresBefore] = [checks, failures];
      await runBrowser(kind, server);
      const [ran, failed] = [checks - checksBefore, failures - failuresBefore];
      console.log(`${kind.name}: ${ran - failed} passed, ${failed} failed`);
    }
  } finally {
    server.close();
  }
  console.log(`page: ${checks - failures} passed, ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
