"use strict";
// Where the files a movie loads (XML.load, LoadVars, loadMovie, sounds) come from.
//
// Ruffle resolves the path a movie gives against the movie's folder, its `base`. Movies
// written for the Flash control also name files by absolute paths of the computer, with
// "/" or "\" separators ("\work\course\data\objects\x\questions.xml") or a drive letter
// ("C:\…"): Ruffle turns the first kind into pellora://app/<that path> and the second into
// a URL of a one-letter scheme. Only the host knows where the installation folder lies, so
// every load goes to it as /player/load?movie=…&url=…&page=…, and it answers with the
// file or refuses.
window.PelloraLoads = (function () {
    const OWN = { protocol: location.protocol, host: location.host };
    const LOAD_PATH = "/player/load";
    // The host tells the movie's player about a load it refused.
    const PAGE = new URLSearchParams(location.search).get("page") || "";

    function isOwn(url) {
        return url.protocol === OWN.protocol && url.host === OWN.host;
    }

    return {
        // The folder Ruffle resolves a movie's relative paths against.
        baseFor(movieUrl) {
            return new URL(".", new URL(movieUrl, document.baseURI)).href;
        },

        // Whether the host must resolve `url`: anything but the player's and Ruffle's own
        // files and in-page data.
        isMovieLoad(url) {
            if (url.protocol === "data:" || url.protocol === "blob:")
                return false;
            return !isOwn(url) || !(url.pathname.startsWith("/player/") || url.pathname.startsWith("/ruffle/"));
        },

        // The request that asks the host for `url` on behalf of the movie `movieUrl`.
        routed(url, movieUrl) {
            const routed = new URL(OWN.protocol + "//" + OWN.host + LOAD_PATH);
            routed.search = "?movie=" + encodeURIComponent(movieUrl || "") + "&url=" + encodeURIComponent(url.href)
                + "&page=" + encodeURIComponent(PAGE);
            return routed;
        },
    };
})();
