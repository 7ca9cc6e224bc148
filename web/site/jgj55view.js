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
        if (input.tagName === "INPUT") {
          input.placeholder = (state.placeholders && state.placeholders[key]) || "";
        }
        input.title = (state.tips && state.tips[key]) || "";
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

    const commands = {
      newDesign: () => newDesign(),
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
