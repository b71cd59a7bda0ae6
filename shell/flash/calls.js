"use strict";
// What a movie and its host say to each other: ExternalInterface calls both ways with
// their answers, FSCommand, links, trace() output, and the movie's local storage.
(function (P) {
    const state = P.state;
    // A movie that calls this name says it is a still picture (the textbook's page movies do).
    const STILL_NAME = "pellora: still picture";
    const WAIT_REPORT_MS = 10000;
    const PAGE = new URLSearchParams(location.search).get("page") || "";

    // Values travel to the host as tagged JSON (see FlashInvoke).
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

    function movieCalled(name, args) {
        if (P.selfTest.called(name, args))
            return P.selfTest.ANSWER;
        if (!state.player)
            return undefined;   // a movie being unloaded: nothing it says matters now
        if (name === STILL_NAME) {
            P.holdStill(state.player);
            return undefined;
        }
        return askHost(name, args);
    }

    // The movie waits for the answer, as it did in the Flash control: the page asks the
    // host with a synchronous request, which the host answers once its handler has run.
    // Calls the handler made into this movie come back with the answer and run first.
    //
    // A frozen page (a hidden player) may not make requests; its movie's call then goes over
    // the channel, unanswered (null), so that it is not lost.
    function askHost(name, args) {
        const encoded = args.map(function (arg) { return encode(arg, 0); });
        const call = JSON.stringify([name, encoded]);
        // Callbacks registered since the last call go along: a host answering "ready" knows them.
        const registered = JSON.stringify([state.movieUrl, state.newCallbacks.splice(0)]);
        const xhr = new XMLHttpRequest();
        try {
            xhr.open("GET", "/player/call?page=" + encodeURIComponent(PAGE) + "&call=" + encodeURIComponent(call)
                     + "&callbacks=" + encodeURIComponent(registered), false);
            xhr.send();
        } catch (error) {
            xhr.abort();
        }
        if (xhr.status !== 200) {
            P.toHost("movieCall", name, encoded);
            return null;
        }
        const reply = JSON.parse(xhr.responseText);
        for (const inner of reply.calls)
            runOrQueue({ name: inner[0], args: inner[1] });
        return decode(reply.value);
    }

    // ExternalInterface.addCallback defines a property on the player element; that is the
    // moment calls held for the callback can go.
    const nativeDefineProperty = Object.defineProperty;
    Object.defineProperty = function (target, key, descriptor) {
        const result = nativeDefineProperty(target, key, descriptor);
        if (target === state.player && state.player !== null) {
            state.newCallbacks.push(String(key));
            P.toHost("callbackAdded", state.movieUrl, String(key));
            Promise.resolve().then(deliverCalls);
        } else {
            P.selfTest.defined(target, key);
        }
        return result;
    };

    function runOrQueue(call) {
        if (!isWaiting(call.name) && hasCallback(call.name))
            run(call);
        else
            queueCall(call);
    }

    function hasCallback(name) {
        return state.player !== null && Object.prototype.hasOwnProperty.call(state.player, name);
    }

    function isWaiting(name) {
        return state.calls.some(function (call) { return call.name === name; });
    }

    function run(call) {
        let result;
        let failed = false;
        try {
            result = state.player[call.name](...call.args.map(decode));
        } catch (error) {
            failed = true;
            P.toHost("log", "the movie's callback " + call.name + " failed: " + error);
        }
        if (call.id !== undefined)
            P.toHost("callDone", call.id, failed ? ["x"] : encode(result, 0));
    }

    function queueCall(call) {
        state.calls.push({ id: call.id, name: call.name, args: call.args || [] });
        deliverCalls();
    }

    // Calls to one callback go in order, and wait until the movie has registered it, however
    // long its intro plays: what the host sends a movie must reach it. A call never waits for
    // another callback (a movie may never register one the host writes to). Only a new movie
    // ends the wait (see dropCallsOfOldMovie). A callback still missing after ten seconds of
    // visible playing is reported once, for the movie's author.
    function nextDeliverable() {
        const passed = new Set();
        for (let i = 0; i < state.calls.length; ++i) {
            const name = state.calls[i].name;
            if (!passed.has(name) && hasCallback(name))
                return i;
            passed.add(name);
        }
        return -1;
    }

    function deliverCalls() {
        for (let next = nextDeliverable(); next >= 0; next = nextDeliverable()) {
            const call = state.calls.splice(next, 1)[0];
            state.waitedMs = 0;
            run(call);
        }
        if (state.calls.length > 0)
            watchWait();
        else
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
            P.toHost("callWaiting", state.calls[0].name, state.movieUrl);
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

    // What an instance reports goes to the host only while it shows the current movie.
    function listenTo(player) {
        player.onFSCommand = function (command, args) {
            if (player === state.player && command !== "pellora self-test")
                P.toHost("fsCommand", String(command), String(args));
            return true;
        };
    }

    // Ruffle drops a trace observer set before the instance exists: set it once it does.
    function observeTrace(player, command) {
        if (!command.trace)
            return;
        player.ruffle().traceObserver = function (message) {
            if (player === state.player)
                P.toHost("movieLog", "trace", String(message));
        };
    }

    // getURL to a web address: Ruffle opens other windows with window.open and sends
    // variables with a form; the movie's own window it navigates, which the host refuses.
    // Nothing is fetched; the host hears of it.
    window.open = function (url, target) {
        P.toHost("linkRequested", String(url), String(target || "_blank"), "GET", "");
        return null;
    };
    // A javascript: link into the movie's own window is script the page refuses to run (its
    // Content-Security-Policy); the host hears of it like any other link, and says it was refused.
    document.addEventListener("securitypolicyviolation", function (event) {
        const sample = String(event.sample || "");
        if (/^javascript:/i.test(sample))
            P.toHost("linkRequested", sample, "_self", "GET", "");
        else
            P.toHost("log", "refused by the page's security policy: " + event.violatedDirective + " "
                     + (event.blockedURI || sample));
    });
    HTMLFormElement.prototype.submit = function () {
        const method = (this.getAttribute("method") || "get").toUpperCase();
        const variables = new URLSearchParams();
        for (const input of this.querySelectorAll("input"))
            variables.append(input.name, input.value);
        let url = this.action;
        if (method !== "POST" && variables.toString() !== "") {
            const withQuery = new URL(url);
            for (const [key, value] of variables)
                withQuery.searchParams.append(key, value);
            url = withQuery.href;
        }
        P.toHost("linkRequested", url, this.getAttribute("target") || "_self", method,
                 method === "POST" ? variables.toString() : "");
        this.remove();
    };

    // Movies keep SharedObjects in the origin's local storage, which every pupil of the
    // installation shares: each pupil's keys get a space of their own. Ruffle reads and
    // writes the storage as an object (storage[key]), so the page's storage is replaced by
    // a view of the current pupil's space.
    //
    // The painter of neighbouring pages (previews.js) runs a movie's first frame, flush()
    // included, before the pupil has opened that page: it reads her data, so that its picture
    // shows what the movie will, but what it writes goes to a scratch copy that goes with its
    // instance. An instance asks for the storage once, while it is built, right after it made
    // its canvas; whose instance it is shows once that canvas is in a player.
    const realStorage = P.realStorage;
    function spaced(key) {
        return state.storageSpace ? "pupil " + state.storageSpace + "\n" + String(key) : String(key);
    }

    function viewFor(after, upTo) {
        let painter = null;   // unknown until the canvas is in a player
        const scratch = new Map();   // key -> value, or null when removed
        function isPainter() {
            if (painter === null) {
                const player = playerOfCanvases(after, upTo);
                if (player)
                    painter = P.isPainterPlayer(player);
            }
            return painter === true;
        }
        function read(key) {
            if (isPainter() && scratch.has(key))
                return scratch.get(key);
            return realStorage.getItem(spaced(key));
        }
        return new Proxy(realStorage, {
            get(target, key) {
                if (typeof key !== "string")
                    return undefined;
                const value = read(key);
                return value === null ? undefined : value;
            },
            set(target, key, value) {
                if (isPainter())
                    scratch.set(String(key), String(value));
                else
                    target.setItem(spaced(key), String(value));
                return true;
            },
            deleteProperty(target, key) {
                if (isPainter())
                    scratch.set(String(key), null);
                else
                    target.removeItem(spaced(key));
                return true;
            },
            has(target, key) {
                return typeof key === "string" && read(key) !== null;
            },
        });
    }

    // Ruffle makes each instance's canvas with document.createElement; the newest canvas made
    // since the storage was last asked for that is in a player names the instance's player.
    const nativeCreateElement = document.createElement;
    const recentCanvases = [];   // { canvas, serial }, newest last
    let canvasSerial = 0;
    document.createElement = function (name, options) {
        const element = nativeCreateElement.call(this, name, options);
        if (element instanceof HTMLCanvasElement) {
            recentCanvases.push({ canvas: element, serial: ++canvasSerial });
            if (recentCanvases.length > 64)
                recentCanvases.shift();
        }
        return element;
    };
    function playerOfCanvases(after, upTo) {
        for (let i = recentCanvases.length - 1; i >= 0; --i) {
            const entry = recentCanvases[i];
            if (entry.serial <= after)
                break;
            if (entry.serial > upTo || !entry.canvas.isConnected)
                continue;
            const root = entry.canvas.getRootNode();
            if (root && root.host)
                return root.host;
        }
        return null;
    }

    let canvasesTaken = 0;
    if (realStorage) {
        Object.defineProperty(window, "localStorage", {
            get() {
                const view = viewFor(canvasesTaken, canvasSerial);
                canvasesTaken = canvasSerial;
                return view;
            },
            configurable: true,
        });
    }

    P.queueCall = queueCall;
    P.deliverCalls = deliverCalls;
    P.dropCallsOfOldMovie = dropCallsOfOldMovie;
    P.listenTo = listenTo;
    P.observeTrace = observeTrace;
})(window.PelloraPlayer);
