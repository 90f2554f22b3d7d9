
// The Orbit Diagram panel beside the main window, as the desktop's window:
// the current sentence across its degree (or its estimate), computed by the
// worker (orbit_worker.js) while the page keeps running, following every
// refresh. Drag or wheel to zoom, Back and Reset (Backspace, Home), a click
// or Enter sets the field's value, Left/Right move a cursor column, + and -
// zoom around it. The picture is the core's, pixel for pixel.
(function () {
  const page = window.veridrift;
  // Farther than this between press and release is a drag, not a click.
  const CLICK_SLACK = 4;
  const WHEEL_ZOOM = 0.8; // the box's size after one notch in
  const KEY_ZOOM = 0.5;
  // A box narrower than single precision can tell apart shows nothing new.
  const NARROWEST = 1e-5;
  const PROGRESS_AFTER_MS = 100;
  const WHOLE = { from: 0, to: 1, low: 0, high: 1 };

  const orbit = {
    worker: null,
    failed: '',
    nextId: 1,
    asked: null, // the latest request: {id, key, request}
    shown: null, // the picture on the canvas: {id, request, layout, columns, verdicts}
    verdicts: null,
    box: { ...WHOLE },
    history: [],
    axisKey: '',
    cursor: -1,
    saving: null, // the save asked of the worker: {id, kind, name}
    since: 0,
    progressTimer: 0,
    // The plot's size in CSS pixels; a test may set its own.
    plotSize: null,
    // Times of the latest picture: asked and put on the canvas.
    timing: { asked: 0, shown: 0 },
    nodes: {},
  };
  page.orbit = orbit;

  const element = page.element;

  // ---- the worker ----

  // The core's script as the page carries it: inline in the single file, a
  // file of the served page's own folder otherwise.
  const coreScript = document.currentScript && document.currentScript.previousElementSibling;

  function startWorker() {
    if (orbit.worker || orbit.failed) {
      return;
    }
    const body = '(' + veridriftOrbitWorker.toString() + ')();\n';
    let source;
    if (coreScript && coreScript.src) {
      source = 'importScripts(' + JSON.stringify(coreScript.src) + ');\n' + body;
    } else if (coreScript && coreScript.text.includes('createVeridrift')) {
      source = coreScript.text + '\n' + body;
    } else {
      orbit.failed = 'the page carries no core for its worker';
      return;
    }
    try {
      const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
      orbit.worker = new Worker(url);
      URL.revokeObjectURL(url);
    } catch (error) {
      orbit.failed = 'its worker did not start (' + error.message + ')';
      return;
    }
    orbit.worker.onmessage = (event) => received(event.data);
    orbit.worker.onerror = (event) => {
      orbit.failed = 'its worker stopped (' + (event.message || 'an error') + ')';
      showFailure();
    };
  }

  function received(message) {
    if (message.type === 'ready') {
      orbit.workerReady = true;
      return;
    }
    if (message.type === 'failed') {
      orbit.failed = 'its worker did not start (' + message.why + ')';
      showFailure();
      return;
    }
    if (message.type === 'saved') {
      saved(message);
      return;
    }
    if (!orbit.asked || message.id !== orbit.asked.id) {
      return; // a superseded request's last word
    }
    if (message.type === 'progress') {
      orbit.nodes.progress.value = Math.round(1000 * message.done / message.total);
      return;
    }
    if (message.type === 'picture') {
      showPicture(message);
    }
  }

  function showFailure() {
    orbit.nodes.pointer.textContent = 'The orbit diagram cannot be computed here: ' + orbit.failed + '.';
  }

  // ---- requests ----

  function deviceSize() {
    const dpr = window.devicePixelRatio || 1;
    const size = orbit.plotSize || defaultPlotSize();
    return { css: size, width: Math.round(size.width * dpr), height: Math.round(size.height * dpr),
      scale: Math.max(1, Math.round(dpr)) };
  }

  function defaultPlotSize() {
    const root = document.getElementById('window');
    const room = document.documentElement.clientWidth - (root.offsetLeft + root.offsetWidth) - 40;
    const width = Math.max(320, Math.min(700, room >= 320 ? room : document.documentElement.clientWidth - 40));
    return { width, height: Math.round(width * 4 / 7) };
  }

  function sizeCanvas(size) {
    const canvas = orbit.nodes.canvas;
    canvas.style.width = size.css.width + 'px';
    canvas.style.height = size.css.height + 'px';
  }

  function recompute() {
    if (orbit.nodes.panel.hidden) {
      return;
    }
    const run = page.core.orbitRun();
    const size = deviceSize();
    sizeCanvas(size);
    const box = orbit.box;
    const request = { sentence: run.sentence, degree: run.degree, estimate: run.estimate,
      from: box.from, to: box.to, low: box.low, high: box.high,
      transient: readCount(orbit.nodes.transient), keep: readCount(orbit.nodes.keep),
      width: size.width, height: size.height, scale: size.scale };
    request.keep = Math.min(request.keep, page.core.orbitTexts().longestRun + 1 - request.transient);
    // Over the degree a new degree only moves the marker, and so on.
    const key = JSON.stringify({ ...request, degree: run.overDegree ? 0 : run.degree,
      estimate: run.overDegree ? run.estimate : 0 });
    const marker = run.overDegree ? run.degree : run.estimate;
    if (orbit.asked && orbit.asked.key === key) {
      // Only the marker moves: the worker composes the picture again, or
      // composes it so once its columns are in.
      orbit.asked.marker = marker;
      orbit.worker.postMessage({ type: 'marks', id: orbit.asked.id, marker, cursor: orbit.cursor });
      describe();
      return;
    }
    startWorker();
    if (!orbit.worker) {
      showFailure();
      return;
    }
    const id = orbit.nextId++;
    orbit.asked = { id, key, request, marker };
    orbit.timing.asked = performance.now();
    // The cursor stays where the new picture has as many columns.
    const columns = Math.min(10000, Math.max(2,
      page.core.orbitLayout(size.width, size.height, size.scale).dots.width));
    orbit.worker.postMessage({ type: 'draw', id, request, marker,
      cursor: orbit.shown && orbit.shown.columns === columns ? orbit.cursor : -1 });
    clearTimeout(orbit.progressTimer);
    orbit.nodes.progress.value = 0;
    orbit.progressTimer = setTimeout(() => {
      if (!orbit.shown || orbit.shown.id !== id) {
        orbit.nodes.progress.hidden = false;
      }
    }, PROGRESS_AFTER_MS);
  }

  function showPicture(message) {
    clearTimeout(orbit.progressTimer);
    orbit.nodes.progress.hidden = true;
    const canvas = orbit.nodes.canvas;
    if (canvas.width !== message.width || canvas.height !== message.height) {
      canvas.width = message.width;
      canvas.height = message.height;
    }
    canvas.getContext('2d').putImageData(
      new ImageData(new Uint8ClampedArray(message.rgba), message.width, message.height), 0, 0);
    const request = orbit.asked.request;
    if (message.verdicts) {
      if (!orbit.shown || orbit.shown.columns !== message.columns) {
        orbit.cursor = -1;
      }
      orbit.shown = { id: message.id, request, columns: message.columns, verdicts: message.verdicts,
        layout: page.core.orbitLayout(request.width, request.height, request.scale) };
    }
    if (message.cursor !== orbit.cursor) {
      // The cursor moved while the picture was on its way.
      orbit.worker.postMessage({ type: 'marks', id: message.id, marker: orbit.asked.marker,
        cursor: orbit.cursor });
    }
    orbit.timing.shown = performance.now();
    orbit.timing.computeMs = message.computeMs;
    orbit.timing.composeMs = message.composeMs;
    canvas.dataset.picture = String(message.id);
    describe();
  }

  // ---- what the diagram says ----

  function describe() {
    const shown = orbit.shown;
    if (!shown) {
      return;
    }
    const r = shown.request;
    const c = orbit.cursor;
    const text = c >= 0 && c < shown.columns
      ? page.core.orbitDescription(r.from, r.to, shown.verdicts.parameters[c],
        shown.verdicts.words[shown.verdicts.behaviours[c]], shown.verdicts.exponents[c])
      : page.core.orbitDescription(r.from, r.to, 0, '', 0);
    orbit.nodes.description.textContent = text;
  }

  // Where a point of the canvas (CSS pixels) lies in the shown picture's
  // axis and value; null outside the dots.
  function parameterAt(x, y) {
    const shown = orbit.shown;
    if (!shown) {
      return null;
    }
    const dpr = shown.request.width / orbit.nodes.canvas.clientWidth;
    const dots = shown.layout.dots;
    const px = x * dpr;
    const py = y * dpr;
    if (px < dots.x || px >= dots.x + dots.width || py < dots.y || py >= dots.y + dots.height) {
      return null;
    }
    const r = shown.request;
    const tx = (px - dots.x) / dots.width;
    const ty = (dots.y + dots.height - py) / dots.height;
    return { x: r.from + tx * (r.to - r.from), y: r.low + ty * (r.high - r.low), px, py };
  }

  function columnAt(px) {
    const shown = orbit.shown;
    const dots = shown.layout.dots;
    return Math.min(shown.columns - 1, Math.max(0, Math.floor((px - dots.x) / dots.width * shown.columns)));
  }

  function parameterOf(column) {
    const r = orbit.shown.request;
    return Math.fround(r.from + column * ((r.to - r.from) / (orbit.shown.columns - 1)));
  }

  // ---- views ----

  function shownBox() {
    const r = orbit.shown ? orbit.shown.request : WHOLE;
    return { from: r.from, to: r.to, low: r.low, high: r.high };
  }

  function sameBox(a, b) {
    return a.from === b.from && a.to === b.to && a.low === b.low && a.high === b.high;
  }

  function showTo(box) {
    orbit.history.push(orbit.box);
    orbit.box = box;
    recompute();
  }

  function back() {
    if (orbit.history.length > 0) {
      orbit.box = orbit.history.pop();
      recompute();
    }
  }

  function reset() {
    if (!sameBox(orbit.box, WHOLE)) {
      orbit.history.push(orbit.box);
      orbit.box = { ...WHOLE };
      recompute();
    }
  }

  // The latest view asked scaled by `factor` around the point (x, y) of the
  // square: zooms in quick succession add up, even before their pictures.
  function zoomAround(x, y, factor) {
    const shown = orbit.box;
    const scaled = (from, to, at) => {
      const width = Math.min(1, Math.max(NARROWEST, (to - from) * factor));
      const share = (at - from) / (to - from);
      const a = Math.min(1 - width, Math.max(0, at - share * width));
      return [a, a + width];
    };
    const [from, to] = scaled(shown.from, shown.to, x);
    const [low, high] = scaled(shown.low, shown.high, y);
    const box = { from, to, low, high };
    if (!sameBox(box, shown)) {
      showTo(box);
    }
  }

  function chooseColumn(column) {
    if (!orbit.shown) {
      return;
    }
    const text = page.core.orbitFieldText(orbit.shown.verdicts.parameters[column]);
    page.setFieldText(page.core.orbitRun().overDegree ? 'degree' : 'estimate', text);
  }

  function moveCursor(by) {
    const shown = orbit.shown;
    if (!shown) {
      return;
    }
    const columns = shown.columns;
    if (orbit.cursor < 0) {
      orbit.cursor = by > 0 ? 0 : columns - 1;
      const marker = orbit.asked.marker;
      const t = (marker - shown.request.from) / (shown.request.to - shown.request.from);
      if (t >= 0 && t <= 1) {
        orbit.cursor = Math.round(t * (columns - 1));
      }
    } else {
      orbit.cursor = Math.min(columns - 1, Math.max(0, orbit.cursor + by));
    }
    orbit.worker.postMessage({ type: 'marks', id: shown.id, marker: orbit.asked.marker,
      cursor: orbit.cursor });
    describe();
  }

  // ---- saving ----

  function status(text) {
    orbit.nodes.pointer.textContent = text;
  }

  // The picture shown as a PNG, or its columns as CSV: the same bytes as
  // `veridrift-series --orbit` makes for the same request (README). The
  // worker makes them, as it has the columns.
  function saveShown(kind) {
    const shown = orbit.shown;
    if (!shown || !orbit.asked || shown.id !== orbit.asked.id || !orbit.worker) {
      status('Nothing saved: the picture is still being computed.');
      return;
    }
    const r = shown.request;
    const name = page.core.orbitSaveName(r.sentence, page.core.orbitRun().overDegree, r.from, r.to,
      kind);
    orbit.saving = { id: shown.id, kind, name };
    orbit.worker.postMessage({ type: 'save', id: shown.id, kind });
  }

  function saved(message) {
    const saving = orbit.saving;
    if (!saving || saving.id !== message.id || saving.kind !== message.kind) {
      return;
    }
    orbit.saving = null;
    if (!message.bytes || message.bytes.length === 0) {
      status('Nothing saved: the picture is still being computed.');
      return;
    }
    const outcome = page.save(saving.name, message.bytes,
      saving.kind === 'png' ? 'image/png' : 'text/csv');
    status(outcome.saved ? 'Saved ' + saving.name + '.' : 'Nothing saved: ' + outcome.why + '.');
  }

  // ---- the panel ----

  // The count typed, or the one before where the core refuses it.
  function readCount(input) {
    const value = page.core.orbitCount(input.value.trim());
    if (value < 0) {
      input.value = input.dataset.last || '500';
    }
    input.dataset.last = input.value;
    return page.core.orbitCount(input.value);
  }

  function place() {
    const panel = orbit.nodes.panel;
    const root = document.getElementById('window');
    const report = document.getElementById('report');
    const beside = report && !report.hidden ? report : root;
    const left = beside.offsetLeft + beside.offsetWidth + 8;
    const width = panel.offsetWidth;
    // A second column where the screen is wide enough, else under the window.
    if (left + width <= document.documentElement.clientWidth) {
      panel.style.left = left + 'px';
      panel.style.top = root.offsetTop + 'px';
    } else {
      panel.style.left = root.offsetLeft + 'px';
      panel.style.top = root.offsetTop + root.offsetHeight + 8 + 'px';
    }
  }

  function build() {
    const panel = element('section', { id: 'orbit', 'aria-labelledby': 'orbit-title', hidden: '' });
    const title = element('h2', { id: 'orbit-title' }, 'Orbit Diagram');
    const canvas = element('canvas', { id: 'orbit-plot', tabindex: '0', role: 'img',
      'aria-label': 'Orbit diagram', 'aria-describedby': 'orbit-description' });
    const description = element('p', { id: 'orbit-description', class: 'described' });
    const drag = element('div', { class: 'drag', hidden: '' });
    const plot = element('div', { class: 'plot' });
    plot.append(canvas, drag);
    // The desktop's mnemonics (Alt+T, Alt+N, Alt+B, Alt+R) as the browser
    // gives access keys.
    const count = (id, label, name) => {
      const input = element('input', { id, type: 'text', inputmode: 'numeric', autocomplete: 'off',
        spellcheck: 'false', 'aria-label': name, value: '500', size: '7',
        accesskey: label[0].toLowerCase() });
      input.dataset.last = '500';
      return [element('label', { for: id }, label), input];
    };
    const [transientLabel, transient] = count('orbit-transient', 'T:', 'Transient T');
    const [keepLabel, keep] = count('orbit-keep', 'N:', 'Kept values N');
    const counts = element('div', { class: 'row' });
    counts.append(transientLabel, transient, keepLabel, keep);
    const backButton = element('button', { type: 'button', accesskey: 'b' }, 'Back');
    const resetButton = element('button', { type: 'button', accesskey: 'r' }, 'Reset');
    const progress = element('progress', { max: '1000', value: '0', 'aria-label': 'Computing',
      hidden: '' });
    const pointer = element('output', { 'aria-label': 'Pointer' });
    // P and C: free in the panel and the page.
    const pngButton = element('button', { type: 'button', accesskey: 'p' }, 'Save PNG');
    const csvButton = element('button', { type: 'button', accesskey: 'c' }, 'Save CSV');
    const close = element('button', { type: 'button' }, 'Close');
    const views = element('div', { class: 'row' });
    views.append(backButton, resetButton, pngButton, csvButton, progress, pointer, close);
    panel.append(title, plot, description, counts, views);
    document.body.insertBefore(panel, document.getElementById('report').nextSibling);
    Object.assign(orbit.nodes, { panel, canvas, description, drag, transient, keep, progress,
      pointer });

    backButton.addEventListener('click', back);
    resetButton.addEventListener('click', reset);
    pngButton.addEventListener('click', () => saveShown('png'));
    csvButton.addEventListener('click', () => saveShown('csv'));
    close.addEventListener('click', closePanel);
    for (const input of [transient, keep]) {
      input.addEventListener('change', recompute);
      input.addEventListener('keydown', (event) => {
        if (event.key === 'Enter') {
          event.preventDefault();
          recompute();
        }
      });
    }
    panel.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && !event.altKey && !event.ctrlKey && !event.metaKey) {
        event.preventDefault();
        closePanel();
      }
    });
    wirePlot(canvas, drag);
  }

  function wirePlot(canvas, drag) {
    let pressAt = null;
    const point = (event) => {
      const rect = canvas.getBoundingClientRect();
      return { x: event.clientX - rect.left, y: event.clientY - rect.top };
    };
    canvas.addEventListener('pointerdown', (event) => {
      const at = point(event);
      if (event.button === 0 && parameterAt(at.x, at.y)) {
        pressAt = at;
        canvas.setPointerCapture(event.pointerId);
      }
    });
    canvas.addEventListener('pointermove', (event) => {
      const at = point(event);
      const value = parameterAt(at.x, at.y);
      if (value) {
        orbit.nodes.pointer.textContent = page.core.orbitPointerText(value.x, value.y);
      }
      if (pressAt && Math.abs(at.x - pressAt.x) + Math.abs(at.y - pressAt.y) > CLICK_SLACK) {
        drag.hidden = false;
        drag.style.left = Math.min(at.x, pressAt.x) + 'px';
        drag.style.top = Math.min(at.y, pressAt.y) + 'px';
        drag.style.width = Math.abs(at.x - pressAt.x) + 'px';
        drag.style.height = Math.abs(at.y - pressAt.y) + 'px';
      }
    });
    canvas.addEventListener('pointerup', (event) => {
      if (!pressAt || event.button !== 0) {
        return;
      }
      const from = pressAt;
      pressAt = null;
      drag.hidden = true;
      const to = point(event);
      if (Math.abs(to.x - from.x) + Math.abs(to.y - from.y) <= CLICK_SLACK) {
        chooseColumn(columnAt(parameterAt(from.x, from.y).px));
        return;
      }
      // The far corner held to the dots.
      const shown = orbit.shown;
      const dots = shown.layout.dots;
      const dpr = shown.request.width / canvas.clientWidth;
      const clampTo = (v, lo, hi) => Math.min(hi, Math.max(lo, v));
      const a = parameterAt(from.x, from.y);
      const b = parameterAt(clampTo(to.x, dots.x / dpr, (dots.x + dots.width - 1) / dpr),
        clampTo(to.y, dots.y / dpr, (dots.y + dots.height - 1) / dpr));
      if (!a || !b) {
        return;
      }
      const box = { from: Math.min(a.x, b.x), to: Math.max(a.x, b.x), low: Math.min(a.y, b.y),
        high: Math.max(a.y, b.y) };
      if (box.to - box.from >= NARROWEST && box.high - box.low >= NARROWEST) {
        showTo(box);
      }
    });
    canvas.addEventListener('wheel', (event) => {
      event.preventDefault();
      const at = point(event);
      const value = parameterAt(at.x, at.y);
      const notches = -Math.sign(event.deltaY) *
        Math.max(1, Math.round(Math.abs(event.deltaY) / (event.deltaMode === 0 ? 100 : 3)));
      if (value && notches !== 0) {
        zoomAround(value.x, value.y, Math.pow(WHEEL_ZOOM, notches));
      }
    }, { passive: false });
    canvas.addEventListener('keydown', (event) => {
      if (event.altKey || event.ctrlKey || event.metaKey) {
        return;
      }
      const key = event.key;
      let handled = true;
      if (key === 'ArrowLeft' || key === 'ArrowRight') {
        moveCursor((key === 'ArrowLeft' ? -1 : 1) * (event.shiftKey ? 10 : 1));
      } else if (key === 'Enter') {
        if (orbit.cursor >= 0) {
          chooseColumn(orbit.cursor);
        }
      } else if (key === '+' || key === '=' || key === '-') {
        if (orbit.shown) {
          const box = orbit.box;
          const x = orbit.cursor >= 0 ? parameterOf(orbit.cursor) : (box.from + box.to) / 2;
          zoomAround(x, (box.low + box.high) / 2, key === '-' ? 1 / KEY_ZOOM : KEY_ZOOM);
        }
      } else if (key === 'Backspace') {
        back();
      } else if (key === 'Home') {
        reset();
      } else {
        handled = false;
      }
      if (handled) {
        event.preventDefault();
      }
    });
  }

  function openPanel() {
    const panel = orbit.nodes.panel;
    const opening = panel.hidden;
    panel.hidden = false;
    if (opening) {
      sizeCanvas(deviceSize());
      place();
    }
    recompute();
    orbit.nodes.canvas.focus();
  }

  function closePanel() {
    orbit.nodes.panel.hidden = true;
    clearTimeout(orbit.progressTimer);
    orbit.nodes.progress.hidden = true;
    // Closed it costs nothing: the work under way stops, and the next
    // opening asks again.
    if (orbit.worker) {
      orbit.worker.postMessage({ type: 'stop' });
    }
    orbit.asked = null;
    page.controls.picker.focus();
  }

  // ---- what the page asks of the panel ----

  orbit.open = openPanel;
  orbit.close = closePanel;

  // A refresh of the run: another sentence starts from the whole square.
  orbit.follow = () => {
    const run = page.core.orbitRun();
    const axisKey = run.sentence + (run.overDegree ? 'd' : 'e');
    if (axisKey !== orbit.axisKey) {
      orbit.axisKey = axisKey;
      orbit.box = { ...WHOLE };
      orbit.history = [];
    }
    recompute();
  };

  orbit.linkPart = () => (orbit.nodes.panel && !orbit.nodes.panel.hidden
    ? page.core.orbitLinkPart(orbit.box.from, orbit.box.to) : '');

  orbit.applyLink = (fragment) => {
    const view = page.core.orbitLinkView(fragment);
    if (view.axis) {
      orbit.history = [];
      orbit.box = { from: view.from, to: view.to, low: 0, high: 1 };
      openPanel();
    }
  };

  orbit.setPlotSize = (width, height) => {
    orbit.plotSize = width ? { width, height } : null;
    recompute();
  };

  // Built at once: a link may open the panel while the page starts.
  build();
  page.ready.then(() => {
    if (!page.core || document.getElementById('window').dataset.state !== 'ready') {
      return;
    }
    // Started ahead, so that the first picture does not wait for a core,
    // but after the page's own start has had the processor.
    setTimeout(startWorker, 250);
  });
})();
