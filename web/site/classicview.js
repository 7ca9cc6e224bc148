// 澜石 in the browser: the classic window, drawn from the layout table, a
// view over the module's classic window (lanshi.classicWindow). The module
// decides everything (figures, texts of boxes, stops, the modified state, the
// caption, file bytes, the report): this view draws what it answers and
// carries out the effects it asks for, in order.
"use strict";

(function () {
  const page = (globalThis.lanshiPage = globalThis.lanshiPage || {});
  const twipsPerPixel = 15;

  page.classicView = function (shell) {
    const { $, built, files } = shell;
    const controls = new Map(); // control name → its element (what takes input)

    // ---- The window, drawn from the table --------------------------------

    function px(twips) {
      return `${twips / twipsPerPixel}px`;
    }

    function place(element, row) {
      element.style.left = px(row.left);
      element.style.top = px(row.top);
      element.style.width = px(row.width);
      element.style.height = px(row.height);
    }

    function colour(value) {
      return `#${value.toString(16).padStart(6, "0")}`;
    }

    // The HTML tab order follows the table's TabIndex: positive tabindex
    // values are visited in ascending order before anything else on the page.
    function tabStop(row) {
      return String(row.tabIndex + 1);
    }

    function control(row) {
      switch (row.kind) {
        case "Frame": {
          const element = document.createElement("div");
          element.className = "control frame";
          element.setAttribute("role", "group");
          const caption = document.createElement("span");
          caption.className = "frame-caption";
          caption.textContent = row.caption;
          element.append(caption);
          element.setAttribute("aria-label", row.caption);
          return element;
        }
        case "Label": {
          const element = document.createElement("div");
          element.className = "control label";
          element.textContent = row.caption;
          if (row.textColour !== null && row.textColour !== undefined) {
            element.style.color = colour(row.textColour);
          }
          return element;
        }
        case "TextField": {
          const element = document.createElement("input");
          element.type = "text";
          element.className = "control";
          element.value = row.caption;
          element.spellcheck = false;
          element.autocomplete = "off";
          element.tabIndex = tabStop(row);
          controls.set(row.name, element);
          return element;
        }
        case "OptionButton":
        case "CheckBox": {
          const element = document.createElement("label");
          element.className = "control choice";
          const box = document.createElement("input");
          box.type = row.kind === "OptionButton" ? "radio" : "checkbox";
          // Option buttons are exclusive within their frame.
          if (row.kind === "OptionButton") {
            box.name = row.frame;
          }
          box.checked = Boolean(row.checked);
          box.tabIndex = tabStop(row);
          box.dataset.control = row.name;
          element.append(box, document.createTextNode(row.caption));
          controls.set(row.name, box);
          return element;
        }
        case "Button": {
          const element = document.createElement("button");
          element.type = "button";
          element.className = "control";
          element.textContent = row.caption;
          element.tabIndex = tabStop(row);
          controls.set(row.name, element);
          return element;
        }
        default:
          throw new Error(`lanshi: a control of kind ${row.kind} in the layout table`);
      }
    }

    function buildWindow(form, rows) {
      const frames = new Map();
      const sorted = rows.slice().sort((a, b) => (a.frame ? 1 : 0) - (b.frame ? 1 : 0));
      for (const row of sorted) {
        const parent = row.frame ? frames.get(row.frame) : form;
        const element = control(row);
        if (row.kind === "Frame") {
          frames.set(row.name, element);
        }
        element.id = row.name;
        element.dataset.kind = row.kind;
        place(element, row);
        parent.append(element);
      }
      // A label names the field it captions, for screen readers.
      for (const row of rows) {
        if (row.kind === "Label" && row.buddy && controls.has(row.buddy)) {
          controls.get(row.buddy).setAttribute("aria-labelledby", row.name);
        }
      }
    }

    const form = $("Form1");
    const windowBox = $("window");
    form.style.width = px(built.client.width);
    form.style.height = px(built.client.height);
    $("findings").style.width = px(built.client.width);
    buildWindow(form, built.layout);
    $("caption").textContent = built.identity.caption;
    document.title = built.identity.caption;

    // A screen narrower than the window: the window scales as a whole and
    // never reflows (its rectangles keep their proportions). It is shown at
    // a size a finger can use, every text field at least 32 CSS pixels
    // high, the page scrolling sideways; the button above it fits it to the
    // screen's width instead, and back.
    const fingerHeight = 32;
    const lowestField = Math.min(
      ...built.layout.filter((row) => row.kind === "TextField").map((row) => row.height / twipsPerPixel),
    );
    const fingerScale = Math.ceil((fingerHeight / lowestField) * 1000) / 1000;
    const sizes = $("sizes");
    const fitButton = $("fitWindow");
    let fitted = false; // the user asked for the whole window on the screen

    function fitToScreen() {
      const width = windowBox.offsetWidth;
      const height = windowBox.offsetHeight;
      const room = document.documentElement.clientWidth - 16;
      const narrow = room < width;
      let scale = 1;
      if (narrow) {
        scale = fitted ? room / width : fingerScale;
      }
      const root = document.documentElement.style;
      root.setProperty("--window-width", `${width}px`);
      root.setProperty("--window-height", `${height}px`);
      root.setProperty("--scale", String(scale));
      sizes.hidden = !narrow;
      fitButton.textContent = fitted ? "放大到便于触摸" : "适合屏幕宽度";
      fitButton.setAttribute("aria-pressed", String(fitted));
    }
    fitButton.addEventListener("click", () => {
      fitted = !fitted;
      fitToScreen();
      fitButton.focus();
    });
    fitToScreen();
    addEventListener("resize", fitToScreen);

    // ---- The module's window ---------------------------------------------

    let classic = null;
    let fileHandle = null; // where 保存设计 writes in place, where the browser allows
    const saves = files.saveQueue();

    function showState(state) {
      if (!state) {
        return;
      }
      for (const [name, text] of Object.entries(state.texts)) {
        const field = controls.get(name);
        if (field.value !== text) {
          field.value = text;
        }
      }
      for (const group of [state.options, state.checks]) {
        for (const [name, on] of Object.entries(group)) {
          controls.get(name).checked = on;
        }
      }
      showCaption(state);
      showFindings(state.findings || []);
    }

    // The foot below the client area, as the desktop's: after 计算, one
    // line per finding (a stale or implausible figure), without a box;
    // hidden while there is none.
    let footLines = [];
    function showFindings(lines) {
      if (lines.length === footLines.length && lines.every((line, i) => line === footLines[i])) {
        return;
      }
      footLines = lines.slice();
      const foot = $("findings");
      foot.replaceChildren();
      for (const line of lines) {
        const item = document.createElement("p");
        item.textContent = `⚠ ${line}`;
        foot.append(item);
      }
      foot.hidden = lines.length === 0;
      fitToScreen();
    }

    // The caption, with the mark of unsaved changes after it as the desktop
    // shows it ("*").
    function showCaption(state) {
      if (!state || state.caption === undefined) {
        return;
      }
      const caption = state.caption + (state.modified ? "*" : "");
      $("caption").textContent = caption;
      if (shell.currentView() === "classic") {
        document.title = caption;
      }
    }

    function focusField(name) {
      const field = name && controls.get(name);
      if (field) {
        field.focus();
        if (field.select) {
          field.select();
        }
      }
    }

    // Carries out what an event answered, in order: the new sheet, the
    // boxes, the focus, then leaving or the web page.
    async function carryOut(answer) {
      if (answer.state) {
        showState(answer.state);
      }
      await shell.showBoxes(answer.boxes);
      if (answer.focus) {
        focusField(answer.focus);
      }
      if (answer.openUrl) {
        // With "noopener" a browser answers null whether or not it opened
        // the tab: only a blocked window is told by the missing window object.
        const opened = window.open(answer.openUrl, "_blank");
        if (opened) {
          opened.opener = null;
        } else if (answer.browserFailure) {
          await shell.showBox(answer.browserFailure);
        }
      }
      if (answer.exit) {
        await leave(answer.leaving);
      }
    }

    function start() {
      classic = shell.lanshi.classicWindow(shell.format);
      fileHandle = null;
      shell.showView("classic");
      return carryOut(classic.event("load"));
    }

    // 重新开始: a new session; one still open is asked about first.
    async function restart() {
      if (classic) {
        if (!(await shell.mayGoOn(classic.mayClose(), () => save(false)))) {
          return;
        }
        classic.delete();
        classic = null;
      }
      await start();
    }

    // 退出: the sheet's question (`leaving`, when it has unsaved changes),
    // then the JGJ 55-2011 form's about its own, as the desktop's windows
    // ask when the program ends; 取消 in either ends nothing. A page cannot
    // close its tab, so the session ends in the page.
    async function leave(leaving) {
      const question = leaving ? { ask: true, box: leaving } : { ask: false };
      if (!(await shell.mayGoOn(question, () => save(false)))) {
        return;
      }
      if (!(await shell.views.jgj55.mayClose())) {
        return;
      }
      shell.views.jgj55.close();
      classic.delete();
      classic = null;
      showFindings([]);
      shell.showView("exited");
    }

    function wire() {
      for (const [name, element] of controls) {
        if (element.type === "text") {
          // The user's own text from now on: the module keeps the modified
          // state and what a later report may claim.
          element.addEventListener("input", () => {
            classic.setText(name, element.value);
            showCaption(classic.edited(name));
          });
        } else if (element.type === "radio") {
          element.addEventListener("change", () => {
            if (element.checked) {
              showCaption(classic.select(name));
            }
          });
        } else if (element.type === "checkbox") {
          element.addEventListener("change", () => {
            showCaption(classic.setChecked(name, element.checked));
          });
        } else {
          // The five buttons: a click is the window's event of that name.
          element.addEventListener("click", () => {
            if (classic) {
              carryOut(classic.event(name));
            }
          });
        }
      }
    }

    // ---- Design files ----------------------------------------------------

    // Before another design replaces the sheet: the module asks about
    // unsaved changes; 保存 saves first, 取消 stops.
    function mayReplace() {
      return shell.mayGoOn(classic.mayReplace(), () => save(false));
    }

    // A design file's bytes on the sheet; a JGJ 55-2011 design goes to its
    // own view. The sheet was asked about before.
    async function openFile(file) {
      const opened = classic.open(file.bytes, file.name);
      if (opened.elsewhere) {
        await shell.showBoxes(opened.boxes);
        if (globalThis.lanshiPage.isEvaluationFile(file.bytes)) {
          await shell.views.gbt50107.openFile(file);
        } else {
          await shell.views.jgj55.openFile(file);
        }
        return;
      }
      showState(opened.state);
      await shell.showBoxes(opened.boxes);
      if (opened.opened) {
        fileHandle = file.handle || null;
      }
    }

    // A classic design picked in the JGJ 55-2011 view: the sheet's question
    // first, then the design on the sheet, shown; false when it is not
    // opened (the sheet as it was, the box says why).
    async function openFromElsewhere(file) {
      if (!classic || !(await mayReplace())) {
        return false;
      }
      const opened = classic.open(file.bytes, file.name);
      showState(opened.state);
      if (opened.opened) {
        fileHandle = file.handle || null;
        shell.showView("classic");
      }
      await shell.showBoxes(opened.boxes);
      return opened.opened;
    }

    async function openDesign() {
      if (!(await mayReplace())) {
        return;
      }
      const file = await files.pickDesign();
      if (file) {
        await openFile(file);
      }
    }

    // 保存设计 (or 另存为 when `asNew`): in place where the browser lets the
    // page write the file it opened, else a download of the same bytes. One
    // at a time: true when this one was written.
    function save(asNew) {
      const session = classic;
      return saves(() => saveNow(session, asNew));
    }

    async function saveNow(session, asNew) {
      if (session !== classic) {
        return false; // the session ended meanwhile
      }
      let handle = asNew ? null : fileHandle;
      if (!handle) {
        handle = await files.pickSaveTarget(session.state().file);
        if (handle === undefined) {
          return false; // cancelled
        }
      }
      const saved = session.save(handle ? handle.name : undefined);
      if (!saved.bytes) {
        await shell.showBoxes(saved.boxes);
        return false;
      }
      showCaption(saved.state);
      if (handle) {
        const refused = await files.writeInPlace(handle, saved.bytes);
        if (refused !== null) {
          // The sheet stays modified; the box is the desktop's for a
          // failed save.
          const failed = session.cannotSave(refused);
          showState(failed.state);
          await shell.showBoxes(failed.boxes);
          return false;
        }
        fileHandle = handle;
      } else {
        files.download(saved.bytes, saved.file);
      }
      showState(session.saved());
      return true;
    }

    files.acceptDrops($("classic"), async (file) => {
      if (classic && (await mayReplace())) {
        await openFile(file);
      }
    });

    // ---- The report ------------------------------------------------------

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
        const answer = classic.report({ date: shell.today() });
        showCaption(answer.state);
        if (!answer.html) {
          return reportDocument.refused(answer);
        }
        return shell.report.copy(answer);
      },
      mixNotice: () => shell.notice.open(noticeDocument),
      recalculateAll: () => carryOut(classic.recalculateAll()),
      openGuide: () => shell.openGuide(),
      newJgj55Design: () => shell.views.jgj55.newDesign(),
      newEvaluation: () => shell.views.gbt50107.newEvaluation(),
    };

    // The sheet's design as the report view sees it.
    const reportDocument = {
      kind: "classic",
      view: "classic",
      commands,
      report: (options) => classic.report(options),
      showState: showCaption,
      refused: (answer) =>
        shell.showBoxes(answer.boxes || [{ icon: "warning", text: answer.error }]),
    };

    // The sheet's design as 配合比通知单… sees it.
    const noticeDocument = {
      kind: "classic",
      view: "classic",
      commands,
      noticeFields: () => classic.noticeFields(),
      notice: (options) => classic.notice(options),
      showState: showCaption,
      fileName: () => classic.state().file,
    };

    // Until the module has run the window's load, the fields hold their
    // start texts ("Text1" …), which the desktop never shows either.
    wire();
    form.classList.add("loading");
    for (const element of controls.values()) {
      element.disabled = true;
    }

    return {
      kind: "classic",
      commands,
      // The module is ready: the window's load, as the desktop's first show.
      async start() {
        for (const element of controls.values()) {
          element.disabled = false;
        }
        await start();
        form.classList.remove("loading");
      },
      restart,
      // Whether the sheet holds changes that leaving would lose.
      unsaved: () => classic !== null && classic.mayClose().ask,
      show: () => shell.showView(classic ? "classic" : "exited"),
      openFromElsewhere,
      fitToScreen,
      // Where the context menu opens: the window's face, not a field (a
      // field keeps the browser's own: cut, copy, paste).
      menuArea: form,
      takesMenu: (target) => classic !== null && !target.matches("input[type=text]"),
      caption: () => $("caption").textContent,
    };
  };
})();
