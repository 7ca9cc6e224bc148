// 澜石 in the browser: the strength evaluation's view (GB/T 50107-2010),
// over the module's form (lanshi.evaluationForm): its entries, the table of
// groups (three specimens and the group value; a spreadsheet's cells paste
// from the cell pasted into), the verdict, the figures, each condition and
// the status line, and the desktop window's commands from the module's table
// in its toolbar, its context menu and its keys. The form decides
// everything; this view draws what it answers, as jgj55view.js does.
"use strict";

(function () {
  const page = (globalThis.lanshiPage = globalThis.lanshiPage || {});

  // Whether the bytes are an evaluation file (its "standard"), so that a
  // file picked in another view comes here.
  page.isEvaluationFile = function (bytes) {
    try {
      const parsed = JSON.parse(new TextDecoder().decode(bytes));
      return parsed !== null && parsed.standard === "GB/T 50107-2010";
    } catch (error) {
      return false;
    }
  };

  page.evaluationView = function (shell) {
    const { $, built, files } = shell;
    const kind = "gbt50107";
    const columns = ["试件 1", "试件 2", "试件 3", "代表值"];
    const minimumRows = 12;

    let form = null;
    let handle = null;
    const saves = files.saveQueue();

    const toolbar = $("gbt50107-commands");
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

    // The entries above the table, each sent to the form as it is typed.
    function buildEntries() {
      const host = $("gbt50107-entries");
      host.replaceChildren();
      for (const field of shell.lanshi.evaluationFields()) {
        const row = document.createElement("label");
        row.className = "field";
        row.dataset.key = field.key;
        const caption = document.createElement("span");
        caption.textContent = field.caption;
        let input;
        if (field.kind === "choice") {
          input = document.createElement("select");
          field.choices.forEach((choice, index) => {
            const option = document.createElement("option");
            option.value = String(index);
            option.textContent = choice;
            input.append(option);
          });
        } else if (field.kind === "values") {
          input = document.createElement("textarea");
          input.rows = 2;
          input.placeholder = "σ0 由上一期的代表值算出时填写（至少 45 组），可直接粘贴";
        } else {
          input = document.createElement("input");
          input.type = "text";
          input.autocomplete = "off";
          input.spellcheck = false;
        }
        input.id = `gbt50107-${field.key}`;
        input.addEventListener(field.kind === "choice" ? "change" : "input", () => {
          showState(form.set(field.key, field.kind === "choice" ? Number(input.value) : input.value));
        });
        const unit = document.createElement("span");
        unit.className = "unit";
        unit.textContent = field.unit || "";
        const why = document.createElement("span");
        why.className = "why";
        row.append(caption, input, unit, why);
        host.append(row);
      }
    }

    // The table's rows: as many as the form holds and one more to type in.
    const table = $("gbt50107-groups");
    function ensureRows(count) {
      const body = table.tBodies[0];
      while (body.rows.length < count) {
        const r = body.rows.length;
        const tr = document.createElement("tr");
        const number = document.createElement("th");
        number.textContent = String(r + 1);
        tr.append(number);
        for (let c = 0; c < columns.length; c++) {
          const td = document.createElement("td");
          const input = document.createElement("input");
          input.type = "text";
          input.inputMode = "decimal";
          input.autocomplete = "off";
          input.dataset.row = String(r);
          input.dataset.column = String(c);
          input.setAttribute("aria-label", `第 ${r + 1} 组${columns[c]}`);
          td.append(input);
          tr.append(td);
        }
        body.append(tr);
      }
    }
    table.addEventListener("input", (event) => {
      const input = event.target;
      if (input.dataset.row !== undefined) {
        showState(form.setCell(Number(input.dataset.row), Number(input.dataset.column), input.value));
      }
    });
    // A spreadsheet's cells: from the cell pasted into, across and down.
    table.addEventListener("paste", (event) => {
      const input = event.target;
      const text = event.clipboardData ? event.clipboardData.getData("text/plain") : "";
      if (input.dataset.row === undefined || !/[\t\n\r,;]/.test(text)) {
        return; // one value: the field's own paste
      }
      event.preventDefault();
      showState(form.paste(Number(input.dataset.row), Number(input.dataset.column), text));
    });

    function showTable(state) {
      ensureRows(Math.max(minimumRows, state.rows.length + 1));
      for (const input of table.querySelectorAll("input")) {
        const row = state.rows[Number(input.dataset.row)];
        const cell = row ? row[Number(input.dataset.column)] : { text: "" };
        if (input.value !== cell.text) {
          input.value = cell.text;
        }
        input.placeholder = cell.placeholder || "";
        input.title = cell.tip || "";
        input.classList.toggle("marked", Boolean(cell.marked));
      }
    }

    function showState(state) {
      if (!state || !state.rows) {
        return;
      }
      for (const row of $("gbt50107-entries").querySelectorAll(".field")) {
        const key = row.dataset.key;
        const input = row.querySelector("input, select, textarea");
        const value = String(state.values[key]);
        if (input.value !== value) {
          input.value = value;
        }
        const why = state.marks[key];
        row.classList.toggle("marked", Boolean(why));
        row.querySelector(".why").textContent = why || "";
      }
      showTable(state);
      const verdict = $("gbt50107-verdict");
      verdict.textContent = state.evaluated ? state.verdict : "尚未评定";
      verdict.className = state.evaluated ? (state.passed ? "passed" : "failed") : "";
      const figures = $("gbt50107-figures").tBodies[0];
      figures.replaceChildren();
      for (const figure of state.figures) {
        const tr = document.createElement("tr");
        for (const text of [figure.caption, figure.text]) {
          const td = document.createElement("td");
          td.textContent = text;
          tr.append(td);
        }
        figures.append(tr);
      }
      const conditions = $("gbt50107-conditions");
      conditions.replaceChildren();
      for (const condition of state.conditions) {
        const li = document.createElement("li");
        li.textContent = condition.text;
        li.className = condition.holds ? "passed" : "failed";
        conditions.append(li);
      }
      const status = $("gbt50107-status");
      status.textContent = state.status.text;
      status.classList.toggle("error", state.status.error);
      const title = state.title + (state.modified ? "*" : "");
      $("gbt50107-title").textContent = title;
      if (shell.currentView() === kind) {
        document.title = title;
      }
    }

    function fresh() {
      if (form) {
        form.delete();
      } else {
        buildEntries();
      }
      form = shell.lanshi.evaluationForm(shell.format);
      handle = null;
      showState(form.state());
    }

    async function mayReplace() {
      if (!form) {
        return true;
      }
      const asked = form.mayReplace();
      if (!asked.ask) {
        return true;
      }
      const answer = await shell.showBox(asked.box);
      if (answer === "save") {
        return save(false);
      }
      return answer === "discard";
    }

    // 新建强度评定… of the other windows.
    async function newEvaluation() {
      if (await mayReplace()) {
        fresh();
      }
      shell.showView(kind);
    }

    // An evaluation file picked in another view.
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

    // A design of another kind goes to the classic window, which sends a
    // JGJ 55-2011 design on to its view.
    async function openDesign() {
      if (!(await mayReplace())) {
        return;
      }
      const file = await files.pickDesign();
      if (file && openInForm(file).elsewhere) {
        await shell.views.classic.openFromElsewhere(file);
      }
    }

    files.acceptDrops($("gbt50107"), async (file) => {
      if (form && (await mayReplace()) && openInForm(file).elsewhere) {
        await shell.views.classic.openFromElsewhere(file);
      }
    });

    function save(asNew) {
      const evaluation = form;
      return saves(() => saveNow(evaluation, asNew));
    }

    async function saveNow(evaluation, asNew) {
      if (evaluation !== form) {
        return false;
      }
      const suggested = evaluation.state().fileName || "强度评定.lanshi";
      let target = asNew ? null : handle;
      if (!target) {
        target = await files.pickSaveTarget(suggested);
        if (target === undefined) {
          return false;
        }
      }
      const saved = evaluation.save();
      showState(saved.state);
      if (!saved.bytes) {
        return false; // the cell the file cannot keep is named
      }
      const fileName = target ? target.name : suggested;
      let refused = null;
      if (target) {
        refused = await files.writeInPlace(target, saved.bytes);
      } else {
        files.download(saved.bytes, fileName);
      }
      const after = evaluation.saved(fileName, refused === null ? undefined : refused);
      if (evaluation === form) {
        if (refused === null && target) {
          handle = target;
        }
        showState(after.state);
      }
      return refused === null;
    }

    // 导入 CSV…: a CSV file's rows after the table's.
    function importCsv() {
      const picker = document.createElement("input");
      picker.type = "file";
      picker.accept = ".csv,.txt,text/csv,text/plain";
      picker.addEventListener("change", async () => {
        const file = picker.files[0];
        if (file) {
          showState(form.importCsv(await file.text(), file.name));
        }
      });
      picker.click();
    }

    // 删除所选行: the row of the cell with the focus.
    function removeRows() {
      const focused = document.activeElement;
      if (focused && focused.dataset && focused.dataset.row !== undefined) {
        showState(form.removeRows(Number(focused.dataset.row), 1));
      }
    }

    const commands = {
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
      importCsv: () => importCsv(),
      removeRows: () => removeRows(),
      openGuide: () => shell.openGuide(),
      showClassic: () => shell.views.classic.show(),
    };

    const reportDocument = {
      kind,
      view: kind,
      commands,
      report: (options) => form.report(options),
      showState,
      refused: async () => undefined,
      copied: () => showState(form.copied().state),
    };

    return {
      kind,
      commands,
      newEvaluation,
      openFile,
      menuArea: $("gbt50107"),
      takesMenu: (target) => form !== null && !target.closest("input, select, textarea, button"),
      title: () => $("gbt50107-title").textContent,
    };
  };
})();
