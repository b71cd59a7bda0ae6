"use strict";
// Ruffle's animation frames. Ruffle drives each instance from requestAnimationFrame, asking
// again with the same callback after each frame, and reads the instance's frame clock from
// the timestamps those callbacks get.
//
// A movie's first frame at once: Ruffle runs it only when a whole frame's time has passed
// after the movie loaded (83 ms at 12 frames a second), where the Flash Player showed it at
// once. Once a movie has loaded, its instance's clock (and only its) is moved on by nearly a
// frame's time in one animation frame, so that the first frame runs in the next. Not in the
// same: Ruffle moves its timers on by the time an animation frame brought after running the
// frames, so the timers the first frame starts would see the extra time and fire early.
// Later frames and timers keep their pace.
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

    // Whose instance a callback drives: Ruffle makes an instance's canvas and asks for its
    // first animation frame in one go, so the newest canvas made before a callback first came
    // is its instance's, found in that player once it is on the page. The storage view of each
    // instance is told apart the same way (calls.js).
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
    P.canvasSerial = function () { return canvasSerial; };

    // The player element holding the newest canvas made after `after` and up to `upTo`.
    P.playerOfCanvases = function (after, upTo) {
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
    };

    const clocks = new WeakMap();   // callback -> its instance's clock
    const firstFramesDue = new WeakMap();   // player -> frame time, for its instance's next frame

    function clockOf(callback) {
        let clock = clocks.get(callback);
        if (!clock) {
            clock = { upTo: canvasSerial, player: null, last: 0, ahead: 0 };
            clocks.set(callback, clock);
        }
        return clock;
    }

    function timeFor(clock, timestamp) {
        if (!clock.player)
            clock.player = P.playerOfCanvases(0, clock.upTo);
        // Only a callback that has run before is an instance's: it asks again every frame.
        if (clock.last && clock.player && firstFramesDue.has(clock.player)) {
            const frameTime = firstFramesDue.get(clock.player);
            firstFramesDue.delete(clock.player);
            clock.ahead += Math.max(0, frameTime - (timestamp - clock.last) - SPARE_MS);
        }
        clock.last = timestamp;
        return timestamp + clock.ahead;
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

    // For a player whose movie has just loaded (its metadata is known).
    P.runFirstFrameNow = function (player) {
        const frameRate = player.metadata && player.metadata.frameRate;
        if (frameRate > 0)
            firstFramesDue.set(player, 1000 / frameRate);
    };
})(window.PelloraPlayer);
