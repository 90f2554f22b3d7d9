// Save Diagrams: the page's side of the desktop's dialog. What to save is
// picked here; the bytes come from the core (the command line's encoders),
// and the browser downloads them. Nothing is sent anywhere.
'use strict';

(function () {
  const page = window.veridrift;

  // The choices, as the command line names them: --picture both|web|series.
  const VIEWS = [['both', 2, 'Both diagrams'], ['web', 1, 'Web diagram'],
    ['series', 0, 'Time-series diagram']];
  const KINDS = [['png', 'PNG image', 'image/png'], ['svg', 'SVG drawing', 'image/svg+xml'],
    ['gif', 'GIF animation of the run so far', 'image/gif'],
    ['csv', 'CSV values of the run', 'text/csv']];
  // Frames drawn between two looks at the page: a slice stays well under a
  // frame's time, so the progress moves and Cancel is heard.
  const SLICE_MS = 30;

  let dialog = null;
  let making = null; // {cancelled} while an animation is being made

  const element = page.element;

  // One radio button per choice, the first checked; `text` is where each
  // choice keeps its words.
  function radios(name, legend, choices, text) {
    const set = element('fieldset', { id: 'save-' + name });
    set.appendChild(element('legend', {}, legend));
    choices.forEach((choice, i) => {
      const label = element('label');
      const input = element('input', { type: 'radio', name: 'save-' + name, value: choice[0] });
      input.checked = i === 0;
      label.append(input, ' ' + choice[text]);
      set.appendChild(label);
    });
    return set;
  }

  function chosen(name) {
    return dialog.querySelector(`input[name="save-${name}"]:checked`).value;
  }

  // Keeps a download's bytes for the browser; false with the reason when it
  // refuses. Usable by any panel: save(name, bytes, mime).
  function save(name, bytes, mime) {
    let url = '';
    try {
      url = URL.createObjectURL(new Blob([bytes], { type: mime }));
      const link = element('a', { href: url, download: name });
      link.hidden = true;
      document.body.appendChild(link);
      link.click();
      link.remove();
    } catch (error) {
      if (url) {
        URL.revokeObjectURL(url);
      }
      return { saved: false, why: error.message || String(error) };
    }
    // The browser reads the bytes once the download starts, which a prompt
    // can hold up for a while.
    setTimeout(() => URL.revokeObjectURL(url), 60000);
    return { saved: true, why: '' };
  }

  function request() {
    const view = VIEWS.find(([name]) => name === chosen('view'));
    const kind = KINDS.find(([name]) => name === chosen('kind'));
    return { mode: view[1], kind: kind[0], mime: kind[2], step: page.step,
      secondIterate: page.secondIterate };
  }

  function fileName(wanted) {
    return page.core.saveFileName(wanted.kind, wanted.mode, wanted.step, wanted.secondIterate);
  }

  function showChoice() {
    const wanted = request();
    dialog.querySelector('#save-view').disabled = wanted.kind === 'csv' || making !== null;
    dialog.querySelector('#save-kind').disabled = making !== null;
    document.getElementById('save-name').textContent = fileName(wanted);
  }

  function refuse(why) {
    document.getElementById('save-refusal').textContent = why ?
      'The diagrams were not saved: ' + why + '.' : '';
  }

  function nextSlice() {
    return new Promise((resolve) => setTimeout(resolve, 0));
  }

  // The run so far, a frame a step from step 0, as `--steps 0..STEP` has it.
  async function makeGif(wanted) {
    const core = page.core;
    const progress = document.getElementById('save-progress');
    making = { cancelled: false };
    showChoice();
    core.gifBegin(wanted.mode, wanted.secondIterate);
    progress.max = wanted.step + 1;
    progress.value = 0;
    progress.hidden = false;
    document.getElementById('save-ok').disabled = true;
    try {
      let next = 0;
      let chunk = 4;
      while (next <= wanted.step) {
        const last = Math.min(wanted.step, next + chunk - 1);
        const began = performance.now();
        core.gifAdd(next, last);
        const took = performance.now() - began;
        next = last + 1;
        progress.value = next;
        // As many frames as fill a slice next time.
        chunk = Math.max(1, Math.round(chunk * SLICE_MS / Math.max(took, 1)));
        if (next <= wanted.step) {
          await nextSlice();
          if (making.cancelled) {
            core.gifDrop();
            return null;
          }
        }
      }
      const made = core.gifFinish();
      return made.bytes.length ? made.bytes : { why: made.why };
    } finally {
      making = null;
      progress.hidden = true;
      document.getElementById('save-ok').disabled = false;
      if (dialog.open) {
        showChoice();
      }
    }
  }

  async function accept() {
    if (making) {
      return;
    }
    refuse('');
    const core = page.core;
    const wanted = request();
    const name = fileName(wanted);
    let bytes;
    if (wanted.kind === 'png') {
      bytes = core.diagramPng(wanted.mode, wanted.step, wanted.secondIterate);
      if (!bytes.length) {
        refuse('the PNG encoder failed');
        return;
      }
    } else if (wanted.kind === 'svg') {
      bytes = core.diagramSvg(wanted.mode, wanted.step, wanted.secondIterate);
    } else if (wanted.kind === 'csv') {
      bytes = core.runCsv();
    } else {
      const made = await makeGif(wanted);
      if (made === null) {
        return; // cancelled: the dialog closed itself
      }
      if (made.why !== undefined) {
        refuse(made.why);
        return;
      }
      bytes = made;
    }
    const outcome = save(name, bytes, wanted.mime);
    if (!outcome.saved) {
      refuse(outcome.why);
      return;
    }
    dialog.close();
  }

  function cancel() {
    if (making) {
      making.cancelled = true;
    }
    if (dialog.open) {
      dialog.close();
    }
  }

  function build() {
    dialog = element('dialog', { id: 'save-diagrams', 'aria-labelledby': 'save-title' });
    const buttons = element('div', { class: 'buttons' });
    const ok = element('button', { id: 'save-ok', type: 'button' }, 'Save');
    const cancelButton = element('button', { id: 'save-cancel', type: 'button' }, 'Cancel');
    buttons.append(ok, ' ', cancelButton);
    dialog.append(element('h2', { id: 'save-title' }, 'Save Diagrams'),
      radios('view', 'Diagrams', VIEWS, 2), radios('kind', 'As', KINDS, 1),
      element('p', { id: 'save-name', 'aria-live': 'polite' }),
      element('progress', { id: 'save-progress', hidden: '', 'aria-label': 'Writing the animation...' }),
      element('p', { id: 'save-refusal', role: 'alert' }), buttons);
    document.body.appendChild(dialog);
    dialog.addEventListener('change', showChoice);
    ok.addEventListener('click', accept);
    cancelButton.addEventListener('click', cancel);
    // Escape closes the dialog (and stops an animation being made).
    dialog.addEventListener('cancel', (event) => {
      event.preventDefault();
      cancel();
    });
    dialog.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && event.target.tagName === 'INPUT') {
        event.preventDefault();
        accept();
      }
    });
  }

  function open() {
    if (!dialog) {
      build();
    }
    refuse('');
    showChoice();
    dialog.showModal();
    dialog.querySelector('input:checked').focus();
  }

  page.openSaveDiagrams = open;
  page.save = save;
})();
