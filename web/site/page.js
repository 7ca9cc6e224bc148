// 澜石 in the browser: the page around its views. The classic window
// (classicview.js), the JGJ 55-2011 form (jgj55view.js), the strength
// evaluation (evaluationview.js) and the report (reportview.js) draw what the WebAssembly module answers; this file holds
// what they share: the regional number format, the modal boxes, which view
// is shown, and the commands: each view's context menu, toolbar and keys come
// from the module's command table (layout.js), the one the desktop makes its
// actions from, and a command runs the shown view's handler of that name.
//
// Loaded after layout.js (the layout table, the command tables and the
// program's identity, written at build time, so the window is drawn before
// the module is ready) and the views' files; lanshi.js (the module,
// createLanshi) loads beside them.
"use strict";

(function () {
  const parts = globalThis.lanshiPage;
  const built = globalThis.lanshiBuilt;
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

  // The module's question before a design is replaced or closed (保存 /
  // 不保存 / 取消), when it has one: true when the caller may go on, after
  // `save` has saved when 保存 was answered; 取消 (or Esc) stops.
  async function mayGoOn(question, save) {
    if (!question || !question.ask) {
      return true;
    }
    const answer = await showBox(question.box);
    if (answer === "save") {
      return save();
    }
    return answer === "discard";
  }

  // ---- The views ---------------------------------------------------------

  let current = "classic";

  function showView(name) {
    for (const view of document.querySelectorAll(".view")) {
      view.hidden = view.id !== name;
    }
    current = name;
    if (name === "classic") {
      document.title = shell.views.classic.caption();
      shell.views.classic.fitToScreen();
    } else if (name === "jgj55") {
      document.title = shell.views.jgj55.title();
    } else if (name === "gbt50107") {
      document.title = shell.views.gbt50107.title();
    }
  }

  function today() {
    const now = new Date();
    const two = (n) => String(n).padStart(2, "0");
    return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
  }

  const shell = {
    $,
    built,
    format: numberFormatOf(chosenLocale()),
    files: parts.files,
    lanshi: null, // the module, once it is ready
    views: {},
    showBox,
    showBoxes,
    mayGoOn,
    showView,
    currentView: () => current,
    today,
    openGuide: () => window.open("guide.html", "_blank", "noopener"),
  };
  shell.report = parts.reportView(shell);
  shell.views.classic = parts.classicView(shell);
  shell.views.jgj55 = parts.jgj55View(shell);
  shell.views.gbt50107 = parts.evaluationView(shell);
  shell.views.report = shell.report;
  shell.notice = parts.noticeView(shell);
  shell.views.notice = shell.notice;
  shell.views.exited = { kind: null, commands: { restart: () => shell.views.classic.restart() } };

  // Closing the tab (or leaving the page) while a design has unsaved
  // changes: the browser's own question, the one a page may ask; the page
  // cannot offer 保存 there.
  addEventListener("beforeunload", (event) => {
    if (shell.lanshi && (shell.views.classic.unsaved() || shell.views.jgj55.unsaved())) {
      event.preventDefault();
      event.returnValue = "";
    }
  });

  // ---- Commands: menus, buttons and keys ---------------------------------

  // The command `name` of the view shown, if it has one, run.
  function run(name) {
    const view = shell.views[current];
    const command = shell.lanshi && view && view.commands[name];
    if (command) {
      command();
    }
    return Boolean(command);
  }

  const menu = $("menu");

  function closeMenu() {
    menu.hidden = true;
  }

  // The context menu of a window of `kind`: its commands in the table's
  // order, with their shortcuts, at the pointer.
  function openMenu(kind, event) {
    menu.replaceChildren();
    for (const command of built.commands[kind]) {
      if (command.separated && menu.firstChild) {
        menu.append(document.createElement("hr"));
      }
      const item = document.createElement("button");
      item.type = "button";
      item.setAttribute("role", "menuitem");
      item.tabIndex = -1;
      item.dataset.command = command.name;
      const text = document.createElement("span");
      text.textContent = command.text;
      const shortcut = document.createElement("kbd");
      shortcut.textContent = command.keys;
      item.append(text, shortcut);
      menu.append(item);
    }
    menu.hidden = false;
    const x = Math.min(event.clientX, document.documentElement.clientWidth - menu.offsetWidth);
    const y = Math.min(event.clientY, document.documentElement.clientHeight - menu.offsetHeight);
    menu.style.left = `${Math.max(0, x)}px`;
    menu.style.top = `${Math.max(0, y)}px`;
    menu.querySelector("button").focus();
  }

  // A right click (a long press) on a window's face: its menu; a field
  // keeps the browser's own (cut, copy, paste).
  for (const view of [shell.views.classic, shell.views.jgj55, shell.views.gbt50107]) {
    view.menuArea.addEventListener("contextmenu", (event) => {
      if (!shell.lanshi || !view.takesMenu(event.target)) {
        return;
      }
      event.preventDefault();
      openMenu(view.kind, event);
    });
  }
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

  // A menu entry or a view's button: the command of its name.
  document.addEventListener("click", (event) => {
    const target = event.target.closest("[data-command]");
    if (target) {
      closeMenu();
      run(target.dataset.command);
    }
  });

  // The keys as the command table spells them: "Ctrl+Shift+S", "F1".
  function keysOf(event) {
    const key = event.key.length === 1 ? event.key.toUpperCase() : event.key;
    return `${event.ctrlKey || event.metaKey ? "Ctrl+" : ""}${event.shiftKey ? "Shift+" : ""}${key}`;
  }

  // A shortcut of the shown view's window kind runs that view's command.
  document.addEventListener("keydown", (event) => {
    const view = shell.views[current];
    // A modal box or dialog open takes the keys itself.
    if (document.querySelector("dialog[open]") || !view || !view.kind) {
      return;
    }
    const keys = keysOf(event);
    const command = built.commands[view.kind].find((c) => c.keys !== "" && c.keys === keys);
    if (command && view.commands[command.name]) {
      event.preventDefault();
      closeMenu();
      run(command.name);
    }
  });

  // ---- Start -------------------------------------------------------------

  // lanshi.js loads by itself (async): it may have run before this file.
  const loaded = typeof globalThis.createLanshi === "function"
    ? Promise.resolve()
    : new Promise((resolve, reject) => {
        $("module").addEventListener("load", resolve);
        $("module").addEventListener("error", reject);
      });
  loaded.then(() => globalThis.createLanshi()).then(async (module) => {
    shell.lanshi = module;
    await shell.views.classic.start();
    performance.mark("lanshi-ready");
    document.documentElement.dataset.ready = "true";
  });
})();
