"use strict";
// A movie's first frame at once. Ruffle runs a movie's first frame only when a whole frame's
// time has passed after it loaded (83 ms at 12 frames a second), where the Flash Player
// showed it at once. Ruffle's frame clock is the timestamp of the animation frames it asks
// for: once a movie has loaded, that clock is moved on by one frame's time, so Ruffle runs
// and draws the first frame in the next animation frame. Later frames keep their pace.
(function (P) {
    const nativeRequestAnimationFrame = window.requestAnimationFrame.bind(window);
    let clockAhead = 0;

    window.requestAnimationFrame = function (callback) {
        return nativeRequestAnimationFrame(function (timestamp) {
            callback(timestamp + clockAhead);
        });
    };

    // For a player whose movie has just loaded (its metadata is known).
    P.runFirstFrameNow = function (player) {
        const frameRate = player.metadata && player.metadata.frameRate;
        if (frameRate > 0)
            clockAhead += 1000 / frameRate;
    };
})(window.PelloraPlayer);
