"use strict";
// Ruffle's animation frames. Ruffle drives each instance from requestAnimationFrame and reads
// its frame clock from the timestamps those callbacks get.
//
// A movie's first frame at once: Ruffle runs it only when a whole frame's time has passed
// after the movie loaded (83 ms at 12 frames a second), where the Flash Player showed it at
// once. Once a movie has loaded, the clock is moved on by one frame's time, so Ruffle runs and
// draws the first frame in the next animation frame. Later frames keep their pace.
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
    let clockAhead = 0;
    let lastInput = 0;

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
        const run = function (timestamp) { callback(timestamp + clockAhead); };
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
            clockAhead += 1000 / frameRate;
    };
})(window.PelloraPlayer);
