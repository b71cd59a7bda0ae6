"use strict";
// Pictures of the pages next to the one on show. A reader turns to the next page far more
// often than anything else, and that page is known before the press: once the shown movie
// is up, a hidden painter instance plays each neighbour's first frame and keeps a copy of
// it. At the turn the copy shows at once over the stage, while the movie itself starts
// behind it; the copy goes as soon as the movie has drawn its own first frame.
//
// The painter has no script access: it cannot call the host or open anything, so what it
// plays is never mistaken for the shown movie's doing.
(function (P) {
    const state = P.state;
    const AFTER_MS = 60;           // after the shown movie has settled, out of its way
    const FIRST_FRAME_LIMIT = 120; // animation frames to wait for a movie's first pixels
    const previews = new Map();    // movie url -> { bitmap, background }
    let wanted = [];
    let settings = null;           // the shown movie's load command: vars, renderer
    let painter = null;
    let painting = false;
    let timer = 0;

    function overlay() {
        return document.getElementById("preview");
    }

    // Whether some of the canvas's pixels are drawn (a sparse look: a full read of a page
    // costs milliseconds on every frame).
    function hasPixels(canvas) {
        if (!canvas || canvas.width === 0 || canvas.height === 0)
            return false;
        const context = canvas.getContext("2d");
        for (let y = 1; y < 8; ++y) {
            for (let x = 1; x < 8; ++x) {
                const d = context.getImageData((canvas.width * x) >> 3, (canvas.height * y) >> 3, 1, 1).data;
                if (d[3] > 0)
                    return true;
            }
        }
        return false;
    }

    // The canvas Ruffle draws `player`'s movie on.
    function canvasOf(player) {
        return player && player.shadowRoot && player.shadowRoot.querySelector("canvas");
    }
    P.canvasOf = canvasOf;

    // The overlay, drawn by `paint(canvas)` with a picture of `url`, shows over the stage. It
    // is one for the neighbours' pictures and the first frames' (pictures.js).
    P.showOverlay = function (url, paint) {
        const canvas = overlay();
        if (!canvas)
            return false;
        paint(canvas);
        canvas.dataset.shown = String(Number(canvas.dataset.shown || 0) + 1);
        canvas.dataset.url = url;
        canvas.style.display = "block";
        return true;
    };

    // Resolves on the first animation frame in which `player` has drawn something.
    P.firstFrameDrawn = function (player) {
        return new Promise(function (resolve, reject) {
            let frames = 0;
            function look() {
                if (hasPixels(canvasOf(player)))
                    resolve();
                else if (++frames > FIRST_FRAME_LIMIT || !player.isConnected)
                    reject(new Error("no first frame"));
                else
                    requestAnimationFrame(look);
            }
            requestAnimationFrame(look);
        });
    };

    P.setNeighbours = function (command) {
        wanted = command.urls || [];
        settings = command;
        for (const [url, preview] of Array.from(previews.entries())) {
            if (!wanted.includes(url) && url !== state.movieUrl) {
                if (preview)
                    preview.bitmap.close();
                previews.delete(url);
            }
        }
        schedule();
    };

    function schedule() {
        clearTimeout(timer);
        timer = setTimeout(paintNext, AFTER_MS);
    }

    function paintNext() {
        if (painting)
            return;
        const renderer = (settings && settings.renderer) || "canvas";
        const url = wanted.find(function (u) { return !previews.has(u); });
        // Copies are taken from the canvas; other renderers read back blank outside a frame.
        if (!url || renderer !== "canvas" || !window.RufflePlayer.newest) {
            restPainter();
            return;
        }
        if (!state.loaded) {
            schedule();   // the shown movie first
            return;
        }
        painting = true;
        paint(url).catch(function () {
            previews.set(url, null);   // a neighbour that fails turns as an ordinary page
        }).then(function () {
            painting = false;
            schedule();
        });
    }

    function newPainter() {
        const player = window.RufflePlayer.newest().createPlayer();
        P.playsFromItsHeader(player);
        document.getElementById("painting").appendChild(player);
        return player;
    }

    function paint(url) {
        if (!painter || !painter.isConnected)
            painter = newPainter();
        const player = painter;
        const options = Object.assign(P.movieOptions(Object.assign({}, settings, { url: url }), url), {
            allowScriptAccess: false,
            openUrlMode: "deny",
        });
        return new Promise(function (resolve, reject) {
            let metadata = null;
            player.addEventListener("loadedmetadata", function () {
                metadata = player.metadata;
            }, { once: true });
            player.ruffle().load(options).then(function () {
                player.ruffle().volume = 0;
                return P.firstFrameDrawn(player);
            }).then(function () {
                return createImageBitmap(canvasOf(player));
            }).then(function (bitmap) {
                if (!wanted.includes(url) && url !== state.movieUrl) {
                    bitmap.close();
                } else {
                    previews.set(url, { bitmap: bitmap, background: (metadata && metadata.backgroundColor) || "#ffffff" });
                }
                player.ruffle().suspend();
                resolve();
            }).catch(function (error) {
                player.ruffle().suspend();
                reject(error);
            });
        });
    }

    // Nothing left to paint: the painter's instance goes, with its memory.
    function restPainter() {
        if (painter && !painting) {
            painter.remove();
            painter = null;
        }
    }

    // The page being turned away from is likely the next one back: keep what it shows.
    P.keepPreviewOf = function (player, url) {
        const canvas = canvasOf(player);
        if (!url || previews.get(url) || (settings && settings.renderer && settings.renderer !== "canvas")
            || !hasPixels(canvas))
            return;
        const background = (player.metadata && player.metadata.backgroundColor) || "#ffffff";
        createImageBitmap(canvas).then(function (bitmap) {
            if (previews.get(url))
                bitmap.close();
            else
                previews.set(url, { bitmap: bitmap, background: background });
        }, function () {});
    };

    // Shows the copy of `url` over the stage; false when there is none.
    P.showPreview = function (url, background) {
        const preview = previews.get(url);
        return !!preview && P.showOverlay(url, function (canvas) {
            canvas.width = canvas.clientWidth * window.devicePixelRatio;
            canvas.height = canvas.clientHeight * window.devicePixelRatio;
            const context = canvas.getContext("2d");
            context.fillStyle = background || preview.background;
            context.fillRect(0, 0, canvas.width, canvas.height);
            context.drawImage(preview.bitmap, 0, 0, canvas.width, canvas.height);
        });
    };

    // For the tests: whether the picture of `url` is ready, and whether anything still paints.
    P.hasPreview = function (url) { return !!previews.get(url); };
    P.isPainting = function () { return painter !== null; };
    P.isPainterPlayer = function (player) { return !!player.parentElement && player.parentElement.id === "painting"; };

    P.hidePreview = function () {
        const canvas = overlay();
        if (canvas)
            canvas.style.display = "none";
    };

    // Copies are of the stage's size.
    window.addEventListener("resize", function () {
        for (const preview of previews.values()) {
            if (preview)
                preview.bitmap.close();
        }
        previews.clear();
        schedule();
    });
})(window.PelloraPlayer);
