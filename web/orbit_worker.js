
// The orbit diagram's worker: its own instance of the core, started from a
// blob of the script the page already carries (so that it starts from a
// file:// page too), and never the page's thread, so the run's animation
// keeps its pace. It computes the latest request only, in slices of about
// ten milliseconds; between two slices it reads its messages, so a newer
// request supersedes the one under way, which is then dropped unfinished.
// This function is the worker's whole script; the page turns its text into
// the blob (orbit_panel.js).
function veridriftOrbitWorker() {
  'use strict';
  const SLICE_MS = 10;
  let core = null;
  let latest = null; // {id, request, marker, cursor, done, total, finished}
  let running = false;

  // Back to the message queue and on at once: a timer would wait 4 ms.
  const channel = new MessageChannel();
  let resume = null;
  channel.port1.onmessage = () => {
    const go = resume;
    resume = null;
    go();
  };
  const breathe = () => new Promise((resolve) => {
    resume = resolve;
    channel.port2.postMessage(0);
  });

  function send(job, withColumns) {
    const started = performance.now();
    const rgba = core.orbitCompose(job.marker, job.cursor);
    const message = { type: 'picture', id: job.id, width: job.request.width,
      height: job.request.height, rgba: rgba.buffer, columns: job.total, cursor: job.cursor };
    if (withColumns) {
      message.verdicts = core.orbitColumns();
    }
    // What the worker spent, for the page's benchmark.
    message.computeMs = job.computeMs || 0;
    message.composeMs = performance.now() - started;
    self.postMessage(message, [rgba.buffer]);
  }

  async function compute(job) {
    const r = job.request;
    job.total = core.orbitStart(r.sentence, r.degree, r.estimate, r.from, r.to, r.low, r.high,
      r.transient, r.keep, r.width, r.height, r.scale);
    // Columns a slice: as many as about fill a slice at the pace seen so
    // far, in fours (the core runs four side by side) unless a column alone
    // fills it.
    let count = 4;
    job.done = 0;
    while (job.done < job.total) {
      const started = performance.now();
      job.done = core.orbitStep(count);
      const spent = performance.now() - started;
      job.computeMs = (job.computeMs || 0) + spent;
      count = Math.max(1, Math.min(4096, Math.round(count * SLICE_MS / Math.max(spent, 0.5))));
      count -= count >= 4 ? count % 4 : 0;
      if (job.done < job.total) {
        self.postMessage({ type: 'progress', id: job.id, done: job.done, total: job.total });
        await breathe();
        if (latest !== job) {
          return;
        }
      }
    }
    job.finished = true;
    send(job, true);
  }

  async function run() {
    if (running || core === null) {
      return;
    }
    running = true;
    while (latest !== null && !latest.finished) {
      await compute(latest);
    }
    running = false;
  }

  self.onmessage = (event) => {
    const message = event.data;
    if (message.type === 'draw') {
      latest = { id: message.id, request: message.request, marker: message.marker,
        cursor: message.cursor, finished: false };
      run();
    } else if (message.type === 'stop') {
      latest = null; // the panel closed: what is under way ends at its next slice
    } else if (message.type === 'save') {
      // The shown picture's file, made here where its columns are; nothing
      // while a newer request is still being computed.
      const ready = latest !== null && latest.id === message.id && latest.finished;
      const bytes = !ready ? null : message.kind === 'png'
        ? core.orbitPng(latest.marker) : new TextEncoder().encode(core.orbitCsv());
      self.postMessage({ type: 'saved', id: message.id, kind: message.kind, bytes },
        bytes ? [bytes.buffer] : []);
    } else if (message.type === 'marks' && latest !== null && latest.id === message.id) {
      // Only the marks move: the picture is composed again, not computed.
      latest.marker = message.marker;
      latest.cursor = message.cursor;
      if (latest.finished) {
        send(latest, false);
      }
    }
  };

  // One picture drawn and thrown away first: the browser compiles the
  // core's hot code fully only once it has run, and the memory grows once.
  function warmUp() {
    core.orbitStart(0, 0.3, 0.9, 0, 1, 0, 1, 500, 500, 1080, 600, 1);
    core.orbitStep(1000);
    core.orbitCompose(NaN, -1);
    core.orbitColumns();
  }

  createVeridrift().then((instance) => {
    core = instance;
    warmUp();
    self.postMessage({ type: 'ready' });
    run();
  }, (error) => {
    self.postMessage({ type: 'failed', why: String(error && error.message || error) });
  });
}
