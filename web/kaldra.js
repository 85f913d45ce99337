// Kaldra in a web page: the instrument of the window (instrument/), compiled
// to WebAssembly, driven from here. This one script runs twice over: as the
// page, which turns the browser's events into the instrument's commands and
// paints what it says, and as each of the page's workers, which trace the
// outer indices of the diagrams (web/traced_index.h) beside the page's own
// thread, so that the page never waits long for the tracing. Nothing here decides what the window would decide:
// keys, actions, edits, history, pace, refusals, the legend and the probe are
// the instrument's; the page only shows them.
'use strict';

if (typeof document === 'undefined') {
  // --- A worker: traces the outer indices of the page's runs ---------------
  importScripts('kaldra-web.js');
  const ready = KaldraCore();
  const tracers = new Map();  // run id -> the worker's copy of its scene
  const trace = (core, run, k) => {
    const tracer = tracers.get(run);
    const at = core._kaldra_tracer_trace(tracer, k);
    return [k, core.HEAPU8.slice(at, at + core._kaldra_tracer_size(tracer)).buffer];
  };
  const post = (run, traced) => self.postMessage({run, traced}, traced.map(([, bytes]) => bytes));
  self.onmessage = async ({data}) => {
    const core = await ready;
    if (data.k !== undefined) return post(data.run, [trace(core, data.run, data.k)]);
    // A run's scene; those of the runs that ended are let go.
    for (const [run, tracer] of tracers) {
      if (!data.alive.includes(run)) {
        core._kaldra_tracer_delete(tracer);
        tracers.delete(run);
      }
    }
    const at = core._malloc(data.scene.byteLength);
    core.HEAPF64.set(data.scene, at / 8);
    tracers.set(data.run, core._kaldra_tracer_new(at, data.scene.length, data.width, data.height));
    core._free(at);
    // With a counter the workers share, each takes the next index itself,
    // and sends what it traced every few milliseconds, which spares the
    // page a message per index.
    let traced = [], sent = performance.now();
    for (let k; data.next && (k = Atomics.add(data.next, 0, 1)) < data.indices;) {
      traced.push(trace(core, data.run, k));
      if (performance.now() - sent > 8) post(data.run, traced), traced = [], sent = performance.now();
    }
    if (traced.length) post(data.run, traced);
  };
} else {
  KaldraPage();
}

// --- The page ---------------------------------------------------------------
async function KaldraPage() {
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas'), overlay = $('overlay'), stage = $('stage'), menu = $('menu');
  const picture = canvas.getContext('2d');
  const workers = [];
  let core, page, actions, state, ended = false, stale = true;

  // Strings in and out of the module, and the page's clock.
  const text = (at) => core.UTF8ToString(at);
  const now = () => performance.now();
  function withText(strings, call) {
    const at = strings.map((s) => {
      const size = core.lengthBytesUTF8(s) + 1, p = core._malloc(size);
      core.stringToUTF8(s, p, size);
      return p;
    });
    try { return text(call(...at)); } finally { at.forEach((p) => core._free(p)); }
  }

  // --- Messages, and the end ------------------------------------------------
  const message = $('message');
  // A message box as the window shows one; `then` runs when it is closed.
  function tell(words, then) {
    $('message-text').textContent = words;
    message.onclose = () => { stage.focus(); if (then) then(); };
    if (!message.open) message.showModal();
  }

  // End: the drawing stops at once, the workers with it, and the page says
  // that the program has ended. The canvas keeps what was drawn.
  function end() {
    if (ended) return;
    ended = true;
    if (core) core._kaldra_page_end(page, now());
    workers.forEach((w) => w.worker.terminate());
    closeMenu();
    canvas.setAttribute('aria-busy', 'false');
    document.querySelectorAll('button').forEach((b) => { if (!message.contains(b)) b.disabled = true; });
    $('ended').hidden = false;
    paintOverlay(null);
  }

  // --- The workers and the runs they trace -----------------------------------
  // The page's own thread and a worker per further core (one at least, three
  // at most) share each run's outer indices as the threads of the parallel
  // sweeps share them: in increasing order, each taking the next one not yet
  // taken. The page replays them in order (WebPage::Deliver), so any thread
  // may trace any index. Where the page is isolated from other origins, they
  // take them from a counter in shared memory, as those threads do; elsewhere
  // the page hands them out, two at a time to each worker, so that none
  // waits for the page between two, and takes the others itself.
  const workerCount = Math.min(3, Math.max(1, (navigator.hardwareConcurrency || 2) - 1));
  const shared = self.crossOriginIsolated;
  let runs = [];  // the runs under way, the older first: {id, indices, scene, width, height, next}
  for (let n = 0; n < workerCount; ++n) {
    const w = {worker: new Worker('kaldra.js'), busy: 0, scenes: new Set()};
    w.worker.onmessage = ({data}) => {
      if (ended) return;
      for (const [k, traced] of data.traced) {
        const bytes = new Uint8Array(traced), at = core._malloc(bytes.length);
        core.HEAPU8.set(bytes, at);
        core._kaldra_page_deliver(page, data.run, k, at, bytes.length);
        core._free(at);
      }
      if (!shared) --w.busy, handOut(w);
      pump();
    };
    w.worker.onerror = (e) => fault('A worker failed: ' + e.message);
    workers.push(w);
  }
  // The runs the page has now: a run that ended takes no more indices, a new
  // one goes to the workers.
  function haveRuns(now) {
    now = now.map((r) => runs.find((old) => old.id === r.id) || r);
    for (const r of runs) if (!now.includes(r) && r.next) Atomics.store(r.next, 0, r.indices);
    const alive = now.map((r) => r.id);
    for (const r of now.filter((r) => !runs.includes(r))) {
      const at = core._kaldra_page_run_numbers(page, r.id) / 8;
      r.scene = core.HEAPF64.slice(at, at + core._kaldra_page_numbers_count(page));
      r.handedOut = 0;
      if (!shared) continue;
      r.next = new Int32Array(new SharedArrayBuffer(4));
      for (const w of workers) {
        w.worker.postMessage({run: r.id, scene: r.scene, width: r.width, height: r.height,
                              indices: r.indices, next: r.next, alive});
      }
    }
    runs = now;
  }
  // The page's own thread takes indices as well, in slices of a few
  // milliseconds between which the browser has its turn, so that the page
  // never waits long for them: a small scene's picture is then ready before
  // a worker has even woken up. True when it traced some.
  function traceHere() {
    const start = now();
    let traced = false;
    for (const r of runs) {
      for (let k; now() - start < kTraceSliceMs && (k = take(r)) < r.indices;) {
        try {
          core._kaldra_page_trace_here(page, r.id, k);
        } catch (e) {
          fault('The page failed while tracing: ' + (e.message || e));
          return false;
        }
        traced = true;
      }
    }
    return traced;
  }
  // The next index of run r not taken yet, taken; r.indices when none is left.
  const take = (r) => (shared ? Atomics.add(r.next, 0, 1) : Math.min(r.handedOut++, r.indices));
  const untaken = (r) => (shared ? Atomics.load(r.next, 0) : r.handedOut) < r.indices;
  // The next slice, after whatever the browser has to do (a message to
  // itself, which unlike a timer is not held back).
  const slices = new MessageChannel();
  let sliceAsked = false;
  slices.port1.onmessage = () => { sliceAsked = false; pump(); };
  function handOut(w) {
    while (!shared && w.busy < 2) {
      const run = runs.find(untaken);
      if (!run) return;
      if (!w.scenes.has(run.id)) {
        const alive = runs.map((r) => r.id);
        w.scenes = new Set(alive.filter((id) => w.scenes.has(id)).concat(run.id));
        w.worker.postMessage({run: run.id, scene: run.scene, width: run.width, height: run.height, alive});
      }
      w.worker.postMessage({run: run.id, k: run.handedOut++});
      ++w.busy;
    }
  }

  // --- The drawing's clock: frames, paces, what the workers bring ----------
  let frameWanted = false, framePending = false, wakeTimer = 0, tracing = false, overlayAt = -Infinity;
  // After every command and everything that comes: the instrument's page
  // side starts and replays what it can and says what it waits for. What it
  // shows is read once a frame, or when a command needs it (fresh).
  function pump() {
    if (ended) return;
    const step = () => {
      const next = JSON.parse(text(core._kaldra_page_pump(page, now())));
      if (next.runs) haveRuns(next.runs);
      workers.forEach(handOut);
      return next;
    };
    let next = step();
    if (traceHere()) next = step();
    if (ended) return;
    if (!sliceAsked && runs.some(untaken)) sliceAsked = true, slices.port2.postMessage(0);
    frameWanted = next.frame;
    tracing = next.tracing;
    // Busy at once, so that whoever waits for the picture (a screen reader, a
    // test) never takes the one before; not busy again only once the new
    // picture is painted (fresh, after paintCanvas), which while an edit is
    // traced may be a few frames later.
    if (next.busy) setIf(canvas, 'aria-busy', 'true');
    clearTimeout(wakeTimer);
    if (next.wake !== null) wakeTimer = setTimeout(pump, Math.max(0, next.wake - now()));
    stale = true;
    askFrame();
    if (next.failure) fault(next.failure);
  }
  // A run-time error: told as the window tells it, and the program ends.
  function fault(report) {
    if (ended) return;
    paintCanvas();
    end();
    tell(report);
  }
  function askFrame() {
    if (framePending) return;
    framePending = true;
    requestAnimationFrame(() => {
      framePending = false;
      // While an edit's trace is under way, its picture is what a drag waits
      // for, and every frame the page paints (the line at the bottom left
      // follows the pointer) holds up the workers' records on a machine of
      // few cores: the overlay waits for the picture, but never long.
      if (paintCanvas() || !tracing || now() - overlayAt > kOverlayWhileTracingMs) {
        paintOverlay(fresh());
        overlayAt = now();
      }
      if (frameWanted && !ended) {
        frameWanted = false;
        core._kaldra_page_frame(page);
        pump();
      }
    });
  }

  // --- What the instrument says to show -----------------------------------
  function fresh() {
    if (ended || !stale) return state;
    stale = false;
    state = JSON.parse(text(core._kaldra_page_state(page)));
    // The page's own elements are touched only where they change, which
    // spares the browser a layout per frame while a drag goes on.
    const o = state.overlay;
    setIf(canvas, 'aria-busy', String(state.busy));
    setIf(canvas, 'aria-label', `The diagram of ${state.segments} segments, ${state.scene_label.toLowerCase()}`);
    setIf($('status'), 'textContent', [o.status, o.note].filter((s) => s).join('. '));
    if (document.title !== state.caption) document.title = state.caption;
    stage.style.cursor = kCursors[state.pointer];
    // The hint leaves after a while without any command.
    clearTimeout(overlayTimer);
    if (state.overlay_changes_at !== null) {
      overlayTimer = setTimeout(() => { stale = true; askFrame(); }, state.overlay_changes_at - now() + 1);
    }
    // The address follows the scene once it has settled.
    if (!state.busy && location.hash.slice(1) !== state.link) history.replaceState(null, '', '#' + state.link);
    if (state.exact_version !== exactVersion) {
      exactVersion = state.exact_version;
      exactCurves = JSON.parse(text(core._kaldra_page_exact(page)));
    }
    if (!menu.hidden) syncMenu();
    return state;
  }
  let exactVersion = -1, exactCurves = [], overlayTimer = 0;
  const kCursors = {arrow: 'default', end: 'pointer', middle: 'move', empty: 'crosshair'};
  function setIf(element, what, value) {
    if (what === 'textContent' ? element.textContent !== value : element.getAttribute(what) !== value) {
      if (what === 'textContent') element.textContent = value;
      else element.setAttribute(what, value);
    }
  }

  const kOverlayWhileTracingMs = 30;
  const kTraceSliceMs = 4;

  // The canvas's pixels, one for one, where the view puts them; false when
  // they did not change.
  let paints = 0;
  function paintCanvas() {
    const at = core._kaldra_page_repaint(page);
    if (!at) return false;
    const w = core._kaldra_page_width(page), h = core._kaldra_page_height(page);
    if (canvas.width !== w || canvas.height !== h) {
      const [scale, zoom, left, top] = fresh().overlay.view;
      Object.assign(canvas, {width: w, height: h});
      Object.assign(canvas.style, {width: `${w * zoom}px`, height: `${h * zoom}px`, left: `${left}px`, top: `${top}px`});
    }
    picture.putImageData(new ImageData(new Uint8ClampedArray(core.HEAPU8.buffer, at, 4 * w * h), w, h), 0, 0);
    ++paints;
    return true;
  }

  // The overlay, painted over the canvas on a layer of its own, as the
  // window paints it (app/window_overlay.cpp): the saved and copied pictures
  // are the canvas alone. Its layer is the view, the stage, in which the
  // instrument places the canvas's picture (view: its scale, zoom and
  // corner).
  const ink = overlay.getContext('2d');
  const kBoxFill = 'rgba(32,32,32,0.9)', kBoxBorder = '#808080', kBoxText = '#e6e6e6';
  const kHighlight = 'rgba(255,140,0,0.43)', kProbeMark = 'rgba(235,235,235,0.78)';
  const kProbeHighlight = 'rgba(150,110,255,0.47)', kExact = 'rgba(255,128,0,0.7)';
  const kPreview = 'rgb(255,140,0)';
  let line = 16, view = [1, 1, 0, 0];
  // A place on the canvas in the view; `centre` for places that put a
  // pixel's centre at whole numbers (the exact diagram, the probe).
  const at = (x, y, centre = 0) => [view[2] + (x + centre) * view[0] * view[1],
                                   view[3] + (y + centre) * view[0] * view[1]];
  function box(x, y, w, h, fill = kBoxFill, border = kBoxBorder) {
    ink.fillStyle = fill;
    ink.fillRect(x, y, w, h);
    ink.strokeStyle = border;
    ink.lineWidth = 1;
    ink.strokeRect(x + 0.5, y + 0.5, w - 1, h - 1);
  }
  function lines(x, y, rows, colour = kBoxText) {
    ink.fillStyle = colour;
    rows.forEach((row, k) => ink.fillText(row, x, y + k * line + line / 2));
  }
  // Lines of text in a box beside a point of the view, kept inside it.
  function textBox(rows, [x, y], placeBelow) {
    const w = Math.max(...rows.map((r) => ink.measureText(r).width)) + 16, h = rows.length * line + 8;
    let left = x + 16, top = placeBelow ? y + 16 : y - 12 - h;
    if (left + w > stage.clientWidth) left = placeBelow ? stage.clientWidth - w : x - 12 - w;
    if (placeBelow ? top + h > stage.clientHeight : top < 0) top = placeBelow ? y - 8 - h : y + 12;
    box(left, top, w, h);
    lines(left + 8, top + 4, rows);
  }
  function stroke(colour, width, dash, draw) {
    ink.strokeStyle = colour;
    ink.lineWidth = width;
    ink.lineCap = width > 1 ? 'round' : 'butt';
    ink.setLineDash(dash);
    ink.beginPath();
    draw();
    ink.stroke();
    ink.setLineDash([]);
  }
  const segments = (ends, centre) => () => {
    for (const [x1, y1, x2, y2] of ends) { ink.moveTo(...at(x1, y1, centre)); ink.lineTo(...at(x2, y2, centre)); }
  };
  function legend(rows) {
    const swatch = line - 6, swatches = 4 * (swatch + 3) + 6;
    const names = rows.map((f) => f.name + ': ' + f.colors.map((c) => c[1]).join(', '));
    const w = swatches + Math.max(...names.map((n) => ink.measureText(n).width)) + 20;
    const left = stage.clientWidth - w - 8;
    box(left, 8, w, rows.length * line + 12);
    rows.forEach((family, k) => {
      const y = 14 + k * line;
      family.colors.forEach(([css], c) => {
        ink.fillStyle = css;
        ink.fillRect(left + 10 + c * (swatch + 3), y + 3, swatch, swatch);
      });
      lines(left + 10 + swatches, y, [names[k]]);
    });
  }
  let painted = '';
  function paintOverlay(s) {
    // Painted only when it changed: a layer that does not change costs the
    // browser nothing to show again.
    const ratio = window.devicePixelRatio || 1, w = stage.clientWidth, h = stage.clientHeight;
    const shown = s ? JSON.stringify(s.overlay) + s.exact_version + exactShown(s) : '';
    if (shown === painted && overlay.width === Math.round(w * ratio)) return;
    painted = shown;
    overlay.width = Math.round(w * ratio);
    overlay.height = Math.round(h * ratio);
    ink.setTransform(ratio, 0, 0, ratio, 0, 0);
    if (!s) return;
    const o = s.overlay;
    view = o.view;
    line = o.large ? 30 : 16;
    ink.font = `${o.large ? 24 : 12}px sans-serif`;
    ink.textBaseline = 'middle';
    if (exactShown(s)) {
      stroke(kExact, 1, [], () => {
        for (const [fx, fy, cx, cy, tx, ty] of exactCurves) {
          ink.moveTo(...at(fx, fy, 0.5));
          ink.quadraticCurveTo(...at(cx, cy, 0.5), ...at(tx, ty, 0.5));
        }
      });
    }
    if (o.highlight) stroke(kHighlight, 6, [], segments(o.highlight, 0));
    if (o.preview) stroke(kPreview, 1, [4, 2], segments([o.preview], 0));
    if (o.probe) {
      const p = at(...o.probe.at, 0.5);
      stroke(kProbeHighlight, 6, [], segments(o.probe.highlight, 0.5));
      stroke(kProbeMark, 1, [4, 3], () => ink.arc(...p, o.probe.radius * view[0] * view[1], 0, 2 * Math.PI));
      stroke(kProbeMark, 1, [], () => o.probe.nearest.forEach(([x, y]) => { ink.moveTo(...p); ink.lineTo(...at(x, y, 0.5)); }));
      textBox(o.probe.text, p, false);
    }
    if (o.legend.length) legend(o.legend);
    if (o.note) textBox([o.note], at(...o.note_at), true);
    // The status line, or in its place the hint, white on black as the
    // canvas itself draws.
    for (const [text, fill, colour] of [[o.status, kBoxFill, kBoxText], [o.hint, '#000', '#fff']]) {
      if (!text) continue;
      box(8, h - line - 16, ink.measureText(text).width + 20, line + 8, fill, colour === '#fff' ? '#fff' : kBoxBorder);
      lines(18, h - line - 12, [text], colour);
    }
  }

  // --- Actions -----------------------------------------------------------------
  const actionNamed = (name) => actions.find((a) => a.name === name);
  const exactShown = (s) => s.actions[actionNamed('exact_diagram').id].checked;
  function randomSeed() { return crypto.getRandomValues(new Uint32Array(1))[0]; }
  // The canvas as a PNG, encoded at once. The browser's own asynchronous
  // encoder waits for the page's idle time, which headless Chromium was seen
  // to give only seconds later; a save or copy must not wait on that, and a
  // copy must happen while the key press that asked for it still counts.
  function pictureBlob() {
    const base64 = canvas.toDataURL('image/png').split(',')[1];
    return new Blob([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], {type: 'image/png'});
  }
  function download(blob, name) {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = name;
    a.click();
    setTimeout(() => URL.revokeObjectURL(a.href), 60000);
  }
  function copy(write, what) {
    write().catch((e) => tell(`The ${what} could not be copied: ${e.message}`));
  }
  // Before edits would be lost: save them (a download), discard them, or
  // cancel what was asked; `then` runs when it goes ahead.
  function changesMayGo(then) {
    if (!fresh().modified) return then();
    const ask = $('ask');
    $('ask-text').textContent = `Save the changes to ${state.scene_label}?`;
    ask.onclose = () => {
      stage.focus();
      if (ask.returnValue === 'save') frontEnd.save_scene();
      if (ask.returnValue === 'discard' || (ask.returnValue === 'save' && !fresh().modified)) then();
      pump();
    };
    ask.returnValue = 'cancel';
    ask.showModal();
  }
  // What the page does itself; the instrument does the rest.
  const frontEnd = {
    new_scene: () => changesMayGo(() => core._kaldra_page_show_seed(page, now(), randomSeed(), false)),
    copy_seed: () => copy(() => navigator.clipboard.writeText(fresh().copy_text), 'seed'),
    copy_link: () => copy(() => navigator.clipboard.writeText(location.href), 'link'),
    open_scene: () => changesMayGo(() => $('open-file').click()),
    save_picture: () => download(pictureBlob(), `kaldra-${fresh().scene_name}.png`),
    save_scene: () => {
      const scene = text(core._kaldra_page_scene_file(page));
      if (!scene) return tell('The scene text would not reproduce this scene; nothing was saved.');
      const name = `kaldra-${fresh().scene_name}.scene`;
      download(new Blob([scene], {type: 'text/plain'}), name);
      withText([name], (n) => core._kaldra_page_scene_saved(page, now(), n));
    },
    copy_picture: () => copy(() => navigator.clipboard.write([new ClipboardItem({'image/png': pictureBlob()})]),
                             'picture'),
    // Escape (or Ctrl+Q) during a drag only takes the drag back.
    quit: () => core._kaldra_page_cancel_drag(page, now()) || changesMayGo(end),
  };
  // Every action goes to the instrument, which counts it as touching the
  // page; those it leaves to its front end are done here.
  function act(name) {
    if (ended) return;
    closeMenu();
    const action = actionNamed(name);
    if (action) core._kaldra_page_do(page, now(), action.id);
    if (!action || action.front_end) frontEnd[name]();
    pump();
  }

  // A scene file, from the file picker or dropped on the canvas: drawn, or
  // refused with the reader's words while the scene on the canvas stays.
  async function openFile(file) {
    if (!file || ended) return;
    const problem = withText([file.name, await file.text()],
                             (name, scene) => core._kaldra_page_open(page, now(), name, scene));
    if (problem) tell(problem);
    pump();
  }

  // The scene the address names, or a random one; a fragment that names none
  // is refused with the reader's words.
  function openLink() {
    let fragment = location.hash.slice(1), problem = '';
    try { fragment = decodeURIComponent(fragment); } catch (e) { problem = 'link: ' + e.message; }
    if (!problem && fragment) problem = withText([fragment], (f) => core._kaldra_page_open_link(page, now(), f));
    if (problem || !fragment) core._kaldra_page_show_seed(page, now(), randomSeed(), false);
    pump();
    if (problem) tell(problem);
  }

  // --- Keys --------------------------------------------------------------------
  // A key as the action table writes it: "N", "Ctrl+Shift+S", "Del", "+".
  const kKeyNames = {Escape: 'Esc', Delete: 'Del', ' ': 'Space', ArrowLeft: 'Left', ArrowRight: 'Right',
                     ArrowUp: 'Up', ArrowDown: 'Down'};
  function keyText(e) {
    const key = kKeyNames[e.key] || (e.key.length === 1 ? e.key.toUpperCase() : e.key);
    // Shift makes "+" of "=" on some keyboards; it counts only for letters
    // and named keys.
    const shifted = e.shiftKey && (/^[A-Z]$/.test(key) || key.length > 1);
    return (e.ctrlKey || e.metaKey ? 'Ctrl+' : '') + (e.altKey ? 'Alt+' : '') + (shifted ? 'Shift+' : '') + key;
  }
  function onKey(e) {
    if (ended || message.open || $('ask').open || e.defaultPrevented) return;
    const key = keyText(e);
    if (!menu.hidden) return menuKey(e, key);
    if (key === 'Alt+E') { e.preventDefault(); return changesMayGo(end); }
    if (key === 'Ctrl+C' && String(getSelection())) return;  // copying text, not the picture
    if (e.target.tagName === 'BUTTON' && (key === 'Space' || key === 'Enter')) return;
    const states = fresh().actions;
    const action = actions.find((a) => a.keys.split('; ').includes(key) && states[a.id].shown && states[a.id].enabled);
    if (!action) return;
    e.preventDefault();
    act(action.name);
  }

  // --- The menu ----------------------------------------------------------------
  // The window's context menu, in its groups, under the scene's name and the
  // pace; opened by a right click on the canvas, the Menu button, or the
  // keyboard's menu key.
  const kGroups = [['scene_label'], ['copy_seed', 'copy_link'], ['new_scene', 'redraw'],
                   ['pace_label', 'slower', 'faster', 'full_speed', 'pause', 'step_forward', 'step_back',
                    'step_to_start'],
                   ['open_scene', 'save_picture', 'save_scene', 'copy_picture'],
                   ['edit_mode', 'undo', 'redo', 'delete_segment'],
                   ['legend', 'exact_diagram', 'probe', 'projector'], ['quit']];
  const menuButton = $('menu-button');
  let menuItems = [];
  function buildMenu() {
    for (const group of kGroups) {
      if (menu.childElementCount) menu.append(Object.assign(document.createElement('hr'), {role: 'separator'}));
      for (const name of group) {
        const item = document.createElement('button');
        item.dataset.name = name;
        item.tabIndex = -1;
        const action = actionNamed(name);
        if (name.endsWith('_label')) {
          item.disabled = true;
          item.setAttribute('role', 'menuitem');
        } else {
          item.innerHTML = '<span></span>';
          label(item, name === 'copy_link' ? 'Copy lin&k' : action.text);
          if (action) {
            item.insertAdjacentHTML('beforeend', `<kbd>${action.keys.replace('; ', ', ')}</kbd>`);
            item.title = action.help;
            if (action.keys) item.setAttribute('aria-keyshortcuts', action.keys.replace(/; /g, ' ').replace(/Esc/g, 'Escape').replace(/Del/g, 'Delete'));
          }
          item.onclick = () => act(name);
        }
        menu.append(item);
      }
    }
    menuItems = [...menu.querySelectorAll('button')];
  }
  // The letter after '&' is the entry's access key, underlined.
  function label(item, text) {
    const at = text.indexOf('&');
    item.firstChild.textContent = text.replace('&', '');
    if (at < 0) return;
    item.dataset.key = text[at + 1].toUpperCase();
    item.firstChild.innerHTML = `${text.slice(0, at)}<u>${text[at + 1]}</u>${text.slice(at + 2)}`;
  }
  function syncMenu() {
    for (const item of menuItems) {
      const name = item.dataset.name, action = actionNamed(name);
      if (name.endsWith('_label')) { item.textContent = state[name]; continue; }
      if (!action) continue;
      const s = state.actions[action.id];
      label(item, s.text);
      item.hidden = !s.shown;
      item.disabled = !s.enabled;
      item.setAttribute('role', s.checked === null ? 'menuitem' : 'menuitemcheckbox');
      if (s.checked !== null) item.setAttribute('aria-checked', String(s.checked));
    }
  }
  function openMenu(x, y) {
    if (ended) return;
    fresh();
    syncMenu();
    menu.hidden = false;
    const w = menu.offsetWidth, h = menu.offsetHeight;
    menu.style.left = Math.max(0, Math.min(x, innerWidth - w)) + scrollX + 'px';
    menu.style.top = Math.max(0, Math.min(y, innerHeight - h)) + scrollY + 'px';
    menuButton.setAttribute('aria-expanded', 'true');
    moveInMenu(1);
  }
  function closeMenu() {
    if (menu.hidden) return;
    menu.hidden = true;
    menuButton.setAttribute('aria-expanded', 'false');
    if (menu.contains(document.activeElement)) stage.focus();
  }
  // Focus to the entry `step` on that can be chosen, the first if none has it.
  function moveInMenu(step) {
    const usable = menuItems.filter((i) => !i.hidden && !i.disabled);
    const at = usable.indexOf(document.activeElement);
    const next = at < 0 ? (step > 0 ? 0 : usable.length - 1) : (at + step + usable.length) % usable.length;
    if (usable.length) usable[next].focus();
  }
  function menuKey(e, key) {
    e.preventDefault();
    if (key === 'Esc' || key === 'Tab') return closeMenu();
    if (key === 'Down' || key === 'Up') return moveInMenu(key === 'Down' ? 1 : -1);
    if (key === 'Enter' || key === 'Space') return document.activeElement.click();
    const item = menuItems.find((i) => i.dataset.key === key && !i.hidden && !i.disabled);
    if (item) item.click();
  }

  // --- The pointer -----------------------------------------------------------
  function pointer(what, e) {
    if (ended) return;
    const r = stage.getBoundingClientRect();
    core._kaldra_page_pointer(page, now(), what, e.clientX - r.left - stage.clientLeft, e.clientY - r.top - stage.clientTop);
    pump();
  }
  stage.addEventListener('pointermove', (e) => pointer(1, e));
  stage.addEventListener('pointerdown', (e) => {
    if (e.button !== 0 || e.target !== overlay) return;
    stage.setPointerCapture(e.pointerId);
    pointer(2, e);
  });
  stage.addEventListener('pointerup', (e) => { if (e.button === 0) pointer(3, e); });
  stage.addEventListener('pointerleave', () => {
    if (ended) return;
    core._kaldra_page_pointer(page, now(), 4, 0, 0);
    pump();
  });
  stage.addEventListener('contextmenu', (e) => {
    e.preventDefault();
    if (e.target === overlay) pointer(0, e);
    const r = e.button === 2 ? {left: e.clientX, top: e.clientY} : stage.getBoundingClientRect();
    openMenu(r.left, r.top);
  });
  stage.addEventListener('dragover', (e) => { e.preventDefault(); e.dataTransfer.dropEffect = 'copy'; });
  stage.addEventListener('drop', (e) => { e.preventDefault(); openFile(e.dataTransfer.files[0]); });
  $('open-file').addEventListener('change', (e) => { openFile(e.target.files[0]); e.target.value = ''; });
  menuButton.addEventListener('click', () => {
    if (!menu.hidden) return closeMenu();
    const r = menuButton.getBoundingClientRect();
    openMenu(r.left, r.bottom);
  });
  document.addEventListener('pointerdown', (e) => { if (!menu.contains(e.target) && e.target !== menuButton) closeMenu(); });
  document.addEventListener('keydown', onKey);
  $('end').addEventListener('click', () => changesMayGo(end));
  addEventListener('hashchange', () => {
    if (!ended && location.hash.slice(1) !== fresh().link) changesMayGo(openLink);
  });
  // Leaving the page with edits not saved: the browser asks.
  addEventListener('beforeunload', (e) => { if (!ended && fresh().modified) e.preventDefault(); });

  // --- Start -----------------------------------------------------------------
  try {
    core = await KaldraCore();
  } catch (e) {
    end();
    return tell('Kaldra could not start: ' + e.message);
  }
  page = core._kaldra_page_new(canvas.width, canvas.height);
  actions = JSON.parse(text(core._kaldra_actions()));
  buildMenu();
  stage.focus();
  openLink();
  // For the tests and the benchmark: the instrument's state as the page last
  // read it, and how many times the canvas has been painted.
  window.kaldra = {state: fresh, paints: () => paints};
}
