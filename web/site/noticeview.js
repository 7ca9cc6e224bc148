// 澜石 in the browser: 配合比通知单… of either design, shared by both views.
// The notice's fields are asked in one dialog, the desktop's (its fields,
// captions and units are the module's table); what the user gives is kept by
// the design (and saved with it; the caption marks the change), and the
// notice, the module's HTML, is shown in a view of its own, printed through
// the browser on A4, copied, or saved as an HTML file. A design without a
// mix is refused before anything is asked, as on the desktop.
//
// A design is given by its view as
//   {kind, view, commands, noticeFields() → {fields, refusal},
//    notice(options) → answer, showState(state), fileName()}
// where noticeFields and notice are the module's w.noticeFields/w.notice or
// f.noticeFields/f.notice, view the name of the view to go back to, commands
// that view's.
"use strict";

(function () {
  const page = (globalThis.lanshiPage = globalThis.lanshiPage || {});

  page.noticeView = function (shell) {
    const $ = shell.$;
    const dialog = $("noticeDialog");
    const form = $("noticeForm");
    const rows = $("noticeFields");
    const problem = $("noticeProblem");

    let owner = null; // the design whose notice is shown
    let shown = null; // the notice shown: {text, html}

    // The dialog's rows from the module's table, the design's details in them.
    function fill(fields) {
      rows.replaceChildren();
      for (const field of fields) {
        const row = document.createElement("label");
        row.className = "field";
        const caption = document.createElement("span");
        caption.textContent = `${field.caption}：`;
        const input = document.createElement("input");
        input.type = "text";
        input.name = field.key;
        input.id = `notice-${field.key}`;
        input.value = field.text;
        input.autocomplete = "off";
        input.spellcheck = false;
        if (field.kind === "number") {
          input.inputMode = "decimal";
          input.size = 6;
        } else {
          input.size = 28;
        }
        const unit = document.createElement("span");
        unit.className = "unit";
        unit.textContent = field.unit;
        row.append(caption, input, unit);
        rows.append(row);
      }
    }

    function showProblem(text, entry) {
      problem.textContent = text || "";
      for (const input of rows.querySelectorAll("input")) {
        input.setAttribute("aria-invalid", String(Boolean(text) && input.name === entry));
      }
    }

    // The dialog, modal: resolves to the notice's answer once the design
    // gave one, or null when the user cancels (nothing more is kept). A
    // value the module refuses is said in the dialog, which stays open.
    function ask(design, fields) {
      fill(fields);
      showProblem("");
      return new Promise((resolve) => {
        const finish = (answer) => {
          dialog.removeEventListener("cancel", onCancel);
          form.removeEventListener("submit", onShow);
          $("noticeCancel").removeEventListener("click", onCancel);
          dialog.close();
          resolve(answer);
        };
        const onCancel = (event) => {
          event.preventDefault();
          finish(null);
        };
        const onShow = (event) => {
          event.preventDefault();
          const details = {};
          for (const input of rows.querySelectorAll("input")) {
            details[input.name] = input.value;
          }
          const answer = design.notice({ date: shell.today(), details });
          design.showState(answer.state);
          if (answer.html) {
            finish(answer);
            return;
          }
          showProblem(answer.error, answer.entry);
          const wrong = answer.entry && $(`notice-${answer.entry}`);
          if (wrong) {
            wrong.focus();
            wrong.select();
          }
        };
        dialog.addEventListener("cancel", onCancel);
        form.addEventListener("submit", onShow);
        $("noticeCancel").addEventListener("click", onCancel);
        dialog.showModal();
        const first = rows.querySelector("input");
        if (first) {
          first.focus();
        }
      });
    }

    // 配合比通知单… of `design`: refused with a box while it has no mix;
    // else the dialog, then the notice in its view. True when shown.
    async function open(design) {
      const asked = design.noticeFields();
      if (asked.refusal) {
        await shell.showBox({ icon: "information", text: asked.refusal });
        return false;
      }
      const answer = await ask(design, asked.fields);
      if (!answer) {
        return false;
      }
      owner = design;
      shown = answer;
      page.drawDocument($("noticeDocument"), answer.html);
      shell.showView("notice");
      return true;
    }

    function print() {
      window.print();
    }

    // The notice as a file of its own: the design file's name with
    // "-通知单", or 配合比通知单 for a design not yet saved.
    function saveHtml() {
      if (!shown) {
        return;
      }
      const file = owner.fileName().replace(/\.lanshi$/i, "");
      const name = `${file ? `${file}-通知单` : "配合比通知单"}.html`;
      shell.files.download(new TextEncoder().encode(shown.html), name, "text/html");
    }

    return {
      open,
      get kind() {
        return owner ? owner.kind : null;
      },
      // The commands of the design's table that mean the notice shown, and
      // the view's own buttons.
      commands: {
        previewReport: print,
        exportReportPdf: print,
        copyReport: () => shown && shell.report.copy(shown, "通知单"),
        mixNotice: () => open(owner),
        saveDesign: () => owner.commands.saveDesign(),
        saveDesignAs: () => owner.commands.saveDesignAs(),
        openGuide: () => shell.openGuide(),
        printNotice: print,
        copyNotice: () => shown && shell.report.copy(shown, "通知单"),
        saveNoticeHtml: saveHtml,
        closeNotice: () => shell.showView(owner.view),
      },
    };
  };
})();
