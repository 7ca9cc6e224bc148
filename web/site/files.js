// 澜石 in the browser: design files through the browser, for both views.
// A file is picked through the File System Access API where the browser has
// it (the page may then write it back in place) or the file input elsewhere;
// a save is written in place or handed over as a download. Each document
// writes one save at a time: a second 保存 waits for the first write to end,
// so the module hears how each went in the order they were asked.
"use strict";

(function () {
  const page = (globalThis.lanshiPage = globalThis.lanshiPage || {});

  const designTypes = [
    { description: "混凝土配合比设计", accept: { "application/x-lanshi-design": [".lanshi"] } },
  ];

  const picker = document.getElementById("openFile");
  // The file input's pick under way: a later pick answers the earlier one
  // with nothing, so that no file goes to a question no longer asked.
  let waitingPick = null;

  picker.addEventListener("change", async () => {
    const answer = waitingPick;
    waitingPick = null;
    const file = picker.files[0];
    if (answer) {
      answer(file ? { bytes: new Uint8Array(await file.arrayBuffer()), name: file.name, handle: null } : null);
    }
  });
  picker.addEventListener("cancel", () => {
    const answer = waitingPick;
    waitingPick = null;
    if (answer) {
      answer(null);
    }
  });

  const canPick = () => typeof window.showOpenFilePicker === "function";
  const canWrite = () => typeof window.showSaveFilePicker === "function";

  // The design file the user picks: {bytes, name, handle} (handle: where
  // the page may write it back, or null), or null when the user cancels.
  async function pickDesign() {
    if (canPick()) {
      let handles;
      try {
        handles = await window.showOpenFilePicker({ types: designTypes });
      } catch (error) {
        return null; // the user cancelled the picker
      }
      const file = await handles[0].getFile();
      return { bytes: new Uint8Array(await file.arrayBuffer()), name: file.name, handle: handles[0] };
    }
    if (waitingPick) {
      waitingPick(null);
    }
    return new Promise((resolve) => {
      waitingPick = resolve;
      picker.value = "";
      picker.click();
    });
  }

  // Where a save goes: a handle the page writes in place; null where the
  // browser cannot write files (the bytes are downloaded); undefined when
  // the user cancels the browser's save dialog.
  async function pickSaveTarget(suggestedName) {
    if (!canWrite()) {
      return null;
    }
    try {
      return await window.showSaveFilePicker({ suggestedName: suggestedName || undefined, types: designTypes });
    } catch (error) {
      return undefined;
    }
  }

  // Writes the file the user chose through the browser: null when it was
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

  function download(bytes, fileName, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type: type || "application/x-lanshi-design" }));
    const link = document.createElement("a");
    link.href = url;
    link.download = fileName;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  // One document's saves, one after another: run(task) starts the task
  // when every save asked before it has ended, and answers what it answers.
  function saveQueue() {
    let last = Promise.resolve();
    return function run(task) {
      const turn = last.then(task);
      last = turn.catch(() => undefined);
      return turn;
    };
  }

  // A design file dropped on `element`: opened by `open({bytes, name,
  // handle: null})`.
  function acceptDrops(element, open) {
    element.addEventListener("dragover", (event) => {
      if (event.dataTransfer && Array.from(event.dataTransfer.types).includes("Files")) {
        event.preventDefault();
        element.classList.add("dropping");
      }
    });
    element.addEventListener("dragleave", () => element.classList.remove("dropping"));
    element.addEventListener("drop", async (event) => {
      element.classList.remove("dropping");
      const file = event.dataTransfer && event.dataTransfer.files[0];
      if (!file) {
        return;
      }
      event.preventDefault();
      await open({ bytes: new Uint8Array(await file.arrayBuffer()), name: file.name, handle: null });
    });
  }

  page.files = { pickDesign, pickSaveTarget, writeInPlace, download, saveQueue, acceptDrops };
})();
