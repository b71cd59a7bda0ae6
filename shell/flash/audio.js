"use strict";
// Sound. Ruffle gives every instance an AudioContext of its own. Closed contexts were seen
// to keep their output streams: after 16 page turns Chromium refused new ones and memory
// grew with every turn. So the page opens one real context, and each instance gets a
// stand-in that plays through its own gain node into it; closing the stand-in cuts that
// node off. A running context renders silence all the time (a few per cent of a core), so
// the real one is suspended while nothing can be heard: a hidden page, a still picture.
(function (P) {
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
        if (P.state.still || P.state.held || document.hidden) {
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

    P.quietAudio = quietAudio;
    P.wakeAudio = wakeAudio;
})(window.PelloraPlayer);
