// 澜石 in the browser: the classic window drawn from the layout table and the
// desktop's commands, a thin view over the WebAssembly module. The module
// decides everything (figures, texts of boxes, stops, the modified state, the
// caption, file bytes, the report): this file draws what it answers and
// carries out the effects it asks for, in order.
//
// Loaded after layout.js (the layout table and the program's identity,
// written at build time, so the window is drawn before the module is ready);
// lanshi.js (the module, createLanshi) loads beside it.
"use strict";

(function () {
  const built = globalThis.lanshiBuilt;
  const twipsPerPixel = 15;
  const $ = (id) => document.getElementById(id);

  // ---- The regional number format, from the browser's language ----------

  // ?locale=de-DE overrides the browser's language.
  function chosenLocale() {
    const asked = new URLSearchParams(location.search).get("locale");
    if (asked) {
      try {
        return Intl.getCanonicalLocales(asked)[0];
      } catch (error) {
        console.warn(`lanshi: locale ${asked} not understood, the browser's is used`);
      }
    }
    return undefined;
  }

  // The symbols the locale writes numbers with, as the desktop reads them
  // from the system: decimal symbol, grouping symbol and the size of the
  // lowest group (the digits after the last grouping symbol of a long whole
  // number), the sign before a negative number.
  function numberFormatOf(locale) {
    const writer = new Intl.NumberFormat(locale, { useGrouping: true, maximumFractionDigits: 1 });
    const parts = writer.formatToParts(-1234567890.5);
    const symbol = (type, otherwise) => {
      const part = parts.find((p) => p.type === type);
      return part ? part.value : otherwise;
    };
    const integers = parts.filter((p) => p.type === "integer");
    const group = symbol("group", "");
    return {
      decimal: symbol("decimal", "."),
      group: group,
      groupSize: group && integers.length > 1 ? integers[integers.length - 1].value.length : 0,
      negative: symbol("minusSign", "-"),
    };
  }

  const locale = chosenLocale();
  const format = numberFormatOf(locale);

  // ---- The window, drawn from the table ----------------------------------

  const controls = new Map(); // control name → its element (what takes input)

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

  function buildWindow(form, rows) {
    const frames = new Map();
    const sorted = rows.slice().sort((a, b) => (a.frame ? 1 : 0) - (b.frame ? 1 : 0));
    for (const row of sorted) {
      const parent = row.frame ? frames.get(row.frame) : form;
      let element;
      switch (row.kind) {
        case "Frame": {
          element = document.createElement("div");
          element.className = "control frame";
          element.setAttribute("role", "group");
          const caption = document.createElement("span");
          caption.className = "frame-caption";
          caption.textContent = row.caption;
          element.append(caption);
          element.setAttribute("aria-label", row.caption);
          frames.set(row.name, element);
          break;
        }
        case "Label": {
          element = document.createElement("div");
          element.className = "control label";
          element.textContent = row.caption;
          if (row.textColour !== null && row.textColour !== undefined) {
            element.style.color = colour(row.textColour);
          }
          break;
        }
        case "TextField": {
          element = document.createElement("input");
          element.type = "text";
          element.className = "control";
          element.value = row.caption;
          element.spellcheck = false;
          element.autocomplete = "off";
          element.tabIndex = tabStop(row);
          controls.set(row.name, element);
          break;
        }
        case "OptionButton":
        case "CheckBox": {
          element = document.createElement("label");
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
          break;
        }
        case "Button": {
          element = document.createElement("button");
          element.type = "button";
          element.className = "control";
          element.textContent = row.caption;
          element.tabIndex = tabStop(row);
          controls.set(row.name, element);
          break;
        }
        default:
          throw new Error(`lanshi: a control of kind ${row.kind} in the layout table`);
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
  buildWindow(form, built.layout);
  $("caption").textContent = built.identity.caption;
  document.title = built.identity.caption;

  // Narrow screens: the window scales as a whole, it never reflows.
  function fitToScreen() {
    const width = windowBox.offsetWidth;
    const height = windowBox.offsetHeight;
    const room = document.documentElement.clientWidth - 16;
    const scale = Math.min(1, room / width);
    const root = document.documentElement.style;
    root.setProperty("--window-width", `${width}px`);
    root.setProperty("--window-height", `${height}px`);
    root.setProperty("--scale", String(scale));
  }
  fitToScreen();
  addEventListener("resize", fitToScreen);

  // ---- Boxes -------------------------------------------------------------

  const box = $("box");
  let boxQueue = Promise.resolve();

  // Shows one box (icon none/warning/question, title, text, buttons
  // [{answer, caption}]) modally; resolves to the answer of the button that
  // closed it (Esc: the last button's).
  function showBox(message) {
    return new Promise((resolve) => {
      const buttons = message.buttons && message.buttons.length
        ? message.buttons
        : [{ answer: "ok", caption: "确定" }];
      $("box-title").textContent = message.title || built.identity.applicationName;
      $("box-text").textContent = message.text;
      const icon = $("box-icon");
      const known = { warning: "!", question: "?", information: "i" };
      icon.className = known[message.icon] ? message.icon : "";
      icon.textContent = known[message.icon] || "";
      const row = $("box-buttons");
      row.replaceChildren();
      const close = (answer) => {
        box.removeEventListener("cancel", cancel);
        box.close();
        resolve(answer);
      };
      const cancel = (event) => {
        event.preventDefault();
        close(buttons[buttons.length - 1].answer);
      };
      box.addEventListener("cancel", cancel);
      for (const { answer, caption } of buttons) {
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = caption;
        button.dataset.answer = answer;
        button.addEventListener("click", () => close(answer));
        row.append(button);
      }
      box.showModal();
      row.firstChild.focus();
    });
  }

  // Boxes one after another, each waiting for the one before to close.
  function showBoxes(messages) {
    for (const message of messages || []) {
      boxQueue = boxQueue.then(() => showBox(message));
    }
    return boxQueue;
  }

  // ---- The session of the classic window ---------------------------------

  let lanshi = null;
  let classic = null;
  let fileHandle = null; // where 保存设计 writes in place, where the browser allows

  function showState(state) {
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
  }

  // The caption, with the mark of unsaved changes after it as the desktop
  // shows it ("*").
  function showCaption(state) {
    const caption = state.caption + (state.modified ? "*" : "");
    $("caption").textContent = caption;
    if (currentView === "classic") {
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

  // Carries out what an event answered, in order: the new sheet, the boxes,
  // the focus, then leaving or the web page.
  async function carryOut(answer) {
    if (answer.state) {
      showState(answer.state);
    }
    await showBoxes(answer.boxes);
    if (answer.focus) {
      focusField(answer.focus);
    }
    if (answer.openUrl) {
      // With "noopener" a browser answers null whether or not it opened the
      // tab: only a blocked window is told by the missing window object.
      const opened = window.open(answer.openUrl, "_blank");
      if (opened) {
        opened.opener = null;
      } else if (answer.browserFailure) {
        await showBox(answer.browserFailure);
      }
    }
    if (answer.exit) {
      endSession();
    }
  }

  function startSession() {
    classic = lanshi.classicWindow(format);
    fileHandle = null;
    forgetProject();
    showView("classic");
    return carryOut(classic.event("load"));
  }

  // 退出: a page cannot close its tab, so the session ends in the page.
  function endSession() {
    classic.delete();
    classic = null;
    showView("exited");
  }

  function wireWindow() {
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

  // ---- Views -------------------------------------------------------------

  let currentView = "classic";

  function showView(name) {
    for (const view of document.querySelectorAll(".view")) {
      view.hidden = view.id !== name;
    }
    currentView = name;
    if (name === "classic") {
      document.title = $("caption").textContent;
      fitToScreen();
    } else if (name === "jgj55") {
      document.title = $("jgj55-title").textContent;
    }
  }

  // ---- Design files ------------------------------------------------------

  const hasFileSystemAccess = typeof window.showOpenFilePicker === "function";
  const designTypes = [
    { description: "混凝土配合比设计", accept: { "application/x-lanshi-design": [".lanshi"] } },
  ];

  // Before another design replaces the sheet: the module asks about unsaved
  // changes; 保存 saves first, 取消 stops.
  async function mayReplace() {
    const asked = classic.mayReplace();
    if (!asked.ask) {
      return true;
    }
    const answer = await showBox(asked.box);
    if (answer === "save") {
      return saveDesign(false);
    }
    return answer === "discard";
  }

  async function openBytes(bytes, fileName, handle) {
    const opened = classic.open(bytes, fileName);
    if (opened.elsewhere === "jgj55-2011") {
      await showBoxes(opened.boxes);
      openJgj55(bytes, fileName, handle);
      return;
    }
    if (opened.state) {
      showState(opened.state);
    }
    await showBoxes(opened.boxes);
    if (opened.opened) {
      fileHandle = handle || null;
      forgetProject();
    }
  }

  async function openDesign() {
    if (!(await mayReplace())) {
      return;
    }
    if (hasFileSystemAccess) {
      let handles;
      try {
        handles = await window.showOpenFilePicker({ types: designTypes });
      } catch (error) {
        return; // the user cancelled the picker
      }
      const file = await handles[0].getFile();
      await openBytes(new Uint8Array(await file.arrayBuffer()), file.name, handles[0]);
      return;
    }
    const picker = $("openFile");
    picker.value = "";
    delete picker.dataset.into;
    picker.click();
  }

  $("openFile").addEventListener("change", async (event) => {
    const picker = event.target;
    const into = picker.dataset.into;
    delete picker.dataset.into;
    const file = picker.files[0];
    if (!file) {
      return;
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    if (into === "jgj55") {
      await openJgj55(bytes, file.name, null);
    } else {
      await openBytes(bytes, file.name, null);
    }
  });

  function download(bytes, fileName, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type: type }));
    const link = document.createElement("a");
    link.href = url;
    link.download = fileName;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  // Writes the file the user chose through the browser: nothing when it was
  // written, else the browser's refusal (no room, no permission) in its
  // words.
  async function writeInPlace(handle, bytes) {
    try {
      const writable = await handle.createWritable();
      await writable.write(bytes);
      await writable.close();
      return null;
    } catch (error) {
      return String(error && error.message ? error.message : error);
    }
  }

  // 保存设计 (or 另存为 when `asNew`): in place where the browser lets the
  // page write the file it opened, else a download of the same bytes.
  async function saveDesign(asNew) {
    let handle = asNew ? null : fileHandle;
    if (!handle && typeof window.showSaveFilePicker === "function") {
      try {
        handle = await window.showSaveFilePicker({
          suggestedName: classic.state().file || undefined,
          types: designTypes,
        });
      } catch (error) {
        return false; // cancelled
      }
    }
    const saved = classic.save(handle ? handle.name : undefined);
    if (!saved.bytes) {
      await showBoxes(saved.boxes);
      return false;
    }
    const fileName = saved.file;
    if (handle) {
      const refused = await writeInPlace(handle, saved.bytes);
      if (refused !== null) {
        // The sheet stays modified; the box is the desktop's for a failed save.
        const failed = classic.cannotSave(refused);
        showState(failed.state);
        await showBoxes(failed.boxes);
        return false;
      }
      fileHandle = handle;
    } else {
      download(saved.bytes, fileName, "application/x-lanshi-design");
    }
    showState(classic.saved());
    return true;
  }

  // A design file dropped anywhere on the window.
  const classicView = $("classic");
  classicView.addEventListener("dragover", (event) => {
    if (event.dataTransfer && Array.from(event.dataTransfer.types).includes("Files")) {
      event.preventDefault();
      classicView.classList.add("dropping");
    }
  });
  classicView.addEventListener("dragleave", () => classicView.classList.remove("dropping"));
  classicView.addEventListener("drop", async (event) => {
    classicView.classList.remove("dropping");
    const file = event.dataTransfer && event.dataTransfer.files[0];
    if (!file) {
      return;
    }
    event.preventDefault();
    if (await mayReplace()) {
      await openBytes(new Uint8Array(await file.arrayBuffer()), file.name, null);
    }
  });

  // ---- The report (计算书) -----------------------------------------------

  let reportOf = null; // a function (options) → {html, text} | {boxes}
  // The project block is sent once the user has written in it: until then
  // the window's own (that of the opened design) stands.
  let projectEdited = false;
  let lastReport = null;

  function today() {
    const now = new Date();
    const two = (n) => String(n).padStart(2, "0");
    return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
  }

  function classicReport(options) {
    return classic.report(options);
  }

  // The report's own document in the page: its styles kept to itself in a
  // shadow root, the page's print style around it (A4, page numbers).
  function showReportDocument(html) {
    const parsed = new DOMParser().parseFromString(html, "text/html");
    const host = $("reportDocument");
    const root = host.shadowRoot || host.attachShadow({ mode: "open" });
    root.replaceChildren();
    for (const style of parsed.querySelectorAll("style")) {
      root.append(document.importNode(style, true));
    }
    const body = document.createElement("div");
    body.className = "report-body";
    body.append(...Array.from(parsed.body.childNodes, (node) => document.importNode(node, true)));
    root.append(body);
  }

  // What the report view's fields ask for, as the desktop's report dialog:
  // the trial batch's volume and the project block.
  function reportOptions() {
    const options = { date: today() };
    const text = $("batchLitres").value.trim().replace(format.decimal, ".");
    const litres = Number(text);
    if (text && Number.isFinite(litres) && litres > 0) {
      options.batchLitres = litres;
    }
    if (projectEdited) {
      options.project = {
        name: $("projectName").value,
        part: $("projectPart").value,
        client: $("projectClient").value,
      };
    }
    return options;
  }

  // Another design: its own project block stands until the user writes one.
  function forgetProject() {
    projectEdited = false;
    for (const id of ["projectName", "projectPart", "projectClient"]) {
      $(id).value = "";
    }
  }

  async function openReport(make, then) {
    reportOf = make;
    // The project block the report will name, as the desktop's dialog
    // proposes it: the opened design's own until the user writes another.
    if (make === classicReport && !projectEdited) {
      const project = classic.state().project;
      $("projectName").value = project.name;
      $("projectPart").value = project.part;
      $("projectClient").value = project.client;
    }
    const report = make(reportOptions());
    if (!report.html) {
      await showBoxes(report.boxes);
      return false;
    }
    lastReport = report;
    showReportDocument(report.html);
    showView("report");
    if (then) {
      await then();
    }
    return true;
  }

  $("reportDetails").addEventListener("change", async (event) => {
    if (event.target.id !== "batchLitres") {
      projectEdited = true;
    }
    if (!reportOf) {
      return;
    }
    const report = reportOf(reportOptions());
    if (report.html) {
      lastReport = report;
      showReportDocument(report.html);
    } else {
      await showBoxes(report.boxes);
    }
  });

  async function copyReport(report) {
    try {
      await navigator.clipboard.write([
        new ClipboardItem({
          "text/plain": new Blob([report.text], { type: "text/plain" }),
          "text/html": new Blob([report.html], { type: "text/html" }),
        }),
      ]);
    } catch (error) {
      // A browser without HTML on its clipboard takes the text alone; one that
      // refuses the clipboard (the page not focused, no permission) says why.
      try {
        await navigator.clipboard.writeText(report.text);
      } catch (refusal) {
        await showBox({ icon: "warning", title: built.identity.applicationName,
                        text: `复制计算书：${refusal.message}` });
      }
    }
  }

  // ---- The JGJ 55-2011 form ----------------------------------------------

  let jgj55 = null;
  let jgj55Handle = null;

  function newJgj55() {
    if (jgj55) {
      jgj55.delete();
    }
    jgj55 = lanshi.jgj55Form(format);
    jgj55Handle = null;
    forgetProject();
    buildJgj55Fields();
    showJgj55State(jgj55.state());
    showView("jgj55");
  }

  // The form's inputs in its groups and order: a text field for a number,
  // a list for a choice; each keystroke designs again in the module.
  function buildJgj55Fields() {
    const host = $("jgj55-fields");
    host.replaceChildren();
    const groups = new Map();
    for (const field of jgj55.fields()) {
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
        const state = jgj55.set(field.key, input.value);
        if (!state.error) {
          showJgj55State(state);
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

  function showJgj55State(state) {
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
      row.querySelector(".why").textContent = why || "";
    }
    const table = $("jgj55-results");
    table.caption.textContent = state.results.length ? state.results[0].group : "";
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
      tr.title = result.tip || "";
      body.append(tr);
    }
    const status = $("jgj55-status");
    status.textContent = state.status ? state.status.text : "";
    status.classList.toggle("error", Boolean(state.status && state.status.error));
    $("jgj55-title").textContent = state.title;
    if (currentView === "jgj55") {
      document.title = state.title;
    }
  }

  async function openJgj55(bytes, fileName, handle) {
    newJgj55();
    const opened = jgj55.open(bytes, fileName);
    if (opened.opened) {
      jgj55Handle = handle || null;
    }
    showJgj55State(opened.state);
  }

  async function saveJgj55() {
    const suggested = jgj55.state().fileName || "JGJ55设计.lanshi";
    let handle = jgj55Handle;
    if (!handle && typeof window.showSaveFilePicker === "function") {
      try {
        handle = await window.showSaveFilePicker({ suggestedName: suggested, types: designTypes });
      } catch (error) {
        return;
      }
    }
    const fileName = handle ? handle.name : suggested;
    const saved = jgj55.save();
    showJgj55State(saved.state);
    if (!saved.bytes) {
      return;
    }
    let refused = null;
    if (handle) {
      refused = await writeInPlace(handle, saved.bytes);
      if (refused === null) {
        jgj55Handle = handle;
      }
    } else {
      download(saved.bytes, fileName, "application/x-lanshi-design");
    }
    // Refused: the status line says why, as the desktop's does.
    showJgj55State(jgj55.saved(fileName, refused === null ? undefined : refused).state);
  }

  async function openJgj55File() {
    if (hasFileSystemAccess) {
      let handles;
      try {
        handles = await window.showOpenFilePicker({ types: designTypes });
      } catch (error) {
        return;
      }
      const file = await handles[0].getFile();
      await openJgj55(new Uint8Array(await file.arrayBuffer()), file.name, handles[0]);
      return;
    }
    const picker = $("openFile");
    picker.value = "";
    picker.dataset.into = "jgj55";
    picker.click();
  }

  // The report of the form's design, or the status line that says why
  // there is none.
  function jgj55Report(options) {
    const report = jgj55.report(options);
    showJgj55State(report.state);
    return report.html ? report : { boxes: [] };
  }

  // ---- Commands: the context menu, the shortcuts, the toolbars -----------

  let reportReturn = "classic";

  const commands = {
    openDesign: () => openDesign(),
    saveDesign: () => saveDesign(false),
    saveDesignAs: () => saveDesign(true),
    previewReport: () => {
      reportReturn = "classic";
      return openReport(classicReport);
    },
    exportReportPdf: () => {
      reportReturn = "classic";
      return openReport(classicReport, () => printReport());
    },
    copyReport: async () => {
      if (currentView === "report" && lastReport) {
        return copyReport(lastReport);
      }
      const report = classicReport(reportOptions());
      if (!report.html) {
        return showBoxes(report.boxes);
      }
      return copyReport(report);
    },
    openGuide: () => window.open("guide.html", "_blank", "noopener"),
    newJgj55Design: () => newJgj55(),
    // The views' own buttons.
    printReport: () => printReport(),
    closeReport: () => showView(reportReturn),
    showClassic: () => showView(classic ? "classic" : "exited"),
    restart: () => startSession(),
    jgj55Open: () => openJgj55File(),
    jgj55Save: () => saveJgj55(),
    jgj55Report: () => {
      reportReturn = "jgj55";
      return openReport(jgj55Report);
    },
  };

  function printReport() {
    window.print();
  }

  // The desktop's context menu, in its order, with its shortcuts.
  const menuEntries = [
    ["openDesign", "打开设计…", "Ctrl+O"],
    ["saveDesign", "保存设计", "Ctrl+S"],
    ["saveDesignAs", "另存为…", "Ctrl+Shift+S"],
    null,
    ["previewReport", "打印预览…", "Ctrl+P"],
    ["exportReportPdf", "导出 PDF…", "Ctrl+Shift+E"],
    ["copyReport", "复制计算书", "Ctrl+Shift+C"],
    null,
    ["openGuide", "使用说明", "F1"],
    ["newJgj55Design", "新建 JGJ 55-2011 设计…", "Ctrl+J"],
  ];

  const menu = $("menu");
  for (const entry of menuEntries) {
    if (!entry) {
      menu.append(document.createElement("hr"));
      continue;
    }
    const [command, caption, keys] = entry;
    const item = document.createElement("button");
    item.type = "button";
    item.setAttribute("role", "menuitem");
    item.tabIndex = -1;
    item.dataset.command = command;
    const text = document.createElement("span");
    text.textContent = caption;
    const shortcut = document.createElement("kbd");
    shortcut.textContent = keys;
    item.append(text, shortcut);
    menu.append(item);
  }

  function closeMenu() {
    menu.hidden = true;
  }

  // The window's context menu: a right click outside the fields (a field
  // keeps the browser's own: cut, copy, paste).
  form.addEventListener("contextmenu", (event) => {
    if (!classic || event.target.matches("input[type=text]")) {
      return;
    }
    event.preventDefault();
    menu.hidden = false;
    const x = Math.min(event.clientX, document.documentElement.clientWidth - menu.offsetWidth);
    const y = Math.min(event.clientY, document.documentElement.clientHeight - menu.offsetHeight);
    menu.style.left = `${Math.max(0, x)}px`;
    menu.style.top = `${Math.max(0, y)}px`;
    menu.querySelector("button").focus();
  });
  addEventListener("pointerdown", (event) => {
    if (!menu.hidden && !menu.contains(event.target)) {
      closeMenu();
    }
  });
  menu.addEventListener("keydown", (event) => {
    const items = Array.from(menu.querySelectorAll("button"));
    const at = items.indexOf(document.activeElement);
    if (event.key === "Escape") {
      closeMenu();
    } else if (event.key === "ArrowDown" || event.key === "ArrowUp") {
      const step = event.key === "ArrowDown" ? 1 : items.length - 1;
      items[(at + step) % items.length].focus();
      event.preventDefault();
    }
  });

  document.addEventListener("click", (event) => {
    const target = event.target.closest("[data-command]");
    if (target && commands[target.dataset.command]) {
      closeMenu();
      commands[target.dataset.command]();
    }
  });

  const shortcuts = {
    "Ctrl+O": "openDesign",
    "Ctrl+S": "saveDesign",
    "Ctrl+Shift+S": "saveDesignAs",
    "Ctrl+P": "previewReport",
    "Ctrl+Shift+E": "exportReportPdf",
    "Ctrl+Shift+C": "copyReport",
    F1: "openGuide",
    "Ctrl+J": "newJgj55Design",
  };

  function keysOf(event) {
    const key = event.key.length === 1 ? event.key.toUpperCase() : event.key;
    return `${event.ctrlKey || event.metaKey ? "Ctrl+" : ""}${event.shiftKey ? "Shift+" : ""}${key}`;
  }

  document.addEventListener("keydown", (event) => {
    if (box.open) {
      return;
    }
    const keys = keysOf(event);
    if (currentView === "report" && keys === "Ctrl+P") {
      event.preventDefault();
      printReport();
      return;
    }
    if (currentView === "jgj55") {
      const command = { "Ctrl+O": "jgj55Open", "Ctrl+S": "jgj55Save", "Ctrl+P": "jgj55Report" }[keys];
      if (command) {
        event.preventDefault();
        commands[command]();
      }
      return;
    }
    if (currentView !== "classic" || !classic) {
      return;
    }
    const command = shortcuts[keys];
    if (command) {
      event.preventDefault();
      closeMenu();
      commands[command]();
    }
  });

  // ---- Start -------------------------------------------------------------

  // Until the module has run the window's load, the fields hold their start
  // texts ("Text1" …), which the desktop never shows either.
  wireWindow();
  form.classList.add("loading");
  for (const element of controls.values()) {
    element.disabled = true;
  }
  // lanshi.js loads by itself (async): it may have run before this file.
  const loaded = typeof globalThis.createLanshi === "function"
    ? Promise.resolve()
    : new Promise((resolve, reject) => {
        $("module").addEventListener("load", resolve);
        $("module").addEventListener("error", reject);
      });
  loaded.then(() => globalThis.createLanshi()).then(async (module) => {
    lanshi = module;
    for (const element of controls.values()) {
      element.disabled = false;
    }
    await startSession();
    form.classList.remove("loading");
    performance.mark("lanshi-ready");
    document.documentElement.dataset.ready = "true";
  });
})();
