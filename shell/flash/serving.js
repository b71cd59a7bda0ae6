"use strict";
// How the page reads its files: Ruffle's scripts and wasm, the movies, and what movies
// load. Every read of our own origin goes through here.
(function (P) {
    const OWN = P.OWN;
    // A standby instance's movie: its fetch is answered with the real movie once one is asked for.
    P.STANDBY_PATH = "/player/standby.swf";

    function isOwnUrl(url) {
        return url.protocol === OWN.protocol && url.host === OWN.host;
    }

    // Captured before anything wraps them: the page's own notes are not a movie's data.
    const nativeDefineProperty = Object.defineProperty;
    P.realStorage = (function () {
        try {
            return window.localStorage;
        } catch (error) {
            return null;
        }
    })();

    // Qt 6.4 refuses fetch() on custom schemes, and Ruffle fetches its wasm, fonts and every
    // movie with it: read our own URLs with XMLHttpRequest instead. What a movie loads goes
    // to the host, which resolves the movie's path (movieloads.js).
    const nativeFetch = window.fetch.bind(window);
    window.fetch = function (input, init) {
        const isRequest = typeof Request !== "undefined" && input instanceof Request;
        let url;
        try {
            url = new URL(isRequest ? input.url : String(input), document.baseURI);
        } catch (error) {
            return Promise.reject(new TypeError("Failed to fetch " + String(input)));
        }
        const method = (init && init.method) || (isRequest ? input.method : "GET");
        if (PelloraLoads.isMovieLoad(url))
            return readOwn(PelloraLoads.routed(url, P.state.movieUrl), method, url);
        if (!isOwnUrl(url))
            return nativeFetch(input, init);
        if (url.pathname === P.STANDBY_PATH)
            return P.standbyMovie(url);
        if (url.pathname.endsWith(".wasm"))
            return ruffleWasm(url);
        return readOwn(url, method);
    };

    function ownResponse(body, type, url, status) {
        const response = new Response(body, { status: status || 200, headers: { "Content-Type": type } });
        // A constructed Response has an empty url; the movie's _url and relative loads need it.
        nativeDefineProperty(response, "url", { value: url.href });
        return response;
    }

    // `asked` is the URL the response says it is from (the one the movie asked for).
    function readOwn(url, method, asked) {
        const shown = asked || url;
        return new Promise(function (resolve, reject) {
            const xhr = new XMLHttpRequest();
            xhr.open(method, url.href);
            xhr.responseType = "arraybuffer";
            xhr.onload = function () {
                const type = xhr.getResponseHeader("Content-Type") || "application/octet-stream";
                const status = xhr.status >= 200 && xhr.status <= 599 ? xhr.status : 200;
                resolve(ownResponse(xhr.response, type, shown, status));
            };
            xhr.onerror = function () { reject(new TypeError("Failed to fetch " + shown.href)); };
            xhr.send();
        });
    }
    P.readOwn = readOwn;

    // Ruffle's wasm comes from the host's loopback server when it runs one: reading 14 MB
    // through the scheme took a hidden page 17-20 s while another page played. Whatever goes
    // wrong over HTTP, the scheme still serves it. Every page reads it whole before compiling,
    // so that the renderer finds the module compiled first and shares it; a module compiled
    // as the bytes streamed in would be that page's own (its bytes and machine code: some
    // 15 MB more with the textbook and a material open), for no earlier first frame.
    const WASM_SERVER = new URLSearchParams(location.search).get("wasm") || "";

    function servedWasm(url) {
        return WASM_SERVER + url.pathname.slice(url.pathname.lastIndexOf("/") + 1);
    }

    function readWasm(url) {
        function throughScheme() {
            return readOwn(url, "GET");
        }
        if (!WASM_SERVER)
            return throughScheme();
        return nativeFetch(servedWasm(url)).then(function (response) {
            return response.ok ? response : throughScheme();
        }, throughScheme);
    }

    function compileWhole(response, url) {
        return response.then(function (whole) {
            return whole.ok ? whole.arrayBuffer() : Promise.reject(new Error("no " + url.pathname));
        }).then(function (bytes) {
            return WebAssembly.compile(bytes);
        });
    }

    function compileWasm(url) {
        function throughScheme() {
            return compileWhole(readOwn(url, "GET"), url);
        }
        if (!WASM_SERVER)
            return throughScheme();
        return compileWhole(nativeFetch(servedWasm(url)), url).catch(throughScheme);
    }

    // Ruffle reads and compiles its 14 MB of wasm only when the first movie is asked for,
    // which is after the page, its scripts and its channel are up. The page remembers which
    // wasm Ruffle read last time (the origin is the same from one run to the next), starts
    // compiling that as soon as it runs, and gives Ruffle the compiled module.
    const WASM_MEMO = "pellora: Ruffle's wasm";
    const earlyWasm = { path: "", module: null, handedOut: false };

    function rememberedWasm() {
        try {
            return P.realStorage.getItem(WASM_MEMO);
        } catch (error) {
            return null;   // no storage: every page compiles when Ruffle asks, as it would anyway
        }
    }

    function startWasmEarly() {
        const path = rememberedWasm();
        if (!path)
            return;
        earlyWasm.path = path;
        earlyWasm.module = compileWasm(new URL(path, document.baseURI));
        earlyWasm.module.catch(function () {});   // Ruffle then reads and compiles it itself
    }

    function ruffleWasm(url) {
        if (rememberedWasm() !== url.pathname) {
            try {
                P.realStorage.setItem(WASM_MEMO, url.pathname);
            } catch (error) {
                // as above
            }
        }
        if (earlyWasm.path !== url.pathname || earlyWasm.handedOut)
            return readWasm(url);
        return earlyWasm.module.then(function () {
            earlyWasm.handedOut = true;
            // Empty: Ruffle hands this to instantiateStreaming, which takes the compiled module.
            const body = new ReadableStream({ start(controller) { controller.close(); } });
            return ownResponse(body, "application/wasm", url);
        }, function () {
            return readWasm(url);
        });
    }

    // Ruffle instantiates from the response it fetched. When that was the early wasm, the
    // module compiled from it is already there; otherwise the bytes are compiled whole (see
    // above).
    WebAssembly.instantiateStreaming = function (source, imports) {
        if (earlyWasm.handedOut && earlyWasm.module)
            return instantiateEarly(source, imports);
        return Promise.resolve(source).then(function (response) {
            return response.arrayBuffer();
        }).then(function (bytes) {
            return WebAssembly.instantiate(bytes, imports);
        });
    };

    function instantiateEarly(source, imports) {
        const module = earlyWasm.module;
        earlyWasm.module = null;
        Promise.resolve(source).then(function (response) {
            return response && response.body ? response.body.cancel() : undefined;
        }).catch(function () {});
        return module.then(function (compiled) {
            return WebAssembly.instantiate(compiled, imports).then(function (instance) {
                return { module: compiled, instance: instance };
            });
        });
    }

    startWasmEarly();
})(window.PelloraPlayer);
