"use strict";
// Pictures of first frames, for players that keep them (the materials'). The host keeps, for
// each movie as a pupil sees it, a picture of its first frame and sends it right after the
// movie's load command; it shows at once over the stage while the movie starts beneath, and
// goes when the movie has drawn its own first frame (as a neighbour page's picture does).
//
// The movie's own first frame is then compared with the picture shown; when there was none,
// or the two differ, a picture of that frame goes to the host to be kept instead: a picture
// never stands for a frame it does not show for longer than one showing. The copy of the frame
// is taken as it is drawn; the comparison waits for a quiet moment, the encoding of a frame that
// had no picture does not (a window closed at once would take it along).
(function (P) {
    const state = P.state;
    const SAME_CHANNEL = 24;       // a channel further apart than this makes a pixel differ
    const SAME_SHARE = 0.001;      // the share of differing pixels a faithful picture stays under
    const CHECK_AFTER_MS = 250;    // out of the way of the movie's next frames
    const CHECK_LIMIT_MS = 1000;   // before a window closed quickly takes the frame with it
    const PICTURE_WAIT_MS = 100;   // the longest a movie waits for its picture to show
    let offered = null;            // { url, bitmap (once decoded) } the host's picture of the movie asked for

    function draw(picture) {
        const shown = P.showOverlay(picture.url, function (canvas) {
            // At the picture's own size, which is the player's: a page not yet shown may not
            // have its size yet.
            canvas.width = picture.bitmap.width;
            canvas.height = picture.bitmap.height;
            canvas.getContext("2d").drawImage(picture.bitmap, 0, 0);
        });
        if (!shown)
            return false;
        if (picture.waitedFor)
            picture.waitedFor();
        return true;
    }

    function showable(picture) {
        return !!picture && !!picture.bitmap && (picture.waitedFor || (picture.url === state.movieUrl && !state.drawn));
    }

    // Decoded into a bitmap of the page's own, gone with the page: an image element's pixels
    // would go to the renderer's cache of decoded images, which kept some 25 MB of pictures of
    // materials long closed.
    function blobOf(dataUrl) {
        const bytes = atob(dataUrl.slice(dataUrl.indexOf(",") + 1));
        const array = new Uint8Array(bytes.length);
        for (let i = 0; i < bytes.length; ++i)
            array[i] = bytes.charCodeAt(i);
        return new Blob([array], { type: "image/png" });
    }

    P.offerPicture = function (command) {
        const picture = { url: command.url, bitmap: null, waitedFor: null };
        offered = picture;
        Promise.resolve().then(function () { return createImageBitmap(blobOf(command.data)); }).then(function (bitmap) {
            picture.bitmap = bitmap;
            if (offered === picture && showable(picture))
                draw(picture);
        }, function () {
            if (offered === picture)
                offered = null;   // not a picture after all: the movie shows as it comes
            if (picture.waitedFor)
                picture.waitedFor();
        });
    };

    // Starting a movie keeps the page's thread (which every player page shares) busy for a
    // good while, and a page just uncovered draws nothing meanwhile: the movie of `command`
    // starts once its picture is on screen (or was not to be had in time).
    P.whenPictureShown = function (command, start) {
        const picture = offered;
        if (!command.pictures || !picture || picture.url !== command.url) {
            start();
            return;
        }
        let started = false;
        const go = function () {
            if (started)
                return;
            started = true;
            picture.waitedFor = null;
            start();
        };
        setTimeout(go, PICTURE_WAIT_MS);
        picture.waitedFor = function () { requestAnimationFrame(function () { setTimeout(go, 0); }); };
        if (picture.bitmap)
            draw(picture);
    };

    // For a movie about to load: shows its picture if that came first; true when it did.
    P.showPictureOf = function (url) {
        if (offered && offered.url !== url)
            offered = null;
        return !!offered && !!offered.bitmap && draw(offered);
    };

    // The movie of `command` has drawn its first frame in `player`.
    P.checkFirstFrame = function (player, command) {
        const canvas = P.canvasOf(player);
        if (!command.pictures || (command.renderer || "canvas") !== "canvas" || !canvas || !canvas.width)
            return;
        const picture = offered && offered.url === command.url && offered.bitmap ? offered : null;
        const background = getComputedStyle(document.body).backgroundColor;
        createImageBitmap(canvas).then(function (frame) {
            if (!picture) {
                check(frame, null, command.url, background);   // nothing to compare: keep it now
                return;
            }
            setTimeout(function () {
                requestIdleCallback(function () { check(frame, picture, command.url, background); },
                                    { timeout: CHECK_LIMIT_MS });
            }, CHECK_AFTER_MS);
        }, function () {});
    };

    function pixelsOf(source, width, height, background) {
        const canvas = document.createElement("canvas");
        canvas.width = width;
        canvas.height = height;
        const context = canvas.getContext("2d", { willReadFrequently: true });
        if (background) {
            context.fillStyle = background;
            context.fillRect(0, 0, width, height);
        }
        context.drawImage(source, 0, 0, width, height);
        return { canvas: canvas, data: context.getImageData(0, 0, width, height).data };
    }

    // The share of pixels that differ between two pictures of the same size.
    function differingShare(a, b) {
        let differing = 0;
        for (let i = 0; i < a.length; i += 4) {
            if (Math.abs(a[i] - b[i]) > SAME_CHANNEL || Math.abs(a[i + 1] - b[i + 1]) > SAME_CHANNEL
                || Math.abs(a[i + 2] - b[i + 2]) > SAME_CHANNEL)
                ++differing;
        }
        return differing / (a.length / 4);
    }

    function check(frame, picture, url, background) {
        const width = frame.width, height = frame.height;
        const live = pixelsOf(frame, width, height, background);
        frame.close();
        if (picture && differingShare(live.data, pixelsOf(picture.bitmap, width, height, null).data) <= SAME_SHARE)
            return;
        // Encoded at once: the asynchronous encoders wait for an idle moment, which a playing
        // movie may not leave before its window is closed.
        P.toHost("firstFramePicture", url, width, height, live.canvas.toDataURL("image/png"));
    }
})(window.PelloraPlayer);
