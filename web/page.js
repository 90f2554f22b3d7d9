// The page's shell: lays the window out from the core's rectangles, forwards
// every event to the core and draws what it hands back. No number, text or
// rule of the tool lives here.
'use strict';

(function () {

  // The kinds of event a value field takes, as the core numbers them.
  let FIELD_CHARACTER, FIELD_DELETE, FIELD_ENTER, FIELD_LEAVE, FIELD_PASTE, BACKSPACE;

  const page = {
    core: null,
    ids: null,
    sentence: 0,
    step: 0,
    paused: true,
    // "Show f∘f", off at start as on the desktop.
    secondIterate: false,
    run: null, // {since, fromStep} while running
    timer: 0,
    painted: false,
    controls: {},
    views: {},
    fields: {},
    channel: null,
    // How many times a field told the window of a change.
    changes: 0,
    // The clock the run is paced by; a test may set its own to stand the
    // run at any time without waiting, as a background tab shown again does.
    now: () => performance.now(),
  };
  window.veridrift = page;
  // The side panels and dialogs build their nodes the same way.
  page.element = element;

  function element(tag, attributes, text) {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes || {})) {
      node.setAttribute(name, value);
    }
    if (text !== undefined) {
      node.textContent = text;
    }
    return node;
  }

  function place(node, item) {
    node.style.left = item.x + 'px';
    node.style.top = item.y + 'px';
    node.style.width = item.width + 'px';
    node.style.height = item.height + 'px';
  }

  // The base units' measures of a font as the page has it: the width of the
  // 52 letters set together and the character height, for templates whose
  // face the core does not know by design.
  function fontMeasures(font) {
    const context = document.createElement('canvas').getContext('2d');
    context.font = font;
    const metrics = context.measureText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
    return [Math.round(metrics.width),
      Math.round(metrics.fontBoundingBoxAscent) + Math.round(metrics.fontBoundingBoxDescent)];
  }

  // The log's font as the desktop fits it: its own size in whole pixels,
  // made smaller until a whole page of the log fits the panel at the font's
  // own line spacing. A line height below that spacing would let a line's
  // glyphs run into the next and the panel's edge cut the first and last.
  function fitLog(node, panelHeight) {
    const core = page.core;
    const family = logFontFamily();
    // CSS's point, as the desktop's 96 dots per inch make it.
    let pixels = Math.round(core.logFontPoints() * 96 / 72);
    let spacing = lineSpacing(pixels, family);
    while (pixels > core.logSmallestPixels() && spacing * core.logPageLines() > panelHeight) {
      pixels--;
      spacing = lineSpacing(pixels, family);
    }
    node.style.fontSize = pixels + 'px';
    node.style.lineHeight = spacing + 'px';
  }

  // The height the browser gives a line of the log's font, rounded up as it
  // rounds the line's box.
  function lineSpacing(pixels, family) {
    const context = document.createElement('canvas').getContext('2d');
    context.font = `${pixels}px ${family}`;
    const metrics = context.measureText('x[00] = 0.00');
    return Math.ceil(metrics.fontBoundingBoxAscent) + Math.ceil(metrics.fontBoundingBoxDescent);
  }

  function logFontFamily() {
    const probe = element('pre', { class: 'log' });
    document.getElementById('window').appendChild(probe);
    const family = getComputedStyle(probe).fontFamily;
    probe.remove();
    return family;
  }

  function windowFont(node) {
    const style = getComputedStyle(node);
    return `${style.fontSize} ${style.fontFamily}`;
  }

  // "&Graph": the ampersand marks the access key, which the text never shows.
  function plainText(text) {
    return text.replace(/&(.)/g, '$1');
  }

  function now() {
    return page.now();
  }

  // ---- drawing ----

  // The views show the core's own pixels: the same in every browser and on
  // every graphics card as on the desktop, and no WebGL is needed.
  function makeView(canvas, name, mode) {
    return { canvas, context: canvas.getContext('2d', { alpha: false }), name, mode };
  }

  function sizeView(view, width, height) {
    const ratio = window.devicePixelRatio || 1;
    view.canvas.style.width = width + 'px';
    view.canvas.style.height = height + 'px';
    view.canvas.width = Math.round(width * ratio);
    view.canvas.height = Math.round(height * ratio);
  }

  function paintView(view) {
    const { width, height } = view.canvas;
    const pixels = page.core.viewPixels(view.mode, page.step, width, height, page.secondIterate);
    if (pixels.length === width * height * 4) {
      view.context.putImageData(new ImageData(pixels, width, height), 0, 0);
    }
  }

  function paintDiagrams() {
    const core = page.core;
    paintView(page.views.web);
    paintView(page.views.series);
    page.views.web.description.textContent = core.describeWebStep(page.step, page.secondIterate);
    page.views.series.description.textContent = core.describeStep(page.step);
    if (!page.painted) {
      page.painted = true;
      performance.mark('diagrams-painted');
    }
  }

  // ---- the log, captions and truth word ----

  function showLog() {
    page.controls.log.textContent = page.core.logText();
  }

  function showCaptions() {
    const captions = page.core.captions();
    const options = page.controls.picker.options;
    for (let i = 0; i < captions.length; i++) {
      options[i].textContent = captions[i];
    }
    page.controls.picker.selectedIndex = page.sentence;
  }

  function showSentenceState() {
    const word = page.core.truthWord(page.sentence);
    page.controls.truth.textContent = word;
    page.fields.degree.input.setAttribute('aria-description', word);
    page.fields.degree.input.disabled = !page.core.usesDegree(page.sentence);
  }

  // ---- running ----

  function refresh() {
    if (!page.paused) {
      pause();
    }
    page.core.refresh(page.sentence, coreText(page.fields.degree.input.value),
      coreText(page.fields.estimate.input.value));
    page.step = 0;
    paintDiagrams();
    showLog();
    showCaptions();
    showReport();
    document.getElementById('window').dataset.state = 'ready';
    if (page.orbit) {
      page.orbit.follow();
    }
  }

  function start(fromOtherPage) {
    if (!page.paused) {
      return;
    }
    page.paused = false;
    page.controls.graph.textContent = 'Pause';
    page.run = { since: now(), fromStep: page.step, taken: 0 };
    if (!fromOtherPage && page.channel) {
      page.channel.postMessage('start');
    }
    tick();
  }

  function pause() {
    page.paused = true;
    page.run = null;
    clearTimeout(page.timer);
    page.timer = 0;
    page.controls.graph.textContent = 'Graph';
  }

  function restart() {
    refresh();
  }

  function onGraph() {
    if (page.paused) {
      start(false);
    } else {
      pause();
    }
  }

  // Stands where the clock says: the first step at the press, then one every
  // interval. Steps a throttled background tab missed are logged on the way.
  function tick() {
    page.timer = 0;
    if (page.paused) {
      return;
    }
    const interval = page.core.stepIntervalMs();
    const elapsed = now() - page.run.since;
    const due = 1 + Math.floor(elapsed / interval);
    let step = page.run.fromStep;
    let taken = 0;
    let logChanged = false;
    const logging = page.controls.showOutput.checked;
    for (let seen = 0; seen < due; seen++) {
      const next = page.core.nextStep(step);
      if (next === step) {
        break;
      }
      step = next;
      taken = seen + 1;
      if (taken > page.run.taken && logging) {
        logChanged = page.core.logStep(step) || logChanged;
      }
    }
    page.run.taken = Math.max(page.run.taken, taken);
    if (step !== page.step) {
      page.step = step;
      paintDiagrams();
    }
    if (logChanged) {
      showLog();
    }
    if (page.core.nextStep(step) !== step) {
      const wait = page.run.since + due * interval - now();
      page.timer = setTimeout(tick, Math.max(0, wait));
    }
  }

  // ---- stepping by hand ----

  // Shows `step` as an uninterrupted run from step 0 shows it, log and all,
  // so that Graph runs on from there as the animation would have.
  function showStep(step) {
    if (!page.paused) {
      pause();
    }
    page.step = step;
    page.core.showLogAtStep(page.step, page.controls.showOutput.checked);
    paintDiagrams();
    showLog();
  }

  function stepForward() {
    showStep(page.core.nextStep(page.step));
  }

  function stepBack() {
    showStep(page.core.previousStep(page.step));
  }

  function toggleSecondIterate() {
    page.secondIterate = !page.secondIterate;
    paintDiagrams();
  }

  // The dialog refuses what it cannot take itself, so the window behind it
  // stays as it was until a count it can.
  function openGoToStep() {
    if (!page.paused) {
      pause();
    }
    const count = document.getElementById('go-to-step-count');
    document.getElementById('go-to-step-refusal').textContent = '';
    // Opened from a value field, the field is left first, and a tidied
    // value brings the window back to step 0: the dialog offers what shows.
    document.getElementById('go-to-step').showModal();
    count.value = String(page.step);
    count.focus();
    count.select();
  }

  function acceptGoToStep() {
    const count = document.getElementById('go-to-step-count');
    const parsed = page.core.stepCount(count.value);
    if (!parsed.valid) {
      document.getElementById('go-to-step-refusal').textContent = parsed.refusal;
      count.focus();
      count.select();
      return;
    }
    document.getElementById('go-to-step').close();
    showStep(parsed.step);
  }

  // ---- links ----

  // One line under the window for what the page has to say outside the
  // window's own texts; with a link in it, the link is selected for copying.
  function showNotice(text, link) {
    document.getElementById('notice-text').textContent = text;
    const shown = document.getElementById('notice-link');
    shown.hidden = link === undefined;
    shown.value = link || '';
    document.getElementById('notice').hidden = false;
    if (link !== undefined) {
      shown.focus();
      shown.select();
    }
  }

  function dismissNotice() {
    document.getElementById('notice').hidden = true;
  }

  function linkAddress() {
    const fragment = page.core.linkFragment(page.sentence, page.fields.degree.input.value,
      page.fields.estimate.input.value, page.step, page.controls.showOutput.checked);
    return location.href.replace(/#.*$/, '') + '#' + fragment + (page.orbit ? page.orbit.linkPart() : '');
  }

  // A browser may refuse the clipboard (a file opened from the disk, no
  // permission): the link is then shown to copy by hand, never lost.
  async function copyLink() {
    const address = linkAddress();
    const texts = page.core.linkTexts();
    try {
      await navigator.clipboard.writeText(address);
      showNotice(texts.copied);
    } catch (error) {
      showNotice(texts.byHand, address);
    }
  }

  // A link shows the state it names from the window's first state, whatever
  // the window showed before, so that it always opens the same run; what it
  // cannot use keeps the first state and is named in the notice.
  function applyLink(fragment) {
    const core = page.core;
    const link = core.linkState(fragment);
    page.sentence = link.sentence >= 0 ? link.sentence : 0;
    page.fields.degree.input.value = link.degree || core.initialDegreeText();
    page.fields.estimate.input.value = link.estimate || core.initialEstimateText();
    page.controls.showOutput.checked = link.output === 1;
    showSentenceState();
    refresh();
    if (link.step > 0) {
      showStep(link.step);
    }
    if (page.orbit) {
      page.orbit.applyLink(fragment);
    }
    if (link.ignored) {
      showNotice(link.ignored);
    } else {
      dismissNotice();
    }
  }

  // ---- value fields ----

  // The field's text as the core reads it: one character per UTF-16 unit,
  // any that is not ASCII as the core's stand-in for a foreign character.
  function coreText(text) {
    return text.replace(/[^\x00-\x7f]/g, String.fromCharCode(page.core.foreignCharacter()));
  }

  function fieldEvent(field, kind, character, pasted) {
    const input = field.input;
    const old = input.value;
    const clip = pasted || '';
    const outcome = page.core.fieldEvent(coreText(old), input.selectionStart, input.selectionEnd,
      field.limit, kind, character, coreText(clip));
    field.limit = outcome.limit;
    page.lastField = outcome;
    // An edit in place keeps the characters the core only saw as stand-ins.
    const text = outcome.textSet ? outcome.text
      : old.slice(0, outcome.replaceFrom) +
        (kind === FIELD_PASTE ? clip.slice(0, outcome.replacement.length) : outcome.replacement) +
        old.slice(outcome.replaceTo);
    if (input.value !== text) {
      input.value = text;
    }
    if (document.activeElement === input) {
      input.setSelectionRange(outcome.start, outcome.end);
    }
    if (outcome.changed) {
      page.changes++;
      refresh();
    }
    return outcome;
  }

  // The code of the character a key types, as the desktop's field receives
  // it (Ctrl+letter as a control character); -1 for a key that types none.
  function characterOf(event) {
    if (event.altKey || event.metaKey) {
      return -1;
    }
    if (event.key === 'Backspace') {
      return BACKSPACE;
    }
    if (event.key.length !== 1) {
      return -1;
    }
    const code = event.key.charCodeAt(0);
    if (event.ctrlKey) {
      const upper = event.key.toUpperCase().charCodeAt(0);
      return upper >= 64 && upper < 96 ? upper - 64 : -1;
    }
    return code < 128 ? code : page.core.foreignCharacter();
  }

  function wireField(field) {
    const input = field.input;
    input.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') {
        event.preventDefault();
        fieldEvent(field, FIELD_ENTER, 0);
        return;
      }
      if (event.key === 'Delete') {
        event.preventDefault();
        fieldEvent(field, FIELD_DELETE, 0);
        return;
      }
      const character = characterOf(event);
      if (character >= 0) {
        event.preventDefault();
        fieldEvent(field, FIELD_CHARACTER, character);
      }
    });
    // Whatever reaches the browser's own editing (an input method, a drop,
    // the context menu's cut) is turned into the field's own events.
    input.addEventListener('beforeinput', (event) => {
      event.preventDefault();
      if (event.inputType === 'insertText' && event.data) {
        for (const c of event.data) {
          const code = c.charCodeAt(0);
          fieldEvent(field, FIELD_CHARACTER, code < 128 ? code : page.core.foreignCharacter());
        }
      } else if (event.inputType === 'insertFromPaste' && event.dataTransfer) {
        fieldEvent(field, FIELD_PASTE, 0, event.dataTransfer.getData('text/plain'));
      }
    });
    input.addEventListener('paste', (event) => {
      event.preventDefault();
      fieldEvent(field, FIELD_PASTE, 0, event.clipboardData.getData('text/plain'));
    });
    input.addEventListener('drop', (event) => event.preventDefault());
    input.addEventListener('blur', () => {
      fieldEvent(field, FIELD_LEAVE, 0);
    });
  }

  // ---- layout ----

  function build() {
    const core = page.core;
    const ids = core.controlIds();
    page.ids = ids;
    const root = document.getElementById('window');
    const measures = fontMeasures(windowFont(root));
    const size = core.templateSize(ids.mainWindow, ...measures);
    root.style.width = size.width + 'px';
    root.style.height = size.height + 'px';
    document.title = size.caption;
    const items = core.templateItems(ids.mainWindow, ...measures);
    for (const item of items) {
      let node;
      switch (item.id) {
        case ids.picker: {
          node = element('select', { id: 'picker' });
          for (let i = 0; i < 10; i++) {
            node.appendChild(element('option', { value: String(i) }));
          }
          // Only the closed box's own height; the template's covers the list.
          item.height = core.pickerHeight();
          page.controls.picker = node;
          break;
        }
        case ids.degree:
        case ids.estimate: {
          const name = item.id === ids.degree ? 'degree' : 'estimate';
          node = element('input', {
            id: name,
            type: 'text',
            autocomplete: 'off',
            spellcheck: 'false',
            inputmode: 'decimal',
          });
          page.fields[name] = { input: node, limit: core.initialInputLimit() };
          break;
        }
        case ids.graph:
        case ids.restart:
          node = element('button', { type: 'button', id: item.id === ids.graph ? 'graph' : 'restart' },
            plainText(item.text));
          page.controls[item.id === ids.graph ? 'graph' : 'restart'] = node;
          break;
        case ids.showOutput: {
          node = element('label', { class: 'check' });
          const box = element('input', { type: 'checkbox', id: 'show-output' });
          node.append(box, plainText(item.text));
          page.controls.showOutput = box;
          break;
        }
        case ids.seriesView:
        case ids.webView: {
          const name = item.id === ids.webView ? 'web' : 'series';
          const title = name === 'web' ? 'Web diagram' : 'Time-series diagram';
          node = element('canvas', { class: 'diagram', role: 'img', 'aria-label': title,
            'aria-describedby': name + '-step', id: name + '-view' });
          const view = makeView(node, title, name === 'web' ? 1 : 0);
          sizeView(view, item.width, item.height);
          view.description = element('span', { id: name + '-step', class: 'described' });
          root.appendChild(view.description);
          page.views[name] = view;
          break;
        }
        case ids.output:
          node = element('pre', { class: 'log', id: 'log', 'aria-label': 'Output', tabindex: '0' });
          fitLog(node, item.height);
          page.controls.log = node;
          break;
        case ids.truthWord:
          node = element('span', { class: 'static', id: 'truth-word' }, item.text);
          page.controls.truth = node;
          break;
        case ids.formulaPicture: {
          node = element('canvas', { class: 'formula', role: 'img', 'aria-label': 'x(n+1)' });
          const rows = core.formulaBitmap().trim().split('\n');
          node.width = rows[0].length;
          node.height = rows.length;
          const context = node.getContext('2d');
          context.fillStyle = '#000';
          context.fillRect(0, 0, node.width, node.height);
          context.fillStyle = '#fff';
          rows.forEach((row, y) => {
            for (let x = 0; x < row.length; x++) {
              if (row[x] === '#') {
                context.fillRect(x, y, 1, 1);
              }
            }
          });
          item.width = node.width;
          item.height = node.height;
          break;
        }
        default: {
          // Static texts: those in front of a control name it.
          const text = plainText(item.text);
          const target = item.id === ids.degreeLabel ? 'degree'
            : text === 'Pick a sentence:' ? 'picker'
              : text === 'Initial estimate:' ? 'estimate' : '';
          node = target ? element('label', { for: target }, text)
            : element('span', { class: 'static' }, text);
          break;
        }
      }
      place(node, item);
      root.appendChild(node);
    }
    // The log lies under the formula picture; the picture is drawn over it.
    root.appendChild(root.querySelector('.formula'));
  }

  function wire() {
    const { picker, graph, restart: restartButton } = page.controls;
    picker.addEventListener('change', () => {
      page.sentence = picker.selectedIndex;
      showSentenceState();
      refresh();
    });
    // Opening the list pauses, as on the desktop.
    const pauseForList = () => {
      if (!page.paused) {
        pause();
      }
    };
    picker.addEventListener('mousedown', pauseForList);
    picker.addEventListener('keydown', (event) => {
      if (event.key === 'F4' || (event.altKey && (event.key === 'ArrowDown' || event.key === 'ArrowUp'))) {
        pauseForList();
      }
    });
    graph.addEventListener('click', onGraph);
    restartButton.addEventListener('click', restart);
    wireField(page.fields.degree);
    wireField(page.fields.estimate);
    document.addEventListener('keydown', (event) => {
      if (event.altKey || event.ctrlKey || event.metaKey || event.defaultPrevented &&
          event.target.tagName !== 'INPUT') {
        return;
      }
      if (insideOverlay(event.target)) {
        return;
      }
      const key = event.key.toLowerCase();
      if (key === 'g') {
        event.preventDefault();
        onGraph();
      } else if (key === 'r') {
        event.preventDefault();
        restart();
      } else if (key === 'j') {
        event.preventDefault();
        openGoToStep();
      } else if ((event.key === '.' || event.key === ',') && !isValueField(event.target)) {
        // In a value field "." starts a number, as it always has.
        event.preventDefault();
        if (event.key === '.') {
          stepForward();
        } else {
          stepBack();
        }
      } else if (event.key === 'Enter' || event.key === 'Escape') {
        event.preventDefault();
      }
    }, true);
    document.addEventListener('visibilitychange', () => {
      if (!document.hidden && !page.paused) {
        clearTimeout(page.timer);
        tick();
      }
    });
    if (typeof BroadcastChannel === 'function') {
      page.channel = new BroadcastChannel('veridrift-start');
      page.channel.onmessage = (message) => {
        if (message.data === 'start') {
          start(true);
        }
      };
    }
  }

  function insideOverlay(target) {
    return !!(target && target.closest && target.closest('#about, #report, #orbit, #menu, #go-to-step, #save-diagrams, #notice'));
  }

  function isValueField(target) {
    return target === page.fields.degree.input || target === page.fields.estimate.input;
  }

  // ---- window menu, About box, run report ----

  function showReport() {
    const panel = document.getElementById('report');
    if (!panel.hidden) {
      document.getElementById('report-text').textContent = page.core.reportSentences();
    }
  }

  function openReport() {
    const panel = document.getElementById('report');
    const root = document.getElementById('window');
    panel.style.left = root.offsetLeft + root.offsetWidth + 8 + 'px';
    panel.style.top = root.offsetTop + 'px';
    panel.hidden = false;
    showReport();
    document.getElementById('report-close').focus();
  }

  function closeReport() {
    document.getElementById('report').hidden = true;
    page.controls.picker.focus();
  }

  function buildAbout() {
    const core = page.core;
    const dialog = document.getElementById('about');
    const measures = fontMeasures(windowFont(dialog));
    const size = core.templateSize(page.ids.aboutBox, ...measures);
    const title = element('h2', { id: 'about-title' }, size.caption);
    const client = element('div', { class: 'client' });
    client.style.width = size.width + 'px';
    client.style.height = size.height + 'px';
    for (const item of core.templateItems(page.ids.aboutBox, ...measures)) {
      let node;
      if (item.kind === page.ids.buttonKind) {
        node = element('button', { type: 'button' }, plainText(item.text));
        node.addEventListener('click', () => dialog.close());
      } else if (item.id === page.ids.aboutVersion) {
        node = element('span', {}, core.versionText());
      } else if (item.text === '') {
        // The icon static: the window's icon, at the icon's own size.
        node = element('img', { alt: '', src: document.querySelector('link[rel="icon"]').href });
        item.width = 32;
        item.height = 32;
      } else {
        node = element('span', {}, item.text);
      }
      place(node, item);
      client.appendChild(node);
    }
    dialog.append(title, client);
  }

  function buildGoToStep() {
    const texts = page.core.stepTexts();
    document.getElementById('go-to-step-title').textContent = texts.caption;
    document.getElementById('go-to-step-label').textContent = texts.label;
  }

  function openMenu(x, y) {
    const menu = document.getElementById('menu');
    menu.replaceChildren();
    const [forward, back, goTo, secondIterate] = page.core.stepTexts().menu;
    const entries = [
      [page.core.aboutMenuText(), () => document.getElementById('about').showModal()],
      [page.core.reportMenuText(), openReport],
      ...(page.orbit ? [[page.core.orbitTexts().menu, page.orbit.open]] : []),
      [page.core.saveMenuText(), () => page.openSaveDiagrams()],
      [forward, stepForward],
      [back, stepBack],
      [goTo, openGoToStep],
      [secondIterate, toggleSecondIterate, page.secondIterate],
      [page.core.linkTexts().menu, copyLink],
    ];
    for (const [text, action, checked] of entries) {
      // The key stands after a tab, and is shown at the right as the
      // desktop's menu shows it.
      const [name, key] = plainText(text).split('\t');
      const item = element('button', { type: 'button', role: checked === undefined ? 'menuitem'
        : 'menuitemcheckbox' }, name);
      if (checked !== undefined) {
        item.setAttribute('aria-checked', String(checked));
      }
      if (key) {
        item.setAttribute('aria-keyshortcuts', key);
        item.appendChild(element('span', { class: 'key', 'aria-hidden': 'true' }, key));
      }
      item.addEventListener('click', () => {
        closeMenu();
        action();
      });
      menu.appendChild(item);
    }
    menu.style.left = x + 'px';
    menu.style.top = y + 'px';
    menu.hidden = false;
    menu.firstChild.focus();
  }

  function closeMenu() {
    document.getElementById('menu').hidden = true;
  }

  function wireMenus() {
    const root = document.getElementById('window');
    root.addEventListener('contextmenu', (event) => {
      if (event.target.tagName === 'INPUT' || event.target.classList.contains('diagram')) {
        return;
      }
      event.preventDefault();
      openMenu(event.pageX, event.pageY);
    });
    const menu = document.getElementById('menu');
    menu.addEventListener('keydown', (event) => {
      const items = [...menu.querySelectorAll('button')];
      const at = items.indexOf(document.activeElement);
      if (event.key === 'Escape') {
        event.preventDefault();
        closeMenu();
      } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
        event.preventDefault();
        const step = event.key === 'ArrowDown' ? 1 : items.length - 1;
        items[(at + step) % items.length].focus();
      }
    });
    menu.addEventListener('focusout', (event) => {
      if (!menu.contains(event.relatedTarget)) {
        closeMenu();
      }
    });
    document.getElementById('report-close').addEventListener('click', closeReport);
    document.getElementById('go-to-step-ok').addEventListener('click', acceptGoToStep);
    document.getElementById('go-to-step-cancel').addEventListener('click', () =>
      document.getElementById('go-to-step').close());
    document.getElementById('go-to-step-count').addEventListener('keydown', (event) => {
      if (event.key === 'Enter') {
        event.preventDefault();
        acceptGoToStep();
      }
    });
    document.getElementById('notice-close').addEventListener('click', dismissNotice);
    document.getElementById('notice').addEventListener('keydown', (event) => {
      if (event.key === 'Escape') {
        event.preventDefault();
        dismissNotice();
      }
    });
    window.addEventListener('hashchange', () => applyLink(location.hash));
    document.getElementById('report').addEventListener('keydown', (event) => {
      if (event.key === 'Escape') {
        event.preventDefault();
        closeReport();
      }
    });
  }

  // Where the page cannot run at all, one visible line says why instead of
  // a window that never comes.
  function cannotRun(why) {
    const windowNode = document.getElementById('window');
    windowNode.dataset.state = 'failed';
    windowNode.replaceChildren(element('p', { class: 'cannot-run', role: 'alert' },
      'Veridrift cannot run in this browser: ' + why + '.'));
  }

  async function main() {
    if (typeof WebAssembly !== 'object' || typeof createVeridrift !== 'function') {
      cannotRun('it has no WebAssembly');
      return;
    }
    try {
      page.core = await createVeridrift();
    } catch (error) {
      cannotRun('its WebAssembly did not start (' + error.message + ')');
      return;
    }
    ({ character: FIELD_CHARACTER, delete: FIELD_DELETE, enter: FIELD_ENTER, leave: FIELD_LEAVE,
      paste: FIELD_PASTE, backspace: BACKSPACE } = page.core.fieldEventKinds());
    build();
    buildAbout();
    buildGoToStep();
    wire();
    wireMenus();
    page.fields.degree.input.value = page.core.initialDegreeText();
    page.fields.estimate.input.value = page.core.initialEstimateText();
    if (location.hash.length > 1) {
      applyLink(location.hash);
    } else {
      showSentenceState();
      refresh();
    }
  }

  page.paint = paintDiagrams;
  // A value set as if typed into its field ('degree' or 'estimate'): the
  // field's text, then the same refresh as a typed change.
  page.setFieldText = (name, text) => {
    page.fields[name].input.value = text;
    page.changes++;
    refresh();
  };
  page.showStep = showStep;
  page.tick = () => {
    clearTimeout(page.timer);
    tick();
  };
  page.ready = main();
})();
