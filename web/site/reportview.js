// 澜石 in the browser: the report view (计算书) of either design. The report
// is the module's HTML, shown in a shadow root of its own and printed through
// the browser on A4. Its fields are the desktop report dialog's, and belong
// to the design whose report is shown: they show that design's project block
// and trial batch, and what the user writes in them goes to that design,
// which keeps it (and saves it) and answers the report again, or says why the
// trial batch cannot be.
//
// A design the view shows the report of is given by its view as
//   {kind, view, commands, report(options) → answer, showState(state),
//    refused(answer), copied()?}
// where report is the module's w.report or f.report, view the name of the
// view to go back to, commands that view's, and copied (if any) says that
// the report went to the clipboard.
"use strict";

(function () {
  const page = (globalThis.lanshiPage = globalThis.lanshiPage || {});

  // A document of the module's HTML (the report, the notice) in the page:
  // its styles kept to itself in a shadow root of `host`, the page's print
  // style around it (A4, page numbers).
  page.drawDocument = function (host, html) {
    const parsed = new DOMParser().parseFromString(html, "text/html");
    const root = host.shadowRoot || host.attachShadow({ mode: "open" });
    root.replaceChildren();
    for (const style of parsed.querySelectorAll("style")) {
      root.append(document.importNode(style, true));
    }
    const body = document.createElement("div");
    body.className = "report-body";
    body.append(...Array.from(parsed.body.childNodes, (node) => document.importNode(node, true)));
    root.append(body);
  };

  page.reportView = function (shell) {
    const $ = shell.$;
    const fields = {
      name: $("projectName"),
      part: $("projectPart"),
      client: $("projectClient"),
      litres: $("batchLitres"),
    };
    const problem = $("reportProblem");

    let owner = null; // the document whose report is shown
    let shown = null; // the report shown: {text, html}

    function draw(html) {
      page.drawDocument($("reportDocument"), html);
    }

    function showProblem(text) {
      problem.textContent = text || "";
      fields.litres.setAttribute("aria-invalid", text ? "true" : "false");
    }

    // The design's own details, as the desktop's dialog proposes them.
    function fillDetails(state) {
      fields.name.value = state.project.name;
      fields.part.value = state.project.part;
      fields.client.value = state.project.client;
      fields.litres.value = String(state.batchLitres).replace(".", shell.format.decimal);
      showProblem("");
    }

    // The report of `design` (`use`: "preview" or "pdf", the command that
    // asks), shown in the view; false, with the design's view saying why,
    // when there is none.
    async function open(design, use) {
      const answer = design.report({ date: shell.today(), use });
      design.showState(answer.state);
      if (!answer.html) {
        await design.refused(answer);
        return false;
      }
      owner = design;
      shown = answer;
      fillDetails(answer.state);
      draw(answer.html);
      shell.showView("report");
      return true;
    }

    // A detail changed: the design takes it (or says why not), and the
    // report follows.
    $("reportDetails").addEventListener("change", async (event) => {
      if (!owner) {
        return;
      }
      const request = { date: shell.today() };
      if (event.target === fields.litres) {
        request.batchLitres = fields.litres.value;
      } else if ([fields.name, fields.part, fields.client].includes(event.target)) {
        request.project = { name: fields.name.value, part: fields.part.value, client: fields.client.value };
      } else {
        return;
      }
      const answer = owner.report(request);
      owner.showState(answer.state);
      if (answer.html) {
        shown = answer;
        draw(answer.html);
        if (request.batchLitres !== undefined) {
          showProblem("");
        }
      } else if (answer.error && request.batchLitres !== undefined) {
        showProblem(answer.error);
      } else {
        await owner.refused(answer);
      }
    });

    // The report's (or the notice's: `what`) text and HTML on the clipboard;
    // true when they are there.
    async function copy(report, what = "计算书") {
      try {
        await navigator.clipboard.write([
          new ClipboardItem({
            "text/plain": new Blob([report.text], { type: "text/plain" }),
            "text/html": new Blob([report.html], { type: "text/html" }),
          }),
        ]);
        return true;
      } catch (error) {
        // A browser without HTML on its clipboard takes the text alone; one
        // that refuses the clipboard (the page not focused, no permission)
        // says why.
        try {
          await navigator.clipboard.writeText(report.text);
          return true;
        } catch (refusal) {
          await shell.showBox({ icon: "warning", text: `复制${what}：${refusal.message}` });
          return false;
        }
      }
    }

    function print() {
      window.print();
    }

    return {
      open,
      copy,
      print,
      // The commands of the design's table that mean the report shown, and
      // the view's own buttons.
      get kind() {
        return owner ? owner.kind : null;
      },
      commands: {
        previewReport: print,
        exportReportPdf: print,
        copyReport: async () => {
          if (shown && (await copy(shown)) && owner.copied) {
            owner.copied();
          }
        },
        saveDesign: () => owner.commands.saveDesign(),
        saveDesignAs: () => owner.commands.saveDesignAs(),
        openGuide: () => shell.openGuide(),
        printReport: print,
        closeReport: () => shell.showView(owner.view),
      },
    };
  };
})();
