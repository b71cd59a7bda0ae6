"use strict";
// The page side of one Flash player: hosts at most one Ruffle movie and takes the widget's
// commands over a QWebChannel object called "host". This file holds the page's state and
// the movie's instances (the current one, the standby one, the self-test probe); the
// other concerns have files of their own, loaded after this one and before Ruffle:
// serving.js (reading files), audio.js (sound), calls.js (what movie and host say),
// previews.js (pictures of the neighbouring pages), pictures.js (pictures of first frames).
// Every behaviour of Ruffle 0.6.0 these rely on is listed in the README ("What the player
// relies on in Ruffle") with the check that fails when an upgrade changes it.
window.PelloraPlayer = (function () {
    const P = {};
    P.OWN = { protocol: location.protocol, host: location.host };
    const SELF_TEST_NAME = "pellora self-test (a name nobody registered)";
    const STANDBY_AFTER_MS = 250;

    const state = P.state = {
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
        held: false,             // see hold()
        drawn: false,            // the current movie's first frame is drawn
        waitedMs: 0,
        waitTimer: 0,
        waitReported: false,
        probe: null,
        storageSpace: "",
        newCallbacks: [],        // registered since the movie last called the host
    };

    P.toHost = function (method, ...args) {
        if (state.host)
            state.host[method](...args);
        else
            state.outbox.push([method, args]);
    };

    // Ruffle asks for gamepads on every frame, and once a page has asked, Chromium polls the
    // devices sixty times a second for as long as the program runs, hidden or not (3 % of a
    // core). Flash movies know nothing of gamepads.
    if (navigator.getGamepads)
        navigator.getGamepads = function () { return []; };

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
        autoplay: "off",             // each plays from its movie's header (frameclock.js)
        unmuteOverlay: "hidden",
        splashScreen: false,
        contextMenu: "off",
        letterbox: "off",
        wmode: "transparent",        // the stage colour is the page's, so it can change while playing
        backgroundExecutionMode: "none", // hidden players pause
        openUrlMode: "allow",        // links reach calls.js, which tells the host and opens nothing
        warnOnUnsupportedContent: false,
        logLevel: "warn",
    };

    function movieOptions(command, url) {
        return Object.assign({}, LOAD_OPTIONS, {
            url: url,
            base: PelloraLoads.baseFor(command.url),
            parameters: command.vars || {},
            preferredRenderer: command.renderer || "canvas",
        });
    }

    P.movieOptions = movieOptions;

    function newPlayer() {
        const player = window.RufflePlayer.newest().createPlayer();
        P.playsFromItsHeader(player);
        P.listenTo(player);
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
        state.drawn = false;
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
            P.toHost("movieFailed", url, body ? body.textContent.trim() : "Ruffle could not play it");
            if (player === state.player) {
                P.hidePreview();
                removePlayer();
                showBackground();
            }
        });
        observer.observe(player.shadowRoot, { childList: true, subtree: true });
    }

    // The host sends the next load only once this one has settled (loadSettled), so
    // turning pages fast builds a few instances, not one per press.
    function loadMovie(command) {
        P.whenPictureShown(command, function () { startMovie(command); });
    }

    function startMovie(command) {
        clearTimeout(state.standbyTimer);
        P.wakeFrames();
        P.dropCallsOfOldMovie();
        state.loads += 1;
        state.storageSpace = command.storage || "";
        const standby = takeStandby(command);
        // Its movie's fetch is waiting: start reading the movie before anything else (taking
        // the old player off the page takes some 10 ms).
        if (standby)
            standby.deliver(new URL(command.url, document.baseURI));
        // The page as it stands shows at once; the movie replaces it once it has drawn.
        const previewed = P.showPreview(command.url, state.background) || P.showPictureOf(command.url);
        if (!previewed)
            P.hidePreview();
        if (state.loaded)
            P.keepPreviewOf(state.player, state.movieUrl);
        removePlayer();
        const player = standby ? standby.player : newPlayer();
        state.player = player;
        state.movieUrl = command.url;
        state.newCallbacks = [];
        // What the movie reads as ExternalInterface.objectID.
        player.setAttribute("name", command.objectId || "");
        P.wakeAudio();
        if (!standby)
            document.getElementById("stage").appendChild(player);
        watchForPanic(player, command.url);
        player.addEventListener("loadedmetadata", function () {
            if (player !== state.player)
                return;
            state.loaded = true;
            showBackground();
            player.focus({ preventScroll: true });
            // The picture goes once the movie has drawn (or given up on drawing) its own; it
            // may have come after the load (a first frame's picture).
            P.firstFrameDrawn(player).then(function () { return true; }, function () { return false; }).then(function (drawn) {
                if (player !== state.player)
                    return;
                P.hidePreview();
                state.drawn = true;
                if (drawn)
                    P.checkFirstFrame(player, command);
                if (state.held)
                    stopRunning(player);
                P.toHost("movieShown", command.url);
            });
            P.toHost("movieLoaded", command.url);
            P.deliverCalls();
            standbyLater(command);
        });
        if (standby) {
            player.classList.remove("standby");
            P.observeTrace(player, command);
            loadSettled(player, command.url);
            return;
        }
        player.ruffle().load(movieOptions(command, command.url)).then(function () {
            P.observeTrace(player, command);
            loadSettled(player, command.url);
        }, function (error) {
            loadSettled(player, command.url);
            if (player === state.player) {
                P.toHost("movieFailed", command.url, String(error));
                P.hidePreview();
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
        P.toHost("loadSettled", url);
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
        player.ruffle().load(movieOptions(command, P.STANDBY_PATH + "?" + state.loads)).then(function () {
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

    P.standbyMovie = function (url) {
        const standby = state.standby;
        if (!standby || !standby.player.isConnected)
            return Promise.reject(new TypeError("Failed to fetch " + url.href));
        return new Promise(function (resolve, reject) {
            standby.deliver = function (movie) { P.readOwn(movie, "GET").then(resolve, reject); };
        });
    };

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
    P.holdStill = function (player) {
        requestAnimationFrame(function () {
            requestAnimationFrame(function () {
                if (player !== state.player)
                    return;
                state.still = true;
                stopRunning(player);
            });
        });
    };

    function stopRunning(player) {
        player.ruffle().suspend();
        P.quietAudio();
    }

    // A held page is on screen only so that its movie is drawn before anybody looks (the
    // textbook under its table of contents): once the first frame is drawn the movie runs no
    // frames, and it makes no sound, until it is let go.
    function hold(command) {
        state.held = !!command.held;
        P.wakeFrames();
        const player = state.player;
        if (!player || !state.drawn || state.still)
            return;   // a movie still starting is stopped once drawn (loadMovie)
        if (state.held) {
            stopRunning(player);
        } else {
            player.ruffle().resume();
            P.wakeAudio();
        }
    }

    function setBackground(command) {
        state.background = command.color || "";
        showBackground();
    }

    // A hidden second player plays the warm-up movie, which uses every way a movie reaches
    // its host that the page hooks into Ruffle for; the host hears which of them worked.
    // Names of the checks as the host reports them.
    const selfTest = P.selfTest = {
        ANSWER: "pellora: answered",
        checks: null,

        called(name, args) {
            if (name !== SELF_TEST_NAME)
                return false;
            if (this.checks && args[0] === "call")
                this.checks["ExternalInterface.call reaches the page (Function hook)"] = true;
            if (this.checks && args[0] === "answer") {
                this.checks["the page's answer reaches the movie"] = args[1] === this.ANSWER;
                this.report();
            }
            return true;
        },

        defined(target, key) {
            if (this.checks && target === state.probe && key === "pelloraSelfTest")
                this.checks["addCallback defines a property of the player element"] = true;
        },

        start(command) {
            this.remove();
            this.checks = {
                "ExternalInterface.call reaches the page (Function hook)": false,
                "the page's answer reaches the movie": false,
                "addCallback defines a property of the player element": false,
                "fscommand reaches onFSCommand": false,
                "trace reaches traceObserver": false,
            };
            const probe = window.RufflePlayer.newest().createPlayer();
            probe.id = "probe";
            P.playsFromItsHeader(probe);
            probe.onFSCommand = (name) => {
                if (name === "pellora self-test")
                    this.checks["fscommand reaches onFSCommand"] = true;
                return true;
            };
            state.probe = probe;
            document.body.appendChild(probe);
            probe.ruffle().load(movieOptions(command, command.url)).then(() => {
                probe.ruffle().traceObserver = (message) => {
                    if (message === "pellora self-test" && this.checks)
                        this.checks["trace reaches traceObserver"] = true;
                };
            }, () => { this.remove(); });
        },

        report() {
            if (!this.checks)
                return;
            const failed = Object.keys(this.checks).filter((check) => !this.checks[check]);
            this.checks = null;
            P.toHost("selfTestDone", failed);
            this.remove();
        },

        remove() {
            if (state.probe) {
                const probe = state.probe;
                state.probe = null;
                setTimeout(function () { probe.remove(); }, 0);
            }
        },
    };

    const COMMANDS = {
        load: loadMovie,
        unload: function () { P.dropCallsOfOldMovie(); P.hidePreview(); removePlayer(); showBackground(); },
        neighbours: function (command) { P.setNeighbours(command); },
        picture: function (command) { P.offerPicture(command); },
        background: setBackground,
        hold: hold,
        call: function (command) { P.queueCall({ id: command.id, name: command.name, args: command.args }); },
        selftest: function (command) { selfTest.start(command); },
    };

    function run(command) {
        const handler = COMMANDS[command.op];
        if (handler)
            handler(command);
    }

    window.RufflePlayer = window.RufflePlayer || {};
    window.RufflePlayer.config = { publicPath: P.OWN.protocol + "//" + P.OWN.host + "/ruffle/", polyfills: false };

    document.addEventListener("DOMContentLoaded", function () {
        new QWebChannel(qt.webChannelTransport, function (channel) {
            state.host = channel.objects.host;
            for (const [method, args] of state.outbox.splice(0))
                state.host[method](...args);
            state.host.command.connect(run);
            state.host.pageReady();
        });
    });
    return P;
})();
