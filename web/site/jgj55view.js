// 澜石 in the browser: the JGJ 55-2011 view, over the module's form
// (lanshi.jgj55Form): its fields in their groups, the live results, the
// marks and the status line, and the desktop window's commands from the
// module's table in its toolbar, its context menu and its keys. The form
// decides everything; this view draws what it answers.
"use strict";

(function () {
  const page = (globalThis.lanshiPage = globalThis.lanshiPage || {});

  page.jgj55View = function (shell) {
    const { $, built, files } = shell;
    const kind = "jgj55";

    let form = null;
    let handle = null; // where 保存设计 writes in place, where the browser allows
    const saves = files.saveQueue();
    const warningColour = "#b9770e";

    // The toolbar: the window's commands as the module names them, the keys
    // in their tip; then the way back to the classic window.
    const toolbar = $("jgj55-commands");
    for (const command of built.commands[kind]) {
      const button = document.createElement("button");
      button.type = "button";
      button.dataset.command = command.name;
      button.textContent = command.text;
      if (command.keys) {
        button.title = command.keys;
        button.setAttribute("aria-keyshortcuts", command.keys.replace(/Ctrl/g, "Control"));
      }
      toolbar.append(button);
    }

    // The form's inputs in its groups and order: a text field for a number,
    // a list for a choice; each keystroke designs again in the module.
    function buildFields() {
      const host = $("jgj55-fields");
      host.replaceChildren();
      const groups = new Map();
      for (const field of shell.lanshi.jgj55Fields()) {
        let group = groups.get(field.group);
        if (!group) {
          group = document.createElement("fieldset");
          const legend = document.createElement("legend");
          legend.textContent = field.group;
          group.append(legend);
          groups.set(field.group, group);
          host.append(group);
        }
        const row = document.createElement("label");
        row.className = "field";
        row.dataset.key = field.key;
        const caption = document.createElement("span");
        caption.textContent = field.caption;
        let input;
        if (field.kind === "choice") {
          input = document.createElement("select");
          for (const choice of field.choices) {
            const option = document.createElement("option");
            option.value = choice;
            option.textContent = choice;
            input.append(option);
          }
        } else {
          input = document.createElement("input");
          input.type = "text";
          input.autocomplete = "off";
          input.spellcheck = false;
        }
        input.id = `jgj55-${field.key}`;
        input.name = field.key;
        input.addEventListener(field.kind === "choice" ? "change" : "input", () => {
          const state = form.set(field.key, input.value);
          if (!state.error) {
            showState(state);
          }
        });
        const unit = document.createElement("span");
        unit.className = "unit";
        unit.textContent = field.unit || "";
        const why = document.createElement("span");
        why.className = "why";
        row.append(caption, input, unit, why);
        group.append(row);
      }
    }

    function showState(state) {
      if (!state || !state.values) {
        return;
      }
      for (const row of $("jgj55-fields").querySelectorAll(".field")) {
        const key = row.dataset.key;
        const input = row.querySelector("input, select");
        const value = state.values[key];
        if (value !== undefined && input.value !== value) {
          input.value = value;
        }
        // An empty field shows the figure the design takes alone, so that it
        // fits; its title names the table it comes from.
        const full = (state.placeholders && state.placeholders[key]) || "";
        if (input.tagName === "INPUT") {
          input.placeholder = (state.greyed && state.greyed[key]) || full;
        }
        input.title = [full, (state.tips && state.tips[key]) || ""].filter((t) => t !== "").join("\n");
        const why = state.marks && state.marks[key];
        row.classList.toggle("marked", Boolean(why));
        // What to look at but not refused: a ⚠ and its words, in colour.
        const warning = !why && state.warnings && state.warnings[key];
        const mark = row.querySelector(".why");
        mark.textContent = why || (warning ? `⚠ ${warning}` : "");
        mark.style.color = warning ? warningColour : "";
      }
      const table = $("jgj55-results");
      table.caption.textContent = state.results.length ? state.results[0].group : "";
      if (state.noteCount) {
        const count = document.createElement("span");
        count.className = "note-count";
        count.style.color = warningColour;
        count.textContent = `　⚠ ${state.noteCount}`;
        count.title = (state.notes || []).map((n) => n.text).join("\n");
        table.caption.append(count);
      }
      // With the day's moistures the construction mix and the trial batch
      // stand beside the design's masses, under a heading row, as on the
      // desktop.
      const wet = state.results.some((r) => r.construction);
      const head = table.tHead || table.createTHead();
      head.replaceChildren();
      if (wet) {
        const tr = head.insertRow();
        for (const text of ["", "计算配合比", "", "", "施工配合比", state.trialTitle || ""]) {
          const th = document.createElement("th");
          th.textContent = text;
          tr.append(th);
        }
      }
      const body = table.tBodies[0];
      body.replaceChildren();
      for (const result of state.results) {
        const tr = document.createElement("tr");
        tr.id = `jgj55-result-${result.key}`;
        for (const text of [result.caption, result.text, result.unit || ""]) {
          const td = document.createElement("td");
          td.textContent = text;
          tr.append(td);
        }
        tr.title = result.warning ? `${result.warning}\n${result.tip || ""}` : result.tip || "";
        const mark = document.createElement("td");
        mark.className = "mark";
        mark.style.color = warningColour;
        mark.textContent = result.warning ? "⚠" : "";
        mark.title = result.warning || "";
        tr.append(mark);
        if (wet) {
          for (const text of [result.construction || "", result.trial || ""]) {
            const td = document.createElement("td");
            td.textContent = text;
            tr.append(td);
          }
        }
        body.append(tr);
      }
      const status = $("jgj55-status");
      status.textContent = state.status ? state.status.text : "";
      status.classList.toggle("error", Boolean(state.status && state.status.error));
      // The title with the mark of unsaved changes, as the desktop's.
      const title = state.title + (state.modified ? "*" : "");
      $("jgj55-title").textContent = title;
      if (shell.currentView() === kind) {
        document.title = title;
      }
    }

    // A new form in place of the one before (asked about already).
    function fresh() {
      if (form) {
        form.delete();
      } else {
        buildFields();
      }
      form = shell.lanshi.jgj55Form(shell.format);
      handle = null;
      showState(form.state());
      refillTrials();
    }

    // Before another design replaces the form's: the module asks about
    // unsaved changes, as the desktop window does; 保存 saves first, 取消
    // stops.
    async function mayReplace() {
      return !form || shell.mayGoOn(form.mayReplace(), () => save(false));
    }

    // Before the session ends (退出 in the classic window): the form's own
    // question, shown over the form it concerns; true when it may close.
    async function mayClose() {
      if (!form) {
        return true;
      }
      const question = form.mayClose();
      if (!question.ask) {
        return true;
      }
      shell.showView(kind);
      return shell.mayGoOn(question, () => save(false));
    }

    // The session ended: the form goes with it.
    function close() {
      if (form) {
        form.delete();
        form = null;
        handle = null;
      }
    }

    // 新建 JGJ 55-2011 设计 of the classic window: a new form, once the one
    // before may go; else that one, as it stands.
    async function newDesign() {
      if (await mayReplace()) {
        fresh();
      }
      shell.showView(kind);
    }

    // A design file picked elsewhere (the classic window) that is a JGJ
    // 55-2011 design: the form's question first; opened, or the status line
    // says why with the form as it was.
    async function openFile(file) {
      if (!(await mayReplace())) {
        return;
      }
      if (!form) {
        fresh();
      }
      shell.showView(kind);
      openInForm(file);
    }

    function openInForm(file) {
      const opened = form.open(file.bytes, file.name);
      if (opened.opened) {
        handle = file.handle || null;
      }
      showState(opened.state);
      refillTrials();
      return opened;
    }

    // A file picked or dropped in this view, after the form's question: a
    // classic design goes to the classic window (which asks about its own
    // changes); a file the form refuses leaves it as it was.
    async function openHere(file) {
      const opened = openInForm(file);
      if (opened.elsewhere === "classic") {
        await shell.views.classic.openFromElsewhere(file);
      }
    }

    async function openDesign() {
      if (!(await mayReplace())) {
        return;
      }
      const file = await files.pickDesign();
      if (file) {
        await openHere(file);
      }
    }

    files.acceptDrops($("jgj55"), async (file) => {
      if (form && (await mayReplace())) {
        await openHere(file);
      }
    });

    // 保存设计 (or 另存为 when `asNew`), one at a time: true when written.
    function save(asNew) {
      const design = form;
      return saves(() => saveNow(design, asNew));
    }

    async function saveNow(design, asNew) {
      if (design !== form) {
        return false; // replaced meanwhile
      }
      const suggested = design.state().fileName || "JGJ55设计.lanshi";
      let target = asNew ? null : handle;
      if (!target) {
        target = await files.pickSaveTarget(suggested);
        if (target === undefined) {
          return false; // cancelled
        }
      }
      const saved = design.save();
      showState(saved.state);
      if (!saved.bytes) {
        return false; // the field that holds no number is marked
      }
      const fileName = target ? target.name : suggested;
      let refused = null;
      if (target) {
        refused = await files.writeInPlace(target, saved.bytes);
      } else {
        files.download(saved.bytes, fileName);
      }
      // Refused: the status line says why, as the desktop's does.
      const after = design.saved(fileName, refused === null ? undefined : refused);
      if (design === form) {
        if (refused === null && target) {
          handle = target;
        }
        showState(after.state);
      }
      return refused === null;
    }

    // 试配、调整…: the trials typed below the form, worked out by the module
    // as one types, kept with the design; the plot drawn here from its fit.
    function trialTexts() {
      const texts = { rows: [] };
      for (const input of $("jgj55-trial-fields").querySelectorAll("input")) {
        texts[input.dataset.trial] = input.value;
      }
      for (const tr of $("jgj55-trial-rows").tBodies[0].rows) {
        texts.rows.push(Array.from(tr.querySelectorAll("input"), (input) => input.value));
      }
      return texts;
    }

    function fillTrials(texts) {
      for (const input of $("jgj55-trial-fields").querySelectorAll("input")) {
        input.value = texts[input.dataset.trial] || "";
      }
      const body = $("jgj55-trial-rows").tBodies[0];
      body.replaceChildren();
      texts.rows.forEach((row, index) => {
        const tr = document.createElement("tr");
        const number = document.createElement("td");
        number.textContent = String(index + 1);
        tr.append(number);
        for (const text of row) {
          const td = document.createElement("td");
          const input = document.createElement("input");
          input.type = "text";
          input.autocomplete = "off";
          input.value = text;
          td.append(input);
          tr.append(td);
        }
        body.append(tr);
      });
    }

    function drawPlot(plot) {
      const svg = $("jgj55-trial-plot");
      svg.replaceChildren();
      const ns = "http://www.w3.org/2000/svg";
      const add = (name, attributes, text) => {
        const node = document.createElementNS(ns, name);
        for (const [key, value] of Object.entries(attributes)) {
          node.setAttribute(key, String(value));
        }
        if (text !== undefined) {
          node.textContent = text;
        }
        svg.append(node);
        return node;
      };
      if (!plot) {
        add("text", { x: 12, y: 110 }, "给出至少三组强度后显示强度与胶水比的关系");
        return;
      }
      const xs = plot.points.map((p) => p.binderWater).concat([plot.binderWater]);
      const ys = plot.points.map((p) => p.strength).concat([plot.fcu0]);
      const range = (values) => {
        const low = Math.min(...values);
        const high = Math.max(...values);
        const margin = Math.max((high - low) * 0.1, 0.05 * Math.max(1, high));
        return [low - margin, high + margin];
      };
      const [x0, x1] = range(xs);
      const [y0, y1] = range(ys);
      const left = 40, right = 350, top = 10, bottom = 190;
      const px = (x) => left + ((x - x0) / (x1 - x0)) * (right - left);
      const py = (y) => bottom - ((y - y0) / (y1 - y0)) * (bottom - top);
      add("rect", { x: left, y: top, width: right - left, height: bottom - top, fill: "none", stroke: "#333" });
      add("text", { x: 160, y: 212 }, "胶水比 B/W");
      add("text", { x: 2, y: 20 }, "MPa");
      // The fitted line, inside the frame.
      const clip = add("clipPath", { id: "jgj55-trial-clip" });
      const frame = document.createElementNS(ns, "rect");
      for (const [key, value] of Object.entries({ x: left, y: top, width: right - left, height: bottom - top })) {
        frame.setAttribute(key, String(value));
      }
      clip.append(frame);
      add("line", { x1: px(x0), y1: py(plot.a + plot.b * x0), x2: px(x1), y2: py(plot.a + plot.b * x1),
                    stroke: "#2a6fb0", "stroke-width": 2, "clip-path": "url(#jgj55-trial-clip)" });
      add("line", { x1: left, y1: py(plot.fcu0), x2: right, y2: py(plot.fcu0), stroke: "#a00", "stroke-dasharray": "4 3" });
      add("line", { x1: px(plot.binderWater), y1: top, x2: px(plot.binderWater), y2: bottom,
                    stroke: "#a00", "stroke-dasharray": "4 3" });
      add("text", { x: left + 4, y: py(plot.fcu0) - 4, fill: "#a00" }, "fcu,0");
      for (const p of plot.points) {
        add("circle", { cx: px(p.binderWater), cy: py(p.strength), r: 3.5, fill: "#000" });
      }
    }

    function showTrials(answer, refill) {
      if (!answer || answer.error) {
        return;
      }
      if (refill) {
        fillTrials(answer.texts);
      }
      $("jgj55-trial-problem").textContent = answer.problem;
      $("jgj55-trial-chapter").srcdoc = answer.html;
      drawPlot(answer.plot);
      showState(answer.state);
    }

    // Another design in the form: its own trials in the fields.
    function refillTrials() {
      if (!$("jgj55-trials").hidden) {
        showTrials(form.trials(), true);
      }
    }

    function openTrials() {
      $("jgj55-trials").hidden = false;
      showTrials(form.trials(), true);
    }

    $("jgj55-trials").addEventListener("input", () => {
      showTrials(form.trials(trialTexts()), false);
    });
    // A design field changed: the mixes of the trials shown again.
    $("jgj55-fields").addEventListener("input", () => {
      if (!$("jgj55-trials").hidden) {
        showTrials(form.trials(), false);
      }
    });
    $("jgj55-fields").addEventListener("change", () => {
      if (!$("jgj55-trials").hidden) {
        showTrials(form.trials(), false);
      }
    });

    const commands = {
      newDesign: () => newDesign(),
      trialMixes: () => openTrials(),
      openDesign: () => openDesign(),
      saveDesign: () => save(false),
      saveDesignAs: () => save(true),
      previewReport: () => shell.report.open(reportDocument, "preview"),
      exportReportPdf: async () => {
        if (await shell.report.open(reportDocument, "pdf")) {
          shell.report.print();
        }
      },
      copyReport: async () => {
        const answer = form.report({ date: shell.today(), use: "copy" });
        showState(answer.state);
        if (answer.html && (await shell.report.copy(answer))) {
          showState(form.copied().state);
        }
      },
      mixNotice: () => shell.notice.open(noticeDocument),
      // 导入强度标准差…: the σ an evaluation file gives the next design.
      importSigma: async () => {
        const file = await files.pickDesign();
        if (file) {
          showState(form.importSigma(file.bytes, file.name));
        }
      },
      newEvaluation: () => shell.views.gbt50107.newEvaluation(),
      openGuide: () => shell.openGuide(),
      showClassic: () => shell.views.classic.show(),
    };

    // The form's design as the report view sees it: without a design the
    // status line says why.
    const reportDocument = {
      kind,
      view: kind,
      commands,
      report: (options) => form.report(options),
      showState,
      refused: async () => undefined,
      copied: () => showState(form.copied().state),
    };

    // The form's design as 配合比通知单… sees it.
    const noticeDocument = {
      kind,
      view: kind,
      commands,
      noticeFields: () => form.noticeFields(),
      notice: (options) => form.notice(options),
      showState,
      fileName: () => form.state().fileName,
    };

    return {
      kind,
      commands,
      newDesign,
      openFile,
      mayClose,
      close,
      // Whether the form holds changes that leaving would lose.
      unsaved: () => form !== null && form.mayClose().ask,
      menuArea: $("jgj55"),
      takesMenu: (target) => form !== null && !target.closest("input, select, button"),
      title: () => $("jgj55-title").textContent,
    };
  };
})();
