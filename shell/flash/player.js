"use strict";
// The page side of one Flash player: hosts at most one Ruffle movie and talks to the
// widget over a QWebChannel object called "host".
(function () {
    const OWN = { protocol: location.protocol, host: location.host };
    const SELF_TEST_NAME = "pellora self-test (a name nobody registered)";
    // A movie that calls this name says it is a still picture (the textbook's page movies do).
    const STILL_NAME = "pellora: still picture";
    const WAIT_REPORT_MS = 10000;
    // A standby player's movie: its fetch is answered with the real movie once one is asked for.
    const STANDBY_PATH = "/player/standby.swf";
    const STANDBY_AFTER_MS = 250;

    function isOwnUrl(url) {
        return url.protocol === OWN.protocol && url.host === OWN.host;
    }

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
            return readOwn(PelloraLoads.routed(url, state.movieUrl), method, url);
        if (!isOwnUrl(url))
            return nativeFetch(input, init);
        if (url.pathname === STANDBY_PATH)
            return standbyMovie(url);
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

    // Ruffle reads and compiles its 14 MB of wasm only when the first movie is asked for,
    // which is after the page, its scripts and its channel are up. The page remembers which
    // wasm Ruffle read last time (the origin is the same from one run to the next), starts
    // reading and compiling that as soon as it runs, and gives Ruffle the compiled module.
    const WASM_MEMO = "pellora: Ruffle's wasm";
    const earlyWasm = { path: "", bytes: null, module: null, handedOut: false };

    function startWasmEarly() {
        let path = null;
        try {
            path = localStorage.getItem(WASM_MEMO);
        } catch (error) {
            return;
        }
        if (!path)
            return;
        earlyWasm.path = path;
        earlyWasm.bytes = readOwn(new URL(path, document.baseURI), "GET").then(function (response) {
            return response.ok ? response.arrayBuffer() : Promise.reject(new Error("no " + path));
        });
        earlyWasm.module = earlyWasm.bytes.then(function (bytes) { return WebAssembly.compile(bytes); });
        earlyWasm.module.catch(function () {});   // Ruffle then reads and compiles it itself
    }

    function ruffleWasm(url) {
        try {
            if (localStorage.getItem(WASM_MEMO) !== url.pathname)
                localStorage.setItem(WASM_MEMO, url.pathname);
        } catch (error) {
            // no storage: every page compiles when Ruffle asks, as it would anyway
        }
        if (earlyWasm.path !== url.pathname || earlyWasm.handedOut)
            return readOwn(url, "GET");
        return Promise.all([earlyWasm.bytes, earlyWasm.module]).then(function (done) {
            const bytes = done[0];
            earlyWasm.bytes = null;   // the page keeps the module, not 14 MB of bytes
            earlyWasm.handedOut = true;
            // In one piece: Ruffle passes the body through a progress counter chunk by chunk,
            // which took 60 ms for the default 64 KB chunks.
            const body = new ReadableStream({
                start(controller) {
                    controller.enqueue(new Uint8Array(bytes));
                    controller.close();
                },
            });
            return ownResponse(body, "application/wasm", url);
        }, function () {
            return readOwn(url, "GET");
        });
    }

    // Ruffle instantiates from the response it fetched; when that was the early wasm, the
    // module compiled from it is already there.
    const nativeInstantiateStreaming = WebAssembly.instantiateStreaming;
    WebAssembly.instantiateStreaming = function (source, imports) {
        if (!earlyWasm.handedOut || !earlyWasm.module)
            return nativeInstantiateStreaming.call(WebAssembly, source, imports);
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
    };

    // Ruffle asks for gamepads on every frame, and once a page has asked, Chromium polls the
    // devices sixty times a second for as long as the program runs, hidden or not (3 % of a
    // core). Flash movies know nothing of gamepads.
    if (navigator.getGamepads)
        navigator.getGamepads = function () { return []; };

    // Ruffle runs ExternalInterface.call(name, …) as new Function("return (" + name + ")(...arguments);").
    // Catch that one shape so that every name reaches the host, whether or not the page defines it.
    const NativeFunction = window.Function;
    const HEAD = "return (", TAIL = ")(...arguments);";
    function HookedFunction(...parts) {
        const body = parts[parts.length - 1];
        if (parts.length === 1 && typeof body === "string" && body.startsWith(HEAD) && body.endsWith(TAIL)) {
            const name = body.slice(HEAD.length, body.length - TAIL.length);
            return function (...args) { return movieCalled(name, args); };
        }
        return NativeFunction(...parts);
    }
    HookedFunction.prototype = NativeFunction.prototype;
    window.Function = HookedFunction;

    // ExternalInterface.addCallback defines a property on the player element; that is the
    // moment calls held for the callback can go.
    const nativeDefineProperty = Object.defineProperty;
    Object.defineProperty = function (target, key, descriptor) {
        const result = nativeDefineProperty(target, key, descriptor);
        if (state.player !== null && target === state.player)
            Promise.resolve().then(deliverCalls);
        return result;
    };

    // Ruffle gives every instance an AudioContext of its own. Closed contexts were seen to
    // keep their output streams: after 16 page turns Chromium refused new ones and memory
    // grew with every turn. So the page opens one real context, and each instance gets a
    // stand-in that plays through its own gain node into it; closing the stand-in cuts that
    // node off. A running context renders silence all the time (a few per cent of a core),
    // so the real one is suspended while nothing can be heard: a hidden page, a still picture.
    const NativeAudioContext = window.AudioContext;
    const sharedContexts = new Map();   // arguments -> { context, users }

    function sharedContext(args) {
        const key = JSON.stringify(args);
        if (!sharedContexts.has(key))
            sharedContexts.set(key, { context: new NativeAudioContext(...args), users: 0 });
        return sharedContexts.get(key);
    }

    function InstanceAudio(...args) {
        const shared = sharedContext(args);
        const context = shared.context;
        shared.users += 1;
        wakeAudio();
        const output = context.createGain();
        output.connect(context.destination);
        let own = "running";
        const listeners = [];
        const audio = {
            onstatechange: null,
            get state() { return own; },
            get sampleRate() { return context.sampleRate; },
            get currentTime() { return context.currentTime; },
            get destination() { return output; },
            createBuffer(...a) { return context.createBuffer(...a); },
            createBufferSource() { return context.createBufferSource(); },
            createGain() { return context.createGain(); },
            addEventListener(type, listener) { if (type === "statechange") listeners.push(listener); },
            removeEventListener(type, listener) { const i = listeners.indexOf(listener); if (i >= 0) listeners.splice(i, 1); },
            suspend() { change("suspended"); return Promise.resolve(); },
            resume() { change("running"); wakeAudio(); return Promise.resolve(); },
            close() {
                if (own !== "closed") {
                    shared.users -= 1;
                    output.disconnect();
                    change("closed");
                    if (shared.users === 0)
                        context.suspend();   // a spare page or an emptied one: nothing to hear
                }
                return Promise.resolve();
            },
        };
        function change(next) {
            if (own === "closed" || own === next)
                return;
            own = next;
            output.gain.value = own === "running" ? 1 : 0;
            const event = new Event("statechange");
            for (const listener of listeners.slice())
                listener.call(audio, event);
            if (typeof audio.onstatechange === "function")
                audio.onstatechange(event);
        }
        return audio;
    }
    InstanceAudio.prototype = NativeAudioContext.prototype;
    window.AudioContext = InstanceAudio;

    function quietAudio() {
        for (const shared of sharedContexts.values()) {
            if (shared.context.state === "running")
                shared.context.suspend();
        }
    }

    function wakeAudio() {
        if (state.still || document.hidden) {
            quietAudio();
            return;
        }
        for (const shared of sharedContexts.values()) {
            if (shared.users > 0 && shared.context.state === "suspended")
                shared.context.resume();
        }
    }

    document.addEventListener("visibilitychange", function () {
        if (document.hidden)
            quietAudio();
        else
            wakeAudio();
    });

    const state = {
        host: null,
        outbox: [],
        player: null,
        movieUrl: "",
        loads: 0,
        standby: null,           // { player, key, deliver } - see prepareStandby
        standbyTimer: 0,
        loaded: false,
        background: "",          // set by the host; else the movie's own colour
        calls: [],
        still: false,
        waitedMs: 0,
        waitTimer: 0,
        waitReported: false,
        probe: null,
    };

    function toHost(method, ...args) {
        if (state.host)
            state.host[method](...args);
        else
            state.outbox.push([method, args]);
    }

    function encode(value, depth) {
        if (depth > 64 || value === undefined)
            return ["u"];
        if (value === null)
            return ["null"];
        switch (typeof value) {
        case "string": return ["s", value];
        case "number": return ["n", String(value)];
        case "boolean": return [value ? "t" : "f"];
        case "object":
            if (Array.isArray(value))
                return ["a", value.map(function (item) { return encode(item, depth + 1); })];
            return ["o", Object.keys(value).map(function (key) { return [key, encode(value[key], depth + 1)]; })];
        default: return ["u"];
        }
    }

    function decode(tagged) {
        switch (tagged[0]) {
        case "s": return String(tagged[1]);
        case "n": return Number(tagged[1]);
        case "t": return true;
        case "f": return false;
        case "null": return null;
        case "a": return tagged[1].map(decode);
        case "o": {
            const object = {};
            for (const pair of tagged[1])
                object[pair[0]] = decode(pair[1]);
            return object;
        }
        default: return undefined;
        }
    }

    function movieCalled(name, args) {
        if (name === SELF_TEST_NAME) {
            toHost("selfTestPassed");
            removeProbe();
        } else if (!state.player) {
            // A movie being unloaded: nothing it says matters now.
        } else if (name === STILL_NAME) {
            holdStill(state.player);
        } else {
            toHost("movieCall", name, args.map(function (arg) { return encode(arg, 0); }));
        }
        return undefined; // the host answers asynchronously, never with a value
    }

    function currentBackground() {
        if (state.background)
            return state.background;
        const metadata = state.player && state.player.metadata;
        return (metadata && metadata.backgroundColor) || "#ffffff";
    }

    function showBackground() {
        document.body.style.background = currentBackground();
    }

    const LOAD_OPTIONS = {
        allowScriptAccess: true,
        autoplay: "on",
        unmuteOverlay: "hidden",
        splashScreen: false,
        contextMenu: "off",
        letterbox: "off",
        wmode: "transparent",        // the stage colour is the page's, so it can change while playing
        backgroundExecutionMode: "none", // hidden players pause
        openUrlMode: "deny",
        warnOnUnsupportedContent: false,
        logLevel: "error",
    };

    function movieOptions(command, url) {
        return Object.assign({}, LOAD_OPTIONS, {
            url: url,
            base: PelloraLoads.baseFor(command.url),
            parameters: command.vars || {},
            preferredRenderer: command.renderer || "canvas",
        });
    }

    function newPlayer() {
        const player = window.RufflePlayer.newest().createPlayer();
        return player;
    }

    // A replaced instance's memory (tens of MB) stays until V8 collects; ask for that once
    // the page has been quiet for a while (the program exposes gc() for this).
    let collectTimer = 0;
    function collectGarbageLater() {
        if (typeof window.gc !== "function")
            return;
        clearTimeout(collectTimer);
        collectTimer = setTimeout(function () { window.gc(); }, 3000);
    }

    // A player removed from the page while Ruffle is still building its instance gets that
    // instance afterwards, detached and never destroyed: it keeps playing, keeps its audio
    // stream and its memory. So a player leaves the page only once its load() has settled;
    // until then it is just hidden.
    function retire(player) {
        player.classList.add("retired");
        if (player.settled)
            player.remove();
        collectGarbageLater();
    }

    function removePlayer() {
        if (state.player)
            retire(state.player);
        state.still = false;
        state.player = null;
        state.loaded = false;
        state.movieUrl = "";
    }

    function watchForPanic(player, url) {
        // Ruffle replaces the movie by a bug-report screen when it cannot play; we show nothing instead.
        const observer = new MutationObserver(function () {
            const panic = player.shadowRoot && player.shadowRoot.getElementById("panic");
            if (!panic)
                return;
            observer.disconnect();
            const body = player.shadowRoot.getElementById("panic-body");
            // Said even when a newer movie has taken its place: the host names the one that failed.
            toHost("movieFailed", url, body ? body.textContent.trim() : "Ruffle could not play it");
            if (player === state.player) {
                removePlayer();
                showBackground();
            }
        });
        observer.observe(player.shadowRoot, { childList: true, subtree: true });
    }

    // The host sends the next load only once this one has settled (loadSettled), so
    // turning pages fast builds a few instances, not one per press.
    function loadMovie(command) {
        clearTimeout(state.standbyTimer);
        dropCallsOfOldMovie();
        state.loads += 1;
        const standby = takeStandby(command);
        // Its movie's fetch is waiting: start reading the movie before anything else (taking
        // the old player off the page takes some 10 ms).
        if (standby)
            standby.deliver(new URL(command.url, document.baseURI));
        removePlayer();
        const player = standby ? standby.player : newPlayer();
        state.player = player;
        state.movieUrl = command.url;
        wakeAudio();
        if (!standby)
            document.getElementById("stage").appendChild(player);
        watchForPanic(player, command.url);
        player.addEventListener("loadedmetadata", function () {
            if (player !== state.player)
                return;
            state.loaded = true;
            showBackground();
            player.focus({ preventScroll: true });
            toHost("movieLoaded", command.url);
            deliverCalls();
            standbyLater(command);
        });
        if (standby) {
            player.classList.remove("standby");
            player.ruffle().resume();
            loadSettled(player, command.url);
            return;
        }
        player.ruffle().load(movieOptions(command, command.url)).then(function () {
            loadSettled(player, command.url);
        }, function (error) {
            loadSettled(player, command.url);
            if (player === state.player) {
                toHost("movieFailed", command.url, String(error));
                removePlayer();
                showBackground();
            }
        });
        showBackground();
    }

    function loadSettled(player, url) {
        player.settled = true;
        if (player !== state.player)
            player.remove();
        toHost("loadSettled", url);
    }

    // Building a Ruffle instance is most of a page turn's time. A page that has turned once
    // will likely turn again, so once it is quiet it builds the next instance ahead, hidden
    // and paused, its movie's fetch held open; the next load hands that fetch the real movie.
    function standbyKey(command) {
        // An instance resolves its movie's paths against the folder it was built for.
        return JSON.stringify([command.vars || {}, command.renderer || "canvas", PelloraLoads.baseFor(command.url)]);
    }

    function standbyLater(command) {
        clearTimeout(state.standbyTimer);
        if (state.loads < 2 || (state.standby && state.standby.key === standbyKey(command)))
            return;
        state.standbyTimer = setTimeout(function () { prepareStandby(command); }, STANDBY_AFTER_MS);
    }

    function prepareStandby(command) {
        if (state.standby)
            retire(state.standby.player);
        const player = newPlayer();
        player.classList.add("standby");
        const standby = { player: player, key: standbyKey(command), deliver: null };
        state.standby = standby;
        document.getElementById("stage").appendChild(player);
        player.ruffle().load(movieOptions(command, STANDBY_PATH + "?" + state.loads)).then(function () {
            player.settled = true;
            if (state.standby === standby)
                player.ruffle().suspend();   // nothing to play yet: no frames to run
            else
                player.remove();
        }, function () {
            player.settled = true;
            if (state.standby === standby)
                state.standby = null;
            player.remove();
        });
    }

    function standbyMovie(url) {
        const standby = state.standby;
        if (!standby || !standby.player.isConnected)
            return Promise.reject(new TypeError("Failed to fetch " + url.href));
        return new Promise(function (resolve, reject) {
            standby.deliver = function (movie) { readOwn(movie, "GET").then(resolve, reject); };
        });
    }

    function takeStandby(command) {
        const standby = state.standby;
        if (!standby || !standby.player.settled || !standby.deliver || standby.key !== standbyKey(command))
            return null;
        state.standby = null;
        return standby;
    }

    // Ruffle redraws every frame whether anything moved or not, which costs a visible player
    // a good part of a core. A suspended player still answers the mouse (hover states,
    // button clicks) and redraws for that; it only stops running frames.
    function holdStill(player) {
        if (!player)
            return;
        requestAnimationFrame(function () {
            requestAnimationFrame(function () {
                if (player !== state.player || !player.shadowRoot)
                    return;
                const style = document.createElement("style");
                style.textContent = "#play-button { display: none !important; }";
                player.shadowRoot.appendChild(style);
                player.ruffle().suspend();
                state.still = true;
                quietAudio();
            });
        });
    }

    function setBackground(command) {
        state.background = command.color || "";
        showBackground();
    }

    function queueCall(command) {
        state.calls.push({ name: command.name, args: command.args || [] });
        deliverCalls();
    }

    // Calls go in order; one waits (and so do those behind it) until the movie has
    // registered its callback, however long its intro plays: what the host sends a movie
    // must reach it. Only a new movie ends the wait (see loadMovie). A callback still
    // missing after ten seconds of visible playing is reported once, for the movie's author.
    function deliverCalls() {
        while (state.calls.length > 0) {
            const call = state.calls[0];
            const player = state.player;
            if (!player || !Object.prototype.hasOwnProperty.call(player, call.name)) {
                watchWait();
                return;
            }
            state.calls.shift();
            state.waitedMs = 0;
            try {
                player[call.name](...call.args.map(decode));
            } catch (error) {
                toHost("log", "the movie's callback " + call.name + " failed: " + error);
            }
        }
        stopWaitWatch();
    }

    function watchWait() {
        if (state.waitTimer)
            return;
        state.waitTimer = setInterval(function () {
            if (!state.loaded || document.visibilityState !== "visible" || state.waitReported)
                return;
            state.waitedMs += 500;
            if (state.waitedMs < WAIT_REPORT_MS)
                return;
            state.waitReported = true;
            toHost("callWaiting", state.calls[0].name, state.movieUrl);
        }, 500);
    }

    function stopWaitWatch() {
        clearInterval(state.waitTimer);
        state.waitTimer = 0;
        state.waitedMs = 0;
    }

    // Calls still waiting were meant for the movie that is being replaced.
    function dropCallsOfOldMovie() {
        state.calls = [];
        state.waitReported = false;
        stopWaitWatch();
    }

    // A hidden second player that plays the warm-up movie, whose first frame calls a name
    // nobody defines: if that reaches movieCalled, the Function hook still matches this Ruffle.
    function runSelfTest(command) {
        removeProbe();
        const probe = newPlayer();
        probe.id = "probe";
        state.probe = probe;
        document.body.appendChild(probe);
        probe.ruffle().load(movieOptions(command, command.url))
            .catch(function () { removeProbe(); });
    }

    function removeProbe() {
        if (state.probe) {
            const probe = state.probe;
            state.probe = null;
            setTimeout(function () { probe.remove(); }, 0);
        }
    }

    const COMMANDS = {
        load: loadMovie,
        unload: function () { dropCallsOfOldMovie(); removePlayer(); showBackground(); },
        background: setBackground,
        call: queueCall,
        selftest: runSelfTest,
    };

    function run(command) {
        const handler = COMMANDS[command.op];
        if (handler)
            handler(command);
    }

    window.RufflePlayer = window.RufflePlayer || {};
    window.RufflePlayer.config = { publicPath: OWN.protocol + "//" + OWN.host + "/ruffle/", polyfills: false };

    startWasmEarly();

    document.addEventListener("DOMContentLoaded", function () {
        new QWebChannel(qt.webChannelTransport, function (channel) {
            state.host = channel.objects.host;
            for (const [method, args] of state.outbox.splice(0))
                state.host[method](...args);
            state.host.command.connect(run);
            state.host.pageReady();
        });
    });
})();
