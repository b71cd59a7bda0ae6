"use strict";
// Ruffle's animation frames. Ruffle drives each instance from requestAnimationFrame, asking
// again with the same callback after each frame, and reads the instance's frame clock from
// the timestamps that callback gets.
//
// A movie's first frame at once: Ruffle runs a frame once a whole frame's time has gathered
// (83 ms at 12 frames a second), where the Flash Player showed the first frame as the movie
// loaded. Our instances start playing only when their movie's header is known (they are
// built with autoplay off), so nothing has gathered by then; in the next animation frame the
// clock is moved on to just short of a frame, and the first frame runs in the one after.
// Never in the same: Ruffle moves its timers on by an animation frame's time after running
// that frame's frames, so the timers the first frame starts would see the extra time and
// fire early. Later frames and timers keep their pace; a bare Ruffle page runs the same frames
// with the same timers, one frame's wait later.
//
// Few frames on a quiet page: an instance asks for a frame sixty times a second even when it
// is suspended, and each such frame costs the renderer, its compositor and Qt's view a good
// 60 % of a core between them on a 2-core machine without a GPU. While the page shows a still
// or held movie, nothing else plays, and nobody has touched the page for a second, the
// callbacks run four times a second.
(function (P) {
    const nativeRequestAnimationFrame = window.requestAnimationFrame.bind(window);
    const QUIET_AFTER_MS = 1000;
    const QUIET_FRAME_MS = 250;
    // What the first frame's animation frame must still bring: Ruffle runs a frame once its
    // time has fully passed.
    const SPARE_MS = 2;
    let lastInput = 0;

    // Each instance's clock, by its callback, numbered as the callbacks first ask for a frame.
    // The instance a player's load builds is the first to ask after that load; it alone is
    // hurried once its movie's header is known, so that the movies other instances play (a
    // painter's, the shown one while a neighbour is painted) keep their time.
    const clocks = new WeakMap();   // callback -> clock
    const recentClocks = [];        // the newest few, oldest first
    let clocksMade = 0;
    const loadMarks = new WeakMap(); // player -> clocksMade when its movie was last asked for

    function clockOf(callback) {
        let clock = clocks.get(callback);
        if (!clock) {
            clock = { serial: ++clocksMade, last: 0, ahead: 0, hurry: 0, hurried: false };
            clocks.set(callback, clock);
            recentClocks.push(clock);
            if (recentClocks.length > 32)
                recentClocks.shift();
        }
        return clock;
    }

    function timeFor(clock, timestamp) {
        // An instance's first tick counts no time, so the hurry waits for its second.
        if (clock.hurry && clock.last) {
            clock.ahead += Math.max(0, clock.hurry - SPARE_MS - (timestamp - clock.last));
            clock.hurry = 0;
        }
        clock.last = timestamp;
        return timestamp + clock.ahead;
    }

    function hurryFirstFrame(player) {
        const frameRate = player.metadata && player.metadata.frameRate;
        const mark = loadMarks.get(player) || 0;
        const clock = recentClocks.find(function (c) { return c.serial > mark && !c.hurried; });
        if (!(frameRate > 0) || !clock)
            return;
        clock.hurried = true;
        clock.hurry = 1000 / frameRate;
    }

    for (const type of ["pointermove", "pointerdown", "pointerup", "wheel", "keydown", "keyup"]) {
        window.addEventListener(type, function () {
            lastInput = performance.now();
            P.wakeFrames();
        }, { capture: true, passive: true });
    }

    function isQuiet() {
        const state = P.state;
        // A held movie is quiet once drawn; before that it needs every frame to draw.
        return (state.still || (state.held && state.drawn)) && !P.isPainting()
               && performance.now() - lastInput > QUIET_AFTER_MS;
    }

    const nativeCancelAnimationFrame = window.cancelAnimationFrame.bind(window);
    const quietFrames = new Map();   // id (negative, apart from the browser's) -> timer, frame
    let lastQuietId = 0;

    window.requestAnimationFrame = function (callback) {
        const clock = clockOf(callback);
        const run = function (timestamp) { callback(timeFor(clock, timestamp)); };
        if (!isQuiet())
            return nativeRequestAnimationFrame(run);
        const id = --lastQuietId;
        const waiting = { timer: 0, frame: 0, ask: null };
        waiting.ask = function () {
            clearTimeout(waiting.timer);
            if (!waiting.frame) {
                waiting.frame = nativeRequestAnimationFrame(function (timestamp) {
                    quietFrames.delete(id);
                    run(timestamp);
                });
            }
        };
        waiting.timer = setTimeout(waiting.ask, QUIET_FRAME_MS);
        quietFrames.set(id, waiting);
        return id;
    };

    // The page is no longer quiet (a movie starts, a held one is let go, the user moves):
    // frames put off run in the next animation frame.
    P.wakeFrames = function () {
        for (const waiting of quietFrames.values())
            waiting.ask();
    };

    // Ruffle cancels its frame when an instance goes: its callback must not run after that.
    window.cancelAnimationFrame = function (id) {
        const waiting = quietFrames.get(id);
        if (!waiting)
            return nativeCancelAnimationFrame(id);
        quietFrames.delete(id);
        clearTimeout(waiting.timer);
        if (waiting.frame)
            nativeCancelAnimationFrame(waiting.frame);
    };

    // Every player the page makes: it plays from when its movie's header is known (the
    // options say autoplay off), and Ruffle's play button, which it shows while an instance
    // is paused, never shows.
    P.playsFromItsHeader = function (player) {
        const style = document.createElement("style");
        style.textContent = "#play-button { display: none !important; }";
        player.shadowRoot.appendChild(style);
        const nativeRuffle = player.ruffle;
        player.ruffle = function () {
            const api = nativeRuffle.apply(player, arguments);
            const nativeLoad = api.load;
            api.load = function () {
                loadMarks.set(player, clocksMade);
                return nativeLoad.apply(api, arguments);
            };
            return api;
        };
        player.addEventListener("loadedmetadata", function () {
            player.ruffle().resume();
            hurryFirstFrame(player);
        });
    };
})(window.PelloraPlayer);
