// Put before Emscripten's loader (--pre-js), inside the module: the
// WebAssembly embedded in lanshi.js (SINGLE_FILE) is decoded from its data:
// address in place and compiled, where the loader would first fetch that
// address. So the page needs no connection at all, not even to data: (its
// Content-Security-Policy says connect-src 'none'), and starts sooner: the
// fetch of a megabyte of data: address costs a page some 40 ms.
Module["instantiateWasm"] = function (imports, receiveInstance) {
  WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports).then(
    (result) => receiveInstance(result.instance, result.module),
    (reason) => {
      err("failed to prepare the WebAssembly: " + reason);
      abort(reason);
    },
  );
  // The exports come later, through receiveInstance.
  return {};
};
